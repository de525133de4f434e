#include <gtest/gtest.h>

#include "common/Jalali.h"

namespace si {
namespace {

struct DatePair {
    QDate gregorian;
    const char* jalali;
};

class JalaliKnownDates : public ::testing::TestWithParam<DatePair> {};

TEST_P(JalaliKnownDates, ConvertBothWays) {
    const DatePair& p = GetParam();
    EXPECT_EQ(getFarsiDate(p.gregorian), QString::fromUtf8(p.jalali));
    EXPECT_EQ(getEnglishDate(QString::fromUtf8(p.jalali)), p.gregorian);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, JalaliKnownDates,
    ::testing::Values(
        DatePair{QDate(2026, 3, 21), "1405/01/01"}, DatePair{QDate(2025, 3, 21), "1404/01/01"},
        DatePair{QDate(2024, 3, 20), "1403/01/01"},
        DatePair{QDate(2025, 3, 20), "1403/12/30"},  // leap day of 1403
        DatePair{QDate(2024, 3, 19), "1402/12/29"}, DatePair{QDate(2026, 3, 20), "1404/12/29"},
        DatePair{QDate(2026, 12, 6), "1405/09/15"}, DatePair{QDate(1979, 2, 11), "1357/11/22"},
        DatePair{QDate(2000, 1, 1), "1378/10/11"}, DatePair{QDate(2025, 9, 22), "1404/06/31"},
        DatePair{QDate(2025, 9, 23), "1404/07/01"}));

TEST(JalaliText, AcceptsOneOrTwoDigitMonthAndDay) {
    const QDate expected(2026, 12, 6);
    EXPECT_EQ(getEnglishDate(QStringLiteral("1405/9/15")), expected);
    EXPECT_EQ(getEnglishDate(QStringLiteral("1405/09/15")), expected);
    EXPECT_EQ(getEnglishDate(QStringLiteral(" 1405/09/15 ")), expected);
    EXPECT_EQ(getEnglishDate(QStringLiteral("1405/1/1")), QDate(2026, 3, 21));
    EXPECT_EQ(getEnglishDate(QStringLiteral("۱۴۰۵/۰۹/۱۵")), expected);  // typed in Persian digits
}

TEST(JalaliText, RefusesMalformedText) {
    for (const char* text :
         {"", "abc", "1405/09", "1405/09/15/1", "1405-09-15", "1405/009/15", "1405/09/015",
          "14050/09/15", "1405//15", "1405/+9/15", "1405/9a/15", "1405/09/-1"})
        EXPECT_FALSE(getEnglishDate(QString::fromUtf8(text)).isValid()) << text;
}

struct ValidityCase {
    const char* jalali;
    bool valid;
};

class JalaliValidity : public ::testing::TestWithParam<ValidityCase> {};

TEST_P(JalaliValidity, KnowsMonthLengthsAndLeapYears) {
    EXPECT_EQ(IsValidFarsiDate(QString::fromUtf8(GetParam().jalali)), GetParam().valid)
        << GetParam().jalali;
}

INSTANTIATE_TEST_SUITE_P(
    Dates, JalaliValidity,
    ::testing::Values(ValidityCase{"1403/12/30", true}, ValidityCase{"1404/12/30", false},
                      ValidityCase{"1399/12/30", true}, ValidityCase{"1400/12/30", false},
                      ValidityCase{"1405/12/29", true}, ValidityCase{"1405/06/31", true},
                      ValidityCase{"1405/07/31", false}, ValidityCase{"1405/07/30", true},
                      ValidityCase{"1405/01/32", false}, ValidityCase{"1405/13/01", false},
                      ValidityCase{"1405/00/10", false}, ValidityCase{"1405/05/00", false},
                      ValidityCase{"0000/01/01", false}));

// Walking day by day, each Jalali text must read back as its own day and follow the previous one:
// the next day of the month, or the first of the next month at a month's last day.
TEST(JalaliText, EveryDayRoundTripsInOrder) {
    JalaliParts previous = JalaliOf(QDate(2019, 12, 31));
    for (QDate day(2020, 1, 1); day <= QDate(2031, 12, 31); day = day.addDays(1)) {
        const QString text = getFarsiDate(day);
        ASSERT_EQ(getEnglishDate(text), day) << text.toStdString();
        const JalaliParts parts = JalaliOf(day);
        ASSERT_EQ(text, QStringLiteral("%1/%2/%3")
                            .arg(parts.year)
                            .arg(parts.month, 2, 10, QLatin1Char('0'))
                            .arg(parts.day, 2, 10, QLatin1Char('0')));
        if (parts.day > 1) {
            ASSERT_EQ(parts.day, previous.day + 1) << text.toStdString();
        } else {
            const int lastDay = previous.month <= 6 ? 31 : previous.month <= 11 ? 30 : 0;
            if (lastDay != 0) {
                ASSERT_EQ(previous.day, lastDay) << text.toStdString();
            }
            ASSERT_EQ(parts.month, previous.month % 12 + 1) << text.toStdString();
        }
        previous = parts;
    }
}

TEST(JalaliParts, ConvertsPartsBothWays) {
    const JalaliParts parts = JalaliOf(QDate(2025, 3, 20));
    EXPECT_EQ(parts.year, 1403);
    EXPECT_EQ(parts.month, 12);
    EXPECT_EQ(parts.day, 30);
    EXPECT_EQ(FromJalali(1403, 12, 30), QDate(2025, 3, 20));
    EXPECT_FALSE(FromJalali(1404, 12, 30).isValid());
    EXPECT_FALSE(FromJalali(1404, 0, 1).isValid());
    EXPECT_EQ(JalaliOf(QDate()).year, 0);
}

TEST(JalaliText, InvalidDateHasNoText) {
    EXPECT_EQ(getFarsiDate(QDate()), QString());
}

TEST(JalaliTime, IsHoursAndMinutes) {
    EXPECT_EQ(fnZelorGetTime(QDateTime(QDate(2025, 1, 1), QTime(9, 5, 59))),
              QStringLiteral("09:05"));
    EXPECT_EQ(fnZelorGetTime(QDateTime(QDate(2025, 1, 1), QTime(23, 59))), QStringLiteral("23:59"));
    EXPECT_EQ(fnZelorGetTime(QDateTime(QDate(2025, 1, 1), QTime(0, 0))), QStringLiteral("00:00"));
}

}  // namespace
}  // namespace si
