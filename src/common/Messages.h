#pragma once
// Message boxes through the sibling component "comMessage.comMSG". When it is not registered the
// box is skipped silently and AskYesNo answers 0, as on a machine without the component.

#include <QString>

#include "common/Context.h"

namespace si {

inline constexpr short kAnswerYes = 6;
inline constexpr short kAnswerNo = 7;
inline constexpr short kAnswerNone = 0;

inline const QString kMessageProgId = QStringLiteral("comMessage.comMSG");

void ShowMessage(const ComponentRegistry& components, const QString& title, const QString& message);
short AskYesNo(const ComponentRegistry& components, const QString& title, const QString& message);

inline void ShowMessage(Context& ctx, const QString& title, const QString& message) {
    ShowMessage(*ctx.components, title, message);
}
inline short AskYesNo(Context& ctx, const QString& title, const QString& message) {
    return AskYesNo(*ctx.components, title, message);
}
inline bool AskedYes(Context& ctx, const QString& title, const QString& message) {
    return AskYesNo(ctx, title, message) == kAnswerYes;
}

}  // namespace si
