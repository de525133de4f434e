#include "posting/InvoiceRemoval.h"

#include "common/FormEvents.h"
#include "posting/DispatchNotes.h"

namespace si {

namespace {

// Removed by InvoiceID before the lines, in this order.
const QStringList kDependantTables = {
    QStringLiteral("tblSaleInvoiceSucharge"), QStringLiteral("tblSaleInvoiceShortage"),
    QStringLiteral("tblSaleInvoiceDetailDiscount"), QStringLiteral("tblSaleInvoiceDetailTrace"),
    QStringLiteral("tblSaleInvoiceScaleBarcode")};

bool isFromDispatch(Session& s, int invoiceId) {
    return s.scalar(QStringLiteral("select coalesce(IsFromDispatch,0) from tblSaleInvoice where "
                                   "ID = ?"),
                    {invoiceId})
               .toInt() == 1;
}

void releaseDispatches(Session& s, int invoiceId) {
    const RowSet linked = s.query(QStringLiteral("select ID, Notes from tblInventoryDispatch "
                                                 "where FormTypeID = ? and FormID = ?"),
                                  {FormType::SaleInvoice, invoiceId});
    for (const Row& d : linked) {
        const QVariant stored = d.value(u"Notes");
        const QVariant notes =
            stored.isNull() ? stored : QVariant(WithoutInvoiceNotes(stored.toString(), invoiceId));
        s.exec(QStringLiteral("update tblInventoryDispatch set Notes = ?, FormID = null, "
                              "FormTypeID = null where ID = ?"),
               {notes, d.toInt(u"ID")});
    }
}

void removeDispatches(Session& s, int invoiceId) {
    const Params invoice{FormType::SaleInvoice, invoiceId};
    const QString ofInvoice = QStringLiteral(
        " where DispatchID in (select ID from tblInventoryDispatch where FormTypeID = ? and "
        "FormID = ?)");
    s.exec(QStringLiteral("DELETE FROM tblInventoryDispatchDetailTrace") + ofInvoice, invoice);
    s.exec(QStringLiteral("DELETE FROM tblInventoryDispatchDetail") + ofInvoice, invoice);
    s.exec(QStringLiteral("DELETE FROM tblInventoryDispatch where FormTypeID = ? and FormID = ?"),
           invoice);
}

// The cascade shared by the single and the batch delete, inside the caller's transaction.
void removeStoredInvoice(Context& ctx, int invoiceId, std::optional<int> reasonSequence,
                         int eventType) {
    Session& s = ctx.db();
    for (const QString& table : kDependantTables)
        s.exec(QStringLiteral("DELETE FROM ") + table + QStringLiteral(" where InvoiceID = ?"),
               {invoiceId});
    s.call(QStringLiteral("spSaleDeleteInvoice"), QVariantList{invoiceId});
    ReleaseOrRemoveInvoiceDispatch(s, invoiceId);
    s.exec(QStringLiteral("DELETE FROM tblSaleInvoice where ID = ?"), {invoiceId});
    s.call(QStringLiteral("spZelorUnRelateForms"), QVariantList{invoiceId, FormType::SaleInvoice});
    LogInvoiceEvent(s, eventType, invoiceId, InvoiceDeletedText(invoiceId),
                    ctx.globals.CurrentUserID, reasonSequence);
}

void removeSaleOrder(Session& s, int orderId) {
    s.exec(QStringLiteral("DELETE FROM tblSaleOrderDetail where OrderID = ?"), {orderId});
    s.exec(QStringLiteral("DELETE FROM tblSaleOrder where ID = ?"), {orderId});
}

}  // namespace

namespace {

QString notFoundText(int invoiceId) {
    return QStringLiteral("فاكتور فروش كالا به شماره رايانهاي ") + QString::number(invoiceId) +
           QStringLiteral(" وجود ندارد. ممکن است در ايستگاه ديگري حذف شده باشد.");
}

}  // namespace

InvoiceNotFound::InvoiceNotFound(int invoiceId)
    : std::runtime_error(notFoundText(invoiceId).toStdString()), text_(notFoundText(invoiceId)) {}

QString InvoiceDeletedText(int invoiceId) {
    return InvoiceEventText(invoiceId, QStringLiteral("حذف شد."));
}

void ReleaseOrRemoveInvoiceDispatch(Session& s, int invoiceId) {
    if (isFromDispatch(s, invoiceId))
        releaseDispatches(s, invoiceId);
    else
        removeDispatches(s, invoiceId);
}

void DeleteInvoice(Context& ctx, int invoiceId, std::optional<int> reasonSequence) {
    Session& s = ctx.db();
    Transaction t = s.writerTransaction();
    if (!s.first(QStringLiteral("select ID from tblSaleInvoice where ID = ?"), {invoiceId}))
        throw InvoiceNotFound(invoiceId);
    removeStoredInvoice(ctx, invoiceId, reasonSequence, EventType::InvoiceDeleted);
    t.commit();
}

bool DeleteTempInvoice(Context& ctx, int invoiceId, std::optional<int> reasonSequence,
                       int eventType) {
    Session& s = ctx.db();
    Transaction t = s.writerTransaction();
    const std::optional<Row> temporary = s.first(
        QStringLiteral("select coalesce(SaleOrderID,0) as SaleOrderID from tblSaleInvoice where "
                       "Code is NULL and DistributionInvoiceID is NULL and ID = ?"),
        {invoiceId});
    if (!temporary) return false;
    removeStoredInvoice(ctx, invoiceId, reasonSequence, eventType);
    const int order = temporary->toInt(u"SaleOrderID");
    if (order > 0) removeSaleOrder(s, order);
    t.commit();
    return true;
}

}  // namespace si
