// cmdViewAccountDetails: the right, the confidentiality of the customer's accounts under
// parameter 309, one account shown at once, several offered by title in frmSelectAccount, and the
// objects' turnover under parameter 311.

#include <gtest/gtest.h>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "common/Codes.h"
#include "linked/AccountTurnover.h"
#include "linked/RecordingSibling.h"
#include "linked/SelectAccountLogic.h"
#include "linked/ui/FrmSelectAccount.h"
#include "posting/PostingTestSupport.h"
#include "suite/LedgerViewers.h"

namespace si::test {
namespace {

const QString kSeveral = QStringLiteral(" بيش از يك حساب دارد. لطفا حساب مورد نظر را مشخص نماييد.");

class ScriptedChooser : public AccountChooser {
public:
    int chooseAccount(const QVector<CustomerAccount>& accounts, const QString& text) override {
        ++asked;
        offered = accounts;
        message = text;
        return answer;
    }
    int asked = 0;
    QVector<CustomerAccount> offered;
    QString message;
    int answer = -1;
};

class AccountTurnoverTest : public PostingTest {
protected:
    void SetUp() override {
        PostingTest::SetUp();
        RegisterRecording(components, kAccountDetailProgId, journal);
        ctx.globals.CurrentPositionID = 4;
        ctx.globals.CurrentEmployeeID = 9;
        command.setChooser(&chooser);
        subject.customerId = customer;
        parent = ledgerAccount("1103", "حسابهاي دريافتني", -1);
    }
    int ledgerAccount(const char* code, const char* title, int parentId) {
        return static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblAccount (Code, Title, ParentID, IsClosed) values (?, ?, "
                           "?, 0) RETURNING ID"),
            {QString::fromUtf8(code), QString::fromUtf8(title),
             parentId > 0 ? QVariant(parentId) : QVariant()}));
    }
    // An account of the customer under the receivables.
    int customerAccount(const char* code, const char* title) {
        const int id = ledgerAccount(code, title, parent);
        db().exec(QStringLiteral("insert into tblAccountRelatedObjects (AccountID, "
                                 "RelatedClassID, RelatedObjectID) values (?, 7, ?)"),
                  {id, customer});
        return id;
    }
    QStringList session() const {
        return {QStringLiteral("UserID=%1").arg(ctx.globals.CurrentUserID),
                QStringLiteral("PositionID=4"), QStringLiteral("EmployeeID=9"),
                QStringLiteral("OLEConnectionString=") + ctx.globals.CurrentConnectionString};
    }
    QStringList createdWith(const QString& call) const {
        return QStringList{QStringLiteral("create ") + kAccountDetailProgId} + session() << call;
    }
    void click() {
        journal->entries.clear();
        messages.clear();
        command.cmdViewAccountDetails_Click(subject);
    }

    std::shared_ptr<SiblingJournal> journal = std::make_shared<SiblingJournal>();
    ScriptedChooser chooser;
    AccountTurnoverCommand command{ctx};
    TurnoverSubject subject;
    int parent = -1;
};

TEST_P(AccountTurnoverTest, TheTurnoverNeedsItsRight) {
    const int account = customerAccount("110301", "حساب تهران");
    ctx.globals.CurrentUserID = addUser(QStringLiteral("فروشنده"), false);
    click();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, QStringLiteral("خطا"));
    EXPECT_EQ(messages.last().text, QStringLiteral("شما مجاز به انجام اين عمليات نيستيد."));
    EXPECT_TRUE(journal->entries.isEmpty());

    grant(ctx.globals.CurrentUserID, Right::AccountTurnover);
    click();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(journal->entries.last(), QStringLiteral("ShowAccount(%1)").arg(account));
}

TEST_P(AccountTurnoverTest, OneAccountIsShownAtOnceAndNoneShowsNothing) {
    click();
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(journal->entries.isEmpty());
    EXPECT_EQ(chooser.asked, 0);

    const int only = customerAccount("110301", "حساب تهران");
    click();
    EXPECT_EQ(journal->entries, createdWith(QStringLiteral("ShowAccount(%1)").arg(only)));
    EXPECT_EQ(chooser.asked, 0);
    // The form's control stays; it is handed the session again, which may have changed.
    click();
    EXPECT_EQ(journal->entries, session() << QStringLiteral("ShowAccount(%1)").arg(only));
}

