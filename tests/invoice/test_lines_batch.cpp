// Lines known beforehand entered in a batch: the same lines and messages as typing them one by
// one, a number of statements that does not grow with the lines, and nothing kept afterwards.

#include <gtest/gtest.h>

#include "invoice/DiscountTestSupport.h"
#include "invoice/LineLookups.h"
#include "invoice/ScaleInput.h"

namespace si {
namespace {

// A text entered into the last row, as typed or scanned.
struct Entry {
    QString text;
    int kind = kByBarcode;
    double qty = 1;
};

// What entering left: every cell of the grid, the boxes shown, the flashes and the total.
struct Outcome {
    QStringList cells;
    QStringList messages;
    QStringList flashes;
    Money grandTotal;
};

class LinesBatchTest : public test::DiscountTest {
protected:
    void SetUp() override {
        DiscountTest::SetUp();
        stockRule(1);
        useParameter(P::ShowTempQty, QStringLiteral("1"));
        useParameter(P::StandardExcludesCard, QStringLiteral("0"));
        useParameter(P::ScaleLayout1, QStringLiteral("21CCCCCNNFFF"));
        useParameter(P::ScaleLayout2, QStringLiteral("BBBBBBNNNFFF"));
        db().exec(QStringLiteral("insert into tblSaleTaxCostsConfiguration (BeginDate, EndDate, "
                                 "TaxPercent, AddedPercent) values (?, ?, 9, 3)"),
                  {now.date().addYears(-1), now.date().addYears(1)});
        pricing = method(QStringLiteral("خرده فروشي"));
        card = cardType(QStringLiteral("طلايي"));
        buyer = customer(birthdayToday(), card, 10);
    }

    // A goods item with stock in the main inventory.
    void stocked(const QString& barcode, qint64 price, double qty, int unit = -1) {
        good(barcode, price, unit > 0 ? unit : piece);
        receive(barcode, qty);
    }

    // Goods of every kind the entry of a line tells apart.
    QVector<Entry> mixedEntries() {
        stocked(QStringLiteral("A1"), 1000, 10);
        stocked(QStringLiteral("A2"), 2000, 10);
        salePrice(QStringLiteral("A2"), pricing, QVariant::fromValue(Money::fromRials(2500)), 1, 5,
                  0);
        stocked(QStringLiteral("A3"), 3000, 10);
        salePrice(QStringLiteral("A3"), pricing, QVariant(), 0, 0, 300);  // the goods' own price
        stocked(QStringLiteral("A4"), 4000, 10);
        standardDiscount(QStringLiteral("A4"), 7);
        cardDiscount(card, QStringLiteral("A4"), QVariant(), 4);
        cardDiscount(card, QStringLiteral("A4"), QVariant(), 6, true);
        stocked(QStringLiteral("A5"), 0, 10);
        db().exec(QStringLiteral("update tblGood set RetailPrice=NULL where Barcode='A5'"));
        stocked(QStringLiteral("A6"), 1000, 10);
        db().exec(QStringLiteral("insert into tblInventoryGoodInfo (InventoryID, Barcode, "
                                 "NotForSale) values (?, 'A6', 1)"),
                  {inventory});
        good(QStringLiteral("A7"), 1000, piece);  // never received
        stocked(QStringLiteral("A8"), 5000, 2.5, kilo);
        stocked(QStringLiteral("A9"), 1000, 30, box);  // 30 pieces: two boxes and a half
        const int withAttached = test::AddGood(db(), QStringLiteral("B1"), QStringLiteral("CB1"),
                                               QStringLiteral("كالا B1"), 1500, piece);
        receive(QStringLiteral("B1"), 5);
        attach(withAttached, good(QStringLiteral("B2"), 500, piece));
        receive(QStringLiteral("B2"), 5);
        stocked(QStringLiteral("D1"), 6000, 10);
        test::AddGood(db(), QStringLiteral("E1"), QStringLiteral("SHARED"), QStringLiteral("E1"),
                      100, piece);
        test::AddGood(db(), QStringLiteral("E2"), QStringLiteral("SHARED"), QStringLiteral("E2"),
                      200, piece);
        receive(QStringLiteral("E1"), 5);
        receive(QStringLiteral("E2"), 5);
        test::AddGood(db(), QStringLiteral("626001"), QStringLiteral("12345"),
                      QStringLiteral("گوشت"), 800000, kilo);
        receive(QStringLiteral("626001"), 50);
        stocked(QStringLiteral("626002"), 900, 50, kilo);
        db().exec(QStringLiteral("insert into tblGoodTaxAddedInfo (Barcode, BeginDate, EndDate, "
                                 "HasTax, HasAdded, TaxPercent, AddedPercent) values "
                                 "('A1', ?, ?, 1, 0, 5, 0)"),
                  {now.date().addDays(-1), now.date().addDays(1)});
        db().exec(QStringLiteral("update tblGood set HasTax=1, HasAdded=1 where Barcode='A2'"));
        test::InvoiceRow held;
        held.inventory = inventory;
        test::AddInvoiceLine(db(), test::AddInvoice(db(), held), QStringLiteral("A1"), 2, 1000,
                             piece, 1);
        return {{QStringLiteral("A1")},
                {QStringLiteral(" A2 ")},
                {QStringLiteral("A3"), kByBarcode, 2},
                {QStringLiteral("A4")},
                {QStringLiteral("A5")},
                {QStringLiteral("A6")},
                {QStringLiteral("A7")},
                {QStringLiteral("A8"), kByBarcode, 4},
                {QStringLiteral("A9"), kByBarcode, 3},
                {QStringLiteral("B1")},
                {QStringLiteral("ZZZ")},
                {QStringLiteral("A1")},
                {QStringLiteral("CD1"), kByGoodCode},
                {QStringLiteral("SHARED"), kByGoodCode},
                {QStringLiteral("NOCODE"), kByGoodCode},
                {QStringLiteral("211234501250")},
                {QStringLiteral("626002001500")},
                {QStringLiteral("A8")}};
    }

