#include "support/ScriptedMessages.h"

namespace si::test {

void MessageScript::install(ComponentRegistry& components) {
    // The registry's factories outlive no test; the script is owned by the fixture.
    MessageScript* self = this;
    components.add(QStringLiteral("comMessage.comMSG"), [self]() -> std::unique_ptr<QObject> {
        return std::make_unique<ScriptedMessageBox>(
            std::shared_ptr<MessageScript>(self, [](MessageScript*) {}));
    });
}

QStringList MessageScript::texts() const {
    QStringList list;
    for (const auto& m : shown_)
        list << m.text;
    return list;
}

bool MessageScript::anyContains(const QString& part) const {
    for (const auto& m : shown_)
        if (m.text.contains(part)) return true;
    return false;
}

int MessageScript::record(const ShownMessage& message) {
    shown_.push_back(message);
    if (onShown) onShown();
    if (message.formType != 1) return -1;
    if (answers_.empty()) return default_;
    const bool yes = answers_.front();
    answers_.pop_front();
    return yes ? 1 : 0;
}

}  // namespace si::test
