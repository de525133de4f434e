// The Jalali date field: it shows yyyy/mm/dd, keeps the Gregorian value and its parts, accepts
// an empty entry and refuses an impossible day.

#include <gtest/gtest.h>
#include <QSignalSpy>
#include <QTest>

#include "controls/ui/JalaliDateEdit.h"

namespace si {
namespace {

TEST(JalaliDateEditTest, ShowsJalaliTextOverTheGregorianValue) {
    JalaliDateEdit edit;
    QSignalSpy changed(&edit, &JalaliDateEdit::dateChanged);
    edit.setDate(QDate(2026, 3, 21));
    EXPECT_EQ(edit.jalaliText(), QStringLiteral("1405/01/01"));
    EXPECT_EQ(edit.text(), QStringLiteral("1405/01/01"));
    EXPECT_EQ(edit.year(), 1405);
    EXPECT_EQ(edit.month(), 1);
    EXPECT_EQ(edit.day(), 1);
    edit.setJalaliText(QStringLiteral("1403/12/30"));  // a leap year's last day
    EXPECT_EQ(edit.date(), QDate(2025, 3, 20));
    EXPECT_EQ(changed.count(), 2);
    edit.setJalaliText(QStringLiteral("1404/12/30"));  // no such day: the field empties
    EXPECT_TRUE(edit.isEmpty());
    EXPECT_TRUE(edit.jalaliText().isEmpty());
}

TEST(JalaliDateEditTest, TypedTextIsCommittedOrRefused) {
    JalaliDateEdit edit;
    edit.setDate(QDate(2026, 12, 6));
    edit.selectAll();
    QTest::keyClicks(&edit, QStringLiteral("14050101"));
    Q_EMIT edit.editingFinished();
    EXPECT_EQ(edit.date(), QDate(2026, 3, 21));
    edit.setText(QStringLiteral("1405/13/40"));
    Q_EMIT edit.editingFinished();
    EXPECT_EQ(edit.date(), QDate(2026, 3, 21));  // an impossible date keeps the last one
    EXPECT_EQ(edit.text(), QStringLiteral("1405/01/01"));
    edit.clear();
    Q_EMIT edit.editingFinished();
    EXPECT_TRUE(edit.isEmpty());
}

}  // namespace
}  // namespace si
