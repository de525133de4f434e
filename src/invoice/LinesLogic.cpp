#include "invoice/LinesLogic.h"

#include <cmath>

#include "common/Messages.h"
#include "common/Numbers.h"
#include "invoice/LineLookups.h"
#include "invoice/LinesSupport.h"
#include "invoice/LinesTexts.h"
#include "invoice/TotalsLogic.h"

namespace si {

using namespace lines;

LinesLogic::LinesLogic(InvoiceServices& services) : services_(services) {
    IsScaleBarcode = [](const QString&, QString&, double&) { return false; };
}

// ---- shared facts ------------------------------------------------------------------------

QDate LinesLogic::invoiceDate() const {
    return doc().datCreateDate.isValid() ? doc().datCreateDate : db().today();
}

int LinesLogic::inventoryId() const {
    return doc().sltInventory.IsEmpty() ? -1 : doc().sltInventory.ID();
}

bool LinesLogic::entryMode() const {
    return doc().FormMode == kModeEdit || doc().FormMode == kModeNew;
}

bool LinesLogic::vehicleMoved() const {
    return lookups().isVehicleMoved(static_cast<int>(ToNumber(doc().txtDistID)));
}

void LinesLogic::refuse(bool silent, const QString& caption, const QString& text) {
    if (!silent) {
        ShowMessage(ctx(), caption, text);
        return;
    }
    doc().lblErrMessage = text;
    Q_EMIT doc().flash(text);
}

void LinesLogic::refuseEntry(const Refusal& refusal) {
    refuse(ctx().params.flag(P::ShopMode), refusal.caption, refusal.text);
}

void LinesLogic::refuseNotANumber(const QString& text) {
    refuseEntry({kErrorCaption, kNotANumberPrefix + text.trimmed() + kNotANumberSuffix});
}

QString LinesLogic::methodName(int method) {
    if (method < 1) return {};
    auto it = methodNames_.find(method);
    if (it == methodNames_.end())
        it = methodNames_.insert(
            method, db().scalar(QStringLiteral("select Name from tblSalePricingMethod where ID=?"),
                                {method})
                        .toString());
    return it.value();
}

QString LinesLogic::promoterName(int promoter) {
    if (promoter < 1) return {};
    auto it = promoterNames_.find(promoter);
    if (it == promoterNames_.end())
        it = promoterNames_.insert(
            promoter, db().scalar(QStringLiteral("select Name from vwSalePromoterMajor where ID=?"),
                                  {promoter})
                          .toString());
    return it.value();
}

bool LinesLogic::stockChecked() const {
    const int rule = ctx().params.number(P::StockRule);
    return rule == 1 || (rule == 2 && doc().inventory.InvCE != 0);
}

bool LinesLogic::IsForSale(const QString& barcode, int inventory) {
    return !lookups().isNotForSale(barcode, inventory);
}

double LinesLogic::SelectedQty(const QString& barcode, int excludedRow) const {
    double total = 0;
    for (int r = 0; r < grid().rows(); ++r) {
        const InvoiceLine& l = grid().line(r);
        if (r != excludedRow && l.isFilled() && sameText(l.BarCode, barcode)) total += l.BaseQty;
    }
    return total;
}

double LinesLogic::StockOnHand(const QString& barcode) {
    return lookups().stock(inventoryId(), barcode, invoiceDate(), doc().invoiceID());
}

double LinesLogic::TempInvoiceQty(const QString& barcode) {
    return lookups().tempInvoiceQty(barcode, inventoryId(), doc().invoiceID());
}

double LinesLogic::ReservedQty(const QString& barcode) {
    return lookups().reservedQty(barcode, inventoryId(), doc().invoiceID());
}

// The quantity in temporary invoices is shown and checked only with parameter 88.
LinesLogic::Holdings LinesLogic::holdingsOf(const QString& barcode) {
    const bool withTemp = ctx().params.flag(P::ShowTempQty);
    return {StockOnHand(barcode), withTemp ? TempInvoiceQty(barcode) : 0};
}

// Goods held by other temporary invoices count as sold when parameter 88 asks to check them.
double LinesLogic::availableOf(const QString& barcode, int row, const Holdings& held) const {
    return held.stock - SelectedQty(barcode, row) - held.temp;
}

double LinesLogic::AvailableQty(const QString& barcode, int row) {
    return availableOf(barcode, row, holdingsOf(barcode));
}

// ---- resolving a goods item --------------------------------------------------------------

bool LinesLogic::FillFlexOneRow(const QString& input, int row, int kind, bool silent, double& qty) {
    if (row < 0 || row >= grid().rows()) return false;
    QString text = input.trimmed();
    QString labelBarcode;
    double weight = 0;
    if (IsScaleBarcode && IsScaleBarcode(text, labelBarcode, weight)) {
        text = labelBarcode.trimmed();
        kind = kByBarcode;
        qty = weight;
    }
    if (text.isEmpty()) return false;
    if (qty <= 0) qty = 1;
    if (vehicleMoved()) {
        refuse(silent, kNoChangeCaption, kVehicleGoods);
        return false;
    }
    if (isDuplicate(text, row, kind)) {
        refuse(silent, kErrorCaption, kDuplicate);
        return false;
    }
    const auto good =
        kind == kByGoodCode ? lookups().goodByCode(text) : lookups().goodByBarcode(text);
    if (!good) {
        refuse(silent, kErrorCaption, kNoSuchGoods);
        return false;
    }
    if (!IsForSale(good->BarCode, inventoryId())) {
        refuse(silent, kErrorCaption, kNotForSale);
        return false;
    }
    const Holdings held = holdingsOf(good->BarCode);
    if (!takeStock(*good, row, silent, held, qty)) return false;

    const bool wasLast = grid().isLastRow(row);
    placeLine(row, lineFor(*good, qty, held));
    addAttachedGoods(good->BarCode, silent);
    currentRow_ = wasLast ? grid().rows() - 1 : row + 1;
    return true;
}

bool LinesLogic::isDuplicate(const QString& text, int row, int kind) const {
    const SystemParameters& p = ctx().params;
    if (p.flag(P::ShopMode) || p.flag(P::LineDescription) || p.flag(P::RepeatGoods)) return false;
    // The typed text is folded once; the lines' keys mostly have nothing to fold.
    const QString typed = FoldedText(text.trimmed());
    for (int r = 0; r < grid().rows(); ++r) {
        if (r == row) continue;
        const InvoiceLine& l = grid().line(r);
        const QString& key = kind == kByGoodCode ? l.GoodCode : l.BarCode;
        if (l.isFilled() && FoldedText(key.trimmed()).compare(typed, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// A shortfall cuts the quantity to what is left, except in a whole-number unit, where a cut
// would leave a fraction: there the entry is refused with the most that may be sold.
bool LinesLogic::takeStock(const GoodInfo& good, int row, bool silent, const Holdings& held,
                           double& qty) {
    if (!stockChecked()) return true;
    const double available = availableOf(good.BarCode, row, held);
    if (available + kQtyEpsilon >= qty * good.Cof) return true;
    const bool integerUnit = lookups().isIntegerUnit(good.SaleScaleID);
    const double most = integerUnit ? std::floor(available / good.Cof) : available / good.Cof;
    if (available <= 0 || most <= 0) {
        refuse(silent, kErrorCaption, kNoStock);
        return false;
    }
    if (integerUnit) {
        refuse(silent, kErrorCaption, kMaxStockPrefix + quantityText(most) + kMaxStockSuffix);
        return false;
    }
    qty = most;
    return true;
}

InvoiceLine LinesLogic::lineFor(const GoodInfo& good, double qty, const Holdings& held) {
    InvoiceLine l;
    l.BarCode = good.BarCode;
    l.GoodCode = good.Code;
    l.GoodName = good.Name;
    l.UnitName = good.UnitName;
    l.ScaleID = good.SaleScaleID;
    l.Qty = qty;
    l.BaseQty = qty * good.Cof;
    if (!doc().sltPricingMethod.IsEmpty()) l.PricingMethodID = doc().sltPricingMethod.ID();
    l.PricingMethodName = methodName(l.PricingMethodID);
    if (!doc().sltPromoter.IsEmpty()) l.PromoterID = doc().sltPromoter.ID();
    l.PromoterName = promoterName(l.PromoterID);
    l.GoodGroupID = good.GoodGroupID;
    l.BuyPrice = good.BuyPrice;
    l.Stock = held.stock;
    l.TempQty = held.temp;
    l.ReservedQty = ReservedQty(good.BarCode);
    priceLine(l, good);
    return l;
}

// The price list of the line's method, else the goods' own price and standard discount. Prices
// are per base unit; with parameter 24 the line shows the price of its own unit.
void LinesLogic::priceLine(InvoiceLine& l, const GoodInfo& good) {
    PriceLookup price;
    if (l.PricingMethodID > 0) price = lookups().price(good.BarCode, l.PricingMethodID);
    Money base = good.RetailPrice;
    if (price.found) {
        base = price.RetailPrice;
        if (price.IsDiscountInPercent) {
            l.DiscountPercent = price.DiscountPercent;
        } else {
            l.DiscountValue = price.DiscountValue;
            l.DiscountKind = kDiscountAsValue;
        }
    } else if (good.StandardDiscountPercent) {
        l.DiscountPercent = *good.StandardDiscountPercent;
    } else if (good.StandardDiscountValue) {
        l.DiscountValue = *good.StandardDiscountValue;
        l.DiscountKind = kDiscountAsValue;
    }
    if (ctx().params.flag(P::BaseUnitPrice)) {
        l.BaseUnitPrice = base;
        l.UnitPrice = roundRialsHalfEven(base.times(good.Cof));
    } else {
        l.UnitPrice = base;
        l.BaseUnitPrice = Money::fromDouble(base.toDouble() / good.Cof);
    }
}

Money LinesLogic::PriceOf(const GoodInfo& good) {
    InvoiceLine l;
    if (!doc().sltPricingMethod.IsEmpty()) l.PricingMethodID = doc().sltPricingMethod.ID();
    priceLine(l, good);
    return l.UnitPrice;
}

void LinesLogic::placeLine(int row, const InvoiceLine& line) {
    grid().replaceLine(row, line);
    grid().ensureTrailingEmptyRow();
    services_.totals->SyncLineDiscount(row, line.DiscountKind, grid());
    services_.Reload_Apply_Available_Discounts(row);
    services_.totals->RecomputeRowSum(row, grid());
    services_.totals->ComputeGrandTotal();
}

// Attached goods come in as further rows; a chain that leads back to a goods item being added
// stops there.
void LinesLogic::addAttachedGoods(const QString& barcode, bool silent) {
    resolving_.push_back(barcode);
    const struct Resolved {  // however the adding ends
        QStringList& resolving;
        ~Resolved() { resolving.removeLast(); }
    } resolved{resolving_};
    for (const QString& attached : lookups().attachedBarcodes(barcode)) {
        if (resolving_.contains(attached, Qt::CaseInsensitive)) continue;
        double qty = 1;
        FillFlexOneRow(attached, grid().rows() - 1, kByBarcode, silent, qty);
    }
}

}  // namespace si
