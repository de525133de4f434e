// Pricing methods: the user's default method, which methods may be chosen and saved, re-pricing
// the lines when the header's method changes, and the per-line method and promoter dialogs.

#include <gtest/gtest.h>

#include <algorithm>

#include "common/Numbers.h"
#include "invoice/FormTestSupport.h"
#include "invoice/PricingLogic.h"
#include "invoice/TotalsLogic.h"

namespace si {

static void PrintTo(const Money& m, std::ostream* os) {
    *os << m.toString().toStdString();
}

namespace {

Money rials(qint64 n) {
    return Money::fromRials(n);
}

const QString kAskAll = QStringLiteral("آيا مطمئنيد که اين نوع قيمتگذاري به همه کالاها اعمال شود؟");
const QString kNotAllowed = QStringLiteral("شما مجاز به انجام اين عمل نمي باشيد.");

class PricingTest : public test::FormTest {
protected:
    void SetUp() override {
        test::FormTest::SetUp();
        doc().FormMode = kModeNew;
        doc().chkIsFormal = false;
        doc().sltPricingMethod.setViews(QStringLiteral("vwSalePricingMethodMajor"),
                                        QStringLiteral("vwSalePricingMethodMinor"));
    }
    InvoiceDocument& doc() { return form->doc(); }
    PricingLogic& pricing() { return *form->services().pricing; }
    InvoiceLine& line(int row) { return doc().flexDetail.line(row); }
    int user() const { return ctx.globals.CurrentUserID; }

    int addMethod(const QString& name, const QVariant& visible = QVariant()) {
        return static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblSalePricingMethod (Name, MakeVisibleInSelection) "
                           "values (?, ?) RETURNING ID"),
            {name, visible}));
    }
    void link(int userId, int method, const QVariant& isDefault = QVariant(),
              const QVariant& sequence = QVariant()) {
        db().exec(QStringLiteral("insert into tblSalePricingMethodUser (UserID, PricingMethodID, "
                                 "IsDefault, Sequence) values (?, ?, ?, ?)"),
                  {userId, method, isDefault, sequence});
    }
    void addGood(const QString& barcode, qint64 price) {
        db().exec(QStringLiteral("insert into tblGood (Barcode, Code, Name, RetailPrice) values "
                                 "(?, ?, ?, ?)"),
                  {barcode, barcode, QStringLiteral("كالا ") + barcode,
                   QVariant::fromValue(rials(price))});
    }
    void addSaleInfo(const QString& barcode, int method, const QVariant& price,
                     const QVariant& inPercent = QVariant(), double percent = 0, qint64 value = 0) {
        db().exec(QStringLiteral("insert into tblGoodSaleInfo (Barcode, PricingMethodID, "
                                 "RetailPrice, IsDiscountInPercent, DiscountPercent, "
                                 "DiscountValue) values (?, ?, ?, ?, ?, ?)"),
                  {barcode, method, price, inPercent, percent, QVariant::fromValue(rials(value))});
    }
    static QVariant price(qint64 n) { return QVariant::fromValue(rials(n)); }
    int addLine(const QString& barcode, int method, qint64 unitPrice, double qty = 1,
                int unit = -1) {
        InvoiceLine l;
        l.BarCode = barcode;
        l.GoodName = QStringLiteral("كالا ") + barcode;
        l.Qty = qty;
        l.UnitPrice = rials(unitPrice);
        l.PricingMethodID = method;
        l.ScaleID = unit;
        const int row = doc().flexDetail.appendLine(l);
        form->services().totals->RecomputeRowSum(row);
        return row;
    }
    int questions() const {
        int n = 0;
        for (const auto& m : messages.shown())
            n += m.formType == 1 ? 1 : 0;
        return n;
    }
    QList<int> listed(const SqlCondition& filter) {
        SelectorModel s(ctx);
        s.setViews(QStringLiteral("vwSalePricingMethodMajor"),
                   QStringLiteral("vwSalePricingMethodMinor"));
        s.setListFilter(filter);
        QList<int> ids;
        for (const SelectorItem& item : s.search(QString()))
            ids << item.id;
        std::sort(ids.begin(), ids.end());
        return ids;
    }
};

// ---- the user's methods ------------------------------------------------------------------

