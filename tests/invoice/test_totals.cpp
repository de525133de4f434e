// Line amounts, tax and duty, the master discount, the grand total's rounding, and the
// surcharge and deduction dialogs' rules, on both databases.

#include <gtest/gtest.h>

#include "invoice/FormTestSupport.h"
#include "invoice/TotalsLogic.h"

namespace si {

static void PrintTo(const Money& m, std::ostream* os) {
    *os << m.toString().toStdString();
}

namespace {

Money rials(qint64 n) {
    return Money::fromRials(n);
}

class TotalsTest : public test::FormTest {
protected:
    void SetUp() override {
        test::FormTest::SetUp();
        doc().FormMode = kModeNew;
        doc().datCreateDate = QDate(2026, 12, 6);
        doc().chkIsFormal = false;
    }
    InvoiceDocument& doc() { return form->doc(); }
    TotalsLogic& totals() { return *form->services().totals; }
    InvoiceLine& line(int row) { return doc().flexDetail.line(row); }

    // A goods line filled directly (as the line logic would), then summed.
    int addLine(const QString& barcode, double qty, Money price) {
        InvoiceLine l;
        l.BarCode = barcode;
        l.GoodName = QStringLiteral("كالا ") + barcode;
        l.Qty = qty;
        l.UnitPrice = price;
        const int row = doc().flexDetail.appendLine(l);
        totals().RecomputeRowSum(row);
        return row;
    }
    void addGood(const QString& barcode, bool tax, bool duty) {
        db().exec(QStringLiteral("insert into tblGood (Barcode, Code, Name, RetailPrice, HasTax, "
                                 "HasAdded) values (?, ?, ?, 1000, ?, ?)"),
                  {barcode, barcode, QStringLiteral("كالا"), tax ? 1 : 0, duty ? 1 : 0});
    }
    void addTaxConfiguration(const QDate& from, const QDate& to, double tax, double duty) {
        db().exec(QStringLiteral("insert into tblSaleTaxCostsConfiguration (BeginDate, EndDate, "
                                 "TaxPercent, AddedPercent) values (?, ?, ?, ?)"),
                  {from, to, tax, duty});
    }
    void asClerk(std::initializer_list<int> rights) {
        ctx.globals.CurrentUserID = addUser(QStringLiteral("فروشنده"), false, rights);
    }
};

// ---- one line ----------------------------------------------------------------------------

struct NetCase {
    const char* price;
    double qty;
    int kind;
    double percent;
    const char* value;
    qint64 net;
};

TEST_P(TotalsTest, NetAfterDiscountTruncatesAndNeverGoesNegative) {
    const NetCase cases[] = {
        {"1005", 3, kDiscountAsPercent, 12.5, "0", 2638},   // 3015 x 87.5% = 2638.125
        {"333.3333", 3, kDiscountAsPercent, 0, "0", 999},   // gross 999.9999 truncated
        {"1005", 3, kDiscountAsValue, 40, "100.5", 2914},   // kind 2 ignores the percent
        {"1000", 2, kDiscountAsValue, 0, "2500", 0},        // discount above the gross
        {"1000", 2, kDiscountAsPercent, 0, "700", 2000},    // kind 1 without a percent
        {"19999", 0.5, kDiscountAsPercent, 10, "0", 8999},  // 9999 x 0.9 = 8999.1
        {"7", 1, kDiscountAsPercent, 100, "0", 0},
        {"1234.5", 2.345, kDiscountAsPercent, 12.34, "0", 2536},  // 2894 x 87.66% = 2536.88
    };
    for (const NetCase& c : cases) {
        SCOPED_TRACE(c.price);
        InvoiceLine l;
        l.BarCode = QStringLiteral("1");
        l.Qty = c.qty;
        l.UnitPrice = *Money::parse(QString::fromLatin1(c.price));
        l.DiscountKind = c.kind;
        l.DiscountPercent = c.percent;
        l.DiscountValue = *Money::parse(QString::fromLatin1(c.value));
        const int row = doc().flexDetail.appendLine(l);
        totals().RecomputeRowSum(row);
        EXPECT_EQ(line(row).NetAmount, rials(c.net));
        EXPECT_EQ(line(row).LineTotal, rials(c.net));
    }
}

TEST_P(TotalsTest, InformalInvoiceHasNoTaxOrDuty) {
    addGood(QStringLiteral("100"), true, true);
    addTaxConfiguration(QDate(2026, 1, 1), QDate(2026, 12, 31), 9, 3);
    doc().chkIsFormal = false;
    int row = addLine(QStringLiteral("100"), 1, rials(100000));
    EXPECT_EQ(line(row).Tax, Money());
    EXPECT_EQ(line(row).Duty, Money());
    EXPECT_EQ(line(row).LineTotal, rials(100000));
    doc().chkIsFormal = true;
    totals().RecomputeRowSum(row);
    EXPECT_EQ(line(row).Tax, rials(9000));
    EXPECT_EQ(line(row).Duty, rials(3000));
    EXPECT_EQ(line(row).TaxAndDuty, rials(12000));
    EXPECT_EQ(line(row).LineTotal, rials(112000));
}

TEST_P(TotalsTest, PreciousMetalIsTaxedOnWageProfitAndCommissionOnly) {
    addGood(QStringLiteral("AU"), true, true);
    addTaxConfiguration(QDate(2026, 1, 1), QDate(2026, 12, 31), 9, 3);
    doc().chkIsFormal = true;
    for (bool metal : {true, false}) {
        SCOPED_TRACE(metal);
        doc().IsGoldSilverPlatinum = metal;
        InvoiceLine l;
        l.BarCode = QStringLiteral("AU");
        l.Qty = 2;
        l.UnitPrice = rials(5000000);     // gross 10 000 000
        l.WagePercent = 8;                // 800 000
        l.WagePerWeight = rials(100000);  // + 200 000
        l.ProfitPercent = 5;              // (10 000 000 + 1 000 000) x 5% = 550 000
        l.Commission = *Money::parse(u"20000.9");
        const int row = doc().flexDetail.appendLine(l);
        totals().RecomputeRowSum(row);
        EXPECT_EQ(line(row).TotalWage, rials(1000000));
        EXPECT_EQ(line(row).TotalProfit, rials(550000));
        EXPECT_EQ(line(row).NetAmount, rials(11570000));
        const qint64 base = metal ? 1570000 : 11570000;
        EXPECT_EQ(line(row).Tax, rials(base * 9 / 100));
        EXPECT_EQ(line(row).Duty, rials(base * 3 / 100));
    }
}

TEST_P(TotalsTest, WageAboveTheGoldPriceIsRefusedAsZero) {
    InvoiceLine l;
    l.BarCode = QStringLiteral("AU");
    l.Qty = 1;
    l.UnitPrice = rials(1000);
    l.WagePercent = 90;
    l.WagePerWeight = rials(200);  // 900 + 200 > 1000
    const int row = doc().flexDetail.appendLine(l);
    totals().RecomputeRowSum(row);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, QStringLiteral("اشکال"));
    EXPECT_EQ(messages.last().text, QStringLiteral("اجرت ساخت نبايد بيشتر از قيمت طلا شود"));
    EXPECT_EQ(line(row).TotalWage, Money());
    EXPECT_EQ(line(row).NetAmount, rials(1000));
    line(row).WagePerWeight = rials(100);  // exactly the gross is allowed
    totals().RecomputeRowSum(row);
    EXPECT_EQ(line(row).TotalWage, rials(1000));
    EXPECT_EQ(messages.shown().size(), 1u);
}

TEST_P(TotalsTest, GoodsTaxRowOverridesThePercentagesForItsDatesOnly) {
    addGood(QStringLiteral("200"), true, true);
    addTaxConfiguration(QDate(2026, 1, 1), QDate(2027, 12, 31), 9, 3);
    db().exec(QStringLiteral("insert into tblGoodTaxAddedInfo (Barcode, BeginDate, EndDate, "
                             "HasTax, HasAdded, TaxPercent, AddedPercent) values (?,?,?,1,0,5,7)"),
              {QStringLiteral("200"), QDate(2026, 12, 1), QDate(2026, 12, 10)});
    doc().chkIsFormal = true;
    struct {
        QDate date;
        qint64 tax, duty;
    } const cases[] = {
        {QDate(2026, 12, 1), 5000, 0},   // first day of the goods' own row
        {QDate(2026, 12, 10), 5000, 0},  // last day
        {QDate(2026, 11, 30), 9000, 3000},
        {QDate(2026, 12, 11), 9000, 3000},
    };
    const int row = addLine(QStringLiteral("200"), 1, rials(100000));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.date.toString(Qt::ISODate).toStdString());
        doc().datCreateDate = c.date;
        totals().RecomputeRowSum(row);
        EXPECT_EQ(line(row).Tax, rials(c.tax));
        EXPECT_EQ(line(row).Duty, rials(c.duty));
    }
}

