#pragma once
// comMessage.comMSG on the desktop: a modal Qt message box, right to left, with Persian buttons
// and the colours the caller set.

#include "common/MessageBoxBase.h"

namespace si::suite {

class MessageBoxComponent : public MessageBoxBase {
protected:
    int present(const QString& title, const QString& message, bool question) override;

private:
    QString styleSheet() const;
};

}  // namespace si::suite
