// What hangs on the demo's goods: the units each barcode may be sold in, its price and default
// discount under each pricing method, attached goods, goods with their own tax settings, goods
// not for sale in the main inventory, and the loyalty-card and birthday discounts by goods and
// by group.

#include "erpdb/demo/DemoModel.h"

namespace si::erpdb::demo {

namespace {

void fillSaleScales(DemoData& d) {
    BulkInsert rows(d.session, QStringLiteral("tblGoodSaleScale"),
                    {QStringLiteral("Barcode"), QStringLiteral("ScaleID")});
    for (const DemoGood& g : d.goods) {
        rows.add({g.barcode, g.scaleId});
        if (g.weighed) rows.add({g.barcode, id::kGram});
        for (int pack : g.packs)
            rows.add({g.barcode, pack});
    }
    rows.finish();
}

// The method's price: a share of the general price, rounded as prices are.
qint64 priceShare(qint64 price, int percent) {
    const qint64 p = price * percent / 100;
    return std::max<qint64>(100, RoundTo(p, p >= 100'000 ? 1000 : 100));
}

Pricing methodPricing(const DemoGood& g, int method, Rng& rng) {
    Pricing p;
    const int share[] = {0, 100, 92, 88, 95};
    const int coverage[] = {0, 90, 85, 70, 20};
    if (!rng.chance(coverage[method])) return p;
    p.present = true;
    p.priceFromGood = method == id::kRetailMethod && rng.chance(50);
    p.price = p.priceFromGood ? g.general.price : priceShare(g.general.price, share[method]);
    const int roll = rng.below(100);
    if (method == id::kPartnerMethod && roll < 10) {
        p.inPercent = false;
        p.discountValue = std::max<qint64>(1000, RoundTo(p.price * 3 / 100, 1000));
    } else if (method == id::kRetailMethod && g.general.inPercent) {
        p.discountTenths = roll < 5 ? rng.between(3, 5) * 10 : g.general.discountTenths;
    } else if (method == id::kWholesaleMethod && roll < 20) {
        p.discountTenths = 20;
    }
    return p;
}

void fillSaleInfo(DemoData& d) {
    Rng rng(d.options.seed, 4);
    BulkInsert rows(d.session, QStringLiteral("tblGoodSaleInfo"),
                    {QStringLiteral("ID"), QStringLiteral("Barcode"),
                     QStringLiteral("PricingMethodID"), QStringLiteral("RetailPrice"),
                     QStringLiteral("IsDiscountInPercent"), QStringLiteral("DiscountPercent"),
                     QStringLiteral("DiscountValue"), QStringLiteral("LoanExpireDuration")});
    int next = 1;
    for (DemoGood& g : d.goods) {
        for (int method = 1; method <= id::kPricingMethods; ++method) {
            const Pricing p = methodPricing(g, method, rng);
            g.byMethod[static_cast<size_t>(method)] = p;
            if (!p.present) continue;
            const bool loan = method != id::kRetailMethod && rng.chance(15);
            rows.add({next++, g.barcode, method, p.priceFromGood ? Null() : Rials(p.price),
                      // A missing flag counts as percent.
                      p.inPercent ? (rng.chance(30) ? Null() : QVariant(1)) : QVariant(0),
                      p.inPercent ? QVariant(p.discountTenths / 10.0) : Null(),
                      p.inPercent ? Null() : Rials(p.discountValue),
                      loan ? QVariant(30 * rng.between(1, 3)) : Null()});
        }
    }
    rows.finish();
}

// Every step-th goods item from an offset: the demo's special settings fall on goods spread
// over the catalogue without a second random pass.
std::vector<int> everyNth(const DemoData& d, int step, int offset) {
    std::vector<int> picked;
    for (int i = offset; i < static_cast<int>(d.goods.size()); i += step)
        picked.push_back(i);
    return picked;
}

void fillAttachedGoods(DemoData& d) {
    BulkInsert rows(
        d.session, QStringLiteral("tblGoodAttachedGoods"),
        {QStringLiteral("ID"), QStringLiteral("GoodID"), QStringLiteral("AttachedGoodID")});
    int next = 1;
    for (int i : everyNth(d, 199, 5)) {
        const size_t partner = static_cast<size_t>(i + 1) % d.goods.size();
        if (static_cast<int>(partner) == i) continue;
        rows.add({next++, d.goods[static_cast<size_t>(i)].id, d.goods[partner].id});
    }
    rows.finish();
}

void fillTaxOverrides(DemoData& d) {
    BulkInsert rows(
        d.session, QStringLiteral("tblGoodTaxAddedInfo"),
        {QStringLiteral("ID"), QStringLiteral("Barcode"), QStringLiteral("BeginDate"),
         QStringLiteral("FarsiBeginDate"), QStringLiteral("EndDate"),
         QStringLiteral("FarsiEndDate"), QStringLiteral("HasTax"), QStringLiteral("HasAdded"),
         QStringLiteral("TaxPercent"), QStringLiteral("AddedPercent")});
    // Valid over both tax years, like the general settings.
    const QDate begin = DemoCalendar::jalaliYearStart(
        DemoCalendar::jalaliYearStart(d.calendar.today()).addDays(-1));
    const QDate end = DemoCalendar::jalaliYearEnd(d.calendar.today());
    int next = 1;
    for (int i : everyNth(d, 157, 3)) {
        DemoGood& g = d.goods[static_cast<size_t>(i)];
        // Alternately a luxury rate without duty and an exemption.
        const TaxOverride o = next % 2 ? TaxOverride{true, false, 9, 0} : TaxOverride{};
        g.taxOverride = static_cast<int>(d.taxOverrides.size());
        d.taxOverrides.push_back(o);
        rows.add({next++, g.barcode, d.calendar.date(begin), d.calendar.farsi(begin),
                  d.calendar.date(end), d.calendar.farsi(end), Flag(o.hasTax), Flag(o.hasAdded),
                  double(o.taxPercent), double(o.addedPercent)});
    }
    rows.finish();
}

void fillInventoryGoodInfo(DemoData& d) {
    BulkInsert rows(
        d.session, QStringLiteral("tblInventoryGoodInfo"),
        {QStringLiteral("ID"), QStringLiteral("InventoryID"), QStringLiteral("Barcode"),
         QStringLiteral("NotForSale"), QStringLiteral("MinQty"), QStringLiteral("MaxQty")});
    int next = 1;
    for (int i : everyNth(d, 23, 7)) {
        DemoGood& g = d.goods[static_cast<size_t>(i)];
        g.notForSaleInMain = next % 16 == 1;
        rows.add({next++, id::kMainInventory, g.barcode, Flag(g.notForSaleInMain), Rials(10),
                  Rials(500)});
    }
    rows.finish();
}

void fillCardDiscounts(DemoData& d) {
    BulkInsert card(d.session, QStringLiteral("tblCRMGoodDiscount"),
                    {QStringLiteral("ID"), QStringLiteral("Barcode"), QStringLiteral("GoodGroupID"),
                     QStringLiteral("CardTypeID"), QStringLiteral("DiscountPercent")});
    int next = 1;
    const int dairy = d.groupIds.value(QStringLiteral("لبنيات"));
    const int food = d.groupIds.value(QStringLiteral("مواد غذايي"));
    const int laundry = d.groupIds.value(QStringLiteral("شوينده/شوينده لباس"));
    card.add({next++, Null(), dairy, id::kSilverCardType, 3.0});
    card.add({next++, Null(), dairy, id::kGoldCardType, 5.0});
    card.add({next++, Null(), food, id::kGoldCardType, 4.0});
    card.add({next++, Null(), laundry, id::kRetailCardType, 2.0});
    for (int i : everyNth(d, 211, 13)) {
        const QString& barcode = d.goods[static_cast<size_t>(i)].barcode;
        card.add({next++, barcode, Null(), id::kSilverCardType, 5.0});
        card.add({next++, barcode, Null(), id::kGoldCardType, 7.0});
    }
    card.finish();

    BulkInsert birthday(
        d.session, QStringLiteral("tblCRMBirthDayGoodDiscount"),
        {QStringLiteral("ID"), QStringLiteral("Barcode"), QStringLiteral("GoodGroupID"),
         QStringLiteral("CardTypeID"), QStringLiteral("DiscountPercent")});
    next = 1;
    const int snacks = d.groupIds.value(QStringLiteral("خشکبار و تنقلات"));
    const int care = d.groupIds.value(QStringLiteral("بهداشتي و آرايشي"));
    for (int type : {id::kRetailCardType, id::kSilverCardType, id::kGoldCardType}) {
        birthday.add({next++, Null(), snacks, type, 10.0});
        birthday.add({next++, Null(), care, type, 5.0});
    }
    for (int i : everyNth(d, 307, 29))
        birthday.add(
            {next++, d.goods[static_cast<size_t>(i)].barcode, Null(), id::kGoldCardType, 15.0});
    birthday.finish();
}

}  // namespace

void FillGoodsPricing(DemoData& d) {
    d.progress(QStringLiteral("قيمت گذاري و تخفيفات کالاها"));
    IndexesSetAside indexes(d.session, {QStringLiteral("tblGoodSaleInfo")});
    fillSaleScales(d);
    fillSaleInfo(d);
    indexes.restore();
    fillAttachedGoods(d);
    fillTaxOverrides(d);
    fillInventoryGoodInfo(d);
    fillCardDiscounts(d);
}

}  // namespace si::erpdb::demo
