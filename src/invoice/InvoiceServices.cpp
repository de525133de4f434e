#include "invoice/InvoiceServices.h"

#include "invoice/CreditLogic.h"
#include "invoice/DiscountLogic.h"
#include "invoice/HeaderLogic.h"
#include "invoice/LineLookups.h"
#include "invoice/LinesLogic.h"
#include "invoice/PricingLogic.h"
#include "invoice/ScaleInput.h"
#include "invoice/TotalsLogic.h"

namespace si {

InvoiceServices::InvoiceServices(Context& context, InvoiceDocument& document)
    : ctx(context),
      doc(document),
      lookups(std::make_unique<LineLookups>(*this)),
      totals(std::make_unique<TotalsLogic>(*this)),
      pricing(std::make_unique<PricingLogic>(*this)),
      lines(std::make_unique<LinesLogic>(*this)),
      header(std::make_unique<HeaderLogic>(*this)) {
    Reload_Apply_Available_Discounts = [](int) {};
    CheckDiscountPercentValidation = [](int, double) { return true; };
    InvoiceValueDiscountPercent = [](Money) { return -1.0; };
    LoadCustomerCreditUsage = [](int) {};
    LoadCustomerCard = [](int) {};
    RefreshEchantillon = [] {};
    FillDetailDiscount = [](int) {};
    discounts = std::make_unique<DiscountLogic>(*this);
    credit = std::make_unique<CreditLogic>(*this);
    scale = std::make_unique<ScaleInput>(*this);
}

InvoiceServices::~InvoiceServices() = default;

}  // namespace si
