// The grid around the lines: deleting rows, the distribution vehicle, keys, columns, the unit and
// description dialogs and the serviced goods.

#include <gtest/gtest.h>

#include "invoice/LinesTestSupport.h"

namespace si {
namespace {

const QString kNoChange = QStringLiteral("عدم امکان تغيير");

class LinesGridTest : public test::LinesTest {
protected:
    void twoLines() {
        good(QStringLiteral("626001"), 1000, piece);
        good(QStringLiteral("626002"), 2000, piece);
        ASSERT_TRUE(enter(QStringLiteral("626001")));
        ASSERT_TRUE(enter(QStringLiteral("626002")));
    }
    void vehicleLeft() { doc->txtDistID = QString::number(distributionSheet(true)); }
};

TEST_P(LinesGridTest, DeletingARowAsksFirst) {
    twoLines();
    EXPECT_FALSE(lines().DeleteRow(2));  // the empty row is ignored
    EXPECT_TRUE(messages.empty());

    EXPECT_FALSE(lines().DeleteRow(0));  // answered No
    EXPECT_EQ(messages.last().caption, QStringLiteral("حذف كالا از فاكتور"));
    EXPECT_EQ(messages.last().text, QStringLiteral("آيا مطمئن هستيد؟"));
    EXPECT_EQ(grid().filledCount(), 2);

    messages.answerYes();
    EXPECT_TRUE(lines().DeleteRow(0));
    EXPECT_EQ(grid().filledCount(), 1);
    EXPECT_EQ(line(0).BarCode, QStringLiteral("626002"));
    EXPECT_EQ(grid().cellText(0, Col::Row), QStringLiteral("1"));
    EXPECT_EQ(grid().rows(), 2);
}

TEST_P(LinesGridTest, AMovedDistributionVehicleFreezesTheGoods) {
    twoLines();
    doc->txtDistID = QString::number(distributionSheet(false));
    messages.answerYes();
    EXPECT_TRUE(lines().DeleteRow(1));

    vehicleLeft();
    editableGrid();
    messages.clear();
    messages.alwaysAnswer(true);
    EXPECT_FALSE(lines().DeleteRow(0));
    EXPECT_EQ(messages.last().caption, QStringLiteral("عدم امکان حذف کالا"));
    EXPECT_EQ(
        messages.last().text,
        QStringLiteral("وسيله نقليه حرکت کرده است. بنابراين امکان حذف کالا از فاکتور وجود ندارد."));
    EXPECT_EQ(messages.shown().size(), 1u);  // no question after the refusal

    EXPECT_FALSE(lines().commitCell(0, Col::Qty, QStringLiteral("3")));
    EXPECT_EQ(messages.last().caption, kNoChange);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("وسيله نقليه حرکت کرده است. بنابراين امکان تغيير تعداد وجود ندارد."));
    EXPECT_FALSE(lines().commitCell(1, Col::BarCode, QStringLiteral("626002")));
    EXPECT_EQ(messages.last().text,
              QStringLiteral("وسيله نقليه حرکت کرده است. بنابراين امکان تغيير کالا وجود ندارد."));
    EXPECT_FALSE(lines().changeUnit(0, box));
    EXPECT_EQ(messages.last().caption, kNoChange);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("وسيله نقليه حرکت کرده است. بنابراين امکان تغيير واحد وجود ندارد."));
    EXPECT_DOUBLE_EQ(line(0).Qty, 1);
    EXPECT_EQ(grid().filledCount(), 1);
}

struct KeyCase {
    const char* label;
    int key;
    Qt::KeyboardModifiers modifiers;
    int col;
    bool filledRow;
    std::initializer_list<int> flags;  // parameters switched on
    int mode;
    GridAction expected;
};

