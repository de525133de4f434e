#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <stdexcept>

#include "common/Numbers.h"

namespace si {

// Readable failure output for amounts.
static void PrintTo(const Money& m, std::ostream* os) {
    *os << m.toString().toStdString();
}

namespace {

Money money(const char* text) {
    return Money::parse(QString::fromUtf8(text)).value();
}

struct NumberCase {
    const char* text;
    double expected;
};

class NumberVal : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberVal, TakesTheLeadingNumber) {
    EXPECT_DOUBLE_EQ(Val(QString::fromUtf8(GetParam().text)), GetParam().expected)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NumberVal,
    ::testing::Values(NumberCase{"12abc", 12}, NumberCase{"abc", 0}, NumberCase{"", 0},
                      NumberCase{"  -3.5x", -3.5}, NumberCase{"+7", 7}, NumberCase{".5", 0.5},
                      NumberCase{"1.2.3", 1.2}, NumberCase{"1e3", 1000}, NumberCase{"2E-2", 0.02},
                      NumberCase{"1d2", 100}, NumberCase{"1e", 1}, NumberCase{"1e+", 1},
                      NumberCase{"-", 0}, NumberCase{"-.", 0}, NumberCase{"1/2", 1},
                      NumberCase{"007", 7}, NumberCase{"1e-400", 0}, NumberCase{"0e400", 0},
                      NumberCase{"0.000e5", 0}));

TEST(NumberVal, OverflowIsInfinite) {
    EXPECT_EQ(Val(u"1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(Val(u"-1e400"), -std::numeric_limits<double>::infinity());
}

class NumberToNumber : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberToNumber, AppliesTheSpecialCases) {
    EXPECT_DOUBLE_EQ(ToNumber(QString::fromUtf8(GetParam().text)), GetParam().expected)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NumberToNumber,
    ::testing::Values(NumberCase{"", -1}, NumberCase{"   ", -1}, NumberCase{" \t ", -1},
                      NumberCase{"True", 1}, NumberCase{"true", 0}, NumberCase{"TRUE", 0},
                      NumberCase{" True", 0}, NumberCase{"False", 0}, NumberCase{"12/5", 125},
                      NumberCase{"1402/05/09", 14020509}, NumberCase{"abc", 0},
                      NumberCase{"12abc", 12}, NumberCase{" 42 ", 42}, NumberCase{"-5", -5},
                      NumberCase{"1/234/567.5", 1234567.5}, NumberCase{"1e400", 0}));

TEST(NumberToNumber, VariantNullIsMinusOneAndOtherwiseItsText) {
    EXPECT_EQ(ToNumber(QVariant()), -1);
    EXPECT_EQ(ToNumber(QVariant(QMetaType::fromType<int>())), -1);  // a database NULL
    EXPECT_EQ(ToNumber(QVariant(QStringLiteral(" "))), -1);
    EXPECT_EQ(ToNumber(QVariant(3.5)), 3.5);
    EXPECT_EQ(ToNumber(QVariant(qlonglong(123456789012))), 123456789012.0);
    EXPECT_EQ(ToNumber(QVariant(true)), 1);
    EXPECT_EQ(ToNumber(QVariant(false)), 0);
    EXPECT_EQ(ToNumber(QVariant(QStringLiteral("1402/01/02"))), 14020102);
    EXPECT_EQ(ToNumber(QVariant::fromValue(money("-12.5"))), -12.5);
}

struct CurrencyCase {
    const char* text;
    const char* expected;
};

class NumberToCurrency : public ::testing::TestWithParam<CurrencyCase> {};

TEST_P(NumberToCurrency, ConvertsNumericText) {
    EXPECT_EQ(ToCurrency(QString::fromUtf8(GetParam().text)), money(GetParam().expected))
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NumberToCurrency,
    ::testing::Values(CurrencyCase{"0", "0"}, CurrencyCase{"abc", "0"}, CurrencyCase{"", "0"},
                      CurrencyCase{"12.5", "12.5"}, CurrencyCase{" 12.5 ", "12.5"},
                      CurrencyCase{"-3", "-3"}, CurrencyCase{"0.00001", "0"},
                      CurrencyCase{"12abc", "12"}, CurrencyCase{"1e3", "1000"},
                      CurrencyCase{"1234.56785", "1234.5678"},  // tie at the fifth: to even
                      CurrencyCase{"1234.56775", "1234.5678"},
                      CurrencyCase{"922337203685477.5807", "922337203685477.5807"}));

TEST(NumberToCurrency, RefusesAmountsBeyondMoney) {
    EXPECT_THROW(ToCurrency(QStringLiteral("1e20")), std::out_of_range);
    EXPECT_THROW(ToCurrency(QStringLiteral("922337203685478")), std::out_of_range);
}

struct RoundCase {
    const char* text;
    int decimals;
    const char* expected;
};

class RoundHalfUpText : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundHalfUpText, RoundsTiesUpward) {
    const RoundCase& c = GetParam();
    EXPECT_EQ(RoundHalfUp(QString::fromUtf8(c.text), c.decimals), money(c.expected))
        << c.text << " @" << c.decimals;
}

INSTANTIATE_TEST_SUITE_P(
    Ties, RoundHalfUpText,
    ::testing::Values(RoundCase{"2.5", 0, "3"}, RoundCase{"3.5", 0, "4"},
                      RoundCase{"-2.5", 0, "-2"}, RoundCase{"-3.5", 0, "-3"},
                      RoundCase{"0.5", 0, "1"}, RoundCase{"-0.5", 0, "0"},
                      RoundCase{"2.345", 2, "2.35"}, RoundCase{"0.125", 2, "0.13"},
                      RoundCase{"0.135", 2, "0.14"}, RoundCase{"1.23445", 4, "1.2345"},
                      RoundCase{"1.23455", 4, "1.2346"}, RoundCase{"12345.5", 0, "12346"},
                      RoundCase{"0.25", 1, "0.3"}, RoundCase{"-0.25", 1, "-0.2"},
                      RoundCase{"-0.125", 2, "-0.12"}, RoundCase{"1.0005", 3, "1.001"},
                      RoundCase{"-1.0005", 3, "-1"}));

// Rounding first to d + 1 decimals lets a digit below the tie carry the result up (1.46 -> 1.5
// -> 2) and lets a tie at d + 2 decimals fall back to even (1.45 -> 1.4 -> 1).
INSTANTIATE_TEST_SUITE_P(DoubleRounding, RoundHalfUpText,
                         ::testing::Values(RoundCase{"1.46", 0, "2"}, RoundCase{"1.44", 0, "1"},
                                           RoundCase{"1.45", 0, "1"}, RoundCase{"1.55", 0, "2"},
                                           RoundCase{"-1.46", 0, "-1"}, RoundCase{"-1.54", 0, "-1"},
                                           RoundCase{"12.0451", 1, "12.1"},
                                           RoundCase{"12.0449", 1, "12"},
                                           RoundCase{"0.045", 1, "0"}, RoundCase{"0.055", 1, "0.1"},
                                           RoundCase{"2.4449", 2, "2.45"},
                                           RoundCase{"2.4449", 3, "2.445"}));

INSTANTIATE_TEST_SUITE_P(
    Texts, RoundHalfUpText,
    ::testing::Values(RoundCase{"1234.5", 3, "1234.5"}, RoundCase{"1.23456", 4, "1.2346"},
                      RoundCase{"7", 2, "7"}, RoundCase{"  2.5  ", 0, "3"},
                      // digits far past the double's precision still decide
                      RoundCase{"2.50000000000000000000000001", 0, "3"},
                      RoundCase{"2.44999999999999999999999999", 0, "2"},
                      RoundCase{"2.49999999999999999999999999", 0, "3"},
                      RoundCase{"0.0450000000000000000000001", 1, "0.1"},
                      RoundCase{"123456789012.123456789012345678", 4, "123456789012.1235"},
                      RoundCase{"2.5e0", 0, "3"}, RoundCase{"25e-1", 0, "3"},
                      RoundCase{"1.5E2", 0, "150"}, RoundCase{"12.345abc", 2, "12.35"},
                      RoundCase{"abc", 2, "0"}, RoundCase{"", 0, "0"}, RoundCase{"-", 0, "0"},
                      RoundCase{"0e40", 0, "0"}, RoundCase{"-0.0001", 2, "0"},
                      RoundCase{"922337203685477.5807", 4, "922337203685477.5807"}));

TEST(RoundHalfUpText, RefusesWhatCannotBeRounded) {
    EXPECT_THROW(RoundHalfUp(QStringLiteral("1e16"), 0), std::out_of_range);
    EXPECT_THROW(RoundHalfUp(QStringLiteral("1e40"), 0), std::out_of_range);
    EXPECT_THROW(RoundHalfUp(QStringLiteral("922337203685477.58075"), 4), std::out_of_range);
    EXPECT_THROW(RoundHalfUp(QStringLiteral("1"), -1), std::invalid_argument);
}

struct DoubleRoundCase {
    double value;
    int decimals;
    const char* expected;
};

class RoundHalfUpDouble : public ::testing::TestWithParam<DoubleRoundCase> {};

// The double is taken as the decimal it reads as, not as its binary value (2.675 is stored
// just below 2.675).
TEST_P(RoundHalfUpDouble, RoundsTheShortestDecimalText) {
    const DoubleRoundCase& c = GetParam();
    EXPECT_EQ(RoundHalfUp(c.value, c.decimals), money(c.expected)) << c.value << " @" << c.decimals;
}

INSTANTIATE_TEST_SUITE_P(
    Values, RoundHalfUpDouble,
    ::testing::Values(DoubleRoundCase{2.675, 2, "2.68"}, DoubleRoundCase{1.005, 2, "1.01"},
                      DoubleRoundCase{0.285, 2, "0.29"}, DoubleRoundCase{1.15, 1, "1.2"},
                      DoubleRoundCase{-2.5, 0, "-2"}, DoubleRoundCase{1e-7, 2, "0"},
                      DoubleRoundCase{0.1 + 0.2, 1, "0.3"},
                      DoubleRoundCase{123456789.125, 2, "123456789.13"},
                      DoubleRoundCase{1e14, 0, "100000000000000"}));

TEST(RoundHalfUpMoney, RoundsBelowFourDecimalsOnly) {
    EXPECT_EQ(RoundHalfUp(money("2.345"), 2), money("2.35"));
    EXPECT_EQ(RoundHalfUp(money("-2.5"), 0), money("-2"));
    EXPECT_EQ(RoundHalfUp(money("1.46"), 0), money("2"));
    EXPECT_EQ(RoundHalfUp(money("1.2345"), 4), money("1.2345"));
    EXPECT_EQ(RoundHalfUp(money("1.2345"), 6), money("1.2345"));
    EXPECT_EQ(RoundHalfUp(money("922337203685477.4"), 0), money("922337203685477"));
}

TEST(RoundHalfUpPercent, RoundsPercentagesAlike) {
    EXPECT_EQ(RoundHalfUpPercent(2.5, 0), 3.0);
    EXPECT_EQ(RoundHalfUpPercent(-2.5, 0), -2.0);
    EXPECT_EQ(RoundHalfUpPercent(12.345, 2), 12.35);
    EXPECT_EQ(RoundHalfUpPercent(33.333333, 2), 33.33);
    EXPECT_EQ(RoundHalfUpPercent(1.46, 0), 2.0);
    EXPECT_EQ(RoundHalfUpPercent(0.123456785, 8), 0.12345679);
    EXPECT_EQ(RoundHalfUpPercent(1e300, 2), 1e300);
    EXPECT_TRUE(std::isnan(RoundHalfUpPercent(std::nan(""), 2)));
}

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(12.5), 12);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(30.56), 31);
    EXPECT_EQ(RoundHalfEven(10.49), 10);
    EXPECT_EQ(RoundHalfEven(-9223372036854774784.0), -9223372036854774784LL);
    EXPECT_THROW(RoundHalfEven(9223372036854775808.0), std::out_of_range);
    EXPECT_THROW(RoundHalfEven(std::nan("")), std::out_of_range);
}

