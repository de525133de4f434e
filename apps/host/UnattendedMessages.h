#pragma once
// A message box for runs without anyone at the screen (--screenshot): it takes the same
// properties as comMessage.comMSG, writes the message to standard error instead of waiting for a
// click, and answers every question with No.

#include <QObject>
#include <QString>

#include "common/ComponentRegistry.h"

namespace si::host {

class UnattendedMessageBox : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString FormTitle MEMBER title_)
    Q_PROPERTY(QString FormMessage MEMBER message_)
    Q_PROPERTY(int FormType MEMBER type_)
    Q_PROPERTY(int FormBackColor MEMBER unused_)
    Q_PROPERTY(int BtmBackColor MEMBER unused_)
    Q_PROPERTY(int FrameBackColor MEMBER unused_)
    Q_PROPERTY(int Resualt MEMBER result_)

public:
    Q_INVOKABLE void ClearShow();

private:
    QString title_;
    QString message_;
    int type_ = 0;
    int unused_ = 0;
    int result_ = -1;
};

// Puts the unattended box in place of the real one.
void UseUnattendedMessages(ComponentRegistry& components);

}  // namespace si::host