TEST_P(PricingTest, DefaultMethodPrefersIsDefaultThenLowestSequenceWithNullsLast) {
    struct Link {
        QVariant isDefault;
        QVariant sequence;
    };
    struct Case {
        const char* name;
        std::vector<Link> links;
        int expected;  // index into links, -1 for none
    };
    const Case cases[] = {
        {"null defaults, lowest sequence", {{{}, 5}, {{}, {}}, {{}, 2}}, 2},
        {"null sequence counts 999", {{{}, {}}, {{}, 998}}, 1},
        {"IsDefault wins over sequence", {{{}, 1}, {1, 5}, {0, 0}}, 1},
        {"no methods", {}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int clerk = addUser(QStringLiteral("فروشنده"), false);
        QList<int> methods;
        for (const Link& l : c.links) {
            methods << addMethod(QStringLiteral("روش"));
            link(clerk, methods.back(), l.isDefault, l.sequence);
        }
        EXPECT_EQ(pricing().getUserPricingMethodID(clerk),
                  c.expected < 0 ? 0 : methods[c.expected]);
    }
}

TEST_P(PricingTest, HiddenMethodCannotBeChosenNorSavedEvenWhenLinked) {
    const int hidden = addMethod(QStringLiteral("عمده پنهان"), 0);
    const int open = addMethod(QStringLiteral("خرده"));  // null counts as visible
    const int shown = addMethod(QStringLiteral("همكار"), 1);
    const int foreign = addMethod(QStringLiteral("ويژه"), 1);  // not linked to the user
    link(user(), hidden);
    link(user(), open);
    link(user(), shown);
    addGood(QStringLiteral("G1"), 1000);
    for (int m : {hidden, open, foreign})
        addSaleInfo(QStringLiteral("G1"), m, price(900));

    EXPECT_EQ(listed(PricingLogic::userMethodFilter(user())), (QList<int>{open, shown}));
    EXPECT_EQ(listed(pricing().lineMethodFilter(QStringLiteral("G1"))), (QList<int>{open}));

    struct {
        int header;
        int lineMethod;
        const char* refusedName;  // nullptr: the save may go on
    } const cases[] = {
        {open, shown, nullptr},
        {hidden, open, "عمده پنهان"},
        {open, hidden, "عمده پنهان"},
        {shown, foreign, "ويژه"},
        {-1, -1, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.header);
        SCOPED_TRACE(c.lineMethod);
        messages.clear();
        doc().flexDetail.clear();
        doc().sltPricingMethod.setIDQuietly(c.header, QString());
        addLine(QStringLiteral("G1"), open, 900);
        addLine(QStringLiteral("G1"), c.lineMethod, 900);
        const bool refused = c.refusedName != nullptr;
        EXPECT_EQ(pricing().CheckPricingMethods(), !refused);
        if (!refused) {
            EXPECT_TRUE(messages.empty());
            continue;
        }
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.last().caption, QStringLiteral("اشكال در شيوه قيمت گذاري"));
        EXPECT_EQ(messages.last().text, QStringLiteral("شما مجاز به استفاده از نوع قيمتگذاري ”") +
                                            QString::fromUtf8(c.refusedName) +
                                            QStringLiteral("“ نمي باشيد."));
    }
}

// ---- the header's method -----------------------------------------------------------------

class HeaderMethodTest : public PricingTest {
protected:
    void SetUp() override {
        PricingTest::SetUp();
        retail = addMethod(QStringLiteral("خرده فروشي"));
        wholesale = addMethod(QStringLiteral("عمده فروشي"));
        addGood(QStringLiteral("G1"), 1000);
        addGood(QStringLiteral("G2"), 2000);
        addGood(QStringLiteral("G3"), 3000);
        addSaleInfo(QStringLiteral("G1"), wholesale, price(800), 1, 10);
        addSaleInfo(QStringLiteral("G2"), wholesale, QVariant(), 0, 0, 150);  // tblGood's price
        doc().sltPricingMethod.setIDQuietly(retail, QString());
    }
    int retail = 0;
    int wholesale = 0;
};

