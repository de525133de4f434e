#include "common/Row.h"

#include <cmath>
#include <stdexcept>

namespace si {

Columns::Columns(QStringList names) : names_(std::move(names)) {
    for (int i = 0; i < names_.size(); ++i) {
        const QString key = names_[i].toLower();
        if (!byLowerName_.contains(key)) byLowerName_.insert(key, i);
    }
}

int Columns::indexOf(QStringView name) const {
    auto it = byLowerName_.constFind(name.toString().toLower());
    return it == byLowerName_.constEnd() ? -1 : it.value();
}

bool Row::has(QStringView name) const {
    return columns_ && columns_->indexOf(name) >= 0;
}

const QVariant& Row::value(QStringView name) const {
    const int i = columns_ ? columns_->indexOf(name) : -1;
    if (i < 0) throw std::out_of_range("no field " + name.toString().toStdString() + " in the row");
    return values_.at(i);
}

bool Row::isNull(QStringView name) const {
    return value(name).isNull();
}

QString Row::text(QStringView name) const {
    const QVariant& v = value(name);
    if (v.isNull()) return {};
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return v.toString();
}

namespace {

// PostgreSQL hands NUMERIC over as exact text ("12.0000"), so integers may arrive as text.
qint64 variantToInt64(const QVariant& v) {
    if (v.typeId() == QMetaType::QString || v.typeId() == QMetaType::Double) {
        bool ok = false;
        const qint64 whole = v.toString().trimmed().toLongLong(&ok);
        if (ok) return whole;
        return static_cast<qint64>(std::llround(v.toString().trimmed().toDouble()));
    }
    return v.toLongLong();
}

}  // namespace

int Row::toInt(QStringView name, int ifNull) const {
    const QVariant& v = value(name);
    return v.isNull() ? ifNull : static_cast<int>(variantToInt64(v));
}

qint64 Row::toInt64(QStringView name, qint64 ifNull) const {
    const QVariant& v = value(name);
    return v.isNull() ? ifNull : variantToInt64(v);
}

double Row::toDouble(QStringView name, double ifNull) const {
    const QVariant& v = value(name);
    return v.isNull() ? ifNull : v.toDouble();
}

bool Row::toBool(QStringView name, bool ifNull) const {
    const QVariant& v = value(name);
    if (v.isNull()) return ifNull;
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed().toLower();
        if (s == QLatin1String("true") || s == QLatin1String("t")) return true;
        return s.toDouble() != 0;
    }
    return v.toDouble() != 0;
}

Money Row::money(QStringView name) const {
    return Money::fromVariant(value(name));
}

QDateTime Row::dateTime(QStringView name) const {
    return toDateTime(value(name));
}

QDate Row::date(QStringView name) const {
    return dateTime(name).date();
}

QDateTime toDateTime(const QVariant& value) {
    if (value.isNull()) return {};
    if (value.typeId() == QMetaType::QDateTime) return value.toDateTime();
    if (value.typeId() == QMetaType::QDate) return value.toDate().startOfDay();
    const QString text = value.toString().trimmed();
    QDateTime dt = QDateTime::fromString(text.left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!dt.isValid()) dt = QDateTime::fromString(text.left(19), Qt::ISODate);
    if (!dt.isValid()) {
        const QDate d = QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
        if (d.isValid()) dt = d.startOfDay();
    }
    return dt;
}

}  // namespace si
