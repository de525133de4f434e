// The goods picker: found by code, barcode or name typed with either keyboard, listed with the
// price a new line would get and the stock of the inventory, and picked into a row exactly as
// typing the goods' code fills it.

#include "LinesTestSupport.h"
#include "invoice/GoodsPicker.h"
#include "invoice/LineTableModel.h"

namespace si::test {
namespace {

class GoodsPickerTest : public LinesTest {
protected:
    void SetUp() override {
        LinesTest::SetUp();
        stockRule(0);
        tea = QStringLiteral("6260000000012");
        AddGood(db(), tea, QStringLiteral("1001"), QStringLiteral("چاي سبز كيسه اي"), 25000, piece);
        AddGood(db(), QStringLiteral("6260000000029"), QStringLiteral("1002"),
                QStringLiteral("قهوه ترك"), 30000, piece);
        AddGood(db(), QStringLiteral("5550000000011"), QStringLiteral("2001"),
                QStringLiteral("كيك شكلاتي"), 12000, box);
        receive(tea, 40);
        pickerOfTheForm = std::make_unique<GoodsPicker>(*services);
    }
    QStringList codes(const QVector<PickerRow>& rows) {
        QStringList list;
        for (const PickerRow& r : rows)
            list << r.code;
        return list;
    }
    QStringList shown(int row) {
        QStringList cells;
        for (int col = 0; col < Col::Count; ++col)
            cells << grid().data(grid().index(row, col), Qt::DisplayRole).toString();
        return cells;
    }

