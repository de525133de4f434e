#pragma once
// The active accounting period: its Jalali bounds for look-ups limited to the period (parameter
// 78), and its name and dates for the forms.

#include <QString>
#include <optional>

#include "common/Context.h"

namespace si {

// "1300/01/01".."1500/01/01" unless parameter 78 is on and an active period exists.
void GetActivePeriodDates(Context& ctx, QString& fromDate, QString& toDate);
// Fills ctx.period: today -/+ 10950 days and no name, replaced by the active period's row.
void LoadActivePeriod(Context& ctx);
// The refusal of an invoice date outside the bounds of ctx.period (read by LoadActivePeriod when
// nothing has read them yet), naming the bounds as Jalali dates; nullopt within them. An empty
// date is outside. Later stages number codes and documents within the period, so a date beyond it
// would be numbered into no period or into the next one.
std::optional<QString> DateOutsideActivePeriod(Context& ctx, const QDate& date);
// ID of the active period, 0 when there is none.
int GetActivePeriodID(Context& ctx);

}  // namespace si
