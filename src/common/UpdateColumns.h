#pragma once
// The update stamp of tblSaleInvoice: UpdaterID, UpdateDate and FarsiUpdateDate. The schema
// creates them; a database installed before it did gets them from the schema upgrade, or from
// the invoice form when the form meets such a database first.

#include "common/Session.h"

namespace si {

// Adds the columns that are missing when UpdateDate is. Only reads when it is there, so a
// database that may not be changed can still be opened.
void AddUpdateColumnsWhenMissing(Session& s);

// The row version that every save raises (a save of an invoice changed elsewhere since it was
// read is refused by it): added when missing, so a database of an older schema still saves.
void AddRowVersionWhenMissing(Session& s);

// Both of the above, in one read when both are there: what the invoice form asks when it loads.
void AddInvoiceColumnsWhenMissing(Session& s);

}  // namespace si
