#pragma once
// Sends the outbox's due messages through the gateway without ever blocking the window: the
// requests run on Qt's event loop (at most kParallelRequests at once, each given up after its
// timeout), and each answer marks its message sent or failed. The host ticks the sender on a
// timer and whenever it stores a message; a finished request ticks it again, so a queue drains
// without waiting for the timer. Messages other processes stored are sent alike.
//
// db is a session of the sender's own (the control's may be inside a transaction), and outlives
// the sender. A mark the database did not take (it was unreachable) is kept and written on the
// next tick, so a message the gateway took is not sent again because of it.

#include <QDateTime>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <vector>

#include "common/SmsOutbox.h"

class QNetworkReply;

namespace si {
class Session;
}

namespace si::host {

class SmsSender : public QObject {
    Q_OBJECT
public:
    static constexpr int kParallelRequests = 4;
    static constexpr int kDefaultTimeoutMs = 15000;

    explicit SmsSender(Session& db, QObject* parent = nullptr);
    // Requests still running are cut, and their messages are tried again (by any host) after
    // the back-off.
    ~SmsSender() override;

    // An empty or unusable template sends nothing: messages wait.
    void setGateway(const QString& urlTemplate);
    const QString& gateway() const { return gateway_; }
    bool hasGateway() const { return usable_; }
    void setTimeout(int milliseconds) { timeoutMs_ = milliseconds; }
    // The time messages are claimed and marked at; the session's clock when unset (tests).
    std::function<QDateTime()> clock;

    // Writes kept marks, then claims due messages and starts their requests.
    void tick();
    int inFlight() const { return static_cast<int>(replies_.size()); }
    // The last database failure, in Persian; empty once the database answers again.
    const QString& problem() const { return problem_; }

Q_SIGNALS:
    // A message was marked sent or failed, or the problem changed.
    void changed();

private:
    struct Outcome {
        ClaimedSms sms;
        QString failure;  // empty: sent
        QDateTime at;
    };

    QDateTime now();
    void claimAndSend();
    void send(const ClaimedSms& sms);
    void finished(QNetworkReply* reply);
    QString failureOf(QNetworkReply& reply) const;
    void recordOutcomes();
    void setProblem(const QString& problem);

    Session& db_;
    QNetworkAccessManager network_;
    QString gateway_;
    bool usable_ = false;
    int timeoutMs_ = kDefaultTimeoutMs;
    std::map<QNetworkReply*, ClaimedSms> replies_;
    std::vector<Outcome> unrecorded_;
    QString problem_;
};

}  // namespace si::host
