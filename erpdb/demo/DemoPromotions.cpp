// Promotions of the demo, valid today: a percent off dairy, a free item for three bought, a
// percent off chosen goods, a percent off drinks with exceptions, and the festival of the season
// before, long expired. Promoter cards: one range in force, one expired, one naming only the
// second promoter.

#include "erpdb/demo/DemoModel.h"

namespace si::erpdb::demo {

namespace {

struct Detail {
    int sequence = 1;
    int priority = 1;
    QString notes;
    qint64 discountQty = 0;
    double discountPercent = 0;
    qint64 qty = 0;
    bool discountSelf = false;
    bool discountOther = false;
};

class PromotionWriter {
public:
    explicit PromotionWriter(DemoData& d)
        : d_(d),
          headers_(d.session, QStringLiteral("tblSalePromotion"),
                   {QStringLiteral("ID"), QStringLiteral("Code"), QStringLiteral("Name"),
                    QStringLiteral("BeginDate"), QStringLiteral("FarsiBeginDate"),
                    QStringLiteral("EndDate"), QStringLiteral("FarsiEndDate"),
                    QStringLiteral("IsActive")}),
          details_(d.session, QStringLiteral("tblSalePromotionDetail"),
                   {QStringLiteral("PromotionID"), QStringLiteral("Sequence"),
                    QStringLiteral("PriorityNo"), QStringLiteral("Notes"),
                    QStringLiteral("DiscountQty"), QStringLiteral("DiscountPercent"),
                    QStringLiteral("NegativeRowCountFix"), QStringLiteral("PositiveRowCountMax"),
                    QStringLiteral("PositiveRowCountMin"), QStringLiteral("ValueFrom"),
                    QStringLiteral("ValueTo"), QStringLiteral("Qty"), QStringLiteral("IsComposite"),
                    QStringLiteral("isDiscountCheapestOne"), QStringLiteral("IsDiscountOtherGoods"),
                    QStringLiteral("IsDiscountGoodSelf"), QStringLiteral("IsOverDiscount"),
                    QStringLiteral("DiscountScaleID"), QStringLiteral("ScaleID")}),
          goods_(d.session, QStringLiteral("tblSalePromotionDetailGood"),
                 {QStringLiteral("ID"), QStringLiteral("PromotionID"), QStringLiteral("Sequence"),
                  QStringLiteral("Barcode"), QStringLiteral("isPositive")}),
          groups_(d.session, QStringLiteral("tblSalePromotionDetailGoodGroup"),
                  {QStringLiteral("ID"), QStringLiteral("PromotionID"), QStringLiteral("Sequence"),
                   QStringLiteral("GoodGroupID"), QStringLiteral("isPositive")}),
          free_(d.session, QStringLiteral("tblSalePromotionDetailEchantillonGood"),
                {QStringLiteral("ID"), QStringLiteral("PromotionID"), QStringLiteral("Sequence"),
                 QStringLiteral("Barcode")}) {}

