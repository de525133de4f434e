// Customer credit control: the constraints of the customer's degree, the credit and document
// credit, the gate of parameter 93 and right 90111, and the promoter's outstanding sales. The
// statistics procedure is replaced by a scripted one here (its own tests are in tests/erpdb),
// except in the last test, which runs the real one.

#include <gtest/gtest.h>

#include <QHash>

#include "invoice/CreditLogic.h"
#include "invoice/FormTestSupport.h"
#include "support/CreditFixtures.h"

namespace si {
namespace {

Money R(qint64 rials) {
    return Money::fromRials(rials);
}

const QString kProblem = QStringLiteral("اشکال");

class CreditTest : public test::FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        degree = test::AddCustomerDegree(db(), QStringLiteral("درجه ب"));
        customer = test::AddCheckedCustomer(db(), QStringLiteral("فروشگاه نگين"), degree);
        const int constraint = test::AddCreditConstraint(db(), QStringLiteral("1405/01/01"),
                                                         QStringLiteral("1405/12/29"));
        detail = test::AddConstraintDetail(db(), constraint, degree);
        clerk = addUser(QStringLiteral("فروشنده"), false);
        ctx.globals.CurrentUserID = clerk;
        useParameter(P::CreditControl, QStringLiteral("2"));
        if (scriptStatistics) scriptTheProcedure();
    }
    void scriptTheProcedure() {
        procedures.add(QStringLiteral("spOrganizationGetAccountInfo_New"),
                       [this](Session&, QVariantList& args) {
                           ++statisticCalls;
                           args.resize(AccountInfo::Count);
                           for (auto it = stats.cbegin(); it != stats.cend(); ++it)
                               args[it.key()] = it.value();
                           return QVariant(0);
                       });
    }
    CreditLogic& credit() { return *form->services().credit; }
    InvoiceDocument& doc() { return form->doc(); }
    bool check(qint64 grandTotal = 0) {
        int organization = -1;
        return credit().CheckCustomerCreditConstraints(organization, -1, -1, customer, false, false,
                                                       false, R(grandTotal));
    }
    void limit(const char* column, const QVariant& value) {
        db().exec(QStringLiteral("update tblOrganizationCreditConstraintDetail set %1 = ? where "
                                 "ID = ?")
                      .arg(QLatin1String(column)),
                  {value, detail});
    }
    void stat(int output, qint64 value, bool amount) {
        stats[output] = amount ? QVariant::fromValue(R(value)) : QVariant(value);
    }
    void distribution(const QString& assignments) {
        db().exec(QStringLiteral("insert into tblDistributionOrganization (OrganizationID) values "
                                 "(?)"),
                  {customer});
        db().exec(QStringLiteral("update tblDistributionOrganization set %1 where OrganizationID "
                                 "= ?")
                      .arg(assignments),
                  {customer});
    }
    QString lastText() const { return messages.empty() ? QString() : messages.last().text; }

    bool scriptStatistics = true;
    QHash<int, QVariant> stats;
    int statisticCalls = 0;
    int degree = -1;
    int customer = -1;
    int detail = -1;
    int clerk = -1;
};

TEST_P(CreditTest, NullThresholdsNeverRefuse) {
    for (int output = 1; output < AccountInfo::Count; ++output)
        stats[output] = QVariant::fromValue(R(1000000000));
    EXPECT_TRUE(check(5000000));
    EXPECT_EQ(statisticCalls, 1);
    EXPECT_TRUE(messages.empty());
}

// Each threshold, its statistic and the subject of its message; the second group counts only
// while the open balance is above the free debit.
struct ThresholdCase {
    const char* column;
    int statistic;
    bool amount;
    const char* subject;
    bool secondGroup;
};

const ThresholdCase kThresholds[] = {
    {"MaxReturnedChequeQty", AccountInfo::ReturnedChequeQty, false, "تعداد چك برگشتي", false},
    {"MaxReturnedChequeValue", AccountInfo::ReturnedChequeValue, true, "مبلغ چك برگشتي", false},
    {"MaxSaleInvoicePerDayValue", AccountInfo::DailyInvoiceValue, true, "مبلغ فاكتور در روز",
     false},
    {"MaxSaleInvoicePerDayQty", AccountInfo::DailyInvoiceQty, false, "تعداد فاكتور در روز", false},
    {"MaxSaleReturnValue", AccountInfo::SaleReturnValue, true, "مبلغ برگشت از فروش", false},
    {"MaxSaleReturnQty", AccountInfo::SaleReturnQty, false, "تعداد برگشت از فروش", false},
    {"MaxReturnedChequeAge", AccountInfo::ReturnChequeAge, false, "سن چك برگشتي", true},
    {"MaxNotPaidDocumentQty", AccountInfo::NonPaidDocumentQty, false, "تعداد مطالبات وصول نشده",
     true},
    {"MaxNotPaidDocumentValue", AccountInfo::NonPaidDocumentValue, true, "مبلغ مطالبات وصول نشده",
     true},
    {"MaxDebitAge", AccountInfo::DebitAge, false, "سند بدهي", true},
    {"MaxNotApprovedInvoiceQty", AccountInfo::SumOfNonPaidSaleInvoiceQty, false,
     "تعداد فاكتورهاي وصول نشده", true},
};

