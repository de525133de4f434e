#include "posting/InventoryDispatch.h"

namespace si {

InventoryDispatch::InventoryDispatch(InvoiceServices& services) : services_(services) {}

}  // namespace si
