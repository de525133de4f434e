// The formula list of an invoice template, item by item in the order the templates number them,
// and the rules of its items: quotes, empty cost slots, the five-surcharge cap, empty items.

#include "PrintingTestSupport.h"
#include "printing/InvoiceFormulas.h"
#include "printing/PrintSources.h"
#include "support/CreditFixtures.h"

namespace si::test {
namespace {

class InvoiceFormulasTest : public PrintingTest {
protected:
    void SetUp() override {
        PrintingTest::SetUp();
        addTemplate(TemplateFormType::SaleInvoice, inFolder(QStringLiteral("SaleInvoice.xml")));
    }
    int surchargeType(const QString& name) {
        return static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblZelorSuchargeType (Name) values (?) RETURNING ID"),
            {name}));
    }
    void addSurcharge(int invoice, const QString& name, qint64 value) {
        db().exec(QStringLiteral("insert into tblSaleInvoiceSucharge (InvoiceID, SuchargeTypeID, "
                                 "Value) values (?, ?, ?)"),
                  {invoice, surchargeType(name), QVariant::fromValue(Money::fromRials(value))});
    }
    int insert(const QString& sql, const QVariantList& values) {
        return static_cast<int>(db().insertReturningId(sql, values));
    }
    int relatedAccount(const char* code, int group) {
        const int id = account(code);
        db().exec(QStringLiteral("insert into tblAccountRelatedObjects (AccountID, RelatedClassID, "
                                 "RelatedObjectID, AccountGroupID) values (?, 7, ?, ?)"),
                  {id, customer, group});
        return id;
    }
    // The formulas the component was given for the last output, in their numbers' order.
    QStringList sent() const {
        const QMap<int, QString>& f = report->last().formulas;
        EXPECT_EQ(f.firstKey(), 1);
        EXPECT_EQ(f.lastKey(), f.size());
        return f.values();
    }
};

