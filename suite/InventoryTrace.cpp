#include "suite/InventoryTrace.h"

#include <algorithm>

#include "common/Session.h"

namespace si::suite {

namespace {
constexpr int kFormTypeInvoice = 901;
constexpr int kFormTypeDispatch = 802;
// Three values a goods and unit, under the 999 values a statement may bind.
constexpr qsizetype kKeysPerStatement = 300;
}  // namespace

void InventoryTrace::setSessionHandle(const QVariant& handle) {
    session_ = static_cast<si::Session*>(handle.value<void*>());
    loadedFor_ = 0;
}

QString InventoryTrace::key(const QString& barcode, int scaleId) {
    return barcode.trimmed() + QLatin1Char('|') + QString::number(scaleId);
}

const QHash<QString, double>& InventoryTrace::tracedOf(int formId) {
    if (loadedFor_ == formId) return traced_;
    traced_.clear();
    loadedFor_ = formId;
    const RowSet rows = session_->query(
        QStringLiteral("select Barcode, coalesce(ScaleID, -1) as ScaleID, sum(Qty) as Qty from "
                       "tblSaleInvoiceDetailTrace where InvoiceID = ? group by Barcode, ScaleID"),
        {formId});
    for (const Row& r : rows)
        traced_[key(r.text(u"Barcode"), r.toInt(u"ScaleID", -1))] = r.toDouble(u"Qty");
    return traced_;
}

bool InventoryTrace::CheckRow(int formTypeId, int formId, int, QDate, QString barcode, double qty,
                              int scaleId) {
    error_.clear();
    if (!session_ || formTypeId != kFormTypeInvoice || formId < 1) return true;
    const auto found = tracedOf(formId).constFind(key(barcode, scaleId));
    if (found == traced_.constEnd() || *found <= qty + 1e-9) return true;
    error_ = QStringLiteral("مقدار رديابي شده كالا با كد ميلهاي ") + barcode.trimmed() +
             QStringLiteral(" از مقدار رديف بيشتر است.");
    return false;
}

// One statement for every few hundred traced goods and units, however many lines they have.
void InventoryTrace::SaveRows(int formTypeId, int formId, QStringList barcodes, QList<int> scaleIds,
                              QList<int> rows) {
    if (!session_ || formTypeId != kFormTypeInvoice || formId < 1) return;
    const qsizetype lines = std::min({barcodes.size(), scaleIds.size(), rows.size()});
    QList<qsizetype> lastLines;  // of each traced goods and unit, in the order first met
    QHash<QString, qsizetype> lastLineOf;
    for (qsizetype i = 0; i < lines; ++i) {
        const QString k = key(barcodes[i], scaleIds[i]);
        if (!tracedOf(formId).contains(k)) continue;
        const auto found = lastLineOf.find(k);
        if (found == lastLineOf.end()) {
            lastLineOf.insert(k, lastLines.size());
            lastLines << i;
        } else {
            lastLines[*found] = i;
        }
    }
    for (qsizetype first = 0; first < lastLines.size(); first += kKeysPerStatement) {
        QString cases;
        Params params;
        for (qsizetype i : lastLines.mid(first, kKeysPerStatement)) {
            cases += QStringLiteral(
                " when Barcode = ? and coalesce(ScaleID, -1) = ? then "
                "CAST(? AS INTEGER)");
            params << barcodes[i].trimmed() << scaleIds[i] << rows[i];
        }
        session_->exec(QStringLiteral("update tblSaleInvoiceDetailTrace set Sequence = case") +
                           cases + QStringLiteral(" else Sequence end where InvoiceID = ?"),
                       params << formId);
    }
}

void InventoryTrace::RelateForms(int referenceTypeId, int referenceId, int relatedTypeId,
                                 int relatedId) {
    if (!session_) return;
    const Params link{referenceId, referenceTypeId, relatedId, relatedTypeId};
    if (session_->first(QStringLiteral("select ID from tblZelorRelatedForms where ReferenceFormID "
                                       "= ? and ReferenceFormTypeID = ? and RelatedFormID = ? and "
                                       "RelatedFormTypeID = ? limit 1"),
                        link))
        return;
    session_->exec(QStringLiteral("insert into tblZelorRelatedForms (ReferenceFormID, "
                                  "ReferenceFormTypeID, RelatedFormID, RelatedFormTypeID, "
                                  "CreateDate) values (?, ?, ?, ?, ?)"),
                   link + Params{session_->now()});
}

bool InventoryTrace::CopyTraces(int fromTypeId, int fromId, int toTypeId, int toId) {
    error_.clear();
    if (!session_) return false;
    if (fromTypeId != kFormTypeDispatch || toTypeId != kFormTypeInvoice) {
        error_ = QStringLiteral("انتقال رديابي از فرم ") + QString::number(fromTypeId) +
                 QStringLiteral(" به فرم ") + QString::number(toTypeId) +
                 QStringLiteral(" پشتيباني نمي شود.");
        return false;
    }
    session_->exec(QStringLiteral("insert into tblSaleInvoiceDetailTrace (InvoiceID, Barcode, "
                                  "ScaleID, TracePropertyTypeID1, TracePropertyTypeID2, "
                                  "TracePropertyTypeID3, TracePropertyTypeID4, Qty, ScaleQty, "
                                  "Sequence) select CAST(? AS INTEGER), Barcode, ScaleID, "
                                  "TracePropertyTypeID1, TracePropertyTypeID2, "
                                  "TracePropertyTypeID3, TracePropertyTypeID4, Qty, ScaleQty, "
                                  "Sequence from tblInventoryDispatchDetailTrace where "
                                  "DispatchID = ? order by ID"),
                   {toId, fromId});
    if (loadedFor_ == toId) loadedFor_ = 0;
    return true;
}

void InventoryTrace::AddTrace(int formId, QString barcode, int scaleId, int property1, double qty) {
    if (!session_) return;
    session_->exec(QStringLiteral("insert into tblSaleInvoiceDetailTrace (InvoiceID, Barcode, "
                                  "ScaleID, TracePropertyTypeID1, Qty, ScaleQty, Sequence) values "
                                  "(?, ?, ?, ?, ?, ?, 0)"),
                   {formId, barcode.trimmed(), scaleId > 0 ? QVariant(scaleId) : QVariant(),
                    property1, qty, qty});
    loadedFor_ = 0;
}

}  // namespace si::suite