TEST_P(TotalsTest, TaxPercentsComeFromTheDateAndFormality) {
    addTaxConfiguration(QDate(2026, 1, 1), QDate(2026, 6, 30), 6, 2);
    addTaxConfiguration(QDate(2026, 7, 1), QDate(2026, 12, 31), 9, 3);
    doc().chkIsFormal = true;
    doc().datCreateDate = QDate(2026, 6, 30);
    totals().ReadTaxPercents();
    EXPECT_EQ(doc().TaxPercent, 6);
    EXPECT_EQ(doc().AddedPercent, 2);
    doc().datCreateDate = QDate(2026, 7, 1);
    totals().ReadTaxPercents();
    EXPECT_EQ(doc().TaxPercent, 9);
    EXPECT_EQ(doc().AddedPercent, 3);
    doc().datCreateDate = QDate(2027, 1, 1);
    totals().ReadTaxPercents();
    EXPECT_EQ(doc().TaxPercent, 0);
    doc().datCreateDate = QDate(2026, 7, 1);
    doc().chkIsFormal = false;
    totals().ReadTaxPercents();
    EXPECT_EQ(doc().TaxPercent, 0);
    EXPECT_EQ(doc().AddedPercent, 0);
}

// ---- the line-discount synchroniser ------------------------------------------------------

