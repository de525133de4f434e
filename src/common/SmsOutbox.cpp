#include "common/SmsOutbox.h"

#include <QUuid>
#include <algorithm>

namespace si {

namespace {

constexpr int kFirstRetrySeconds = 10;
constexpr int kLongestRetrySeconds = 15 * 60;
// Candidates read per claim: a host that loses one to another host tries the next.
constexpr int kClaimCandidates = 8;

QString tooLong(const QString& what, int length) {
    return QStringLiteral("%1 بيش از %2 نويسه است.").arg(what).arg(length);
}

// Cut without splitting a character outside the basic plane, which the session would refuse.
QString errorText(const QString& error) {
    QString text = error.trimmed();
    if (text.size() <= kSmsErrorLength) return text;
    const bool split = text.at(kSmsErrorLength - 1).isHighSurrogate();
    return text.left(split ? kSmsErrorLength - 1 : kSmsErrorLength);
}

SmsOutboxRow rowFrom(const Row& r) {
    SmsOutboxRow row;
    row.id = r.toInt64(u"ID");
    row.phone = r.text(u"Phone");
    row.message = r.text(u"Message");
    row.created = r.dateTime(u"CreateDate");
    row.state =
        r.toInt(u"State") == static_cast<int>(SmsState::Sent) ? SmsState::Sent : SmsState::Waiting;
    row.attempts = r.toInt(u"Attempts");
    row.nextAttempt = r.dateTime(u"NextAttemptDate");
    row.lastError = r.text(u"LastError");
    row.sent = r.dateTime(u"SentDate");
    row.claimed = !r.isNull(u"ClaimToken");
    return row;
}

// Takes the message when it is still waiting, due, and free of a live claim. Both databases run
// the update atomically: on PostgreSQL a second host's update waits for the first one's row and
// then finds the claim set, so exactly one of them gets the row back.
std::optional<ClaimedSms> claim(Session& db, qint64 id, const QDateTime& now) {
    const QString token = QUuid::createUuid().toString(QUuid::WithoutBraces);
    const RowSet rows = db.query(
        QStringLiteral("UPDATE tblSmsOutbox SET Attempts = Attempts + 1, ClaimToken = ?, "
                       "ClaimedUntil = ? WHERE ID = ? AND State = 0 AND NextAttemptDate <= ? "
                       "AND (ClaimedUntil IS NULL OR ClaimedUntil <= ?) "
                       "RETURNING ID, Phone, Message, Attempts"),
        {token, now.addSecs(kSmsClaimSeconds), id, now, now});
    if (rows.empty()) return std::nullopt;
    const Row& r = rows.first();
    return ClaimedSms{r.toInt64(u"ID"), r.text(u"Phone"), r.text(u"Message"), r.toInt(u"Attempts"),
                      token};
}

}  // namespace

QString SmsProblem(const QString& phone, const QString& text) {
    const QString trimmedPhone = phone.trimmed();
    if (trimmedPhone.isEmpty()) return QStringLiteral("شماره همراه گيرنده پيامك وارد نشده است.");
    if (trimmedPhone.size() > kSmsPhoneLength)
        return tooLong(QStringLiteral("شماره همراه گيرنده پيامك"), kSmsPhoneLength);
    if (text.trimmed().isEmpty()) return QStringLiteral("متن پيامك خالي است.");
    if (text.size() > kSmsMessageLength)
        return tooLong(QStringLiteral("متن پيامك"), kSmsMessageLength);
    return {};
}

qint64 EnqueueSms(Session& db, const QString& phone, const QString& text,
                  const QDateTime& created) {
    const QString problem = SmsProblem(phone, text);
    if (!problem.isEmpty()) throw SmsRefused(problem);
    const QDateTime at = created.isValid() ? created : db.now();
    return db.insertReturningId(
        QStringLiteral("INSERT INTO tblSmsOutbox (Phone, Message, CreateDate, State, Attempts, "
                       "NextAttemptDate) VALUES (?, ?, ?, 0, 0, ?) RETURNING ID"),
        {phone.trimmed(), text, at, at});
}

std::vector<SmsOutboxRow> ReadSmsOutbox(Session& db, int limit) {
    const RowSet rows = db.query(
        QStringLiteral("SELECT ID, Phone, Message, CreateDate, State, Attempts, NextAttemptDate, "
                       "LastError, SentDate, ClaimToken FROM tblSmsOutbox ORDER BY ID DESC "
                       "LIMIT ?"),
        {limit});
    std::vector<SmsOutboxRow> out;
    out.reserve(static_cast<size_t>(rows.size()));
    for (const Row& r : rows)
        out.push_back(rowFrom(r));
    std::reverse(out.begin(), out.end());
    return out;
}

std::optional<ClaimedSms> ClaimDueSms(Session& db, const QDateTime& now) {
    const RowSet due = db.query(
        QStringLiteral("SELECT ID FROM tblSmsOutbox WHERE State = 0 AND NextAttemptDate <= ? "
                       "AND (ClaimedUntil IS NULL OR ClaimedUntil <= ?) "
                       "ORDER BY NextAttemptDate, ID LIMIT ?"),
        {now, now, kClaimCandidates});
    for (const Row& candidate : due)
        if (auto claimed = claim(db, candidate.toInt64(u"ID"), now)) return claimed;
    return std::nullopt;
}

// Whoever holds the claim now: the message went out, and a host that claimed it after this
// one's claim lapsed must not send it again once it learns so.
bool MarkSmsSent(Session& db, const ClaimedSms& sms, const QDateTime& now) {
    return db.exec(QStringLiteral("UPDATE tblSmsOutbox SET State = 1, SentDate = ?, "
                                  "LastError = NULL, ClaimToken = NULL, ClaimedUntil = NULL "
                                  "WHERE ID = ? AND State = 0"),
                   {now, sms.id}) == 1;
}

bool MarkSmsFailed(Session& db, const ClaimedSms& sms, const QString& error, const QDateTime& now) {
    return db.exec(QStringLiteral("UPDATE tblSmsOutbox SET NextAttemptDate = ?, LastError = ?, "
                                  "ClaimToken = NULL, ClaimedUntil = NULL "
                                  "WHERE ID = ? AND ClaimToken = ?"),
                   {SmsRetryDate(now, sms.attempts), errorText(error), sms.id, sms.token}) == 1;
}

int SmsRetryDelaySeconds(int attempts) {
    int delay = kFirstRetrySeconds;
    for (int n = 1; n < attempts && delay < kLongestRetrySeconds; ++n)
        delay *= 2;
    return std::min(delay, kLongestRetrySeconds);
}

}  // namespace si
