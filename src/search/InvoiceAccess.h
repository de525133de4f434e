#pragma once
// Which invoices a user may see in the lists and the search: with parameter 9 only those of the
// user's branch and its sub-branches (or of no branch), with parameter 309 only those of the
// customers whose accounts are open to the user's position. Both are conditions over
// vwSaleInvoiceSearch, the user and the position bound.

#include "common/Context.h"
#include "common/SqlCondition.h"

namespace si {

SqlCondition BranchRestriction(const Context& ctx);
SqlCondition PositionCustomersRestriction(const Context& ctx);
// Both, as the parameters ask.
SqlCondition InvoiceAccessRestriction(const Context& ctx);

}  // namespace si
