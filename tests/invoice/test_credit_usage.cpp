// The header's credit look-up: the credit left after the customer's last credit invoice, the
// repayments in the repayment cash box since then, and the credit days they give.

#include <gtest/gtest.h>

#include "invoice/CreditLogic.h"
#include "invoice/FormTestSupport.h"
#include "support/CreditFixtures.h"

namespace si {
namespace {

class CreditUsageTest : public test::FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        box = test::AddCashBox(db(), QStringLiteral("صندوق وصول مطالبات"));
        otherBox = test::AddCashBox(db(), QStringLiteral("صندوق فروشگاه"));
        useParameter(P::CreditCashBox, QString::number(box));
        newForm();
        customer = test::AddCustomer(db(), QStringLiteral("فروشگاه بهار"));
        account = test::AddCustomerAccount(db(), customer);
        doc().datCreateDate = QDate(2026, 12, 6);
    }
    InvoiceDocument& doc() { return form->doc(); }
    void lookUp() { form->services().credit->LoadCustomerCreditUsage(customer); }
    // A final invoice that took credit.
    int creditInvoice(const QDate& date, qint64 remaining, qint64 used, int days, int who = -1) {
        const int id = test::AddFinalInvoice(db(), {who > 0 ? who : customer, date, 0});
        db().exec(QStringLiteral("update tblSaleInvoice set RemCredit = ?, UsedCredit = ?, "
                                 "CreditDays = ? where ID = ?"),
                  {QVariant::fromValue(Money::fromRials(remaining)),
                   QVariant::fromValue(Money::fromRials(used)), days, id});
        return id;
    }
    void receipt(const QDateTime& when, qint64 received, qint64 payed = 0) {
        test::AddCashMovement(db(), box, account, when, received, payed);
    }
    static QDateTime at(int month, int day, int hour = 10, int year = 2026) {
        return QDateTime(QDate(year, month, day), QTime(hour, 0));
    }
    void expectFields(const char* remaining, const char* days, const char* period) {
        EXPECT_EQ(doc().txtRemCredit, QString::fromUtf8(remaining));
        EXPECT_EQ(doc().txtRemCreditTag, QString::fromUtf8(days));
        EXPECT_EQ(doc().txtUsedCredit, QStringLiteral("0"));
        EXPECT_EQ(doc().txtCreditPeriod, QString::fromUtf8(period));
    }

    int box = -1;
    int otherBox = -1;
    int customer = -1;
    int account = -1;
};

// Starting from 1,000,000 of which 400,000 were used on 2026-11-01: four movements in the box
// count (one of them money paid out); the rest are in another box, unregistered, before the
// start, after the invoice's day or another customer's.
TEST_P(CreditUsageTest, RepaymentsSinceTheLastCreditInvoiceRestoreTheCredit) {
    creditInvoice(QDate(2026, 11, 1), 1000000, 400000, 20);
    creditInvoice(QDate(2026, 12, 7), 5000000, 100, 90);  // after this invoice
    creditInvoice(QDate(2026, 11, 25), 7000000, 0, 90);   // took no credit
    creditInvoice(QDate(2026, 11, 30), 8000000, 100, 90,
                  test::AddCustomer(db(), QStringLiteral("ديگري")));
    receipt(at(11, 11), 100000);    // 10 days
    receipt(at(11, 15), 0, 50000);  // paid out: takes credit away
    receipt(at(11, 21), 150000);    // 20 days
    receipt(at(12, 6, 9), 20000);   // 35 days, on the invoice's own day
    test::AddCashMovement(db(), otherBox, account, at(12, 1), 999000, 0);
    test::AddCashMovement(db(), box, account, at(12, 1), 888000, 0, false);
    receipt(at(10, 25), 777000);
    receipt(at(12, 7, 0), 666000);
    test::AddCashMovement(db(), box, test::AddCustomerAccount(db(), customer + 100), at(12, 1),
                          555000, 0);
    lookUp();
    // 600,000 + 100,000 - 50,000 + 150,000 + 20,000; days (100k*10 + 150k*20 + 20k*35) / 270k.
    expectFields("820/000", "17", "14 روز");
    EXPECT_EQ(doc().txtLoanExpireTag, QStringLiteral("14"));
}

TEST_P(CreditUsageTest, RepaymentsNeverRaiseTheCreditAboveTheStartingCredit) {
    creditInvoice(QDate(2026, 11, 1), 1000000, 400000, 20);
    receipt(at(11, 11), 900000);
    receipt(at(11, 12), 0, 100000);
    lookUp();
    expectFields("900/000", "10", "8 روز");
}

