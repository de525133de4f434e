#pragma once
// How the invoice form opens a document of another module of the suite: the sibling component is
// created by its ProgID, handed the session and asked to show itself. The object is released when
// the command returns; its window lives on by itself.
//
// A ProgID that is not registered is registered once from the suite's System folder (the
// registration does not wait for anything) and created again; when that fails too the clerk is
// refused. What goes wrong inside the sibling (a property or method it lacks, an exception, the
// ErrorMessage it reports) ends the command with one message naming the sibling: nothing is
// passed over silently.

#include <QObject>
#include <QString>
#include <QVariant>
#include <memory>
#include <utility>
#include <vector>

#include "common/Context.h"

namespace si {

struct Sibling {
    QString progId;
    QString ocxFile;  // under the suite's System folder
};

using SiblingProperties = std::vector<std::pair<const char*, QVariant>>;

struct SiblingCall {
    SiblingProperties properties;  // in the order they are set
    const char* method = nullptr;  // none: the properties only
    QVariantList args;
};

// UserID, PositionID, EmployeeID and OLEConnectionString from the session, in that order.
SiblingProperties SessionProperties(const Context& ctx);

// The command line that registers the sibling's OCX: "Regsvr32", two blanks, the quoted path
// under the base path's System folder, and " /s".
QString RegistrationCommand(const QString& basePath, const QString& ocxFile);

// The sibling, or nullptr after the refusal "شما مجاز به انجام اين عمليات نيستيد." (خطا).
std::unique_ptr<QObject> CreateSibling(Context& ctx, const QString& basePath,
                                       const Sibling& sibling);

// Sets the properties in order and calls the method; false after the one message of an error.
bool CallSibling(Context& ctx, QObject& component, const QString& progId, const SiblingCall& call);

// CreateSibling, then the session's properties, the call's own and the call. False when the
// sibling could not be created or failed.
bool LaunchSibling(Context& ctx, const QString& basePath, const Sibling& sibling,
                   const SiblingCall& call);

// What the clerk reads when a sibling failed.
QString SiblingErrorText(const QString& progId, const QString& cause);

}  // namespace si
