#include "invoice/GoodsLookups.h"

#include "common/Codes.h"
#include "common/FoldedText.h"

namespace si {

namespace {

const QString kGoodInfo = QStringLiteral("select * from vwGoodInfo where ");
const QString kAttachedBarcode = QStringLiteral(
    "(select x.Barcode from tblGood x Where x.ID=a.AttachedGoodID) as AttachedBarCode");
const QString kPriceColumns = QStringLiteral(
    "coalesce(a.RetailPrice, (select g.RetailPrice from tblGood g Where g.Barcode=a.Barcode)) as "
    "RetailPrice, coalesce(a.IsDiscountInPercent,1) as IsDiscountInPercent, "
    "coalesce(a.DiscountPercent,0) as DiscountPercent, coalesce(a.DiscountValue,0) as "
    "DiscountValue");

GoodInfo goodOf(const Row& r) {
    GoodInfo g;
    g.BarCode = r.text(u"BarCode");
    g.Code = r.text(u"Code");
    g.Name = r.text(u"Name");
    g.UnitName = r.text(u"UnitName");
    g.SaleScaleID = r.toInt(u"SaleScaleID", -1);
    g.Cof = r.toDouble(u"ScaleToBaseParent", 1);
    if (g.Cof <= 0) g.Cof = 1;
    g.RetailPrice = r.money(u"RetailPrice");
    g.BuyPrice = r.money(u"BuyPrice");
    if (!r.isNull(u"StandardDiscountPercent"))
        g.StandardDiscountPercent = r.toDouble(u"StandardDiscountPercent");
    if (!r.isNull(u"StandardDiscountvalue"))
        g.StandardDiscountValue = r.money(u"StandardDiscountvalue");
    g.GoodGroupID = r.toInt(u"GoodGroupID", -1);
    return g;
}

// Typed codes and barcodes are compared folded (FoldedText). Of goods whose keys fold alike the
// one stored exactly as typed wins, then the first made.
QString exactFirst(const QString& column) {
    return QStringLiteral(" order by case when ") + column +
           QStringLiteral(" = ? then 0 else 1 end, ID limit 1");
}

std::optional<GoodInfo> goodByKey(Session& s, const QString& column, const QString& typed) {
    const SqlCondition statement = GoodLookupStatement(column, typed);
    auto row = s.first(statement.sql, statement.params);
    if (!row) return std::nullopt;
    return goodOf(*row);
}

// Runs `sql` once per slice of the values; "%1" in it stands for the slice's placeholders, which
// the trailing parameters follow. onRow gets every row.
template <typename T, typename OnRow>
void forEachSlice(Session& s, const QString& sql, const QVector<T>& values, const Params& trailing,
                  OnRow onRow) {
    for (qsizetype i = 0; i < values.size(); i += kGoodsPerStatement) {
        const QVector<T> slice = values.mid(i, kGoodsPerStatement);
        Params params;
        for (const T& value : slice)
            params << value;
        params << trailing;
        const QString marks = QStringList(slice.size(), QStringLiteral("?")).join(QLatin1Char(','));
        for (const Row& r : s.query(sql.arg(marks), params))
            onRow(r);
    }
}

// The listed texts by their folded key, and the keys in the order they were first listed.
struct FoldedList {
    explicit FoldedList(const QStringList& texts) {
        for (const QString& text : texts) {
            const QString key = FoldedText(text);
            if (!listed.contains(key)) keys << key;
            listed[key] << text;
        }
    }
    QStringList keys;
    QHash<QString, QStringList> listed;
};

// Each goods of vwGoodInfo whose folded `column` is one of the listed texts' keys, with each
// listed text it answers, the goods in the order they were made.
template <typename OnGood>
void forEachFoldedGood(Session& s, const QString& column, const QStringList& texts, OnGood onGood) {
    const FoldedList list(texts);
    forEachSlice(s, kGoodInfo + FoldedKey(column) + QStringLiteral(" in (%1) order by ID"),
                 list.keys, {}, [&](const Row& r) {
                     const GoodInfo good = goodOf(r);
                     const QString stored =
                         column == QLatin1String("Code") ? good.Code : good.BarCode;
                     for (const QString& text : list.listed.value(FoldedText(stored)))
                         onGood(text, good, stored == text);
                 });
}

// Each result row of `sql` (see forEachSlice) adds its "Qty" to its "Barcode".
QHash<QString, double> sumByBarcode(Session& s, const QString& sql, const QStringList& barcodes,
                                    const Params& trailing) {
    QHash<QString, double> sums;
    forEachSlice(s, sql, barcodes, trailing,
                 [&](const Row& r) { sums[r.text(u"Barcode")] += r.toDouble(u"Qty"); });
    return sums;
}

// The flag and the factor as the one-unit look-ups read them.
bool integerFlagOf(const QVariant& isInteger) {
    return isInteger.toInt() == 1;
}

double unitFactorOf(const QVariant& cof) {
    const double factor = cof.isNull() ? 1 : cof.toDouble();
    return factor > 0 ? factor : 1;
}

PriceLookup priceOf(const Row& r) {
    PriceLookup p;
    p.found = true;
    p.RetailPrice = r.money(u"RetailPrice");
    p.IsDiscountInPercent = r.toBool(u"IsDiscountInPercent");
    p.DiscountPercent = r.toDouble(u"DiscountPercent");
    p.DiscountValue = r.money(u"DiscountValue");
    return p;
}

// A line's quantity in base units, in SQL over tblSaleInvoiceDetail or tblSaleOrderDetail d.
const QString kBaseQty = QStringLiteral(
    "sum(coalesce(d.Qty,0) * coalesce((select sc.ScaleToBaseParent from tblGoodScale sc "
    "where sc.ID = d.ScaleID),1))");

}  // namespace

SqlCondition GoodLookupStatement(const QString& column, const QString& typed) {
    return {kGoodInfo + FoldedKey(column) + QStringLiteral(" = ?") + exactFirst(column),
            {FoldedText(typed), typed}};
}

namespace {

// One part of the picker's search: a rank, the key it orders by, and its condition.
QString searchPart(int rank, const QString& key, const QString& condition, const QString& order) {
    return QStringLiteral(
               "select * from (select %1 as PickRank, %2 as PickKey, g.* from "
               "vwGoodInfo g where %3 and not exists (select 1 from "
               "tblInventoryGoodInfo n where n.Barcode = g.BarCode and n.InventoryID "
               "= ? and coalesce(n.NotForSale, 0) = 1)%4 limit ?) p%1")
        .arg(QString::number(rank), key, condition,
             order.isEmpty() ? QString() : QStringLiteral(" order by ") + order);
}

}  // namespace

SqlCondition GoodsSearchStatement(const QString& typed, int inventoryId, int limit) {
    const QString text = typed.trimmed();
    const QString name = FoldedKey(QStringLiteral("g.Name"));
    if (text.isEmpty())
        return {searchPart(1, name, QStringLiteral("1 = 1"), QStringLiteral("PickKey")) +
                    QStringLiteral(" order by PickRank, PickKey"),
                {inventoryId, limit}};
    const FoldedRange range = FoldedPrefixRange(text);
    QStringList parts;
    Params params;
    int rank = 0;
    for (const QString& key :
         {FoldedKey(QStringLiteral("g.Code")), FoldedKey(QStringLiteral("g.BarCode")), name}) {
        parts << searchPart(++rank, key,
                            key + QStringLiteral(" >= ? and ") + key + QStringLiteral(" < ?"),
                            QStringLiteral("PickKey"));
        params << range.from << range.to << inventoryId << limit;
    }
    return {
        parts.join(QStringLiteral(" union all ")) + QStringLiteral(" order by PickRank, PickKey"),
        params};
}

SqlCondition GoodsContainsStatement(const QString& typed, int inventoryId, int limit) {
    return {searchPart(4, FoldedKey(QStringLiteral("g.Name")),
                       QStringLiteral("lower(FoldedText(g.Name)) like ? escape '\\'"),
                       // Unordered: the scan, which no index can spare, stops at the limit.
                       QString()),
            {FoldedContainsPattern(typed.trimmed()), inventoryId, limit}};
}

namespace {

// A name fragment is read only when the text could be one (not a number: codes and barcodes are
// found by their prefixes) and the prefixes left room: it has no index to read through.
bool wantsNameFragment(const QString& typed, int found, int limit) {
    const QString folded = FoldedText(typed.trimmed());
    bool number = false;
    folded.toLongLong(&number);
    return found < limit && folded.size() >= kContainsFrom && !number;
}

}  // namespace

QVector<GoodInfo> SearchGoods(Session& s, const QString& typed, int inventoryId, int limit) {
    QVector<GoodInfo> goods;
    QSet<QString> listed;
    const auto collect = [&](const SqlCondition& statement) {
        for (const Row& r : s.query(statement.sql, statement.params)) {
            if (goods.size() >= limit) break;
            GoodInfo good = goodOf(r);
            if (listed.contains(good.BarCode)) continue;
            listed.insert(good.BarCode);
            goods << good;
        }
    };
    collect(GoodsSearchStatement(typed, inventoryId, limit));
    if (!typed.trimmed().isEmpty() &&
        wantsNameFragment(typed, static_cast<int>(goods.size()), limit))
        collect(GoodsContainsStatement(typed, inventoryId, limit));
    return goods;
}

std::optional<GoodInfo> GoodByCode(Session& s, const QString& code) {
    return goodByKey(s, QStringLiteral("Code"), code);
}

std::optional<GoodInfo> GoodByBarcode(Session& s, const QString& barcode) {
    return goodByKey(s, QStringLiteral("BarCode"), barcode);
}

QHash<QString, GoodInfo> GoodsByBarcodes(Session& s, const QStringList& barcodes) {
    QHash<QString, GoodInfo> goods;
    forEachFoldedGood(s, QStringLiteral("BarCode"), barcodes,
                      [&](const QString& listed, const GoodInfo& good, bool exact) {
                          if (exact || !goods.contains(listed)) goods.insert(listed, good);
                      });
    return goods;
}

QHash<QString, QVector<GoodInfo>> GoodsByCodes(Session& s, const QStringList& codes) {
    QHash<QString, QVector<GoodInfo>> goods;
    forEachFoldedGood(
        s, QStringLiteral("Code"), codes,
        [&](const QString& listed, const GoodInfo& good, bool) { goods[listed] << good; });
    return goods;
}

// The code is compared whole: a label's digits are no pattern.
QString BarcodeOfGoodsCode(Session& s, const QString& code) {
    return s
        .scalar(QStringLiteral("select Barcode from tblGood Where ") +
                    FoldedKey(QStringLiteral("Code")) + QStringLiteral(" = ?") +
                    exactFirst(QStringLiteral("Code")),
                {FoldedText(code), code})
        .toString();
}

bool IsNotForSale(Session& s, const QString& barcode, int inventoryId) {
    return s
        .first(QStringLiteral("Select ID from tblInventoryGoodInfo Where Barcode=? and "
                              "InventoryID=? and coalesce(NotForSale,0)=1"),
               {barcode, inventoryId})
        .has_value();
}

QSet<QString> NotForSaleBarcodes(Session& s, const QStringList& barcodes, int inventoryId) {
    QSet<QString> refused;
    forEachSlice(s,
                 QStringLiteral("Select Barcode from tblInventoryGoodInfo Where Barcode in (%1) "
                                "and InventoryID=? and coalesce(NotForSale,0)=1"),
                 barcodes, {inventoryId},
                 [&](const Row& r) { refused.insert(r.text(u"Barcode")); });
    return refused;
}

bool IsIntegerUnit(Session& s, int scaleId) {
    return integerFlagOf(
        s.scalar(QStringLiteral("select IsInteger from tblGoodScale Where ID=?"), {scaleId}));
}

double UnitFactor(Session& s, int scaleId) {
    return unitFactorOf(s.scalar(
        QStringLiteral("Select coalesce(ScaleToBaseParent,1) as Cof From tblGoodScale Where ID=?"),
        {scaleId}));
}

QHash<int, UnitRule> UnitRules(Session& s, const QVector<int>& scaleIds) {
    QHash<int, UnitRule> rules;
    forEachSlice(s,
                 QStringLiteral("select ID, IsInteger, coalesce(ScaleToBaseParent,1) as Cof from "
                                "tblGoodScale Where ID in (%1)"),
                 scaleIds, {}, [&](const Row& r) {
                     rules.insert(r.toInt(u"ID"), {integerFlagOf(r.value(u"IsInteger")),
                                                   unitFactorOf(r.value(u"Cof"))});
                 });
    return rules;
}

QStringList AttachedBarcodes(Session& s, const QString& barcode) {
    QStringList list;
    const RowSet rows =
        s.query(QStringLiteral("Select ") + kAttachedBarcode +
                    QStringLiteral(" from tblGoodAttachedGoods a Where a.GoodID in (Select g.ID "
                                   "from tblGood g Where g.Barcode=?) Order by a.ID"),
                {barcode});
    for (const Row& r : rows)
        if (!r.text(u"AttachedBarCode").trimmed().isEmpty())
            list << r.text(u"AttachedBarCode").trimmed();
    return list;
}

// A barcode names one goods item, so the join gives each attachment once, in the same order.
QHash<QString, QStringList> AttachedBarcodesOf(Session& s, const QStringList& barcodes) {
    QHash<QString, QStringList> lists;
    forEachSlice(s,
                 QStringLiteral("Select g.Barcode, ") + kAttachedBarcode +
                     QStringLiteral(" from tblGoodAttachedGoods a inner join tblGood g on g.ID = "
                                    "a.GoodID Where g.Barcode in (%1) Order by a.ID"),
                 barcodes, {}, [&](const Row& r) {
                     const QString attached = r.text(u"AttachedBarCode").trimmed();
                     if (!attached.isEmpty()) lists[r.text(u"Barcode")] << attached;
                 });
    return lists;
}

bool IsVehicleMoved(Session& s, int distributionInvoiceId) {
    if (distributionInvoiceId < 1) return false;
    return s
        .first(QStringLiteral("Select ID From tblDistributionInvoice Where "
                              "coalesce(IsMoved,0)=1 and ID=?"),
               {distributionInvoiceId})
        .has_value();
}

std::optional<double> FreeGoodsThreshold(Session& s, const QString& barcode) {
    const QVariant threshold =
        s.scalar(QStringLiteral("Select EsTreshold from tblGood Where Barcode=?"), {barcode});
    if (threshold.isNull()) return std::nullopt;
    return threshold.toDouble();
}

QHash<QString, std::optional<double>> FreeGoodsThresholds(Session& s, const QStringList& barcodes) {
    QHash<QString, std::optional<double>> thresholds;
    forEachSlice(s,
                 QStringLiteral("Select Barcode, EsTreshold from tblGood Where Barcode in (%1) "
                                "and EsTreshold is not null"),
                 barcodes, {}, [&](const Row& r) {
                     thresholds.insert(r.text(u"Barcode"), r.toDouble(u"EsTreshold"));
                 });
    return thresholds;
}

PriceLookup GoodPrice(Session& s, const QString& barcode, int method) {
    const auto row = s.first(QStringLiteral("select ") + kPriceColumns +
                                 QStringLiteral(" from tblGoodSaleInfo a where a.Barcode=? and "
                                                "a.PricingMethodID=?"),
                             {barcode, method});
    return row ? priceOf(*row) : PriceLookup{};
}

QHash<QString, PriceLookup> GoodPrices(Session& s, const QStringList& barcodes, int method) {
    QHash<QString, PriceLookup> prices;
    forEachSlice(s,
                 QStringLiteral("select a.Barcode, ") + kPriceColumns +
                     QStringLiteral(" from tblGoodSaleInfo a where a.Barcode in (%1) and "
                                    "a.PricingMethodID=?"),
                 barcodes, {method},
                 [&](const Row& r) { prices.insert(r.text(u"Barcode"), priceOf(r)); });
    return prices;
}

QVector<UnitChoice> SaleUnitsOf(Session& s, const QString& barcode) {
    QVector<UnitChoice> units;
    const RowSet rows = s.query(
        QStringLiteral("Select ID, Name, coalesce(ScaleToBaseParent,1) as Cof from tblGoodScale "
                       "Where ID in (Select ScaleID From tblGoodSaleScale Where Barcode=?) "
                       "Order by ID"),
        {barcode});
    for (const Row& r : rows)
        units.push_back({r.toInt(u"ID"), r.text(u"Name"), r.toDouble(u"Cof", 1)});
    return units;
}

std::optional<QString> GoodNameOf(Session& s, const QString& barcode) {
    auto row =
        s.first(QStringLiteral("Select Barcode,Name from tblGood Where Barcode=?"), {barcode});
    if (!row) return std::nullopt;
    return row->text(u"Name");
}

// Both sums start from the barcode's own lines (indexed) and then look up their invoice or order,
// instead of listing every temporary invoice or order of the inventory first. CROSS JOIN keeps
// SQLite's planner to that order; PostgreSQL treats it as the inner join it is.
QHash<QString, double> TempInvoiceQuantities(Session& s, const QStringList& barcodes,
                                             int inventoryId, int excludeInvoiceId) {
    const bool byInventory = inventoryId > 0;
    const QString sql =
        QStringLiteral("Select d.Barcode, ") + kBaseQty +
        QStringLiteral(
            " as Qty From tblSaleInvoiceDetail d cross join tblSaleInvoice h Where h.ID = "
            "d.InvoiceID and d.Barcode in (%1) and h.Code IS NULL") +
        (byInventory ? QStringLiteral(" and h.InventoryID=?") : QString()) +
        QStringLiteral(" and d.InvoiceID <> ? Group by d.Barcode");
    return sumByBarcode(
        s, sql, barcodes,
        byInventory ? Params{inventoryId, excludeInvoiceId} : Params{excludeInvoiceId});
}

QHash<QString, double> ReservedQuantities(Session& s, const QStringList& barcodes, int inventoryId,
                                          int excludeInvoiceId) {
    const bool byInventory = inventoryId > 0;
    const QString inventory = byInventory ? QStringLiteral(" and h.InventoryID=?") : QString();
    const Params byInventoryParams = byInventory ? Params{inventoryId} : Params{};
    const QString ordered = QStringLiteral("Select d.Barcode, ") + kBaseQty +
                            QStringLiteral(
                                " as Qty From tblSaleOrderDetail d cross join tblSaleOrder h Where "
                                "h.ID = d.OrderID and d.Barcode in (%1)") +
                            inventory + QStringLiteral(" Group by d.Barcode");
    const QString invoiced = QStringLiteral("Select d.Barcode, ") + kBaseQty +
                             QStringLiteral(
                                 " as Qty From tblSaleInvoiceDetail d cross join tblSaleInvoice h "
                                 "Where h.ID = d.InvoiceID and d.Barcode in (%1) and h.SaleOrderID "
                                 "IS NOT NULL") +
                             inventory + QStringLiteral(" and d.InvoiceID <> ? Group by d.Barcode");
    QHash<QString, double> reserved = sumByBarcode(s, ordered, barcodes, byInventoryParams);
    if (reserved.isEmpty()) return reserved;  // nothing ordered: nothing to net against invoices
    const QHash<QString, double> sold =
        sumByBarcode(s, invoiced, reserved.keys(), byInventoryParams + Params{excludeInvoiceId});
    for (auto it = reserved.begin(); it != reserved.end(); ++it)
        it.value() = std::max(0.0, it.value() - sold.value(it.key()));
    return reserved;
}

QVector<StockTraceRow> StockMovements(Session& s, int inventoryId, const QString& barcode,
                                      const QDate& from, const QDate& asOf, int excludeInvoiceId) {
    const RowSet rows = s.query(
        QStringLiteral(
            "SELECT m.MoveDate, m.MoveKind, m.BaseQty, CASE WHEN m.MoveKind = 1 THEN r.Code ELSE "
            "x.Code END AS DocCode, CASE WHEN m.MoveKind = 1 THEN r.FarsiReceiveDate ELSE "
            "x.FarsiReceiveDate END AS FarsiDate FROM vwInventoryStockMovement m "
            "LEFT JOIN tblInventoryReceipt r ON m.MoveKind = 1 AND r.ID = m.DocumentID "
            "LEFT JOIN tblInventoryDispatch x ON m.MoveKind = 2 AND x.ID = m.DocumentID "
            "WHERE m.InventoryID = ? AND m.Barcode = ? AND m.MoveDate >= ? AND m.MoveDate < ? "
            "AND NOT (coalesce(m.DispatchFormTypeID, 0) = ? AND coalesce(m.DispatchFormID, 0) "
            "= ?) ORDER BY m.MoveDate, m.MoveKind, m.DocumentID"),
        {inventoryId, barcode, from.isValid() ? from : QDate(1900, 1, 1), asOf.addDays(1),
         FormType::SaleInvoice, excludeInvoiceId});
    QVector<StockTraceRow> trace;
    double balance = 0;
    for (const Row& r : rows) {
        StockTraceRow t;
        t.date = r.date(u"MoveDate");
        t.farsiDate = r.text(u"FarsiDate");
        const bool receipt = r.toInt(u"MoveKind") == 1;
        t.document = (receipt ? QStringLiteral("رسيد انبار ") : QStringLiteral("حواله انبار ")) +
                     r.text(u"DocCode");
        const double qty = r.toDouble(u"BaseQty");
        (receipt ? t.received : t.dispatched) = std::abs(qty);
        balance += qty;
        t.balance = balance;
        trace.push_back(t);
    }
    return trace;
}

}  // namespace si
