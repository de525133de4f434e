#include "support/InvoiceSumsCheck.h"

namespace si::test {

QStringList StaleInvoiceSums(Session& s, qint64 invoiceId) {
    const RowSet rows = s.query(
        QStringLiteral(
            "SELECT s.ID, s.SumQty, s.TitlesNum, s.RowDiscountValue, s.CalcTotalValue, s.SuCharge, "
            "v.SumQty AS RefSumQty, v.TitlesNum AS RefTitlesNum, v.RowDiscountValue AS "
            "RefRowDiscountValue, v.CalcTotalValue AS RefCalcTotalValue, (SELECT sum(x.Value) FROM "
            "tblSaleInvoiceSucharge x WHERE x.InvoiceID = s.ID) AS RefSuCharge FROM tblSaleInvoice "
            "s "
            "INNER JOIN vwSaleInvoiceSummary v ON v.ID = s.ID WHERE ? < 0 OR s.ID = ? ORDER BY "
            "s.ID"),
        {invoiceId, invoiceId});
    if (rows.empty()) return {QStringLiteral("no invoice to compare")};
    QStringList stale;
    for (const Row& r : rows) {
        const auto differs = [&](const QString& column, const QString& stored,
                                 const QString& computed) {
            stale << QStringLiteral("invoice %1: %2 %3 stored, %4 computed")
                         .arg(r.toInt64(u"ID"))
                         .arg(column, stored, computed);
        };
        for (const QString& column :
             {QStringLiteral("SumQty"), QStringLiteral("RowDiscountValue"),
              QStringLiteral("CalcTotalValue"), QStringLiteral("SuCharge")}) {
            const Money stored = r.money(column);
            const Money computed = r.money(QStringLiteral("Ref") + column);
            if (stored != computed) differs(column, stored.toString(), computed.toString());
        }
        if (r.toInt(u"TitlesNum") != r.toInt(u"RefTitlesNum"))
            differs(QStringLiteral("TitlesNum"), r.text(u"TitlesNum"), r.text(u"RefTitlesNum"));
    }
    return stale;
}

}  // namespace si::test
