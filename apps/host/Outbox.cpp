#include "apps/host/Outbox.h"

#include "common/Jalali.h"
#include "common/Session.h"

namespace si::host {

Outbox::Outbox(QObject* parent) : QAbstractTableModel(parent) {}

QDateTime Outbox::stampTime(Session* db) const {
    if (clock) return clock();
    try {
        if (db) return db->now();
    } catch (const SqlError&) {
    }
    return QDateTime::currentDateTime();
}

void Outbox::store(Session& db, const QString& phone, const QString& message) {
    const QString problem = SmsProblem(phone, message);
    if (!problem.isEmpty()) throw SmsRefused(problem);
    const QDateTime at = stampTime(&db);
    try {
        EnqueueSms(db, phone, message, at);
    } catch (const SqlError&) {
        hold(phone, message);
        throw;
    }
    // The message is stored: a failed read only leaves the view behind until the next reload.
    try {
        reload(db);
    } catch (const SqlError&) {
    }
}

void Outbox::hold(const QString& phone, const QString& message) {
    std::vector<SmsOutboxRow> held = held_;
    SmsOutboxRow row;
    row.phone = phone;
    row.message = message;
    row.created = stampTime(nullptr);
    held.push_back(row);
    setRows(stored_, std::move(held));
}

bool Outbox::storeHeld(Session& db) {
    if (held_.empty()) return true;
    std::vector<SmsOutboxRow> left = held_;
    bool ok = true;
    try {
        while (!left.empty()) {
            EnqueueSms(db, left.front().phone, left.front().message, left.front().created);
            left.erase(left.begin());
        }
        setRows(ReadSmsOutbox(db), std::move(left));
    } catch (const SqlError&) {
        ok = false;
        setRows(stored_, std::move(left));
    }
    return ok;
}

void Outbox::reload(Session& db) {
    setRows(ReadSmsOutbox(db), held_);
}

// A reload that finds the table as it was leaves the view alone (its selection and scroll).
void Outbox::setRows(std::vector<SmsOutboxRow> stored, std::vector<SmsOutboxRow> held) {
    if (stored == stored_ && held == held_) return;
    beginResetModel();
    stored_ = std::move(stored);
    held_ = std::move(held);
    endResetModel();
}

const SmsOutboxRow& Outbox::row(int index) const {
    const auto i = static_cast<size_t>(index);
    return i < stored_.size() ? stored_[i] : held_[i - stored_.size()];
}

int Outbox::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(stored_.size() + held_.size());
}

int Outbox::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant Outbox::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const SmsOutboxRow& m = row(index.row());
    if (role == Qt::TextAlignmentRole && index.column() != Message && index.column() != State)
        return QVariant::fromValue(Qt::AlignCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    switch (index.column()) {
        case Time:
            return OutboxTimeText(m.created);
        case Phone:
            return m.phone;
        case Message:
            return m.message;
        case State:
            return OutboxStateText(m);
        default:
            return {};
    }
}

QVariant Outbox::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case Time:
            return QStringLiteral("زمان");
        case Phone:
            return QStringLiteral("شماره همراه");
        case Message:
            return QStringLiteral("متن پيام");
        case State:
            return QStringLiteral("وضعيت");
        default:
            return {};
    }
}

QString OutboxTimeText(const QDateTime& time) {
    return getFarsiDate(time.date()) + QLatin1Char(' ') +
           time.time().toString(QStringLiteral("HH:mm:ss"));
}

QString OutboxStateText(const SmsOutboxRow& row) {
    if (row.id == 0) return QStringLiteral("در پايگاه داده ذخيره نشد؛ دوباره ذخيره مي شود");
    if (row.state == SmsState::Sent) return kSmsSentText;
    if (row.claimed) return QStringLiteral("در حال ارسال");
    if (row.attempts == 0) return kSmsWaitingText;
    return QStringLiteral("ناموفق، تلاش دوباره در %1 (%2 بار تلاش؛ %3)")
        .arg(OutboxTimeText(row.nextAttempt), QString::number(row.attempts), row.lastError);
}

}  // namespace si::host
