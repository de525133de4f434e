#include "invoice/CreditLogic.h"

namespace si {

CreditLogic::CreditLogic(InvoiceServices& services) : services_(services) {}

}  // namespace si
