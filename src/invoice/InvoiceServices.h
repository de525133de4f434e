#pragma once
// The logic of the invoice form, one object per concern, sharing the document. Each service
// reaches the others through this struct (lines call the totals, the header calls the pricing),
// so they are built together and live as long as the form.

#include <functional>
#include <memory>

#include "invoice/InvoiceDocument.h"

namespace si {

class CreditLogic;
class DiscountLogic;
class HeaderLogic;
class LineLookups;
class LinesLogic;
class ScaleInput;
class PricingLogic;
class TotalsLogic;

struct InvoiceServices {
    InvoiceServices(Context& ctx, InvoiceDocument& doc);
    ~InvoiceServices();

    Context& ctx;
    InvoiceDocument& doc;
    // The goods look-ups of line entry, asked line by line or for a batch of lines.
    std::unique_ptr<LineLookups> lookups;
    std::unique_ptr<TotalsLogic> totals;
    std::unique_ptr<PricingLogic> pricing;
    std::unique_ptr<LinesLogic> lines;
    std::unique_ptr<HeaderLogic> header;
    // Built last: their constructors take over the seams below.
    std::unique_ptr<DiscountLogic> discounts;
    std::unique_ptr<CreditLogic> credit;
    std::unique_ptr<ScaleInput> scale;

    // Discount rules that other parts of the form provide; each has a neutral default.
    // The card and birthday discounts of a line after it was filled or re-priced.
    std::function<void(int row)> Reload_Apply_Available_Discounts;
    // Whether a clerk's discount entry may stand on the line (the card and birthday minimum).
    std::function<bool(int row, double enteredPercent)> CheckDiscountPercentValidation;
    // The automatic master discount by invoice value: a percent, or -1 when no table applies.
    std::function<double(Money invoiceValue)> InvoiceValueDiscountPercent;
    // The customer credit look-up after the customer or the date changed.
    std::function<void(int customerId)> LoadCustomerCreditUsage;
    // The customer's card type and grade after the customer changed.
    std::function<void(int customerId)> LoadCustomerCard;
    // The promotion pass (the free goods refresh).
    std::function<void()> RefreshEchantillon;
    // A stored line's card and birthday percents (columns 37 and 38) read back after loading.
    std::function<void(int row)> FillDetailDiscount;
};

}  // namespace si
