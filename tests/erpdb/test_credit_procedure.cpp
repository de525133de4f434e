// spOrganizationGetAccountInfo_New against a customer whose every statistic was worked out by
// hand, with another customer's rows beside it that must not count.

#include <gtest/gtest.h>

#include "common/Money.h"
#include "support/ContextTest.h"
#include "support/CreditFixtures.h"
#include "support/InvoiceFixtures.h"

namespace si {
namespace {

using test::FinalInvoice;

constexpr int kOutputs = 41;

class CreditProcedureTest : public test::ContextTest {
protected:
    QVariantList call(int organization) {
        QVariantList args{organization};
        db().call(QStringLiteral("dbo.spOrganizationGetAccountInfo_New"), args);
        return args;
    }
    int invoice(int customer, const QDate& date, qint64 total) {
        return test::AddFinalInvoice(db(), {customer, date, total});
    }
    void distributionRow(int organization, bool credit, bool documentCredit, const QDate& from,
                         const QDate& to) {
        db().exec(
            QStringLiteral(
                "insert into tblDistributionOrganization (OrganizationID, EnableCredit, Credit, "
                "EnableDocumentCredit, DocumentCredit, EnableExtraCredit, ExtraCredit, "
                "ExtraCreditBeginDate, ExtraCreditEndDate) values (?, ?, 1000000, ?, 2000000, 1, "
                "50000, ?, ?)"),
            {organization, credit ? 1 : 0, documentCredit ? 1 : 0, orNull(from), orNull(to)});
    }
    static QVariant orNull(const QDate& d) { return d.isValid() ? QVariant(d) : QVariant(); }
    // Today is 2026-12-06 (1405/09/15).
    QDate day(int y, int m, int d) { return QDate(y, m, d); }
};

Money R(qint64 rials) {
    return Money::fromRials(rials);
}
Money Out(const QVariantList& a, int i) {
    return Money::fromVariant(a.value(i));
}

TEST_P(CreditProcedureTest, EveryOutputOfAKnownCustomer) {
    Session& s = db();
    const int c = test::AddCustomer(s, QStringLiteral("فروشگاه آفتاب"));
    const int other = test::AddCustomer(s, QStringLiteral("فروشگاه ماه"));
    distributionRow(c, true, true, day(2026, 12, 1), day(2026, 12, 31));

    // Ledger: 500,000 - 120,000 + 30,000 on two own accounts; a pre-document and another
    // customer's account stay out.
    const int a1 = test::AddCustomerAccount(s, c);
    const int a2 = test::AddCustomerAccount(s, c);
    test::PostToAccount(s, a1, 500000, 0, day(2026, 10, 1));
    test::PostToAccount(s, a1, 0, 120000, day(2026, 11, 1));
    test::PostToAccount(s, a2, 30000, 0, day(2026, 11, 2));
    test::PostToAccount(s, a1, 999999, 0, day(2026, 11, 3), true);
    test::PostToAccount(s, test::AddCustomerAccount(s, other), 777, 0, day(2026, 11, 3));

    const int sheet = 3;
    const int i1 = invoice(c, day(2026, 12, 6), 100000);  // open, nothing paid
    const int i2 = invoice(c, day(2026, 11, 20), 200000);
    test::AssignReceipt(s, i2, 200000);  // settled
    const int i3 = test::AddFinalInvoice(s, {c, day(2026, 9, 1), 300000, -1, -1, sheet});
    test::AssignReceipt(s, i3, 100000, false);
    test::AssignReceipt(s, i3, 50000);    // 150,000 still open
    invoice(c, day(2025, 6, 1), 400000);  // the oldest open one, outside twelve months
    const int order1 = test::AddSaleOrder(s, c);
    const int i5 = test::AddFinalInvoice(s, {c, day(2026, 12, 6), 60000, -1, order1});
    test::AssignReceipt(s, i5, 60000);
    invoice(c, day(2026, 12, 8), 7000);  // dated after today: counted, outside every window
    invoice(other, day(2026, 12, 6), 999);
    // A dispatch link without an amount, and a foreign form that happens to share i3's number.
    s.exec(QStringLiteral("insert into tblZelorRelatedForms (ReferenceFormID, ReferenceFormTypeID, "
                          "RelatedFormID, RelatedFormTypeID) values (?, 901, 44, 802)"),
           {i1});
    s.exec(QStringLiteral("insert into tblZelorRelatedForms (ReferenceFormID, ReferenceFormTypeID, "
                          "RelatedFormID, RelatedFormTypeID, AssignedValue) values (?, 802, 45, "
                          "205, 5000)"),
           {i3});

    // Temporary invoices: one of 2 x 15,000 for this customer, one for the other.
    const int t1 = test::AddFinalInvoice(s, {c, day(2026, 12, 6), 0, -1, -1, -1, true});
    test::AddInvoiceLine(s, t1, QStringLiteral("1001"), 2, 15000, 1, 1);
    const int t2 = test::AddFinalInvoice(s, {other, day(2026, 12, 6), 0, -1, -1, -1, true});
    test::AddInvoiceLine(s, t2, QStringLiteral("1001"), 1, 80000, 1, 1);

    test::AddSaleReturn(s, c, i2, day(2026, 11, 1), 10000);
    test::AddSaleReturn(s, c, i3, day(2026, 3, 1), 20000);  // of a distribution invoice
    test::AddSaleReturn(s, c, i3, day(2026, 12, 1), 5000);  // likewise, within two months
    test::AddSaleReturn(s, c, -1, day(2024, 1, 1), 40000);
    test::AddSaleReturn(s, other, -1, day(2026, 12, 1), 99);

    test::AddSaleOrderLine(s, order1, 2, 10000);
    test::AddSaleOrderLine(s, order1, 1, 5000);
    const int order2 = test::AddSaleOrder(s, c);  // named only by a temporary invoice
    test::AddSaleOrderLine(s, order2, 3, 1000.5);
    test::AddFinalInvoice(s, {c, day(2026, 12, 6), 0, -1, order2, -1, true});
    test::AddSaleOrder(s, c);  // no lines
    test::AddSaleOrderLine(s, test::AddSaleOrder(s, other), 1, 1);

    const QVariantList a = call(c);
    ASSERT_EQ(a.size(), kOutputs);
    const struct {
        int index;
        Money value;
    } amounts[] = {
        {1, R(1050000)}, {2, R(2000000)}, {3, R(410000)},  {4, R(657000)},
        {6, R(0)},       {8, R(640000)},  {9, R(610000)},  {10, R(1067000)},
        {12, R(7000)},   {14, R(360000)}, {16, R(660000)}, {18, R(15000)},
        {20, R(35000)},  {22, R(5000)},   {24, R(25000)},  {26, Money::fromDouble(28001.5)},
        {28, R(25000)},  {32, R(507000)}, {35, R(0)},      {37, R(160000)},
        {39, R(75000)},
    };
    for (const auto& e : amounts)
        EXPECT_EQ(Out(a, e.index), e.value) << "output " << e.index;
    const struct {
        int index;
        int value;
    } counts[] = {{5, 4},    {7, 0},  {11, 6}, {15, 3}, {17, 4}, {19, 2},
                  {21, 3},   {23, 1}, {25, 2}, {27, 3}, {29, 1}, {30, 2},
                  {31, 553}, {33, 3}, {34, 0}, {36, 0}, {38, 2}, {40, 4}};
    for (const auto& e : counts)
        EXPECT_EQ(a.value(e.index).toInt(), e.value) << "output " << e.index;
    EXPECT_EQ(a.value(13).toString(), QStringLiteral("1405/09/17"));
}

TEST_P(CreditProcedureTest, CustomerWithoutHistoryHasZeroesAndNoLastDate) {
    const QVariantList a = call(test::AddCustomer(db(), QStringLiteral("مشتري تازه")));
    ASSERT_EQ(a.size(), kOutputs);
    for (int i = 1; i < kOutputs; ++i) {
        if (i == 13)
            EXPECT_TRUE(a.value(i).toString().isEmpty());
        else
            EXPECT_EQ(Out(a, i), Money()) << "output " << i;
    }
}

// The extra credit raises the credit, or the document credit when only that one is on, and
// only inside its dates (a missing bound is open).
TEST_P(CreditProcedureTest, ExtraCreditFollowsItsDatesAndTheEnabledCredit) {
    const struct {
        bool credit, document;
        QDate from, to;
        qint64 expectedCredit, expectedDocument;
    } cases[] = {
        {true, true, QDate(2026, 12, 6), QDate(2026, 12, 6), 1050000, 2000000},
        {true, true, QDate(2026, 12, 7), QDate(), 1000000, 2000000},
        {true, true, QDate(), QDate(2026, 12, 5), 1000000, 2000000},
        {true, true, QDate(), QDate(), 1050000, 2000000},
        {false, true, QDate(2026, 1, 1), QDate(2027, 1, 1), 0, 2050000},
        {false, false, QDate(2026, 1, 1), QDate(2027, 1, 1), 0, 0},
    };
    for (const auto& c : cases) {
        const int org = test::AddCustomer(db(), QStringLiteral("مشتري"));
        distributionRow(org, c.credit, c.document, c.from, c.to);
        const QVariantList a = call(org);
        EXPECT_EQ(Out(a, 1), R(c.expectedCredit)) << c.from.toString().toStdString();
        EXPECT_EQ(Out(a, 2), R(c.expectedDocument)) << c.from.toString().toStdString();
    }
}

SI_INSTANTIATE_BACKENDS(CreditProcedureTest);

}  // namespace
}  // namespace si
