#pragma once
// Internal to the accounting document: what one run of InsertDocument carries between its steps.

#include "common/Codes.h"
#include "posting/AccountingDocument.h"

namespace si {

struct AccountingDocument::Posting {
    int documentId = 0;
    InvoiceTypeAccounts accounts;
    int customerAccount = -1;
    // Grand total without tax and duty: the base of the share rows.
    Money net;
};
inline constexpr int kDocumentTypeSale = 13;
inline constexpr int kDocumentTypeOther = 10;
inline constexpr int kClassEmployee = 9;
inline constexpr int kClassBranch = 19;
inline constexpr int kClassDependentOrganization = 33;

}  // namespace si
