// The fold of look-ups: Arabic and Persian letters and the three kinds of digits become one and
// nothing else changes; a prefix is a range of keys and a contains pattern keeps typed wildcards
// plain and ignores case.

#include <gtest/gtest.h>

#include "common/FoldedText.h"

namespace si {
namespace {

TEST(FoldedText, ArabicAndPersianLettersAndDigitsFoldAlike) {
    const QString arabic = QStringLiteral("كيك امينى ١٢٣ ٠٩-Xy");
    const QString persian = QStringLiteral("کیک امینی ۱۲۳ ۰۹-Xy");
    const QString latin = QStringLiteral("کیک امینی 123 09-Xy");
    EXPECT_EQ(FoldedText(arabic), latin);
    EXPECT_EQ(FoldedText(persian), latin);
    EXPECT_EQ(FoldedText(latin), latin);
    // Every other character stays, one for one: letters that only look alike are not merged.
    const QString others = QStringLiteral("ﻙ ة ه أ ا ‌ AbC É ß 9%_\\'");
    EXPECT_EQ(FoldedText(others), others);
    EXPECT_EQ(FoldedText(QString()), QString());
}

TEST(FoldedText, TheTranslateTablesAreTheFold) {
    const QString from = FoldedTextFrom();
    const QString to = FoldedTextTo();
    ASSERT_EQ(from.size(), to.size());
    for (qsizetype i = 0; i < from.size(); ++i) {
        EXPECT_NE(from[i], to[i]) << i;
        EXPECT_EQ(FoldedText(QString(from[i])), QString(to[i])) << i;
    }
}

TEST(FoldedText, APrefixIsTheRangeOfKeysThatBeginWithIt) {
    const FoldedRange range = FoldedPrefixRange(QStringLiteral("كي"));
    EXPECT_EQ(range.from, QStringLiteral("کی"));
    auto within = [&range](const QString& key) { return key >= range.from && key < range.to; };
    EXPECT_TRUE(within(QStringLiteral("کی")));
    EXPECT_TRUE(within(QStringLiteral("کیک")));
    EXPECT_TRUE(within(QStringLiteral("کی") + QChar(0xFFFF)));
    EXPECT_FALSE(within(QStringLiteral("ک")));
    EXPECT_FALSE(within(QStringLiteral("کک")));
    EXPECT_FALSE(within(QStringLiteral("گ")));
    EXPECT_EQ(FoldedPrefixRange(QStringLiteral("A۱")).to, QStringLiteral("A2"));
}

TEST(FoldedText, AContainsPatternKeepsWildcardsPlain) {
    EXPECT_EQ(FoldedContainsPattern(QStringLiteral("يA%_\\")), QStringLiteral("%یa\\%\\_\\\\%"));
}

}  // namespace
}  // namespace si