TEST_P(TotalsTest, LineDiscountSynchroniserKeepsPercentAndValueTogether) {
    struct {
        int as;
        const char* price;
        double qty;
        double percent;
        const char* value;
        double wantPercent;
        const char* wantValue;
        bool flash;
    } const cases[] = {
        {kDiscountAsValue, "3000", 4, 0, "1000", 8.33, "1000", false},   // 1000/12000
        {kDiscountAsValue, "3000", 0, 0, "1000", 33.33, "1000", false},  // no quantity
        {kDiscountAsValue, "0", 4, 50, "1000", 0, "1000", false},        // no price
        {kDiscountAsPercent, "1005", 3, 12.5, "0", 12.5, "376", false},  // 376.875
        {kDiscountAsPercent, "1000", 2, 130, "0", 100, "2000", true},
        {kDiscountAsValue, "1000", 2, 0, "2500", 100, "2000", true},  // 125 %
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(++n);
        InvoiceLine l;
        l.BarCode = QStringLiteral("1");
        l.UnitPrice = *Money::parse(QString::fromLatin1(c.price));
        l.Qty = c.qty;
        l.DiscountPercent = c.percent;
        l.DiscountValue = *Money::parse(QString::fromLatin1(c.value));
        const int row = doc().flexDetail.appendLine(l);
        QStringList flashes;
        auto connection = QObject::connect(&doc(), &InvoiceDocument::flash,
                                           [&](const QString& t) { flashes << t; });
        totals().SyncLineDiscount(row, c.as);
        QObject::disconnect(connection);
        EXPECT_EQ(line(row).DiscountKind, c.as);
        EXPECT_DOUBLE_EQ(line(row).DiscountPercent, c.wantPercent);
        EXPECT_EQ(line(row).DiscountValue, *Money::parse(QString::fromLatin1(c.wantValue)));
        if (c.flash)
            EXPECT_EQ(flashes,
                      QStringList{QStringLiteral("درصد تخفيف سطر ”") + QString::number(row + 1) +
                                  QStringLiteral("“ نميتواند از 100 بيشتر باشد!")});
        else
            EXPECT_TRUE(flashes.isEmpty());
    }
}

// ---- the grand total ---------------------------------------------------------------------

TEST_P(TotalsTest, MasterDiscountPercentBecomesWholeThousands) {
    struct {
        qint64 total;
        double percent;
        qint64 value;
    } const cases[] = {
        {1234567, 10, 123000},  // 123 456.7 -> 123 457 -> 123
        {1234567, 0.5, 6000},   // 6 172.835 -> 6 173 -> 6
        {999500, 50, 500000},   // 499 750 -> 499.75 -> 500
        {1000, 50, 1000},       // 500 -> 0.5 rounds up
        {1000, 49.9, 0},        // 499 is nearer to 0 than to 1 000
        {2000, 74.95, 1000},    // 1 499 -> 1 000
        {2000000, 0, 0},
    };
    doc().masterDiscountKind = MasterDiscountKind::Percent;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.total);
        doc().flexDetail.clear();
        addLine(QStringLiteral("1"), 1, rials(c.total));
        doc().totals.MasterDiscountPercent = c.percent;
        const Money grand = totals().ComputeGrandTotal();
        EXPECT_EQ(doc().totals.MasterDiscountValue, rials(c.value));
        EXPECT_EQ(doc().totals.TotalDiscountValue, rials(c.value));
        EXPECT_EQ(grand, rials(c.total - c.value));
        EXPECT_EQ(doc().totals.GrandTotal, grand);
    }
}

TEST_P(TotalsTest, MasterDiscountAmountGivesItsPercent) {
    addLine(QStringLiteral("1"), 1, rials(1234567));
    doc().masterDiscountKind = MasterDiscountKind::Value;
    doc().totals.MasterDiscountValue = rials(100000);
    totals().ComputeGrandTotal();
    EXPECT_DOUBLE_EQ(doc().totals.MasterDiscountPercent, 8.1);  // 8.1000006...
    EXPECT_EQ(doc().totals.MasterDiscountValue, rials(100000));
    EXPECT_EQ(doc().totals.GrandTotal, rials(1134567));
}

