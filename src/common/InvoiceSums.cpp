#include "common/InvoiceSums.h"

namespace si {

namespace {

// Counts take every line, amounts only the lines paid for, as vwSaleInvoiceSummary does; the
// line amounts are the ones vwSaleInvoiceDetailValue computes. The columns store what the view's
// casts would give (NUMERIC(19,4) on PostgreSQL rounds on assignment).
const QString kRefresh = QStringLiteral(
    "UPDATE tblSaleInvoice SET (SumQty, TitlesNum, RowDiscountValue, CalcTotalValue) = "
    "(SELECT coalesce(sum(v.Qty), 0), count(DISTINCT v.Barcode), "
    "coalesce(sum(CASE WHEN v.IsEchantillon = 0 THEN v.DiscountValue END), 0), "
    "coalesce(sum(CASE WHEN v.IsEchantillon = 0 THEN v.RowTotalValue END), 0) "
    "+ coalesce(tblSaleInvoice.SuchargeValue, 0) - coalesce(tblSaleInvoice.DiscountValue, 0) "
    "- coalesce(tblSaleInvoice.ShortageValue, 0) "
    "FROM vwSaleInvoiceDetailValue v WHERE v.InvoiceID = tblSaleInvoice.ID), "
    "SuCharge = (SELECT coalesce(sum(x.Value), 0) FROM tblSaleInvoiceSucharge x "
    "WHERE x.InvoiceID = tblSaleInvoice.ID)");

}  // namespace

void RefreshInvoiceSums(Session& session, qint64 invoiceId) {
    session.exec(kRefresh + QStringLiteral(" WHERE ID = ?"), {invoiceId});
}

void RefreshAllInvoiceSums(Session& session) {
    session.exec(kRefresh);
}

}  // namespace si
