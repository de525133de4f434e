// Promotions: the rules that decide whether a promotion detail holds, and the pass that sets the
// percents, adds the free goods and puts the card parts back.

#include <gtest/gtest.h>

#include <functional>

#include "invoice/DiscountTestSupport.h"
#include "invoice/HeaderLogic.h"

namespace si {
namespace {

using test::DiscountTest;
using test::PromotionTerms;

// ---- the rules on plain lines ----------------------------------------------------------------

PromotionLine plainLine(const char* barcode, int group, double qty, qint64 gross) {
    PromotionLine l;
    l.barcode = QString::fromLatin1(barcode);
    l.key = PromotionGoodsKey(l.barcode);
    l.group = group;
    l.baseQty = qty;
    l.gross = Money::fromRials(gross);
    l.basePrice = static_cast<double>(gross) / qty;
    return l;
}

TEST(PromotionRules, EachFieldDecidesAsStated) {
    // Lines: a (group 1, 2 units, 2000), b (group 2), c (group 1, 4 units, 400), d (group 3).
    const QVector<PromotionLine> lines = {plainLine("a", 1, 2, 2000), plainLine("b", 2, 1, 500),
                                          plainLine(" C ", 1, 4, 400), plainLine("d", 3, 1, 50)};
    using Setup = std::function<void(Promotion&)>;
    const auto group1 = [](Promotion& p) { p.positiveGroups = {1}; };
    const auto and_ = [](Setup a, Setup b) {
        return [a, b](Promotion& p) {
            a(p);
            b(p);
        };
    };
    struct Case {
        const char* name;
        Setup setup;
        QVector<int> expected;  // qualifying lines; empty: the detail does not hold
        int steps = 1;
        QVector<bool> taken = {false, false, false, false};
        double unit = 1;
    } const cases[] = {
        {"positive goods", [](Promotion& p) { p.positiveGoods = {QStringLiteral("A")}; }, {0}},
        {"barcodes without blanks or case",
         [](Promotion& p) { p.positiveGoods = {PromotionGoodsKey(QStringLiteral("c"))}; },
         {2}},
        {"positive group", group1, {0, 2}},
        {"negative goods excludes",
         and_(group1, [](Promotion& p) { p.negativeGoods = {QStringLiteral("C")}; }),
         {0}},
        {"negative group excludes", and_(group1, [](Promotion& p) { p.negativeGroups = {1}; }), {}},
        {"nothing listed", [](Promotion&) {}, {}},
        {"row minimum met", and_(group1, [](Promotion& p) { p.PositiveRowCountMin = 2; }), {0, 2}},
        {"row minimum missed", and_(group1, [](Promotion& p) { p.PositiveRowCountMin = 3; }), {}},
        {"row maximum met", and_(group1, [](Promotion& p) { p.PositiveRowCountMax = 2; }), {0, 2}},
        {"row maximum exceeded", and_(group1, [](Promotion& p) { p.PositiveRowCountMax = 1; }), {}},
        {"bounds below 1 are none",
         and_(group1,
              [](Promotion& p) {
                  p.PositiveRowCountMin = 0;
                  p.PositiveRowCountMax = -1;
              }),
         {0, 2}},
        {"excluded rows exactly",
         and_(group1,
              [](Promotion& p) {
                  p.negativeGoods = {QStringLiteral("D")};
                  p.NegativeRowCountFix = 1;
              }),
         {0, 2}},
        {"excluded rows too few",
         and_(group1,
              [](Promotion& p) {
                  p.negativeGoods = {QStringLiteral("D")};
                  p.NegativeRowCountFix = 2;
              }),
         {}},
        {"quantity gives steps", and_(group1, [](Promotion& p) { p.Qty = 3; }), {0, 2}, 2},
        {"quantity missed", and_(group1, [](Promotion& p) { p.Qty = 7; }), {}},
        {"quantity in a larger unit",
         and_(group1, [](Promotion& p) { p.Qty = 1; }),
         {0, 2},
         3,
         {false, false, false, false},
         2},
        {"value from is inclusive",
         and_(group1, [](Promotion& p) { p.ValueFrom = Money::fromRials(2400); }),
         {0, 2}},
        {"value from missed",
         and_(group1, [](Promotion& p) { p.ValueFrom = Money::fromRials(2401); }),
         {}},
        {"value to is inclusive",
         and_(group1, [](Promotion& p) { p.ValueTo = Money::fromRials(2400); }),
         {0, 2}},
        {"value to exceeded",
         and_(group1, [](Promotion& p) { p.ValueTo = Money::fromRials(2399); }),
         {}},
        {"taken lines do not qualify again", group1, {2}, 1, {true, false, false, false}},
    };
    for (const Case& c : cases) {
        Promotion p;
        c.setup(p);
        const PromotionMatch m = MatchPromotion(p, lines, c.taken, c.unit);
        EXPECT_EQ(m.holds, !c.expected.isEmpty()) << c.name;
        if (!m.holds) continue;
        EXPECT_EQ(m.qualifying, c.expected) << c.name;
        EXPECT_EQ(m.steps, c.steps) << c.name;
    }
    EXPECT_EQ(CheapestLine(lines, {0, 2}), 2);
    EXPECT_EQ(CheapestLine(lines, {0, 1}), 1);
}

TEST(PromotionRules, WhoReceivesTheGrant) {
    Promotion p;
    EXPECT_TRUE(p.toSelf());
    EXPECT_FALSE(p.toOthers());
    p.freeGoods = {QStringLiteral("F")};
    EXPECT_FALSE(p.toSelf());
    EXPECT_TRUE(p.toOthers());
    p.IsDiscountGoodSelf = true;
    EXPECT_TRUE(p.toSelf());
    EXPECT_FALSE(p.toOthers());
    p.IsDiscountOtherGoods = true;
    EXPECT_TRUE(p.toSelf());
    EXPECT_TRUE(p.toOthers());
}

// ---- the pass --------------------------------------------------------------------------------

class PromotionTest : public DiscountTest {
protected:
    void SetUp() override {
        DiscountTest::SetUp();
        good(QStringLiteral("A"), 1000, piece);
        good(QStringLiteral("B"), 500, piece);
        good(QStringLiteral("C"), 100, piece);
        good(QStringLiteral("F"), 300, piece);
        good(QStringLiteral("G"), 200, piece);
        dairy = group(QStringLiteral("لبنيات"));
        putInGroup(QStringLiteral("A"), dairy);
        putInGroup(QStringLiteral("C"), dairy);
    }
    void pass() { discounts().RefreshEchantillon(); }
    int enterLine(const QString& barcode, double qty = 1) {
        const int row = grid().rows() - 1;
        EXPECT_TRUE(enter(barcode, qty));
        return row;
    }
    void setPercent(int row, double percent) {
        grid().line(row).DiscountPercent = percent;
        services->totals->SyncLineDiscount(row, kDiscountAsPercent);
        services->totals->RecomputeRowSum(row);
    }
    void setQty(int row, double qty) {
        grid().line(row).Qty = qty;
        services->totals->SyncLineDiscount(row, kDiscountAsPercent);
        services->totals->RecomputeRowSum(row);
    }
    const InvoiceLine& freeLine(int i) { return ech().line(freeRows().at(i)); }
    const Promotion* promotionOf(int id, int sequence = 1) {
        for (const Promotion& p : discounts().promotions())
            if (p.ID == id && p.Sequence == sequence) return &p;
        return nullptr;
    }
    static PromotionTerms percentOff(double percent) {
        PromotionTerms s;
        s.discountPercent = percent;
        s.self = true;
        return s;
    }

