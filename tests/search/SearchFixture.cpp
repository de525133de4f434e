#include "SearchFixture.h"

#include <random>

#include "common/InvoiceSums.h"
#include "common/Jalali.h"
#include "common/Money.h"
#include "support/InvoiceFixtures.h"

namespace si::test {

namespace {

int insert(Session& s, const QString& sql, const Params& params) {
    return static_cast<int>(s.insertReturningId(sql, params));
}

int named(Session& s, const char* table, const QString& name) {
    return insert(s,
                  QStringLiteral("insert into ") + QLatin1String(table) +
                      QStringLiteral(" (Code, Name) values (?, ?) RETURNING ID"),
                  {name, name});
}

int employee(Session& s, const QString& first, const QString& last) {
    return insert(s,
                  QStringLiteral("insert into tblEmployee (FirstName, SureName) values (?, ?) "
                                 "RETURNING ID"),
                  {first, last});
}

void link(Session& s, const char* table, const char* parentColumn, int parent, int child) {
    s.exec(QStringLiteral("insert into ") + QLatin1String(table) + QStringLiteral(" (") +
               QLatin1String(parentColumn) + QStringLiteral(", ChildID) values (?, ?)"),
           {parent, child});
}

QVariant orNull(int v) {
    return v > 0 ? QVariant(v) : QVariant();
}

// Texts with the letters a Persian keyboard and stored data disagree on, quotes and percents.
const QStringList kNotes{
    QStringLiteral("تحويل فوري"),      QStringLiteral("مشتري گفت 'فردا' مي آيد"),
    QStringLiteral("تخفيف 50% نقدي"),  QStringLiteral("كيسه بزرگ"),
    QStringLiteral("Deliver by NOON"), QStringLiteral(""),
    QStringLiteral("بار دوم ۱۲۳"),     QStringLiteral("پیک یکشنبه")};
const QStringList kDescriptions{QStringLiteral(""), QStringLiteral("بسته 'ويژه'"),
                                QStringLiteral("كارتن 20%"), QStringLiteral("ساده")};
const QStringList kManualCodes{QStringLiteral(""), QStringLiteral("M-100"), QStringLiteral("M'200"),
                               QStringLiteral("A%7"), QStringLiteral("ب-۴۵")};

}  // namespace

int InvoiceFact::sumQty() const {
    int n = 0;
    for (const LineFact& l : lines)
        n += l.qty;
    return n;
}

void SearchTest::SetUp() {
    ContextTest::SetUp();
    buildCompany();
}

void SearchTest::buildCompany() {
    Session& s = db();
    Transaction t = s.transaction();
    customerParent = AddCustomer(s, QStringLiteral("شركت مادر"), QStringLiteral("C1"));
    customerChild = AddCustomer(s, QStringLiteral("فروشگاه شعبه"), QStringLiteral("C2"));
    customerOther = AddCustomer(s, QStringLiteral("علي رضايي"), QStringLiteral("C3"));
    link(s, "tblOrganizationParent", "ID", customerParent, customerChild);
    for (const char* type : {"فروش", "فروش عمده", "فروش به كارمند", "مصرف كارمند"})
        AddInvoiceType(s, QString::fromUtf8(type));
    userA = ctx.globals.CurrentUserID;
    userB = addUser(QStringLiteral("فروشنده دوم"), true);
    employee1 = employee(s, QStringLiteral("حسن"), QStringLiteral("كريمي"));
    employee2 = employee(s, QStringLiteral("مريم"), QStringLiteral("احمدي"));
    employee3 = employee(s, QStringLiteral("رضا"), QStringLiteral("نوري"));
    pricing1 = named(s, "tblSalePricingMethod", QStringLiteral("خرده"));
    pricing2 = named(s, "tblSalePricingMethod", QStringLiteral("عمده"));
    precondition1 = named(s, "tblSalePreCondition", QStringLiteral("نقد"));
    precondition2 = named(s, "tblSalePreCondition", QStringLiteral("چك يكماهه"));
    branch1 = named(s, "tblAccountBranch", QStringLiteral("مركزي"));
    branch2 = named(s, "tblAccountBranch", QStringLiteral("شمال"));
    contractParent = named(s, "tblAccountContractProject", QStringLiteral("قرارداد اصلي"));
    contractChild = named(s, "tblAccountContractProject", QStringLiteral("پروژه فرعي"));
    link(s, "tblAccountContractProjectParent", "ContractID", contractParent, contractChild);
    introduction1 = named(s, "tblOrganizationIntroductionType", QStringLiteral("آگهي"));
    introduction2 = named(s, "tblOrganizationIntroductionType", QStringLiteral("دوستان"));
    groupParent = named(s, "tblGoodGroup", QStringLiteral("لبنيات"));
    groupChild = named(s, "tblGoodGroup", QStringLiteral("ماست"));
    link(s, "tblGoodGroupParent", "ID", groupParent, groupChild);
    pathParent = named(s, "tblDistributionPath", QStringLiteral("منطقه شرق"));
    pathChild = named(s, "tblDistributionPath", QStringLiteral("مسير نارمك"));
    link(s, "tblDistributionPathParent", "ID", pathParent, pathChild);
    s.exec(QStringLiteral("insert into tblDistributionPathPromoters (PathID, EmployeeID) values "
                          "(?, ?)"),
           {pathChild, employee2});
    s.exec(QStringLiteral("insert into tblDistributionOrganization (OrganizationID, PathID) values "
                          "(?, ?)"),
           {customerOther, pathChild});
    const int unit = AddUnit(s, QStringLiteral("عدد"), 1, true);
    goods = {
        {QStringLiteral("1001"), QStringLiteral("G1"), QStringLiteral("شير 'پاك'"), groupParent},
        {QStringLiteral("1002"), QStringLiteral("G2"), QStringLiteral("ماست 100% چكيده"),
         groupChild},
        {QStringLiteral("1003"), QStringLiteral("G3"), QStringLiteral("Sugar Cube"), 0},
        {QStringLiteral("1004"), QStringLiteral("G4"), QStringLiteral("نان سنگك"), 0},
        {QStringLiteral("10%5"), QStringLiteral("G'5"), QStringLiteral("كيك_شكلاتي"), 0}};
    for (const GoodFact& g : goods) {
        AddGood(s, g.barcode, g.code, g.name, 1000, unit);
        s.exec(QStringLiteral("update tblGood set GoodGroupID = ? where Barcode = ?"),
               {orNull(g.group), g.barcode});
    }

    std::mt19937 random(20261206);
    auto pick = [&random](std::initializer_list<int> from) {
        return *(from.begin() + random() % from.size());
    };
    int nextCode = 1;
    for (int i = 0; i < 60; ++i) {
        InvoiceFact f;
        f.date = QDate(2026, 11, 1).addDays(static_cast<int>(random() % 30));
        f.clearDate = f.date.addDays(pick({0, 10, 30}));
        f.code = random() % 3 == 0 ? -1 : nextCode++;
        f.customer = pick({customerParent, customerChild, customerOther});
        f.type = pick({1, 2, 3, 4});
        f.creator = pick({userA, userB});
        f.promoter = pick({0, employee1, employee2});
        f.promoter2 = pick({0, employee3});
        f.pricing = pick({pricing1, pricing2});
        f.precondition = pick({0, precondition1, precondition2});
        f.branch = pick({0, branch1, branch2});
        f.contract = pick({0, contractParent, contractChild});
        f.introduction = pick({0, introduction1, introduction2});
        f.buyer = pick({0, employee1, employee3});
        f.orderCode = pick({0, 0, 501, 502});
        f.distribution = pick({0, 0, 7, 9});
        f.cash = random() % 2 == 0;
        f.formal = random() % 3 != 0;
        f.cardNo = pick({0, 6037991, 6104337});
        f.discountPercent = pick({0, 5, 10});
        f.discountValue = pick({0, 2000, 5000});
        f.value = 10000 * pick({1, 2, 3, 5});
        f.payable = f.value - f.discountValue;
        f.surcharge = pick({0, 0, 300});
        f.notes = kNotes[static_cast<int>(random() % kNotes.size())];
        f.manualCode = kManualCodes[static_cast<int>(random() % kManualCodes.size())];
        const int lines = 1 + static_cast<int>(random() % 3);
        for (int l = 0; l < lines; ++l)
            f.lines.push_back({goods[random() % goods.size()].barcode, pick({1, 2, 4}),
                               kDescriptions[static_cast<int>(random() % kDescriptions.size())],
                               pick({0, 0, employee3})});
        store(std::move(f));
    }
    t.commit();
}

qint64 SearchTest::store(InvoiceFact f) {
    Session& s = db();
    QVariant order;
    if (f.orderCode > 0)
        order = s.insertReturningId(
            QStringLiteral("insert into tblSaleOrder (Code) values (?) RETURNING ID"),
            {f.orderCode});
    const Params header{f.code == -1 ? QVariant() : QVariant(f.code),
                        QDateTime(f.date, QTime(9, 0)),
                        getFarsiDate(f.date),
                        QDateTime(f.clearDate, QTime(0, 0)),
                        getFarsiDate(f.clearDate),
                        f.customer,
                        f.type,
                        f.creator,
                        orNull(f.promoter),
                        orNull(f.promoter2),
                        f.pricing,
                        orNull(f.precondition),
                        orNull(f.branch),
                        orNull(f.contract),
                        orNull(f.introduction),
                        orNull(f.buyer),
                        order,
                        orNull(f.distribution),
                        f.cash ? 1 : 0,
                        f.formal ? 1 : 0,
                        f.cardNo > 0 ? QVariant(f.cardNo) : QVariant(),
                        f.discountPercent,
                        QVariant::fromValue(Money::fromRials(f.discountValue)),
                        QVariant::fromValue(Money::fromRials(f.value)),
                        QVariant::fromValue(Money::fromRials(f.payable)),
                        QVariant::fromValue(Money::fromRials(f.payable)),
                        f.notes,
                        f.manualCode.isEmpty() ? QVariant() : QVariant(f.manualCode)};
    f.id = s.insertReturningId(
        QStringLiteral(
            "insert into tblSaleInvoice (Code, CreateDate, FarsiCreateDate, ClearDate, "
            "FarsiClearDate, CustomerID, TypeID, CreatorID, PromoterID, PromoterID2, "
            "PricingMethodID, PreConditionID, BranchID, ContractID, IntroductionTypeID, ObjectID1, "
            "SaleOrderID, DistributionInvoiceID, IsPaidByCash, IsFormal, CardNo, DiscountPercent, "
            "DiscountValue, Value, PureTotalValue, TotalValue, Notes, ManualCode) values "
            "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?) RETURNING ID"),
        header);
    int row = 0;
    for (const LineFact& l : f.lines)
        s.exec(QStringLiteral("insert into tblSaleInvoiceDetail (InvoiceID, Barcode, Qty, "
                              "RetailPrice, rowNumber, Description, PromoterID) values "
                              "(?,?,?,?,?,?,?)"),
               {f.id, l.barcode, l.qty, QVariant::fromValue(Money::fromRials(1000)), ++row,
                l.description, orNull(l.promoter)});
    if (f.surcharge > 0)
        s.exec(QStringLiteral("insert into tblSaleInvoiceSucharge (InvoiceID, SuchargeTypeID, "
                              "Value) values (?, 1, ?)"),
               {f.id, QVariant::fromValue(Money::fromRials(f.surcharge))});
    RefreshInvoiceSums(s, f.id);  // as every writer of lines does
    invoices.push_back(f);
    return f.id;
}

}  // namespace si::test
