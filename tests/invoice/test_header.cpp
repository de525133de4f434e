// The invoice header: loading a stored invoice, the defaults of a new one, and the change
// handlers of customer, inventory, type, branch, objects, promoter, pre-condition and card.

#include <gtest/gtest.h>

#include "common/Jalali.h"
#include "invoice/FormTestSupport.h"
#include "invoice/HeaderLogic.h"
#include "invoice/LinesLogic.h"

namespace si {
namespace {

class HeaderTest : public test::FormTest {
protected:
    HeaderLogic& header() { return *form->services().header; }
    InvoiceDocument& doc() { return form->doc(); }
    int customerWithPath(const QString& name, int promoter, int pricingMethod) {
        const int customer = test::AddCustomer(db(), name);
        const int path = static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblDistributionPath (Name) values (?) RETURNING ID"),
            {name}));
        db().exec(QStringLiteral("insert into tblDistributionPathPromoters (PathID, EmployeeID, "
                                 "PriorityNo) values (?,?,1)"),
                  {path, promoter});
        db().exec(QStringLiteral("insert into tblDistributionOrganization (OrganizationID, PathID, "
                                 "PricingMethodID) values "
                                 "(?,?,?)"),
                  {customer, path, pricingMethod > 0 ? QVariant(pricingMethod) : QVariant()});
        return customer;
    }
    int employee(const QString& name, int parent = -1) {
        return static_cast<int>(
            db().insertReturningId(QStringLiteral("insert into tblEmployee (FirstName, SureName, "
                                                  "ParentID) values (?, '', ?) RETURNING ID"),
                                   {name, parent > 0 ? QVariant(parent) : QVariant()}));
    }
    int pricingMethod(const QString& name) {
        const int id = static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblSalePricingMethod (Name) values (?) RETURNING ID"),
            {name}));
        db().exec(
            QStringLiteral(
                "insert into tblSalePricingMethodUser (UserID, PricingMethodID) values (?, ?)"),
            {ctx.globals.CurrentUserID, id});
        return id;
    }
    void newInvoice() {
        form->ClearShow();
        form->cmdNew_Click();
    }
};

TEST_P(HeaderTest, CodeShowsNoneForMinusOneAndNothingWhileTemporary) {
    EXPECT_EQ(HeaderLogic::codeText(QVariant(-1)), QStringLiteral("ندارد"));
    EXPECT_EQ(HeaderLogic::codeText(QVariant()), QString());
    EXPECT_EQ(HeaderLogic::codeText(QVariant(57)), QStringLiteral("57"));
    test::InvoiceRow row;
    row.code = -1;
    form->ViewInvoice(test::AddInvoice(db(), row));
    EXPECT_EQ(doc().txtCode, QStringLiteral("ندارد"));
}

TEST_P(HeaderTest, StoredInvoiceLoadsItsFieldsAndNullFlagsTakeTheirDefaults) {
    setParameter(P::DefaultFormal, QStringLiteral("0"));
    const int customer = test::AddCustomer(db(), QStringLiteral("فروشگاه ستاره"));
    test::InvoiceRow row;
    row.customer = customer;
    row.code = 12;
    row.notes = QStringLiteral("تحويل فوري");
    const int id = test::AddInvoice(db(), row);
    db().exec(QStringLiteral(
                  "update tblSaleInvoice set IsFormal = NULL, IsCheckEchantillon = 0, ManualCode = "
                  "'ق-15', "
                  "CreditDays = 12, DiscountTypeID = 3, DiscountPercent = 5, TotalValue = 95000, "
                  "ClearDate = ? where ID = ?"),
              {QDate(2026, 12, 16), id});
    newForm();
    form->ViewInvoice(id);
    EXPECT_EQ(doc().txtID, QString::number(id));
    EXPECT_EQ(doc().txtCode, QStringLiteral("12"));
    EXPECT_EQ(doc().sltCustomer.ID(), customer);
    EXPECT_TRUE(doc().sltCustomer.text().contains(QStringLiteral("فروشگاه ستاره")));
    EXPECT_EQ(doc().txtNotes, QStringLiteral("تحويل فوري"));
    EXPECT_EQ(doc().txtGhabz, QStringLiteral("ق-15"));
    EXPECT_FALSE(doc().chkIsFormal);  // null takes parameter 3396, here 0
    EXPECT_FALSE(doc().chkCheckEchantillon);
    EXPECT_EQ(doc().datCreateDate, QDate(2026, 12, 6));
    EXPECT_EQ(doc().txtLoanExpire, QStringLiteral("10"));
    EXPECT_EQ(doc().txtRemCreditTag, QStringLiteral("12"));
    EXPECT_EQ(doc().txtCreditPeriod, QStringLiteral("10 روز"));
    EXPECT_EQ(doc().masterDiscountKind, MasterDiscountKind::Percent);
    EXPECT_EQ(doc().totals.GrandTotal, Money::fromRials(95000));
    EXPECT_EQ(doc().chkIsPrimaryMessage, Qt::PartiallyChecked);
}

