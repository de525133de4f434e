// The invoice form's buttons that open other modules' windows: what each hands its sibling and in
// which order, the rights and look-ups that stop them, a sibling that is not registered, and an
// error inside a sibling, told once.

#include <gtest/gtest.h>
#include <stdexcept>

#include <QPushButton>

#include "assembly/ui/InvoiceModuleUi.h"
#include "common/Codes.h"
#include "invoice/ui/FormMain.h"
#include "linked/Launchers.h"
#include "linked/RecordingSibling.h"
#include "linked/SiblingLauncher.h"
#include "posting/PostingTestSupport.h"

namespace si::test {
namespace {

const QString kBoxReceiveCash = QStringLiteral("comBoxReceiveCash.comBoxReceiveCash1");
const QString kBoxReceive = QStringLiteral("comBoxReceive.comBoxReceive1");
const QString kBoxPayCash = QStringLiteral("comBoxPayCash.comBoxPayCash1");
const QString kBoxReceivePortion = QStringLiteral("comBoxReceivePortion.comBoxRecPortion");
const QString kGroupReceipt = QStringLiteral("VORReceiveGroup.comBoxGroupRec");
const QString kGeneralReceipt = QStringLiteral("comBoxPublicReceive.comBoxPublicRec");
const QString kAccountDoc = QStringLiteral("comAccountDoc.comAccountDoc1");
const QString kSaleAssignment = QStringLiteral("comSaleAssignment.comSaleAssign");

class LauncherTest : public PostingTest {
protected:
    void SetUp() override {
        PostingTest::SetUp();
        for (const QString& progId : {kBoxReceiveCash, kBoxReceive, kBoxPayCash, kBoxReceivePortion,
                                      kGroupReceipt, kGeneralReceipt, kAccountDoc, kSaleAssignment})
            RegisterRecording(components, progId, journal);
        ctx.globals.CurrentPositionID = 4;
        ctx.globals.CurrentEmployeeID = 9;
        subject.txtID = QStringLiteral("12");
        subject.customerId = customer;
        subject.grandTotal = Money::fromRials(5000);
    }
    QStringList created(const QString& progId) const {
        return {QStringLiteral("create ") + progId,
                QStringLiteral("UserID=%1").arg(ctx.globals.CurrentUserID),
                QStringLiteral("PositionID=4"), QStringLiteral("EmployeeID=9"),
                QStringLiteral("OLEConnectionString=") + ctx.globals.CurrentConnectionString};
    }
    void run(const char* control) {
        journal->entries.clear();
        messages.clear();
        launchers.run(QString::fromLatin1(control), subject);
    }
    void becomeClerk(std::initializer_list<int> rights) {
        ctx.globals.CurrentUserID = addUser(QStringLiteral("فروشنده"), false, rights);
    }
    int postDocumentRow(int formId, int formType) {
        const int document = static_cast<int>(db().insertReturningId(QStringLiteral(
            "insert into tblAccountDocument (Code, IsPreDocument) values (1, 0) RETURNING ID")));
        db().exec(QStringLiteral("insert into tblAccountDocumentDetail (DocumentID, RowNumber, "
                                 "AccountID, FormID, FormTypeID) values (?, 1, 1, ?, ?)"),
                  {document, formId, formType});
        return document;
    }
    int relateAccount(int group) {
        const int id = account("1201");
        db().exec(QStringLiteral("insert into tblAccountRelatedObjects (AccountID, "
                                 "RelatedClassID, RelatedObjectID, AccountGroupID) values (?, 7, "
                                 "?, ?)"),
                  {id, customer, group});
        return id;
    }

    std::shared_ptr<SiblingJournal> journal = std::make_shared<SiblingJournal>();
    SiblingLaunchers launchers{ctx};
    LaunchSubject subject;
};

TEST_P(LauncherTest, TheBoxesOpenEmptyWithTheSessionSetFirst) {
    const std::pair<const char*, QString> boxes[] = {{"cmdBoxReceive", kBoxReceiveCash},
                                                     {"cmdReceive", kBoxReceive},
                                                     {"cmdRPDRecieve", kBoxReceive},
                                                     {"cmdRPDCashRec", kBoxPayCash},
                                                     {"cmdRPDRecDiv", kBoxReceivePortion}};
    for (const auto& [control, progId] : boxes) {
        SCOPED_TRACE(control);
        run(control);
        EXPECT_EQ(journal->entries, created(progId) << QStringLiteral("ClearShow"));
        EXPECT_TRUE(messages.empty());
    }
}

TEST_P(LauncherTest, TheGroupReceiptIsToldTheInvoiceByTheModulesNumberConversion) {
    const std::pair<const char*, const char*> numbers[] = {
        {"12", "12"}, {"", "-1"}, {"  ", "-1"}, {"True", "1"}, {"1/234", "1234"}};
    for (const auto& [text, formId] : numbers) {
        SCOPED_TRACE(text);
        subject.txtID = QString::fromLatin1(text);
        run("cmdBoxReceiveGroup");
        EXPECT_EQ(journal->entries, created(kGroupReceipt)
                                        << QStringLiteral("FormTypeID=901")
                                        << QStringLiteral("FormID=") + QString::fromLatin1(formId)
                                        << QStringLiteral("ClearShow"));
    }
}

TEST_P(LauncherTest, TheGeneralReceiptNeedsItsRightAndCarriesTheCustomersAccountWhenThereIsOne) {
    becomeClerk({});
    run("cmdRPDGenRec");
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, kErrorCaption);
    EXPECT_EQ(messages.last().text, kNoRightMessage);
    EXPECT_TRUE(journal->entries.isEmpty());