TEST_P(AccountTurnoverTest, SeveralAccountsAreOfferedByTitleWithTheCustomersName) {
    const int tehran = customerAccount("110301", "حساب تهران");
    const int isfahan = customerAccount("110302", "حساب اصفهان");
    chooser.answer = tehran;
    click();
    ASSERT_EQ(chooser.asked, 1);
    ASSERT_EQ(chooser.offered.size(), 2);
    EXPECT_EQ(chooser.offered[0].id, isfahan);
    EXPECT_EQ(chooser.offered[0].AccountCode, QStringLiteral("110302"));
    EXPECT_EQ(chooser.offered[0].MotherCode, QStringLiteral("1103"));
    EXPECT_EQ(chooser.offered[0].MotherTitle, QStringLiteral("حسابهاي دريافتني"));
    EXPECT_EQ(chooser.offered[1].id, tehran);
    EXPECT_EQ(chooser.message, QStringLiteral("مشتري نمونه") + kSeveral);
    EXPECT_EQ(journal->entries, createdWith(QStringLiteral("ShowAccount(%1)").arg(tehran)));

    chooser.answer = -1;  // cancelled
    click();
    EXPECT_TRUE(journal->entries.isEmpty());
    EXPECT_TRUE(messages.empty());
}

TEST_P(AccountTurnoverTest, UnderParameter309OnlyPositionsTheAccountIsOpenToSeeIt) {
    const int account = customerAccount("110301", "حساب تهران");
    click();  // parameter 309 off: no check
    EXPECT_EQ(journal->entries.last(), QStringLiteral("ShowAccount(%1)").arg(account));

    useParameter(P::PositionCustomersOnly, QStringLiteral("1"));
    db().exec(QStringLiteral(
                  "insert into tblAccountSecurePosition (AccountID, PositionID) values (?, 5)"),
              {account});
    click();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, QStringLiteral("خطا"));
    EXPECT_EQ(messages.last().text,
              QStringLiteral("شما به مشاهده گردش حساب اين فرد/سازمان مجاز نيستيد."));
    EXPECT_TRUE(journal->entries.isEmpty());

    db().exec(QStringLiteral(
                  "insert into tblAccountSecurePosition (AccountID, PositionID) values (?, 4)"),
              {account});
    click();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(journal->entries.last(), QStringLiteral("ShowAccount(%1)").arg(account));
}

TEST_P(AccountTurnoverTest, UnderParameter311TheHeadersObjectsAreShown) {
    useParameter(P::PositionCustomersOnly, QStringLiteral("1"));  // not asked under 311
    useParameter(P::AccountObjects, QStringLiteral("1"));
    customerAccount("110301", "حساب تهران");
    customerAccount("110302", "حساب اصفهان");
    subject = {customer, 7, customer, 4, 31};
    click();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(chooser.asked, 0);
    EXPECT_EQ(journal->entries,
              createdWith(QStringLiteral("ShowObjectTurnover(7,%1,4,31)").arg(customer)));
}

TEST_P(AccountTurnoverTest, TheFormsButtonShowsTheChosenCustomersAccount) {
    const int account = customerAccount("110301", "حساب تهران");
    form->cmdNew_Click();
    form->doc().sltCustomer.setID(customer);
    form->RefreshTimer_Timer();
    EXPECT_TRUE(form->runCommand(QStringLiteral("cmdViewAccountDetails")));
    EXPECT_EQ(journal->entries.last(), QStringLiteral("ShowAccount(%1)").arg(account));
}

TEST_P(AccountTurnoverTest, TheChooserListsTheAccountsAndShowsTheSelectedOnesTurnover) {
    const QVector<CustomerAccount> accounts = {
        {31, QStringLiteral("110302"), QStringLiteral("حساب اصفهان"), QStringLiteral("1103"),
         QStringLiteral("حسابهاي دريافتني")},
        {30, QStringLiteral("110301"), QStringLiteral("حساب تهران"), QStringLiteral("1103"),
         QStringLiteral("حسابهاي دريافتني")}};
    SelectAccountLogic chooserLogic(ctx, accounts, QStringLiteral("پيام"));
    EXPECT_EQ(SelectAccountLogic::headers(),
              (QStringList{QStringLiteral("رديف"), QStringLiteral("شماره رايانهاي"),
                           QStringLiteral("كد حساب"), QStringLiteral("نام حساب"),
                           QStringLiteral("كد مادر حساب"), QStringLiteral("نام مادر حساب")}));
    const QStringList secondRow = {chooserLogic.cell(1, 0), chooserLogic.cell(1, 1),
                                   chooserLogic.cell(1, 2), chooserLogic.cell(1, 3),
                                   chooserLogic.cell(1, 4), chooserLogic.cell(1, 5)};
    EXPECT_EQ(secondRow, (QStringList{QStringLiteral("2"), QStringLiteral("30"),
                                      QStringLiteral("110301"), QStringLiteral("حساب تهران"),
                                      QStringLiteral("1103"), QStringLiteral("حسابهاي دريافتني")}));

    ASSERT_NE(chooserLogic.Form_Load(), nullptr);
    EXPECT_EQ(
        journal->entries,
        (QStringList{QStringLiteral("create ") + kAccountDetailProgId,
                     QStringLiteral("OLEConnectionString=") + ctx.globals.CurrentConnectionString,
                     QStringLiteral("UserID=%1").arg(ctx.globals.CurrentUserID),
                     QStringLiteral("PositionID=4"), QStringLiteral("EmployeeID=9")}));
    chooserLogic.FlexAccount_RowSelected(1);
    EXPECT_EQ(journal->entries.last(), QStringLiteral("ShowAccount(30)"));
    chooserLogic.cmdVisOK_Click(0);
    EXPECT_EQ(chooserLogic.choice(), 31);
    chooserLogic.cmdVisCancel_Click();
    EXPECT_EQ(chooserLogic.choice(), -1);
}