// Every item of the list from one invoice that has a value for each: company, customer, message,
// surcharges, promoter, settlement date, store, pre-condition, sale order, balance and profit.
TEST_P(InvoiceFormulasTest, EveryItemInItsPlace) {
    db().exec(QStringLiteral("update tblGood set BuyPrice = ? where Barcode = '1001'"),
              {QVariant::fromValue(Money::fromRials(1000))});
    db().exec(QStringLiteral("insert into tblZelorCompany (Name, Address, Phone, Fax, Email, "
                             "IsActive) values (?, ?, ?, ?, ?, 1)"),
              {QStringLiteral("شركت نمونه"), QStringLiteral("تهران"), QStringLiteral("021-1111"),
               QStringLiteral("021-2222"), QStringLiteral("info@example.ir")});
    db().exec(QStringLiteral("update tblOrganization set FirstName = ?, Phone1 = ?, Address = ?, "
                             "Email = ?, Fax = ?, BossDescription = ? where ID = ?"),
              {QStringLiteral("علي"), QStringLiteral("0912-000"), QStringLiteral("كوچه 'گل'"),
               QStringLiteral("ali@example.ir"), QStringLiteral("021-3333"),
               QStringLiteral("مدير عامل"), customer});
    const int region = insert(QStringLiteral("insert into tblDistributionRegion (Name) values (?) "
                                             "RETURNING ID"),
                              {QStringLiteral("منطقه يك")});
    const int path = insert(QStringLiteral("insert into tblDistributionPath (Name, RegionID) "
                                           "values (?, ?) RETURNING ID"),
                            {QStringLiteral("مسير شمال"), region});
    db().exec(QStringLiteral("insert into tblDistributionOrganization (OrganizationID, PathID, "
                             "StoreName) values (?, ?, ?)"),
              {customer, path, QStringLiteral("فروشگاه علي")});
    const int preCondition =
        insert(QStringLiteral("insert into tblSalePreCondition (Name) values (?) RETURNING ID"),
               {QStringLiteral("نقد")});
    const int promoter =
        insert(QStringLiteral("insert into tblEmployee (Code, FirstName, "
                              "SureName) values (?, ?, ?) RETURNING ID"),
               {QStringLiteral("P7"), QStringLiteral("رضا"), QStringLiteral("احمدي")});
    const int order = insert(
        QStringLiteral("insert into tblSaleOrder (ManualCode, Notes, "
                       "FarsiCreateDate) values (?, ?, ?) RETURNING ID"),
        {QStringLiteral("M-9"), QStringLiteral("سفارش تلفني"), QStringLiteral("1405/09/10")});

    db().exec(QStringLiteral("insert into tblSaleMessage (Message) values (?)"),
              {QStringLiteral("با تشكر")});
    installSave();  // the form lists the print messages when it loads
    newInvoice({line(QStringLiteral("1001"), 2, 1500)});
    form->doc().cmbMessage = QStringLiteral("با تشكر");
    ASSERT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
    const int id = savedID();
    addSurcharge(id, QStringLiteral("حمل"), 2000);
    addSurcharge(id, QStringLiteral("تخفيف"), 0);
    addSurcharge(id, QStringLiteral("بيمه"), 1500);
    const QVariant total = QVariant::fromValue(Money::fromRials(6500));
    db().exec(QStringLiteral("update tblSaleInvoice set PromoterID = ?, PreConditionID = ?, "
                             "SaleOrderID = ?, ClearDate = ?, FarsiClearDate = ?, SuchargeValue = "
                             "?, TotalValue = ?, PureTotalValue = ? where ID = ?"),
              {promoter, preCondition, order, QDate(2026, 12, 20), QStringLiteral("1405/09/29"),
               QVariant::fromValue(Money::fromRials(3500)), total, total, id});
    // The balance: a credit on an account of group 11 and a debit on a child of the group-5
    // account count; the group-5 account itself, a later day, a pre-document and the invoice's
    // own posting do not.
    const int own = relatedAccount("1201", 11);
    const int parent = relatedAccount("1202", 5);
    const int child = insert(QStringLiteral("insert into tblAccount (Code, Title, ParentID, "
                                            "IsClosed) values ('120201', 'فرعي', ?, 0) "
                                            "RETURNING ID"),
                             {parent});
    PostToAccount(db(), own, 0, 300000, QDate(2026, 12, 1));
    PostToAccount(db(), parent, 999, 0, QDate(2026, 12, 1));
    PostToAccount(db(), child, 50000, 0, QDate(2026, 12, 6));
    PostToAccount(db(), own, 7000, 0, QDate(2026, 12, 7));
    PostToAccount(db(), own, 8000, 0, QDate(2026, 12, 6), true);
    PostToAccount(db(), own, 3000, 0, QDate(2026, 12, 5));
    db().exec(QStringLiteral("update tblAccountDocumentDetail set FormTypeID = 901, FormID = ? "
                             "where AccountID = ? and DebitValue = ?"),
              {id, own, QVariant::fromValue(Money::fromRials(3000))});

    form->ViewInvoice(id);
    form->doc().lblAccountIDVal = QStringLiteral("صندوق جلو_1_1405/09/15");
    ASSERT_TRUE(printing().Print(true)) << messages.texts().join(u'\n').toStdString();
    const Money grand = form->doc().totals.GrandTotal;
    ASSERT_EQ(grand, Money::fromRials(6500));  // the lines and the two surcharges

    const QString n = QString::number(id);
    const QStringList expected = {
        QStringLiteral("fmlSLSInvoiceID=") + n,
        QStringLiteral("fmlID=") + n,
        QStringLiteral("Alphabet='شش هزار و پانصد    ريال'"),  // the words end in blanks
        QStringLiteral("Title='فاکتور فروش'"),
        QStringLiteral("fmlMessage='   با تشكر    '"),
        QStringLiteral("fmlCompanyName='شركت نمونه'"),
        QStringLiteral("fmlCompanyAddress='تهران'"),
        QStringLiteral("fmlCompanyPhone='021-1111'"),
        QStringLiteral("fmlCompanyFax='021-2222'"),
        QStringLiteral("fmlCompanyEmail='info@example.ir'"),
        QStringLiteral("fmlCustomerName='علي مشتري نمونه'"),
        QStringLiteral("fmlCustomerAddress='كوچه ''گل'''"),
        QStringLiteral("fmlCustomerPhone='0912-000'"),
        QStringLiteral("fmlCustomerFax='021-3333'"),
        QStringLiteral("fmlCustomerEmail='ali@example.ir'"),
        QStringLiteral("fmlBossDescription='مدير عامل'"),
        QStringLiteral("fmlCustomerCode='C1'"),
        QStringLiteral("fmlPrintDate='1405/09/15'"),
        QStringLiteral("fmlRemainedValue=250000"),
        QStringLiteral("CreatorName='مدير سيستم'"),
        QStringLiteral("fmlCash='صندوق جلو_1_1405/09/15'"),
        QStringLiteral("fmlCostName1=':حمل'"),
        QStringLiteral("fmlCostName2=':بيمه'"),
        QStringLiteral("fmlCostName3=''"),
        QStringLiteral("fmlCostName4=''"),
        QStringLiteral("fmlCostName5=''"),
        QStringLiteral("fmlCostVal1='2000'"),
        QStringLiteral("fmlCostVal2='1500'"),
        QStringLiteral("fmlCostVal3=''"),
        QStringLiteral("fmlCostVal4=''"),
        QStringLiteral("fmlCostVal5=''"),
        QStringLiteral("fmlPromoter='رضا احمدي'"),
        QStringLiteral("fmlPromoterCode='P7'"),
        QStringLiteral("fmlExpireDate='1405/09/29'"),
        QStringLiteral("fmlStoreName='فروشگاه علي'"),
        QStringLiteral("fmlPathName='مسير شمال'"),
        QStringLiteral("fmlRegionName='منطقه يك'"),
        QStringLiteral("fmlLoanExpire='14'"),
        QStringLiteral("fmlPreCondition='نقد'"),
        QStringLiteral("fmlTotalRemainedValue=243500"),
        QStringLiteral("fmlTotalValue=6500"),
        QStringLiteral("fmlCalcTotalValue=6500"),
        QStringLiteral("fmlOrderNotes='سفارش تلفني'"),
        QStringLiteral("fmlOrderManualCode='M-9'"),
        QStringLiteral("fmlOrderDate='1405/09/10'"),
        QStringLiteral("fmlBenefit=1000"),
        QStringLiteral("fmlTotalPriceLock=3000")};
    const QStringList items = sent();
    ASSERT_EQ(items.size(), expected.size()) << items.join(u'\n').toStdString();
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(items[i], expected[i]) << "item " << i + 1;
}

