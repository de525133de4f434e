#pragma once
// Number and amount conversions shared by every form: how the suite turns text into numbers and
// amounts into text. Amounts are grouped by three digits with "/" ("1/234/567.5").

#include <QString>
#include <QVariant>

#include "common/Money.h"

namespace si {

// The leading numeric value of a text, as VB's Val: leading blanks skipped, an optional sign,
// digits with one optional point and an optional exponent; 0 when the text does not start with a
// number ("12abc" gives 12, "abc" gives 0).
double Val(QStringView text);

// Blank text gives -1, the exact text "True" gives 1, anything else Val of the text with every
// "/" removed (the Jalali date 1402/05/09 gives 14020509). Never throws.
double ToNumber(const QString& text);
double ToNumber(const QVariant& value);  // the value's text; null gives -1

// 0 when the leading numeric value is 0 (non-numeric text included), else that leading number as
// currency, rounded half to even at four decimals; text after the number is ignored.
// std::out_of_range when it does not fit in Money.
Money ToCurrency(const QString& text);

// Rounding with ties upward (2.5 -> 3, -2.5 -> -2), computed as the suite always did: r0 is the
// value rounded half-to-even to d decimals, r1 the value rounded half-to-even to d + 1 decimals;
// when (r1 - r0) * 10^(d+1) >= 5 the result is r0 + 10^-d, else r0. Note the double rounding:
// 1.46 to 0 decimals gives 2. Decimals 0..4 (negative ones throw std::invalid_argument). Text
// that is not a number rounds as 0; a result beyond Money throws std::out_of_range.
Money RoundHalfUp(const QString& number, int decimals);
Money RoundHalfUp(Money value, int decimals);
Money RoundHalfUp(double value, int decimals);
// The same rounding for percentages, which are doubles.
double RoundHalfUpPercent(double value, int decimals);
// The suite's Round to whole numbers: ties go to the even neighbour (2.5 -> 2, 3.5 -> 4,
// 12.5 -> 12). std::out_of_range when the result does not fit in 64 bits.
qint64 RoundHalfEven(double value);

// "1/234/567.5", "1/000", "999", "0.5", "-1/234". The sign stands before the first group.
QString FormatAmount(Money value);
// ToCurrency of the text with every "/" removed.
Money ParseAmount(const QString& text);

// Persian words of the integer part ("صفر" for 0), with the blanks the suite's algorithm leaves.
// Values from 0 to below 10^18; negative values are written with "منفي " before the words.
QString AmountInWords(Money value);
// The same for a whole number of Rials, which reaches the scales beyond Money's range; throws
// std::out_of_range from 10^18 on.
QString AmountInWordsOfRials(qint64 rials);

// -1 when the value equals "ندارد", otherwise the leading numeric value as a 32-bit integer.
int NoneToMinus1(const QVariant& value);

// The text repeated count times ("" for count <= 0).
QString RepeatText(const QString& text, int count);

// VB's CLng and CInt: round half to even; throw std::out_of_range when the value does not fit.
qint32 ToInt32(double value);
qint16 ToInt16(double value);

}  // namespace si
