// Loading a stored invoice's lines: exact values, free goods, the cut to stock of temporary
// invoices, the quantities held elsewhere, and the stock column and trace.

#include <gtest/gtest.h>

#include "common/Stock.h"
#include "invoice/LinesTestSupport.h"
#include "invoice/TotalsLogic.h"

namespace si {
namespace {

class LinesLoadingTest : public test::LinesTest {
protected:
    int storedInvoice(const QVariant& code = QVariant(), bool fromDispatch = false) {
        test::InvoiceRow row;
        row.inventory = inventory;
        row.code = code;
        const int id = test::AddInvoice(db(), row);
        db().exec(QStringLiteral("update tblSaleInvoice set IsFromDispatch=? where ID=?"),
                  {fromDispatch ? 1 : 0, id});
        return id;
    }
};

TEST_P(LinesLoadingTest, AStoredInvoiceComesBackExactlyWithItsFreeGoodsApart) {
    const int pricing = method(QStringLiteral("عمده"));
    const int lead = employee(QStringLiteral("مريم"));
    const int own = employee(QStringLiteral("علي"));
    good(QStringLiteral("626001"), 1000, piece);
    good(QStringLiteral("626002"), 2000, box);
    good(QStringLiteral("626003"), 500, piece);
    const int id = storedInvoice(15);
    db().exec(QStringLiteral("update tblSaleInvoice set PromoterID=? where ID=?"), {lead, id});
    db().exec(
        QStringLiteral(
            "insert into tblSaleInvoiceDetail (InvoiceID, RowNumber, Barcode, Description, "
            "ScaleID, Qty, RetailPrice, DiscountTypeID, DiscountPercent, DiscountValue, "
            "ServicedBarCode, InitialQty, InitialScaleID, ChangeReasonSequence, PricingMethodID, "
            "PromoterID, IsEchantillon) values (?, 2, '626002', 'قرمز', ?, 3, ?, 2, 4.17, ?, "
            "'626003', 4, ?, 2, ?, ?, 0)"),
        {id, box, QVariant::fromValue(Money::fromRials(24000)),
         QVariant::fromValue(Money::fromRaw(30000005)), piece, pricing, own});
    test::AddInvoiceLine(db(), id, QStringLiteral("626001"), 1.5, 999, piece, 1);
    test::AddInvoiceLine(db(), id, QStringLiteral("626003"), 2, 0, piece, 3);
    db().exec(QStringLiteral("update tblSaleInvoiceDetail set IsEchantillon=1, DiscountPercent=7 "
                             "where Barcode='626003' and InvoiceID=?"),
              {id});
    QList<int> discountsReloaded;
    services->FillDetailDiscount = [&](int row) { discountsReloaded << row; };

    EXPECT_FALSE(lines().FillInvoiceDetailData(id));
    ASSERT_EQ(grid().filledCount(), 2);
    EXPECT_EQ(grid().rows(), 3);
    const InvoiceLine& first = line(0);  // ordered by row number
    EXPECT_EQ(first.BarCode, QStringLiteral("626001"));
    EXPECT_DOUBLE_EQ(first.Qty, 1.5);
    EXPECT_DOUBLE_EQ(first.StoredQty, 1.5);
    EXPECT_EQ(first.UnitPrice, Money::fromRials(999));
    EXPECT_EQ(first.PromoterID, lead);  // the invoice's promoter stands in for a null one
    EXPECT_EQ(first.PromoterName, QStringLiteral("مريم"));
    EXPECT_EQ(first.PricingMethodID, -1);

    const InvoiceLine& second = line(1);
    EXPECT_EQ(second.GoodCode, QStringLiteral("C626002"));
    EXPECT_EQ(second.GoodName, QStringLiteral("كالا 626002"));
    EXPECT_EQ(second.Description, QStringLiteral("قرمز"));
    EXPECT_EQ(second.ServicedBarCode, QStringLiteral("626003"));
    EXPECT_EQ(second.ServicedGoodName, QStringLiteral("كالا 626003"));
    EXPECT_EQ(second.ScaleID, box);
    EXPECT_EQ(second.UnitName, QStringLiteral("كارتن"));
    EXPECT_DOUBLE_EQ(second.Qty, 3);
    EXPECT_DOUBLE_EQ(second.BaseQty, 36);
    EXPECT_EQ(second.UnitPrice, Money::fromRials(24000));
    EXPECT_EQ(second.BaseUnitPrice, Money::fromRials(2000));
    EXPECT_EQ(second.DiscountKind, kDiscountAsValue);
    EXPECT_DOUBLE_EQ(second.DiscountPercent, 4.17);
    EXPECT_EQ(second.DiscountValue, Money::fromRaw(30000005));
    EXPECT_EQ(second.InitialQty, QStringLiteral("4"));
    EXPECT_EQ(second.InitialScaleID, piece);
    EXPECT_EQ(second.ChangeReason, QStringLiteral("2"));
    EXPECT_EQ(second.PricingMethodID, pricing);
    EXPECT_EQ(second.PricingMethodName, QStringLiteral("عمده"));
    EXPECT_EQ(second.PromoterID, own);
    EXPECT_EQ(second.PromoterName, QStringLiteral("علي"));

    ASSERT_EQ(doc->flexEch.filledCount(), 1);
    EXPECT_EQ(doc->flexEch.line(0).BarCode, QStringLiteral("626003"));
    EXPECT_TRUE(doc->flexEch.line(0).IsEchantillon);
    EXPECT_DOUBLE_EQ(doc->flexEch.line(0).DiscountPercent, 7);
    EXPECT_EQ(discountsReloaded, (QList<int>{0, 1}));

    // Loading again replaces the lines.
    EXPECT_FALSE(lines().FillInvoiceDetailData(id));
    EXPECT_EQ(grid().filledCount(), 2);
    EXPECT_EQ(doc->flexEch.filledCount(), 1);
}

// Column 12 is what the shop keeps of a line: its net amount less the goods at their buy price
// (per base unit), whether the line was typed or loaded; the invoice's profit is their sum.
TEST_P(LinesLoadingTest, TheApproximateProfitIsTheNetLessTheGoodsAtTheirBuyPrice) {
    good(QStringLiteral("626001"), 1000, piece);
    good(QStringLiteral("626002"), 30000, box);
    db().exec(QStringLiteral("update tblGood set BuyPrice = 800 where Barcode = '626001'"));
    db().exec(QStringLiteral("update tblGood set BuyPrice = 2100.5 where Barcode = '626002'"));
    receive(QStringLiteral("626001"), 100);
    receive(QStringLiteral("626002"), 100);
    useInventory(inventory, false);
    doc->FormMode = kModeNew;
    ASSERT_TRUE(enter(QStringLiteral("626001"), 3));
    ASSERT_TRUE(enter(QStringLiteral("626002"), 1));
    EXPECT_EQ(line(0).ApproxProfit, Money::fromRials(3000 - 2400));
    // A box of twelve bought at 2100.5 each: 30000 - 25206.
    EXPECT_EQ(line(1).ApproxProfit, Money::fromRials(30000 - 25206));
    EXPECT_EQ(services->totals->CalculateBenefit(), Money::fromRials(600 + 4794));

    const int id = storedInvoice();
    db().exec(QStringLiteral("insert into tblSaleInvoiceDetail (InvoiceID, RowNumber, Barcode, "
                             "ScaleID, Qty, RetailPrice, DiscountTypeID, DiscountPercent, "
                             "IsEchantillon) values (?, 1, '626001', ?, 5, 1000, 1, 10, 0)"),
              {id, piece});
    doc->FormMode = kModeView;
    lines().FillInvoiceDetailData(id);
    ASSERT_EQ(grid().filledCount(), 1);
    EXPECT_EQ(line(0).ApproxProfit, Money::fromRials(4500 - 4000));
    EXPECT_EQ(services->totals->CalculateBenefit(), Money::fromRials(500));
}

TEST_P(LinesLoadingTest, ATemporaryInvoiceOverTheStockIsCutAndSaysSo) {
    stockRule(1);
    good(QStringLiteral("626001"), 1000, kilo);
    good(QStringLiteral("626002"), 1000, box);
    receive(QStringLiteral("626001"), 5);
    receive(QStringLiteral("626002"), 30);
    const int temp = storedInvoice();
    test::AddInvoiceLine(db(), temp, QStringLiteral("626001"), 3, 1000, kilo, 1);
    test::AddInvoiceLine(db(), temp, QStringLiteral("626001"), 3, 1000, kilo, 2);
    test::AddInvoiceLine(db(), temp, QStringLiteral("626002"), 4, 1000, box, 3);

    EXPECT_TRUE(lines().FillInvoiceDetailData(temp));
    EXPECT_DOUBLE_EQ(line(0).Qty, 3);
    EXPECT_DOUBLE_EQ(line(1).Qty, 2);  // what the first row left
    EXPECT_DOUBLE_EQ(line(2).Qty, 2);  // whole boxes only
    EXPECT_DOUBLE_EQ(line(2).BaseQty, 24);
    EXPECT_DOUBLE_EQ(line(0).Stock, 5);
    EXPECT_DOUBLE_EQ(line(1).StoredQty, 3);
    EXPECT_TRUE(messages.empty());  // the header tells the clerk
}

TEST_P(LinesLoadingTest, FinalInvoicesAndInvoicesFromADispatchKeepTheirQuantities) {
    stockRule(1);
    good(QStringLiteral("626001"), 1000, kilo);
    receive(QStringLiteral("626001"), 5);
    struct Case {
        const char* label;
        QVariant code;
        bool fromDispatch;
        int rule;
        bool cut;
    };
    for (const Case& c : {Case{"temporary", QVariant(), false, 1, true},
                          Case{"final", QVariant(31), false, 1, false},
                          Case{"final without number", QVariant(-1), false, 1, false},
                          Case{"from a dispatch", QVariant(), true, 1, false},
                          Case{"no stock rule", QVariant(), false, 0, false}}) {
        SCOPED_TRACE(c.label);
        ctx.params.setNumber(P::StockRule, c.rule);
        const int id = storedInvoice(c.code, c.fromDispatch);
        test::AddInvoiceLine(db(), id, QStringLiteral("626001"), 9, 1000, kilo, 1);
        EXPECT_EQ(lines().FillInvoiceDetailData(id), c.cut);
        EXPECT_DOUBLE_EQ(line(0).Qty, c.cut ? 5 : 9);
    }
}

TEST_P(LinesLoadingTest, AnInvoiceDoesNotCompeteWithItsOwnDispatch) {
    stockRule(1);
    useParameter(P::ShowTempQty, QStringLiteral("1"));
    good(QStringLiteral("626001"), 1000, kilo);
    receive(QStringLiteral("626001"), 10);
    const int id = storedInvoice();
    test::AddInvoiceLine(db(), id, QStringLiteral("626001"), 10, 1000, kilo, 1);
    dispatch(QStringLiteral("626001"), 10, now.date(), id);
    const int other = storedInvoice();
    test::AddInvoiceLine(db(), other, QStringLiteral("626001"), 4, 1000, kilo, 1);

    EXPECT_FALSE(lines().FillInvoiceDetailData(id));
    EXPECT_DOUBLE_EQ(line(0).Stock, 10);
    EXPECT_DOUBLE_EQ(line(0).TempQty, 4);  // the other temporary invoice
    EXPECT_DOUBLE_EQ(line(0).Qty, 10);
}

TEST_P(LinesLoadingTest, TheStockColumnFollowsTheInventory) {
    good(QStringLiteral("626001"), 1000, piece);
    good(QStringLiteral("626002"), 1000, piece);
    receive(QStringLiteral("626001"), 7);
    const int second = test::AddInventory(db(), QStringLiteral("انبار دوم"));
    test::Receive(db(), second, QStringLiteral("626002"), 3, now.date());
    ASSERT_TRUE(enter(QStringLiteral("626001")));
    ASSERT_TRUE(enter(QStringLiteral("626002")));
    EXPECT_DOUBLE_EQ(line(0).Stock, 7);
    EXPECT_DOUBLE_EQ(line(1).Stock, 0);

    useInventory(second, false);
    lines().RecomputeStockColumn();
    EXPECT_DOUBLE_EQ(line(0).Stock, 0);
    EXPECT_DOUBLE_EQ(line(1).Stock, 3);
    EXPECT_EQ(grid().cellText(1, Col::Stock), QStringLiteral("3"));
}

TEST_P(LinesLoadingTest, TheStockTraceRunsUpToTheStockOnHand) {
    const int id = storedInvoice();
    doc->txtID = QString::number(id);
    good(QStringLiteral("626001"), 1000, piece);
    test::Receive(db(), inventory, QStringLiteral("626001"), 2, now.date().addDays(-20));
    db().exec(QStringLiteral("update tblInventoryReceiptDetail set ScaleID=? where Barcode=?"),
              {box, QStringLiteral("626001")});  // two boxes: 24 pieces
    dispatch(QStringLiteral("626001"), 5, now.date().addDays(-15));
    test::Receive(db(), inventory, QStringLiteral("626001"), 6, now.date().addDays(-3));
    dispatch(QStringLiteral("626001"), 4, now.date(), id);         // the invoice's own
    dispatch(QStringLiteral("626001"), 1, now.date().addDays(1));  // after the invoice date
    dispatch(QStringLiteral("626001"), 9, now.date(), -1,
             test::AddInventory(db(), QStringLiteral("ديگر")));

    const QVector<StockTraceRow> trace = lines().stockTrace(QStringLiteral("626001"));
    ASSERT_EQ(trace.size(), 3);
    EXPECT_DOUBLE_EQ(trace[0].received, 24);
    EXPECT_DOUBLE_EQ(trace[0].balance, 24);
    EXPECT_DOUBLE_EQ(trace[1].dispatched, 5);
    EXPECT_DOUBLE_EQ(trace[1].balance, 19);
    EXPECT_DOUBLE_EQ(trace[2].received, 6);
    EXPECT_EQ(trace[2].farsiDate, getFarsiDate(now.date().addDays(-3)));
    EXPECT_TRUE(trace[1].document.startsWith(QStringLiteral("حواله انبار")));
    EXPECT_DOUBLE_EQ(trace.last().balance, lines().StockOnHand(QStringLiteral("626001")));
    EXPECT_DOUBLE_EQ(trace.last().balance, 25);
}

TEST_P(LinesLoadingTest, GroupedStockAgreesWithTheSingleLookup) {
    QStringList barcodes;
    for (int i = 0; i < 850; ++i) {  // more than one statement's worth on either database
        const QString barcode = QStringLiteral("B%1").arg(i);
        barcodes << barcode;
        if (i % 7 == 0) test::Receive(db(), inventory, barcode, i + 1, now.date());
    }
    dispatch(QStringLiteral("B7"), 3, now.date());
    const auto stocks = InventoryStocks(ctx, inventory, barcodes, now.date(), -1);
    for (const QString& barcode :
         {QStringLiteral("B0"), QStringLiteral("B7"), QStringLiteral("B441"), QStringLiteral("B5")})
        EXPECT_DOUBLE_EQ(stocks.value(barcode),
                         InventoryStock(ctx, inventory, barcode, now.date(), -1))
            << barcode.toStdString();
    EXPECT_DOUBLE_EQ(stocks.value(QStringLiteral("B441")), 442);
}

// The stored lines' stock, quantities held elsewhere, tax flags and discount parts are asked for
// all lines at once: 200 lines load with as many statements as 20.
TEST_P(LinesLoadingTest, StatementsOfALoadDoNotGrowWithTheLines) {
    stockRule(1);
    doc->chkIsFormal = true;
    const auto statementsToLoad = [&](int count) {
        const int id = storedInvoice();  // temporary: held to the stock, some lines cut
        for (int i = 0; i < count; ++i) {
            const QString barcode = QStringLiteral("L%1-%2").arg(count).arg(i);
            good(barcode, 1000 + i, i % 2 ? piece : kilo);
            receive(barcode, i % 3 ? 10 : 0.5);
            test::AddInvoiceLine(db(), id, barcode, 2, 1000 + i, i % 2 ? piece : kilo, i + 1);
        }
        const qint64 before = db().statementCount();
        EXPECT_TRUE(lines().FillInvoiceDetailData(id));
        EXPECT_EQ(grid().filledCount(), count);
        return db().statementCount() - before;
    };
    const qint64 few = statementsToLoad(20);
    const qint64 many = statementsToLoad(200);
    EXPECT_LE(many, few + 2) << few << " statements for 20 lines, " << many << " for 200";
}

SI_INSTANTIATE_BACKENDS(LinesLoadingTest);

}  // namespace
}  // namespace si