// Without surcharges the ten cost items go empty; of seven the first five are sent, in the order
// they were stored.
TEST_P(InvoiceFormulasTest, CostItemsTakeAtMostFiveSurcharges) {
    const int id = storedInvoice();
    ASSERT_TRUE(printing().Print(true));
    QStringList costs = sent().mid(21, 10);
    for (const QString& item : costs)
        EXPECT_TRUE(item.endsWith(QLatin1String("=''"))) << item.toStdString();
    EXPECT_TRUE(costs.first().startsWith(QLatin1String("fmlCostName1=")));
    EXPECT_TRUE(costs.last().startsWith(QLatin1String("fmlCostVal5=")));

    for (int k = 1; k <= 7; ++k)
        addSurcharge(id, QStringLiteral("هزينه %1").arg(k), 100 * k);
    form->ViewInvoice(id);
    ASSERT_TRUE(printing().Print(true));
    costs = sent().mid(21, 10);
    QStringList expected;
    for (int k = 1; k <= 5; ++k)
        expected << QStringLiteral("fmlCostName%1=':هزينه %1'").arg(k);
    for (int k = 1; k <= 5; ++k)
        expected << QStringLiteral("fmlCostVal%1='%2'").arg(k).arg(100 * k);
    EXPECT_EQ(costs, expected);
}

// The component numbers the items from 1; an item empty after trimming is not sent and takes no
// number, and a quote in a text is doubled.
TEST(FormulaNumbering, EmptyItemsTakeNoNumber) {
    const QMap<int, QString> numbered =
        NumberedFormulas({QStringLiteral("a=1"), QString(), QStringLiteral("b='x'"),
                          QStringLiteral("   "), QStringLiteral("c=2")});
    const QMap<int, QString> expected{
        {1, QStringLiteral("a=1")}, {2, QStringLiteral("b='x'")}, {3, QStringLiteral("c=2")}};
    EXPECT_EQ(numbered, expected);
    FormulaList list;
    list.text(QStringLiteral("fmlNote"), QStringLiteral("it's"));
    list.number(QStringLiteral("fmlValue"), Money::fromRaw(12345));
    EXPECT_EQ(list.joined(), QStringLiteral("fmlNote='it''s'&fmlValue=1.2345"));
}

// A person (an employee as the first accounting object) has no fax and no boss description; an
// organisation's name is its first name and name.
TEST_P(InvoiceFormulasTest, APersonIsReadFromTheEmployees) {
    const int person = insert(QStringLiteral("insert into tblEmployee (Code, FirstName, SureName, "
                                             "Phone, Address, Email) values ('E1', 'مريم', "
                                             "'كريمي', '0935', 'شيراز', 'm@example.ir') "
                                             "RETURNING ID"),
                              {});
    const CustomerDetails p = ReadCustomer(db(), {ObjectClass::Employee, person});
    EXPECT_EQ(p.name, QStringLiteral("مريم كريمي"));
    EXPECT_EQ(p.phone, QStringLiteral("0935"));
    EXPECT_EQ(p.address, QStringLiteral("شيراز"));
    EXPECT_EQ(p.email, QStringLiteral("m@example.ir"));
    EXPECT_EQ(p.code, QStringLiteral("E1"));
    EXPECT_TRUE(p.fax.isEmpty() && p.bossDescription.isEmpty());
    EXPECT_EQ(ReadCustomer(db(), {ObjectClass::Organization, customer}).name,
              QStringLiteral(" مشتري نمونه"));
    EXPECT_EQ(ReadCustomer(db(), {ObjectClass::Organization, -1}).name, QString());
}

SI_INSTANTIATE_BACKENDS(InvoiceFormulasTest);

}  // namespace
}  // namespace si::test