TEST_P(TotalsTest, ZeroTotalClearsTheMasterDiscount) {
    doc().totals.MasterDiscountPercent = 10;
    doc().totals.MasterDiscountValue = rials(5000);
    totals().ComputeGrandTotal();
    EXPECT_EQ(doc().totals.MasterDiscountPercent, 0);
    EXPECT_EQ(doc().totals.MasterDiscountValue, Money());
    EXPECT_TRUE(doc().totals.shown);
}

TEST_P(TotalsTest, AutomaticInvoiceValueDiscountTakesPercentAndLocks) {
    addLine(QStringLiteral("1"), 1, rials(1234567));
    Money asked;
    form->services().InvoiceValueDiscountPercent = [&](Money v) {
        asked = v;
        return 10.0;
    };
    doc().masterDiscountKind = MasterDiscountKind::Value;
    doc().totals.MasterDiscountValue = rials(5000);
    totals().ComputeGrandTotal();
    EXPECT_EQ(asked, rials(1234567));
    EXPECT_TRUE(doc().masterDiscountLocked);
    EXPECT_EQ(doc().masterDiscountKind, MasterDiscountKind::Percent);
    EXPECT_EQ(doc().totals.MasterDiscountValue, rials(123000));

    form->services().InvoiceValueDiscountPercent = [](Money) { return -1.0; };
    doc().totals.MasterDiscountPercent = 20;
    totals().ComputeGrandTotal();
    EXPECT_FALSE(doc().masterDiscountLocked);
    EXPECT_EQ(doc().totals.MasterDiscountValue, rials(247000));

    // Outside entry the table is not consulted.
    form->services().InvoiceValueDiscountPercent = [](Money) { return 50.0; };
    doc().FormMode = kModeView;
    totals().ComputeGrandTotal();
    EXPECT_FALSE(doc().masterDiscountLocked);
    EXPECT_EQ(doc().totals.MasterDiscountPercent, 20);
}

TEST_P(TotalsTest, GrandTotalAddsSurchargesTaxAndSubtractsDiscountsAndDeductions) {
    addGood(QStringLiteral("300"), true, true);
    addTaxConfiguration(QDate(2026, 1, 1), QDate(2026, 12, 31), 9, 3);
    doc().chkIsFormal = true;
    const int row = addLine(QStringLiteral("300"), 3, rials(100000));
    line(row).DiscountPercent = 10;
    totals().SyncLineDiscount(row, kDiscountAsPercent);
    totals().RecomputeRowSum(row);
    doc().totals.SuCharge = rials(15000);
    doc().totals.Decs = rials(4000);
    doc().totals.MasterDiscountPercent = 5;
    const Money grand = totals().ComputeGrandTotal();
    const InvoiceTotals& t = doc().totals;
    EXPECT_EQ(t.TotalPrice, rials(270000));
    EXPECT_EQ(t.TotalRowDiscount, rials(30000));
    EXPECT_EQ(t.TotalPurePrice, rials(300000));
    EXPECT_EQ(t.Tax, rials(24300));
    EXPECT_EQ(t.Added, rials(8100));
    EXPECT_EQ(t.MasterDiscountValue, rials(14000));  // 13 500 -> 13.5 -> 14
    EXPECT_EQ(t.TotalDiscountValue, rials(44000));
    EXPECT_EQ(grand, rials(270000 + 15000 - 14000 - 4000 + 24300 + 8100));
}

TEST_P(TotalsTest, GrandTotalRoundingByParameter4409) {
    struct {
        const char* setting;
        qint64 amount;
        qint64 total;
        qint64 roundDown;
    } const cases[] = {
        {"3-", 1234567, 1234000, 567},
        {"3+", 1234567, 1235000, -433},
        {"0", 1234567, 1234567, 0},
        {"3", 1234567, 1235000, -433},
        {"3", 1234500, 1234000, 500},
        {"3", 1235500, 1236000, -500},
        {"3", 1234499, 1234000, 499},
        {"-3", 1234567, 1234000, 567},
        {"2+", 1234500, 1234500, 0},
        {"3-", -1500, -1500, 0},
        {"1+", 1, 10, -9},
        {"3-", 999, 0, 999},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setting);
        SCOPED_TRACE(c.amount);
        useParameter(P::GrandTotalRounding, QString::fromLatin1(c.setting));
        doc().totals.RoundDown = rials(77);
        EXPECT_EQ(totals().RoundGrandTotal(rials(c.amount)), rials(c.total));
        EXPECT_EQ(doc().totals.RoundDown, rials(c.roundDown));
    }
}

TEST_P(TotalsTest, RoundedGrandTotalOfAnInvoice) {
    useParameter(P::GrandTotalRounding, QStringLiteral("3+"));
    addLine(QStringLiteral("1"), 1, rials(1234567));
    EXPECT_EQ(totals().ComputeGrandTotal(), rials(1235000));
    EXPECT_EQ(doc().totals.RoundDown, rials(-433));
    doc().totals.SuCharge = rials(433);
    EXPECT_EQ(totals().ComputeGrandTotalQuickly(), rials(1235000));
    EXPECT_EQ(doc().totals.RoundDown, Money());
}

