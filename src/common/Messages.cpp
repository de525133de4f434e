#include "common/Messages.h"

namespace si {

namespace {

// Windows colour values (red in the low byte), as the component expects them.
constexpr int kFormBackColor = 14799304;
constexpr int kButtonBackColor = 12490375;
constexpr int kFrameBackColor = 15655647;

std::unique_ptr<QObject> showBox(const ComponentRegistry& components, const QString& title,
                                 const QString& message, int formType) {
    auto box = components.create(kMessageProgId);
    if (!box) return nullptr;
    SetProperties(*box, {{"FormTitle", title},
                         {"FormMessage", message},
                         {"FormType", formType},
                         {"FormBackColor", kFormBackColor},
                         {"BtmBackColor", kButtonBackColor},
                         {"FrameBackColor", kFrameBackColor}});
    Invoke(*box, "ClearShow");
    return box;
}

}  // namespace

void ShowMessage(const ComponentRegistry& components, const QString& title,
                 const QString& message) {
    showBox(components, title, message, 0);
}

short AskYesNo(const ComponentRegistry& components, const QString& title, const QString& message) {
    auto box = showBox(components, title, message, 1);
    if (!box) return kAnswerNone;
    const QVariant result = box->property("Resualt");
    if (!result.isValid() || result.isNull()) return kAnswerNone;
    switch (result.toInt()) {
        case 1:
            return kAnswerYes;
        case 0:
            return kAnswerNo;
        default:
            return kAnswerNone;
    }
}

}  // namespace si