// Five sixths of the stored credit days, halves going to the even neighbour.
TEST_P(HeaderTest, StoredCreditDaysShowTheirPeriodRoundedToEven) {
    const int id = test::AddInvoice(db(), test::InvoiceRow{});
    for (const auto& [days, period] : {std::pair{3, "2 روز"}, {15, "12 روز"}, {9, "8 روز"}}) {
        SCOPED_TRACE(days);
        db().exec(QStringLiteral("update tblSaleInvoice set CreditDays = ? where ID = ?"),
                  {days, id});
        newForm();
        form->ViewInvoice(id);
        EXPECT_EQ(doc().txtCreditPeriod, QString::fromUtf8(period));
    }
}

TEST_P(HeaderTest, DocumentOrCashTurnLabelOfAStoredInvoice) {
    const int id = test::AddInvoice(db(), {});
    db().exec(QStringLiteral("insert into tblAccountDocumentDetail (DocumentID, RowNumber, "
                             "AccountID, FormID, FormTypeID) values (44, 1, 1, ?, 901)"),
              {id});
    form->ViewInvoice(id);
    EXPECT_EQ(doc().lblAccountIDVal, QStringLiteral("44"));
    const int cash = static_cast<int>(db().insertReturningId(
        QStringLiteral("insert into tblRecPayCash (Name) values (?) RETURNING ID"),
        {QStringLiteral("صندوق1")}));
    const int turn = static_cast<int>(db().insertReturningId(
        QStringLiteral(
            "insert into tblRecPayCashTurn (CashID, Turn, IsOpen) values (?, 3, 1) RETURNING ID"),
        {cash}));
    db().exec(QStringLiteral("insert into tblRecPayCashTurnDetail (CashTurnID, FormID, FormTypeID) "
                             "values (?, ?, 901)"),
              {turn, id});
    form->ViewInvoice(id);
    EXPECT_EQ(doc().lblAccountIDVal, QStringLiteral("صندوق1_3"));
}

TEST_P(HeaderTest, DefaultsOfANewInvoice) {
    const int method = pricingMethod(QStringLiteral("خرده"));
    db().exec(QStringLiteral(
                  "update tblSalePricingMethodUser set IsDefault = 1 where PricingMethodID = ?"),
              {method});
    const int walkIn = test::AddCustomer(db(), QStringLiteral("مشتريان"));
    const int type = test::AddInvoiceType(db(), QStringLiteral("فروش عادي"));
    test::GrantInvoiceType(db(), ctx.globals.CurrentUserID, type);
    setParameter(P::DefaultDays, QStringLiteral("30"));
    db().exec(
        QStringLiteral("insert into tblSaleMessage (Message, IsPrimary) values (?, 0), (?, 1)"),
        {QStringLiteral("با تشكر"), QStringLiteral("از خريد شما سپاسگزاريم")});
    newForm();
    newInvoice();
    EXPECT_EQ(doc().datCreateDate, now.date());
    EXPECT_EQ(doc().sltCustomer.ID(), walkIn);  // found by its name when parameter 4410 is unset
    EXPECT_EQ(doc().txtLoanExpire, QStringLiteral("30"));
    EXPECT_EQ(doc().dtpClearDate, now.date().addDays(30));
    EXPECT_EQ(doc().sltPricingMethod.ID(), method);
    EXPECT_EQ(doc().sltType.ID(), type);
    EXPECT_EQ(doc().cmbMessage, QStringLiteral("از خريد شما سپاسگزاريم"));
    EXPECT_EQ(doc().masterDiscountKind, MasterDiscountKind::Percent);
    EXPECT_TRUE(doc().chkIsFormal);
}

