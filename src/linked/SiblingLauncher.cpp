#include "linked/SiblingLauncher.h"

#include <QMetaProperty>
#include <exception>

#include "common/Messages.h"

namespace si {

namespace {

// Why a sibling's work failed, or nothing.
struct SiblingFailure {
    QString cause;
};

void setProperty(QObject& component, const char* name, const QVariant& value) {
    const QMetaObject* meta = component.metaObject();
    const int index = meta->indexOfProperty(name);
    if (index < 0)
        throw SiblingFailure{
            QStringLiteral("ويژگي %1 در اين ماژول وجود ندارد.").arg(QString::fromLatin1(name))};
    if (!meta->property(index).write(&component, value))
        throw SiblingFailure{
            QStringLiteral("مقدار ويژگي %1 پذيرفته نشد.").arg(QString::fromLatin1(name))};
}

void call(QObject& component, const SiblingCall& c) {
    const bool called =
        c.args.isEmpty() ? Invoke(component, c.method) : Invoke(component, c.method, c.args);
    if (!called)
        throw SiblingFailure{
            QStringLiteral("فرمان %1 در اين ماژول وجود ندارد.").arg(QString::fromLatin1(c.method))};
}

// A sibling that catches its own errors tells them in ErrorMessage.
QString reportedError(const QObject& component) {
    if (component.metaObject()->indexOfProperty("ErrorMessage") < 0) return {};
    return component.property("ErrorMessage").toString().trimmed();
}

}  // namespace

SiblingProperties SessionProperties(const Context& ctx) {
    return {{"UserID", ctx.globals.CurrentUserID},
            {"PositionID", ctx.globals.CurrentPositionID},
            {"EmployeeID", ctx.globals.CurrentEmployeeID},
            {"OLEConnectionString", ctx.globals.CurrentConnectionString}};
}

QString RegistrationCommand(const QString& basePath, const QString& ocxFile) {
    return QStringLiteral("Regsvr32 ") + QStringLiteral(" \"") + basePath +
           QStringLiteral("System\\") + ocxFile + QStringLiteral("\"") + QStringLiteral(" /s");
}

std::unique_ptr<QObject> CreateSibling(Context& ctx, const QString& basePath,
                                       const Sibling& sibling) {
    try {
        if (auto component = ctx.components->create(sibling.progId)) return component;
        ctx.components->runRegistration(RegistrationCommand(basePath, sibling.ocxFile));
        if (auto component = ctx.components->create(sibling.progId)) return component;
    } catch (const std::exception& e) {
        // A component that fails while it is made is not the missing one: its own cause.
        ShowMessage(ctx, kErrorCaption,
                    SiblingErrorText(sibling.progId, QString::fromUtf8(e.what())));
        return nullptr;
    }
    ShowMessage(ctx, kErrorCaption, kNoRightMessage);
    return nullptr;
}

bool CallSibling(Context& ctx, QObject& component, const QString& progId, const SiblingCall& c) {
    QString cause;
    try {
        for (const auto& [name, value] : c.properties)
            setProperty(component, name, value);
        if (c.method) call(component, c);
        cause = reportedError(component);
    } catch (const SiblingFailure& failure) {
        cause = failure.cause;
    } catch (const std::exception& e) {
        cause = QString::fromUtf8(e.what());
    }
    if (cause.isEmpty()) return true;
    ShowMessage(ctx, kErrorCaption, SiblingErrorText(progId, cause));
    return false;
}

bool LaunchSibling(Context& ctx, const QString& basePath, const Sibling& sibling,
                   const SiblingCall& c) {
    auto component = CreateSibling(ctx, basePath, sibling);
    if (!component) return false;
    SiblingCall full = c;
    full.properties = SessionProperties(ctx);
    full.properties.insert(full.properties.end(), c.properties.begin(), c.properties.end());
    return CallSibling(ctx, *component, sibling.progId, full);
}

QString SiblingErrorText(const QString& progId, const QString& cause) {
    return QStringLiteral("ماژول %1 با خطا روبرو شد:\n%2").arg(progId, cause);
}

}  // namespace si