TEST_P(CreditTest, StatisticEqualToItsThresholdPassesAndOneMoreRefuses) {
    for (const ThresholdCase& t : kThresholds) {
        SCOPED_TRACE(t.column);
        stats.clear();
        messages.clear();
        const qint64 threshold = t.amount ? 250000 : 7;
        limit(t.column, t.amount ? QVariant::fromValue(R(threshold)) : QVariant(threshold));
        stat(AccountInfo::RemainedValue, 1, true);
        stat(t.statistic, threshold, t.amount);
        EXPECT_TRUE(check());
        stat(t.statistic, threshold + 1, t.amount);
        EXPECT_FALSE(check());
        const QString subject = QString::fromUtf8(t.subject);
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.last().caption, kProblem);
        EXPECT_EQ(lastText(), subject + QStringLiteral(" مشتري مورد نظر ”") +
                                  QString::number(threshold + 1) + QStringLiteral("“ از آستانه ") +
                                  subject + QStringLiteral(" ”") + QString::number(threshold) +
                                  QStringLiteral("“ تجاوز كرده است و ثبت فاكتور ممكن نيست."));
        stat(AccountInfo::RemainedValue, 0, true);
        EXPECT_EQ(check(), t.secondGroup);
        limit(t.column, QVariant());
    }
}

TEST_P(CreditTest, MessagesWriteCountsAsIntegersAndAmountsAsCurrency) {
    limit("MaxReturnedChequeQty", 2);
    stat(AccountInfo::ReturnedChequeQty, 3, false);
    EXPECT_FALSE(check());
    EXPECT_EQ(lastText(), QStringLiteral("تعداد چك برگشتي مشتري مورد نظر ”3“ از آستانه تعداد چك "
                                         "برگشتي ”2“ تجاوز كرده است و ثبت فاكتور ممكن نيست."));
    limit("MaxReturnedChequeQty", QVariant());
    limit("MaxSaleReturnValue", QVariant::fromValue(Money::fromDouble(1500000.5)));
    stats[AccountInfo::SaleReturnValue] = QVariant::fromValue(Money::fromDouble(1500000.75));
    EXPECT_FALSE(check());
    EXPECT_EQ(lastText(), QStringLiteral("مبلغ برگشت از فروش مشتري مورد نظر ”1500000.75“ از آستانه "
                                         "مبلغ برگشت از فروش ”1500000.5“ تجاوز كرده است و ثبت "
                                         "فاكتور ممكن نيست."));
}

TEST_P(CreditTest, ZeroThresholdLimitsAndTheFirstBrokenOneIsTheOnlyMessage) {
    limit("MaxSaleReturnQty", 0);
    limit("MaxReturnedChequeValue", QVariant::fromValue(R(100)));
    limit("MaxDebitAge", 10);
    stat(AccountInfo::SaleReturnQty, 1, false);
    stat(AccountInfo::ReturnedChequeValue, 101, true);
    stat(AccountInfo::DebitAge, 11, false);
    stat(AccountInfo::RemainedValue, 5, true);
    EXPECT_FALSE(check());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(lastText().startsWith(QStringLiteral("مبلغ چك برگشتي ")));
    stat(AccountInfo::ReturnedChequeValue, 100, true);
    EXPECT_FALSE(check());
    EXPECT_TRUE(lastText().startsWith(QStringLiteral("تعداد برگشت از فروش ")));
}

TEST_P(CreditTest, SecondGroupOnlyAboveTheFreeDebit) {
    limit("MaxDebitAge", 10);
    stat(AccountInfo::DebitAge, 50, false);
    const struct {
        QVariant freeDebit;
        qint64 remained;
        bool passes;
    } cases[] = {
        {QVariant::fromValue(R(100000)), 100000, true},
        {QVariant::fromValue(R(100000)), 100001, false},
        {QVariant::fromValue(R(-500)), 0, true},  // a negative allowance counts as 0
        {QVariant::fromValue(R(-500)), 1, false},
        {QVariant(), 0, true},
        {QVariant(), 1, false},
    };
    for (const auto& c : cases) {
        limit("MaxFreeDebitValue", c.freeDebit);
        stat(AccountInfo::RemainedValue, c.remained, true);
        EXPECT_EQ(check(), c.passes) << c.remained;
    }
    EXPECT_TRUE(lastText().startsWith(QStringLiteral("سند بدهي مشتري مورد نظر ”50“")));
}

