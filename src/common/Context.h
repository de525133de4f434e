#pragma once
// The context of one component instance: the session globals that the host's properties are
// copied into, the database session, the system parameters and the active period. The component
// owns it and hands it to every form and service; entry methods overwrite it, so every open form
// sees the change. Nothing here is a process-wide global, so tests create as many as they like.

#include <QDate>
#include <QSet>
#include <QString>
#include <QVector>
#include <functional>
#include <memory>
#include <optional>

#include "common/ComponentRegistry.h"
#include "common/ProcedureRegistry.h"
#include "common/Session.h"
#include "common/SystemParameters.h"

namespace si {

struct SessionGlobals {
    QString CurrentUserName;
    int CurrentUserID = 0;
    int CurrentPositionID = 0;
    int CurrentEmployeeID = 0;
    QString CurrentDataSource;
    bool CurrentIsInvoice = false;
    QString CurrentConnectionString;
    QString CurrentUserFullName;
};

struct ActivePeriod {
    QString name;
    QDate beginDate;
    QDate endDate;
};

class Context {
public:
    Context(ComponentRegistry* components, const ProcedureRegistry* procedures)
        : components(components), procedures(procedures) {}

    // The open session; throws SqlError when no entry method has opened one yet.
    Session& db();
    bool hasSession() const { return session != nullptr; }

    SessionGlobals globals;
    std::unique_ptr<Session> session;
    SystemParameters params;
    ActivePeriod period;
    // The two invoice-form flags that OpenSession clears.
    short formFlag1 = 0;
    short formFlag2 = 0;

    ComponentRegistry* components;
    const ProcedureRegistry* procedures;
    // Replaces the server clock in every session this context opens (tests, demos).
    std::function<QDateTime()> clock;
    // Open ReadMemoScopes; a session opened meanwhile remembers reads too.
    int readMemoScopes = 0;
};

// One command (a verb of the command line, a batch job): repeated reads are asked once
// (Session::setReadMemo) until it ends, in whichever session the context holds by then.
class ReadMemoScope {
public:
    explicit ReadMemoScope(Context& ctx);
    ~ReadMemoScope();
    ReadMemoScope(const ReadMemoScope&) = delete;
    ReadMemoScope& operator=(const ReadMemoScope&) = delete;

private:
    Context& ctx_;
};

// Re-creates the session from CurrentConnectionString and reads the user's full name. A SQLite
// file that does not exist is refused, not created.
void OpenSession(Context& ctx);

// The user's full name; nullopt when no such user.
std::optional<QString> UserFullName(Session& s, int userId);

// LoadSystemParameters for the context's user, into ctx.params.
void LoadSystemParameters(Context& ctx);

// spZelorHasPermission(CurrentUserID, right) is non-zero.
bool HasRight(Context& ctx, int right);
// The rights of the list that the user holds, asked at once (spZelorHeldPermissions).
QSet<int> HeldRights(Context& ctx, const QVector<int>& rights);

inline const QString kNoRightMessage = QStringLiteral("شما مجاز به انجام اين عمليات نيستيد.");
inline const QString kErrorCaption = QStringLiteral("خطا");

}  // namespace si
