#include "ConsoleMessages.h"

#include <cstdio>

namespace si::cli {

int ConsoleMessageBox::present(const QString& title, const QString& message, bool question) {
    const QString line = title + QStringLiteral(": ") + message + QLatin1Char('\n');
    std::fputs(line.toUtf8().constData(), stderr);
    ++answers_->shown;
    answers_->lastCaption = title;
    answers_->lastText = message;
    return question ? (answers_->yes ? 1 : 0) : -1;
}

void RegisterConsoleMessages(ComponentRegistry& registry, std::shared_ptr<ConsoleAnswers> answers) {
    registry.add(QStringLiteral("comMessage.comMSG"),
                 [answers] { return std::make_unique<ConsoleMessageBox>(answers); });
}

}  // namespace si::cli
