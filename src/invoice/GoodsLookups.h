#pragma once
// The goods look-ups of the line grid: a goods item by code or barcode as a line sees it, the
// sale rules of an inventory, units, attached goods, quantities held elsewhere (temporary invoices
// and sale orders) and the stock movements behind the stock trace. Each statement is stated once
// here; quantities are in base units unless noted.

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

#include "common/Session.h"

namespace si {

// A row of vwGoodInfo: the goods item in its sale unit.
struct GoodInfo {
    QString BarCode;
    QString Code;
    QString Name;
    QString UnitName;
    int SaleScaleID = -1;
    double Cof = 1;  // base units in one sale unit
    Money RetailPrice;
    std::optional<double> StandardDiscountPercent;
    std::optional<Money> StandardDiscountValue;
    int GoodGroupID = -1;
};

struct UnitChoice {
    int id = -1;
    QString name;
    double factor = 1;
};

struct StockTraceRow {
    QDate date;
    QString farsiDate;
    QString document;  // receipt or dispatch, with its code
    double received = 0;
    double dispatched = 0;
    double balance = 0;
};

std::optional<GoodInfo> GoodByCode(Session& s, const QString& code);
std::optional<GoodInfo> GoodByBarcode(Session& s, const QString& barcode);
// tblInventoryGoodInfo marks the goods NotForSale in the inventory.
bool IsNotForSale(Session& s, const QString& barcode, int inventoryId);
// Exactly when tblGoodScale.IsInteger is true: an unknown unit or a null flag takes fractions.
bool IsIntegerUnit(Session& s, int scaleId);
double UnitFactor(Session& s, int scaleId);
// Goods added together with the goods item (tblGoodAttachedGoods), in their stored order.
QStringList AttachedBarcodes(Session& s, const QString& barcode);
// The distribution sheet's vehicle has left (tblDistributionInvoice.IsMoved).
bool IsVehicleMoved(Session& s, int distributionInvoiceId);
// The free-goods threshold (tblGood.EsTreshold); 0 when none.
double FreeGoodsThreshold(Session& s, const QString& barcode);
// Units the barcode may be sold in (tblGoodSaleScale).
QVector<UnitChoice> SaleUnitsOf(Session& s, const QString& barcode);
// tblGood's name of a barcode; nullopt when no such goods.
std::optional<QString> GoodNameOf(Session& s, const QString& barcode);

// The quantity of each barcode in temporary invoices (Code IS NULL) of the inventory (all
// inventories when it is -1), the given invoice left out.
QHash<QString, double> TempInvoiceQuantities(Session& s, const QStringList& barcodes,
                                             int inventoryId, int excludeInvoiceId);
// The quantity of each barcode ordered by sale orders of the inventory and not yet invoiced
// against an order (invoices with a SaleOrderID, the given invoice left out); never negative.
QHash<QString, double> ReservedQuantities(Session& s, const QStringList& barcodes, int inventoryId,
                                          int excludeInvoiceId);

// Receipts and dispatches of the barcode in the inventory from `from` (invalid: the whole
// history) up to and including asOf, the invoice's own dispatch left out, in date order, with the
// running balance.
QVector<StockTraceRow> StockMovements(Session& s, int inventoryId, const QString& barcode,
                                      const QDate& from, const QDate& asOf, int excludeInvoiceId);

}  // namespace si
