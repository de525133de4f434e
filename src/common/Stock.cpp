#include "common/Stock.h"

#include "common/Jalali.h"
#include "common/Period.h"

namespace si {

namespace {

// The movements that count: in the inventory, within the range, without the invoice's own
// dispatch. Shared by the single and the grouped statement so that both mean the same stock.
// "InventoryID + 0" keeps SQLite from walking every document of the inventory to probe the
// barcode in each: the barcode's own movements are the few rows to read.
const QString kMovementFilter = QStringLiteral(
    "InventoryID + 0 = ? AND MoveDate >= ? AND MoveDate < ? "
    "AND NOT (coalesce(DispatchFormTypeID, 0) = 901 AND coalesce(DispatchFormID, 0) = ?)");

QDate rangeStart(const StockQuery& q) {
    return q.from.isValid() ? q.from : QDate(1900, 1, 1);
}

double ownStock(Session& s, const StockQuery& q) {
    const QVariant v = s.scalar(
        QStringLiteral("SELECT coalesce(sum(BaseQty), 0) AS Stock FROM vwInventoryStockMovement "
                       "WHERE Barcode = ? AND ") +
            kMovementFilter,
        {q.barcode, q.inventoryId, rangeStart(q), q.asOf.addDays(1), q.excludeInvoiceId});
    return v.toDouble();
}

// Deeper chains than this only come from a cycle in tblInventoryParent.
constexpr int kMaxParentDepth = 32;
// Placeholders per grouped statement.
constexpr int kBarcodesPerStatement = 400;

// The farthest ancestor of the inventory that wholesale invoice types sell from; -1 when none.
int wholesaleParentOf(Session& s, int inventoryId) {
    // EXISTS instead of the IN list over all invoices: one indexed probe per ancestor.
    auto row =
        s.first(QStringLiteral(
                    "Select p.ID from tblInventoryParent p where p.ChildID=? and exists (Select 1 "
                    "from tblSaleInvoice s inner join tblSaleInvoiceType t on t.ID = s.TypeID "
                    "where s.InventoryID = p.ID and coalesce(t.GenerateSaleAssignment, 0)=1) "
                    "Order by p.NoLevel desc"),
                {inventoryId});
    if (!row || row->toInt(u"ID", -1) < 1) return -1;
    return row->toInt(u"ID");
}

double stockAtDepth(Session& s, const StockQuery& query, int depth);

bool parentStockAtDepth(Session& s, const StockQuery& query, double& stock, int depth) {
    if (depth >= kMaxParentDepth) return false;
    const int parentId = wholesaleParentOf(s, query.inventoryId);
    if (parentId < 1) return false;
    StockQuery parent = query;
    parent.inventoryId = parentId;
    stock = stockAtDepth(s, parent, depth + 1);
    return true;
}

double stockAtDepth(Session& s, const StockQuery& query, int depth) {
    double stock = 0;
    if (parentStockAtDepth(s, query, stock, depth)) return stock;
    return ownStock(s, query);
}

void addGroupedStocks(Session& s, const StockQuery& q, const QStringList& barcodes,
                      QHash<QString, double>& stocks) {
    QStringList marks;
    Params params;
    for (const QString& barcode : barcodes) {
        marks << QStringLiteral("?");
        params << barcode;
    }
    params << q.inventoryId << rangeStart(q) << q.asOf.addDays(1) << q.excludeInvoiceId;
    const RowSet rows =
        s.query(QStringLiteral("SELECT Barcode, coalesce(sum(BaseQty), 0) AS Stock FROM "
                               "vwInventoryStockMovement WHERE Barcode IN (") +
                    marks.join(QLatin1Char(',')) + QStringLiteral(") AND ") + kMovementFilter +
                    QStringLiteral(" GROUP BY Barcode"),
                params);
    for (const Row& r : rows)
        stocks.insert(r.text(u"Barcode"), r.toDouble(u"Stock"));
}

}  // namespace

bool GetParentInventoryStock(Session& s, const StockQuery& query, double& stock) {
    return parentStockAtDepth(s, query, stock, 0);
}

double InventoryStock(Session& s, const StockQuery& query) {
    return stockAtDepth(s, query, 0);
}

QDate StockRangeStart(Context& ctx) {
    if (!ctx.params.flag(P::PeriodDates)) return {};
    QString from, to;
    GetActivePeriodDates(ctx, from, to);
    return getEnglishDate(from);
}

double InventoryStock(Context& ctx, int inventoryId, const QString& barcode, const QDate& asOf,
                      int excludeInvoiceId) {
    StockQuery q{inventoryId, barcode, asOf, excludeInvoiceId, StockRangeStart(ctx)};
    return InventoryStock(ctx.db(), q);
}

int StockInventoryID(Session& s, int inventoryId) {
    int id = inventoryId;
    for (int depth = 0; depth < kMaxParentDepth; ++depth) {
        const int parentId = wholesaleParentOf(s, id);
        if (parentId < 1) break;
        id = parentId;
    }
    return id;
}

QHash<QString, double> InventoryStocks(Context& ctx, int inventoryId, const QStringList& barcodes,
                                       const QDate& asOf, int excludeInvoiceId) {
    QHash<QString, double> stocks;
    if (barcodes.isEmpty()) return stocks;
    Session& s = ctx.db();
    const StockQuery q{StockInventoryID(s, inventoryId), QString(), asOf, excludeInvoiceId,
                       StockRangeStart(ctx)};
    for (qsizetype i = 0; i < barcodes.size(); i += kBarcodesPerStatement)
        addGroupedStocks(s, q, barcodes.mid(i, kBarcodesPerStatement), stocks);
    return stocks;
}

}  // namespace si