    std::unique_ptr<GoodsPicker> pickerOfTheForm;
    GoodsPicker& picker() { return *pickerOfTheForm; }
    QString tea;
};

TEST_P(GoodsPickerTest, FindsByCodeBarcodeOrNameWithEitherKeyboard) {
    EXPECT_EQ(codes(picker().search(QStringLiteral("چای"))), QStringList{QStringLiteral("1001")});
    EXPECT_EQ(codes(picker().search(QStringLiteral("کیک"))), QStringList{QStringLiteral("2001")});
    EXPECT_EQ(codes(picker().search(QStringLiteral("۱۰۰"))),
              (QStringList{QStringLiteral("1001"), QStringLiteral("1002")}));
    EXPECT_EQ(codes(picker().search(QStringLiteral("٦٢٦٠"))),
              (QStringList{QStringLiteral("1001"), QStringLiteral("1002")}));
    // A name is searched inside only from three letters on.
    EXPECT_TRUE(picker().search(QStringLiteral("سب")).isEmpty());
    EXPECT_EQ(codes(picker().search(QStringLiteral("سبز"))), QStringList{QStringLiteral("1001")});
    EXPECT_EQ(codes(picker().search(QStringLiteral("ترک"))), QStringList{QStringLiteral("1002")});
    // Nothing typed lists the goods by name, within the limit.
    EXPECT_EQ(codes(picker().search(QString(), 2)),
              (QStringList{QStringLiteral("1002"), QStringLiteral("1001")}));
    EXPECT_TRUE(picker().search(QStringLiteral("%")).isEmpty());
}

// Codes that begin with the text come before barcodes, names, and names that contain it; a
// goods item found several ways is listed once.
TEST_P(GoodsPickerTest, TheBestMatchesComeFirstAndEachGoodsOnce) {
    AddGood(db(), QStringLiteral("1009"), QStringLiteral("7001"), QStringLiteral("1009 ويژه"), 1,
            piece);
    AddGood(db(), QStringLiteral("7002"), QStringLiteral("100"), QStringLiteral("نان"), 1, piece);
    EXPECT_EQ(codes(picker().search(QStringLiteral("100"))),
              (QStringList{QStringLiteral("100"), QStringLiteral("1001"), QStringLiteral("1002"),
                           QStringLiteral("7001")}));
    EXPECT_EQ(picker().search(QStringLiteral("100"), 2).size(), 2);
}

TEST_P(GoodsPickerTest, ListsThePriceOfTheMethodTheStockAndOnlyGoodsForSaleHere) {
    const int wholesale = method(QStringLiteral("عمده"));
    salePrice(tea, wholesale, QVariant::fromValue(Money::fromRials(21000)), 1, 0, 0);
    doc->sltPricingMethod.setIDQuietly(wholesale, QStringLiteral("عمده"));
    db().exec(QStringLiteral("insert into tblInventoryGoodInfo (InventoryID, Barcode, NotForSale) "
                             "values (?, ?, 1)"),
              {inventory, QStringLiteral("6260000000029")});
    const QVector<PickerRow> found = picker().search(QStringLiteral("۱۰"));
    ASSERT_EQ(codes(found), QStringList{QStringLiteral("1001")});
    EXPECT_EQ(found[0].barcode, tea);
    EXPECT_EQ(found[0].name, QStringLiteral("چاي سبز كيسه اي"));
    EXPECT_EQ(found[0].unitName, QStringLiteral("عدد"));
    EXPECT_EQ(found[0].price, Money::fromRials(21000));
    EXPECT_DOUBLE_EQ(found[0].stock, 40);
    // A goods item without a row in the method's price list has its own price, in its unit with
    // parameter 24, as a typed line would.
    useParameter(P::BaseUnitPrice, QStringLiteral("1"));
    const QVector<PickerRow> cake = picker().search(QStringLiteral("2001"));
    ASSERT_EQ(cake.size(), 1);
    EXPECT_EQ(cake[0].price, Money::fromRials(12000 * 12));
    EXPECT_DOUBLE_EQ(cake[0].stock, 0);
}

TEST_P(GoodsPickerTest, APickedGoodsFillsTheRowAsTypingItsCodeDoes) {
    stockRule(1);
    editableGrid();
    double qty = 1;
    ASSERT_TRUE(lines().FillFlexOneRow(QStringLiteral("1001"), 0, kByGoodCode, false, qty));
    const QStringList typed = shown(0);
    grid().clear();

    const QVector<PickerRow> found = picker().search(QStringLiteral("چای سبز"));
    ASSERT_EQ(found.size(), 1);
    ASSERT_TRUE(picker().pick(0, found[0].barcode));
    EXPECT_EQ(shown(0), typed);
    EXPECT_EQ(lines().currentRow(), 1);
    // The same checks as typing: the goods is in the grid already; without stock it is refused.
    EXPECT_FALSE(picker().pick(1, found[0].barcode));
    EXPECT_FALSE(picker().pick(1, QStringLiteral("5550000000011")));
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.texts().at(0), QStringLiteral("كالا تكراري است"));
    EXPECT_EQ(messages.texts().at(1), QStringLiteral("از اين كالا موجودي قابل فروش نداريم"));
    EXPECT_EQ(grid().filledCount(), 1);
}

TEST_P(GoodsPickerTest, NothingIsPickedOutsideEntryOrIntoALockedGrid) {
    editableGrid();
    grid().setEditable(false);
    EXPECT_FALSE(picker().pick(0, tea));
    grid().setEditable(true);
    doc->FormMode = kModeView;
    EXPECT_FALSE(picker().pick(0, tea));
    EXPECT_EQ(grid().filledCount(), 0);
    EXPECT_TRUE(messages.empty());
}

TEST_P(GoodsPickerTest, ThePickedServicedGoodsNamesTheRowsServicedGoods) {
    double qty = 1;
    ASSERT_TRUE(lines().FillFlexOneRow(QStringLiteral("1002"), 0, kByGoodCode, false, qty));
    ASSERT_TRUE(picker().pickServiced(0, picker().search(QStringLiteral("کیک"))[0].barcode));
    EXPECT_EQ(line(0).ServicedBarCode, QStringLiteral("5550000000011"));
    EXPECT_EQ(line(0).ServicedGoodName, QStringLiteral("كيك شكلاتي"));
    EXPECT_FALSE(picker().pickServiced(1, tea));
}

SI_INSTANTIATE_BACKENDS(GoodsPickerTest);

}  // namespace
}  // namespace si::test