// Parameter 93, right 90111 and the work activity decide whether anything is checked.
TEST_P(CreditTest, CreditControlParameterRightAndWorkActivityGateEveryCheck) {
    limit("MaxSaleReturnQty", 0);
    stat(AccountInfo::SaleReturnQty, 1, false);
    distribution(QStringLiteral("EnableCredit = 1, Credit = 0"));
    stat(AccountInfo::RemainedValue, 10, true);
    const int unchecked = test::AddCheckedCustomer(db(), QStringLiteral("کارگاه"), degree, false);
    db().exec(QStringLiteral("insert into tblDistributionOrganization (OrganizationID, "
                             "EnableCredit, Credit) values (?, 1, 0)"),
              {unchecked});
    const int withRight = addUser(QStringLiteral("سرپرست"), false, {90111});
    const struct {
        const char* rule;
        int user;
        bool checkedActivity;
        bool passes;
    } cases[] = {
        {"2", withRight, true, true}, {"1", withRight, true, true}, {"3", withRight, true, false},
        {"2", clerk, true, false},    {"1", clerk, true, false},    {"0", clerk, true, true},
        {"2", clerk, false, true},
    };
    for (const auto& c : cases) {
        ctx.globals.CurrentUserID = c.user;
        useParameter(P::CreditControl, QString::fromLatin1(c.rule));
        statisticCalls = 0;
        messages.clear();
        int org = c.checkedActivity ? customer : unchecked;
        EXPECT_EQ(
            credit().CheckCustomerCreditConstraints(org, -1, -1, org, false, false, false, R(1000)),
            c.passes)
            << c.rule << " user " << c.user;
        EXPECT_EQ(messages.empty(), c.passes);
        if (c.passes) {
            EXPECT_EQ(statisticCalls, 0);
        }
    }
}

TEST_P(CreditTest, InvoiceOfADistributionSheetIsNeverRefused) {
    limit("MaxSaleReturnQty", 0);
    stat(AccountInfo::SaleReturnQty, 1, false);
    test::InvoiceRow row;
    row.customer = customer;
    row.distributionInvoice = 4;
    doc().txtID = QString::number(test::AddInvoice(db(), row));
    EXPECT_TRUE(check());
    row.distributionInvoice = -1;
    doc().txtID = QString::number(test::AddInvoice(db(), row));
    EXPECT_FALSE(check());
    doc().txtDistID = QStringLiteral("4");  // a new invoice made for a sheet
    EXPECT_TRUE(check());
}

TEST_P(CreditTest, OrganisationComesFromTheCustomerElseAnObjectOfClassSeven) {
    limit("MaxSaleReturnQty", 0);
    stat(AccountInfo::SaleReturnQty, 1, false);
    int org = -1;
    EXPECT_FALSE(
        credit().CheckCustomerCreditConstraints(org, 55, customer, -1, false, true, true, R(0)));
    EXPECT_EQ(org, customer);
    org = -1;
    EXPECT_TRUE(credit().CheckCustomerCreditConstraints(org, customer, customer, -1, false, false,
                                                        true, R(0)));
    EXPECT_EQ(org, -1);
}

TEST_P(CreditTest, ShopCashSalePassesAndCreditSaleIsChecked) {
    useParameter(P::ShopMode, QStringLiteral("1"));
    limit("MaxSaleReturnQty", 0);
    stat(AccountInfo::SaleReturnQty, 1, false);
    doc().sltPaidByCash.setID(1);
    EXPECT_TRUE(check());
    EXPECT_EQ(statisticCalls, 0);
    doc().sltPaidByCash.setID(2);
    EXPECT_FALSE(check());
}

