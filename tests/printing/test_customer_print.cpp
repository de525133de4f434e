// cmdCustomerPrint: the customer's credit figures on an invoice template, eight formulas of the
// form name= 'value'; refused without a customer or without the customer's account.

#include "PrintingTestSupport.h"
#include "common/Numbers.h"
#include "invoice/CreditLogic.h"
#include "printing/PrintTexts.h"
#include "support/CreditFixtures.h"

namespace si::test {
namespace {

class CustomerPrintTest : public PrintingTest {
protected:
    void SetUp() override {
        PrintingTest::SetUp();
        file = inFolder(QStringLiteral("Credit.xml"));
        addTemplate(TemplateFormType::SaleInvoice, file);
        id = storedInvoice();
    }
    // The customer's account of the sale's automatic posting.
    void giveAccount() {
        const int account = this->account("1301");
        db().exec(QStringLiteral("insert into tblAccountRelatedObjects (AccountID, RelatedClassID, "
                                 "RelatedObjectID, AccountGroupID) values (?, 7, ?, 40)"),
                  {account, customer});
        db().exec(
            QStringLiteral("insert into tblAccountAutomaticDocFormat (AccountGroupID, "
                           "ClassID, AutomaticEventID, AccountNatureID) values (40, 7, 201, "
                           "0)"));
        PostToAccount(db(), account, 120000, 20000, QDate(2026, 11, 1));
    }
    QString file;
    int id = -1;
};

TEST_P(CustomerPrintTest, TheCreditFiguresOfTheCustomer) {
    giveAccount();
    db().exec(QStringLiteral("insert into tblDistributionOrganization (OrganizationID, "
                             "EnableCredit, Credit) values (?, 1, ?)"),
              {customer, QVariant::fromValue(Money::fromRials(500000))});
    ASSERT_TRUE(form->runCommand(QStringLiteral("cmdCustomerPrint")));
    ASSERT_EQ(report->outputs.size(), 1u) << messages.texts().join(u'\n').toStdString();
    const RecordedOutput& o = report->last();
    EXPECT_EQ(o.file, file);
    EXPECT_EQ(o.preview, 1);
    const AccountStatistics stats = AccountStatistics::read(db(), customer);
    const auto amount = [&stats](int output) { return FormatAmount(stats.amount(output)); };
    ASSERT_EQ(amount(AccountInfo::RemainedValue), QStringLiteral("100/000"));
    const QMap<int, QString> expected{
        {1, QStringLiteral("fmlCompanyName= ' مشتري نمونه'")},
        {2, QStringLiteral("fmlStrDebitAge= '") +
                QString::number(stats.count(AccountInfo::DebitAge)) + QLatin1Char('\'')},
        {3, QStringLiteral("fmlStrMaxDebit= '500/000'")},
        {4, QStringLiteral("fmlStrPrevAccValue= '100/000'")},
        {5, QStringLiteral("fmlStrRecvalue= '") + amount(AccountInfo::NonPaidDocumentValue) +
                QLatin1Char('\'')},
        {6, QStringLiteral("fmlStrRegInvoice= '") +
                amount(AccountInfo::SumOfNonPaidSaleInvoiceValue) + QLatin1Char('\'')},
        {7, QStringLiteral("fmlStrUnRPDRemained= '") +
                amount(AccountInfo::RemainedCreditWithTempInvoiceValue) + QLatin1Char('\'')},
        {8, QStringLiteral("fmlStrPrevRPDValue= '400/000'")}};
    EXPECT_EQ(o.formulas, expected);
}

TEST_P(CustomerPrintTest, ACustomerWithItsAccountIsNeeded) {
    messages.clear();
    EXPECT_FALSE(printing().cmdCprint_Click());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, QStringLiteral("وضعيت اعتبار مشتري: "));
    EXPECT_EQ(messages.last().text, QStringLiteral("اين مشتري حساب ندارد."));
    form->doc().sltCustomer.setIDQuietly(-1, QString());
    messages.clear();
    EXPECT_FALSE(printing().cmdCprint_Click());
    EXPECT_EQ(messages.last().text, print::kNoCustomerChosen);
    EXPECT_TRUE(report->outputs.empty());
}

SI_INSTANTIATE_BACKENDS(CustomerPrintTest);

}  // namespace
}  // namespace si::test