struct FormatCase {
    const char* amount;
    const char* text;
};

class FormatAmountCase : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatAmountCase, GroupsByThreeWithSlash) {
    EXPECT_EQ(FormatAmount(money(GetParam().amount)), QString::fromUtf8(GetParam().text));
}

TEST_P(FormatAmountCase, ParseAmountReadsItBack) {
    EXPECT_EQ(ParseAmount(QString::fromUtf8(GetParam().text)), money(GetParam().amount));
}

INSTANTIATE_TEST_SUITE_P(
    Amounts, FormatAmountCase,
    ::testing::Values(FormatCase{"999", "999"}, FormatCase{"1000", "1/000"},
                      FormatCase{"1234567.5", "1/234/567.5"}, FormatCase{"0.5", "0.5"},
                      FormatCase{"0", "0"}, FormatCase{"-1234", "-1/234"},
                      FormatCase{"-123", "-123"}, FormatCase{"-123456", "-123/456"},
                      FormatCase{"123456", "123/456"}, FormatCase{"1000000", "1/000/000"},
                      FormatCase{"12", "12"}, FormatCase{"0.0001", "0.0001"},
                      FormatCase{"-0.5", "-0.5"}, FormatCase{"10000.25", "10/000.25"},
                      FormatCase{"922337203685477.5807", "922/337/203/685/477.5807"}));