// The date stays within the active accounting period, or within 10 950 days of today when none
// is active: a refused date names the bounds and the invoice keeps its date; a taken one moves
// the due date with it.
TEST_P(HeaderTest, CreateDateStaysWithinTheActivePeriod) {
    setParameter(P::DefaultDays, QStringLiteral("10"));
    struct Case {
        QDate date;
        bool taken;
    };
    auto check = [this](const QVector<Case>& cases, const QString& from, const QString& to) {
        const QString refusal = QStringLiteral("تاريخ فاكتور بايد از «") + from +
                                QStringLiteral("» تا «") + to + QStringLiteral("» باشد.");
        newForm();
        newInvoice();
        for (const Case& c : cases) {
            SCOPED_TRACE(getFarsiDate(c.date).toStdString());
            messages.clear();
            const QDate before = doc().datCreateDate;
            EXPECT_EQ(header().SetCreateDate(c.date), c.taken);
            if (c.taken) {
                EXPECT_TRUE(messages.empty());
                EXPECT_EQ(doc().datCreateDate, c.date);
                EXPECT_EQ(doc().dtpClearDate, c.date.addDays(10));
                continue;
            }
            ASSERT_EQ(messages.shown().size(), 1u);
            EXPECT_EQ(messages.last().caption, QStringLiteral("خطا"));
            EXPECT_EQ(messages.last().text, refusal);
            EXPECT_EQ(doc().datCreateDate, before);
        }
    };
    const QDate today = now.date();
    check({{today.addDays(10950), true},
           {today.addDays(10951), false},
           {today.addDays(-10951), false},
           {today.addDays(-10950), true},
           {FromJalali(9999, 1, 1), false},
           {QDate(), false}},
          getFarsiDate(today.addDays(-10950)), getFarsiDate(today.addDays(10950)));

    db().exec(QStringLiteral("insert into tblAccountPeriod (Name, BeginDate, FarsiBeginDate, "
                             "EndDate, FarsiEndDate, IsActive) values ('1405', ?, '1405/01/01', "
                             "?, '1405/12/29', 1)"),
              {QDate(2026, 3, 21), QDate(2027, 3, 20)});
    check({{FromJalali(1406, 6, 1), false},
           {FromJalali(1500, 1, 1), false},
           {FromJalali(1404, 12, 29), false},
           {FromJalali(1405, 1, 1), true},
           {FromJalali(1405, 12, 29), true}},
          QStringLiteral("1405/01/01"), QStringLiteral("1405/12/29"));
}

TEST_P(HeaderTest, CustomerBringsPromoterAndPricingMethodFromItsPath) {
    const int promoter = employee(QStringLiteral("رضا"));
    const int method = pricingMethod(QStringLiteral("عمده"));
    const int customer = customerWithPath(QStringLiteral("سوپر ماركت آفتاب"), promoter, method);
    const int bare = test::AddCustomer(db(), QStringLiteral("بدون مسير"));
    newInvoice();
    doc().sltCustomer.setID(customer);
    EXPECT_EQ(doc().sltPromoter.ID(), promoter);
    EXPECT_EQ(doc().sltPricingMethod.ID(), method);
    doc().sltCustomer.setID(bare);  // no distribution row: the method stays cleared
    EXPECT_TRUE(doc().sltPricingMethod.IsEmpty());
    EXPECT_EQ(doc().sltPromoter.ID(), promoter);  // a look-up without a row leaves the field

    useParameter(P::ShopMode, QStringLiteral("1"));
    doc().sltPromoter.Clear();
    doc().sltCustomer.setID(customer);
    EXPECT_TRUE(doc().sltPromoter.IsEmpty());        // shop mode takes no people from paths
    EXPECT_EQ(doc().sltPricingMethod.ID(), method);  // but the method still follows the customer
}

