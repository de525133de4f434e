// The cell validation table of the goods grid, whole-number units, the free-goods notice and the
// discount rules that a typed discount passes through.

#include <gtest/gtest.h>

#include "invoice/LinesTestSupport.h"

namespace si {
namespace {

const QString kError = QStringLiteral("خطا");
const QString kProblem = QStringLiteral("اشكال");
const QString kIntegerOnly =
    QStringLiteral("اين واحد كالا, فقط تعداد صحيح مي پذيرد و تعداد اعشاري قابل قبول نيست.");

class LinesEditingTest : public test::LinesTest {
protected:
    // One line of 2 kilograms at 1 000 with 8 kilograms on hand, every column editable.
    int standardLine() {
        stockRule(1);
        good(QStringLiteral("626001"), 1000, kilo);
        receive(QStringLiteral("626001"), 8);
        const int row = grid().rows() - 1;
        EXPECT_TRUE(enter(QStringLiteral("626001"), 2));
        editableGrid();
        for (int col : {Col::WagePercent, Col::WagePerWeight, Col::ProfitPercent, Col::Commission,
                        Col::UnitPrice, Col::DiscountPercent, Col::DiscountValue})
            grid().DoEditableCol(col, true, false);
        return row;
    }
    static bool sameValues(const InvoiceLine& a, const InvoiceLine& b) {
        return a.Qty == b.Qty && a.BaseQty == b.BaseQty && a.UnitPrice == b.UnitPrice &&
               a.DiscountPercent == b.DiscountPercent && a.DiscountValue == b.DiscountValue &&
               a.DiscountKind == b.DiscountKind && a.WagePercent == b.WagePercent &&
               a.WagePerWeight == b.WagePerWeight && a.ProfitPercent == b.ProfitPercent &&
               a.Commission == b.Commission;
    }
};

struct Refused {
    const char* label;
    int col;
    const char* text;
    const char* message;
    void (*settings)(SystemParameters&) = nullptr;
};

TEST_P(LinesEditingTest, RefusedCellsShowTheirMessageAndKeepTheOldValue) {
    const int row = standardLine();
    const InvoiceLine before = line(row);
    const Refused cases[] = {
        {"negative quantity", Col::Qty, "-1", "تعداد كالا كمتر از اندازة مجاز است."},
        {"huge quantity", Col::Qty, "1000000001", "تعداد كالا بيشتر از اندازة مجاز است."},
        {"beyond the stock", Col::Qty, "8.5", "حداكثر موجودي قابل فروش از اين كالا،8عدد است."},
        {"negative price", Col::UnitPrice, "-5", "قيمت كالا كمتر از اندازة مجاز است."},
        {"percent over the default ceiling", Col::DiscountPercent, "101",
         "تخفيف كالا بيش از سقف مجاز تعريف شده براي شما «100» است"},
        {"percent over the user's ceiling", Col::DiscountPercent, "11",
         "تخفيف كالا بيش از سقف مجاز تعريف شده براي شما «10» است",
         [](SystemParameters& p) { p.assign(P::MaxLineDiscountPercent, QStringLiteral("10")); }},
        {"percent over 100 under a higher ceiling", Col::DiscountPercent, "120",
         "تخفيف كالا بيش از اندازة مجاز است.",
         [](SystemParameters& p) { p.assign(P::MaxLineDiscountPercent, QStringLiteral("150")); }},
        {"negative percent", Col::DiscountPercent, "-1", "تخفيف كالا بيش از اندازة مجاز است."},
        {"amount over the user's ceiling", Col::DiscountValue, "600",
         "تخفيف كالا بيش از سقف مجاز تعريف شده براي شما «500» است",
         [](SystemParameters& p) { p.assign(P::MaxLineDiscountValue, QStringLiteral("500")); }},
        {"amount over the gross", Col::DiscountValue, "2/001",
         "تخفيف كالا بيش از اندازة مجاز است."},
        {"wage percent", Col::WagePercent, "100.5", "درصد اجرت ساخت نادرست است"},
        {"negative wage", Col::WagePerWeight, "-1", "مبلغ اجرت ساخت نبايد منفي باشد."},
        {"wage over the price", Col::WagePerWeight, "1001", "مبلغ اجرت ساخت بيش از قيمت کالاست."},
        {"profit percent", Col::ProfitPercent, "-0.5", "درصد سود نادرست است"},
        {"negative commission", Col::Commission, "-1", "حقالعمل کار نبايد منفي باشد."},
        {"commission over the line", Col::Commission, "2001",
         "مبلغ حقالعمل کار بيش از مبلغ کل کالاست."},
    };
    for (const Refused& c : cases) {
        SCOPED_TRACE(c.label);
        ctx.params.resetToDefaults();
        ctx.params.setNumber(P::StockRule, 1);
        if (c.settings) c.settings(ctx.params);
        messages.clear();
        EXPECT_FALSE(lines().commitCell(row, c.col, QString::fromUtf8(c.text)));
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.last().caption, kError);
        EXPECT_EQ(messages.last().text, QString::fromUtf8(c.message));
        EXPECT_TRUE(sameValues(line(row), before));
    }
}

TEST_P(LinesEditingTest, AcceptedCellsChangeTheLine) {
    const int row = standardLine();
    ctx.params.assign(P::MaxLineDiscountPercent, QStringLiteral("10"));
    ctx.params.assign(P::MaxLineDiscountValue, QStringLiteral("500"));
    EXPECT_TRUE(lines().commitCell(row, Col::Qty, QStringLiteral("8")));  // exactly the stock
    EXPECT_DOUBLE_EQ(line(row).Qty, 8);
    EXPECT_DOUBLE_EQ(line(row).BaseQty, 8);
    EXPECT_TRUE(lines().commitCell(row, Col::UnitPrice, QStringLiteral("1/500")));
    EXPECT_EQ(line(row).UnitPrice, Money::fromRials(1500));
    EXPECT_TRUE(lines().commitCell(row, Col::DiscountPercent, QStringLiteral("10")));
    EXPECT_DOUBLE_EQ(line(row).DiscountPercent, 10);
    EXPECT_EQ(line(row).DiscountKind, kDiscountAsPercent);
    EXPECT_TRUE(lines().commitCell(row, Col::DiscountValue, QStringLiteral("500")));
    EXPECT_EQ(line(row).DiscountValue, Money::fromRials(500));
    EXPECT_EQ(line(row).DiscountKind, kDiscountAsValue);
    EXPECT_TRUE(lines().commitCell(row, Col::WagePercent, QStringLiteral("۱۰۰")));
    EXPECT_DOUBLE_EQ(line(row).WagePercent, 100);
    EXPECT_TRUE(lines().commitCell(row, Col::Commission, QStringLiteral("0")));
    EXPECT_TRUE(messages.empty());
}

TEST_P(LinesEditingTest, AQuantityWithNothingLeftIsAboveTheSaleableMaximum) {
    const int row = standardLine();
    dispatch(QStringLiteral("626001"), 8, now.date().addDays(-1));
    EXPECT_FALSE(lines().commitCell(row, Col::Qty, QStringLiteral("1")));
    EXPECT_EQ(messages.last().text,
              QStringLiteral("فروش بيش از حداكثر موجودي قابل فروش از اين كالا مجاز نيست!"));
}

TEST_P(LinesEditingTest, OnlyEditableColumnsInAnEntryModeAcceptText) {
    const int row = standardLine();
    grid().DoEditableCol(Col::UnitPrice, false, true);
    EXPECT_FALSE(lines().commitCell(row, Col::UnitPrice, QStringLiteral("5")));
    EXPECT_FALSE(lines().commitCell(row, Col::GoodName, QStringLiteral("x")));
    doc->FormMode = kModeView;
    EXPECT_FALSE(lines().commitCell(row, Col::Qty, QStringLiteral("1")));
    EXPECT_DOUBLE_EQ(line(row).Qty, 2);
    EXPECT_TRUE(messages.empty());
}

TEST_P(LinesEditingTest, AFractionInAWholeNumberUnitIsRefusedWithItsRow) {
    good(QStringLiteral("626001"), 1000, piece);
    good(QStringLiteral("626002"), 1000, piece);
    ASSERT_TRUE(enter(QStringLiteral("626001")));
    ASSERT_TRUE(enter(QStringLiteral("626002")));
    editableGrid();
    EXPECT_FALSE(lines().commitCell(1, Col::Qty, QStringLiteral("2.5")));
    EXPECT_EQ(messages.last().caption, kProblem);
    EXPECT_EQ(messages.last().text, kIntegerOnly + QStringLiteral(" در رديف 2"));
    EXPECT_DOUBLE_EQ(line(1).Qty, 1);
    EXPECT_TRUE(lines().commitCell(1, Col::Qty, QStringLiteral("3")));

    // The check on its own, as the save runs it, with or without the row.
    grid().line(0).Qty = 1.5;
    EXPECT_FALSE(lines().checkIntegerUnit(0, false));
    EXPECT_EQ(messages.last().text, kIntegerOnly);
    EXPECT_FALSE(lines().checkIntegerUnit(0, true));
    EXPECT_EQ(messages.last().text, kIntegerOnly + QStringLiteral(" در رديف 1"));
    EXPECT_TRUE(lines().checkIntegerUnit(1, true));
}

// Quantities are kept to four decimals, and to whole numbers in a whole-number unit: what is 0
// there would sell nothing, and is refused as a negative quantity is.
TEST_P(LinesEditingTest, AQuantityThatIsZeroAtItsUnitsPrecisionIsTooSmall) {
    const int kiloRow = standardLine();
    good(QStringLiteral("626002"), 1000, piece);
    receive(QStringLiteral("626002"), 5);
    ASSERT_TRUE(enter(QStringLiteral("626002")));
    const int pieceRow = kiloRow + 1;
    editableGrid();
    struct Case {
        int row;
        const char* typed;
        bool accepted;
    };
    const Case cases[] = {{kiloRow, "0", false},      {kiloRow, "0.00004", false},
                          {kiloRow, "1e-320", false}, {kiloRow, "0.0001", true},
                          {pieceRow, "0.4", false},   {pieceRow, "0", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        messages.clear();
        const InvoiceLine before = line(c.row);
        EXPECT_EQ(lines().commitCell(c.row, Col::Qty, QString::fromLatin1(c.typed)), c.accepted);
        if (c.accepted) {
            EXPECT_TRUE(messages.empty());
            continue;
        }
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.last().caption, kError);
        EXPECT_EQ(messages.last().text, QStringLiteral("تعداد كالا كمتر از اندازة مجاز است."));
        EXPECT_TRUE(sameValues(line(c.row), before));
    }
}

TEST_P(LinesEditingTest, TheFreeGoodsNoticeComesWhenTheThresholdIsReached) {
    good(QStringLiteral("626001"), 1000, piece);
    db().exec(QStringLiteral("update tblGood set EsTreshold=5 where Barcode='626001'"));
    ASSERT_TRUE(enter(QStringLiteral("626001")));
    editableGrid();
    EXPECT_TRUE(lines().commitCell(0, Col::Qty, QStringLiteral("4")));
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(lines().commitCell(0, Col::Qty, QStringLiteral("5")));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, QStringLiteral("رسيدن تعداد کالا به حد اشانتيون"));
    EXPECT_EQ(messages.last().text,
              QStringLiteral("تعداد فروش رفته از کالاي كالا 626001 به حد اشانتيون رسيده است. مي "
                             "توانيد به اين مشتري اشانتيون بدهيد."));
    EXPECT_TRUE(lines().commitCell(0, Col::Qty, QStringLiteral("6")));
    EXPECT_EQ(messages.shown().size(), 1u);  // already there
}