TEST_P(CreditTest, CreditShortfallCountsEveryOtherTemporaryInvoice) {
    distribution(QStringLiteral("EnableCredit = 1, Credit = 1000000"));
    stat(AccountInfo::RemainedValue, 700000, true);
    const int other = test::AddCustomer(db(), QStringLiteral("ديگري"));
    test::InvoiceRow temp;
    temp.customer = other;
    test::AddInvoiceLine(db(), test::AddInvoice(db(), temp), QStringLiteral("1001"), 4, 20000, 1,
                         1);
    temp.customer = customer;
    const int self = test::AddInvoice(db(), temp);  // this invoice, stored as temporary
    test::AddInvoiceLine(db(), self, QStringLiteral("1001"), 1, 999999, 1, 1);
    doc().txtID = QString::number(self);
    EXPECT_TRUE(check(220000));  // nothing short
    EXPECT_FALSE(check(250000));
    EXPECT_EQ(messages.last().caption, kProblem);
    EXPECT_EQ(lastText(), QStringLiteral("مشتري مورد نظر به اندازه «30/000» اعتبار ندارد.\n"
                                         "اعتبار اوليه و مازاد: 1/000/000\n"
                                         "مانده حساب باز: 700/000\n"
                                         "فاكتورهاي باز (بانضمام اين فاکتور): 330/000"));
}

TEST_P(CreditTest, DocumentCreditShortfallCountsTheUncollectedDocuments) {
    distribution(QStringLiteral("EnableDocumentCredit = 1, DocumentCredit = 2000000"));
    stat(AccountInfo::RemainedValue, 700000, true);
    stat(AccountInfo::NonPaidDocumentValue, 900000, true);
    EXPECT_TRUE(check(400000));
    EXPECT_FALSE(check(450000));
    EXPECT_EQ(messages.last().caption, kProblem);
    EXPECT_EQ(lastText(), QStringLiteral("مشتري مورد نظر به اندازه «50/000» اعتبار اسنادي ندارد.\n"
                                         "اعتبار اسنادي اوليه و مازاد: 2/000/000\n"
                                         "اسناد وصول نشده: 900/000\n"
                                         "مانده حساب باز: 700/000\n"
                                         "فاكتورهاي باز (بانضمام اين فاکتور): 450/000"));
}

TEST_P(CreditTest, NullCreditCountsAsMinusOneRial) {
    distribution(QStringLiteral("EnableCredit = 1"));
    EXPECT_FALSE(check(0));
    EXPECT_TRUE(
        lastText().startsWith(QStringLiteral("مشتري مورد نظر به اندازه «1» اعتبار ندارد.")));
}

// Today is 2026-12-06 (1405/09/15).
TEST_P(CreditTest, ExtraCreditCountsOnlyInsideItsDates) {
    distribution(
        QStringLiteral("EnableCredit = 1, Credit = 1000000, EnableExtraCredit = 1, "
                       "ExtraCredit = 100000"));
    const QString dates = QStringLiteral(
        "update tblDistributionOrganization set ExtraCreditBeginDate = ?, ExtraCreditEndDate = ?, "
        "FarsiExtraCreditBeginDate = ?, FarsiExtraCreditEndDate = ? where OrganizationID = ?");
    const struct {
        QDate begin, end;
        QVariant farsiBegin, farsiEnd;
        bool passes;
    } cases[] = {
        {QDate(2026, 12, 6), QDate(2026, 12, 6), {}, {}, true},
        {QDate(2026, 12, 7), QDate(2026, 12, 30), {}, {}, false},
        {QDate(2026, 11, 1), QDate(2026, 12, 5), {}, {}, false},
        {QDate(), QDate(2026, 12, 6), {}, {}, true},
        {QDate(2026, 12, 1), QDate(), {}, {}, true},
        {QDate(), QDate(), {}, {}, true},
        {QDate(), QDate(), QStringLiteral("1405/09/16"), {}, false},  // only the Jalali twin
    };
    for (const auto& c : cases) {
        db().exec(dates, {c.begin.isValid() ? QVariant(c.begin) : QVariant(),
                          c.end.isValid() ? QVariant(c.end) : QVariant(), c.farsiBegin, c.farsiEnd,
                          customer});
        EXPECT_EQ(check(1050000), c.passes) << c.begin.toString().toStdString();
    }
    EXPECT_TRUE(lastText().contains(QStringLiteral("\nاعتبار اوليه و مازاد: 1/000/000\n")));
}

TEST_P(CreditTest, ExtraCreditRaisesTheCreditWhenBothChecksAreOn) {
    distribution(
        QStringLiteral("EnableCredit = 1, Credit = 1000000, EnableDocumentCredit = 1, "
                       "DocumentCredit = 1000000, EnableExtraCredit = 1, "
                       "ExtraCredit = 100000"));
    EXPECT_FALSE(check(1050000));
    EXPECT_TRUE(lastText().contains(QStringLiteral("اعتبار اسنادي ندارد.")));
    EXPECT_TRUE(lastText().contains(QStringLiteral("اعتبار اسنادي اوليه و مازاد: 1/000/000")));
    db().exec(QStringLiteral("update tblDistributionOrganization set EnableCredit = 0"));
    EXPECT_TRUE(check(1050000));  // now the document credit takes it
}

