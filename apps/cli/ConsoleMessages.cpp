#include "ConsoleMessages.h"

#include <cstdio>

namespace si::cli {

void ConsoleMessageBox::ClearShow() {
    const QString line = title_ + QStringLiteral(": ") + message_ + QLatin1Char('\n');
    std::fputs(line.toUtf8().constData(), stderr);
    ++answers_->shown;
    answers_->lastCaption = title_;
    answers_->lastText = message_;
    result_ = type_ == 1 ? (answers_->yes ? 1 : 0) : -1;
}

void RegisterConsoleMessages(ComponentRegistry& registry, std::shared_ptr<ConsoleAnswers> answers) {
    registry.add(QStringLiteral("comMessage.comMSG"),
                 [answers] { return std::make_unique<ConsoleMessageBox>(answers); });
}

}  // namespace si::cli
