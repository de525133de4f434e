#pragma once
// The message box of the command line: every box is written to standard error as
// "caption: text"; every question gets the answer chosen with --yes or --no.

#include <QObject>
#include <QString>
#include <memory>

#include "common/ComponentRegistry.h"
#include "common/MessageBoxBase.h"

namespace si::cli {

struct ConsoleAnswers {
    bool yes = false;
    int shown = 0;
    QString lastCaption;
    QString lastText;
};

class ConsoleMessageBox : public MessageBoxBase {
public:
    explicit ConsoleMessageBox(std::shared_ptr<ConsoleAnswers> answers)
        : answers_(std::move(answers)) {}

protected:
    int present(const QString& title, const QString& message, bool question) override;

private:
    std::shared_ptr<ConsoleAnswers> answers_;
};

void RegisterConsoleMessages(ComponentRegistry& registry, std::shared_ptr<ConsoleAnswers> answers);

}  // namespace si::cli