    int dairy = -1;
};

TEST_P(PromotionTest, PromotionPercentReplacesTheLinePercentAndTheCardPartComesBack) {
    const int type = cardType(QStringLiteral("طلايي"));
    useCustomer(customer(QStringLiteral("1360/01/01"), type), type);
    cardDiscount(type, QStringLiteral("A"), QVariant(), 3);
    standardDiscount(QStringLiteral("A"), 5);
    const int row = enterLine(QStringLiteral("A"));
    ASSERT_EQ(line(row).DiscountPercent, 8);
    const int id = promotion(percentOff(10));
    promotedGood(id, QStringLiteral("A"));

    for (int run = 0; run < 2; ++run) {
        pass();
        EXPECT_EQ(line(row).DiscountPercent, 13) << run;
        EXPECT_EQ(line(row).CardPercent, 3);
        EXPECT_EQ(line(row).DiscountValue, Money::fromRials(130));
        EXPECT_EQ(line(row).PromotionMark, QString::number(id));
        EXPECT_EQ(line(row).PromotionRule, QStringLiteral("1"));
        EXPECT_EQ(doc->totals.TotalPrice, Money::fromRials(870));
    }
    EXPECT_FALSE(discounts().promotionPassRunning());
}

TEST_P(PromotionTest, OverDiscountAddsToTheStandardDiscountAndStaysOnRerun) {
    standardDiscount(QStringLiteral("A"), 5);
    const int row = enterLine(QStringLiteral("A"));
    setPercent(row, 7);  // typed by the clerk: replaced all the same
    PromotionTerms over = percentOff(10);
    over.over = true;
    promotedGood(promotion(over), QStringLiteral("A"));
    pass();
    EXPECT_EQ(line(row).DiscountPercent, 15);
    pass();
    EXPECT_EQ(line(row).DiscountPercent, 15);

    standardDiscount(QStringLiteral("A"), 95);
    pass();
    EXPECT_EQ(line(row).DiscountPercent, 100);
}

TEST_P(PromotionTest, CheapestQualifyingLineAloneGetsThePercent) {
    const int a = enterLine(QStringLiteral("A"));
    const int c = enterLine(QStringLiteral("C"));
    PromotionTerms cheapest = percentOff(20);
    cheapest.cheapest = true;
    promotedGroup(promotion(cheapest), dairy);
    pass();
    EXPECT_EQ(line(a).DiscountPercent, 0);
    EXPECT_EQ(line(c).DiscountPercent, 20);
}

TEST_P(PromotionTest, PercentForOtherGoodsGoesToTheFreeGoodsListLines) {
    const int a = enterLine(QStringLiteral("A"));
    const int b = enterLine(QStringLiteral("B"));
    PromotionTerms others;
    others.discountPercent = 50;
    others.others = true;
    const int id = promotion(others);
    promotedGood(id, QStringLiteral("A"));
    freeGood(id, QStringLiteral("B"));
    pass();
    EXPECT_EQ(line(a).DiscountPercent, 0);
    EXPECT_EQ(line(b).DiscountPercent, 50);
    EXPECT_TRUE(freeRows().isEmpty());
    EXPECT_EQ(promotionOf(id)->goodsRows, (QVector<int>{1, 2}));
}

TEST_P(PromotionTest, FreeGoodsOfTheListPerFullQuantityInTheGrantedUnit) {
    const int a = enterLine(QStringLiteral("A"), 7);
    PromotionTerms gift;
    gift.discountQty = 1;
    gift.discountScale = box;
    gift.qty = 3;
    gift.scale = piece;
    gift.others = true;
    const int id = promotion(gift);
    promotedGood(id, QStringLiteral("A"));
    freeGood(id, QStringLiteral("F"));
    for (int run = 0; run < 2; ++run) {
        pass();
        ASSERT_EQ(freeRows().size(), 1) << run;
        const InvoiceLine& f = freeLine(0);
        EXPECT_EQ(f.BarCode, QStringLiteral("F"));
        EXPECT_EQ(f.Description, QString::number(id) + QStringLiteral(" اشانتيون سيستمي"));
        EXPECT_EQ(f.Qty, 2);
        EXPECT_EQ(f.ScaleID, box);
        EXPECT_EQ(f.BaseQty, 24);
        EXPECT_EQ(f.UnitPrice, Money::fromRials(300));
        EXPECT_TRUE(f.IsEchantillon);
        EXPECT_EQ(line(a).DiscountPercent, 0);
    }
    EXPECT_EQ(promotionOf(id)->freeRows, (QVector<int>{1}));
    setQty(a, 2);
    pass();
    EXPECT_TRUE(freeRows().isEmpty());
}

TEST_P(PromotionTest, FreeQuantityOfTheQualifyingGoodsIsOfOneGoods) {
    enterLine(QStringLiteral("A"));
    enterLine(QStringLiteral("C"));
    PromotionTerms self;
    self.discountQty = 1;
    self.discountScale = piece;
    self.qty = 2;
    self.self = true;
    self.cheapest = true;
    promotedGroup(promotion(self), dairy);
    pass();
    ASSERT_EQ(freeRows().size(), 1);
    EXPECT_EQ(freeLine(0).BarCode, QStringLiteral("C"));
    EXPECT_EQ(freeLine(0).Qty, 1);

    db().exec(QStringLiteral("update tblSalePromotionDetail set isDiscountCheapestOne=0"));
    pass();
    ASSERT_EQ(freeRows().size(), 1);
    EXPECT_EQ(freeLine(0).BarCode, QStringLiteral("A"));
}

TEST_P(PromotionTest, CompositePromotionAppliesOnlyWhenEveryDetailHolds) {
    PromotionTerms first = percentOff(10);
    first.composite = true;
    const int id = promotion(first);
    PromotionTerms second = percentOff(20);
    second.sequence = 2;
    detail(id, second);
    promotedGood(id, QStringLiteral("A"), true, 1);
    promotedGood(id, QStringLiteral("B"), true, 2);
    const int a = enterLine(QStringLiteral("A"));
    pass();
    EXPECT_EQ(line(a).DiscountPercent, 0);
    EXPECT_FALSE(promotionOf(id, 1)->applied);

    const int b = enterLine(QStringLiteral("B"));
    pass();
    EXPECT_EQ(line(a).DiscountPercent, 10);
    EXPECT_EQ(line(b).DiscountPercent, 20);
    EXPECT_TRUE(promotionOf(id, 1)->applied);
    EXPECT_TRUE(promotionOf(id, 2)->applied);
}

TEST_P(PromotionTest, TheFirstPromotionInOrderTakesTheLine) {
    PromotionTerms low = percentOff(10);
    PromotionTerms high = percentOff(20);
    high.priority = 5;
    const int lowId = promotion(low);
    const int highId = promotion(high);
    promotedGood(lowId, QStringLiteral("A"));
    promotedGood(highId, QStringLiteral("A"));
    const int a = enterLine(QStringLiteral("A"));
    pass();
    EXPECT_EQ(line(a).DiscountPercent, 20);
    EXPECT_TRUE(promotionOf(highId)->applied);
    EXPECT_FALSE(promotionOf(lowId)->applied);
    EXPECT_TRUE(promotionOf(lowId)->goodsRows.isEmpty());
}

TEST_P(PromotionTest, OwnPercentComesBackWhenThePromotionNoLongerHoldsUnlessTheClerkChangedIt) {
    const int a = enterLine(QStringLiteral("A"), 2);
    setPercent(a, 3);
    PromotionTerms two = percentOff(10);
    two.qty = 2;
    promotedGood(promotion(two), QStringLiteral("A"));
    pass();
    EXPECT_EQ(line(a).DiscountPercent, 10);
    setQty(a, 1);
    pass();
    EXPECT_EQ(line(a).DiscountPercent, 3);
    EXPECT_TRUE(line(a).PromotionMark.isEmpty());

    setQty(a, 2);
    pass();
    setPercent(a, 12);
    setQty(a, 1);
    pass();
    EXPECT_EQ(line(a).DiscountPercent, 12);
    EXPECT_TRUE(line(a).AutoPromotionMark.isEmpty());
}

TEST_P(PromotionTest, NegativeListsAndTheInvoiceDateDecide) {
    const int a = enterLine(QStringLiteral("A"));
    const int c = enterLine(QStringLiteral("C"));
    const int dairyOff = promotion(percentOff(15));
    promotedGroup(dairyOff, dairy);
    promotedGood(dairyOff, QStringLiteral("A"), false);
    const int old = promotion(now.date().addDays(-20), now.date().addDays(-10));
    detail(old, percentOff(30));
    promotedGood(old, QStringLiteral("A"));
    pass();
    EXPECT_EQ(line(a).DiscountPercent, 0);
    EXPECT_EQ(line(c).DiscountPercent, 15);

    doc->datCreateDate = now.date().addDays(-15);
    pass();
    EXPECT_EQ(line(a).DiscountPercent, 30);
    EXPECT_EQ(line(c).DiscountPercent, 0);
}

TEST_P(PromotionTest, FreeGoodsAreHeldToTheStock) {
    stockRule(1);
    receive(QStringLiteral("A"), 10);
    receive(QStringLiteral("F"), 1);
    PromotionTerms gift;
    gift.discountQty = 2;
    gift.discountScale = piece;
    gift.others = true;
    const int id = promotion(gift);
    promotedGood(id, QStringLiteral("A"));
    freeGood(id, QStringLiteral("F"));
    freeGood(id, QStringLiteral("G"));
    enterLine(QStringLiteral("A"));
    messages.clear();
    pass();
    ASSERT_EQ(freeRows().size(), 1);
    EXPECT_EQ(freeLine(0).BarCode, QStringLiteral("F"));
    EXPECT_EQ(freeLine(0).Qty, 1);
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.shown()[0].caption, QStringLiteral("اشكال"));
    EXPECT_EQ(messages.shown()[0].text,
              QStringLiteral("كالاي اشانتيون باركد ”F“ و عنوان ”كالا F“ موجودي كمتر از مقدار "
                             "اشانتيون داشت و به آن مقدار تغيير كرد."));
    EXPECT_EQ(messages.shown()[1].text,
              QStringLiteral("كالاي اشانتيون باركد ”G“ و عنوان ”كالا G“ موجودي ندارد."));

