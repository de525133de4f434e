#include "StockLevels.h"

#include "common/Stock.h"
#include "common/SystemParameters.h"

namespace si::soak {

namespace {

const QString kMovements = QStringLiteral(
    "SELECT InventoryID, Barcode, sum(Qty) AS Stock FROM ("
    "SELECT r.InventoryID, d.Barcode, coalesce(d.Qty, 0) * coalesce(sc.ScaleToBaseParent, 1) AS "
    "Qty "
    "FROM tblInventoryReceiptDetail d JOIN tblInventoryReceipt r ON r.ID = d.ReceiptID "
    "LEFT JOIN tblGoodScale sc ON sc.ID = d.ScaleID "
    "WHERE r.ReceiveDate >= ? AND r.ReceiveDate < ? "
    "UNION ALL "
    "SELECT x.InventoryID, d.Barcode, 0 - coalesce(d.Qty, 0) * coalesce(sc.ScaleToBaseParent, 1) "
    "FROM tblInventoryDispatchDetail d JOIN tblInventoryDispatch x ON x.ID = d.DispatchID "
    "LEFT JOIN tblGoodScale sc ON sc.ID = d.ScaleID "
    "WHERE x.ReceiveDate >= ? AND x.ReceiveDate < ?) m "
    "GROUP BY InventoryID, Barcode");

QSet<int> checkedInventories(Session& s) {
    const int rule = ParameterNumber(s, P::StockRule, 0);
    QSet<int> inventories;
    if (rule != 1 && rule != 2) return inventories;
    for (const Row& r : s.query(QStringLiteral(
             "SELECT ID, coalesce(CheckExistance, 0) AS CheckExistance FROM tblInventory"))) {
        const int id = r.toInt(u"ID");
        if (rule == 2 && r.toInt(u"CheckExistance") == 0) continue;
        if (StockInventoryID(s, id) == id) inventories.insert(id);
    }
    return inventories;
}

QDate rangeStart(Session& s) {
    if (ParameterFlag(s, P::PeriodDates, 0)) {
        const QVariant begin = s.scalar(
            QStringLiteral("SELECT BeginDate FROM tblAccountPeriod WHERE IsActive = ?"), {1});
        if (!begin.isNull()) return begin.toDate();
    }
    return QDate(1900, 1, 1);
}

}  // namespace

int ParameterNumber(Session& s, int parameter, int user) {
    SystemParameters params;
    LoadSystemParameters(s, user, params);
    return params.number(parameter);
}

bool ParameterFlag(Session& s, int parameter, int user) {
    SystemParameters params;
    LoadSystemParameters(s, user, params);
    return params.flag(parameter);
}

StockLevels CheckedStockLevels(Session& s, const QDate& asOf) {
    const QSet<int> inventories = checkedInventories(s);
    StockLevels levels;
    if (inventories.isEmpty()) return levels;
    const QDate from = rangeStart(s);
    const QDate to = asOf.addDays(1);
    for (const Row& r : s.query(kMovements, {from, to, from, to})) {
        const int inventory = r.toInt(u"InventoryID");
        if (inventories.contains(inventory))
            levels.insert({inventory, r.text(u"Barcode")}, r.toDouble(u"Stock"));
    }
    return levels;
}

}  // namespace si::soak