    // A new invoice on the main inventory, priced by the method, for the customer with the card.
    void prepare(InvoiceDocument& d) {
        d.FormMode = kModeNew;
        d.datCreateDate = now.date();
        d.chkIsFormal = true;
        d.sltInventory.setIDQuietly(inventory, QStringLiteral("انبار"));
        d.inventory.InvCE = 1;
        d.sltPricingMethod.setIDQuietly(pricing, QStringLiteral("خرده فروشي"));
        d.sltCustomer.setIDQuietly(buyer, QStringLiteral("مشتري"));
        d.sltCRMCardType.setIDQuietly(card, QStringLiteral("کارت"));
    }

    Outcome enterAll(const QVector<Entry>& entries, bool batched) {
        InvoiceDocument d(ctx);
        InvoiceServices s(ctx, d);
        prepare(d);
        Outcome o;
        QObject::connect(&d, &InvoiceDocument::flash, [&o](const QString& t) { o.flashes << t; });
        messages.clear();
        QStringList barcodes;
        QStringList codes;
        for (const Entry& e : entries)
            (e.kind == kByGoodCode ? codes : barcodes) << e.text;
        std::optional<LineLookups::Batch> batch;
        if (batched) batch.emplace(*s.lookups, barcodes, codes);
        for (const Entry& e : entries) {
            double qty = e.qty;
            s.lines->FillFlexOneRow(e.text, d.flexDetail.rows() - 1, e.kind, false, qty);
        }
        batch.reset();
        for (int row = 0; row < d.flexDetail.rows(); ++row)
            for (int col = 0; col < Col::Count; ++col)
                o.cells << d.flexDetail.cellText(row, col);
        for (const auto& m : messages.shown())
            o.messages << m.caption + QLatin1Char(':') + m.text;
        o.grandTotal = d.totals.GrandTotal;
        return o;
    }

