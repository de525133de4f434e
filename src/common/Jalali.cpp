#include "common/Jalali.h"

#include <QCalendar>
#include <QStringList>

namespace si {

namespace {

const QCalendar& jalali() {
    static const QCalendar calendar(QCalendar::System::Jalali);
    return calendar;
}

// A field of a typed date: one to maxDigits decimal digits (Persian digits typed with a Persian
// keyboard count too); -1 for anything else.
int fieldValue(QStringView field, int maxDigits) {
    if (field.isEmpty() || field.size() > maxDigits) return -1;
    int value = 0;
    for (QChar c : field) {
        const int digit = c.digitValue();
        if (digit < 0) return -1;
        value = value * 10 + digit;
    }
    return value;
}

}  // namespace

JalaliParts JalaliOf(const QDate& date) {
    if (!date.isValid()) return {};
    const QCalendar::YearMonthDay parts = jalali().partsFromDate(date);
    return {parts.year, parts.month, parts.day};
}

QDate FromJalali(int year, int month, int day) {
    if (year < 1) return {};
    return jalali().dateFromParts(year, month, day);
}

QString getFarsiDate(const QDate& date) {
    if (!date.isValid()) return {};
    const JalaliParts parts = JalaliOf(date);
    return QStringLiteral("%1/%2/%3")
        .arg(parts.year, 4, 10, QLatin1Char('0'))
        .arg(parts.month, 2, 10, QLatin1Char('0'))
        .arg(parts.day, 2, 10, QLatin1Char('0'));
}

QDate getEnglishDate(const QString& jalali) {
    const QStringList fields = jalali.trimmed().split(QLatin1Char('/'));
    if (fields.size() != 3) return {};
    const int year = fieldValue(fields[0], 4);
    const int month = fieldValue(fields[1], 2);
    const int day = fieldValue(fields[2], 2);
    if (year < 0 || month < 0 || day < 0) return {};
    return FromJalali(year, month, day);
}

QString fnZelorGetTime(const QDateTime& value) {
    return value.time().toString(QStringLiteral("HH:mm"));
}

bool IsValidFarsiDate(const QString& jalali) {
    return getEnglishDate(jalali).isValid();
}

}  // namespace si