class PromoterCreditTest : public CreditTest {
protected:
    void SetUp() override {
        CreditTest::SetUp();
        promoter = static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblEmployee (FirstName, SureName) values (?, ?) RETURNING "
                           "ID"),
            {QStringLiteral("رضا"), QStringLiteral("كريمي")}));
        const int open = test::AddFinalInvoice(db(), {customer, now.date(), 80000, promoter});
        test::AssignReceipt(db(), open, 30000);
        const int paid = test::AddFinalInvoice(db(), {customer, now.date(), 10000, promoter});
        test::AssignReceipt(db(), paid, 10000, false);
        test::AddFinalInvoice(db(), {customer, now.date(), 999999, promoter, -1, -1, true});
        test::AddFinalInvoice(db(), {customer, now.date(), 777777, promoter + 1});
    }
    void pathThreshold(const QVariant& value) {
        db().exec(QStringLiteral("insert into tblDistributionPathPromoters (PathID, EmployeeID, "
                                 "NonAchievedMaxValue) values (1, ?, ?)"),
                  {promoter, value});
    }
    int promoter = -1;
};

TEST_P(PromoterCreditTest, OutstandingSalesUpToTheThresholdPass) {
    pathThreshold(QVariant::fromValue(R(100000)));
    pathThreshold(QVariant::fromValue(R(500000)));  // another path: the lower one holds
    EXPECT_TRUE(credit().CheckPromoterNonAchieved(promoter, R(50000)));  // 50,000 + 50,000
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(credit().CheckPromoterNonAchieved(promoter, R(50001)));
    EXPECT_EQ(messages.last().caption, QStringLiteral("خطا"));
    EXPECT_EQ(lastText(), QStringLiteral("مبالغ وصول نشده مربوط به اين بازارياب 100/001 از آستانه "
                                         "ي مشخص شده وي بيشتر شده است."));
}

TEST_P(PromoterCreditTest, RightToContinueTurnsTheRefusalIntoAQuestion) {
    pathThreshold(QVariant::fromValue(R(100000)));
    grant(clerk, 90119);
    messages.answerYes();
    EXPECT_TRUE(credit().CheckPromoterNonAchieved(promoter, R(60000)));
    EXPECT_EQ(messages.last().caption, QStringLiteral("هشدار"));
    EXPECT_EQ(lastText(), QStringLiteral("مبالغ وصول نشده مربوط به اين بازارياب (110/000) از "
                                         "آستانه ي مشخص شده وي بيشتر شده است. آيا ادامه مي دهيد؟"));
    messages.answerNo();
    EXPECT_FALSE(credit().CheckPromoterNonAchieved(promoter, R(60000)));
}

TEST_P(PromoterCreditTest, PromoterWithoutAThresholdIsNotLimited) {
    EXPECT_TRUE(credit().CheckPromoterNonAchieved(promoter, R(90000000)));
    pathThreshold(QVariant());
    pathThreshold(QVariant::fromValue(R(0)));
    EXPECT_TRUE(credit().CheckPromoterNonAchieved(promoter, R(90000000)));
    EXPECT_TRUE(messages.empty());
}

class CreditWithStatisticsTest : public CreditTest {
protected:
    void SetUp() override {
        scriptStatistics = false;
        CreditTest::SetUp();
    }
};

TEST_P(CreditWithStatisticsTest, BalanceOfTheCustomersAccountsMeetsTheCredit) {
    distribution(QStringLiteral("EnableCredit = 1, Credit = 1000000"));
    const int account = test::AddCustomerAccount(db(), customer);
    test::PostToAccount(db(), account, 1000000, 100000, QDate(2026, 11, 1));
    EXPECT_TRUE(check(100000));
    EXPECT_FALSE(check(200000));
    EXPECT_EQ(lastText(), QStringLiteral("مشتري مورد نظر به اندازه «100/000» اعتبار ندارد.\n"
                                         "اعتبار اوليه و مازاد: 1/000/000\n"
                                         "مانده حساب باز: 900/000\n"
                                         "فاكتورهاي باز (بانضمام اين فاکتور): 200/000"));
}

SI_INSTANTIATE_BACKENDS(CreditTest);
SI_INSTANTIATE_BACKENDS(PromoterCreditTest);
SI_INSTANTIATE_BACKENDS(CreditWithStatisticsTest);

}  // namespace
}  // namespace si
