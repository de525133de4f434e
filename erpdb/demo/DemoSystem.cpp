// The suite's own setup in the demo: positions with their credit levels, the three users and
// their rights, the form types, the company, the report templates, the delete reasons, the
// surcharge and deduction types, and the system parameters the invoice form reads.

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>

#include "erpdb/demo/DemoModel.h"

namespace si::erpdb::demo {

namespace {

struct Right {
    int id;
    const char* name;
};

// The rights the invoice module asks for.
const std::vector<Right>& rights() {
    static const std::vector<Right> list{
        {90101, "صدور فاکتور فروش جديد"},
        {90102, "اصلاح فاکتور فروش"},
        {90103, "حذف فاکتور فروش"},
        {90104, "جستجوي فاکتورهاي فروش"},
        {90105, "ثبت موقت فاکتور فروش"},
        {90106, "ثبت نهايي فاکتور فروش"},
        {90107, "بازگشت فاکتور فروش به حالت موقت"},
        {90108, "تغيير قيمت واحد کالا در فاکتور"},
        {90109, "تغيير تخفيف سطرهاي فاکتور"},
        {90110, "تعيين تخفيف کلي فاکتور"},
        {90111, "عبور از کنترل اعتبار مشتري"},
        {90112, "چاپ فاکتور فروش"},
        {90113, "حذف گروهي فاکتورهاي فروش"},
        {90114, "ثبت نهايي با تغيير شماره فاکتورهاي بعدي"},
        {90115, "مشاهده حسابهاي مشتري"},
        {90116, "چاپ گروهي و دريافت وجه فاکتور"},
        {90118, "تغيير تاريخ فاکتور فروش"},
        {90119, "اصلاح فاکتور حواله پخش و عبور از سقف وصول نشده بازارياب"},
        {90121, "صدور مجدد سند حسابداري فاکتور"},
        {90122, "اصلاح و حذف بدون محدوديت زماني"},
        {90123, "انتقال فهرست فاکتورها به اکسل"},
        {90126, "ثبت فاکتور بنکداري در نسخه فروشگاهي"},
        {90127, "پيش نمايش چاپ فاکتور فروش"},
        {90130, "ثبت فاکتور با قيمت صفر"},
        {90131, "بازگشت به موقت فاکتور داراي حواله يا برگه خروج"},
        {90132, "چاپ مجدد برگه قرعه کشي"},
        {90133, "تعيين رسمي بودن فاکتور"},
        {90134, "تعيين کنترل اشانتيون"},
        {90135, "ثبت کسورات فاکتور"},
        {90136, "ثبت اضافات فاکتور"},
        {90138, "تغيير شيوه قيمت گذاري فاکتور"},
        {90139, "تعيين قيمت گذاري و بازارياب سطر"},
        {90141, "ارسال پيامک فاکتور"},
        {90142, "انتخاب قالب بارکد ترازو"},
        {20804, "چاپ گردش نوبت صندوق"},
    };
    return list;
}

// A cashier sells at the counter: new, edit, search, both saves, print and SMS.
const std::vector<int> kCashierRights{90101, 90102, 90104, 90105, 90106, 90112,
                                      90136, 90127, 90133, 90134, 90141, 20804};
// A sales clerk also handles credit, discounts, prices and postings; deleting stays with the
// administrator.
const std::vector<int> kClerkRights{90101, 90102, 90104, 90105, 90106, 90107, 90108, 90109,
                                    90110, 90111, 90112, 90114, 90116, 90118, 90119, 90121,
                                    90123, 90127, 90130, 90131, 90133, 90134, 90135, 90136,
                                    90138, 90139, 90141, 90142, 20804};

void fillPositions(DemoData& d) {
    BulkInsert levels(d.session, QStringLiteral("tblSaleCreditLevel"),
                      {QStringLiteral("ID"), QStringLiteral("Name"), QStringLiteral("UpToValue")});
    levels.add({1, QStringLiteral("سطح صندوقدار"), Rials(200'000'000)});
    levels.add({2, QStringLiteral("سطح کارشناس فروش"), Rials(5'000'000'000)});
    levels.finish();

    BulkInsert positions(d.session, QStringLiteral("tblPosition"),
                         {QStringLiteral("ID"), QStringLiteral("Code"), QStringLiteral("Name"),
                          QStringLiteral("ParentID"), QStringLiteral("SaleCreditLevelID"),
                          QStringLiteral("IsActive")});
    // The administrator's position has no credit level: no ceiling.
    positions.add({1, QStringLiteral("10"), QStringLiteral("مدير سيستم"), Null(), Null(), 1});
    positions.add({2, QStringLiteral("20"), QStringLiteral("صندوقدار فروشگاه"), 1, 1, 1});
    positions.add({3, QStringLiteral("30"), QStringLiteral("کارشناس فروش"), 1, 2, 1});
    positions.add({4, QStringLiteral("40"), QStringLiteral("بازارياب"), 3, 2, 1});
    positions.finish();
}

QString passwordHash(const QString& userName) {
    return QString::fromLatin1(
        QCryptographicHash::hash(userName.toUtf8(), QCryptographicHash::Sha256).toHex());
}

void fillUsers(DemoData& d) {
    BulkInsert users(
        d.session, QStringLiteral("tblUser"),
        {QStringLiteral("ID"), QStringLiteral("UserName"), QStringLiteral("FullName"),
         QStringLiteral("Password"), QStringLiteral("BranchID"), QStringLiteral("EmployeeID"),
         QStringLiteral("PositionID"), QStringLiteral("IsAdmin"), QStringLiteral("IsActive")});
    users.add({id::kAdminUser, QStringLiteral("admin"), QStringLiteral("مدير سيستم"),
               passwordHash(QStringLiteral("admin")), id::kHeadOffice, id::kAdminEmployee, 1, 1,
               1});
    users.add({id::kCashierUser, QStringLiteral("sandogh"), QStringLiteral("زهرا کريمي"),
               passwordHash(QStringLiteral("sandogh")), id::kMainShop, id::kCashierEmployee, 2, 0,
               1});
    users.add({id::kClerkUser, QStringLiteral("forosh"), QStringLiteral("حسين احمدي"),
               passwordHash(QStringLiteral("forosh")), id::kMainShop, id::kClerkEmployee, 3, 0, 1});
    users.finish();
}

void fillRights(DemoData& d) {
    BulkInsert names(d.session, QStringLiteral("tblZelorPermission"),
                     {QStringLiteral("ID"), QStringLiteral("Name"), QStringLiteral("FormTypeID")});
    for (const Right& r : rights())
        names.add({r.id, QString::fromUtf8(r.name), r.id / 100});
    names.finish();

    BulkInsert byUser(d.session, QStringLiteral("tblZelorUserPermission"),
                      {QStringLiteral("UserID"), QStringLiteral("PermissionID")});
    for (int right : kCashierRights)
        byUser.add({id::kCashierUser, right});
    for (int right : kClerkRights)
        byUser.add({id::kClerkUser, right});
    byUser.finish();

    // Rights held through the position rather than the user.
    BulkInsert byPosition(d.session, QStringLiteral("tblZelorPositionPermission"),
                          {QStringLiteral("PositionID"), QStringLiteral("PermissionID")});
    byPosition.add({3, 90115});
    for (int right : {90101, 90104, 90105})
        byPosition.add({4, right});
    byPosition.finish();
}

void fillFormTypes(DemoData& d) {
    BulkInsert rows(
        d.session, QStringLiteral("tblZelorFormType"),
        {QStringLiteral("ID"), QStringLiteral("Name"), QStringLiteral("SecurityTypeID")});
    rows.add({102, QStringLiteral("مشتريان"), Null()});
    rows.add({205, QStringLiteral("پرداخت از صندوق به بانک با کارت"), Null()});
    rows.add({208, QStringLiteral("نوبت صندوق"), Null()});
    rows.add({802, QStringLiteral("برگه خروج از انبار"), Null()});
    rows.add({901, QStringLiteral("فاکتور فروش کالا"), Null()});
    rows.add({903, QStringLiteral("برگشت از فروش"), Null()});
    rows.add({904, QStringLiteral("گزارش گردش صندوق"), Null()});
    rows.add({910, QStringLiteral("فهرست فاکتورهاي فروش"), Null()});
    rows.finish();
}

// The installation's base path, where the shipped report templates live (bin/../share/
// saleinvoice/), so that the templates' relative paths resolve; empty without an application.
QString installationBasePath() {
    if (!QCoreApplication::instance()) return {};
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/../share/saleinvoice")) +
           QLatin1Char('/');
}

void fillCompany(DemoData& d) {
    d.session.exec(
        QStringLiteral("INSERT INTO tblZelorCompany (ID, Name, Address, Phone, Fax, Email, "
                       "EconomicCode, BasePath, IsActive) VALUES (?,?,?,?,?,?,?,?,?)"),
        {1, QStringLiteral("شرکت بازرگاني پارس نيک"),
         QStringLiteral("تهران، خيابان وليعصر، بالاتر از پارک ساعي، پلاک 1250"),
         QStringLiteral("021-88776655"), QStringLiteral("021-88776600"),
         QStringLiteral("info@parsnik.example"), QStringLiteral("411122233344"),
         installationBasePath(), 1});
}

void fillTemplates(DemoData& d) {
    BulkInsert rows(d.session, QStringLiteral("tblZelorReportTemplate"),
                    {QStringLiteral("ID"), QStringLiteral("FormTypeID"), QStringLiteral("Title"),
                     QStringLiteral("FilePath"), QStringLiteral("Sequence")});
    rows.add(
        {1, 901, QStringLiteral("فاکتور فروش"), QStringLiteral("templates/SaleInvoice.xml"), 1});
    rows.add({2, 901, QStringLiteral("فاکتور فروش رسمي"),
              QStringLiteral("templates/SaleInvoiceFormal.xml"), 2});
    rows.add({3, 901, QStringLiteral("فاکتور فروشگاهي (باريک)"),
              QStringLiteral("templates/SaleInvoiceShop.xml"), 3});
    rows.add({4, 904, QStringLiteral("گردش نوبت صندوق"),
              QStringLiteral("templates/CashTurnContents.xml"), 1});
    rows.add({5, 910, QStringLiteral("فهرست فاکتورهاي فروش"),
              QStringLiteral("templates/SaleInvoiceList.xml"), 1});
    rows.finish();
}

void fillReasonsAndTypes(DemoData& d) {
    BulkInsert reasons(d.session, QStringLiteral("tblZelorFormEventReasonType"),
                       {QStringLiteral("ID"), QStringLiteral("EventTypeID"),
                        QStringLiteral("Sequence"), QStringLiteral("Description")});
    const QStringList texts{QStringLiteral("اشتباه در ثبت اقلام"), QStringLiteral("انصراف مشتري"),
                            QStringLiteral("ثبت تکراري فاکتور"), QStringLiteral("عدم موجودي کالا"),
                            QStringLiteral("ساير موارد")};
    for (int i = 0; i < texts.size(); ++i)
        reasons.add({i + 1, 90102, i + 1, texts[i]});
    reasons.finish();

    BulkInsert surcharges(d.session, QStringLiteral("tblZelorSuchargeType"),
                          {QStringLiteral("ID"), QStringLiteral("Code"), QStringLiteral("Name"),
                           QStringLiteral("AccountCode")});
    surcharges.add({id::kTransportSurcharge, QStringLiteral("1"), QStringLiteral("هزينه حمل"),
                    QString::fromLatin1(account::kTransportIncome)});
    surcharges.add({2, QStringLiteral("2"), QStringLiteral("هزينه بسته بندي"),
                    QString::fromLatin1(account::kPackingIncome)});
    surcharges.add({3, QStringLiteral("3"), QStringLiteral("هزينه نصب"),
                    QString::fromLatin1(account::kInstallIncome)});
    surcharges.finish();

    BulkInsert shortages(d.session, QStringLiteral("tblZelorShortageType"),
                         {QStringLiteral("ID"), QStringLiteral("Code"), QStringLiteral("Name"),
                          QStringLiteral("AccountCode")});
    shortages.add({1, QStringLiteral("1"), QStringLiteral("کسري بار"),
                   QString::fromLatin1(account::kDeductions)});
    shortages.add(
        {2, QStringLiteral("2"), QStringLiteral("ضايعات"), QString::fromLatin1(account::kWaste)});
    shortages.add({3, QStringLiteral("3"), QStringLiteral("تخفيف خوش حسابي"),
                   QString::fromLatin1(account::kTotalDiscount)});
    shortages.finish();

    BulkInsert activities(d.session, QStringLiteral("tblZelorWorkActivity"),
                          {QStringLiteral("ID"), QStringLiteral("Code"), QStringLiteral("Name"),
                           QStringLiteral("IsCheckOrganizationCredit")});
    activities.add({1, QStringLiteral("1"), QStringLiteral("سوپرمارکت و خواربار"), 1});
    activities.add({2, QStringLiteral("2"), QStringLiteral("رستوران و تالار"), 1});
    activities.add({3, QStringLiteral("3"), QStringLiteral("فروشگاه زنجيره اي"), 1});
    activities.add({4, QStringLiteral("4"), QStringLiteral("مصرف کننده نهايي"), 0});
    activities.add({5, QStringLiteral("5"), QStringLiteral("پخش و عمده فروشي"), 1});
    activities.finish();
}

}  // namespace

void FillSystem(DemoData& d) {
    d.progress(QStringLiteral("کاربران، نقشها و تنظيمات"));
    fillPositions(d);
    fillUsers(d);
    fillRights(d);
    fillFormTypes(d);
    fillCompany(d);
    fillTemplates(d);
    fillReasonsAndTypes(d);
    FillSystemParameters(d);
    FillUserLinks(d);
}

}  // namespace si::erpdb::demo
