#include "posting/FinalCodes.h"

namespace si {

namespace {

QString rangeFilter(const Context& ctx) {
    QString filter = QStringLiteral(" and ID <> ?");
    if (ctx.params.flag(P::PeriodDates))
        filter += QStringLiteral(" and CreateDate >= ? and CreateDate <= ?");
    return filter;
}

Params rangeParams(const Context& ctx, qint64 invoiceId) {
    Params params{invoiceId};
    if (ctx.params.flag(P::PeriodDates))
        params << QDateTime(ctx.period.beginDate, QTime(0, 0))
               << QDateTime(ctx.period.endDate, QTime(23, 59, 59));
    return params;
}

}  // namespace

bool LaterFinalInvoicesExist(Context& ctx, qint64 invoiceId, const QDateTime& createDate) {
    return ctx.db()
        .first(PlannedForItsValues(QStringLiteral("Select ID from tblSaleInvoice where Code is "
                                                  "not Null and CreateDate > ?") +
                                   rangeFilter(ctx) + QStringLiteral(" limit 1")),
               Params{createDate} + rangeParams(ctx, invoiceId))
        .has_value();
}

std::optional<int> DrawFinalCode(Context& ctx, qint64 invoiceId, const QDateTime& createDate,
                                 bool renumberAllowed) {
    Session& s = ctx.db();
    const QString filter = rangeFilter(ctx);
    const Params range = rangeParams(ctx, invoiceId);
    const int next = 1 + s.scalar(QStringLiteral("select coalesce(max(Code), 0) as maxcode from "
                                                 "tblSaleInvoice where Code is not Null") +
                                      filter,
                                  range)
                             .toInt();
    const auto later = s.first(
        PlannedForItsValues(QStringLiteral("Select Code from tblSaleInvoice where Code is not "
                                           "Null and CreateDate > ?") +
                            filter + QStringLiteral(" Order by Code limit 1")),
        Params{createDate} + range);
    if (!later) return next;
    if (!renumberAllowed) return std::nullopt;
    const int taken = later->toInt(u"Code");
    s.exec(QStringLiteral("Update tblSaleInvoice set Code = Code + 1 where Code is not Null and "
                          "Code >= ?") +
               filter,
           Params{taken} + range);
    return taken;
}

}  // namespace si