    grant(ctx.globals.CurrentUserID, Right::GeneralReceipt);
    relateAccount(1);  // the customer's account of another group is not the receipt's
    run("cmdRPDGenRec");
    const QStringList withoutAccount = created(kGeneralReceipt) << QStringLiteral("SumValue=5000")
                                                                << QStringLiteral("FormID=12")
                                                                << QStringLiteral("FormTypeID=901");
    EXPECT_EQ(journal->entries, QStringList(withoutAccount) << QStringLiteral("View(12)"));
    EXPECT_TRUE(messages.empty());

    const int account = relateAccount(356);
    run("cmdRPDGenRec");
    EXPECT_EQ(journal->entries, QStringList(withoutAccount)
                                    << QStringLiteral("AccountID=%1").arg(account)
                                    << QStringLiteral("View(12)"));
}

TEST_P(LauncherTest, TheAccountingDocumentNeedsTheRightAndADocumentOfTheInvoice) {
    becomeClerk({});
    run("cmdAccTrans");
    EXPECT_EQ(messages.last().text, kNoRightMessage);
    EXPECT_TRUE(journal->entries.isEmpty());

    grant(ctx.globals.CurrentUserID, Right::AccountDocuments);
    postDocumentRow(12, FormType::SaleReturn);  // a return with the same number is not it
    run("cmdAccTrans");
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, kErrorCaption);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("سند حسابداري عطف به اين فاكتور فروش كالا وجود ندارد."));
    EXPECT_TRUE(journal->entries.isEmpty());

    const int document = postDocumentRow(12, FormType::SaleInvoice);
    run("cmdAccTrans");
    EXPECT_EQ(journal->entries, created(kAccountDoc) << QStringLiteral("View(%1)").arg(document));
    EXPECT_TRUE(messages.empty());
}

TEST_P(LauncherTest, TheSaleAssignmentIsShownWhenOneWasIssued) {
    run("cmdAssignment");
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, kErrorCaption);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("حواله فروشي از روي اين فاکتور فروش كالا صادر نشده است."));
    EXPECT_TRUE(journal->entries.isEmpty());

    db().exec(QStringLiteral("insert into tblSaleAssignment (Code, SaleInvoiceID) values (1, 99)"));
    const qint64 assignment = db().insertReturningId(QStringLiteral(
        "insert into tblSaleAssignment (Code, SaleInvoiceID) values (2, 12) RETURNING ID"));
    run("cmdAssignment");
    EXPECT_EQ(journal->entries, created(kSaleAssignment)
                                    << QStringLiteral("View(%1)").arg(assignment));
}

TEST_P(LauncherTest, AMissingComponentIsRegisteredOnceAndThenRefused) {
    components.remove(kBoxPayCash);
    subject.basePath = QString();
    run("cmdRPDCashRec");
    EXPECT_EQ(components.registrationLog().last(),
              QStringLiteral("Regsvr32  \"System\\comBoxPayCash.ocx\" /s"));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, QStringLiteral("خطا"));
    EXPECT_EQ(messages.last().text, QStringLiteral("شما مجاز به انجام اين عمليات نيستيد."));
    EXPECT_TRUE(journal->entries.isEmpty());

    subject.basePath = QStringLiteral("D:\\Zelor\\");
    run("cmdRPDCashRec");
    EXPECT_EQ(components.registrationLog().last(),
              QStringLiteral("Regsvr32  \"D:\\Zelor\\System\\comBoxPayCash.ocx\" /s"));
    EXPECT_EQ(components.registrationLog().size(), 2);

    // A registration that takes: the second attempt creates it.
    components.setRegistrar([this](const QString& commandLine) {
        if (commandLine.contains(QStringLiteral("comBoxPayCash.ocx")))
            RegisterRecording(components, kBoxPayCash, journal);
    });
    run("cmdRPDCashRec");
    EXPECT_EQ(journal->entries, created(kBoxPayCash) << QStringLiteral("ClearShow"));
    EXPECT_TRUE(messages.empty());
    run("cmdRPDCashRec");  // registered now: no command line
    EXPECT_EQ(components.registrationLog().size(), 3);
}