// A threshold of 0 is one every quantity reaches; only a goods without one (NULL) gets no notice.
TEST_P(LinesEditingTest, AThresholdOfZeroGivesTheNoticeAndNoneGivesNone) {
    good(QStringLiteral("626001"), 1000, piece);
    good(QStringLiteral("626002"), 1000, piece);
    db().exec(QStringLiteral("update tblGood set EsTreshold=0 where Barcode='626001'"));
    db().exec(QStringLiteral("update tblGood set EsTreshold=NULL where Barcode='626002'"));
    ASSERT_TRUE(enter(QStringLiteral("626001")));
    ASSERT_TRUE(enter(QStringLiteral("626002")));
    editableGrid();
    EXPECT_TRUE(lines().commitCell(1, Col::Qty, QStringLiteral("3")));
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(lines().commitCell(0, Col::Qty, QStringLiteral("2")));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, QStringLiteral("رسيدن تعداد کالا به حد اشانتيون"));
    EXPECT_EQ(messages.last().text,
              QStringLiteral("تعداد فروش رفته از کالاي كالا 626001 به حد اشانتيون رسيده است. مي "
                             "توانيد به اين مشتري اشانتيون بدهيد."));
}

TEST_P(LinesEditingTest, TypedDiscountsPassTheCardAndBirthdayMinimum) {
    good(QStringLiteral("626001"), 1000, piece);
    ASSERT_TRUE(enter(QStringLiteral("626001"), 4));
    editableGrid();
    grid().DoEditableCol(Col::DiscountPercent, true, false);
    grid().DoEditableCol(Col::DiscountValue, true, true);
    QList<std::pair<int, double>> asked;
    bool allow = false;
    services->CheckDiscountPercentValidation = [&](int row, double percent) {
        asked.append({row, percent});
        return allow;
    };
    EXPECT_FALSE(lines().commitCell(0, Col::DiscountPercent, QStringLiteral("4")));
    EXPECT_FALSE(lines().commitCell(0, Col::DiscountValue, QStringLiteral("500")));
    ASSERT_EQ(asked.size(), 2);
    EXPECT_EQ(asked[0], std::make_pair(0, 4.0));
    EXPECT_EQ(asked[1], std::make_pair(0, 12.5));  // 500 of a 4 000 line
    EXPECT_DOUBLE_EQ(line(0).DiscountPercent, 0);
    EXPECT_EQ(line(0).DiscountValue, Money());
    allow = true;
    EXPECT_TRUE(lines().commitCell(0, Col::DiscountPercent, QStringLiteral("4")));
    EXPECT_DOUBLE_EQ(line(0).DiscountPercent, 4);
}