TEST_P(HeaderMethodTest, ChangeAsksOnceAndRepricesOnlyRowsOffTheMethod) {
    const int a = addLine(QStringLiteral("G1"), retail, 1000, 2);
    const int b = addLine(QStringLiteral("G2"), retail, 2000);
    const int kept = addLine(QStringLiteral("G1"), wholesale, 777);
    messages.answerYes();
    doc().sltPricingMethod.setID(wholesale);
    ASSERT_EQ(questions(), 1);
    EXPECT_EQ(messages.last().caption, QStringLiteral("هشدار"));
    EXPECT_EQ(messages.last().text, kAskAll);

    EXPECT_EQ(line(a).PricingMethodID, wholesale);
    EXPECT_EQ(line(a).PricingMethodName, QStringLiteral("عمده فروشي"));
    EXPECT_EQ(line(a).UnitPrice, rials(800));
    EXPECT_EQ(line(a).DiscountPercent, 10);
    EXPECT_EQ(line(a).DiscountValue, rials(160));
    EXPECT_EQ(line(a).NetAmount, rials(1440));
    EXPECT_EQ(line(b).UnitPrice, rials(2000));
    EXPECT_EQ(line(b).DiscountKind, kDiscountAsValue);
    EXPECT_EQ(line(b).DiscountValue, rials(150));
    EXPECT_EQ(line(b).DiscountPercent, 7.5);
    EXPECT_EQ(line(b).NetAmount, rials(1850));
    EXPECT_EQ(line(kept).UnitPrice, rials(777));  // already on the method: untouched
    EXPECT_EQ(line(kept).NetAmount, rials(777));
    EXPECT_EQ(doc().totals.GrandTotal, rials(1440 + 1850 + 777));

    // Every row is on the method now: nothing to ask.
    doc().sltPricingMethod.setID(wholesale, true);
    EXPECT_EQ(questions(), 1);
}

TEST_P(HeaderMethodTest, NoLeavesEveryLineAsItWas) {
    const int a = addLine(QStringLiteral("G1"), retail, 1000);
    messages.answerNo();
    doc().sltPricingMethod.setID(wholesale);
    EXPECT_EQ(questions(), 1);
    EXPECT_EQ(line(a).PricingMethodID, retail);
    EXPECT_EQ(line(a).UnitPrice, rials(1000));
}

TEST_P(HeaderMethodTest, GoodsWithoutAPriceRowKeepTheirPrice) {
    const int a = addLine(QStringLiteral("G3"), retail, 2750);
    line(a).DiscountPercent = 5;
    form->services().totals->SyncLineDiscount(a, kDiscountAsPercent);
    messages.answerYes();
    doc().sltPricingMethod.setID(wholesale);
    EXPECT_EQ(line(a).PricingMethodID, wholesale);
    EXPECT_EQ(line(a).UnitPrice, rials(2750));
    EXPECT_EQ(line(a).DiscountPercent, 5);
    EXPECT_EQ(line(a).NetAmount, rials(2612));  // 2 612.5
}

TEST_P(HeaderMethodTest, BaseUnitPriceIsScaledToTheLineUnit) {
    useParameter(P::BaseUnitPrice, QStringLiteral("1"));
    const int pack = test::AddUnit(db(), QStringLiteral("بسته 12 عددي"), 12, true);
    addGood(QStringLiteral("G4"), 900);
    addSaleInfo(QStringLiteral("G4"), wholesale, price(1000), 1, 0);
    const int a = addLine(QStringLiteral("G4"), retail, 10800, 2, pack);
    messages.answerYes();
    doc().sltPricingMethod.setID(wholesale);
    EXPECT_EQ(line(a).BaseUnitPrice, rials(1000));
    EXPECT_EQ(line(a).UnitPrice, rials(12000));
    EXPECT_EQ(line(a).NetAmount, rials(24000));
}

TEST_P(HeaderMethodTest, NothingHappensWhileLoadingOutsideEntryOrWithoutLines) {
    doc().sltPricingMethod.setID(wholesale);  // no goods lines yet
    const int a = addLine(QStringLiteral("G1"), retail, 1000);
    doc().loading = true;
    doc().sltPricingMethod.setID(retail);
    doc().loading = false;
    doc().FormMode = kModeView;
    doc().sltPricingMethod.setID(wholesale);
    doc().FormMode = kModeEdit;
    doc().sltPricingMethod.Clear();
    EXPECT_EQ(questions(), 0);
    EXPECT_EQ(line(a).UnitPrice, rials(1000));
    EXPECT_EQ(line(a).PricingMethodID, retail);
}

// ---- FormPricingMethod -------------------------------------------------------------------