TEST_P(HeaderTest, LastInvoiceQuestionOnlyForNewInvoices) {
    setParameter(P::AskLastInvoice, QStringLiteral("1"));
    const int customer = test::AddCustomer(db(), QStringLiteral("نمونه"));
    test::InvoiceRow last;
    last.customer = customer;
    last.notes = QStringLiteral("يادداشت قبلي");
    const int id = test::AddInvoice(db(), last);
    newForm();
    newInvoice();
    messages.clear();
    messages.answerYes();
    doc().sltCustomer.setID(customer);
    EXPECT_EQ(messages.last().caption, QStringLiteral("نمايش اطلاعات آخرين فاكتور"));
    EXPECT_EQ(doc().txtNotes, QStringLiteral("يادداشت قبلي"));
    messages.clear();
    form->ViewInvoice(id);
    form->cmdEdit_Click();
    doc().sltCustomer.setID(test::AddCustomer(db(), QStringLiteral("ديگري")));
    doc().sltCustomer.setID(customer);
    for (const auto& m : messages.shown())
        EXPECT_NE(m.caption, QStringLiteral("نمايش اطلاعات آخرين فاكتور"));
}

TEST_P(HeaderTest, InventoryNeedsTheUsersRightAndNamesTheFrame) {
    const int allowed = test::AddInventory(db(), QStringLiteral("انبار اصلي"), true);
    const int other = test::AddInventory(db(), QStringLiteral("انبار ديگر"));
    test::GrantInventory(db(), ctx.globals.CurrentUserID, allowed);
    newInvoice();
    doc().sltInventory.setID(allowed);
    EXPECT_TRUE(doc().gbSaleTitle.startsWith(QStringLiteral("فروش از انبار ")));
    EXPECT_EQ(doc().inventory.InvCE, 1);
    doc().sltInventory.setID(other);
    EXPECT_TRUE(doc().sltInventory.IsEmpty());
    EXPECT_EQ(messages.last().text,
              QStringLiteral("كاربر انتخاب شده در اين انبار مجاز به كار نميباشد."));
    EXPECT_EQ(doc().gbSaleTitle, QStringLiteral("فروش"));
}

TEST_P(HeaderTest, InvoiceTypeRightAndPreciousMetalColumns) {
    const int plain = test::AddInvoiceType(db(), QStringLiteral("فروش عادي"));
    const int gold = test::AddInvoiceType(db(), QStringLiteral("فروش طلا"), false, true);
    const int forbidden = test::AddInvoiceType(db(), QStringLiteral("فروش ويژه"));
    for (int t : {plain, gold})
        test::GrantInvoiceType(db(), ctx.globals.CurrentUserID, t);
    newInvoice();
    doc().sltType.setID(gold);
    for (int c = Col::WagePercent; c <= Col::Commission; ++c)
        EXPECT_GT(doc().flexDetail.columnWidth(c), 0) << c;
    EXPECT_TRUE(doc().flexDetail.isColumnEditable(Col::WagePerWeight));
    EXPECT_FALSE(doc().flexDetail.isColumnEditable(Col::WagePercent));
    doc().sltType.setID(plain);
    for (int c = Col::WagePercent; c <= Col::Commission; ++c)
        EXPECT_EQ(doc().flexDetail.columnWidth(c), 0) << c;
    doc().sltType.setID(forbidden);
    EXPECT_TRUE(doc().sltType.IsEmpty());
    EXPECT_EQ(messages.last().text, QStringLiteral("شما به اين نوع فاكتور, مجاز نيستيد."));
    EXPECT_EQ(messages.last().caption, QStringLiteral("اشکال"));
}

TEST_P(HeaderTest, TypeAccountsAndObjectSelectorsWithParameter311) {
    setParameter(P::AccountObjects, QStringLiteral("1"));
    db().exec(
        QStringLiteral("insert into tblAccountClass (ID, Name, ViewMajor, ViewMinor) values (7, ?, "
                       "'vwOrganizationMajor', 'vwOrganizationMinor')"),
        {QStringLiteral("اشخاص")});
    db().exec(QStringLiteral(
        "insert into tblAccountRelatedClasses (AccountID, ClassID, Sequence) values (20, 7, 1)"));
    const int type = static_cast<int>(db().insertReturningId(
        QStringLiteral("insert into tblSaleInvoiceType (Name, CreditAccountID, DebitAccountID, "
                       "DiscountAccountID, "
                       "TaxAccountID) values (?, 10, 20, 30, 40) RETURNING ID"),
        {QStringLiteral("فروش")}));
    test::GrantInvoiceType(db(), ctx.globals.CurrentUserID, type);
    const int walkIn = test::AddCustomer(db(), QStringLiteral("مشتريان"));
    newForm();
    newInvoice();
    doc().sltType.setID(type);
    EXPECT_EQ(doc().accounts.CreditAccountID, 10);
    EXPECT_EQ(doc().accounts.DescAccountID, 10);           // missing: the credit account
    EXPECT_EQ(doc().accounts.TotalDiscountAccountID, 30);  // missing: the discount account
    EXPECT_TRUE(doc().sltObject1.objectInUse());
    EXPECT_EQ(doc().Object1ClassID, 7);
    EXPECT_FALSE(doc().sltObject2.objectInUse());
    // A new invoice's default customer goes to the first object as well when it lists customers.
    form->StartNewEntry();
    EXPECT_EQ(doc().sltObject1.ID(), walkIn);
    EXPECT_EQ(doc().sltCustomer.ID(), walkIn);
}

