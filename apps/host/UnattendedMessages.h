#pragma once
// A message box for runs without anyone at the screen (--screenshot): it takes the same
// properties as comMessage.comMSG, writes the message to standard error instead of waiting for a
// click, and answers every question with No.

#include <QObject>
#include <QString>

#include "common/ComponentRegistry.h"
#include "common/MessageBoxBase.h"

namespace si::host {

class UnattendedMessageBox : public MessageBoxBase {
protected:
    int present(const QString& title, const QString& message, bool question) override;
};

// Puts the unattended box in place of the real one.
void UseUnattendedMessages(ComponentRegistry& components);

}  // namespace si::host
