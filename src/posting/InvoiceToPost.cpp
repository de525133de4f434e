#include "posting/InvoiceToPost.h"

#include "invoice/InvoiceDocument.h"

namespace si {

InvoiceToPost InvoiceToPost::of(const InvoiceDocument& doc) {
    return of(doc, doc.toInvoice());
}

InvoiceToPost InvoiceToPost::of(const InvoiceDocument& doc, Invoice invoice) {
    InvoiceToPost p;
    p.invoice = std::move(invoice);
    p.amounts = doc.totals;
    p.parties = BilledParties::of(doc);
    p.inventoryResponsibleId = doc.inventory.ResponsibleID;
    p.enteredNow = doc.FormMode == kModeNew;
    return p;
}

}  // namespace si
