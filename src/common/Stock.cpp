#include "common/Stock.h"

#include "common/Jalali.h"
#include "common/Period.h"

namespace si {

namespace {

double ownStock(Session& s, const StockQuery& q) {
    const QDate from = q.from.isValid() ? q.from : QDate(1900, 1, 1);
    const QVariant v = s.scalar(
        QStringLiteral(
            "SELECT coalesce(sum(BaseQty), 0) AS Stock FROM vwInventoryStockMovement "
            "WHERE InventoryID = ? AND Barcode = ? AND MoveDate >= ? AND MoveDate < ? "
            "AND NOT (coalesce(DispatchFormTypeID, 0) = 901 AND coalesce(DispatchFormID, 0) = ?)"),
        {q.inventoryId, q.barcode, from, q.asOf.addDays(1), q.excludeInvoiceId});
    return v.toDouble();
}

// Deeper chains than this only come from a cycle in tblInventoryParent.
constexpr int kMaxParentDepth = 32;

double stockAtDepth(Session& s, const StockQuery& query, int depth);

bool parentStockAtDepth(Session& s, const StockQuery& query, double& stock, int depth) {
    if (depth >= kMaxParentDepth) return false;
    // EXISTS instead of the IN list over all invoices: one indexed probe per ancestor.
    auto row =
        s.first(QStringLiteral(
                    "Select p.ID from tblInventoryParent p where p.ChildID=? and exists (Select 1 "
                    "from tblSaleInvoice s inner join tblSaleInvoiceType t on t.ID = s.TypeID "
                    "where s.InventoryID = p.ID and coalesce(t.GenerateSaleAssignment, 0)=1) "
                    "Order by p.NoLevel desc"),
                {query.inventoryId});
    if (!row || row->toInt(u"ID", -1) < 1) return false;
    StockQuery parent = query;
    parent.inventoryId = row->toInt(u"ID");
    stock = stockAtDepth(s, parent, depth + 1);
    return true;
}

double stockAtDepth(Session& s, const StockQuery& query, int depth) {
    double stock = 0;
    if (parentStockAtDepth(s, query, stock, depth)) return stock;
    return ownStock(s, query);
}

}  // namespace

bool GetParentInventoryStock(Session& s, const StockQuery& query, double& stock) {
    return parentStockAtDepth(s, query, stock, 0);
}

double InventoryStock(Session& s, const StockQuery& query) {
    return stockAtDepth(s, query, 0);
}

double InventoryStock(Context& ctx, int inventoryId, const QString& barcode, const QDate& asOf,
                      int excludeInvoiceId) {
    StockQuery q{inventoryId, barcode, asOf, excludeInvoiceId, QDate()};
    if (ctx.params.flag(P::PeriodDates)) {
        QString from, to;
        GetActivePeriodDates(ctx, from, to);
        q.from = getEnglishDate(from);
    }
    return InventoryStock(ctx.db(), q);
}

}  // namespace si
