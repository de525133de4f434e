// The cash-box module's receipt windows: a receipt is a balanced document that debits the box's
// account and credits the payer's, linked to the invoice it is for with its amount, written whole
// or not at all; what the invoice form hands the window fills it; a refusal writes nothing.

#include <gtest/gtest.h>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "suite/AccountLedger.h"
#include "suite/CashTurnManager.h"
#include "suite/Components.h"
#include "suite/ReceiptBox.h"
#include "suite/ReceiptBoxComponent.h"
#include "support/ContextTest.h"
#include "support/InvoiceFixtures.h"
#include "support/MissingObject.h"

namespace si::test {
namespace {

using suite::ReceiptEntry;

class ReceiptBoxTest : public ContextTest {
protected:
    void SetUp() override {
        ContextTest::SetUp();
        suite::RegisterComponents(components);
        messages.install(components);
        cashAccount = account("1101", 0);
        payer = account("1201", 0);
        cash = static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblRecPayCash (Name, AccountID) values ('صندوق مركزي', "
                           "?) RETURNING ID"),
            {cashAccount}));
        db().exec(QStringLiteral("insert into tblRecPayCashUser (CashID, UserID) values (?, ?)"),
                  {cash, ctx.globals.CurrentUserID});
        const int customer = AddCustomer(db(), QStringLiteral("مشتري نمونه"));
        db().exec(QStringLiteral("insert into tblAccountRelatedObjects (AccountID, "
                                 "RelatedClassID, RelatedObjectID) values (?, 7, ?)"),
                  {payer, customer});
    }
    int account(const char* code, int closed) {
        return static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblAccount (Code, Title, IsClosed) values (?, ?, ?) "
                           "RETURNING ID"),
            {QString::fromLatin1(code), QStringLiteral("حساب ") + QString::fromLatin1(code),
             closed}));
    }
    ReceiptEntry entry(qint64 rials) const {
        ReceiptEntry e;
        e.userId = ctx.globals.CurrentUserID;
        e.cashId = cash;
        e.accountId = payer;
        e.amount = Money::fromRials(rials);
        e.description = QStringLiteral("دريافت بابت فاكتور فروش 12");
        e.formTypeId = 901;
        e.formId = 12;
        return e;
    }
    int count(const char* table) {
        return db()
            .scalar(QStringLiteral("select count(*) from ") + QString::fromLatin1(table))
            .toInt();
    }
    std::unique_ptr<suite::ReceiptBoxComponent> box(const char* progId) {
        auto created = components.create(QString::fromLatin1(progId));
        auto* typed = dynamic_cast<suite::ReceiptBoxComponent*>(created.get());
        if (!typed) return nullptr;
        created.release();
        std::unique_ptr<suite::ReceiptBoxComponent> component(typed);
        SetProperties(*component, {{"UserID", ctx.globals.CurrentUserID},
                                   {"PositionID", 4},
                                   {"EmployeeID", 9},
                                   {"OLEConnectionString", ctx.globals.CurrentConnectionString}});
        return component;
    }

    int cash = -1;
    int cashAccount = -1;
    int payer = -1;
};

TEST_P(ReceiptBoxTest, AReceiptDebitsTheBoxCreditsThePayerAndIsLinkedToTheInvoice) {
    ASSERT_TRUE(suite::ReceiptProblem(db(), entry(5000)).isEmpty());
    const int document = suite::RecordReceipt(db(), entry(5000));
    const auto d = suite::ReadAccountDocument(db(), document);
    ASSERT_TRUE(d);
    ASSERT_EQ(d->rows.size(), 2);
    EXPECT_EQ(d->rows[0].accountCode, QStringLiteral("1101"));
    EXPECT_EQ(d->rows[0].debit, Money::fromRials(5000));
    EXPECT_EQ(d->rows[1].accountCode, QStringLiteral("1201"));
    EXPECT_EQ(d->rows[1].credit, Money::fromRials(5000));
    EXPECT_TRUE(d->balanced());
    EXPECT_EQ(d->farsiDate, QStringLiteral("1405/09/15"));
    const auto link = db().first(
        QStringLiteral("select ReferenceFormTypeID, RelatedFormID, RelatedFormTypeID, "
                       "AssignedValue from tblZelorRelatedForms where ReferenceFormID = 12"));
    ASSERT_TRUE(link);
    EXPECT_EQ(link->toInt(u"ReferenceFormTypeID"), 901);
    EXPECT_EQ(link->toInt(u"RelatedFormID"), document);
    EXPECT_EQ(link->toInt(u"RelatedFormTypeID"), suite::kReceiptFormType);
    EXPECT_EQ(link->money(u"AssignedValue"), Money::fromRials(5000));

    ReceiptEntry free = entry(700);  // a receipt for no form has no link
    free.formTypeId = free.formId = -1;
    const int second = suite::RecordReceipt(db(), free);
    EXPECT_EQ(suite::ReadAccountDocument(db(), second)->code.toInt(), d->code.toInt() + 1);
    EXPECT_EQ(count("tblZelorRelatedForms"), 1);
}

