#include "common/CommandGuard.h"

#include "common/Messages.h"

namespace si {

QString DatabaseErrorText(const SqlError& error) {
    return QStringLiteral("خطای پایگاه داده: ") + error.driverText();
}

bool Guarded(Context& ctx, const std::function<void()>& command,
             const std::function<void()>& undo) {
    QString text;
    try {
        command();
        return true;
    } catch (const SqlError& e) {
        text = DatabaseErrorText(e);
    } catch (const std::exception& e) {
        text = QString::fromUtf8(e.what());
    }
    if (undo) undo();
    ShowMessage(ctx, kErrorCaption, text);
    return false;
}

}  // namespace si
