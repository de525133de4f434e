#pragma once
// The message box that tests install under "comMessage.comMSG": it records every box shown
// (caption, text, kind) and answers questions from a queue (No when the queue is empty).

#include <QObject>
#include <QString>
#include <QVariant>
#include <deque>
#include <memory>
#include <vector>

#include "common/ComponentRegistry.h"

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

    // Called by the component.
    int record(const ShownMessage& message);

private:
    std::vector<ShownMessage> shown_;
    std::deque<bool> answers_;
    int default_ = 0;
};

class ScriptedMessageBox : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString FormTitle MEMBER title_)
    Q_PROPERTY(QString FormMessage MEMBER message_)
    Q_PROPERTY(int FormType MEMBER type_)
    Q_PROPERTY(int FormBackColor MEMBER formBack_)
    Q_PROPERTY(int BtmBackColor MEMBER buttonBack_)
    Q_PROPERTY(int FrameBackColor MEMBER frameBack_)
    Q_PROPERTY(int Resualt MEMBER result_)

public:
    explicit ScriptedMessageBox(std::shared_ptr<MessageScript> script)
        : script_(std::move(script)) {}
    Q_INVOKABLE void ClearShow();

private:
    std::shared_ptr<MessageScript> script_;
    QString title_;
    QString message_;
    int type_ = 0;
    int formBack_ = 0;
    int buttonBack_ = 0;
    int frameBack_ = 0;
    int result_ = -1;
};

}  // namespace si::test
