#pragma once
// The message box of the command line: every box is written to standard error as
// "caption: text"; every question gets the answer chosen with --yes or --no.

#include <QObject>
#include <QString>
#include <memory>

#include "common/ComponentRegistry.h"

namespace si::cli {

struct ConsoleAnswers {
    bool yes = false;
    int shown = 0;
    QString lastCaption;
    QString lastText;
};

class ConsoleMessageBox : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString FormTitle MEMBER title_)
    Q_PROPERTY(QString FormMessage MEMBER message_)
    Q_PROPERTY(int FormType MEMBER type_)
    Q_PROPERTY(int FormBackColor MEMBER unused_)
    Q_PROPERTY(int BtmBackColor MEMBER unused_)
    Q_PROPERTY(int FrameBackColor MEMBER unused_)
    Q_PROPERTY(int Resualt MEMBER result_)

public:
    explicit ConsoleMessageBox(std::shared_ptr<ConsoleAnswers> answers)
        : answers_(std::move(answers)) {}
    Q_INVOKABLE void ClearShow();

private:
    std::shared_ptr<ConsoleAnswers> answers_;
    QString title_;
    QString message_;
    int type_ = 0;
    int unused_ = 0;
    int result_ = -1;
};

void RegisterConsoleMessages(ComponentRegistry& registry, std::shared_ptr<ConsoleAnswers> answers);

}  // namespace si::cli