TEST_P(HeaderTest, BranchFiltersPromotersAndCustomers) {
    const int branch = static_cast<int>(db().insertReturningId(
        QStringLiteral("insert into tblAccountBranch (Name) values (?) RETURNING ID"),
        {QStringLiteral("تهران")}));
    const int inBranch = employee(QStringLiteral("علي"));
    const int elsewhere = employee(QStringLiteral("حسن"));
    db().exec(QStringLiteral("update tblEmployee set BranchID = ? where ID = ?"),
              {branch, inBranch});
    newInvoice();
    doc().sltBranch.setID(branch);
    EXPECT_TRUE(doc().sltPromoter.isListed(inBranch));
    EXPECT_FALSE(doc().sltPromoter.isListed(elsewhere));
    EXPECT_TRUE(
        doc().sltCustomer.listFilter1().sql.contains(QStringLiteral("vwOrganizationBranch")));
    doc().sltBranch.Clear();
    EXPECT_TRUE(doc().sltPromoter.isListed(elsewhere));
}

// With parameter 309 the customer list keeps to the accounts open to the user's position, also
// after a branch was chosen or cleared.
TEST_P(HeaderTest, ABranchKeepsTheCustomersToThePositionsAccounts) {
    ctx.globals.CurrentPositionID = 7;
    useParameter(P::PositionCustomersOnly, QStringLiteral("1"));
    const int branch = static_cast<int>(db().insertReturningId(
        QStringLiteral("insert into tblAccountBranch (Name) values (?) RETURNING ID"),
        {QStringLiteral("تهران")}));
    const int account = static_cast<int>(db().insertReturningId(
        QStringLiteral("insert into tblAccount (Code, Title, IsClosed) values ('1101', "
                       "'مشتريان', 0) RETURNING ID")));
    db().exec(QStringLiteral("insert into tblAccountSecurePosition (AccountID, PositionID) values "
                             "(?, 7)"),
              {account});
    const int open = test::AddCustomer(db(), QStringLiteral("مشتري مجاز"));
    const int hidden = test::AddCustomer(db(), QStringLiteral("مشتري محرمانه"));
    db().exec(QStringLiteral("insert into tblAccountRelatedObjects (AccountID, RelatedClassID, "
                             "RelatedObjectID) values (?, 7, ?)"),
              {account, open});
    db().exec(QStringLiteral("update tblOrganization set BranchID = ?"), {branch});
    newForm();
    newInvoice();
    auto expectPositionCustomers = [this, open, hidden](const char* when) {
        SCOPED_TRACE(when);
        EXPECT_TRUE(doc().sltCustomer.isListed(open));
        EXPECT_FALSE(doc().sltCustomer.isListed(hidden));
    };
    expectPositionCustomers("new invoice");
    doc().sltBranch.setID(branch);
    expectPositionCustomers("branch chosen");
    doc().sltBranch.Clear();
    expectPositionCustomers("branch cleared");
}

TEST_P(HeaderTest, PromoterToAllRowsAfterTheQuestion) {
    const int first = employee(QStringLiteral("رضا")), second = employee(QStringLiteral("مريم"));
    newInvoice();
    for (const char* barcode : {"626001", "626002"}) {
        InvoiceLine line;
        line.BarCode = QString::fromLatin1(barcode);
        line.PromoterID = first;
        doc().flexDetail.appendLine(line);
    }
    messages.answerNo();
    doc().sltPromoter.setID(second);
    EXPECT_EQ(doc().flexDetail.line(0).PromoterID, first);
    messages.answerYes();
    doc().sltPromoter.setID(first);
    messages.answerYes();
    doc().sltPromoter.setID(second);
    EXPECT_EQ(doc().flexDetail.line(0).PromoterID, second);
    EXPECT_EQ(doc().flexDetail.line(1).PromoterID, second);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("آيا مطمئنيد که اين بازارياب به همه کالاها اعمال شود؟"));
}

