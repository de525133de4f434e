#pragma once
// The message box that tests install under "comMessage.comMSG": it records every box shown
// (caption, text, kind) and answers questions from a queue (No when the queue is empty).

#include <QObject>
#include <QString>
#include <QVariant>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "common/ComponentRegistry.h"
#include "common/MessageBoxBase.h"

namespace si::test {

struct ShownMessage {
    QString caption;
    QString text;
    int formType = 0;  // 0 message, 1 question
};

class MessageScript {
public:
    void install(ComponentRegistry& components);
    void answer(bool yes) { answers_.push_back(yes); }
    void answerYes(int times = 1) {
        for (int i = 0; i < times; ++i)
            answer(true);
    }
    void answerNo(int times = 1) {
        for (int i = 0; i < times; ++i)
            answer(false);
    }
    // When set, every question without a queued answer gets this one.
    void alwaysAnswer(bool yes) { default_ = yes ? 1 : 0; }

    const std::vector<ShownMessage>& shown() const { return shown_; }
    bool empty() const { return shown_.empty(); }
    const ShownMessage& last() const { return shown_.back(); }
    QStringList texts() const;
    bool anyContains(const QString& part) const;
    void clear() {
        shown_.clear();
        answers_.clear();
    }
    int pendingAnswers() const { return static_cast<int>(answers_.size()); }
    // Runs as each box is shown: what a real box does to the focus, for instance.
    std::function<void()> onShown;

    // Called by the component.
    int record(const ShownMessage& message);

private:
    std::vector<ShownMessage> shown_;
    std::deque<bool> answers_;
    int default_ = 0;
};

class ScriptedMessageBox : public MessageBoxBase {
public:
    explicit ScriptedMessageBox(std::shared_ptr<MessageScript> script)
        : script_(std::move(script)) {}

protected:
    int present(const QString& title, const QString& message, bool question) override {
        return script_->record({title, message, question ? 1 : 0});
    }

private:
    std::shared_ptr<MessageScript> script_;
};

}  // namespace si::test
