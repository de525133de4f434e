// The cell validation table of the goods grid: a typed value is checked by its column's rules
// and written to the line only when every rule passes.

#include <cmath>

#include "common/Messages.h"
#include "common/Numbers.h"
#include "invoice/LineLookups.h"
#include "invoice/LinesLogic.h"
#include "invoice/LinesSupport.h"
#include "invoice/LinesTexts.h"
#include "invoice/TotalsLogic.h"

namespace si {

using namespace lines;

namespace {

constexpr double kMaxQuantity = 1000000000;

bool withinPercent(double value) {
    return value >= 0 && value <= 100;
}

Money grossOf(const InvoiceLine& l) {
    return l.UnitPrice.times(l.Qty).fix();
}

}  // namespace

bool LinesLogic::commitCell(int row, int col, const QString& text) {
    if (!entryMode() || row < 0 || row >= grid().rows() || !grid().isEditable() ||
        !grid().isColumnEditable(col))
        return false;
    if (col == Col::BarCode) return commitGoods(row, kByBarcode, text);
    if (col == Col::GoodCode) return commitGoods(row, kByGoodCode, text);
    if (!grid().line(row).isFilled()) return false;
    switch (col) {
        case Col::Description:
            grid().line(row).Description = text.trimmed();
            grid().lineChanged(row);
            return true;
        case Col::Qty:
            return commitQuantity(row, text);
        case Col::UnitPrice:
            return commitPrice(row, text);
        case Col::DiscountPercent:
            return commitDiscountPercent(row, text);
        case Col::DiscountValue:
            return commitDiscountValue(row, text);
        case Col::WagePercent:
        case Col::WagePerWeight:
        case Col::ProfitPercent:
        case Col::Commission:
            return commitPreciousMetal(row, col, text);
        default:
            return false;
    }
}

// Shop mode takes goods from a scanner: its refusals flash instead of stopping the clerk.
// The picker stands for typing: it may enter goods wherever the clerk could type a barcode or a
// code.
bool LinesLogic::enterPickedGoods(int row, const QString& barcode) {
    if (!entryMode() || row < 0 || row >= grid().rows() || !grid().isEditable()) return false;
    if (!grid().isColumnEditable(Col::BarCode) && !grid().isColumnEditable(Col::GoodCode))
        return false;
    return commitGoods(row, kByBarcode, barcode);
}

bool LinesLogic::commitGoods(int row, int kind, const QString& text) {
    const QString typed = text.trimmed();
    if (typed.isEmpty()) return false;
    const InvoiceLine& old = grid().line(row);
    if (old.isFilled() && sameText(kind == kByGoodCode ? old.GoodCode : old.BarCode, typed))
        return true;
    double qty = 1;
    return FillFlexOneRow(typed, row, kind, ctx().params.flag(P::ShopMode), qty);
}

bool LinesLogic::commitQuantity(int row, const QString& text) {
    const auto value = numberOf(text);
    if (!value) {
        refuseNotANumber(text);
        return false;
    }
    const double qty = *value;
    InvoiceLine& l = grid().line(row);
    std::optional<Refusal> refusal;
    if (vehicleMoved())
        refusal = Refusal{kNoChangeCaption, kVehicleQty};
    else if (qty < 0 || isZeroAtUnitPrecision(qty, lookups().isIntegerUnit(l.ScaleID)))
        refusal = Refusal{kErrorCaption, kQtyTooSmall};
    else if (qty > kMaxQuantity)
        refusal = Refusal{kErrorCaption, kQtyTooLarge};
    const double factor = refusal ? 1 : lookups().unitFactor(l.ScaleID);
    if (!refusal) refusal = stockRefusal(row, qty, factor);
    if (!refusal) refusal = integerRefusal(l.ScaleID, qty, row, true);
    if (refusal) {
        refuseEntry(*refusal);
        return false;
    }
    const double soldBefore = SelectedQty(l.BarCode, -1);
    l.Qty = qty;
    l.BaseQty = qty * factor;
    lineAmountsChanged(row, true);
    noticeFreeGoodsThreshold(row, soldBefore);
    return true;
}

bool LinesLogic::commitPrice(int row, const QString& text) {
    const auto price = amountOf(text);
    if (!price) {
        refuseNotANumber(text);
        return false;
    }
    if (*price < Money()) {
        refuseEntry({kErrorCaption, kPriceTooSmall});
        return false;
    }
    InvoiceLine& l = grid().line(row);
    l.UnitPrice = *price;
    l.BaseUnitPrice = Money::fromDouble(price->toDouble() / lookups().unitFactor(l.ScaleID));
    lineAmountsChanged(row, true);
    return true;
}

// The user's ceiling (parameter 2828) first, then the bound of any line: no more than the whole
// line, i.e. a percent within 0..100.
bool LinesLogic::commitDiscountPercent(int row, const QString& text) {
    const auto value = numberOf(text);
    if (!value) {
        refuseNotANumber(text);
        return false;
    }
    const double percent = *value;
    const int ceiling = ctx().params.number(P::MaxLineDiscountPercent);
    if (ceiling >= 0 && percent > ceiling) {
        refuseEntry({kErrorCaption,
                     kDiscountCeilingPrefix + QString::number(ceiling) + kDiscountCeilingSuffix});
        return false;
    }
    if (!withinPercent(percent)) {
        refuseEntry({kErrorCaption, kDiscountTooLarge});
        return false;
    }
    if (!services_.CheckDiscountPercentValidation(row, percent)) return false;
    InvoiceLine& l = grid().line(row);
    l.DiscountPercent = percent;
    l.DiscountKind = kDiscountAsPercent;
    lineAmountsChanged(row, true);
    return true;
}

// The user's ceiling (parameter 2829) first, then the bound of any line: no more than its gross
// amount (price x quantity).
bool LinesLogic::commitDiscountValue(int row, const QString& text) {
    const auto value = amountOf(text);
    if (!value) {
        refuseNotANumber(text);
        return false;
    }
    const Money ceiling = ctx().params.amount(P::MaxLineDiscountValue);
    if (ceiling >= Money() && *value > ceiling) {
        refuseEntry(
            {kErrorCaption, kDiscountCeilingPrefix + ceiling.toString() + kDiscountCeilingSuffix});
        return false;
    }
    InvoiceLine& l = grid().line(row);
    const Money gross = grossOf(l);
    if (*value < Money() || *value > gross) {
        refuseEntry({kErrorCaption, kDiscountTooLarge});
        return false;
    }
    const double percent =
        gross > Money() ? RoundHalfUpPercent(value->toDouble() * 100 / gross.toDouble(), 2) : 0;
    if (!services_.CheckDiscountPercentValidation(row, percent)) return false;
    l.DiscountValue = *value;
    l.DiscountKind = kDiscountAsValue;
    lineAmountsChanged(row, true);
    return true;
}

bool LinesLogic::commitPreciousMetal(int row, int col, const QString& text) {
    InvoiceLine& l = grid().line(row);
    std::optional<QString> refusal;
    if (col == Col::WagePercent || col == Col::ProfitPercent) {
        const std::optional<double> typed = numberOf(text);
        if (!typed) {
            refuseNotANumber(text);
            return false;
        }
        const double percent = *typed;
        if (!withinPercent(percent))
            refusal = col == Col::WagePercent ? kWagePercentWrong : kProfitPercentWrong;
        if (refusal) {
            refuseEntry({kErrorCaption, *refusal});
            return false;
        }
        (col == Col::WagePercent ? l.WagePercent : l.ProfitPercent) = percent;
    } else {
        const std::optional<Money> typed = amountOf(text);
        if (!typed) {
            refuseNotANumber(text);
            return false;
        }
        const Money amount = *typed;
        if (col == Col::WagePerWeight)
            refusal = amount < Money()       ? std::optional(kWageNegative)
                      : amount > l.UnitPrice ? std::optional(kWageAbovePrice)
                                             : std::nullopt;
        else
            refusal = amount < Money()      ? std::optional(kCommissionNegative)
                      : amount > grossOf(l) ? std::optional(kCommissionAboveAmount)
                                            : std::nullopt;
        if (refusal) {
            refuseEntry({kErrorCaption, *refusal});
            return false;
        }
        (col == Col::WagePerWeight ? l.WagePerWeight : l.Commission) = amount;
    }
    lineAmountsChanged(row, false);
    return true;
}

// A typed quantity beyond what is left is refused (a cut is offered only by the unit dialog).
std::optional<LinesLogic::Refusal> LinesLogic::stockRefusal(int row, double qty, double factor) {
    if (!stockChecked()) return std::nullopt;
    const InvoiceLine& l = grid().line(row);
    const double available = AvailableQty(l.BarCode, row);
    if (qty * factor <= available + kQtyEpsilon) return std::nullopt;
    const double exact = available / factor;
    const double most = lookups().isIntegerUnit(l.ScaleID) ? std::floor(exact) : exact;
    if (most <= 0) return Refusal{kErrorCaption, kAboveSaleable};
    return Refusal{kErrorCaption, kMaxStockPrefix + quantityText(most) + kMaxStockSuffix};
}

std::optional<LinesLogic::Refusal> LinesLogic::integerRefusal(int scaleId, double qty, int row,
                                                              bool withRow) {
    if (std::abs(qty - std::round(qty)) < kQtyEpsilon || !lookups().isIntegerUnit(scaleId))
        return std::nullopt;
    QString text = kIntegerUnit;
    if (withRow) text += kInRow + QString::number(row + 1);
    return Refusal{kProblemCaption, text};
}

bool LinesLogic::checkIntegerUnit(int row, bool withRow) {
    if (row < 0 || row >= grid().rows() || !grid().line(row).isFilled()) return true;
    const InvoiceLine& l = grid().line(row);
    if (const auto refusal = integerRefusal(l.ScaleID, l.Qty, row, withRow)) {
        refuseEntry(*refusal);
        return false;
    }
    return true;
}

// The notice comes once, when the goods' quantity on the invoice reaches the threshold; a
// threshold of 0 is reached by every quantity, so there is nothing to cross and it always comes.
void LinesLogic::noticeFreeGoodsThreshold(int row, double baseQtyBefore) {
    const InvoiceLine& l = grid().line(row);
    const std::optional<double> threshold = lookups().freeGoodsThreshold(l.BarCode);
    if (!threshold) return;
    const double sold = SelectedQty(l.BarCode, -1);
    const bool nothingToCross = *threshold <= 0;
    if ((nothingToCross || baseQtyBefore + kQtyEpsilon < *threshold) &&
        sold + kQtyEpsilon >= *threshold)
        ShowMessage(ctx(), kThresholdCaption, kThresholdPrefix + l.GoodName + kThresholdSuffix);
}

void LinesLogic::lineAmountsChanged(int row, bool discountFollows) {
    if (discountFollows)
        services_.totals->SyncLineDiscount(row, grid().line(row).DiscountKind, grid());
    services_.totals->RecomputeRowSum(row, grid());
    services_.totals->ComputeGrandTotal();
}

}  // namespace si