TEST_P(LinesGridTest, KeysMapToTheirActionsByParametersAndMode) {
    twoLines();
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const KeyCase cases[] = {
        {"F2 without 28", Qt::Key_F2, none, 3, true, {}, kModeNew, GridAction::None},
        {"F2 with 28",
         Qt::Key_F2,
         none,
         3,
         true,
         {P::RepeatGoods},
         kModeNew,
         GridAction::ChooseUnit},
        {"F2 in shop mode",
         Qt::Key_F2,
         none,
         3,
         true,
         {P::RepeatGoods, P::ShopMode},
         kModeNew,
         GridAction::None},
        {"F2 on the empty row",
         Qt::Key_F2,
         none,
         3,
         false,
         {P::RepeatGoods},
         kModeNew,
         GridAction::None},
        {"F3 in column 5",
         Qt::Key_F3,
         none,
         Col::ServicedBarCode,
         true,
         {},
         kModeEdit,
         GridAction::ChooseServicedGoods},
        {"F3 elsewhere", Qt::Key_F3, none, Col::Qty, true, {}, kModeEdit, GridAction::None},
        {"F4", Qt::Key_F4, none, 3, true, {}, kModeNew, GridAction::ChoosePricingMethod},
        {"Shift+F4", Qt::Key_F4, Qt::ShiftModifier, 3, true, {}, kModeNew, GridAction::None},
        {"Ctrl+B",
         Qt::Key_B,
         Qt::ControlModifier,
         3,
         true,
         {},
         kModeNew,
         GridAction::ChoosePromoter},
        {"B", Qt::Key_B, none, 3, true, {}, kModeNew, GridAction::None},
        {"Ctrl+Shift+B",
         Qt::Key_B,
         Qt::ControlModifier | Qt::ShiftModifier,
         3,
         true,
         {},
         kModeNew,
         GridAction::None},
        {"F6 with 3349",
         Qt::Key_F6,
         none,
         3,
         true,
         {P::LineDescription},
         kModeEdit,
         GridAction::EditDescription},
        {"F6 without 3349", Qt::Key_F6, none, 3, true, {}, kModeEdit, GridAction::None},
        {"F6 in shop mode",
         Qt::Key_F6,
         none,
         3,
         true,
         {P::LineDescription, P::ShopMode},
         kModeEdit,
         GridAction::None},
        {"F6 without a barcode",
         Qt::Key_F6,
         none,
         3,
         false,
         {P::LineDescription},
         kModeEdit,
         GridAction::None},
        {"F7", Qt::Key_F7, none, 7, true, {}, kModeNew, GridAction::ShowStockTrace},
        {"F7 while viewing", Qt::Key_F7, none, 7, true, {}, kModeView, GridAction::None},
        {"F4 on a cleared form", Qt::Key_F4, none, 3, true, {}, kModeCleared, GridAction::None},
        {"another key", Qt::Key_F9, none, 3, true, {}, kModeNew, GridAction::None},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.label);
        ctx.params.resetToDefaults();
        for (int flag : c.flags)
            ctx.params.setFlag(flag, true);
        doc->FormMode = c.mode;
        const int row = c.filledRow ? 0 : grid().rows() - 1;
        EXPECT_EQ(lines().handleKey(c.key, c.modifiers, row, c.col), c.expected);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_P(LinesGridTest, UpOnAnExtraEmptyLastRowRemovesIt) {
    twoLines();
    EXPECT_EQ(lines().handleKey(Qt::Key_Up, Qt::NoModifier, 2, 1), GridAction::None);
    EXPECT_EQ(grid().rows(), 3);
    grid().AddNewLine();
    ASSERT_EQ(grid().rows(), 4);
    EXPECT_EQ(lines().handleKey(Qt::Key_Up, Qt::NoModifier, 2, 1), GridAction::None);
    EXPECT_EQ(lines().handleKey(Qt::Key_Up, Qt::NoModifier, 3, 1), GridAction::Handled);
    EXPECT_EQ(grid().rows(), 3);
    EXPECT_EQ(lines().currentRow(), 2);
    EXPECT_FALSE(line(2).isFilled());
}

TEST_P(LinesGridTest, ControlDeleteDeletesTheRowAfterTheQuestion) {
    twoLines();
    messages.answerYes();
    EXPECT_EQ(lines().handleKey(Qt::Key_Delete, Qt::ControlModifier, 1, 3), GridAction::Handled);
    EXPECT_EQ(grid().filledCount(), 1);
    EXPECT_EQ(lines().handleKey(Qt::Key_Delete, Qt::NoModifier, 0, 3), GridAction::None);
}

TEST_P(LinesGridTest, ColumnsFollowTheParameters) {
    struct Case {
        int parameter;
        int column;
    };
    for (const Case& c :
         {Case{P::LineDescription, Col::Description}, Case{P::ShowBaseQty, Col::BaseQty},
          Case{P::BaseUnitPrice, Col::BaseUnitPrice}, Case{P::ShowStock, Col::Stock},
          Case{P::ShowTempQty, Col::TempQty}}) {
        SCOPED_TRACE(c.column);
        ctx.params.resetToDefaults();
        lines().configureColumns();
        EXPECT_TRUE(grid().isColumnHidden(c.column));
        ctx.params.setFlag(c.parameter, true);
        lines().configureColumns();
        EXPECT_FALSE(grid().isColumnHidden(c.column));
    }
    ctx.params.setFlag(P::LineDescription, true);
    lines().configureColumns();
    EXPECT_TRUE(grid().isColumnEditable(Col::Description));

    ctx.params.resetToDefaults();
    lines().configureColumns();
    EXPECT_FALSE(grid().isColumnHidden(Col::PricingMethodName));
    EXPECT_TRUE(grid().isColumnEditable(Col::BarCode));
    EXPECT_TRUE(grid().isColumnEditable(Col::GoodCode));
    EXPECT_TRUE(grid().isColumnEditable(Col::Qty));
    EXPECT_FALSE(grid().isColumnEditable(Col::Description));
    EXPECT_FALSE(grid().isColumnEditable(Col::GoodName));

    // Shop mode: no methods or promoters per line; 909 locks the barcode only there.
    ctx.params.setFlag(P::ShopBarcodeReadOnly, true);
    lines().configureColumns();
    EXPECT_TRUE(grid().isColumnEditable(Col::BarCode));
    ctx.params.setFlag(P::ShopMode, true);
    ctx.params.setFlag(P::CodeReadOnly, true);
    lines().configureColumns();
    EXPECT_TRUE(grid().isColumnHidden(Col::PricingMethodName));
    EXPECT_TRUE(grid().isColumnHidden(Col::PromoterName));
    EXPECT_FALSE(grid().isColumnEditable(Col::BarCode));
    EXPECT_FALSE(grid().isColumnEditable(Col::GoodCode));
}

TEST_P(LinesGridTest, PriceAndDiscountColumnsNeedTheirParameterOrRight) {
    struct Case {
        std::initializer_list<int> flags;
        std::initializer_list<int> rights;
        bool price;
        bool discount;
    };
    const Case cases[] = {{{}, {}, false, false},
                          {{P::UnitPriceEditable}, {}, false, false},
                          {{}, {90108}, false, false},
                          {{P::UnitPriceEditable}, {90108}, true, false},
                          {{P::DiscountEditable}, {}, false, true},
                          {{}, {90109}, false, true}};
    for (const Case& c : cases) {
        ctx.globals.CurrentUserID = addUser(QStringLiteral("فروشنده"), false, c.rights);
        ctx.params.resetToDefaults();
        for (int flag : c.flags)
            ctx.params.setFlag(flag, true);
        lines().configureColumns();
        EXPECT_EQ(grid().isColumnEditable(Col::UnitPrice), c.price);
        EXPECT_EQ(grid().isColumnEditable(Col::DiscountPercent), c.discount);
        EXPECT_EQ(grid().isColumnEditable(Col::DiscountValue), c.discount);
    }
}

TEST_P(LinesGridTest, TheUnitDialogNeedsAMethodAndANewUnit) {
    good(QStringLiteral("626001"), 1000, piece);
    db().exec(
        QStringLiteral("insert into tblGoodSaleScale (Barcode, ScaleID) values ('626001', ?)"),
        {box});
    ASSERT_TRUE(enter(QStringLiteral("626001"), 24));
    const QVector<UnitChoice> units = lines().unitsOf(QStringLiteral("626001"));
    ASSERT_EQ(units.size(), 2);
    EXPECT_EQ(units[1].name, QStringLiteral("كارتن"));
    EXPECT_DOUBLE_EQ(units[1].factor, 12);

    EXPECT_FALSE(lines().changeUnit(0, box));
    EXPECT_EQ(messages.last().caption, QStringLiteral("اشكال"));
    EXPECT_EQ(messages.last().text, QStringLiteral("قيمت گذاري مشخص نشده است."));

    grid().line(0).PricingMethodID = method(QStringLiteral("عمومي"));
    EXPECT_FALSE(lines().changeUnit(0, piece));
    EXPECT_EQ(messages.last().text, QStringLiteral("واحد كالا بايد با مقدار قبلي متفاوت باشد."));

    EXPECT_TRUE(lines().changeUnit(0, box));
    EXPECT_EQ(line(0).ScaleID, box);
    EXPECT_EQ(line(0).UnitName, QStringLiteral("كارتن"));
    EXPECT_DOUBLE_EQ(line(0).Qty, 2);
    EXPECT_DOUBLE_EQ(line(0).BaseQty, 24);
    EXPECT_EQ(line(0).UnitPrice, Money::fromRials(12000));

    // Back to pieces is exact; 5 pieces would be a fraction of a box.
    EXPECT_TRUE(lines().changeUnit(0, piece));
    EXPECT_DOUBLE_EQ(line(0).Qty, 24);
    EXPECT_EQ(line(0).UnitPrice, Money::fromRials(1000));
    grid().line(0).Qty = 5;
    grid().line(0).BaseQty = 5;
    EXPECT_FALSE(lines().changeUnit(0, box));
    EXPECT_EQ(messages.last().text,
              QStringLiteral("اين واحد كالا, فقط تعداد صحيح مي پذيرد و تعداد اعشاري قابل قبول "
                             "نيست. در رديف 1"));
}

TEST_P(LinesGridTest, TheUnitDialogOffersTheStockThatIsLeft) {
    stockRule(1);
    good(QStringLiteral("626001"), 1000, piece);
    db().exec(
        QStringLiteral("insert into tblGoodSaleScale (Barcode, ScaleID) values ('626001', ?)"),
        {box});
    receive(QStringLiteral("626001"), 36);
    ASSERT_TRUE(enter(QStringLiteral("626001"), 36));
    grid().line(0).PricingMethodID = method(QStringLiteral("عمومي"));
    dispatch(QStringLiteral("626001"), 12, now.date());  // 24 pieces left: two boxes

    EXPECT_FALSE(lines().changeUnit(0, box));  // answered No
    EXPECT_EQ(messages.last().caption, QStringLiteral("پرسش"));
    EXPECT_EQ(messages.last().text, QStringLiteral("حداكثر موجودي قابل فروش از اين كالا،2عدد است. "
                                                   "آيا تعداد فروش به مقدار جديد تغيير يابد؟"));
    EXPECT_EQ(line(0).ScaleID, piece);

    dispatch(QStringLiteral("626001"), 6, now.date());  // 18 pieces: not a whole number of boxes
    messages.answerYes();
    EXPECT_TRUE(lines().changeUnit(0, box));
    EXPECT_EQ(messages.last().text,
              QStringLiteral("حداكثر موجودي قابل فروش از اين كالا، محدود است. آيا تعداد فروش به "
                             "مقدار جديد تغيير يابد؟"));
    EXPECT_DOUBLE_EQ(line(0).Qty, 1);
    EXPECT_DOUBLE_EQ(line(0).BaseQty, 12);
}

TEST_P(LinesGridTest, DescriptionAndServicedGoods) {
    twoLines();
    EXPECT_FALSE(lines().changeDescription(0, QStringLiteral("  ")));
    EXPECT_EQ(messages.last().caption, QStringLiteral("اشكال"));
    EXPECT_EQ(messages.last().text, QStringLiteral("متن وارد نشده است!"));
    EXPECT_TRUE(lines().changeDescription(0, QStringLiteral("بسته بندي هديه")));
    EXPECT_EQ(line(0).Description, QStringLiteral("بسته بندي هديه"));
    EXPECT_FALSE(lines().changeDescription(2, QStringLiteral("x")));  // no goods

    EXPECT_FALSE(lines().setServicedGoods(1, QStringLiteral("404")));
    EXPECT_TRUE(lines().setServicedGoods(1, QStringLiteral(" 626001 ")));
    EXPECT_EQ(line(1).ServicedBarCode, QStringLiteral("626001"));
    EXPECT_EQ(line(1).ServicedGoodName, QStringLiteral("كالا 626001"));
}

SI_INSTANTIATE_BACKENDS(LinesGridTest);

}  // namespace
}  // namespace si
