#include "common/Stock.h"

#include "common/Codes.h"
#include "common/Jalali.h"
#include "common/Period.h"

namespace si {

namespace {

// The movements of vwInventoryStockMovement, written out per table so that both planners start
// from the barcodes' own lines (indexed) and look up each document by its key: the documents of
// an inventory are many, a barcode's lines few. CROSS JOIN keeps SQLite to that order. The
// invoice's own dispatch is left out.
const QString kReceived = QStringLiteral(
    "FROM tblInventoryReceiptDetail d CROSS JOIN tblInventoryReceipt r "
    "LEFT JOIN tblGoodScale sc ON sc.ID = d.ScaleID WHERE r.ID = d.ReceiptID AND %1 "
    "AND r.InventoryID = ? AND r.ReceiveDate >= ? AND r.ReceiveDate < ?");
const QString kDispatched = QStringLiteral(
    "FROM tblInventoryDispatchDetail d CROSS JOIN tblInventoryDispatch x "
    "LEFT JOIN tblGoodScale sc ON sc.ID = d.ScaleID WHERE x.ID = d.DispatchID AND %1 "
    "AND x.InventoryID = ? AND x.ReceiveDate >= ? AND x.ReceiveDate < ? "
    "AND NOT (coalesce(x.FormTypeID, 0) = ? AND coalesce(x.FormID, 0) = ?)");
const QString kBaseQty = QStringLiteral("coalesce(d.Qty, 0) * coalesce(sc.ScaleToBaseParent, 1)");

// SQLite: one pass over the lines of the listed barcodes, grouped.
QString groupedMovementSum(const QString& marks) {
    const QString listed = QStringLiteral("d.Barcode IN (%1)").arg(marks);
    return QStringLiteral(
               "SELECT Barcode, coalesce(sum(Qty), 0) AS Stock FROM (SELECT d.Barcode, ") +
           kBaseQty + QStringLiteral(" AS Qty ") + kReceived.arg(listed) +
           QStringLiteral(" UNION ALL SELECT d.Barcode, 0 - ") + kBaseQty + QLatin1Char(' ') +
           kDispatched.arg(listed) + QStringLiteral(") m GROUP BY Barcode");
}

// PostgreSQL plans a long IN list as a scan of every movement line; asked per barcode, it probes
// the barcode index instead (a third of the time for a thousand goods).
constexpr qsizetype kFewBarcodes = 20;

// The per-barcode probes are planned well only when a random read is costed as the memory read
// it is here, and only when planned for the statement's own values: the plan the server makes
// once for any values, and takes after a few runs of the same prepared statement (a workstation
// saving invoices of one length), scans the movements five times slower. For this statement
// alone, since other plans (the credit statistics) are better with the server's own settings.
class PerBarcodePlanning {
public:
    explicit PerBarcodePlanning(Session& s) : s_(s) {
        s_.exec(
            QStringLiteral("SELECT set_config('random_page_cost', '1.1', false), "
                           "set_config('plan_cache_mode', 'force_custom_plan', false)"));
    }
    ~PerBarcodePlanning() {
        try {
            s_.exec(
                QStringLiteral("SELECT set_config(name, reset_val, false) FROM pg_settings "
                               "WHERE name IN ('random_page_cost', 'plan_cache_mode')"));
        } catch (...) {
            // A failed transaction refuses the reset; its end restores the settings.
        }
    }
    PerBarcodePlanning(const PerBarcodePlanning&) = delete;
    PerBarcodePlanning& operator=(const PerBarcodePlanning&) = delete;

private:
    Session& s_;
};
QString perBarcodeMovementSum(const QString& rows) {
    const QString own = QStringLiteral("d.Barcode = b.Barcode");
    return QStringLiteral("WITH b(Barcode) AS (VALUES %1) SELECT b.Barcode, coalesce((SELECT sum(")
               .arg(rows) +
           kBaseQty + QStringLiteral(") ") + kReceived.arg(own) +
           QStringLiteral("), 0) - coalesce((SELECT sum(") + kBaseQty + QStringLiteral(") ") +
           kDispatched.arg(own) + QStringLiteral("), 0) AS Stock FROM b");
}

QDate rangeStart(const StockQuery& q) {
    return q.from.isValid() ? q.from : QDate(1900, 1, 1);
}

// The values of kDispatched's last condition: the dispatch of the invoice being saved.
Params ownDispatch(const StockQuery& q) {
    return {FormType::SaleInvoice, q.excludeInvoiceId};
}

void addGroupedStocks(Session& s, const StockQuery& q, const QStringList& barcodes,
                      QHash<QString, double>& stocks) {
    Params list;
    for (const QString& barcode : barcodes)
        list << barcode;
    const Params range{q.inventoryId, rangeStart(q), q.asOf.addDays(1)};
    const qsizetype n = barcodes.size();
    RowSet rows;
    if (s.isSqlite() || n <= kFewBarcodes) {
        const QString marks = QStringList(n, QStringLiteral("?")).join(QLatin1Char(','));
        rows = s.query(groupedMovementSum(marks), list + range + list + range + ownDispatch(q));
    } else {
        // The first row names the type the VALUES list takes.
        QStringList values(n, QStringLiteral("(?)"));
        values.first() = QStringLiteral("(CAST(? AS VARCHAR(50)))");
        const PerBarcodePlanning planning(s);
        rows = s.query(perBarcodeMovementSum(values.join(QLatin1Char(','))),
                       list + range + range + ownDispatch(q));
    }
    for (const Row& r : rows)
        stocks.insert(r.text(u"Barcode"), r.toDouble(u"Stock"));
}

double ownStock(Session& s, const StockQuery& q) {
    QHash<QString, double> stocks;
    addGroupedStocks(s, q, {q.barcode}, stocks);
    return stocks.value(q.barcode);
}

// Deeper chains than this only come from a cycle in tblInventoryParent.
constexpr int kMaxParentDepth = 32;
// Barcodes per grouped statement, so that none binds more than about 800 values: SQLite's
// statement binds the list twice, PostgreSQL's once.
qsizetype barcodesPerStatement(const Session& s) {
    return s.isSqlite() ? 400 : 800;
}

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
    const qsizetype slice = barcodesPerStatement(s);
    for (qsizetype i = 0; i < barcodes.size(); i += slice)
        addGroupedStocks(s, q, barcodes.mid(i, slice), stocks);
    return stocks;
}

}  // namespace si
