#pragma once
// The parts of the schema that keep the invoice search fast on a large company: the invoices'
// stored sums (common/InvoiceSums.h) and the text indexes of the "contains" filters
// (common/TextSearch.h). Each step tolerates a database that already holds part of it.

#include "common/Session.h"

namespace si::erpdb {

// The sum columns of tblSaleInvoice, when missing, and their indexes. Their values are filled by
// RefreshAllInvoiceSums, which reads the views.
void AddInvoiceSums(Session& session);
// The text indexes, filled from the rows already stored.
void AddTextIndexes(Session& session);
// PostgreSQL splits Persian text into indexed pieces only in a database whose character type is
// UTF-8: any other is refused with a Persian message saying how to make one.
void RefuseDatabaseWithoutUtf8(Session& session);

}  // namespace si::erpdb
