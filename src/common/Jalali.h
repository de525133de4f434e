#pragma once
// Jalali (Farsi) dates through QCalendar's Jalali system: the text form yyyy/mm/dd that the
// database stores in its Farsi... columns and that users read and type.

#include <QDate>
#include <QDateTime>
#include <QString>

namespace si {

// "1405/09/15" for a Gregorian date; "" for an invalid date.
QString getFarsiDate(const QDate& date);
// The Gregorian date of a Jalali text "yyyy/mm/dd" (one- or two-digit month and day accepted);
// an invalid QDate when the text is not a valid Jalali date.
QDate getEnglishDate(const QString& jalali);
// The time of day as "HH:mm".
QString fnZelorGetTime(const QDateTime& value);
// Whether the text is a valid Jalali date.
bool IsValidFarsiDate(const QString& jalali);
// Jalali year, month and day of a Gregorian date.
struct JalaliParts {
    int year = 0;
    int month = 0;
    int day = 0;
};
JalaliParts JalaliOf(const QDate& date);
// The Gregorian date of Jalali parts; invalid when they name no day.
QDate FromJalali(int year, int month, int day);

}  // namespace si
