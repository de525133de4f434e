#include "apps/host/SmsSender.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include "apps/host/SmsGateway.h"
#include "common/CommandGuard.h"
#include "common/Session.h"

namespace si::host {

namespace {

const char* const kTimedOut = "smsTimedOut";

bool isSuccess(int status) {
    return status >= 200 && status < 300;
}

}  // namespace

SmsSender::SmsSender(Session& db, QObject* parent) : QObject(parent), db_(db) {}

SmsSender::~SmsSender() {
    for (auto& [reply, sms] : replies_) {
        disconnect(reply, nullptr, this, nullptr);
        reply->abort();
    }
    try {
        const QDateTime at = now();
        for (const auto& [reply, sms] : replies_)
            unrecorded_.push_back({sms, QStringLiteral("ارسال با بسته شدن برنامه قطع شد."), at});
        recordOutcomes();
    } catch (const SqlError&) {
        // The claims lapse on their own, and the messages are sent again then.
    }
}

void SmsSender::setGateway(const QString& urlTemplate) {
    gateway_ = urlTemplate.trimmed();
    usable_ = !gateway_.isEmpty() && SmsGatewayProblem(gateway_).isEmpty();
}

QDateTime SmsSender::now() {
    return clock ? clock() : db_.now();
}

void SmsSender::tick() {
    try {
        recordOutcomes();
        claimAndSend();
        setProblem({});
    } catch (const SqlError& e) {
        setProblem(DatabaseErrorText(e));
    }
}

void SmsSender::claimAndSend() {
    if (!usable_) return;
    while (inFlight() < kParallelRequests) {
        const std::optional<ClaimedSms> sms = ClaimDueSms(db_, now());
        if (!sms) return;
        send(*sms);
    }
}

void SmsSender::send(const ClaimedSms& sms) {
    QNetworkRequest request(SmsRequestUrl(gateway_, sms.phone, sms.message));
    QNetworkReply* reply = network_.get(request);
    replies_.emplace(reply, sms);
    connect(reply, &QNetworkReply::finished, this, [this, reply] { finished(reply); });
    // The whole request is bounded, not only a pause in it: a gateway that trickles an answer
    // must not hold the message's claim.
    QTimer::singleShot(timeoutMs_, reply, [reply] {
        reply->setProperty(kTimedOut, true);
        reply->abort();
    });
}

void SmsSender::finished(QNetworkReply* reply) {
    const auto it = replies_.find(reply);
    if (it == replies_.end()) return;
    unrecorded_.push_back({it->second, failureOf(*reply), now()});
    replies_.erase(it);
    reply->deleteLater();
    tick();
    Q_EMIT changed();
}

QString SmsSender::failureOf(QNetworkReply& reply) const {
    if (reply.property(kTimedOut).toBool())
        return QStringLiteral("درگاه پيامك در مهلت %1 ميلي ثانيه پاسخ نداد.").arg(timeoutMs_);
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (isSuccess(status)) return {};
    if (status != 0)
        return QStringLiteral("پاسخ درگاه پيامك: HTTP %1 %2")
            .arg(QString::number(status),
                 reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString())
            .trimmed();
    return QStringLiteral("درگاه پيامك در دسترس نيست: ") + reply.errorString();
}

// In the order the answers came; what the database refuses now stays for the next tick.
void SmsSender::recordOutcomes() {
    while (!unrecorded_.empty()) {
        const Outcome& o = unrecorded_.front();
        if (o.failure.isEmpty())
            MarkSmsSent(db_, o.sms, o.at);
        else
            MarkSmsFailed(db_, o.sms, o.failure, o.at);
        unrecorded_.erase(unrecorded_.begin());
    }
}

void SmsSender::setProblem(const QString& problem) {
    if (problem == problem_) return;
    problem_ = problem;
    Q_EMIT changed();
}

}  // namespace si::host
