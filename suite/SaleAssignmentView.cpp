#include "suite/SaleAssignmentView.h"

#include "common/Session.h"

namespace si::suite {

namespace {

QString numberText(const Row& r, QStringView column) {
    return r.isNull(column) ? QString() : QString::number(r.toInt64(column));
}

QVector<AssignmentLine> invoiceLines(Session& db, int invoiceId) {
    const RowSet rows = db.query(
        QStringLiteral("select d.RowNumber, d.Barcode, g.Name as GoodName, u.Name as UnitName, "
                       "d.Qty, d.Description from tblSaleInvoiceDetail d left join tblGood g on "
                       "g.Barcode = d.Barcode left join tblGoodScale u on u.ID = d.ScaleID where "
                       "d.InvoiceID = ? order by d.RowNumber, d.ID"),
        {invoiceId});
    QVector<AssignmentLine> lines;
    for (const Row& r : rows)
        lines.append({r.toInt(u"RowNumber"), r.text(u"Barcode"), r.text(u"GoodName"),
                      r.text(u"UnitName"), r.toDouble(u"Qty"), r.text(u"Description")});
    return lines;
}

}  // namespace

std::optional<SaleAssignmentView> ReadSaleAssignment(Session& db, int assignmentId) {
    const auto r = db.first(
        QStringLiteral(
            "select a.ID, a.Code, a.SaleInvoiceID, s.Code as InvoiceCode, c.Name as "
            "CustomerName, i.Name as InventoryName, u.FullName as CreatorName, a.FarsiCreateDate, "
            "a.Notes from tblSaleAssignment a left join tblSaleInvoice s on s.ID = "
            "a.SaleInvoiceID left join vwOrganizationMajor c on c.ID = s.CustomerID left join "
            "tblInventory i on i.ID = a.InventoryID left join tblUser u on u.ID = a.CreatorID "
            "where a.ID = ?"),
        {assignmentId});
    if (!r) return std::nullopt;
    SaleAssignmentView view{r->toInt(u"ID"),
                            numberText(*r, u"Code"),
                            r->toInt(u"SaleInvoiceID", -1),
                            numberText(*r, u"InvoiceCode"),
                            r->text(u"CustomerName"),
                            r->text(u"InventoryName"),
                            r->text(u"CreatorName"),
                            r->text(u"FarsiCreateDate"),
                            r->text(u"Notes"),
                            {}};
    view.lines = invoiceLines(db, view.invoiceId);
    return view;
}

}  // namespace si::suite
