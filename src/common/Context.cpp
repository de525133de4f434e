#include "common/Context.h"

namespace si {

Session& Context::db() {
    if (!session)
        throw SqlError(QStringLiteral("session"),
                       QStringLiteral("اتصال به پایگاه داده برقرار نشده است."));
    return *session;
}

void OpenSession(Context& ctx) {
    ctx.session.reset();
    ctx.session = Session::open(ctx.globals.CurrentConnectionString, ctx.procedures);
    if (ctx.clock) ctx.session->setClock(ctx.clock);
    if (auto row = ctx.session->first(QStringLiteral("select FullName from tbluser where ID = ?"),
                                      {ctx.globals.CurrentUserID}))
        ctx.globals.CurrentUserFullName = row->text(u"FullName");
    ctx.formFlag1 = 0;
    ctx.formFlag2 = 0;
}

void LoadSystemParameters(Context& ctx) {
    LoadSystemParameters(ctx.db(), ctx.globals.CurrentUserID, ctx.params);
}

bool HasRight(Context& ctx, int right) {
    const QVariant result = ctx.db().call(QStringLiteral("spZelorHasPermission"),
                                          QVariantList{ctx.globals.CurrentUserID, right});
    return result.toLongLong() != 0;
}

}  // namespace si
