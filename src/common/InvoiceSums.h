#pragma once
// The sums of an invoice's lines and surcharges that the invoice lists show and filter on, stored
// on its header (tblSaleInvoice): SumQty, TitlesNum, RowDiscountValue, CalcTotalValue and
// SuCharge, with the meaning vwSaleInvoiceSummary computes them with. Reading them stored lets a
// search over a million invoices filter and sort by them through an index.
//
// Whoever writes an invoice's lines, its surcharges, or its header's discount, surcharge or
// deduction refreshes its sums in the same transaction, after the last of those writes: the save
// once, at its end.

#include "common/Session.h"

namespace si {

// One statement, whatever the number of lines.
void RefreshInvoiceSums(Session& session, qint64 invoiceId);
// Every invoice's sums, in one statement: after a bulk load or an upgrade.
void RefreshAllInvoiceSums(Session& session);

}  // namespace si
