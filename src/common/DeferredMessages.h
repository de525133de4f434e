#pragma once
// While a DeferredMessages lives, the message boxes shown through the registry wait and are
// shown, in order, when it goes; questions still go to the clerk at once. A final save holds the
// other workstations' final saves while it writes, so no box may wait for a click then.

#include <QString>
#include <memory>
#include <vector>

#include "common/ComponentRegistry.h"

namespace si {

class DeferredMessages {
public:
    explicit DeferredMessages(ComponentRegistry& registry);
    ~DeferredMessages();
    DeferredMessages(const DeferredMessages&) = delete;
    DeferredMessages& operator=(const DeferredMessages&) = delete;

    struct Message {
        QString title;
        QString text;
    };

private:
    ComponentRegistry& registry_;
    ComponentRegistry::Factory shown_;
    std::shared_ptr<std::vector<Message>> waiting_;
};

}  // namespace si
