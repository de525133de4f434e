#include "apps/host/Outbox.h"

#include "common/Jalali.h"

namespace si::host {

Outbox::Outbox(QObject* parent)
    : QAbstractTableModel(parent), clock([] { return QDateTime::currentDateTime(); }) {}

void Outbox::append(const QString& phone, const QString& message) {
    const int row = static_cast<int>(messages_.size());
    beginInsertRows({}, row, row);
    messages_.push_back({clock(), phone, message});
    endInsertRows();
}

int Outbox::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(messages_.size());
}

int Outbox::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant Outbox::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const OutboxMessage& m = messages_[static_cast<size_t>(index.row())];
    if (role == Qt::TextAlignmentRole && index.column() != Message)
        return QVariant::fromValue(Qt::AlignCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    switch (index.column()) {
        case Time:
            return OutboxTimeText(m.time);
        case Phone:
            return m.phone;
        case Message:
            return m.message;
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
        default:
            return {};
    }
}

QString OutboxTimeText(const QDateTime& time) {
    return getFarsiDate(time.date()) + QLatin1Char(' ') +
           time.time().toString(QStringLiteral("HH:mm:ss"));
}

}  // namespace si::host