TEST_P(AccountTurnoverTest, TheChooserFormTakesTheCurrentRowOnOk) {
    const QVector<CustomerAccount> accounts = {
        {31, QStringLiteral("110302"), QStringLiteral("حساب اصفهان"), {}, {}},
        {30, QStringLiteral("110301"), QStringLiteral("حساب تهران"), {}, {}}};
    DialogAccountChooser dialogs(ctx, nullptr);
    dialogs.present = [this](FrmSelectAccount& frm) {
        auto* grid = frm.findChild<QTableWidget*>(QStringLiteral("FlexAccount"));
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(grid->rowCount(), 2);
        EXPECT_EQ(grid->horizontalHeaderItem(5)->text(), QStringLiteral("نام مادر حساب"));
        EXPECT_EQ(frm.findChild<QLabel*>(QStringLiteral("lblMessage"))->text(),
                  QStringLiteral("مشتري نمونه") + kSeveral);
        EXPECT_EQ(journal->entries.last(), QStringLiteral("ShowAccount(31)"));  // the first
        grid->setCurrentCell(1, 0);
        EXPECT_EQ(journal->entries.last(), QStringLiteral("ShowAccount(30)"));
        frm.findChild<QPushButton*>(QStringLiteral("cmdVisOK"))->click();
        EXPECT_EQ(frm.result(), QDialog::Accepted);
    };
    EXPECT_EQ(dialogs.chooseAccount(accounts, QStringLiteral("مشتري نمونه") + kSeveral), 30);
    dialogs.present = [](FrmSelectAccount& frm) {
        frm.findChild<QPushButton*>(QStringLiteral("cmdVisCancel"))->click();
    };
    EXPECT_EQ(dialogs.chooseAccount(accounts, QString()), -1);
    dialogs.present = [](FrmSelectAccount& frm) {
        frm.findChild<QPushButton*>(QStringLiteral("cmdVisOK"))->click();
    };
    EXPECT_EQ(dialogs.chooseAccount(accounts, QString()), 31);
}

// The accounting module's own control sits in the chooser and shows the selected account there.
TEST_P(AccountTurnoverTest, TheChoosersOwnControlShowsTheTurnoverInside) {
    const int tehran = customerAccount("110301", "حساب تهران");
    components.add(kAccountDetailProgId,
                   [] { return std::make_unique<suite::AccountDetailComponent>(); });
    FrmSelectAccount frm(ctx,
                         {{tehran, QStringLiteral("110301"), QStringLiteral("حساب تهران"),
                           QStringLiteral("1103"), QStringLiteral("حسابهاي دريافتني")}},
                         QString());
    auto* control = frm.findChild<suite::AccountDetailComponent*>();
    ASSERT_NE(control, nullptr);
    int windows = 0;
    control->showWindow = [&windows](QWidget&) { ++windows; };
    frm.findChild<QTableWidget*>(QStringLiteral("FlexAccount"))->setCurrentCell(0, 0);
    EXPECT_EQ(control->findChild<QLabel*>(QStringLiteral("lblTitle"))->text(),
              QStringLiteral("110301 - حساب تهران"));
    EXPECT_EQ(windows, 0);
    EXPECT_TRUE(messages.empty());
}

SI_INSTANTIATE_BACKENDS(AccountTurnoverTest);

}  // namespace
}  // namespace si::test
