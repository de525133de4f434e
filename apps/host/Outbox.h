#pragma once
// The host's outbox as the outbox window shows it: the messages of tblSmsOutbox (the newest
// ones, oldest first), whoever stored them, with their time, phone, text and state; then the
// messages the database could not take when the control raised them, held here until it can.
// A message the control raises is stored at once, so that a closed or crashed host loses none.

#include <QAbstractTableModel>
#include <QDateTime>
#include <QString>
#include <functional>
#include <vector>

#include "common/SmsOutbox.h"

namespace si {
class Session;
}

namespace si::host {

class Outbox : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Time, Phone, Message, State, ColumnCount };

    explicit Outbox(QObject* parent = nullptr);

    // Stores the message and shows the table again. Throws SmsRefused for a message that cannot
    // be stored, and SqlError when the database did not take it, after holding the message.
    void store(Session& db, const QString& phone, const QString& message);
    // Keeps a message that could not be stored (no database yet) until storeHeld.
    void hold(const QString& phone, const QString& message);
    // Stores the held messages, oldest first; false when the database failed again (the rest
    // stay held). Never throws.
    bool storeHeld(Session& db);
    int heldCount() const { return static_cast<int>(held_.size()); }
    // Reads the table again; throws SqlError.
    void reload(Session& db);

    // The time a message is stored with; the session's clock when unset (tests set it).
    std::function<QDateTime()> clock;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const SmsOutboxRow& row(int index) const;
    QDateTime stampTime(Session* db) const;
    void setRows(std::vector<SmsOutboxRow> stored, std::vector<SmsOutboxRow> held);

    std::vector<SmsOutboxRow> stored_;
    std::vector<SmsOutboxRow> held_;  // id 0
};

// "1405/09/15 10:30:00": the Jalali date and the time of a message.
QString OutboxTimeText(const QDateTime& time);
// The state column: waiting, being sent, sent, failed and when it is tried again, or held.
QString OutboxStateText(const SmsOutboxRow& row);

inline const QString kSmsWaitingText = QStringLiteral("در انتظار ارسال");
inline const QString kSmsSentText = QStringLiteral("ارسال شد");

}  // namespace si::host
