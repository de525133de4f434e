#pragma once
// One goods line of the invoice, as the grid flexDetail shows it: the grid's column numbers are
// kept (Col), because every rule of the form names its cells by them. Values are typed here and
// formatted only when shown; amounts are Money, quantities and percentages doubles.

#include <QString>

#include "common/Money.h"

namespace si {

// Column numbers of the goods grid (and of the free-goods grid, which shares the layout).
namespace Col {
enum : int {
    Row = 0,
    BarCode = 1,
    GoodCode = 2,
    GoodName = 3,
    Description = 4,
    ServicedBarCode = 5,
    ServicedGoodName = 6,
    Qty = 7,
    UnitName = 8,
    BaseQty = 9,
    UnitPrice = 10,
    BaseUnitPrice = 11,
    ApproxProfit = 12,
    WagePercent = 13,
    WagePerWeight = 14,
    TotalWage = 15,
    ProfitPercent = 16,
    TotalProfit = 17,
    Commission = 18,
    DiscountPercent = 19,
    DiscountValue = 20,
    NetAmount = 21,
    ScaleID = 22,
    TaxAndDuty = 23,
    LineTotal = 24,
    Reserved25 = 25,
    StoredQty = 26,
    ReservedQty = 27,
    BlockedQty = 28,
    DiscountKind = 29,
    InitialQty = 30,
    InitialScaleID = 31,
    ChangeReason = 32,
    Tax = 33,
    Duty = 34,
    Stock = 35,
    TempQty = 36,
    BirthdayPercent = 37,
    CardPercent = 38,
    PricingMethodID = 39,
    PricingMethodName = 40,
    PromoterID = 41,
    PromoterName = 42,
    IsEchantillon = 43,
    GoodGroupID = 44,
    PromotionMark = 45,
    AutoPromotionMark = 46,
    Reserved47 = 47,
    PromotionRule = 48,
    Count = 49
};
}  // namespace Col

// How a line's discount was entered (column 29): 1 as a percent, 2 as an amount.
inline constexpr int kDiscountAsPercent = 1;
inline constexpr int kDiscountAsValue = 2;

struct InvoiceLine {
    QString BarCode;
    QString GoodCode;
    QString GoodName;
    QString Description;
    QString ServicedBarCode;
    QString ServicedGoodName;
    double Qty = 0;
    QString UnitName;
    double BaseQty = 0;  // Qty x the unit's ScaleToBaseParent
    Money UnitPrice;
    Money BaseUnitPrice;
    Money ApproxProfit;      // the net amount less the base quantity at the buy price
    Money BuyPrice;          // of the goods, per base unit
    double WagePercent = 0;  // precious metals: making wage in percent of the price
    Money WagePerWeight;     // ... and per unit of weight
    Money TotalWage;
    double ProfitPercent = 0;
    Money TotalProfit;
    Money Commission;
    double DiscountPercent = 0;
    Money DiscountValue;
    Money NetAmount;  // after the line discount, with wage, profit and commission
    int ScaleID = -1;
    Money TaxAndDuty;
    Money LineTotal;
    double StoredQty = 0;
    double ReservedQty = 0;
    double BlockedQty = 0;
    int DiscountKind = kDiscountAsPercent;
    QString InitialQty;  // blank unless a quantity change was recorded
    int InitialScaleID = -1;
    QString ChangeReason;
    Money Tax;
    Money Duty;
    double Stock = 0;
    double TempQty = 0;
    double BirthdayPercent = 0;
    double CardPercent = 0;
    int PricingMethodID = -1;
    QString PricingMethodName;
    int PromoterID = -1;
    QString PromoterName;
    bool IsEchantillon = false;
    int GoodGroupID = -1;
    QString PromotionMark;
    QString AutoPromotionMark;
    QString PromotionRule;

    // A row counts as filled when its barcode is not blank.
    bool isFilled() const { return !BarCode.trimmed().isEmpty(); }
};

}  // namespace si