    int promotion(const QString& name, const QDate& begin, const QDate& end) {
        const int id = ++promotions_;
        headers_.add({id, QStringLiteral("P%1").arg(id), name, d_.calendar.date(begin),
                      d_.calendar.farsi(begin), d_.calendar.date(end), d_.calendar.farsi(end), 1});
        return id;
    }
    void detail(int promotion, const Detail& x) {
        details_.add({promotion, x.sequence, x.priority, x.notes,
                      x.discountQty > 0 ? Rials(x.discountQty) : Null(),
                      x.discountPercent > 0 ? QVariant(x.discountPercent) : Null(), Null(), 0, 0,
                      Null(), Null(), x.qty > 0 ? Rials(x.qty) : Null(), 0, 0,
                      Flag(x.discountOther), Flag(x.discountSelf), 0,
                      x.discountQty > 0 ? QVariant(id::kEach) : Null(), id::kEach});
    }
    void good(int promotion, int sequence, const QString& barcode, bool positive) {
        goods_.add({++goodRows_, promotion, sequence, barcode, Flag(positive)});
    }
    void group(int promotion, int sequence, int groupId) {
        groups_.add({++groupRows_, promotion, sequence, groupId, 1});
    }
    void freeGood(int promotion, int sequence, const QString& barcode) {
        free_.add({++freeRows_, promotion, sequence, barcode});
    }
    void finish() {
        for (BulkInsert* w : {&headers_, &details_, &goods_, &groups_, &free_})
            w->finish();
    }

private:
    DemoData& d_;
    BulkInsert headers_, details_, goods_, groups_, free_;
    int promotions_ = 0;
    int goodRows_ = 0;
    int groupRows_ = 0;
    int freeRows_ = 0;
};

// The best sellers that are sold by the piece in the main store.
std::vector<const DemoGood*> bestSellersByThePiece(const DemoData& d, int count) {
    std::vector<const DemoGood*> found;
    for (int index : d.popular) {
        const DemoGood& g = d.goods[static_cast<size_t>(index)];
        if (!g.weighed && !g.notForSaleInMain) found.push_back(&g);
        if (static_cast<int>(found.size()) == count) break;
    }
    return found;
}

bool isDrink(const DemoData& d, const DemoGood& g) {
    for (const char* leaf : {"نوشيدني/نوشابه", "نوشيدني/آبميوه"})
        if (d.groupIds.value(QString::fromUtf8(leaf)) == g.groupId) return true;
    return false;
}

void fillPromotions(DemoData& d) {
    PromotionWriter w(d);
    const QDate today = d.calendar.today();
    const QDate from = today.addDays(-10);
    const QDate to = today.addDays(30);

    const int dairy = w.promotion(QStringLiteral("جشنواره لبنيات"), from, to);
    w.detail(dairy, {1, 2, QStringLiteral("10 درصد تخفيف همه لبنيات"), 0, 10, 0, true, false});
    for (const char* leaf : {"لبنيات/شير", "لبنيات/ماست و دوغ", "لبنيات/پنير و کره"})
        w.group(dairy, 1, d.groupIds.value(QString::fromUtf8(leaf)));

    const std::vector<const DemoGood*> popular = bestSellersByThePiece(d, 6);
    const int bundle = w.promotion(QStringLiteral("سه بخر، يکي هديه بگير"), from, to);
    w.detail(bundle, {1, 3, QStringLiteral("با خريد 3 عدد، يک عدد هديه"), 1, 0, 3, false, true});
    for (size_t i = 0; i + 1 < popular.size(); ++i)
        w.good(bundle, 1, popular[i]->barcode, true);
    if (!popular.empty()) w.freeGood(bundle, 1, popular.back()->barcode);

    // A percent off a few chosen goods, named one by one.
    const int chosen = w.promotion(QStringLiteral("تخفيف ويژه کالاهاي منتخب"), from, to);
    w.detail(chosen, {1, 2, QStringLiteral("8 درصد تخفيف کالاهاي منتخب"), 0, 8, 0, true, false});
    for (size_t i = 0; i < d.popular.size() && i < 40; i += 8)
        w.good(chosen, 1, d.goods[static_cast<size_t>(d.popular[i])].barcode, true);

    const int drinks = w.promotion(QStringLiteral("تخفيف ويژه نوشيدني ها"), from, to);
    w.detail(drinks, {1, 1, QStringLiteral("5 درصد تخفيف نوشابه و آبميوه"), 0, 5, 0, true, false});
    for (const char* leaf : {"نوشيدني/نوشابه", "نوشيدني/آبميوه"})
        w.group(drinks, 1, d.groupIds.value(QString::fromUtf8(leaf)));
    int excluded = 0;
    for (const DemoGood& g : d.goods) {
        if (excluded == 2) break;
        if (isDrink(d, g)) {
            w.good(drinks, 1, g.barcode, false);
            ++excluded;
        }
    }

    const int old =
        w.promotion(QStringLiteral("جشنواره فصل گذشته"), today.addDays(-70), today.addDays(-40));
    w.detail(old, {1, 1, QStringLiteral("15 درصد تخفيف خشکبار"), 0, 15, 0, true, false});
    w.group(old, 1, d.groupIds.value(QStringLiteral("خشکبار و تنقلات/خشکبار")));
    w.finish();
}

void fillPromoterCards(DemoData& d) {
    BulkInsert rows(d.session, QStringLiteral("tblSalePromoterCard"),
                    {QStringLiteral("ID"), QStringLiteral("CardNoFrom"), QStringLiteral("CardNoTo"),
                     QStringLiteral("PromoterID1"), QStringLiteral("PromoterID2"),
                     QStringLiteral("ExpireDate"), QStringLiteral("FarsiExpireDate")});
    const auto promoter = [&](size_t i) { return d.promoters[i % d.promoters.size()]; };
    const QDate today = d.calendar.today();
    rows.add({1, 1000, 1999, promoter(0), promoter(1), d.calendar.date(today.addDays(365)),
              d.calendar.farsi(today.addDays(365))});
    rows.add({2, 2000, 2999, promoter(2), Null(), d.calendar.date(today.addDays(-1)),
              d.calendar.farsi(today.addDays(-1))});
    rows.add({3, 3000, 3999, Null(), promoter(3), d.calendar.date(today.addDays(180)),
              d.calendar.farsi(today.addDays(180))});
    rows.finish();
}

}  // namespace

void FillPromotions(DemoData& d) {
    d.progress(QStringLiteral("پروموشنها و کارتهاي بازارياب"));
    fillPromotions(d);
    fillPromoterCards(d);
}

}  // namespace si::erpdb::demo
