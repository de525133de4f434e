// frmSelDeleteReason: the reasons in cmbDeleteReason with their sequences as item data; OK hands
// the chosen sequence to the delete, Cancel hands nothing.

#include <gtest/gtest.h>
#include <QComboBox>
#include <QPushButton>

#include "posting/ui/FrmSelDeleteReason.h"

namespace si::test {
namespace {

const QVector<DeleteReason> kReasons{{3, QStringLiteral("اشتباه در ورود")},
                                     {7, QStringLiteral("انصراف مشتري")}};

std::optional<int> choose(int index, const char* button) {
    DialogDeleteReasonChooser chooser(nullptr);
    chooser.present = [&](FrmSelDeleteReason& dialog) {
        auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("cmbDeleteReason"));
        ASSERT_NE(combo, nullptr);
        ASSERT_EQ(combo->count(), 2);
        EXPECT_EQ(combo->itemText(1), QStringLiteral("انصراف مشتري"));
        combo->setCurrentIndex(index);
        dialog.findChild<QPushButton*>(QString::fromLatin1(button))->click();
    };
    return chooser.chooseReason(kReasons);
}

TEST(DeleteReasonForm, OkHandsTheChosenSequenceAndCancelNothing) {
    EXPECT_EQ(choose(1, "cmdOK"), 7);
    EXPECT_EQ(choose(0, "cmdOK"), 3);
    EXPECT_EQ(choose(1, "cmdCancel"), std::nullopt);
}

}  // namespace
}  // namespace si::test