TEST_P(LauncherTest, AnErrorInsideASiblingIsToldOnce) {
    journal->failure = QStringLiteral("صندوق بسته است");
    run("cmdBoxReceive");
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, kErrorCaption);
    EXPECT_EQ(messages.last().text, SiblingErrorText(kBoxReceiveCash, journal->failure));

    journal->reportFailure = true;  // a sibling that keeps its error in ErrorMessage
    run("cmdBoxReceive");
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().text, SiblingErrorText(kBoxReceiveCash, journal->failure));
    journal->failure.clear();

    // A sibling without the launcher's property or method.
    components.add(kGeneralReceipt, [] { return std::make_unique<SessionOnlySibling>(); });
    components.add(kAccountDoc, [] { return std::make_unique<SessionOnlySibling>(); });
    run("cmdRPDGenRec");
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().text,
              SiblingErrorText(kGeneralReceipt,
                               QStringLiteral("ويژگي SumValue در اين ماژول وجود ندارد.")));
    postDocumentRow(12, FormType::SaleInvoice);
    run("cmdAccTrans");
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().text,
              SiblingErrorText(kAccountDoc, QStringLiteral("فرمان View در اين ماژول وجود ندارد.")));

    components.add(kBoxReceive,
                   []() -> std::unique_ptr<QObject> { throw std::runtime_error("خراب"); });
    run("cmdReceive");
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().text, SiblingErrorText(kBoxReceive, QStringLiteral("خراب")));
}

// The buttons of the form reach the launchers, with the invoice the form shows.
TEST_P(LauncherTest, TheFormsButtonsLaunchForTheInvoiceItShows) {
    InvoiceRow row;
    row.customer = customer;
    row.code = 5;
    const int invoice = AddInvoice(db(), row);
    const int document = postDocumentRow(invoice, FormType::SaleInvoice);
    form->ClearShow();
    EXPECT_FALSE(form->runCommand(QStringLiteral("cmdAccTrans")));  // no invoice shown
    EXPECT_TRUE(form->runCommand(QStringLiteral("cmdBoxReceive")));
    form->ViewInvoice(invoice);
    journal->entries.clear();
    EXPECT_TRUE(form->runCommand(QStringLiteral("cmdAccTrans")));
    EXPECT_EQ(journal->entries, created(kAccountDoc) << QStringLiteral("View(%1)").arg(document));

    FormMainLogic bare(ctx);  // without the linked modules the button says so
    bare.ClearShow();
    messages.clear();
    EXPECT_TRUE(bare.runCommand(QStringLiteral("cmdBoxReceive")));
    EXPECT_EQ(messages.last().text, QStringLiteral("اين فرمان در اين نسخه هنوز فراهم نشده است."));
}

// On screen: the buttons are on the form, offered when they can act, and a click launches.
TEST_P(LauncherTest, TheButtonsOnTheFormLaunch) {
    InvoiceRow row;
    row.customer = customer;
    row.code = 5;
    const int invoice = AddInvoice(db(), row);
    db().exec(QStringLiteral("insert into tblSaleAssignment (Code, SaleInvoiceID) values (1, ?)"),
              {invoice});
    FormMain shown(ctx);
    auto shownModule = InstallModule(shown);
    shown.ClearShow();
    auto button = [&shown](const char* name) {
        return shown.findChild<QPushButton*>(QString::fromLatin1(name));
    };
    for (const QString& control : kLinkedCommands)
        EXPECT_TRUE(button(control.toLatin1().constData())) << control.toStdString();
    EXPECT_FALSE(button("cmdAssignment")->isEnabled());
    EXPECT_TRUE(button("cmdRPDRecDiv")->isEnabled());
    shown.ViewInvoice(invoice);
    ASSERT_TRUE(button("cmdAssignment")->isEnabled());
    journal->entries.clear();
    button("cmdAssignment")->click();
    EXPECT_EQ(journal->entries.first(), QStringLiteral("create ") + kSaleAssignment);
    EXPECT_TRUE(journal->entries.last().startsWith(QStringLiteral("View(")));
    shown.close();
}

SI_INSTANTIATE_BACKENDS(LauncherTest);

}  // namespace
}  // namespace si::test
