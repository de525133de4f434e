#pragma once
// The invoices whose stored sums (SumQty, TitlesNum, RowDiscountValue, CalcTotalValue, SuCharge)
// differ from what their lines and surcharges give now, computed from them afresh by
// vwSaleInvoiceSummary and a sum of the surcharges.

#include <QStringList>

#include "common/Session.h"

namespace si::test {

// One text per differing sum ("invoice 7: SumQty 3 stored, 5 computed") of the invoice, or of
// every invoice for -1; empty when all agree. No invoice to compare is a difference too.
QStringList StaleInvoiceSums(Session& s, qint64 invoiceId = -1);

}  // namespace si::test