TEST_P(LinesEditingTest, ADescriptionIsTypedOnlyWithParameter3349) {
    good(QStringLiteral("626001"), 1000, piece);
    ASSERT_TRUE(enter(QStringLiteral("626001")));
    editableGrid();
    EXPECT_FALSE(lines().commitCell(0, Col::Description, QStringLiteral("قرمز")));
    useParameter(P::LineDescription, QStringLiteral("1"));
    editableGrid();
    EXPECT_TRUE(lines().commitCell(0, Col::Description, QStringLiteral(" قرمز ")));
    EXPECT_EQ(line(0).Description, QStringLiteral("قرمز"));
}

TEST_P(LinesEditingTest, ACodeTypedIntoTheGridResolvesTheGoods) {
    good(QStringLiteral("626001"), 1000, piece);
    good(QStringLiteral("626002"), 700, piece);
    editableGrid();
    EXPECT_TRUE(lines().commitCell(0, Col::GoodCode, QStringLiteral("C626001")));
    EXPECT_EQ(line(0).BarCode, QStringLiteral("626001"));
    EXPECT_TRUE(lines().commitCell(1, Col::BarCode, QStringLiteral("626002")));
    EXPECT_EQ(line(1).GoodCode, QStringLiteral("C626002"));
    // The same goods typed over another row is a duplicate.
    EXPECT_FALSE(lines().commitCell(0, Col::BarCode, QStringLiteral("626002")));
    EXPECT_EQ(messages.last().text, QStringLiteral("كالا تكراري است"));
    EXPECT_EQ(line(0).BarCode, QStringLiteral("626001"));
}

SI_INSTANTIATE_BACKENDS(LinesEditingTest);

}  // namespace
}  // namespace si
