#pragma once
// The host's outbox: every SendSMS the control raised during this run, oldest first, as a table
// (time, phone, message) for the outbox window. Sending to an operator is the SMS gateway's job;
// the host only keeps what it was asked to send.

#include <QAbstractTableModel>
#include <QDateTime>
#include <QString>
#include <functional>
#include <vector>

namespace si::host {

struct OutboxMessage {
    QDateTime time;
    QString phone;
    QString message;
};

class Outbox : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Time, Phone, Message, ColumnCount };

    explicit Outbox(QObject* parent = nullptr);

    void append(const QString& phone, const QString& message);
    const std::vector<OutboxMessage>& messages() const { return messages_; }
    // Replaces the wall clock (tests).
    std::function<QDateTime()> clock;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<OutboxMessage> messages_;
};

// "1405/09/15 10:30:00": the Jalali date and the time of a message.
QString OutboxTimeText(const QDateTime& time);

}  // namespace si::host