TEST(FormatAmountCase, ParseAmountRoundTripsAnyAmount) {
    std::mt19937_64 random(1405);
    std::uniform_int_distribution<std::int64_t> raw(std::numeric_limits<std::int64_t>::min() + 1,
                                                    std::numeric_limits<std::int64_t>::max());
    for (int i = 0; i < 3000; ++i) {
        const Money value = Money::fromRaw(i % 2 ? raw(random) : raw(random) / 100000000);
        ASSERT_EQ(ParseAmount(FormatAmount(value)), value) << FormatAmount(value).toStdString();
    }
}

TEST(FormatAmountCase, ParseAmountOfNonNumbersIsZero) {
    EXPECT_EQ(ParseAmount(QString()), Money());
    EXPECT_EQ(ParseAmount(QStringLiteral("abc")), Money());
    EXPECT_EQ(ParseAmount(QStringLiteral("/")), Money());
}

struct NoneCase {
    QVariant value;
    int expected;
};

class NumberNoneToMinus1 : public ::testing::TestWithParam<NoneCase> {};

TEST_P(NumberNoneToMinus1, MapsNoneAndNumbers) {
    EXPECT_EQ(NoneToMinus1(GetParam().value), GetParam().expected)
        << GetParam().value.toString().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Values, NumberNoneToMinus1,
    ::testing::Values(NoneCase{QStringLiteral("ندارد"), -1}, NoneCase{QStringLiteral("12"), 12},
                      NoneCase{QStringLiteral("12.5"), 12},  // to even
                      NoneCase{QStringLiteral("13.5"), 14}, NoneCase{QStringLiteral("-7abc"), -7},
                      NoneCase{QStringLiteral("abc"), 0}, NoneCase{QStringLiteral(" ندارد"), 0},
                      NoneCase{QVariant(), 0}, NoneCase{QVariant(42), 42}));