TEST_P(ReceiptBoxTest, AReceiptIsWrittenWholeOrNotAtAll) {
    {
        const MissingObject links(*database, QStringLiteral("tblZelorRelatedForms"));
        EXPECT_ANY_THROW(suite::RecordReceipt(db(), entry(5000)));
    }
    EXPECT_EQ(count("tblAccountDocument"), 0);
    EXPECT_EQ(count("tblAccountDocumentDetail"), 0);
}

TEST_P(ReceiptBoxTest, AReceiptThatCannotBeRecordedIsRefusedWithItsReason) {
    const int boxWithoutAccount = static_cast<int>(db().insertReturningId(
        QStringLiteral("insert into tblRecPayCash (Name) values ('صندوق دوم') RETURNING ID")));
    db().exec(QStringLiteral("insert into tblRecPayCashUser (CashID, UserID) values (?, ?)"),
              {boxWithoutAccount, ctx.globals.CurrentUserID});
    const int strangersBox = static_cast<int>(db().insertReturningId(
        QStringLiteral("insert into tblRecPayCash (Name, AccountID) values ('صندوق سوم', ?) "
                       "RETURNING ID"),
        {cashAccount}));
    const int closed = account("1299", 1);
    const std::pair<std::function<void(ReceiptEntry&)>, const char*> cases[] = {
        {[](ReceiptEntry& e) { e.amount = Money(); }, "مبلغ دريافت بايد بيشتر از صفر باشد."},
        {[](ReceiptEntry& e) { e.amount = Money::fromRials(-5); },
         "مبلغ دريافت بايد بيشتر از صفر باشد."},
        {[](ReceiptEntry& e) { e.cashId = -1; }, "صندوق دريافت انتخاب نشده است."},
        {[&](ReceiptEntry& e) { e.cashId = strangersBox; }, "صندوق دريافت انتخاب نشده است."},
        {[&](ReceiptEntry& e) { e.cashId = boxWithoutAccount; },
         "براي اين صندوق حسابي تعريف نشده است."},
        {[](ReceiptEntry& e) { e.accountId = -1; }, "حساب پرداخت كننده انتخاب نشده است."},
        {[&](ReceiptEntry& e) { e.accountId = closed; }, "حساب پرداخت كننده بسته است."},
        {[&](ReceiptEntry& e) { e.accountId = cashAccount; },
         "حساب صندوق و حساب پرداخت كننده يكي است."}};
    for (const auto& [change, reason] : cases) {
        SCOPED_TRACE(reason);
        ReceiptEntry e = entry(5000);
        change(e);
        EXPECT_EQ(suite::ReceiptProblem(db(), e), QString::fromUtf8(reason));
    }
}

