#include "common/DeferredMessages.h"

#include "common/MessageBoxBase.h"
#include "common/Messages.h"

namespace si {

namespace {

// Stands in for the message box: keeps messages, passes questions to the real box.
class WaitingBox : public MessageBoxBase {
public:
    WaitingBox(ComponentRegistry::Factory real,
               std::shared_ptr<std::vector<DeferredMessages::Message>> waiting)
        : real_(std::move(real)), waiting_(std::move(waiting)) {}

protected:
    int present(const QString& title, const QString& message, bool question) override {
        if (!question) {
            waiting_->push_back({title, message});
            return -1;
        }
        if (!real_) return -1;
        std::unique_ptr<QObject> box = real_();
        SetProperties(*box, {{"FormTitle", title},
                             {"FormMessage", message},
                             {"FormType", 1},
                             {"FormBackColor", formBackColor()},
                             {"BtmBackColor", buttonBackColor()},
                             {"FrameBackColor", frameBackColor()}});
        Invoke(*box, "ClearShow");
        return box->property("Resualt").toInt();
    }

private:
    ComponentRegistry::Factory real_;
    std::shared_ptr<std::vector<DeferredMessages::Message>> waiting_;
};

}  // namespace

DeferredMessages::DeferredMessages(ComponentRegistry& registry)
    : registry_(registry),
      shown_(registry.factory(kMessageProgId)),
      waiting_(std::make_shared<std::vector<Message>>()) {
    // Without a message box there is nothing to hold back (boxes are skipped silently).
    if (!shown_) return;
    registry_.add(kMessageProgId, [real = shown_, waiting = waiting_] {
        return std::make_unique<WaitingBox>(real, waiting);
    });
}

DeferredMessages::~DeferredMessages() {
    if (!shown_) return;
    registry_.add(kMessageProgId, shown_);
    for (const Message& m : *waiting_)
        ShowMessage(registry_, m.title, m.text);
}

}  // namespace si
