#pragma once
// The accounting document of a final invoice: a header in tblAccountDocument and the numbered
// rows of tblAccountDocumentDetail (sales, customer, discounts, tax, duty, master discount,
// deductions, surcharges, rounding, shares and dependent accounts), each with its accounting
// objects; and the re-post command cmdSaveAccDoc. Runs inside the caller's transaction.

#include "invoice/InvoiceServices.h"

namespace si {

class AccountingDocument {
public:
    explicit AccountingDocument(InvoiceServices& services);

    // Posts the invoice the document holds (stored, final); the new document ID, 0 when none was
    // made (the reason was shown).
    int InsertDocument();
    void InsertDocumentObject(int documentId, int rowNumber, int accountId, int classId, int objectId);
    // The customer's debit account, or -1 after showing why.
    int CustomerAccount(int customerId);
    // cmdSaveAccDoc: right 90121 and parameter 311; deletes the invoice's rows and posts again.
    int cmdSaveAccDoc_Click();

private:
    InvoiceServices& services_;
};

}  // namespace si