    // What the goods lines sell of it is no longer there to give away.
    enterLine(QStringLiteral("F"));
    messages.clear();
    pass();
    EXPECT_TRUE(freeRows().isEmpty());
    EXPECT_TRUE(messages.anyContains(QStringLiteral("”F“ و عنوان ”كالا F“ موجودي ندارد.")));
}

TEST_P(PromotionTest, DisplayListsTheDetailsWithTheRowsTheyTook) {
    PromotionTerms noted = percentOff(10);
    noted.notes = QStringLiteral("ده درصد لبنيات");
    noted.priority = 3;
    const int id = promotion(noted);
    promotedGroup(id, dairy);
    const int other = promotion(percentOff(5));
    promotedGood(other, QStringLiteral("B"));
    ASSERT_EQ(discounts().PromotionDisplay().size(), 2);  // before any pass

    enterLine(QStringLiteral("B"));
    enterLine(QStringLiteral("C"));
    pass();
    const QVector<PromotionDisplayRow> rows = discounts().PromotionDisplay();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].ID, id);
    EXPECT_EQ(rows[0].Sequence, 1);
    EXPECT_EQ(rows[0].PriorityNo, 3);
    EXPECT_EQ(rows[0].Notes, noted.notes);
    EXPECT_EQ(rows[0].goodsRows, QVector<int>{2});
    EXPECT_EQ(rows[1].ID, other);
    EXPECT_EQ(rows[1].goodsRows, QVector<int>{1});
}

TEST_P(PromotionTest, TheCheckBoxAndTheCommandRunThePass) {
    const int a = enterLine(QStringLiteral("A"));
    promotedGood(promotion(percentOff(10)), QStringLiteral("A"));
    doc->FormMode = kModeView;
    discounts().cmdRefreshEchantillon_Click();
    EXPECT_EQ(line(a).DiscountPercent, 0);
    doc->FormMode = kModeNew;
    doc->chkCheckEchantillon = true;
    services->header->chkCheckEchantillon_Click();
    EXPECT_EQ(line(a).DiscountPercent, 10);
}

SI_INSTANTIATE_BACKENDS(PromotionTest);

}  // namespace
}  // namespace si