TEST_P(HeaderMethodTest, LineMethodNeedsRightAndMethod) {
    const int a = addLine(QStringLiteral("G2"), retail, 2000, 3);
    EXPECT_EQ(pricing().methodPrice(QStringLiteral("G2"), wholesale), rials(2000));
    EXPECT_EQ(pricing().methodPrice(QStringLiteral("G1"), wholesale), rials(800));

    ctx.globals.CurrentUserID = addUser(QStringLiteral("فروشنده"), false);
    EXPECT_FALSE(pricing().applyLineMethod(a, wholesale, QStringLiteral("عمده فروشي"), rials(800)));
    EXPECT_EQ(messages.last().caption, QStringLiteral("اشکال"));
    EXPECT_EQ(messages.last().text, kNotAllowed);

    grant(ctx.globals.CurrentUserID, 90139);
    EXPECT_FALSE(pricing().applyLineMethod(a, -1, QString(), Money()));
    EXPECT_EQ(messages.last().caption, QStringLiteral("اشکال"));
    EXPECT_EQ(messages.last().text, QStringLiteral("نوع قيمت گذاري تعيين نشده است."));

    EXPECT_TRUE(pricing().applyLineMethod(a, wholesale, QStringLiteral("عمده فروشي"), rials(1900)));
    EXPECT_EQ(line(a).PricingMethodID, wholesale);
    EXPECT_EQ(line(a).PricingMethodName, QStringLiteral("عمده فروشي"));
    EXPECT_EQ(line(a).UnitPrice, rials(1900));
    EXPECT_EQ(line(a).NetAmount, rials(5700));
    EXPECT_EQ(doc().totals.GrandTotal, rials(5700));

    doc().FormMode = kModeView;
    const auto shown = messages.shown().size();
    EXPECT_FALSE(pricing().applyLineMethod(a, retail, QStringLiteral("خرده فروشي"), rials(1)));
    EXPECT_EQ(messages.shown().size(), shown);
    EXPECT_EQ(line(a).UnitPrice, rials(1900));
}

// ---- FormPromoter ------------------------------------------------------------------------

TEST_P(PricingTest, LinePromoterDefaultsAndChecks) {
    auto employee = [&](const QString& name, const QVariant& parent) {
        return static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblEmployee (FirstName, ParentID) values (?, ?) "
                           "RETURNING ID"),
            {name, parent}));
    };
    const int head = employee(QStringLiteral("سرپرست"), QVariant());
    const int leaf = employee(QStringLiteral("بازارياب"), head);
    useParameter(P::DefaultLinePromoter, QString::number(head));
    const int a = addLine(QStringLiteral("G1"), -1, 1000);
    EXPECT_EQ(pricing().defaultLinePromoter(a), head);
    line(a).PromoterID = leaf;
    EXPECT_EQ(pricing().defaultLinePromoter(a), leaf);
    line(a).PromoterID = -1;

    ctx.globals.CurrentUserID = addUser(QStringLiteral("فروشنده"), false);
    EXPECT_FALSE(pricing().applyLinePromoter(a, leaf, QStringLiteral("بازارياب")));
    EXPECT_EQ(messages.last().text, kNotAllowed);
    grant(ctx.globals.CurrentUserID, 90139);
    struct {
        int promoter;
        const char* caption;
        const char* text;
    } const refusals[] = {
        {-1, "اشکال", "بازارياب مشخص نشده است."},
        {head, "خطا", "بازارياب انتخاب شده بايد برگ باشد."},
    };
    for (const auto& r : refusals) {
        EXPECT_FALSE(pricing().applyLinePromoter(a, r.promoter, QStringLiteral("x")));
        EXPECT_EQ(messages.last().caption, QString::fromUtf8(r.caption));
        EXPECT_EQ(messages.last().text, QString::fromUtf8(r.text));
        EXPECT_EQ(line(a).PromoterID, -1);
    }
    EXPECT_TRUE(pricing().applyLinePromoter(a, leaf, QStringLiteral("بازارياب")));
    EXPECT_EQ(line(a).PromoterID, leaf);
    EXPECT_EQ(line(a).PromoterName, QStringLiteral("بازارياب"));
}

SI_INSTANTIATE_BACKENDS(PricingTest);
SI_INSTANTIATE_BACKENDS(HeaderMethodTest);

}  // namespace
}  // namespace si