TEST_P(HeaderTest, PreConditionSetsTheSettlementTerm) {
    const int pre = static_cast<int>(db().insertReturningId(
        QStringLiteral(
            "insert into tblSalePreCondition (Name, ClearDateNum) values (?, 20) RETURNING ID"),
        {QStringLiteral("چك")}));
    const int open = static_cast<int>(db().insertReturningId(
        QStringLiteral("insert into tblSalePreCondition (Name) values (?) RETURNING ID"),
        {QStringLiteral("نقد")}));
    newInvoice();
    doc().sltPreCond.setID(pre);
    EXPECT_EQ(doc().txtLoanExpire, QStringLiteral("20"));
    EXPECT_EQ(doc().txtLoanExpireTag, QStringLiteral("20"));
    doc().sltPreCond.setID(open);
    EXPECT_TRUE(doc().txtLoanExpireTag.isEmpty());
    EXPECT_EQ(header().GetPreConditionClearDays(9999), -1);
}

// The settlement term weighted by the goods' prices under the invoice's pricing method: the
// method's own term and price win over the goods' general ones, a term missing in both counts as
// the pre-condition's, and goods that are not found weigh nothing.
TEST_P(HeaderTest, AverageSettlementTermWeighsTheGoodsByTheirPrices) {
    const int method = pricingMethod(QStringLiteral("عمده"));
    const int otherMethod = pricingMethod(QStringLiteral("خرده"));
    const int cheque = static_cast<int>(db().insertReturningId(
        QStringLiteral(
            "insert into tblSalePreCondition (Name, ClearDateNum) values (?, 20) RETURNING ID"),
        {QStringLiteral("چك")}));
    auto good = [this](const char* barcode, qint64 price, const QVariant& term) {
        db().exec(QStringLiteral("insert into tblGood (Barcode, Code, Name, RetailPrice, "
                                 "LoanExpireDuration) values (?, ?, ?, ?, ?)"),
                  {QString::fromLatin1(barcode), QString::fromLatin1(barcode),
                   QStringLiteral("كالا ") + QString::fromLatin1(barcode),
                   QVariant::fromValue(Money::fromRials(price)), term});
    };
    auto saleInfo = [this](const char* barcode, int pricing, qint64 price, const QVariant& term) {
        db().exec(QStringLiteral("insert into tblGoodSaleInfo (Barcode, PricingMethodID, "
                                 "RetailPrice, LoanExpireDuration) values (?, ?, ?, ?)"),
                  {QString::fromLatin1(barcode), pricing,
                   QVariant::fromValue(Money::fromRials(price)), term});
    };
    const QVariant none;
    good("701", 1000, 30);
    saleInfo("701", method, 3000, 60);  // 60 days on 3000
    good("702", 2000, 10);
    saleInfo("702", method, 2500, none);  // 10 days on 2500
    good("703", 3500, none);
    saleInfo("703", otherMethod, 9000, 90);  // the pre-condition's 20 days on 3500
    auto enter = [this](std::initializer_list<const char*> barcodes) {
        for (const char* barcode : barcodes) {
            InvoiceLine line;
            line.BarCode = QString::fromLatin1(barcode);
            doc().flexDetail.appendLine(line);
        }
    };
    newInvoice();
    doc().sltPricingMethod.setID(method);
    doc().sltPreCond.setID(cheque);
    enter({"701", "702", "703", "799"});
    const QDate day = doc().datCreateDate;
    ASSERT_TRUE(day.isValid());

    messages.answerNo();
    header().cmdCalcAvgDate_Click();
    EXPECT_EQ(messages.last().text,
              QStringLiteral("آيا مطمئنيد محاسبه بر اساس راس گيري مهلت تسويه كالاها انجام شود؟"));
    EXPECT_EQ(messages.last().caption, QStringLiteral("هشدار"));
    EXPECT_EQ(doc().txtLoanExpire, QStringLiteral("20"));

    // (60 × 3000 + 10 × 2500 + 20 × 3500) / (3000 + 2500 + 3500) = 275000 / 9000 = 30.56
    messages.answerYes();
    header().cmdCalcAvgDate_Click();
    EXPECT_EQ(doc().txtLoanExpire, QStringLiteral("31"));
    EXPECT_EQ(doc().txtLoanExpireTag, QStringLiteral("31"));
    EXPECT_EQ(doc().dtpClearDate, day.addDays(31));

    // A mean of exactly one half goes to the even neighbour: (20 × 3500 + 21 × 3500) / 7000.
    db().exec(QStringLiteral("update tblGood set LoanExpireDuration = 21 where Barcode = '701'"));
    db().exec(QStringLiteral("update tblGoodSaleInfo set RetailPrice = 3500, LoanExpireDuration = "
                             "NULL where Barcode = '701' and PricingMethodID = ?"),
              {method});
    newInvoice();
    doc().sltPricingMethod.setID(method);
    doc().sltPreCond.setID(cheque);
    enter({"701", "703"});
    messages.answerYes();
    header().cmdCalcAvgDate_Click();
    EXPECT_EQ(doc().txtLoanExpire, QStringLiteral("20"));
    EXPECT_EQ(doc().txtLoanExpireTag, QStringLiteral("20"));

    // Without a price to weigh, the pre-condition's term is shown and the due date stays.
    newInvoice();
    doc().sltPreCond.setID(cheque);
    doc().txtLoanExpire = QStringLiteral("45");
    enter({"799"});
    const QDate due = doc().dtpClearDate;
    messages.answerYes();
    header().cmdCalcAvgDate_Click();
    EXPECT_EQ(doc().txtLoanExpire, QStringLiteral("20"));
    EXPECT_EQ(doc().txtLoanExpireTag, QStringLiteral("20"));
    EXPECT_EQ(doc().dtpClearDate, due);
}

