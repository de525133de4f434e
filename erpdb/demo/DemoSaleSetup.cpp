// The sale setup of the demo: invoice types with every account they post to, pricing methods,
// payment kinds, pre-conditions, delivery and introduction types, customer messages, tax and
// duty percentages, discounts by invoice value, customer degrees with credit constraints and
// the loyalty card types.

#include "erpdb/demo/DemoModel.h"

namespace si::erpdb::demo {

namespace {

struct InvoiceType {
    int id;
    const char* name;
    bool gold;
    bool wholesale;
    int dispatchType;
    const char* salesAccount;
};

void fillInvoiceTypes(DemoData& d) {
    BulkInsert dispatchTypes(
        d.session, QStringLiteral("tblInventoryDispatchType"),
        {QStringLiteral("ID"), QStringLiteral("Code"), QStringLiteral("Name")});
    dispatchTypes.add({1, QStringLiteral("1"), QStringLiteral("خروج بابت فروش")});
    dispatchTypes.add({2, QStringLiteral("2"), QStringLiteral("خروج بابت فروش عمده")});
    dispatchTypes.add({3, QStringLiteral("3"), QStringLiteral("خروج بابت فروش طلا")});
    dispatchTypes.finish();

    const std::vector<InvoiceType> types{
        {id::kNormalType, "فروش عادي", false, false, 1, account::kSales},
        {id::kWholesaleType, "فروش عمده", false, true, 2, account::kWholesaleSales},
        {id::kGoldType, "فروش طلا و جواهر", true, false, 3, account::kGoldSales},
        {id::kPartnerType, "فروش به همکار", false, false, 1, account::kPartnerSales},
    };
    BulkInsert rows(d.session, QStringLiteral("tblSaleInvoiceType"),
                    {QStringLiteral("ID"),
                     QStringLiteral("Code"),
                     QStringLiteral("Name"),
                     QStringLiteral("IsGoldSilverPlatinum"),
                     QStringLiteral("GenerateSaleAssignment"),
                     QStringLiteral("DispatchTypeID"),
                     QStringLiteral("CreditAccountID"),
                     QStringLiteral("DebitAccountID"),
                     QStringLiteral("DiscountAccountID"),
                     QStringLiteral("TaxAccountID"),
                     QStringLiteral("AddedAccountID"),
                     QStringLiteral("RoundAccountID"),
                     QStringLiteral("DescAccountID"),
                     QStringLiteral("SuchargeAccountID"),
                     QStringLiteral("TotalDiscountAccountID"),
                     QStringLiteral("StackholderDiscountAccountID"),
                     QStringLiteral("StackholderShareAccountID"),
                     QStringLiteral("AdversDiscountAccountID"),
                     QStringLiteral("AdversShareAccountID"),
                     QStringLiteral("EduDiscountAccountID"),
                     QStringLiteral("EduShareAccountID"),
                     QStringLiteral("IsActive")});
    for (const InvoiceType& t : types) {
        rows.add({t.id,
                  QString::number(t.id),
                  QString::fromUtf8(t.name),
                  Flag(t.gold),
                  Flag(t.wholesale),
                  t.dispatchType,
                  d.accountId(t.salesAccount),
                  d.accountId(account::kTradeReceivables),
                  d.accountId(account::kLineDiscount),
                  d.accountId(account::kTax),
                  d.accountId(account::kDuty),
                  d.accountId(account::kRounding),
                  d.accountId(account::kDeductions),
                  d.accountId(account::kTransportIncome),
                  d.accountId(account::kTotalDiscount),
                  d.accountId(account::kStackholderDiscount),
                  d.accountId(account::kStackholderShare),
                  d.accountId(account::kAdversDiscount),
                  d.accountId(account::kAdversShare),
                  d.accountId(account::kEduDiscount),
                  d.accountId(account::kEduShare),
                  1});
    }
    rows.finish();
}

void fillPricingMethods(DemoData& d) {
    BulkInsert rows(d.session, QStringLiteral("tblSalePricingMethod"),
                    {QStringLiteral("ID"), QStringLiteral("Code"), QStringLiteral("Name"),
                     QStringLiteral("MakeVisibleInSelection")});
    rows.add({id::kRetailMethod, QStringLiteral("1"), QStringLiteral("خرده فروشي"), 1});
    rows.add({id::kWholesaleMethod, QStringLiteral("2"), QStringLiteral("عمده فروشي"), 1});
    rows.add({id::kPartnerMethod, QStringLiteral("3"), QStringLiteral("همکار"), Null()});
    // An old price list kept for stored invoices; no longer offered.
    rows.add({id::kOldListMethod, QStringLiteral("4"), QStringLiteral("فهرست قيمت قديم"), 0});
    rows.finish();
}

void fillSmallLists(DemoData& d) {
    BulkInsert paid(d.session, QStringLiteral("tblSalePaidByCash"),
                    {QStringLiteral("ID"), QStringLiteral("Name")});
    paid.add({id::kCash, QStringLiteral("نقدي")});
    paid.add({id::kCredit, QStringLiteral("نسيه")});
    paid.finish();

    BulkInsert pre(d.session, QStringLiteral("tblSalePreCondition"),
                   {QStringLiteral("ID"), QStringLiteral("Code"), QStringLiteral("Name"),
                    QStringLiteral("ClearDateNum")});
    pre.add({id::kPreCash, QStringLiteral("1"), QStringLiteral("نقد"), 0});
    pre.add({id::kPreCheque30, QStringLiteral("2"), QStringLiteral("چک 30 روزه"), 30});
    pre.add({3, QStringLiteral("3"), QStringLiteral("چک 60 روزه"), 60});
    pre.add({4, QStringLiteral("4"), QStringLiteral("اعتباري 90 روزه"), 90});
    pre.finish();

    BulkInsert deliver(d.session, QStringLiteral("tblSaleDeliverType"),
                       {QStringLiteral("ID"), QStringLiteral("Code"), QStringLiteral("Name")});
    deliver.add({id::kDeliverAtShop, QStringLiteral("1"), QStringLiteral("تحويل در محل فروشگاه")});
    deliver.add({2, QStringLiteral("2"), QStringLiteral("ارسال با پيک")});
    deliver.add({3, QStringLiteral("3"), QStringLiteral("ارسال با باربري")});
    deliver.add({4, QStringLiteral("4"), QStringLiteral("تحويل توسط موزع")});
    deliver.finish();

    BulkInsert intro(d.session, QStringLiteral("tblOrganizationIntroductionType"),
                     {QStringLiteral("ID"), QStringLiteral("Code"), QStringLiteral("Name")});
    const QStringList introductions{QStringLiteral("معرفي دوستان"), QStringLiteral("تبليغات محيطي"),
                                    QStringLiteral("اينترنت"), QStringLiteral("بازارياب"),
                                    QStringLiteral("مشتري قديمي")};
    for (int i = 0; i < introductions.size(); ++i)
        intro.add({i + 1, QString::number(i + 1), introductions[i]});
    intro.finish();

    BulkInsert messages(
        d.session, QStringLiteral("tblSaleMessage"),
        {QStringLiteral("ID"), QStringLiteral("Message"), QStringLiteral("IsPrimary")});
    messages.add({1, QStringLiteral("از خريد شما سپاسگزاريم"), 1});
    messages.add(
        {2, QStringLiteral("کالاي فروخته شده تا 7 روز با ارائه فاکتور قابل تعويض است"), 0});
    messages.add({3, QStringLiteral("منتظر جشنواره فروش ويژه ما باشيد"), 0});
    messages.add({4, QStringLiteral("لطفا کالاها را هنگام تحويل کنترل فرماييد"), 0});
    messages.finish();
}

void fillTaxes(DemoData& d) {
    // This Jalali year and the one before, so that the past invoices find their percentages.
    BulkInsert rows(
        d.session, QStringLiteral("tblSaleTaxCostsConfiguration"),
        {QStringLiteral("ID"), QStringLiteral("BeginDate"), QStringLiteral("FarsiBeginDate"),
         QStringLiteral("EndDate"), QStringLiteral("FarsiEndDate"), QStringLiteral("TaxPercent"),
         QStringLiteral("AddedPercent")});
    const QDate thisYear = DemoCalendar::jalaliYearStart(d.calendar.today());
    const QDate lastYear = DemoCalendar::jalaliYearStart(thisYear.addDays(-1));
    int id = 1;
    for (const QDate& start : {lastYear, thisYear}) {
        const QDate end = DemoCalendar::jalaliYearEnd(start);
        rows.add({id++, d.calendar.date(start), d.calendar.farsi(start), d.calendar.date(end),
                  d.calendar.farsi(end), 6.0, 3.0});
    }
    rows.finish();
    // No master discount by invoice value (tblSaleInvoiceDiscountSetting stays empty): with any
    // range defined, every amount outside the ranges counts as 0 % and the master discount boxes
    // stay locked, so no clerk could give one. Here the clerks with right 90110 give it.
}

void fillCustomerDegrees(DemoData& d) {
    BulkInsert degrees(d.session, QStringLiteral("tblOrganizationCustomerDegree"),
                       {QStringLiteral("ID"), QStringLiteral("Code"), QStringLiteral("Name")});
    degrees.add({1, QStringLiteral("A"), QStringLiteral("مشتري درجه الف")});
    degrees.add({2, QStringLiteral("B"), QStringLiteral("مشتري درجه ب")});
    degrees.add({3, QStringLiteral("C"), QStringLiteral("مشتري درجه ج")});
    degrees.finish();

    const QDate begin = DemoCalendar::jalaliYearStart(d.calendar.today());
    const QDate end = DemoCalendar::jalaliYearEnd(begin);
    d.session.exec(QStringLiteral("INSERT INTO tblOrganizationCreditConstraint (ID, Name, "
                                  "BeginDate, FarsiBeginDate, EndDate, FarsiEndDate) VALUES "
                                  "(?,?,?,?,?,?)"),
                   {1, QStringLiteral("ضوابط اعتباري سال جاري"), d.calendar.date(begin),
                    d.calendar.farsi(begin), d.calendar.date(end), d.calendar.farsi(end)});

    BulkInsert rows(
        d.session, QStringLiteral("tblOrganizationCreditConstraintDetail"),
        {QStringLiteral("ID"), QStringLiteral("OrgCreditConstraintID"),
         QStringLiteral("CustomerDegreeID"), QStringLiteral("MaxReturnedChequeQty"),
         QStringLiteral("MaxReturnedChequeValue"), QStringLiteral("MaxSaleInvoicePerDayValue"),
         QStringLiteral("MaxSaleInvoicePerDayQty"), QStringLiteral("MaxSaleReturnValue"),
         QStringLiteral("MaxSaleReturnQty"), QStringLiteral("MaxReturnedChequeAge"),
         QStringLiteral("MaxNotPaidDocumentQty"), QStringLiteral("MaxNotPaidDocumentValue"),
         QStringLiteral("MaxDebitAge"), QStringLiteral("MaxNotApprovedInvoiceQty"),
         QStringLiteral("MaxFreeDebitValue")});
    // Degree A is limited only on returned cheques; C is held close.
    rows.add({1, 1, 1, 3, Rials(500'000'000), Null(), Null(), Null(), Null(), Null(), Null(),
              Null(), Null(), Null(), Rials(2'000'000'000)});
    rows.add({2, 1, 2, 2, Rials(200'000'000), Rials(1'000'000'000), 10, Rials(300'000'000), 5, 60,
              20, Rials(1'500'000'000), 120, 15, Rials(500'000'000)});
    rows.add({3, 1, 3, 0, Rials(0), Rials(200'000'000), 3, Rials(50'000'000), 2, 30, 5,
              Rials(300'000'000), 60, 5, Rials(100'000'000)});
    rows.finish();
}

void fillCardTypes(DemoData& d) {
    BulkInsert rows(d.session, QStringLiteral("tblCRMCardType"),
                    {QStringLiteral("ID"), QStringLiteral("Code"), QStringLiteral("Name"),
                     QStringLiteral("MinGrade")});
    rows.add({id::kRetailCardType, QStringLiteral("1"), QStringLiteral("کارت برنزي"), Rials(0)});
    rows.add(
        {id::kSilverCardType, QStringLiteral("2"), QStringLiteral("کارت نقره اي"), Rials(1000)});
    rows.add({id::kGoldCardType, QStringLiteral("3"), QStringLiteral("کارت طلايي"), Rials(5000)});
    rows.finish();
}

}  // namespace

void FillSaleSetup(DemoData& d) {
    d.progress(QStringLiteral("انواع فاکتور، قيمت گذاري و ماليات"));
    fillInvoiceTypes(d);
    fillPricingMethods(d);
    fillSmallLists(d);
    fillTaxes(d);
    fillCustomerDegrees(d);
    fillCardTypes(d);
}

}  // namespace si::erpdb::demo
