#include "common/Context.h"

#include "common/SqlError.h"

namespace si {

Session& Context::db() {
    if (!session)
        throw SqlError(QStringLiteral("session"),
                       QStringLiteral("اتصال به پایگاه داده برقرار نشده است."));
    return *session;
}

namespace {

// Every entry method opens the session again; one on the same database that still answers is
// kept, since a new PostgreSQL connection costs tens of milliseconds each time.
bool sessionReusable(Context& ctx) {
    Session* s = ctx.session.get();
    if (!s || s->connectionString() != ctx.globals.CurrentConnectionString ||
        s->inTransaction() || s->connectionLost())
        return false;
    // A connection that answered a moment ago, or within the command under way, is not asked
    // again: it would fail the command's next statement as surely as the probe.
    constexpr qint64 kRecentMs = 1000;
    if (ctx.readMemoScopes > 0 || s->answeredWithin(kRecentMs)) return true;
    try {
        s->scalar(QStringLiteral("SELECT 1"));
        return true;
    } catch (const SqlError&) {
        return false;
    }
}

}  // namespace

void OpenSession(Context& ctx) {
    if (sessionReusable(ctx)) {
        ctx.session->setProcedures(ctx.procedures);
    } else {
        ctx.session.reset();
        ctx.session = Session::openExisting(ctx.globals.CurrentConnectionString, ctx.procedures);
    }
    if (ctx.clock) ctx.session->setClock(ctx.clock);
    ctx.session->setReadMemo(ctx.readMemoScopes > 0);
    if (auto name = UserFullName(*ctx.session, ctx.globals.CurrentUserID))
        ctx.globals.CurrentUserFullName = *name;
    ctx.formFlag1 = 0;
    ctx.formFlag2 = 0;
}

std::optional<QString> UserFullName(Session& s, int userId) {
    const auto row = s.first(QStringLiteral("select FullName from tbluser where ID = ?"), {userId});
    return row ? std::optional<QString>(row->text(u"FullName")) : std::nullopt;
}

void LoadSystemParameters(Context& ctx) {
    LoadSystemParameters(ctx.db(), ctx.globals.CurrentUserID, ctx.params);
}

bool HasRight(Context& ctx, int right) {
    const QVariant result = ctx.db().call(QStringLiteral("spZelorHasPermission"),
                                          QVariantList{ctx.globals.CurrentUserID, right});
    return result.toLongLong() != 0;
}

ReadMemoScope::ReadMemoScope(Context& ctx) : ctx_(ctx) {
    if (++ctx_.readMemoScopes == 1 && ctx_.session) ctx_.session->setReadMemo(true);
}

ReadMemoScope::~ReadMemoScope() {
    if (--ctx_.readMemoScopes == 0 && ctx_.session) ctx_.session->setReadMemo(false);
}

QSet<int> HeldRights(Context& ctx, const QVector<int>& rights) {
    QVariantList asked;
    for (int r : rights)
        asked << r;
    const QVariant held = ctx.db().call(QStringLiteral("spZelorHeldPermissions"),
                                        QVariantList{ctx.globals.CurrentUserID, asked});
    QSet<int> set;
    for (const QVariant& r : held.toList())
        set.insert(r.toInt());
    return set;
}

}  // namespace si
