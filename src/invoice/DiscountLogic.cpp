#include "invoice/DiscountLogic.h"

namespace si {

DiscountLogic::DiscountLogic(InvoiceServices& services) : services_(services) {}

}  // namespace si