// The period is five sixths of the credit days, halves going to the even neighbour; it also
// bounds the settlement term.
TEST_P(CreditUsageTest, WithoutRepaymentsTheLastInvoicesCreditDaysStay) {
    const int last = creditInvoice(QDate(2026, 11, 1), 1000000, 400000, 3);
    const struct {
        int days;
        const char* period;
        const char* term;
    } cases[] = {{3, "2 روز", "2"}, {15, "12 روز", "12"}, {9, "8 روز", "8"}, {13, "11 روز", "11"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.days);
        db().exec(QStringLiteral("update tblSaleInvoice set CreditDays = ? where ID = ?"),
                  {c.days, last});
        lookUp();
        expectFields("600/000", QByteArray::number(c.days).constData(), c.period);
        EXPECT_EQ(doc().txtLoanExpireTag, QString::fromUtf8(c.term));
    }
}

TEST_P(CreditUsageTest, SameDayInvoicesCountBeforeThisOneByTheirNumber) {
    creditInvoice(QDate(2026, 12, 6), 500000, 100000, 6);
    const int stored = creditInvoice(QDate(2026, 12, 6), 400000, 50000, 12);
    doc().txtID = QString::number(stored);
    lookUp();
    expectFields("400/000", "6", "5 روز");
    doc().txtID.clear();  // a new invoice comes after both
    lookUp();
    expectFields("350/000", "12", "10 روز");
}

TEST_P(CreditUsageTest, CustomerWithoutCreditInvoicesStartsFromItsDistributionCredit) {
    db().exec(QStringLiteral("insert into tblDistributionOrganization (OrganizationID, "
                             "EnableCredit, Credit) values (?, 1, 300000)"),
              {customer});
    receipt(at(11, 11), 50000);
    lookUp();
    expectFields("300/000", "0", "0 روز");
    db().exec(QStringLiteral("update tblDistributionOrganization set EnableCredit = 0"));
    lookUp();
    expectFields("0", "0", "0 روز");
}

TEST_P(CreditUsageTest, NoRepaymentBoxOrNoDateEmptiesTheFields) {
    creditInvoice(QDate(2026, 11, 1), 1000000, 400000, 20);
    doc().datCreateDate = QDate();
    doc().txtRemCredit = QStringLiteral("5");
    lookUp();
    EXPECT_TRUE(doc().txtRemCredit.isEmpty());
    EXPECT_TRUE(doc().txtUsedCredit.isEmpty());
    EXPECT_TRUE(doc().txtCreditPeriod.isEmpty());
    doc().datCreateDate = QDate(2026, 12, 6);
    useParameter(P::CreditCashBox, QStringLiteral("0"));
    lookUp();
    EXPECT_TRUE(doc().txtRemCredit.isEmpty());
    EXPECT_TRUE(doc().txtRemCreditTag.isEmpty());
}

// The credit period is the longest settlement term; a term the pre-condition set stays when
// the next customer has no credit period.
TEST_P(CreditUsageTest, CreditPeriodBoundsTheSettlementTermUntilAnotherCustomerHasNone) {
    creditInvoice(QDate(2026, 11, 1), 1000000, 400000, 36);
    lookUp();
    EXPECT_EQ(doc().txtLoanExpireTag, QStringLiteral("30"));
    const int fresh = test::AddCustomer(db(), QStringLiteral("مشتري تازه"));
    form->services().credit->LoadCustomerCreditUsage(fresh);
    EXPECT_TRUE(doc().txtLoanExpireTag.isEmpty());
    doc().txtLoanExpireTag = QStringLiteral("45");
    form->services().credit->LoadCustomerCreditUsage(fresh);
    EXPECT_EQ(doc().txtLoanExpireTag, QStringLiteral("45"));
}

TEST_P(CreditUsageTest, PickingTheCustomerOfANewInvoiceRunsTheLookUp) {
    creditInvoice(QDate(2026, 11, 1), 1000000, 400000, 20);
    form->ClearShow();
    form->cmdNew_Click();
    doc().datCreateDate = QDate(2026, 12, 6);
    doc().sltCustomer.setID(customer);
    EXPECT_EQ(doc().txtRemCredit, QStringLiteral("600/000"));
    EXPECT_EQ(doc().txtCreditPeriod, QStringLiteral("17 روز"));
}

SI_INSTANTIATE_BACKENDS(CreditUsageTest);

}  // namespace
}  // namespace si