    // Statements run to enter the barcodes, in one batch or one by one.
    qint64 statementsToEnter(const QStringList& barcodes, bool batched) {
        InvoiceDocument d(ctx);
        InvoiceServices s(ctx, d);
        prepare(d);
        const qint64 before = db().statementCount();
        {
            std::optional<LineLookups::Batch> batch;
            if (batched) batch.emplace(*s.lookups, barcodes);
            for (const QString& barcode : barcodes) {
                double qty = 1;
                EXPECT_TRUE(s.lines->FillFlexOneRow(barcode, d.flexDetail.rows() - 1, kByBarcode,
                                                    false, qty))
                    << barcode.toStdString() << messages.texts().join(u'|').toStdString();
            }
        }
        EXPECT_EQ(d.flexDetail.filledCount(), barcodes.size());
        return db().statementCount() - before;
    }

    QStringList manyGoods(int count) {
        QStringList list;
        for (int i = 0; i < count; ++i) {
            const QString barcode = QStringLiteral("M%1").arg(i, 4, 10, QLatin1Char('0'));
            stocked(barcode, 1000 + i, 10);
            list << barcode;
        }
        return list;
    }

    int pricing = -1;
    int card = -1;
    int buyer = -1;
};

TEST_P(LinesBatchTest, ABatchEntersWhatTypingOneByOneEnters) {
    const QVector<Entry> entries = mixedEntries();
    const Outcome typed = enterAll(entries, false);
    const Outcome batched = enterAll(entries, true);
    EXPECT_EQ(batched.cells, typed.cells);
    EXPECT_EQ(batched.messages, typed.messages);
    EXPECT_EQ(batched.flashes, typed.flashes);
    EXPECT_EQ(batched.grandTotal, typed.grandTotal);

    // The cases are all there: prices, refusals, the cut, the attached goods and the labels.
    const QString refusals = typed.messages.join(u'|');
    for (const char* text : {"چنين كالايي وجود ندارد", "اين کالا قابل فروش نميباشد",
                             "از اين كالا موجودي قابل فروش نداريم", "كالا تكراري است"})
        EXPECT_TRUE(refusals.contains(QString::fromUtf8(text))) << text;
    QStringList entered;
    for (int i = 0; i < typed.cells.size(); i += Col::Count)
        if (!typed.cells[i + Col::BarCode].isEmpty()) entered << typed.cells[i + Col::BarCode];
    EXPECT_EQ(entered, (QStringList{"A1", "A2", "A3", "A4", "A5", "A8", "B1", "B2", "D1", "E1",
                                    "626001", "626002"}));
    EXPECT_FALSE(batched.flashes.isEmpty());  // the card and birthday parts of A4
}

// Without a stock check or with repeated goods allowed, the same holds.
TEST_P(LinesBatchTest, ABatchFollowsTheParametersAsTypingDoes) {
    const QVector<Entry> entries = mixedEntries();
    for (const auto& [parameter, value] :
         {std::pair{P::StockRule, "0"}, std::pair{P::RepeatGoods, "1"},
          std::pair{P::StandardExcludesCard, "1"}}) {
        SCOPED_TRACE(parameter);
        useParameter(parameter, QString::fromLatin1(value));
        const Outcome typed = enterAll(entries, false);
        const Outcome batched = enterAll(entries, true);
        EXPECT_EQ(batched.cells, typed.cells);
        EXPECT_EQ(batched.messages, typed.messages);
        EXPECT_EQ(batched.flashes, typed.flashes);
    }
}

TEST_P(LinesBatchTest, StatementsDoNotGrowWithTheLines) {
    const QStringList goods = manyGoods(60);
    const qint64 few = statementsToEnter(goods.mid(0, 6), true);
    const qint64 many = statementsToEnter(goods, true);
    EXPECT_LE(many, few + 2) << few << " statements for 6 lines, " << many << " for 60";
    EXPECT_LT(many, statementsToEnter(goods.mid(0, 6), false));
}

// A line typed after the batch is asked afresh: what the batch read is gone with it.
TEST_P(LinesBatchTest, NothingIsKeptAfterTheBatch) {
    const QStringList goods = manyGoods(3);
    prepare(*doc);
    {
        const LineLookups::Batch batch(*services->lookups, goods);
        ASSERT_TRUE(enter(goods[0]));
        ASSERT_TRUE(enter(goods[1]));
    }
    db().exec(QStringLiteral("insert into tblInventoryGoodInfo (InventoryID, Barcode, NotForSale) "
                             "values (?, ?, 1)"),
              {inventory, goods[2]});
    const qint64 before = db().statementCount();
    EXPECT_FALSE(enter(goods[2]));
    EXPECT_EQ(messages.last().text, QStringLiteral("اين کالا قابل فروش نميباشد"));
    EXPECT_EQ(db().statementCount() - before, 2);  // the goods, then the sale rule
}

class BatchedBeepFileTest : public LinesBatchTest {
protected:
    // A new invoice after reading the file at once, or line by line (each line alone is read
    // as typed), and the statements the reading ran.
    std::pair<Outcome, qint64> read(const QStringList& file, bool lineByLine = false) {
        InvoiceDocument d(ctx);
        InvoiceServices s(ctx, d);
        prepare(d);
        d.flexDetail.setEditable(true);
        s.lines->configureColumns();
        Outcome o;
        QObject::connect(&d, &InvoiceDocument::flash, [&o](const QString& t) { o.flashes << t; });
        messages.clear();
        const qint64 before = db().statementCount();
        if (lineByLine) {
            for (const QString& line : file)
                s.scale->ReadBeepLines({line});
        } else {
            s.scale->ReadBeepLines(file);
        }
        const qint64 statements = db().statementCount() - before;
        for (int row = 0; row < d.flexDetail.rows(); ++row)
            for (int col = 0; col < Col::Count; ++col)
                o.cells << d.flexDetail.cellText(row, col);
        for (const auto& m : messages.shown())
            o.messages << m.caption + QLatin1Char(':') + m.text;
        o.messages << QStringLiteral("customer %1, method %2")
                          .arg(d.sltCustomer.ID())
                          .arg(d.sltPricingMethod.ID());
        o.grandTotal = d.totals.GrandTotal;
        return {o, statements};
    }
};

// A scanner's file gives the invoice that reading its lines one at a time gives, also when a
// customer's card in the middle brings another card type and pricing method for the goods after
// it; and it is read in a fixed number of statements.
TEST_P(BatchedBeepFileTest, AFileReadsAsItsLinesReadOneAtATime) {
    QStringList file;
    for (const Entry& e : mixedEntries())
        if (e.kind == kByBarcode) file << e.text.trimmed();
    const int silver = cardType(QStringLiteral("نقره اي"));
    const int other = customer(QStringLiteral("1360/01/01"), silver, 5);
    db().exec(QStringLiteral("update tblOrganization set FarsiCardPrintDate = '1404/03/21' "
                             "where ID = ?"),
              {other});
    const int wholesale = method(QStringLiteral("عمده"));
    db().exec(QStringLiteral("insert into tblDistributionOrganization (OrganizationID, "
                             "PricingMethodID) values (?, ?)"),
              {other, wholesale});
    salePrice(QStringLiteral("A4"), wholesale, QVariant::fromValue(Money::fromRials(3700)), 1, 2,
              0);
    salePrice(QStringLiteral("B1"), wholesale, QVariant::fromValue(Money::fromRials(1400)), 0, 0,
              100);
    cardDiscount(silver, QStringLiteral("A5"), QVariant(), 8);
    file.insert(
        3, QStringLiteral("040321") + QStringLiteral("%1").arg(other, 6, 10, QLatin1Char('0')));

    const Outcome atOnce = read(file).first;
    const Outcome oneAtATime = read(file, true).first;
    EXPECT_EQ(atOnce.cells, oneAtATime.cells);
    EXPECT_EQ(atOnce.messages, oneAtATime.messages);
    EXPECT_EQ(atOnce.flashes, oneAtATime.flashes);
    EXPECT_EQ(atOnce.grandTotal, oneAtATime.grandTotal);
    EXPECT_TRUE(atOnce.messages.last().endsWith(QString::number(wholesale)));

    const QStringList goods = manyGoods(40);
    const qint64 few = read(goods.mid(0, 4)).second;
    const qint64 many = read(goods).second;
    EXPECT_LE(many, few + 2) << few << " statements for 4 lines, " << many << " for 40";
}

SI_INSTANTIATE_BACKENDS(LinesBatchTest);
SI_INSTANTIATE_BACKENDS(BatchedBeepFileTest);

}  // namespace
}  // namespace si