TEST_P(HeaderTest, PromoterCardRules) {
    const int p1 = employee(QStringLiteral("رضا")), p2 = employee(QStringLiteral("مريم"));
    db().exec(
        QStringLiteral(
            "insert into tblSalePromoterCard (CardNoFrom, CardNoTo, PromoterID1, PromoterID2, "
            "FarsiExpireDate) values (1000, 1999, ?, ?, '1405/12/29'), (2000, 2999, ?, ?, "
            "'1405/09/01')"),
        {p1, p2, p1, p2});
    newInvoice();
    doc().txtCardNo = QStringLiteral("1500");
    header().txtCardNo_Enter();
    EXPECT_EQ(doc().sltPromoter.ID(), p1);
    EXPECT_EQ(doc().sltPromoter2.ID(), p2);

    doc().sltPromoter.Clear();
    doc().sltPromoter2.Clear();
    doc().txtCardNo = QStringLiteral("2500");  // expired on 1405/09/01; today is 1405/09/15
    header().txtCardNo_Enter();
    EXPECT_TRUE(doc().sltPromoter.IsEmpty());
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("1405/09/01")));

    doc().txtCardNo = QStringLiteral("5000");
    header().txtCardNo_Enter();
    EXPECT_EQ(messages.last().text, QStringLiteral("اين کارت تعريف نشده است."));

    test::InvoiceRow used;
    const int usedId = test::AddInvoice(db(), used);
    db().exec(QStringLiteral("update tblSaleInvoice set CardNo = 1500 where ID = ?"), {usedId});
    doc().txtCardNo = QStringLiteral("1500");
    header().txtCardNo_Enter();
    EXPECT_TRUE(messages.last().text.contains(QString::number(usedId)));
}

TEST_P(HeaderTest, StaffCardSelectsByTheLastTag) {
    setParameter(P::PromoterByRfid, QStringLiteral("1"));
    newForm();
    const int promoter = employee(QStringLiteral("رضا"));
    db().exec(QStringLiteral("update tblEmployee set Tag = 'A1B2' where ID = ?"), {promoter});
    newInvoice();
    doc().rfidTag = QStringLiteral("A1B2");
    header().lblPromoter_Click();
    EXPECT_EQ(doc().sltPromoter.ID(), promoter);
    doc().rfidTag = QStringLiteral("FFFF");
    header().lblCreatorEmployee_Click();
    EXPECT_TRUE(doc().sltCreatorEmployee.IsEmpty());
    EXPECT_EQ(messages.last().text, QStringLiteral("تهيه کننده فيش از طريق کارت، يافت نشد."));
}

SI_INSTANTIATE_BACKENDS(HeaderTest);

}  // namespace
}  // namespace si