// ---- the master discount boxes -----------------------------------------------------------

TEST_P(TotalsTest, MasterDiscountPercentLimits) {
    setParameter(P::MaxMasterDiscountPercent, QStringLiteral("20"));
    reopen();
    addLine(QStringLiteral("1"), 1, rials(1000000));
    totals().ComputeGrandTotal();
    struct {
        double typed;
        double percent;
        qint64 value;
    } const cases[] = {{20, 20, 200000}, {20.01, 0, 0}, {-10, 10, 100000}, {150, 0, 0}, {0, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        totals().MasterDiscountPercentTyped(c.typed);
        EXPECT_EQ(doc().totals.MasterDiscountPercent, c.percent);
        EXPECT_EQ(doc().totals.MasterDiscountValue, rials(c.value));
        EXPECT_EQ(doc().totals.TotalDiscountValue, rials(c.value));
        EXPECT_EQ(doc().totals.GrandTotal, rials(1000000 - c.value));
    }
}

TEST_P(TotalsTest, MasterDiscountAmountLimits) {
    addLine(QStringLiteral("1"), 1, rials(1000000));
    totals().ComputeGrandTotal();
    totals().MasterDiscountValueTyped(rials(1000000));  // equal to the total passes
    EXPECT_EQ(doc().totals.MasterDiscountPercent, 100);
    totals().MasterDiscountValueTyped(rials(1000001));
    EXPECT_EQ(doc().totals.MasterDiscountValue, Money());
    EXPECT_EQ(doc().totals.MasterDiscountPercent, 0);

    setParameter(P::MaxMasterDiscountValue, QStringLiteral("50000"));
    reopen();
    struct {
        qint64 typed;
        qint64 value;
        double percent;
    } const cases[] = {{50000, 50000, 5}, {50001, 0, 0}, {12345, 12345, 1.23}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        totals().MasterDiscountValueTyped(rials(c.typed));
        EXPECT_EQ(doc().totals.MasterDiscountValue, rials(c.value));
        EXPECT_DOUBLE_EQ(doc().totals.MasterDiscountPercent, c.percent);
        EXPECT_EQ(doc().totals.GrandTotal, rials(1000000 - c.value));
    }
}

// What the boxes would reset or turn positive is named with its limit, for callers that cannot
// see the boxes; what they keep is not refused.
TEST_P(TotalsTest, MasterDiscountRefusalsNameTheLimitPassed) {
    setParameter(P::MaxMasterDiscountPercent, QStringLiteral("20"));
    setParameter(P::MaxMasterDiscountValue, QStringLiteral("50000"));
    reopen();
    addLine(QStringLiteral("1"), 1, rials(1000000));
    totals().ComputeGrandTotal();
    struct {
        double percent;
        const char* refusal;
    } const percents[] = {
        {20, nullptr},
        {0, nullptr},
        {-1, "تخفيف كلي نبايد منفي باشد."},
        {100.5, "درصد تخفيف كلي نبايد بيش از «100» باشد."},
        {1000, "درصد تخفيف كلي نبايد بيش از «100» باشد."},
        {20.01, "درصد تخفيف كلي بيش از سقف مجاز تعريف شده براي شما «20» است"},
    };
    for (const auto& c : percents) {
        SCOPED_TRACE(c.percent);
        const auto refusal = totals().MasterDiscountPercentRefusal(c.percent);
        EXPECT_EQ(refusal.value_or(QString()), QString::fromUtf8(c.refusal));
    }
    struct {
        qint64 value;
        const char* refusal;
    } const values[] = {
        {50000, nullptr},
        {-1000000, "تخفيف كلي نبايد منفي باشد."},
        {50001, "مبلغ تخفيف كلي بيش از سقف مجاز تعريف شده براي شما «50/000» است"},
        {1000001, "مبلغ تخفيف كلي نبايد بيش از جمع فاكتور «1/000/000» باشد."},
    };
    for (const auto& c : values) {
        SCOPED_TRACE(c.value);
        const auto refusal = totals().MasterDiscountValueRefusal(rials(c.value));
        EXPECT_EQ(refusal.value_or(QString()), QString::fromUtf8(c.refusal));
    }
    EXPECT_TRUE(messages.empty());
}

TEST_P(TotalsTest, PercentTypedBeforeAnyTotalEmptiesTheBoxes) {
    doc().totals.SuCharge = rials(500);
    doc().totals.GrandTotal = rials(700);
    totals().MasterDiscountPercentTyped(10);
    EXPECT_FALSE(doc().totals.shown);
    EXPECT_EQ(doc().totals.MasterDiscountPercent, 0);
    EXPECT_EQ(doc().totals.SuCharge, Money());
    EXPECT_EQ(doc().totals.GrandTotal, Money());
}

// ---- totals without the database ---------------------------------------------------------

TEST_P(TotalsTest, ThousandLinesAreSummedWithoutTheDatabase) {
    addGood(QStringLiteral("A"), true, false);
    addGood(QStringLiteral("B"), false, true);
    addTaxConfiguration(QDate(2026, 1, 1), QDate(2026, 12, 31), 9, 3);
    doc().chkIsFormal = true;
    const qint64 before = db().statementCount();
    for (int i = 0; i < 1000; ++i)
        addLine(i % 2 ? QStringLiteral("A") : QStringLiteral("B"), 1 + i % 3, rials(1000 + i));
    // The rates once and each goods item's flags once (two statements per item at most).
    EXPECT_LE(db().statementCount() - before, 5);
    const qint64 summed = db().statementCount();
    totals().ComputeGrandTotal();
    EXPECT_EQ(db().statementCount(), summed);
}

// Each line's discount, tax and duty are rounded to whole Rials before they are summed, the
// lines' amounts after the sum: 31.4 of discounts count as 32, 271.4 of tax as 272.
TEST_P(TotalsTest, LineAmountsAreRoundedOneByOneBeforeTheSum) {
    useParameter(P::GrandTotalRounding, QStringLiteral("2"));
    struct {
        const char* net;
        const char* discount;
        const char* tax;
        const char* duty;
    } const lines[] = {{"100000.5", "10.5", "90.4", "30.5"},
                       {"200000.2", "20.4", "180.5", "60.6"},
                       {"300000.4", "0.5", "0.5", "0.4"}};
    for (const auto& l : lines) {
        InvoiceLine line;
        line.BarCode = QString::fromLatin1(l.net);
        line.NetAmount = *Money::parse(QString::fromLatin1(l.net));
        line.DiscountValue = *Money::parse(QString::fromLatin1(l.discount));
        line.Tax = *Money::parse(QString::fromLatin1(l.tax));
        line.Duty = *Money::parse(QString::fromLatin1(l.duty));
        doc().flexDetail.appendLine(line);
    }
    doc().totals.MasterDiscountPercent = 3.75;  // 22 500.0375: to the thousand, ties upward
    doc().totals.SuCharge = rials(12345);
    doc().totals.Decs = rials(6789);
    const Money grand = totals().ComputeGrandTotal();
    EXPECT_EQ(doc().totals.TotalPrice, rials(600001));
    EXPECT_EQ(doc().totals.TotalRowDiscount, rials(11 + 20 + 1));
    EXPECT_EQ(doc().totals.Tax, rials(90 + 181 + 1));
    EXPECT_EQ(doc().totals.Added, rials(31 + 61 + 0));
    EXPECT_EQ(doc().totals.MasterDiscountValue, rials(23000));
    // 600 001 + 12 345 - 23 000 - 6 789 + 272 + 92 = 582 921, to the hundred.
    EXPECT_EQ(grand, rials(582900));
    EXPECT_EQ(doc().totals.RoundDown, rials(21));
}

// ---- surcharges and deductions -----------------------------------------------------------

class ChargesTest : public TotalsTest {
protected:
    void SetUp() override {
        TotalsTest::SetUp();
        for (const char* name : {"حمل", "بيمه", "بسته بندي"})
            surchargeTypes << static_cast<int>(db().insertReturningId(
                QStringLiteral("insert into tblZelorSuchargeType (Name) values (?) RETURNING ID"),
                {QString::fromUtf8(name)}));
        for (const char* name : {"ضايعات", "مرجوعي"})
            deductionTypes << static_cast<int>(db().insertReturningId(
                QStringLiteral("insert into tblZelorShortageType (Name) values (?) RETURNING ID"),
                {QString::fromUtf8(name)}));
    }
    int storedCount(const char* table, int invoice) {
        return db()
            .scalar(QStringLiteral("select count(*) from ") + QString::fromLatin1(table) +
                        QStringLiteral(" where InvoiceID = ?"),
                    {invoice})
            .toInt();
    }
    QList<int> surchargeTypes;
    QList<int> deductionTypes;
};

TEST_P(ChargesTest, RightsGuardBothDialogs) {
    asClerk({});
    EXPECT_FALSE(totals().CanEditSurcharges());
    EXPECT_EQ(messages.last().caption, QStringLiteral("اشكال"));
    EXPECT_EQ(messages.last().text, QStringLiteral("شما نقش مورد نظر را نداريد. ش.ر. 90136"));
    EXPECT_FALSE(totals().CanEditDeductions());
    EXPECT_EQ(messages.last().text, QStringLiteral("شما نقش مورد نظر را نداريد. ش.ر. 90135"));
    messages.clear();
    asClerk({90135, 90136});
    EXPECT_TRUE(totals().CanEditSurcharges());
    EXPECT_TRUE(totals().CanEditDeductions());
    EXPECT_TRUE(messages.empty());
}

TEST_P(ChargesTest, StoredSurchargesLoadIntoEveryType) {
    const int invoice = test::AddInvoice(db(), {});
    db().exec(
        QStringLiteral("insert into tblSaleInvoiceSucharge (InvoiceID, SuchargeTypeID, Value) "
                       "values (?, ?, ?)"),
        {invoice, surchargeTypes[1], QVariant::fromValue(rials(25000))});
    totals().LoadSurcharges(invoice);
    const QVector<SurchargeRow> rows = totals().SurchargeRowsForDialog();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].Value, Money());
    EXPECT_EQ(rows[1].SuchargeTypeID, surchargeTypes[1]);
    EXPECT_EQ(rows[1].Name, QStringLiteral("بيمه"));
    EXPECT_EQ(rows[1].Value, rials(25000));

    addLine(QStringLiteral("1"), 1, rials(100000));
    totals().ComputeGrandTotal();
    QVector<SurchargeRow> edited = rows;
    edited[2].Value = rials(5000);
    totals().ApplySurcharges(edited);
    EXPECT_EQ(doc().totals.SuCharge, rials(30000));
    EXPECT_EQ(doc().totals.GrandTotal, rials(130000));
}

