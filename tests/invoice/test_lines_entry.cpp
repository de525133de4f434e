// Resolving a typed code or barcode into a line: duplicates, look-up, sale rules, stock, prices,
// attached goods and silent entry.

#include <gtest/gtest.h>

#include "invoice/LinesTestSupport.h"
#include "invoice/TotalsLogic.h"

namespace si {
namespace {

const QString kDuplicate = QStringLiteral("كالا تكراري است");
const QString kNoSuchGoods = QStringLiteral("چنين كالايي وجود ندارد");
const QString kNotForSale = QStringLiteral("اين کالا قابل فروش نميباشد");
const QString kNoStock = QStringLiteral("از اين كالا موجودي قابل فروش نداريم");

class LinesEntryTest : public test::LinesTest {};

TEST_P(LinesEntryTest, DuplicateGoodsRefusedUnlessARepeatParameterIsOn) {
    struct Case {
        int parameter;  // 0: none
        bool accepted;
    };
    for (const Case& c : {Case{0, false}, Case{P::ShopMode, true}, Case{P::LineDescription, true},
                          Case{P::RepeatGoods, true}}) {
        SCOPED_TRACE(c.parameter);
        ctx.params.resetToDefaults();
        if (c.parameter) ctx.params.setFlag(c.parameter, true);
        grid().clear();
        messages.clear();
        if (c.parameter == 0) good(QStringLiteral("AB12"), 1000, piece);
        ASSERT_TRUE(enter(QStringLiteral("AB12")));
        // Compared trimmed and without case, before the goods are looked up.
        EXPECT_EQ(enter(QStringLiteral(" ab12 ")), false);
        EXPECT_EQ(enter(QStringLiteral("AB12")), c.accepted);
        EXPECT_EQ(grid().filledCount(), c.accepted ? 2 : 1);
        if (!c.accepted) {
            ASSERT_EQ(messages.shown().size(), 2u);
            EXPECT_EQ(messages.last().caption, QStringLiteral("خطا"));
            EXPECT_EQ(messages.last().text, kDuplicate);
        }
    }
}

TEST_P(LinesEntryTest, DuplicateCodesCompareTheCodeColumn) {
    good(QStringLiteral("626001"), 1000, piece);
    double qty = 1;
    ASSERT_TRUE(lines().FillFlexOneRow(QStringLiteral("C626001"), 0, kByGoodCode, false, qty));
    qty = 1;
    EXPECT_FALSE(lines().FillFlexOneRow(QStringLiteral("c626001"), 1, kByGoodCode, false, qty));
    EXPECT_EQ(messages.last().text, kDuplicate);
    // Re-typing a row's own code is no duplicate of itself.
    qty = 1;
    EXPECT_TRUE(lines().FillFlexOneRow(QStringLiteral("C626001"), 0, kByGoodCode, false, qty));
}

TEST_P(LinesEntryTest, GoodsFoundByCodeOrBarcodeFillTheRow) {
    const int pricing = method(QStringLiteral("خرده فروشي"));
    const int promoter = employee(QStringLiteral("رضا"));
    doc->sltPricingMethod.setIDQuietly(pricing, QStringLiteral("خرده فروشي"));
    doc->sltPromoter.setIDQuietly(promoter, QStringLiteral("رضا"));
    const int group = static_cast<int>(db().insertReturningId(
        QStringLiteral("insert into tblGoodGroup (Name) values ('نوشيدني') RETURNING ID")));
    good(QStringLiteral("626001"), 25000, kilo);
    db().exec(QStringLiteral("update tblGood set GoodGroupID=? where Barcode='626001'"), {group});
    good(QStringLiteral("626002"), 4000, piece);

    double qty = 2.5;
    ASSERT_TRUE(lines().FillFlexOneRow(QStringLiteral(" C626001 "), 0, kByGoodCode, false, qty));
    EXPECT_DOUBLE_EQ(qty, 2.5);
    const InvoiceLine& byCode = line(0);
    EXPECT_EQ(byCode.BarCode, QStringLiteral("626001"));
    EXPECT_EQ(byCode.GoodCode, QStringLiteral("C626001"));
    EXPECT_EQ(byCode.GoodName, QStringLiteral("كالا 626001"));
    EXPECT_EQ(byCode.UnitName, QStringLiteral("كيلوگرم"));
    EXPECT_EQ(byCode.ScaleID, kilo);
    EXPECT_DOUBLE_EQ(byCode.Qty, 2.5);
    EXPECT_DOUBLE_EQ(byCode.BaseQty, 2.5);
    EXPECT_EQ(byCode.UnitPrice, Money::fromRials(25000));
    EXPECT_EQ(byCode.PricingMethodID, pricing);
    EXPECT_EQ(byCode.PricingMethodName, QStringLiteral("خرده فروشي"));
    EXPECT_EQ(byCode.PromoterID, promoter);
    EXPECT_EQ(byCode.PromoterName, QStringLiteral("رضا"));
    EXPECT_EQ(byCode.GoodGroupID, group);
    EXPECT_EQ(lines().currentRow(), 1);

    ASSERT_TRUE(enter(QStringLiteral("626002"), 3));
    EXPECT_EQ(line(1).GoodCode, QStringLiteral("C626002"));
    EXPECT_DOUBLE_EQ(line(1).Qty, 3);
    EXPECT_EQ(grid().rows(), 3);  // the next entry row is there
    EXPECT_FALSE(line(2).isFilled());
    EXPECT_EQ(lines().currentRow(), 2);
}

TEST_P(LinesEntryTest, UnknownGoodsLeaveTheRowEmpty) {
    good(QStringLiteral("626001"), 1000, piece);
    EXPECT_FALSE(enter(QStringLiteral("999999")));
    EXPECT_EQ(messages.last().text, kNoSuchGoods);
    EXPECT_EQ(messages.last().caption, QStringLiteral("خطا"));
    EXPECT_EQ(grid().rows(), 1);
    EXPECT_FALSE(line(0).isFilled());
}

TEST_P(LinesEntryTest, ReplacingTheGoodsOfARowKeepsItWhenRefused) {
    good(QStringLiteral("626001"), 1000, piece);
    ASSERT_TRUE(enter(QStringLiteral("626001"), 4));
    double qty = 1;
    EXPECT_FALSE(lines().FillFlexOneRow(QStringLiteral("404"), 0, kByBarcode, false, qty));
    EXPECT_EQ(line(0).BarCode, QStringLiteral("626001"));
    EXPECT_DOUBLE_EQ(line(0).Qty, 4);
}

TEST_P(LinesEntryTest, GoodsNotForSaleInTheInventoryAreRefused) {
    good(QStringLiteral("626001"), 1000, piece);
    const int other = test::AddInventory(db(), QStringLiteral("انبار دوم"));
    db().exec(QStringLiteral("insert into tblInventoryGoodInfo (InventoryID, Barcode, NotForSale) "
                             "values (?, '626001', 1)"),
              {inventory});
    EXPECT_FALSE(lines().IsForSale(QStringLiteral("626001"), inventory));
    EXPECT_FALSE(enter(QStringLiteral("626001")));
    EXPECT_EQ(messages.last().text, kNotForSale);

    useInventory(other, false);
    EXPECT_TRUE(enter(QStringLiteral("626001")));
}

TEST_P(LinesEntryTest, AShortfallCutsToTheStockInTheLinesUnitWhileStockRemains) {
    stockRule(1);
    const int pack = test::AddUnit(db(), QStringLiteral("بسته"), 4, false);
    good(QStringLiteral("626001"), 1000, pack);
    receive(QStringLiteral("626001"), 10);
    useParameter(P::RepeatGoods, QStringLiteral("1"));

    double qty = 5;  // 20 base units wanted, 10 on hand
    ASSERT_TRUE(lines().FillFlexOneRow(QStringLiteral("626001"), 0, kByBarcode, false, qty));
    EXPECT_DOUBLE_EQ(qty, 2.5);
    EXPECT_DOUBLE_EQ(line(0).Qty, 2.5);
    EXPECT_DOUBLE_EQ(line(0).BaseQty, 10);
    EXPECT_DOUBLE_EQ(line(0).Stock, 10);
    EXPECT_TRUE(messages.empty());

    // The first row took everything: nothing is left for a second one.
    EXPECT_FALSE(enter(QStringLiteral("626001")));
    EXPECT_EQ(messages.last().text, kNoStock);
    EXPECT_EQ(messages.last().caption, QStringLiteral("خطا"));
    EXPECT_EQ(grid().filledCount(), 1);
}

TEST_P(LinesEntryTest, AWholeNumberUnitIsRefusedRatherThanCutToAFraction) {
    stockRule(1);
    good(QStringLiteral("626001"), 1000, box);
    receive(QStringLiteral("626001"), 30);  // two and a half boxes

    EXPECT_FALSE(enter(QStringLiteral("626001"), 3));
    EXPECT_EQ(messages.last().text,
              QStringLiteral("حداكثر موجودي قابل فروش از اين كالا،2عدد است."));
    EXPECT_FALSE(line(0).isFilled());
    EXPECT_TRUE(enter(QStringLiteral("626001"), 2));
}

TEST_P(LinesEntryTest, StockRuleTwoChecksOnlyInventoriesThatAskForIt) {
    good(QStringLiteral("626001"), 1000, kilo);
    receive(QStringLiteral("626001"), 3);
    struct Case {
        int rule;
        bool checkExistance;
        bool checked;
    };
    for (const Case& c :
         {Case{0, true, false}, Case{1, false, true}, Case{2, false, false}, Case{2, true, true}}) {
        SCOPED_TRACE(QStringLiteral("rule %1 CheckExistance %2")
                         .arg(c.rule)
                         .arg(c.checkExistance)
                         .toStdString());
        stockRule(c.rule);
        useInventory(inventory, c.checkExistance);
        grid().clear();
        EXPECT_EQ(lines().stockChecked(), c.checked);
        double qty = 50;
        ASSERT_TRUE(lines().FillFlexOneRow(QStringLiteral("626001"), 0, kByBarcode, false, qty));
        EXPECT_DOUBLE_EQ(line(0).Qty, c.checked ? 3 : 50);
    }
}

TEST_P(LinesEntryTest, PriceAndDiscountComeFromTheMethodElseFromTheGoods) {
    const int pricing = method(QStringLiteral("عمده"));
    doc->sltPricingMethod.setIDQuietly(pricing, QStringLiteral("عمده"));
    good(QStringLiteral("A"), 1000, piece);
    good(QStringLiteral("B"), 1000, piece);
    good(QStringLiteral("C"), 1000, piece);
    good(QStringLiteral("D"), 1000, piece);
    good(QStringLiteral("E"), 1000, piece);
    salePrice(QStringLiteral("A"), pricing, QVariant::fromValue(Money::fromRials(900)), 1, 5, 0);
    salePrice(QStringLiteral("B"), pricing, QVariant(), 0, 5, 70);  // price of tblGood
    db().exec(
        QStringLiteral("update tblGood set StandardDiscountPercent=3, "
                       "StandardDiscountValue=40 where Barcode='C'"));
    db().exec(QStringLiteral("update tblGood set StandardDiscountValue=40 where Barcode='D'"));

    struct Expect {
        const char* barcode;
        qint64 price;
        int kind;
        double percent;
        qint64 value;
    };
    const Expect cases[] = {{"A", 900, kDiscountAsPercent, 5, -1},
                            {"B", 1000, kDiscountAsValue, -1, 70},
                            {"C", 1000, kDiscountAsPercent, 3, -1},
                            {"D", 1000, kDiscountAsValue, -1, 40},
                            {"E", 1000, kDiscountAsPercent, 0, -1}};
    for (const Expect& e : cases) {
        SCOPED_TRACE(e.barcode);
        const int row = grid().rows() - 1;
        ASSERT_TRUE(enter(QString::fromLatin1(e.barcode)));
        EXPECT_EQ(line(row).UnitPrice, Money::fromRials(e.price));
        EXPECT_EQ(line(row).DiscountKind, e.kind);
        if (e.percent >= 0) {
            EXPECT_DOUBLE_EQ(line(row).DiscountPercent, e.percent);
        }
        if (e.value >= 0) {
            EXPECT_EQ(line(row).DiscountValue, Money::fromRials(e.value));
        }
    }
}

TEST_P(LinesEntryTest, BaseUnitPricesAreConvertedToTheLinesUnitWithParameter24) {
    useParameter(P::BaseUnitPrice, QStringLiteral("1"));
    good(QStringLiteral("626001"), 1000, box);
    ASSERT_TRUE(enter(QStringLiteral("626001")));
    EXPECT_EQ(line(0).UnitPrice, Money::fromRials(12000));
    EXPECT_EQ(line(0).BaseUnitPrice, Money::fromRials(1000));
    EXPECT_DOUBLE_EQ(line(0).BaseQty, 12);

    // Round(price x factor, 0) rounds a half to the even Rial.
    struct Case {
        const char* barcode;
        qint64 tenThousandths;
        qint64 expected;
    };
    for (const Case& c : {Case{"H1", 25000, 2}, Case{"H2", 35000, 4}, Case{"H3", 25001, 3}}) {
        db().exec(QStringLiteral("insert into tblGood (Barcode, Code, Name, RetailPrice, ScaleID, "
                                 "SaleScaleID) values (?, ?, 'نيم', ?, ?, ?)"),
                  {QString::fromLatin1(c.barcode), QString::fromLatin1(c.barcode),
                   QVariant::fromValue(Money::fromRaw(c.tenThousandths)), piece, piece});
        const int row = grid().rows() - 1;
        ASSERT_TRUE(enter(QString::fromLatin1(c.barcode)));
        EXPECT_EQ(line(row).UnitPrice, Money::fromRials(c.expected)) << c.barcode;
    }
}

TEST_P(LinesEntryTest, AttachedGoodsFollowAsFurtherRows) {
    const int tea = good(QStringLiteral("626001"), 1000, piece);
    const int cup = good(QStringLiteral("626002"), 500, piece);
    const int spoon = good(QStringLiteral("626003"), 200, piece);
    attach(tea, cup);
    attach(tea, spoon);
    attach(cup, tea);  // a cycle must not loop
    useParameter(P::RepeatGoods, QStringLiteral("1"));

    ASSERT_TRUE(enter(QStringLiteral("626001"), 2));
    ASSERT_EQ(grid().filledCount(), 3);
    EXPECT_EQ(line(0).BarCode, QStringLiteral("626001"));
    EXPECT_EQ(line(1).BarCode, QStringLiteral("626002"));
    EXPECT_EQ(line(2).BarCode, QStringLiteral("626003"));
    EXPECT_DOUBLE_EQ(line(1).Qty, 1);
    EXPECT_EQ(lines().currentRow(), 3);
    EXPECT_FALSE(line(3).isFilled());
}

TEST_P(LinesEntryTest, SilentEntryFlashesItsRefusalsInsteadOfAskingTheClerk) {
    QStringList flashed;
    QObject::connect(doc.get(), &InvoiceDocument::flash,
                     [&flashed](const QString& text) { flashed << text; });
    EXPECT_FALSE(enter(QStringLiteral("404"), 1, /*silent=*/true));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(flashed, QStringList{kNoSuchGoods});
    EXPECT_EQ(doc->lblErrMessage, kNoSuchGoods);

    stockRule(1);
    good(QStringLiteral("626001"), 1000, piece);
    EXPECT_FALSE(enter(QStringLiteral("626001"), 1, true));
    EXPECT_EQ(doc->lblErrMessage, kNoStock);
    EXPECT_TRUE(messages.empty());
}

TEST_P(LinesEntryTest, ShopModeTypingFlashesToo) {
    useParameter(P::ShopMode, QStringLiteral("1"));
    grid().setEditable(true);
    lines().configureColumns();
    EXPECT_FALSE(lines().commitCell(0, Col::BarCode, QStringLiteral("404")));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(doc->lblErrMessage, kNoSuchGoods);
}

TEST_P(LinesEntryTest, AWeighingLabelGivesTheGoodsAndItsWeight) {
    good(QStringLiteral("626001"), 80000, kilo);
    lines().IsScaleBarcode = [](const QString& text, QString& barcode, double& weight) {
        if (text != QStringLiteral("2112345012500")) return false;
        barcode = QStringLiteral("626001");
        weight = 1.25;
        return true;
    };
    double qty = 1;
    ASSERT_TRUE(
        lines().FillFlexOneRow(QStringLiteral("2112345012500"), 0, kByGoodCode, false, qty));
    EXPECT_EQ(line(0).BarCode, QStringLiteral("626001"));
    EXPECT_DOUBLE_EQ(line(0).Qty, 1.25);
}

TEST_P(LinesEntryTest, QuantitiesHeldElsewhereAreShownInBaseUnits) {
    useParameter(P::RepeatGoods, QStringLiteral("1"));
    good(QStringLiteral("626001"), 1000, piece);
    test::InvoiceRow temp;
    temp.inventory = inventory;
    const int tempInvoice = test::AddInvoice(db(), temp);
    test::AddInvoiceLine(db(), tempInvoice, QStringLiteral("626001"), 2, 1000, box, 1);
    temp.code = 15;  // a final invoice holds nothing
    test::AddInvoiceLine(db(), test::AddInvoice(db(), temp), QStringLiteral("626001"), 5, 1000,
                         piece, 1);
    const int order = static_cast<int>(db().insertReturningId(
        QStringLiteral("insert into tblSaleOrder (InventoryID) values (?) RETURNING ID"),
        {inventory}));
    db().exec(QStringLiteral("insert into tblSaleOrderDetail (OrderID, Barcode, ScaleID, Qty) "
                             "values (?, '626001', ?, 10)"),
              {order, piece});
    test::InvoiceRow fromOrder;
    fromOrder.inventory = inventory;
    fromOrder.code = 16;
    const int sold = test::AddInvoice(db(), fromOrder);
    db().exec(QStringLiteral("update tblSaleInvoice set SaleOrderID=? where ID=?"), {order, sold});
    test::AddInvoiceLine(db(), sold, QStringLiteral("626001"), 4, 1000, piece, 1);

    ASSERT_TRUE(enter(QStringLiteral("626001")));
    EXPECT_DOUBLE_EQ(line(0).TempQty, 0);  // shown only with parameter 88
    EXPECT_DOUBLE_EQ(line(0).ReservedQty, 6);
    useParameter(P::ShowTempQty, QStringLiteral("1"));
    ASSERT_TRUE(enter(QStringLiteral("626001")));
    EXPECT_DOUBLE_EQ(line(1).TempQty, 24);

    // With parameter 88 the temporary invoices' goods count as gone.
    receive(QStringLiteral("626001"), 30);
    EXPECT_DOUBLE_EQ(lines().AvailableQty(QStringLiteral("626001"), 1), 30 - 1 - 24);
    useParameter(P::ShowTempQty, QStringLiteral("0"));
    EXPECT_DOUBLE_EQ(lines().AvailableQty(QStringLiteral("626001"), 1), 30 - 1);
}

SI_INSTANTIATE_BACKENDS(LinesEntryTest);

}  // namespace
}  // namespace si
