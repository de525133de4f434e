#pragma once
// What the postings of a final invoice read: the invoice as the save stores it, the amounts its
// totals came to, whom it bills (with the classes of its accounting objects) and the keeper of
// its inventory. Built from the form's document in one place; the accounting document and the
// dispatch read nothing else of the invoice, so a job without a form posts the same way.

#include "invoice/BilledParty.h"
#include "invoice/Invoice.h"

namespace si {

class InvoiceDocument;

struct InvoiceToPost {
    Invoice invoice;
    InvoiceTotals amounts;
    BilledParties parties;
    int inventoryResponsibleId = -1;
    // Entered in this form and saved now: not an invoice made from a dispatch.
    bool enteredNow = false;

    static InvoiceToPost of(const InvoiceDocument& doc);
    // With the typed invoice the caller already holds for the same document.
    static InvoiceToPost of(const InvoiceDocument& doc, Invoice invoice);

    const InvoiceHeader& header() const { return invoice.header; }
    int id() const { return invoice.header.id; }
};

}  // namespace si
