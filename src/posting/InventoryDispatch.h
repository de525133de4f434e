#pragma once
// The inventory dispatch of a final invoice: one tblInventoryDispatch row tied to the invoice
// (form type 901), its lines summed per barcode and unit, its trace rows, its code within the
// inventory in receive-date order, and the form link 901 -> 802. Runs inside the caller's
// transaction.

#include <QVector>

#include "invoice/InvoiceServices.h"

namespace si {

class InventoryDispatch {
public:
    explicit InventoryDispatch(InvoiceServices& services);

    // Creates or refreshes the dispatch of the stored invoice; its ID, 0 when it was not made.
    int SaveRelExitDoc();
    // cmdInvExit: the dispatches made from the invoice (none: the message is shown).
    QVector<int> DispatchesOfInvoice();

private:
    InvoiceServices& services_;
};

}  // namespace si
