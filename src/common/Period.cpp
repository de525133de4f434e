#include "common/Period.h"

#include "common/Jalali.h"
#include "common/Numbers.h"

namespace si {

namespace {
const QString kWholeRangeFrom = QStringLiteral("1300/01/01");
const QString kWholeRangeTo = QStringLiteral("1500/01/01");
}  // namespace

void GetActivePeriodDates(Context& ctx, QString& fromDate, QString& toDate) {
    fromDate = kWholeRangeFrom;
    toDate = kWholeRangeTo;
    if (!ctx.params.flag(P::PeriodDates)) return;
    if (auto row =
            ctx.db().first(QStringLiteral("select * from tblAccountPeriod where IsActive=1 "))) {
        fromDate = row->text(u"FarsiBeginDate");
        toDate = row->text(u"FarsiEndDate");
    }
}

void LoadActivePeriod(Context& ctx) {
    const QDate today = ctx.db().today();
    ctx.period = {QString(), today.addDays(-10950), today.addDays(10950)};
    try {
        if (auto row = ctx.db().first(QStringLiteral(
                "Select BeginDate,EndDate,Name from tblAccountPeriod Where IsActive=1"))) {
            ctx.period.name = row->text(u"Name");
            ctx.period.beginDate = row->date(u"BeginDate");
            ctx.period.endDate = row->date(u"EndDate");
        }
    } catch (const SqlError&) {
        // The defaults stand.
    }
}

std::optional<QString> DateOutsideActivePeriod(Context& ctx, const QDate& date) {
    if (!ctx.period.beginDate.isValid() || !ctx.period.endDate.isValid()) LoadActivePeriod(ctx);
    const ActivePeriod& p = ctx.period;
    if (date.isValid() && date >= p.beginDate && date <= p.endDate) return std::nullopt;
    return QStringLiteral("تاريخ فاكتور بايد از «") + getFarsiDate(p.beginDate) +
           QStringLiteral("» تا «") + getFarsiDate(p.endDate) + QStringLiteral("» باشد.");
}

int GetActivePeriodID(Context& ctx) {
    auto row = ctx.db().first(QStringLiteral("select * from tblAccountPeriod Where IsActive=1"));
    return row ? static_cast<int>(ToNumber(row->value(u"ID"))) : 0;
}

}  // namespace si
