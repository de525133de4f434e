#include <gtest/gtest.h>

#include <stdexcept>

#include "common/Numbers.h"

namespace si {
namespace {

// The words, then the blanks the joining leaves at the end (written apart to keep them visible).
struct WordsCase {
    qint64 rials;
    const char* words;
    int trailingBlanks;
};

QString expectedText(const WordsCase& c) {
    return QString::fromUtf8(c.words) + QString(c.trailingBlanks, QLatin1Char(' '));
}

class AmountInWordsCase : public ::testing::TestWithParam<WordsCase> {};

TEST_P(AmountInWordsCase, WritesPersianWordsWithTheirBlanks) {
    const WordsCase& c = GetParam();
    EXPECT_EQ(AmountInWordsOfRials(c.rials), expectedText(c)) << c.rials;
    if (c.rials < 922337203685477) {
        EXPECT_EQ(AmountInWords(Money::fromRials(c.rials)), expectedText(c));
    }
}

// Below a thousand: units, teens, tens and hundreds, each joined with " و "; a group alone ends
// with two blanks, and one more when its own words end on the empty unit word.
INSTANTIATE_TEST_SUITE_P(
    BelowThousand, AmountInWordsCase,
    ::testing::Values(WordsCase{0, "صفر", 0}, WordsCase{1, "يك", 2}, WordsCase{5, "پنج", 2},
                      WordsCase{9, "نه", 2}, WordsCase{10, "ده", 2}, WordsCase{11, "يازده", 2},
                      WordsCase{15, "پانزده", 2}, WordsCase{19, "نوزده", 2},
                      WordsCase{20, "بيست", 3}, WordsCase{21, "بيست و يك", 2},
                      WordsCase{38, "سي و هشت", 2}, WordsCase{40, "چهل", 3},
                      WordsCase{56, "پنجاه و شش", 2}, WordsCase{67, "شصت و هفت", 2},
                      WordsCase{74, "هفتاد و چهار", 2}, WordsCase{83, "هشتاد و سه", 2},
                      WordsCase{99, "نود و نه", 2}, WordsCase{100, "يكصد", 3},
                      WordsCase{105, "يكصد و پنج", 2}, WordsCase{110, "يكصد و ده", 2},
                      WordsCase{117, "يكصد و هفده", 2}, WordsCase{120, "يكصد و بيست", 3},
                      WordsCase{200, "دويست", 3}, WordsCase{312, "سيصد و دوازده", 2},
                      WordsCase{413, "چهارصد و سيزده", 2}, WordsCase{514, "پانصد و چهارده", 2},
                      WordsCase{616, "ششصد و شانزده", 2}, WordsCase{718, "هفتصد و هجده", 2},
                      WordsCase{800, "هشتصد", 3}, WordsCase{999, "نهصد و نود و نه", 2}));

// Each higher group adds its scale and one blank, joined to the lower groups with " و ".
INSTANTIATE_TEST_SUITE_P(
    Scales, AmountInWordsCase,
    ::testing::Values(
        WordsCase{1000, "يك هزار", 1}, WordsCase{1001, "يك هزار و يك", 2},
        WordsCase{20000, "بيست  هزار", 1}, WordsCase{100000, "يكصد  هزار", 1},
        WordsCase{2000000, "دو ميليون", 1}, WordsCase{1000001, "يك ميليون و يك", 2},
        WordsCase{1234567, "يك ميليون و دويست و سي و چهار هزار و پانصد و شصت و هفت", 2},
        WordsCase{3000000000, "سه ميليارد", 1}, WordsCase{3000005000, "سه ميليارد و پنج هزار", 1},
        WordsCase{4000000000000, "چهار تريليون", 1}, WordsCase{5000000000000000, "پنج تريليارد", 1},
        WordsCase{12000000000000000, "دوازده تريليارد", 1},
        WordsCase{999999999999999999,
                  "نهصد و نود و نه تريليارد و نهصد و نود و نه تريليون و نهصد و نود و نه ميليارد"
                  " و نهصد و نود و نه ميليون و نهصد و نود و نه هزار و نهصد و نود و نه",
                  2}));

TEST(AmountInWordsMoney, UsesTheWholeRialsOnly) {
    const QString words = QStringLiteral("يك هزار و دويست و سي و چهار  ");
    EXPECT_EQ(AmountInWords(Money::parse(u"1234.99").value()), words);
    EXPECT_EQ(AmountInWords(Money::parse(u"1234.0001").value()), words);
    // Only zero itself reads "صفر"; a fraction of a Rial has no words.
    EXPECT_EQ(AmountInWords(Money::parse(u"0.5").value()), QString());
}

TEST(AmountInWordsMoney, ReachesTheLargestAmount) {
    EXPECT_EQ(AmountInWords(Money::fromRaw(std::numeric_limits<std::int64_t>::max())),
              QStringLiteral("نهصد و بيست و دو تريليون و سيصد و سي و هفت ميليارد و دويست و سه "
                             "ميليون و ششصد و هشتاد و پنج هزار و چهارصد و هفتاد و هفت  "));
}

TEST(AmountInWordsMoney, WritesNegativesAfterTheWordMinus) {
    EXPECT_EQ(AmountInWords(Money::fromRials(-5)), QStringLiteral("منفي پنج  "));
    EXPECT_EQ(AmountInWordsOfRials(-1000), QStringLiteral("منفي يك هزار "));
}

TEST(AmountInWordsMoney, RefusesEighteenDigitsAndMore) {
    EXPECT_THROW(AmountInWordsOfRials(1000000000000000000), std::out_of_range);
    EXPECT_THROW(AmountInWordsOfRials(-1000000000000000000), std::out_of_range);
    EXPECT_THROW(AmountInWordsOfRials(std::numeric_limits<qint64>::min()), std::out_of_range);
}

}  // namespace
}  // namespace si