TEST(NumberNoneToMinus1, RefusesValuesBeyond32Bits) {
    EXPECT_THROW(NoneToMinus1(QStringLiteral("3000000000")), std::out_of_range);
}

TEST(NumberRepeatText, RepeatsOrGivesEmpty) {
    EXPECT_EQ(RepeatText(QStringLiteral("ab"), 3), QStringLiteral("ababab"));
    EXPECT_EQ(RepeatText(QStringLiteral("-"), 1), QStringLiteral("-"));
    EXPECT_EQ(RepeatText(QStringLiteral("x"), 0), QString());
    EXPECT_EQ(RepeatText(QStringLiteral("x"), -2), QString());
    EXPECT_EQ(RepeatText(QString(), 5), QString());
    EXPECT_EQ(RepeatText(QStringLiteral("ـ"), 4).size(), 4);
}

struct IntCase {
    double value;
    std::int64_t expected;  // ignored when it throws
    bool fits;
};

class NumberToInt32 : public ::testing::TestWithParam<IntCase> {};
class NumberToInt16 : public ::testing::TestWithParam<IntCase> {};

TEST_P(NumberToInt32, RoundsHalfToEvenAndChecksRange) {
    const IntCase& c = GetParam();
    if (c.fits) {
        EXPECT_EQ(ToInt32(c.value), c.expected) << c.value;
    } else {
        EXPECT_THROW(ToInt32(c.value), std::out_of_range) << c.value;
    }
}

TEST_P(NumberToInt16, RoundsHalfToEvenAndChecksRange) {
    const IntCase& c = GetParam();
    if (c.fits) {
        EXPECT_EQ(ToInt16(c.value), c.expected) << c.value;
    } else {
        EXPECT_THROW(ToInt16(c.value), std::out_of_range) << c.value;
    }
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(Values, NumberToInt32,
                         ::testing::Values(IntCase{2.5, 2, true}, IntCase{3.5, 4, true},
                                           IntCase{-2.5, -2, true}, IntCase{-3.5, -4, true},
                                           IntCase{2.4999, 2, true}, IntCase{0, 0, true},
                                           IntCase{2147483647.4, 2147483647, true},
                                           IntCase{-2147483648.5, -2147483648LL, true},
                                           IntCase{2147483647.5, 0, false},
                                           IntCase{-2147483649, 0, false}, IntCase{1e300, 0, false},
                                           IntCase{kNaN, 0, false}));

INSTANTIATE_TEST_SUITE_P(Values, NumberToInt16,
                         ::testing::Values(IntCase{32766.5, 32766, true},
                                           IntCase{32767.4, 32767, true},
                                           IntCase{-32768.5, -32768, true},
                                           IntCase{32767.5, 0, false}, IntCase{-32769, 0, false},
                                           IntCase{kNaN, 0, false}));

}  // namespace
}  // namespace si
