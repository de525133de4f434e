#include "apps/host/UnattendedMessages.h"

#include <QTextStream>
#include <cstdio>

#include "common/Messages.h"

namespace si::host {

int UnattendedMessageBox::present(const QString& title, const QString& message, bool question) {
    QTextStream err(stderr);
    err << '[' << title << "] " << message << Qt::endl;
    return question ? 0 : -1;
}

void UseUnattendedMessages(ComponentRegistry& components) {
    components.add(kMessageProgId, [] { return std::make_unique<UnattendedMessageBox>(); });
}

}  // namespace si::host
