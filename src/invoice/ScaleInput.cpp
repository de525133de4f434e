#include "invoice/ScaleInput.h"

namespace si {

ScaleInput::ScaleInput(InvoiceServices& services) : services_(services) {}

}  // namespace si