// The general receipt as the invoice form opens it: the amount, the account and the invoice are
// in the window; saving records them.
TEST_P(ReceiptBoxTest, TheGeneralReceiptOpensFilledForTheInvoice) {
    auto receipt = box("comBoxPublicReceive.comBoxPublicRec");
    ASSERT_TRUE(receipt);
    SetProperties(*receipt, {{"SumValue", QVariant::fromValue(Money::fromRials(5000))},
                             {"FormID", 12},
                             {"FormTypeID", 901},
                             {"AccountID", payer}});
    int document = -1;
    receipt->showWindow = [&](QWidget& window) {
        EXPECT_EQ(window.objectName(), QStringLiteral("frmBoxPublicRec"));
        EXPECT_EQ(window.findChild<QLineEdit*>(QStringLiteral("txtAmount"))->text(),
                  QStringLiteral("5/000"));
        EXPECT_EQ(window.findChild<QComboBox*>(QStringLiteral("cmbAccount"))->currentData(),
                  QVariant(payer));
        EXPECT_EQ(window.findChild<QComboBox*>(QStringLiteral("cmbCash"))->currentData(),
                  QVariant(cash));
        EXPECT_EQ(window.findChild<QLineEdit*>(QStringLiteral("txtDescription"))->text(),
                  QStringLiteral("دريافت بابت فاكتور فروش 12"));
        auto& w = dynamic_cast<suite::ReceiptWindow&>(window);
        EXPECT_TRUE(w.save());
        document = w.documentId();
    };
    ASSERT_TRUE(Invoke(*receipt, "View", {12}));
    EXPECT_TRUE(receipt->errorMessage().isEmpty());
    ASSERT_GT(document, 0);
    EXPECT_EQ(db().scalar(QStringLiteral("select RelatedFormID from tblZelorRelatedForms where "
                                         "ReferenceFormTypeID = 901 and ReferenceFormID = 12"))
                  .toInt(),
              document);
}

TEST_P(ReceiptBoxTest, AnEmptyBoxRefusesInItsMessageLineAndWritesNothing) {
    for (const char* progId :
         {"comBoxReceiveCash.comBoxReceiveCash1", "comBoxReceive.comBoxReceive1",
          "comBoxPayCash.comBoxPayCash1", "comBoxReceivePortion.comBoxRecPortion",
          "VORReceiveGroup.comBoxGroupRec"}) {
        SCOPED_TRACE(progId);
        auto receipt = box(progId);
        ASSERT_TRUE(receipt);
        int shown = 0;
        receipt->showWindow = [&](QWidget& window) {
            ++shown;
            auto& w = dynamic_cast<suite::ReceiptWindow&>(window);
            EXPECT_FALSE(w.save());
            EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lblMessage"))->text(),
                      QStringLiteral("مبلغ دريافت بايد بيشتر از صفر باشد."));
        };
        ASSERT_TRUE(Invoke(*receipt, "ClearShow"));
        EXPECT_EQ(shown, 1);
    }
    EXPECT_EQ(count("tblAccountDocument"), 0);
}

// In a shop the receipt is also a row of the user's open turn of the box, carrying the document's
// code so that the customer's credit counts it as repaid; elsewhere, or without an open turn, it
// is not.
TEST_P(ReceiptBoxTest, InAShopAReceiptIsARowOfTheOpenTurn) {
    const auto turnRows = [this] {
        return db().scalar(QStringLiteral("select count(*) from tblRecPayCashTurnDetail")).toInt();
    };
    suite::RecordReceipt(db(), entry(1000));
    useParameter(3, QStringLiteral("1"));
    suite::RecordReceipt(db(), entry(2000));
    EXPECT_EQ(turnRows(), 0);

    const qint64 turn = suite::CashTurnManager(db(), ctx.globals.CurrentUserID).OpenTurn(cash).id;
    const int document = suite::RecordReceipt(db(), entry(3000));
    ASSERT_EQ(turnRows(), 1);
    const auto row = db().first(QStringLiteral("select * from tblRecPayCashTurnDetail"));
    EXPECT_EQ(row->toInt64(u"CashTurnID"), turn);
    EXPECT_EQ(row->money(u"ReceivedValue"), Money::fromRials(3000));
    EXPECT_EQ(row->money(u"PayedValue"), Money());
    EXPECT_EQ(row->toInt(u"RelatedAccountID"), payer);
    EXPECT_EQ(row->toInt(u"FormID"), document);
    EXPECT_EQ(row->toInt(u"FormTypeID"), suite::kReceiptFormType);
    EXPECT_EQ(row->value(u"Code"),
              db().scalar(QStringLiteral("select Code from tblAccountDocument where ID = ?"),
                          {document}));
}

SI_INSTANTIATE_BACKENDS(ReceiptBoxTest);

}  // namespace
}  // namespace si::test
