#pragma once
// The goods look-ups of the line grid: a goods item by code or barcode as a line sees it, the
// sale rules of an inventory, units, attached goods, prices under a pricing method, quantities
// held elsewhere (temporary invoices and sale orders) and the stock movements behind the stock
// trace. Each statement is stated once here; quantities are in base units unless noted.
//
// The look-ups of many goods at once answer, for every listed barcode or code, what the look-up
// of that one would answer; a statement lists at most kGoodsPerStatement of them.

#include <QDate>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

#include "common/Session.h"
#include "common/SqlCondition.h"

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
    Money BuyPrice;  // per base unit
    std::optional<double> StandardDiscountPercent;
    std::optional<Money> StandardDiscountValue;
    int GoodGroupID = -1;
};

struct UnitChoice {
    int id = -1;
    QString name;
    double factor = 1;
};

// A price list row (tblGoodSaleInfo) of a goods item under a pricing method.
struct PriceLookup {
    bool found = false;  // a tblGoodSaleInfo row exists for the goods and method
    Money RetailPrice;   // per base unit
    bool IsDiscountInPercent = true;
    double DiscountPercent = 0;
    Money DiscountValue;
};

// What a unit (tblGoodScale) rules for the quantities in it.
struct UnitRule {
    bool integer = false;  // whole units only
    double factor = 1;     // base units in one unit
};

struct StockTraceRow {
    QDate date;
    QString farsiDate;
    QString document;  // receipt or dispatch, with its code
    double received = 0;
    double dispatched = 0;
    double balance = 0;
};

// The statement of the one-goods look-up by a vwGoodInfo column (Code or BarCode) and what it
// binds.
SqlCondition GoodLookupStatement(const QString& column, const QString& typed);

// The goods picker's search: goods whose folded code, barcode or name begins with the typed text
// (each read through its index, at most `limit` of each). Goods not for sale in the inventory
// (-1: none) are left out. Rows come best first: by the kind of match, then by the folded key; a
// goods item may come more than once. Typed text that is blank lists the goods by name.
SqlCondition GoodsSearchStatement(const QString& typed, int inventoryId, int limit);
// Then, when the prefixes found fewer than `limit` and the text has at least kContainsFrom
// characters and is not a number, goods whose name contains it (the first `limit` the scan
// meets): a read with no index, so only when it can add something.
inline constexpr int kContainsFrom = 3;
SqlCondition GoodsContainsStatement(const QString& typed, int inventoryId, int limit);
// What the search finds, a goods item once, best first, at most `limit`.
QVector<GoodInfo> SearchGoods(Session& s, const QString& typed, int inventoryId, int limit);

// Bound values per statement of the look-ups of many goods.
inline constexpr int kGoodsPerStatement = 800;

// Typed codes and barcodes are compared folded (FoldedText): ي/ی, ك/ک and the three kinds of
// digits match, Latin letters in either case. Of goods whose codes fold alike the one stored
// exactly as typed is taken, else the first made.
std::optional<GoodInfo> GoodByCode(Session& s, const QString& code);
std::optional<GoodInfo> GoodByBarcode(Session& s, const QString& barcode);
// The goods of each listed barcode that has one.
QHash<QString, GoodInfo> GoodsByBarcodes(Session& s, const QStringList& barcodes);
// Every goods item carrying each listed code (a code may be shared), in no particular order.
QHash<QString, QVector<GoodInfo>> GoodsByCodes(Session& s, const QStringList& codes);
// tblGood's barcode of a goods code (the code of a weighing label); empty when none.
QString BarcodeOfGoodsCode(Session& s, const QString& code);
// tblInventoryGoodInfo marks the goods NotForSale in the inventory.
bool IsNotForSale(Session& s, const QString& barcode, int inventoryId);
// Those of the barcodes that are not for sale in the inventory.
QSet<QString> NotForSaleBarcodes(Session& s, const QStringList& barcodes, int inventoryId);
// Exactly when tblGoodScale.IsInteger is true: an unknown unit or a null flag takes fractions.
bool IsIntegerUnit(Session& s, int scaleId);
double UnitFactor(Session& s, int scaleId);
// Both rules of each listed unit; a unit that does not exist is absent (fractions, factor 1).
QHash<int, UnitRule> UnitRules(Session& s, const QVector<int>& scaleIds);
// Goods added together with the goods item (tblGoodAttachedGoods), in their stored order.
QStringList AttachedBarcodes(Session& s, const QString& barcode);
// The attached goods of each listed barcode that has any.
QHash<QString, QStringList> AttachedBarcodesOf(Session& s, const QStringList& barcodes);
// The distribution sheet's vehicle has left (tblDistributionInvoice.IsMoved).
bool IsVehicleMoved(Session& s, int distributionInvoiceId);
// The free-goods threshold (tblGood.EsTreshold); nullopt when none, while 0 is a threshold.
std::optional<double> FreeGoodsThreshold(Session& s, const QString& barcode);
// The thresholds of the listed barcodes that have one.
QHash<QString, std::optional<double>> FreeGoodsThresholds(Session& s, const QStringList& barcodes);
// The price list row of the goods under the method.
PriceLookup GoodPrice(Session& s, const QString& barcode, int method);
// The rows of the listed barcodes that have one under the method.
QHash<QString, PriceLookup> GoodPrices(Session& s, const QStringList& barcodes, int method);
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
