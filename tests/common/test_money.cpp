#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <stdexcept>

#include "common/Money.h"

namespace si {
namespace {

constexpr std::int64_t kMaxRaw = std::numeric_limits<std::int64_t>::max();

struct ParseCase {
    const char* text;
    std::optional<std::int64_t> raw;
};

class MoneyParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(MoneyParse, ReadsExactDecimalText) {
    const ParseCase& c = GetParam();
    const auto money = Money::parse(QString::fromUtf8(c.text));
    ASSERT_EQ(money.has_value(), c.raw.has_value()) << c.text;
    if (c.raw) {
        EXPECT_EQ(money->raw(), *c.raw) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MoneyParse,
    ::testing::Values(ParseCase{"1234.5", 12345000}, ParseCase{" 12 ", 120000},
                      ParseCase{"-0.25", -2500}, ParseCase{"+3", 30000}, ParseCase{"1.", 10000},
                      ParseCase{".5", 5000}, ParseCase{"0", 0}, ParseCase{"-0", 0},
                      // a fifth decimal rounds half to even, later digits break the tie
                      ParseCase{"0.00005", 0}, ParseCase{"0.00015", 2}, ParseCase{"0.00025", 2},
                      ParseCase{"0.000051", 1}, ParseCase{"0.00004999", 0},
                      ParseCase{"-0.00015", -2}, ParseCase{"1.99999", 20000},
                      ParseCase{"922337203685477.5807", kMaxRaw},
                      ParseCase{"-922337203685477.5807", -kMaxRaw},
                      // beyond the range of Money
                      ParseCase{"922337203685477.5808", std::nullopt},
                      ParseCase{"922337203685477.58075", std::nullopt},
                      ParseCase{"1000000000000000", std::nullopt},
                      ParseCase{"99999999999999999999", std::nullopt},
                      // not plain decimal text
                      ParseCase{"", std::nullopt}, ParseCase{"  ", std::nullopt},
                      ParseCase{"-", std::nullopt}, ParseCase{".", std::nullopt},
                      ParseCase{"1.2.3", std::nullopt}, ParseCase{"1,000", std::nullopt},
                      ParseCase{"1/000", std::nullopt}, ParseCase{"abc", std::nullopt},
                      ParseCase{"12abc", std::nullopt}, ParseCase{"1e3", std::nullopt},
                      ParseCase{"--1", std::nullopt}, ParseCase{"1 2", std::nullopt}));

struct TextCase {
    std::int64_t raw;
    const char* text;
};

class MoneyToString : public ::testing::TestWithParam<TextCase> {};

TEST_P(MoneyToString, WritesShortestText) {
    EXPECT_EQ(Money::fromRaw(GetParam().raw).toString(), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Values, MoneyToString,
    ::testing::Values(TextCase{0, "0"}, TextCase{-30000, "-3"}, TextCase{2500, "0.25"},
                      TextCase{-2500, "-0.25"}, TextCase{1, "0.0001"}, TextCase{-1, "-0.0001"},
                      TextCase{12345000, "1234.5"}, TextCase{100000000, "10000"},
                      TextCase{kMaxRaw, "922337203685477.5807"},
                      TextCase{std::numeric_limits<std::int64_t>::min(), "-922337203685477.5808"}));

TEST(MoneyText, ParseReadsBackWhatToStringWrote) {
    std::mt19937_64 random(20240320);
    std::uniform_int_distribution<std::int64_t> any(-kMaxRaw, kMaxRaw);
    std::uniform_int_distribution<std::int64_t> small(-100000000, 100000000);
    for (int i = 0; i < 2000; ++i) {
        for (const std::int64_t raw : {any(random), small(random)}) {
            const Money money = Money::fromRaw(raw);
            const auto back = Money::parse(money.toString());
            ASSERT_TRUE(back.has_value()) << money.toString().toStdString();
            EXPECT_EQ(back->raw(), raw);
        }
    }
}

struct DoubleCase {
    double value;
    std::int64_t raw;
};

class MoneyFromDouble : public ::testing::TestWithParam<DoubleCase> {};

TEST_P(MoneyFromDouble, RoundsToFourDecimals) {
    EXPECT_EQ(Money::fromDouble(GetParam().value).raw(), GetParam().raw) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Values, MoneyFromDouble,
                         ::testing::Values(DoubleCase{1.5, 15000}, DoubleCase{-2.25, -22500},
                                           DoubleCase{0.1 + 0.2, 3000},
                                           DoubleCase{1234.5678, 12345678}, DoubleCase{0.00006, 1},
                                           DoubleCase{-0.00006, -1}, DoubleCase{0.00004, 0},
                                           DoubleCase{1e14, 1000000000000000000}));

TEST(MoneyFromDouble, RefusesWhatDoesNotFit) {
    EXPECT_THROW(Money::fromDouble(1e15), std::out_of_range);
    EXPECT_THROW(Money::fromDouble(-1e300), std::out_of_range);
    EXPECT_THROW(Money::fromDouble(std::numeric_limits<double>::quiet_NaN()), std::out_of_range);
    EXPECT_THROW(Money::fromDouble(std::numeric_limits<double>::infinity()), std::out_of_range);
}

struct TimesCase {
    std::int64_t raw;
    double factor;
    std::int64_t expected;
};

class MoneyTimes : public ::testing::TestWithParam<TimesCase> {};

TEST_P(MoneyTimes, ProductComesBackToFourDecimals) {
    const TimesCase& c = GetParam();
    EXPECT_EQ(Money::fromRaw(c.raw).times(c.factor).raw(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Factors, MoneyTimes,
    ::testing::Values(TimesCase{100000000, 0.09, 9000000},  // 9% of 10000 Rials
                      TimesCase{1000000, 1.0 / 3, 333333}, TimesCase{1000000, 2.0 / 3, 666667},
                      TimesCase{1, 0.5, 0}, TimesCase{3, 0.5, 2},  // ties go to even
                      TimesCase{-3, 0.5, -2}, TimesCase{123456789, 1, 123456789},
                      TimesCase{123456789, 0, 0}, TimesCase{50000, -1.5, -75000},
                      TimesCase{kMaxRaw, 1, kMaxRaw}));

TEST(MoneyTimes, RefusesProductsThatDoNotFit) {
    EXPECT_THROW(Money::fromRials(900000000000000).times(100), std::out_of_range);
    EXPECT_THROW(Money::fromRials(1).times(std::numeric_limits<double>::quiet_NaN()),
                 std::out_of_range);
}

TEST(MoneyFromVariant, ConvertsWhatTheDatabaseHandsBack) {
    EXPECT_EQ(Money::fromVariant(QVariant()).raw(), 0);
    EXPECT_EQ(Money::fromVariant(QVariant(QMetaType::fromType<double>())).raw(), 0);
    EXPECT_EQ(Money::fromVariant(QVariant(5)).raw(), 50000);
    EXPECT_EQ(Money::fromVariant(QVariant(qlonglong(123456789012))).raw(), 1234567890120000);
    EXPECT_EQ(Money::fromVariant(QVariant(2.5)).raw(), 25000);
    EXPECT_EQ(Money::fromVariant(QVariant(QStringLiteral("12.3456"))).raw(), 123456);
    EXPECT_EQ(Money::fromVariant(QVariant(QStringLiteral("abc"))).raw(), 0);
    EXPECT_EQ(Money::fromVariant(QVariant::fromValue(Money::fromRaw(-7))).raw(), -7);
}

}  // namespace
}  // namespace si
