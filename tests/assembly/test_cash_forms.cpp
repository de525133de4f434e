// The shop's cash-turn windows of the invoice form: the contents of a turn as its labels show
// them, a turn the user was only admitted to, the right to see them, and the turn selector and
// change fields on the form itself.

#include <gtest/gtest.h>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "assembly/ui/InvoiceModuleUi.h"
#include "invoice/ui/FormMain.h"
#include "posting/PostingTestSupport.h"
#include "posting/ui/FrmCashContents.h"
#include "suite/CashTurnManager.h"

namespace si::test {
namespace {

class CashFormsTest : public PostingTest {
protected:
    void SetUp() override {
        PostingTest::SetUp();
        useParameter(P::ShopMode, QStringLiteral("1"));
        cash = static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblRecPayCash (Name) values ('صندوق_جلو') RETURNING ID")));
        db().exec(QStringLiteral("insert into tblRecPayCashUser (CashID, UserID) values (?, ?)"),
                  {cash, ctx.globals.CurrentUserID});
        turn = suite::CashTurnManager(db(), ctx.globals.CurrentUserID).OpenTurn(cash).id;
    }
    int cash = 0;
    qint64 turn = 0;
};

TEST_P(CashFormsTest, TheContentsFormShowsTheTurnsFigures) {
    db().exec(QStringLiteral("insert into tblRecPayCashTurnDetail (CashTurnID, ReceivedValue, "
                             "PayedValue) values (?, ?, ?)"),
              {turn, QVariant::fromValue(Money::fromRials(1234567)),
               QVariant::fromValue(Money::fromRials(1000))});
    FrmCashContents form(ctx, cash, 1, QStringLiteral("صندوق"));
    EXPECT_EQ(form.label(QStringLiteral("lblCashID")), QStringLiteral("1"));
    EXPECT_EQ(form.label(QStringLiteral("lblCreator")), QString::number(ctx.globals.CurrentUserID));
    EXPECT_EQ(form.label(QStringLiteral("lblReceive")), QStringLiteral("1/234/567"));
    EXPECT_EQ(form.label(QStringLiteral("lblPay")), QStringLiteral("1/000"));
    EXPECT_EQ(form.label(QStringLiteral("lblInvoicesNum")), QStringLiteral("0"));
    EXPECT_EQ(form.label(QStringLiteral("lblTotalRemValue")), QStringLiteral("0"));
    EXPECT_EQ(form.label(QStringLiteral("lblCloseDate")), QString());
    EXPECT_EQ(form.findChild<QComboBox*>(QStringLiteral("cmbCashTurn"))->currentText(),
              QStringLiteral("صندوق_جلو_1"));
}

// A turn of another owner is for selling into, not for reading: the contents form has nothing to
// show and closes as soon as it is active.
TEST_P(CashFormsTest, AnAdmittedTurnIsNotTheUsersToRead) {
    const int owner = addUser(QStringLiteral("صندوقدار"), false);
    db().exec(QStringLiteral("insert into tblRecPayCashUser (CashID, UserID) values (?, ?)"),
              {cash, owner});
    suite::CashTurnManager(db(), ctx.globals.CurrentUserID).CloseTurn(turn);
    const qint64 theirs = suite::CashTurnManager(db(), owner).OpenTurn(cash).id;
    suite::CashTurnManager(db(), owner).AdmitUser(theirs, ctx.globals.CurrentUserID);
    FrmCashContents form(ctx, cash, 2, QStringLiteral("صندوق"));
    EXPECT_TRUE(form.label(QStringLiteral("lblCashID")).isEmpty());
    form.show();
    form.activateWindow();
    EXPECT_TRUE(QTest::qWaitFor([&form] { return !form.isVisible(); }, 3000));
    EXPECT_EQ(form.result(), QDialog::Rejected);
}

TEST_P(CashFormsTest, TheContentsNeedTheirRight) {
    const int cashier = addUser(QStringLiteral("صندوقدار"), false);
    ctx.globals.CurrentUserID = cashier;
    form->doc().CashID = cash;
    form->doc().Turn = 1;
    cmdCashTurnPrint_Click(ctx, form->doc(), nullptr);
    EXPECT_EQ(messages.last().text, kNoRightMessage);
}

// The form in shop mode: the selector holds the open turn, Enter in the cash field counts the
// change, and entering the change field selects both amounts.
TEST_P(CashFormsTest, TheFormOffersTheTurnAndCountsTheChange) {
    FormMain view(ctx);
    auto installed = InstallModule(view);
    view.ClearShow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    auto* combo = view.findChild<QComboBox*>(QStringLiteral("cmbCashTurn"));
    ASSERT_EQ(combo->count(), 1);
    EXPECT_TRUE(combo->isVisible());
    EXPECT_TRUE(combo->currentText().startsWith(QStringLiteral("صندوق_جلو_1_")));
    view.logic().cmdNew_Click();
    view.logic().doc().totals.GrandTotal = Money::fromRials(85000);
    auto* given = view.findChild<QLineEdit*>(QStringLiteral("txtTempCustomerCash"));
    auto* change = view.findChild<QLineEdit*>(QStringLiteral("txtTempCustomerCashReturn"));
    given->setFocus();
    QTest::keyClicks(given, QStringLiteral("100000"));
    QTest::keyClick(given, Qt::Key_Return);
    EXPECT_EQ(change->text(), QStringLiteral("15/000"));
    change->setFocus();
    EXPECT_TRUE(QTest::qWaitFor([change] { return !change->selectedText().isEmpty(); }, 2000));
    EXPECT_EQ(change->selectedText(), QStringLiteral("15/000"));
    EXPECT_EQ(given->selectedText(), QStringLiteral("100000"));
}

SI_INSTANTIATE_BACKENDS(CashFormsTest);

}  // namespace
}  // namespace si::test
