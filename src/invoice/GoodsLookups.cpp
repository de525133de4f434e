#include "invoice/GoodsLookups.h"

namespace si {

namespace {

// Placeholders per grouped statement.
constexpr int kBarcodesPerStatement = 1000;

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
    if (!r.isNull(u"StandardDiscountPercent"))
        g.StandardDiscountPercent = r.toDouble(u"StandardDiscountPercent");
    if (!r.isNull(u"StandardDiscountvalue"))
        g.StandardDiscountValue = r.money(u"StandardDiscountvalue");
    g.GoodGroupID = r.toInt(u"GoodGroupID", -1);
    return g;
}

std::optional<GoodInfo> goodWhere(Session& s, const QString& condition, const QString& value) {
    auto row = s.first(QStringLiteral("select * from vwGoodInfo where ") + condition, {value});
    if (!row) return std::nullopt;
    return goodOf(*row);
}

// Runs `sql` once per slice of the barcodes; "%1" in it stands for the slice's placeholders,
// which come between the leading and the trailing parameters. Each result row adds its "Qty"
// to its "Barcode".
QHash<QString, double> sumByBarcode(Session& s, const QString& sql, const QStringList& barcodes,
                                    const Params& leading, const Params& trailing) {
    QHash<QString, double> sums;
    for (qsizetype i = 0; i < barcodes.size(); i += kBarcodesPerStatement) {
        const QStringList slice = barcodes.mid(i, kBarcodesPerStatement);
        Params params = leading;
        for (const QString& barcode : slice)
            params << barcode;
        params << trailing;
        const QString marks = QStringList(slice.size(), QStringLiteral("?")).join(QLatin1Char(','));
        for (const Row& r : s.query(sql.arg(marks), params))
            sums[r.text(u"Barcode")] += r.toDouble(u"Qty");
    }
    return sums;
}

// A line's quantity in base units, in SQL over tblSaleInvoiceDetail or tblSaleOrderDetail d.
const QString kBaseQty = QStringLiteral(
    "sum(coalesce(d.Qty,0) * coalesce((select sc.ScaleToBaseParent from tblGoodScale sc "
    "where sc.ID = d.ScaleID),1))");

}  // namespace

std::optional<GoodInfo> GoodByCode(Session& s, const QString& code) {
    return goodWhere(s, QStringLiteral("Code=?"), code);
}

std::optional<GoodInfo> GoodByBarcode(Session& s, const QString& barcode) {
    return goodWhere(s, QStringLiteral("BarCode=?"), barcode);
}

bool IsNotForSale(Session& s, const QString& barcode, int inventoryId) {
    return s
        .first(QStringLiteral("Select ID from tblInventoryGoodInfo Where Barcode=? and "
                              "InventoryID=? and coalesce(NotForSale,0)=1"),
               {barcode, inventoryId})
        .has_value();
}

bool IsIntegerUnit(Session& s, int scaleId) {
    return s.scalar(QStringLiteral("select IsInteger from tblGoodScale Where ID=?"), {scaleId})
               .toInt() == 1;
}

double UnitFactor(Session& s, int scaleId) {
    const QVariant v = s.scalar(
        QStringLiteral("Select coalesce(ScaleToBaseParent,1) as Cof From tblGoodScale Where ID=?"),
        {scaleId});
    const double factor = v.isNull() ? 1 : v.toDouble();
    return factor > 0 ? factor : 1;
}

QStringList AttachedBarcodes(Session& s, const QString& barcode) {
    QStringList list;
    const RowSet rows = s.query(
        QStringLiteral("Select (select x.Barcode from tblGood x Where x.ID=a.AttachedGoodID) as "
                       "AttachedBarCode from tblGoodAttachedGoods a Where a.GoodID in (Select "
                       "g.ID from tblGood g Where g.Barcode=?) Order by a.ID"),
        {barcode});
    for (const Row& r : rows)
        if (!r.text(u"AttachedBarCode").trimmed().isEmpty())
            list << r.text(u"AttachedBarCode").trimmed();
    return list;
}

bool IsVehicleMoved(Session& s, int distributionInvoiceId) {
    if (distributionInvoiceId < 1) return false;
    return s
        .first(QStringLiteral("Select ID From tblDistributionInvoice Where "
                              "coalesce(IsMoved,0)=1 and ID=?"),
               {distributionInvoiceId})
        .has_value();
}

double FreeGoodsThreshold(Session& s, const QString& barcode) {
    return s.scalar(QStringLiteral("Select EsTreshold from tblGood Where Barcode=?"), {barcode})
        .toDouble();
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
        s, sql, barcodes, {},
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
    QHash<QString, double> reserved = sumByBarcode(s, ordered, barcodes, {}, byInventoryParams);
    if (reserved.isEmpty()) return reserved;  // nothing ordered: nothing to net against invoices
    const QHash<QString, double> sold = sumByBarcode(s, invoiced, reserved.keys(), {},
                                                     byInventoryParams + Params{excludeInvoiceId});
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
            "AND NOT (coalesce(m.DispatchFormTypeID, 0) = 901 AND coalesce(m.DispatchFormID, 0) "
            "= ?) ORDER BY m.MoveDate, m.MoveKind, m.DocumentID"),
        {inventoryId, barcode, from.isValid() ? from : QDate(1900, 1, 1), asOf.addDays(1),
         excludeInvoiceId});
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
