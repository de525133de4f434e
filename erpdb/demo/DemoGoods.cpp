// The goods of the demo: units, a goods-group tree of two and three levels with its closure,
// and the goods themselves with EAN-13 barcodes (prefix 626), codes, Persian names made of
// product, brand and size, prices, standard discounts, tax flags and the units each may be sold
// in. Weighed produce gets five-digit codes, so that scale labels (parameter 3404) find it.

#include <numeric>

#include "erpdb/demo/DemoModel.h"
#include "erpdb/demo/DemoNames.h"

namespace si::erpdb::demo {

namespace {

struct Unit {
    int id;
    const char* name;
    int parent;
    double factor;
    bool integer;
};

const std::vector<Unit>& units() {
    static const std::vector<Unit> list{
        {id::kEach, "عدد", 0, 1, true},
        {id::kPack6, "بسته 6 عددي", id::kEach, 6, true},
        {id::kPack12, "بسته 12 عددي", id::kEach, 12, true},
        {id::kCarton24, "کارتن 24 عددي", id::kEach, 24, true},
        {id::kBox10, "جعبه 10 عددي", id::kEach, 10, true},
        {id::kKilogram, "کيلوگرم", 0, 1, false},
        {id::kGram, "گرم", id::kKilogram, 0.001, false},
        {id::kLitre, "ليتر", 0, 1, false},
    };
    return list;
}

void fillUnits(DemoData& d) {
    BulkInsert rows(d.session, QStringLiteral("tblGoodScale"),
                    {QStringLiteral("ID"), QStringLiteral("Code"), QStringLiteral("Name"),
                     QStringLiteral("ParentID"), QStringLiteral("ScaleToBaseParent"),
                     QStringLiteral("IsInteger")});
    d.factorOfScale.assign(units().size() + 1, 1.0);
    for (const Unit& u : units()) {
        rows.add({u.id, QStringLiteral("%1").arg(u.id, 2, 10, QLatin1Char('0')),
                  QString::fromUtf8(u.name), u.parent > 0 ? QVariant(u.parent) : Null(),
                  Amount(Money::fromDouble(u.factor)), Flag(u.integer)});
        d.factorOfScale[static_cast<size_t>(u.id)] = u.factor;
    }
    rows.finish();
}

// Group IDs of each catalogue leaf, in catalogue order.
std::vector<int> fillGroups(DemoData& d) {
    BulkInsert rows(d.session, QStringLiteral("tblGoodGroup"),
                    {QStringLiteral("ID"), QStringLiteral("Code"), QStringLiteral("Name"),
                     QStringLiteral("ParentID")});
    BulkInsert closure(
        d.session, QStringLiteral("tblGoodGroupParent"),
        {QStringLiteral("ID"), QStringLiteral("ChildID"), QStringLiteral("NoLevel")});
    QHash<QString, QString> codes;
    QHash<QString, int> children;  // per parent key, for the next code
    int next = 1;
    auto add = [&](const QString& key, const QString& name, const QString& parentKey) {
        if (d.groupIds.contains(key)) return d.groupIds.value(key);
        const int parentId = d.groupIds.value(parentKey, 0);
        const int n = ++children[parentKey];
        const QString code =
            parentKey.isEmpty()
                ? QString::number(n)
                : codes.value(parentKey) + QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
        const int id = next++;
        d.groupIds.insert(key, id);
        codes.insert(key, code);
        rows.add({id, code, name, parentId > 0 ? QVariant(parentId) : Null()});
        // Every ancestor, nearest first.
        int level = 1;
        for (QString up = parentKey; !up.isEmpty(); ++level) {
            closure.add({d.groupIds.value(up), id, level});
            const qsizetype slash = up.lastIndexOf(QLatin1Char('/'));
            up = slash < 0 ? QString() : up.left(slash);
        }
        return id;
    };
    std::vector<int> leaves;
    for (const CatalogLeaf& leaf : Catalog()) {
        const QString top = leaf.top;
        const QString middle = top + QLatin1Char('/') + leaf.middle;
        add(top, leaf.top, QString());
        int id = add(middle, leaf.middle, top);
        if (!leaf.leaf.isEmpty())
            id = add(middle + QLatin1Char('/') + leaf.leaf, leaf.leaf, middle);
        leaves.push_back(id);
    }
    rows.finish();
    closure.finish();
    return leaves;
}

// How many goods each leaf gets: its share by weight, largest remainders first, so the counts
// add up to the total.
std::vector<int> quotas(int total) {
    const auto& catalog = Catalog();
    const int weights = std::accumulate(catalog.begin(), catalog.end(), 0,
                                        [](int s, const CatalogLeaf& l) { return s + l.weight; });
    std::vector<int> counts(catalog.size());
    std::vector<std::pair<qint64, size_t>> remainders;
    int given = 0;
    for (size_t i = 0; i < catalog.size(); ++i) {
        const qint64 share = qint64(total) * catalog[i].weight;
        counts[i] = static_cast<int>(share / weights);
        given += counts[i];
        remainders.push_back({share % weights, i});
    }
    std::stable_sort(remainders.begin(), remainders.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (size_t k = 0; given < total; ++k, ++given)
        ++counts[remainders[k % remainders.size()].second];
    return counts;
}

// The k-th name of a leaf: the combinations of product, brand (or origin), variant and size are
// walked with a stride coprime to their number, so neighbouring goods differ and no name
// repeats until all are used.
struct NameParts {
    int product = 0;
    int size = 0;
    int brand = 0;
    QString name;
};

NameParts nameOf(const CatalogLeaf& leaf, int k) {
    const bool weighed = leaf.unit == UnitKind::Weight;
    const QStringList& makers = weighed ? Origins() : Brands();
    const qint64 variants = weighed ? 1 : Variants().size() + 1;
    const qint64 space =
        qint64(leaf.products.size()) * makers.size() * leaf.sizes.size() * variants;
    qint64 stride = 7919;
    while (std::gcd(stride, space) != 1)
        stride += 2;
    qint64 index = (qint64(k) * stride + 11) % space;
    NameParts parts;
    parts.product = static_cast<int>(index % leaf.products.size());
    index /= leaf.products.size();
    parts.brand = static_cast<int>(index % makers.size());
    index /= makers.size();
    parts.size = static_cast<int>(index % leaf.sizes.size());
    const int variant = static_cast<int>(index / leaf.sizes.size());
    parts.name =
        leaf.products[parts.product] + QLatin1Char(' ') +
        (weighed ? leaf.sizes[parts.size] + QLatin1Char(' ') + makers[parts.brand]
                 : makers[parts.brand] +
                       (variant > 0 ? QLatin1Char(' ') + Variants()[variant - 1] : QString()) +
                       QLatin1Char(' ') + leaf.sizes[parts.size]);
    if (k >= space) parts.name += QStringLiteral(" مدل %1").arg(k / space + 1);
    return parts;
}

qint64 priceStep(qint64 price) {
    return price >= 100'000 ? 1000 : 100;
}

// Rials per base unit: the leaf's range, larger sizes dearer, each brand a little apart.
qint64 priceOf(const CatalogLeaf& leaf, const NameParts& parts, Rng& rng) {
    const qint64 base = qint64(rng.between(leaf.minPrice, leaf.maxPrice)) * 1000;
    const qint64 sized = base * (10 + 6 * parts.size) / 10;
    const qint64 branded = sized * rng.between(85, 115) / 100;
    return std::max<qint64>(100, RoundTo(branded, priceStep(branded)));
}

class BarcodeMaker {
public:
    // Four digits of the maker (one per brand; in-house produce has its own) and five of the
    // item, after the country prefix 626.
    QString next(int maker) {
        const int item = counters_[maker]++;
        const int makerCode = 1000 + maker + 100 * (item / 100000);
        const QString twelve = QStringLiteral("626%1%2")
                                   .arg(makerCode, 4, 10, QLatin1Char('0'))
                                   .arg(item % 100000, 5, 10, QLatin1Char('0'));
        return twelve + QString::number(Ean13CheckDigit(twelve));
    }

private:
    QHash<int, int> counters_;
};

void chooseUnits(DemoGood& g, bool weighed, Rng& rng) {
    if (weighed) {
        g.scaleId = id::kKilogram;
        return;
    }
    static const std::vector<int> packs{id::kPack6, id::kPack12, id::kCarton24, id::kBox10};
    const int roll = rng.below(100);
    if (roll < 40) g.packs.push_back(rng.pick(packs));
    if (roll < 15) {
        const int second = rng.pick(packs);
        if (second != g.packs.front()) g.packs.push_back(second);
    }
}

void chooseStandardDiscount(DemoGood& g, Rng& rng) {
    g.general.present = true;
    const int roll = rng.below(100);
    if (roll < 8) {
        g.general.inPercent = true;
        g.general.discountTenths = rng.between(2, 10) * 10;
    } else if (roll < 10) {
        g.general.inPercent = false;
        g.general.discountValue = std::max<qint64>(1000, RoundTo(g.general.price / 20, 1000));
    }
}

bool hasStandardDiscount(const DemoGood& g) {
    return g.general.inPercent ? g.general.discountTenths > 0 : g.general.discountValue > 0;
}

// Best sellers are spread over the catalogue rather than bunched in its first groups.
void rankByPopularity(DemoData& d) {
    const qint64 n = static_cast<qint64>(d.goods.size());
    qint64 step = 104729;
    while (n > 1 && std::gcd(step, n) != 1)
        step += 2;
    d.popular.resize(d.goods.size());
    for (qint64 r = 0; r < n; ++r)
        d.popular[static_cast<size_t>(r)] = static_cast<int>((r * step + 17) % n);
}

}  // namespace

void FillGoods(DemoData& d) {
    d.progress(QStringLiteral("کالاها: %1").arg(d.options.goods));
    fillUnits(d);
    const std::vector<int> leafIds = fillGroups(d);
    IndexesSetAside indexes(d.session, {QStringLiteral("tblGood")});
    Rng rng(d.options.seed, 3);
    BarcodeMaker barcodes;
    BulkInsert rows(
        d.session, QStringLiteral("tblGood"),
        {QStringLiteral("ID"), QStringLiteral("Barcode"), QStringLiteral("Code"),
         QStringLiteral("Name"), QStringLiteral("GoodGroupID"), QStringLiteral("ScaleID"),
         QStringLiteral("SaleScaleID"), QStringLiteral("RetailPrice"), QStringLiteral("BuyPrice"),
         QStringLiteral("StandardDiscountPercent"), QStringLiteral("StandardDiscountValue"),
         QStringLiteral("EsTreshold"), QStringLiteral("HasTax"), QStringLiteral("HasAdded"),
         QStringLiteral("LoanExpireDuration"), QStringLiteral("IsActive")});
    const std::vector<int> counts = quotas(d.options.goods);
    d.goods.reserve(static_cast<size_t>(d.options.goods));
    int weighedCount = 0;
    for (size_t l = 0; l < Catalog().size(); ++l) {
        const CatalogLeaf& leaf = Catalog()[l];
        const bool weighed = leaf.unit == UnitKind::Weight;
        for (int k = 0; k < counts[l]; ++k) {
            const NameParts parts = nameOf(leaf, k);
            DemoGood g;
            g.id = static_cast<int>(d.goods.size()) + 1;
            g.weighed = weighed;
            g.barcode = barcodes.next(weighed ? 99 : parts.brand);
            g.code =
                weighed ? QString::number(10000 + ++weighedCount) : QString::number(100000 + g.id);
            g.groupId = leafIds[l];
            g.general.price = priceOf(leaf, parts, rng);
            chooseUnits(g, weighed, rng);
            chooseStandardDiscount(g, rng);
            g.hasTax = !leaf.taxFree;
            g.hasAdded = !leaf.taxFree && rng.below(100) < 95;
            const qint64 buy = RoundTo(g.general.price * rng.between(78, 92) / 100, 100);
            const bool threshold = !weighed && rng.chance(4);
            const bool loan = rng.chance(10);
            rows.add({g.id, g.barcode, g.code, parts.name, g.groupId, g.scaleId, g.scaleId,
                      Rials(g.general.price), Rials(buy),
                      g.general.inPercent && hasStandardDiscount(g)
                          ? QVariant(g.general.discountTenths / 10.0)
                          : Null(),
                      !g.general.inPercent ? Rials(g.general.discountValue) : Null(),
                      threshold ? Rials(rng.chance(50) ? 12 : 24) : Null(), Flag(g.hasTax),
                      Flag(g.hasAdded), loan ? QVariant(30 + 15 * rng.below(3)) : Null(), 1});
            d.goods.push_back(std::move(g));
        }
    }
    rows.finish();
    indexes.restore();
    rankByPopularity(d);
}

}  // namespace si::erpdb::demo