TEST_P(ChargesTest, SurchargesAndDeductionsRoundTrip) {
    const int invoice = test::AddInvoice(db(), {});
    const int other = test::AddInvoice(db(), {});
    doc().surcharges = totals().SurchargeRowsForDialog();
    doc().surcharges[0].Value = rials(1000);
    doc().surcharges[2].Value = *Money::parse(u"2500.5");
    doc().deductions = totals().DeductionRowsForDialog();
    doc().deductions[1].Value = rials(3000);
    doc().deductions[1].ShortagePercent = 3;
    for (int k = 0; k < 2; ++k) {  // saving twice replaces, never adds
        totals().SaveSurcharges(invoice);
        totals().SaveDeductions(invoice);
    }
    totals().SaveSurcharges(other);
    EXPECT_EQ(storedCount("tblSaleInvoiceSucharge", invoice), 2);
    EXPECT_EQ(storedCount("tblSaleInvoiceShortage", invoice), 1);

    const QVector<SurchargeRow> savedSurcharges = doc().surcharges;
    doc().clear();
    totals().LoadSurcharges(invoice);
    totals().LoadDeductions(invoice);
    ASSERT_EQ(doc().surcharges.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(doc().surcharges[i].SuchargeTypeID, savedSurcharges[i].SuchargeTypeID);
        EXPECT_EQ(doc().surcharges[i].Value, savedSurcharges[i].Value);
    }
    ASSERT_EQ(doc().deductions.size(), 2);
    EXPECT_EQ(doc().deductions[0].Value, Money());
    EXPECT_EQ(doc().deductions[1].ShortageTypeID, deductionTypes[1]);
    EXPECT_EQ(doc().deductions[1].Value, rials(3000));
    EXPECT_EQ(doc().deductions[1].ShortagePercent, 3);

    // Emptied amounts remove the stored rows of this invoice only.
    for (SurchargeRow& r : doc().surcharges)
        r.Value = Money();
    totals().SaveSurcharges(invoice);
    EXPECT_EQ(storedCount("tblSaleInvoiceSucharge", invoice), 0);
    EXPECT_EQ(storedCount("tblSaleInvoiceSucharge", other), 2);
}

