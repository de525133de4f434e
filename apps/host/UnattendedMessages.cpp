#include "apps/host/UnattendedMessages.h"

#include <QTextStream>
#include <cstdio>

#include "common/Messages.h"

namespace si::host {

void UnattendedMessageBox::ClearShow() {
    QTextStream err(stderr);
    err << '[' << title_ << "] " << message_ << Qt::endl;
    if (type_ == 1) result_ = 0;
}

void UseUnattendedMessages(ComponentRegistry& components) {
    components.add(kMessageProgId, [] { return std::make_unique<UnattendedMessageBox>(); });
}

}  // namespace si::host
