#pragma once
// How often an invoice was output and how many lottery sheets it gave, counted in its row. Each
// count grows by one UPDATE that adds to the stored value, so two workstations printing at once
// both count.

#include "common/Session.h"

namespace si {

// PrintCount of the invoice (null counts as 0).
int PrintCount(Session& s, int invoiceId);
// Adds one to PrintCount and returns the new count; -1 when the invoice is gone.
int IncrementPrintCount(Session& s, int invoiceId);

// LotteryPrintCount of the invoice (null counts as 0).
int LotteryPrintCount(Session& s, int invoiceId);
// One more sheet printed, by the user, now.
void RecordLotteryPrint(Session& s, int invoiceId, int userId);

}  // namespace si
