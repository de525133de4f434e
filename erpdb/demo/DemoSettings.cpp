// The demo's system parameters (read by the invoice form at load) with a few per-user
// overrides, and what each user may use: invoice types, pricing methods, payment kinds and
// inventories.

#include "erpdb/demo/DemoModel.h"

namespace si::erpdb::demo {

namespace {

// The invoice form loads the rows of system 9.
constexpr int kSaleSystem = 9;

struct Parameter {
    int id;
    const char* name;
    QString value;
};

std::vector<Parameter> parameters() {
    const QString off = QStringLiteral("0");
    const QString on = QStringLiteral("1");
    const QString none = QStringLiteral("-1");
    return {
        {3, "نسخه فروشگاهي (صندوق)", off},
        {5, "صندوق دريافت اعتبار مشتريان", QString::number(id::kCreditCashBox)},
        {8, "حداکثر عمر فاکتور براي اصلاح (روز)", none},
        {9, "محدود به شعبه کاربر", off},
        {13, "کنترل موجودي کالا در سطرها", on},
        {17, "قابل ويرايش بودن قيمت واحد", on},
        {24, "قيمت بر اساس واحد پايه", off},
        {28, "تکرار کالا در سطرها", off},
        {67, "کنترل دسترسي به مشتري", off},
        {78, "شماره گذاري بر اساس دوره مالي", off},
        {81, "مهلت تسويه پيش فرض (روز)", QStringLiteral("30")},
        {88, "نمايش تعداد در فاکتورهاي موقت", on},
        {91, "قابل ويرايش بودن تخفيف سطر براي همه", off},
        {93, "کنترل اعتبار مشتري", off},
        {96, "نمايش اطلاعات بدهي مشتري", on},
        {97, "نمايش موجودي کالا", on},
        {98, "پرسش براي نمايش آخرين فاکتور مشتري", off},
        {103, "الزام حساب باز مشتري", off},
        {109, "پرداخت نقدي پيش فرض", on},
        {124, "نمايش کد و نشاني مشتري", off},
        {309, "محدوديت مشتريان به سمت کاربر", off},
        {311, "ثبت سند با اشياء حسابداري", off},
        {907, "فقط خواندني بودن کد کالا", off},
        {910, "الزام بازارياب", off},
        {911, "الزام شعبه", off},
        {912, "الزام بازارياب دوم", off},
        {913, "الزام نوع آشنايي", off},
        {914, "الزام بازارياب سطرها", off},
        {1079, "تاريخ جاري هنگام اصلاح", on},
        {2827, "نشاني نمايشگر صندوق", QStringLiteral("127.0.0.1:3000")},
        {2828, "سقف درصد تخفيف سطر", QStringLiteral("30")},
        {2829, "سقف مبلغ تخفيف سطر", QString()},
        {2830, "سقف درصد تخفيف کلي", QStringLiteral("20")},
        {2831, "سقف مبلغ تخفيف کلي", QString()},
        {2832, "فهرست قالبهاي بارکد ترازو", on},
        {3345, "نمايش تعداد به واحد پايه", on},
        {3349, "شرح کالا در سطرها", off},
        {3377, "کنترل مبالغ وصول نشده بازارياب", off},
        {3387, "کنترل مبالغ وصول نشده بازارياب دوم", off},
        // 0: a customer gets the message however long ago the previous purchase was.
        {3388, "حداقل فاصله از خريد قبلي براي پيامک (روز)", off},
        // One lottery sheet for every million Rials, at most ten for an invoice.
        {3389, "مبلغ قرعه کشي", QStringLiteral("1000000")},
        {3390, "قالب چاپي برگه قرعه کشي", QStringLiteral("templates/Lottery.xml")},
        {3391, "سقف تعداد برگه هاي قرعه کشي", QStringLiteral("10")},
        {3392, "خواندن از فايل بارکدخوان", on},
        {3393, "چاپ برگه قرعه کشي", off},
        {3395, "کنترل اشانتيون پيش فرض", on},
        {3396, "فاکتور رسمي پيش فرض", on},
        {3397, "ارسال پيامک پيش فرض", off},
        // 21, five digits of the goods code, the weight as two whole and three decimal digits.
        {3404, "قالب اول بارکد ترازو", QStringLiteral("21CCCCCNNFFF")},
        {3405, "قالب دوم بارکد ترازو", QString()},
        {3406, "نمايش کارت مشتري", on},
        {4400, "بازارياب از طريق کارت", off},
        {4402, "تعريف مشتري جديد از فاکتور", on},
        {4403, "حذف فاکتور داراي حواله", off},
        {4404, "بازارياب پيش فرض", none},
        {4405, "نوع فاکتور پيش فرض", QString::number(id::kNormalType)},
        {4407, "حداکثر دفعات چاپ فاکتور", QStringLiteral("5")},
        // Grand totals are rounded down to whole thousands of Rials.
        {4409, "گرد کردن مبلغ کل فاکتور", QStringLiteral("3-")},
        {4410, "مشتري پيش فرض", QString::number(id::kDefaultCustomer)},
        {4411, "بازارياب دوم پيش فرض", none},
        {4412, "استفاده از شماره کارت بازارياب", on},
        {4414, "بازارياب پيش فرض سطرها", none},
        {5003, "متن پيامک مشتري",
         QStringLiteral("@CustomerName عزيز، از خريد شما با فاكتور @ID سپاسگزاريم. "
                        "فروشگاه نمونه")},
        {5004, "حالت ارسال پيامک", on},
        {5006, "متن پيامک بازارياب",
         QStringLiteral("@PromoterName گرامي، سهم شما از فاكتور @ID مبلغ @Value ريال است.")},
        {5009, "قاعده ارسال پيامک", on},
        {5020, "مهلت تخفيف تولد (روز)", QStringLiteral("7")},
        {5021, "جمع تخفيف کارت و تولد", off},
        {5022, "عدم تخفيف کارت براي کالاي داراي تخفيف", on},
        {5023, "قاعده جستجوي کالا", off},
    };
}

void fillParameters(DemoData& d) {
    BulkInsert rows(
        d.session, QStringLiteral("tblZelorSystemParameters"),
        {QStringLiteral("ID"), QStringLiteral("SystemID"), QStringLiteral("Name"),
         QStringLiteral("Value"), QStringLiteral("UserID"), QStringLiteral("Description")});
    for (const Parameter& p : parameters())
        rows.add({p.id, kSaleSystem, QString::fromUtf8(p.name), p.value, Null(), Null()});
    rows.finish();

    // The cashier gets tighter discount ceilings than the general ones.
    BulkInsert byUser(
        d.session, QStringLiteral("tblZelorSystemParametersUser"),
        {QStringLiteral("UserID"), QStringLiteral("SystemParameterID"), QStringLiteral("Value")});
    byUser.add({id::kCashierUser, 2828, QStringLiteral("10")});
    byUser.add({id::kCashierUser, 2830, QStringLiteral("5")});
    byUser.finish();
}

void fillInvoiceTypeUsers(DemoData& d) {
    BulkInsert rows(d.session, QStringLiteral("tblUserSaleInvoiceType"),
                    {QStringLiteral("UserID"), QStringLiteral("InvoiceTypeID")});
    for (int type : {id::kNormalType, id::kWholesaleType, id::kGoldType, id::kPartnerType})
        rows.add({id::kAdminUser, type});
    rows.add({id::kCashierUser, id::kNormalType});
    for (int type : {id::kNormalType, id::kWholesaleType, id::kPartnerType})
        rows.add({id::kClerkUser, type});
    rows.finish();
}

void fillPricingMethodUsers(DemoData& d) {
    BulkInsert rows(d.session, QStringLiteral("tblSalePricingMethodUser"),
                    {QStringLiteral("UserID"), QStringLiteral("PricingMethodID"),
                     QStringLiteral("IsDefault"), QStringLiteral("Sequence")});
    rows.add({id::kAdminUser, id::kRetailMethod, 1, 1});
    rows.add({id::kAdminUser, id::kWholesaleMethod, 0, 2});
    rows.add({id::kAdminUser, id::kPartnerMethod, 0, 3});
    rows.add({id::kAdminUser, id::kOldListMethod, 0, Null()});
    rows.add({id::kCashierUser, id::kRetailMethod, 1, 1});
    // The clerk's preference comes from the sequence alone.
    rows.add({id::kClerkUser, id::kRetailMethod, Null(), 2});
    rows.add({id::kClerkUser, id::kWholesaleMethod, Null(), 1});
    rows.add({id::kClerkUser, id::kPartnerMethod, Null(), Null()});
    rows.finish();
}

void fillPaymentKindUsers(DemoData& d) {
    // The administrator has no rows: every kind.
    BulkInsert rows(d.session, QStringLiteral("tblSalePaidByCashUser"),
                    {QStringLiteral("UserID"), QStringLiteral("PaidByCashID")});
    rows.add({id::kCashierUser, id::kCash});
    rows.add({id::kClerkUser, id::kCash});
    rows.add({id::kClerkUser, id::kCredit});
    rows.finish();
}

void fillInventoryUsers(DemoData& d) {
    BulkInsert rows(
        d.session, QStringLiteral("tblInventoryUser"),
        {QStringLiteral("UserID"), QStringLiteral("InventoryID"), QStringLiteral("IsPrimary")});
    for (int inventory : {id::kMainInventory, id::kIsfahanInventory, id::kWholesaleInventory,
                          id::kWholesaleHallA, id::kWholesaleHallB})
        rows.add({id::kAdminUser, inventory, Flag(inventory == id::kMainInventory)});
    rows.add({id::kCashierUser, id::kMainInventory, 1});
    for (int inventory : {id::kMainInventory, id::kIsfahanInventory, id::kWholesaleInventory})
        rows.add({id::kClerkUser, inventory, Flag(inventory == id::kMainInventory)});
    rows.finish();
}

}  // namespace

void FillSystemParameters(DemoData& d) {
    fillParameters(d);
}

void FillUserLinks(DemoData& d) {
    fillInvoiceTypeUsers(d);
    fillPricingMethodUsers(d);
    fillPaymentKindUsers(d);
    fillInventoryUsers(d);
}

}  // namespace si::erpdb::demo
