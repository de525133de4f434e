#pragma once
// The outbox of text messages (tblSmsOutbox), shared by every process on a database: any of
// them stores a message, and the host that claims it sends it. A message is never lost: it stays
// waiting until a gateway took it, however often sending fails.
//
// Claiming is one conditional update (waiting, due, and no live claim of another host), so two
// hosts on one database never both send a message; the claim lapses after kSmsClaimSeconds, so
// a message whose host died while sending is sent again. The price of that is a message sent
// twice when a host dies after the gateway took it and before it could say so: a customer gets
// a message twice rather than never.
//
// Times are the caller's "now" (Session::now, the server's clock on PostgreSQL, so that hosts
// with skewed clocks agree on what is due).

#include <QDateTime>
#include <QString>
#include <optional>
#include <stdexcept>
#include <vector>

#include "common/Session.h"

namespace si {

// A message the outbox refuses to store, in Persian; nothing was written.
class SmsRefused : public std::runtime_error {
public:
    explicit SmsRefused(const QString& text) : std::runtime_error(text.toStdString()) {}
    QString text() const { return QString::fromStdString(what()); }
};

enum class SmsState { Waiting = 0, Sent = 1 };

inline constexpr int kSmsPhoneLength = 50;  // as tblOrganization.CellPhone
inline constexpr int kSmsMessageLength = 4000;
inline constexpr int kSmsErrorLength = 500;
// Longer than any request may take, so a live host's claim never lapses while it waits.
inline constexpr int kSmsClaimSeconds = 120;

// One row of the outbox as the outbox window shows it.
struct SmsOutboxRow {
    qint64 id = 0;
    QString phone;
    QString message;
    QDateTime created;
    SmsState state = SmsState::Waiting;
    int attempts = 0;
    QDateTime nextAttempt;
    QString lastError;
    QDateTime sent;
    bool claimed = false;  // a host holds it (it may have died; the claim then lapses)
    bool operator==(const SmsOutboxRow&) const = default;
};

// A message this host claimed and now sends; token proves the claim is still its own.
struct ClaimedSms {
    qint64 id = 0;
    QString phone;
    QString message;
    int attempts = 0;  // this attempt included
    QString token;
};

// Why a message cannot be stored, in Persian; empty when it can.
QString SmsProblem(const QString& phone, const QString& text);

// Stores a message, due at once; the phone is trimmed, the text kept as it is. Throws SmsRefused
// for an empty or overlong phone or text. created defaults to db.now(). Returns the ID.
qint64 EnqueueSms(Session& db, const QString& phone, const QString& text,
                  const QDateTime& created = {});

// The newest `limit` messages, oldest first.
std::vector<SmsOutboxRow> ReadSmsOutbox(Session& db, int limit = 500);

// Claims the waiting message that has been due longest and that no other host holds; nullopt
// when none is due. Counts the attempt.
std::optional<ClaimedSms> ClaimDueSms(Session& db, const QDateTime& now);

// The gateway took the message. False when it was already marked sent.
bool MarkSmsSent(Session& db, const ClaimedSms& sms, const QDateTime& now);
// Sending failed: the message waits until SmsRetryDate. False when the claim was no longer
// this host's (it lapsed and another host claimed it, or sent it).
bool MarkSmsFailed(Session& db, const ClaimedSms& sms, const QString& error, const QDateTime& now);

// Back-off after the n-th failed attempt: 10 s, doubling, at most 15 minutes.
int SmsRetryDelaySeconds(int attempts);
inline QDateTime SmsRetryDate(const QDateTime& failedAt, int attempts) {
    return failedAt.addSecs(SmsRetryDelaySeconds(attempts));
}

}  // namespace si