TEST_P(ChargesTest, DeductionPercentAndAmountConvert) {
    addLine(QStringLiteral("1"), 1, rials(1234567));
    totals().ComputeGrandTotal();
    ASSERT_TRUE(totals().DeductionPercentEditable());
    DeductionRow row;
    EXPECT_TRUE(totals().DeductionPercentTyped(row, 10));
    EXPECT_EQ(row.Value, rials(123457));  // 123 456.7
    EXPECT_TRUE(totals().DeductionPercentTyped(row, 100));
    EXPECT_EQ(row.Value, rials(1234567));
    EXPECT_FALSE(totals().DeductionPercentTyped(row, 100.5));
    EXPECT_EQ(messages.last().caption, QStringLiteral("خطا"));
    EXPECT_EQ(messages.last().text, QStringLiteral("مقدار وارد شده از صد بيشتر است."));
    EXPECT_EQ(row.Value, rials(1234567));

    EXPECT_TRUE(totals().DeductionValueTyped(row, rials(30123)));  // 2.43998 %
    EXPECT_EQ(row.ShortagePercent, 2);
    EXPECT_TRUE(totals().DeductionValueTyped(row, rials(30864)));  // 2.49999 %: 2.5 at tenths
    EXPECT_EQ(row.ShortagePercent, 3);
    EXPECT_TRUE(totals().DeductionValueTyped(row, rials(30865)));  // 2.50000 %
    EXPECT_EQ(row.ShortagePercent, 3);
    messages.clear();
    EXPECT_FALSE(totals().DeductionValueTyped(row, rials(1240740)));  // 100.5 %
    EXPECT_EQ(messages.last().text,
              QStringLiteral("امكان تبديل به درصد وجود ندارد. مقدار كوچكتري وارد كنيد."));
    EXPECT_EQ(row.Value, rials(30865));
}

