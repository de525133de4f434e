#include "posting/AccountingDocument.h"

namespace si {

AccountingDocument::AccountingDocument(InvoiceServices& services) : services_(services) {}

}  // namespace si
