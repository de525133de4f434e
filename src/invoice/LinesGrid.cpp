// The grid around the lines: deleting a row, its keys, its columns, and the data behind the unit,
// description, serviced-goods and stock-trace dialogs.

#include <cmath>

#include "common/Codes.h"
#include "common/Messages.h"
#include "common/Stock.h"
#include "invoice/LineLookups.h"
#include "invoice/LinesLogic.h"
#include "invoice/LinesSupport.h"
#include "invoice/LinesTexts.h"
#include "invoice/TotalsLogic.h"

namespace si {

using namespace lines;

namespace {

// What a counter clerk does not need to see.
constexpr int kShopHiddenColumns[] = {
    Col::ServicedBarCode, Col::ServicedGoodName, Col::ApproxProfit,    Col::StoredQty,
    Col::ReservedQty,     Col::BlockedQty,       Col::DiscountKind,    Col::InitialQty,
    Col::InitialScaleID,  Col::ChangeReason,     Col::PricingMethodID, Col::PricingMethodName,
    Col::PromoterID,      Col::PromoterName,     Col::IsEchantillon,   Col::PromotionMark,
    Col::PromotionRule};

}  // namespace

bool LinesLogic::DeleteRow(int row) {
    if (!entryMode() || row < 0 || row >= grid().rows() || !grid().line(row).isFilled())
        return false;
    if (vehicleMoved()) {
        ShowMessage(ctx(), kNoDeleteCaption, kVehicleDelete);
        return false;
    }
    if (!AskedYes(ctx(), kDeleteCaption, kAreYouSure)) return false;
    grid().DeleteLine(row);
    services_.totals->ComputeGrandTotal();
    currentRow_ = std::min(row, grid().rows() - 1);
    return true;
}

GridAction LinesLogic::handleKey(int key, Qt::KeyboardModifiers modifiers, int row, int col) {
    if (!entryMode() || row < 0 || row >= grid().rows()) return GridAction::None;
    modifiers &= ~Qt::KeypadModifier;
    const bool controlOnly = modifiers == Qt::ControlModifier;
    const bool filled = grid().line(row).isFilled();
    const SystemParameters& p = ctx().params;
    const bool shop = p.flag(P::ShopMode);
    auto when = [](bool condition, GridAction action) {
        return condition ? action : GridAction::None;
    };
    switch (key) {
        case Qt::Key_Up:
            return when(removeEmptyLastRow(row), GridAction::Handled);
        case Qt::Key_F2:
            return when(filled && p.flag(P::RepeatGoods) && !shop, GridAction::ChooseUnit);
        case Qt::Key_F3:
            if (col == Col::BarCode || col == Col::GoodCode || col == Col::GoodName)
                return when(grid().isEditable() && (grid().isColumnEditable(Col::BarCode) ||
                                                    grid().isColumnEditable(Col::GoodCode)),
                            GridAction::ChooseGoods);
            return when(filled && col == Col::ServicedBarCode, GridAction::ChooseServicedGoods);
        case Qt::Key_F4:
            return when(filled && !(modifiers & Qt::ShiftModifier),
                        GridAction::ChoosePricingMethod);
        case Qt::Key_B:
            return when(filled && controlOnly, GridAction::ChoosePromoter);
        case Qt::Key_F6:
            return when(filled && p.flag(P::LineDescription) && !shop, GridAction::EditDescription);
        case Qt::Key_F7:
            return when(filled, GridAction::ShowStockTrace);
        case Qt::Key_Delete:
            if (!controlOnly) return GridAction::None;
            DeleteRow(row);
            return GridAction::Handled;
        default:
            return GridAction::None;
    }
}

// Up on an empty last row takes back a row added too many (the original grid counted its title
// row, hence three rows); the grid still ends with one empty row.
bool LinesLogic::removeEmptyLastRow(int row) {
    if (!grid().isLastRow(row) || grid().line(row).isFilled()) return false;
    if (grid().rows() + 1 < 3 || grid().line(row - 1).isFilled()) return false;
    grid().DeleteLine(row);
    currentRow_ = row - 1;
    return true;
}

bool LinesLogic::setServicedGoods(int row, const QString& barcode) {
    if (row < 0 || row >= grid().rows() || !grid().line(row).isFilled()) return false;
    const auto name = GoodNameOf(db(), barcode.trimmed());
    if (!name) return false;
    InvoiceLine& l = grid().line(row);
    l.ServicedBarCode = barcode.trimmed();
    l.ServicedGoodName = *name;
    grid().lineChanged(row);
    return true;
}

void LinesLogic::configureColumns() {
    const SystemParameters& p = ctx().params;
    const bool shop = p.flag(P::ShopMode);
    auto showColumn = [this](int col, bool visible, int width) {
        if (!visible)
            grid().setColumnWidth(col, 0);
        else if (grid().isColumnHidden(col))
            grid().setColumnWidth(col, width);
    };
    showColumn(Col::Description, p.flag(P::LineDescription), 1400);
    showColumn(Col::BaseQty, p.flag(P::ShowBaseQty), 1000);
    showColumn(Col::BaseUnitPrice, p.flag(P::BaseUnitPrice), 1000);
    showColumn(Col::Stock, p.flag(P::ShowStock), 1000);
    showColumn(Col::TempQty, p.flag(P::ShowTempQty), 1000);
    if (shop)
        for (int col : kShopHiddenColumns)
            grid().setColumnWidth(col, 0);

    // The other columns (the precious-metal ones) keep what the invoice type set.
    grid().padEditableMask(Col::Count);
    grid().DoEditableCol(Col::BarCode, !(shop && p.flag(P::ShopBarcodeReadOnly)), false);
    grid().DoEditableCol(Col::GoodCode, !p.flag(P::CodeReadOnly), false);
    grid().DoEditableCol(Col::Description, p.flag(P::LineDescription), false);
    grid().DoEditableCol(Col::Qty, true, false);
    grid().DoEditableCol(Col::UnitPrice,
                         p.flag(P::UnitPriceEditable) && HasRight(ctx(), Right::UnitPrice), true);
    const bool discounts = p.flag(P::DiscountEditable) || HasRight(ctx(), Right::LineDiscount);
    grid().DoEditableCol(Col::DiscountPercent, discounts, false);
    grid().DoEditableCol(Col::DiscountValue, discounts, true);
}

// ---- frmSelUnit --------------------------------------------------------------------------

QVector<UnitChoice> LinesLogic::unitsOf(const QString& barcode) {
    return SaleUnitsOf(db(), barcode.trimmed());
}

// The base quantity stays; the price follows the unit (parameter 24: the base price times the
// new factor, as goods entry prices it).
bool LinesLogic::changeUnit(int row, int unitId) {
    if (row < 0 || row >= grid().rows() || !grid().line(row).isFilled()) return false;
    InvoiceLine& l = grid().line(row);
    std::optional<Refusal> refusal;
    if (vehicleMoved())
        refusal = Refusal{kNoChangeCaption, kVehicleUnit};
    else if (l.PricingMethodID < 1)
        refusal = Refusal{kProblemCaption, kNoPricingMethod};
    else if (unitId == l.ScaleID)
        refusal = Refusal{kProblemCaption, kSameUnit};
    if (refusal) {
        show(*refusal);
        return false;
    }
    std::optional<UnitChoice> unit;
    for (const UnitChoice& u : unitsOf(l.BarCode))
        if (u.id == unitId) unit = u;
    if (!unit) return false;
    const double oldFactor = lookups().unitFactor(l.ScaleID);
    const double newFactor = unit->factor > 0 ? unit->factor : 1;
    double qty = l.Qty * oldFactor / newFactor;
    if (const auto integer = integerRefusal(unit->id, qty, row, true)) {
        show(*integer);
        return false;
    }
    if (!confirmUnitStock(row, *unit, qty)) return false;
    l.ScaleID = unit->id;
    l.UnitName = unit->name;
    l.Qty = qty;
    l.BaseQty = qty * newFactor;
    if (ctx().params.flag(P::BaseUnitPrice)) {
        l.UnitPrice = roundRialsHalfEven(l.BaseUnitPrice.times(newFactor));
    } else {
        l.UnitPrice = Money::fromDouble(l.UnitPrice.toDouble() * newFactor / oldFactor);
        l.BaseUnitPrice = Money::fromDouble(l.UnitPrice.toDouble() / newFactor);
    }
    lineAmountsChanged(row, true);
    return true;
}

// More than the stock in the new unit: the clerk may take the most that is left instead. A
// whole-number unit that cannot hold the stock exactly gives the "limited" question.
bool LinesLogic::confirmUnitStock(int row, const UnitChoice& unit, double& qty) {
    if (!stockChecked()) return true;
    const double factor = unit.factor > 0 ? unit.factor : 1;
    const double available = AvailableQty(grid().line(row).BarCode, row);
    if (qty * factor <= available + kQtyEpsilon) return true;
    const double exact = available / factor;
    const bool integerUnit = lookups().isIntegerUnit(unit.id);
    const double most = integerUnit ? std::floor(exact) : exact;
    if (most <= 0) {
        show({kErrorCaption, kAboveSaleable});
        return false;
    }
    const QString question =
        integerUnit && most + kQtyEpsilon < exact
            ? kMaxStockLimited
            : kMaxStockPrefix + quantityText(most) + kMaxStockSuffix + kChangeToNew;
    if (!AskedYes(ctx(), kQuestionCaption, question)) return false;
    qty = most;
    return true;
}

// ---- frmDescription and the stock trace --------------------------------------------------

bool LinesLogic::changeDescription(int row, const QString& text) {
    if (row < 0 || row >= grid().rows() || !grid().line(row).isFilled()) return false;
    if (text.trimmed().isEmpty()) {
        ShowMessage(ctx(), kProblemCaption, kNoDescription);
        return false;
    }
    grid().line(row).Description = text.trimmed();
    grid().lineChanged(row);
    return true;
}

// The movements of the inventory whose stock the line sees, in the same range, so the last
// balance is the stock on hand of column 35.
QVector<StockTraceRow> LinesLogic::stockTrace(const QString& barcode) {
    return StockMovements(db(), StockInventoryID(db(), inventoryId()), barcode.trimmed(),
                          StockRangeStart(ctx()), invoiceDate(), doc().invoiceID());
}

}  // namespace si
