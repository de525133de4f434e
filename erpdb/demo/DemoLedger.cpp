// The ledger of the demo company: account groups, a small chart of accounts whose leaves take
// the sale postings, the object classes the accounts carry, the branches, and an accounting
// period that holds today.

#include <stdexcept>

#include "common/Jalali.h"
#include "erpdb/demo/DemoModel.h"

namespace si::erpdb::demo {

namespace {

struct ChartRow {
    const char* code;
    const char* title;
    int group;  // 0: none (a heading above several groups)
};

// Parents come before their children; a code's parent is the longest code that begins it.
const std::vector<ChartRow>& chart() {
    static const std::vector<ChartRow> rows{
        {"1", "دارايي ها", 0},
        {"11", "موجودي نقد و بانک", group::kCashAndBank},
        {account::kShopCash, "صندوق فروشگاه مرکزي", group::kCashAndBank},
        {account::kIsfahanCash, "صندوق شعبه اصفهان", group::kCashAndBank},
        {account::kMellatBank, "بانک ملت - حساب جاري", group::kCashAndBank},
        {account::kMelliBank, "بانک ملي - حساب جاري", group::kCashAndBank},
        {"12", "حسابها و اسناد دريافتني تجاري", group::kReceivables},
        {account::kCashCustomers, "مشتريان نقدي", group::kReceivables},
        {account::kCustomers, "حساب مشتريان", group::kReceivables},
        {account::kTradeReceivables, "حسابهاي دريافتني تجاري (تفصيلي)", group::kReceivables},
        {account::kStaff, "حساب کارکنان", group::kOther},
        {"13", "موجودي کالا", group::kOther},
        {"1301", "موجودي کالاي فروشگاه", group::kOther},
        {"2", "بدهي ها", 0},
        {"21", "ماليات و عوارض پرداختني", group::kTaxes},
        {account::kTax, "ماليات بر ارزش افزوده فروش", group::kTaxes},
        {account::kDuty, "عوارض ارزش افزوده فروش", group::kTaxes},
        {"22", "سهم ذينفعان و اشخاص وابسته", group::kOther},
        {account::kStackholderShare, "سهم ذينفعان از فروش", group::kOther},
        {account::kAdversShare, "سهم تبليغات", group::kOther},
        {account::kEduShare, "سهم آموزش", group::kOther},
        {account::kDependents, "حساب اشخاص وابسته", group::kOther},
        {"3", "حقوق صاحبان سهام", 0},
        {"31", "سرمايه", group::kOther},
        {"3101", "سرمايه ثبت شده", group::kOther},
        {"4", "درآمدها", 0},
        {"41", "فروش", group::kSales},
        {account::kSales, "فروش کالا", group::kSales},
        {account::kWholesaleSales, "فروش عمده (بنکداري)", group::kSales},
        {account::kGoldSales, "فروش طلا و جواهر", group::kSales},
        {account::kPartnerSales, "فروش به همکاران", group::kSales},
        {"42", "تخفيفات فروش", group::kSaleDiscounts},
        {account::kLineDiscount, "تخفيفات سطري فروش", group::kSaleDiscounts},
        {account::kTotalDiscount, "تخفيف کلي فاکتور فروش", group::kSaleDiscounts},
        {account::kDeductions, "کسورات فاکتور فروش", group::kSaleDiscounts},
        {account::kRounding, "تفاوت گرد کردن فاکتور فروش", group::kSaleDiscounts},
        {"43", "ساير درآمدهاي عملياتي", group::kOther},
        {account::kTransportIncome, "درآمد حمل و نقل", group::kOther},
        {account::kPackingIncome, "درآمد بسته بندي", group::kOther},
        {account::kInstallIncome, "درآمد نصب و راه اندازي", group::kOther},
        {"5", "هزينه ها", 0},
        {"51", "هزينه هاي توزيع و فروش", group::kOther},
        {account::kStackholderDiscount, "هزينه تخفيف ذينفعان", group::kOther},
        {account::kAdversDiscount, "هزينه تبليغات فروش", group::kOther},
        {account::kEduDiscount, "هزينه آموزش فروش", group::kOther},
        {account::kWaste, "هزينه ضايعات و کسري کالا", group::kOther},
    };
    return rows;
}

int levelOf(const QString& code) {
    return code.size() == 1 ? 1 : code.size() == 2 ? 2 : 3;
}

QString parentCode(const QString& code) {
    return code.size() == 1 ? QString() : code.size() == 2 ? code.left(1) : code.left(2);
}

void fillGroups(DemoData& d) {
    BulkInsert rows(d.session, QStringLiteral("tblAccountGroup"),
                    {QStringLiteral("ID"), QStringLiteral("Name")});
    const char* names[] = {"حسابهاي دريافتني", "موجودي نقد و بانک", "فروش",
                           "تخفيفات فروش",     "ماليات و عوارض",    "ساير حسابها"};
    for (int i = 0; i < 6; ++i)
        rows.add({i + 1, QString::fromUtf8(names[i])});
    rows.finish();
}

void fillChart(DemoData& d) {
    BulkInsert rows(d.session, QStringLiteral("tblAccount"),
                    {QStringLiteral("ID"), QStringLiteral("Code"), QStringLiteral("Title"),
                     QStringLiteral("ParentID"), QStringLiteral("AccountGroupID"),
                     QStringLiteral("NoLevel"), QStringLiteral("IsClosed")});
    int next = 1;
    for (const ChartRow& r : chart()) {
        const QString code = QString::fromLatin1(r.code);
        const QString parent = parentCode(code);
        d.accountIds.insert(code, next);
        rows.add({next, code, QString::fromUtf8(r.title),
                  parent.isEmpty() ? Null() : QVariant(d.accountIds.value(parent)),
                  r.group > 0 ? QVariant(r.group) : Null(), levelOf(code), 0});
        ++next;
    }
    rows.finish();
    // Customers' own accounts follow the chart.
    d.nextAccountId = 100;
}

void fillClasses(DemoData& d) {
    BulkInsert classes(d.session, QStringLiteral("tblAccountClass"),
                       {QStringLiteral("ID"), QStringLiteral("Name"), QStringLiteral("ViewMajor"),
                        QStringLiteral("ViewMinor")});
    classes.add({4, QStringLiteral("قرارداد / پروژه"), QStringLiteral("vwAccountContractProject"),
                 QStringLiteral("vwAccountContractProjectMinor")});
    classes.add({7, QStringLiteral("اشخاص و شرکتها"), QStringLiteral("vwOrganizationMajor"),
                 QStringLiteral("vwOrganizationMinor")});
    classes.add({9, QStringLiteral("کارکنان"), QStringLiteral("vwEmployeeMajor"),
                 QStringLiteral("vwEmployeeMinor")});
    classes.add({19, QStringLiteral("شعب"), QStringLiteral("vwAccountBranchMajor"),
                 QStringLiteral("vwAccountBranchMinor")});
    classes.add({33, QStringLiteral("اشخاص وابسته"), QStringLiteral("vwOrganizationMajor"),
                 QStringLiteral("vwOrganizationMinor")});
    classes.finish();

    // Sale postings carry the branch and the promoter; the detailed receivables the customer.
    BulkInsert related(
        d.session, QStringLiteral("tblAccountRelatedClasses"),
        {QStringLiteral("AccountID"), QStringLiteral("ClassID"), QStringLiteral("Sequence")});
    for (const char* code :
         {account::kSales, account::kWholesaleSales, account::kGoldSales, account::kPartnerSales,
          account::kLineDiscount, account::kTotalDiscount, account::kDeductions, account::kRounding,
          account::kTransportIncome, account::kPackingIncome, account::kInstallIncome}) {
        related.add({d.accountId(code), 19, 1});
        related.add({d.accountId(code), 9, 2});
    }
    related.add({d.accountId(account::kTradeReceivables), 7, 1});
    related.add({d.accountId(account::kStaff), 9, 1});
    related.add({d.accountId(account::kDependents), 33, 1});
    related.finish();
}

void fillPostingRules(DemoData& d) {
    // A sale (event 201) debits the customer's account of group 1.
    d.session.exec(QStringLiteral("INSERT INTO tblAccountAutomaticDocFormat (ID, AccountGroupID, "
                                  "ClassID, AutomaticEventID, AccountNatureID) VALUES (?,?,?,?,?)"),
                   {1, group::kReceivables, 7, 201, 0});
    // The default account of group 1, booked against cash-turn receipts.
    d.session.exec(QStringLiteral("INSERT INTO tblAccountRelatedObjects (ID, AccountID, "
                                  "RelatedClassID, RelatedObjectID, AccountGroupID) VALUES "
                                  "(?,?,?,?,?)"),
                   {1, d.accountId(account::kCashCustomers), Null(), Null(), group::kReceivables});
    d.session.exec(QStringLiteral("INSERT INTO tblAccountManager (ID, DocumentTypeID, AccountID, "
                                  "Name) VALUES (?,?,?,?)"),
                   {1, 60, d.accountId(account::kSales), QStringLiteral("حساب فروش کالا")});
}

void fillPeriods(DemoData& d) {
    BulkInsert rows(d.session, QStringLiteral("tblAccountPeriod"),
                    {QStringLiteral("ID"), QStringLiteral("Name"), QStringLiteral("BeginDate"),
                     QStringLiteral("FarsiBeginDate"), QStringLiteral("EndDate"),
                     QStringLiteral("FarsiEndDate"), QStringLiteral("IsActive")});
    const QDate thisYear = DemoCalendar::jalaliYearStart(d.calendar.today());
    const QDate lastYear = DemoCalendar::jalaliYearStart(thisYear.addDays(-1));
    int id = 1;
    for (const QDate& start : {lastYear, thisYear}) {
        const QDate end = DemoCalendar::jalaliYearEnd(start);
        rows.add({id, QStringLiteral("سال مالي %1").arg(JalaliOf(start).year),
                  d.calendar.date(start), d.calendar.farsi(start), d.calendar.date(end),
                  d.calendar.farsi(end), Flag(start == thisYear)});
        ++id;
    }
    rows.finish();
}

void fillBranches(DemoData& d) {
    BulkInsert rows(d.session, QStringLiteral("tblAccountBranch"),
                    {QStringLiteral("ID"), QStringLiteral("Code"), QStringLiteral("Name"),
                     QStringLiteral("ParentID"), QStringLiteral("IsActive")});
    rows.add({id::kHeadOffice, QStringLiteral("01"), QStringLiteral("دفتر مرکزي"), Null(), 1});
    rows.add({id::kMainShop, QStringLiteral("02"), QStringLiteral("فروشگاه مرکزي تهران"),
              id::kHeadOffice, 1});
    rows.add({id::kIsfahanBranch, QStringLiteral("03"), QStringLiteral("شعبه اصفهان"),
              id::kHeadOffice, 1});
    rows.finish();
    BulkInsert closure(
        d.session, QStringLiteral("tblAccountBranchParent"),
        {QStringLiteral("ID"), QStringLiteral("ChildID"), QStringLiteral("NoLevel")});
    closure.add({id::kHeadOffice, id::kMainShop, 1});
    closure.add({id::kHeadOffice, id::kIsfahanBranch, 1});
    closure.finish();
}

}  // namespace

int DemoData::accountId(const char* code) const {
    const int found = accountIds.value(QString::fromLatin1(code), -1);
    if (found < 0) throw std::logic_error(std::string("demo account missing: ") + code);
    return found;
}

void FillLedger(DemoData& d) {
    d.progress(QStringLiteral("حسابها، شعب و دوره مالي"));
    fillGroups(d);
    fillChart(d);
    fillClasses(d);
    fillPostingRules(d);
    fillPeriods(d);
    fillBranches(d);
}

}  // namespace si::erpdb::demo
