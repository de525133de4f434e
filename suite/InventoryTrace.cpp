#include "suite/InventoryTrace.h"

#include "common/Session.h"

namespace si::suite {

namespace {
constexpr int kFormTypeInvoice = 901;
}

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

void InventoryTrace::SaveRow(int formTypeId, int formId, QString barcode, int scaleId, double,
                             int row) {
    if (!session_ || formTypeId != kFormTypeInvoice || formId < 1) return;
    if (!tracedOf(formId).contains(key(barcode, scaleId))) return;
    session_->exec(QStringLiteral("update tblSaleInvoiceDetailTrace set Sequence = ? where "
                                  "InvoiceID = ? and Barcode = ? and coalesce(ScaleID, -1) = ?"),
                   {row, formId, barcode.trimmed(), scaleId});
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