TEST_P(ChargesTest, DeductionsWithoutBaseTakeAmountsOnly) {
    EXPECT_FALSE(totals().DeductionPercentEditable());
    DeductionRow row;
    EXPECT_TRUE(totals().DeductionValueTyped(row, rials(500)));
    EXPECT_EQ(row.Value, rials(500));
    EXPECT_EQ(row.ShortagePercent, 0);
}

TEST_P(ChargesTest, DeductionsMayNotExceedThePayableAmount) {
    addLine(QStringLiteral("1"), 1, rials(100000));
    doc().totals.SuCharge = rials(10000);
    doc().totals.MasterDiscountPercent = 5;  // 5 000
    totals().ComputeGrandTotal();
    ASSERT_EQ(totals().PayableBeforeDeductions(), rials(105000));
    QVector<DeductionRow> rows = totals().DeductionRowsForDialog();
    rows[0].Value = rials(100000);
    rows[1].Value = rials(5001);
    EXPECT_FALSE(totals().ApplyDeductions(rows));
    EXPECT_EQ(messages.last().caption, QStringLiteral("خطا"));
    EXPECT_EQ(messages.last().text, QStringLiteral("مقدار كسورات از مبلغ قابل پرداخت بيشتر است."));
    EXPECT_EQ(doc().totals.Decs, Money());
    EXPECT_TRUE(doc().deductions.isEmpty());
    rows[1].Value = rials(5000);
    EXPECT_TRUE(totals().ApplyDeductions(rows));
    EXPECT_EQ(doc().totals.Decs, rials(105000));
    EXPECT_EQ(doc().totals.GrandTotal, Money());
    EXPECT_EQ(doc().deductions.size(), 2);
}

// Surcharges and deductions only add to or take from the invoice as their names say: a negative
// amount or percent is refused in the grid and on OK, and the invoice keeps its totals.
TEST_P(ChargesTest, NegativeSurchargesAndDeductionsAreRefused) {
    addLine(QStringLiteral("1"), 1, rials(100000));
    totals().ComputeGrandTotal();
    const QString negativeSurcharge = QStringLiteral("مبلغ اضافات نبايد منفي باشد.");
    const QString negativeDeduction = QStringLiteral("مقدار كسورات نبايد منفي باشد.");

    SurchargeRow surcharge;
    surcharge.Value = rials(700);
    EXPECT_FALSE(totals().SurchargeValueTyped(surcharge, rials(-20000000)));
    EXPECT_EQ(messages.last().caption, QStringLiteral("خطا"));
    EXPECT_EQ(messages.last().text, negativeSurcharge);
    EXPECT_EQ(surcharge.Value, rials(700));
    EXPECT_TRUE(totals().SurchargeValueTyped(surcharge, Money()));
    QVector<SurchargeRow> surcharges = totals().SurchargeRowsForDialog();
    surcharges[0].Value = rials(5000);
    surcharges[1].Value = rials(-20000000);
    messages.clear();
    EXPECT_FALSE(totals().ApplySurcharges(surcharges));
    EXPECT_EQ(messages.last().text, negativeSurcharge);
    EXPECT_EQ(doc().totals.SuCharge, Money());
    EXPECT_TRUE(doc().surcharges.isEmpty());

    DeductionRow deduction;
    deduction.Value = rials(300);
    deduction.ShortagePercent = 0.3;
    messages.clear();
    EXPECT_FALSE(totals().DeductionValueTyped(deduction, rials(-1)));
    EXPECT_EQ(messages.last().text, negativeDeduction);
    EXPECT_FALSE(totals().DeductionPercentTyped(deduction, -0.5));
    EXPECT_EQ(messages.last().text, QStringLiteral("درصد كسورات نبايد منفي باشد."));
    EXPECT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(deduction.Value, rials(300));
    EXPECT_EQ(deduction.ShortagePercent, 0.3);
    QVector<DeductionRow> deductions = totals().DeductionRowsForDialog();
    deductions[0].Value = rials(-5000);
    EXPECT_FALSE(totals().ApplyDeductions(deductions));
    EXPECT_EQ(messages.last().text, negativeDeduction);
    EXPECT_EQ(doc().totals.Decs, Money());
    EXPECT_EQ(doc().totals.GrandTotal, rials(100000));
}

SI_INSTANTIATE_BACKENDS(TotalsTest);
SI_INSTANTIATE_BACKENDS(ChargesTest);

}  // namespace
}  // namespace si
