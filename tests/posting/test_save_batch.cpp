// The save of a long invoice: every line, free-goods line, discount kind and trace row stored as
// entered, a number of statements that hardly grows with the lines, a failure in the middle of
// the lines undoing everything, and the stock read again under the lock when another workstation
// committed in the meantime.

#include <cmath>
#include <vector>

#include "PostingTestSupport.h"
#include "common/Numbers.h"

namespace si::test {
namespace {

constexpr int kGoods = 150;
constexpr int kCardKind = 2;
constexpr int kBirthdayKind = 3;
constexpr int kOwnKind = 1;

QString barcodeOf(int goods) {
    return QStringLiteral("G") + QString::number(goods);
}

// A plain reference: the card and birthday values are the percent of price x quantity, rounded
// half up to a tenth and cut to whole Rials.
qint64 partValue(double gross, double percent) {
    return static_cast<qint64>(std::floor(std::floor(gross * percent / 100 * 10 + 0.5) / 10));
}

struct ExpectedKind {
    QString barcode;
    QString description;
    int unit;
    int kind;
    double percent;
    qint64 value;
};

class SaveBatchTest : public PostingTest {
protected:
    void SetUp() override {
        PostingTest::SetUp();
        box = AddUnit(db(), QStringLiteral("كارتن"), 12, false);
        for (int g = 0; g < kGoods; ++g)
            AddGood(db(), barcodeOf(g), barcodeOf(g), QStringLiteral("كالا ") + barcodeOf(g),
                    1000 + g, unit);
        // Goods whose standard discount keeps their lines' card and birthday parts out.
        db().exec(
            QStringLiteral("update tblGood set StandardDiscountPercent = 5 where Barcode "
                           "in ('G0', 'G10', 'G20', 'G30')"));
        lineMethod = addPricingMethod(QStringLiteral("عمده"));
        headerMethod = addPricingMethod(QStringLiteral("خرده"));
        promoter = static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblEmployee (FirstName, SureName) values (?, ?) "
                           "RETURNING ID"),
            {QStringLiteral("بازارياب"), QStringLiteral("بازارياب")}));
        useParameter(P::StandardExcludesCard, QStringLiteral("1"));
        installSave();
    }

    int addPricingMethod(const QString& name) {
        const int id = static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblSalePricingMethod (Name, MakeVisibleInSelection) "
                           "values (?, 1) RETURNING ID"),
            {name}));
        db().exec(QStringLiteral("insert into tblSalePricingMethodUser (UserID, PricingMethodID) "
                                 "values (?, ?)"),
                  {ctx.globals.CurrentUserID, id});
        return id;
    }

    bool standardGoods(int goods) const { return goods % 10 == 0 && goods < 40; }

    // Goods line i: goods i % kGoods under its own description, every fourth in boxes (of which
    // halves are sold), with discounts of three shapes and the other columns varied line by line.
    InvoiceLine goodsLine(int i) const {
        const int g = i % kGoods;
        const bool inBoxes = i % 4 == 0;
        InvoiceLine l = line(barcodeOf(g), (inBoxes ? 0.5 : 1) + i % 5, 1000 + g);
        l.Description = QStringLiteral("شرح ") + QString::number(i / kGoods);
        if (inBoxes) l.ScaleID = box;
        const double gross = l.UnitPrice.toDouble() * l.Qty;
        const double percents[] = {10, 12, 2.5};
        l.DiscountPercent = percents[i % 3];
        l.DiscountValue = Money::fromRials(static_cast<qint64>(gross * l.DiscountPercent / 100));
        if (i % 3 == 0) l.CardPercent = 4;
        if (i % 3 == 1) {
            l.CardPercent = 3;
            l.BirthdayPercent = 5;
        }
        if (i % 3 == 2) l.DiscountKind = kDiscountAsValue;
        if (i % 7 == 0) l.ServicedBarCode = QStringLiteral(" G1 ");
        if (i % 6 == 0) {
            l.InitialQty = QStringLiteral("3");
            l.InitialScaleID = unit;
            l.ChangeReason = QStringLiteral("2");
        }
        if (i % 5 == 0) l.PricingMethodID = lineMethod;
        if (i % 8 == 0) l.PromoterID = promoter;
        l.WagePercent = (i % 3) * 1.5;
        l.WagePerWeight = Money::fromRials(i);
        l.ProfitPercent = 2;
        l.Commission = Money::fromRials(10 * (i % 2));
        l.Duty = Money::fromRials(7 * (i % 4));
        l.Tax = Money::fromRials(11 * (i % 9));
        return l;
    }
    InvoiceLine freeLine(int j) const {
        InvoiceLine l = line(barcodeOf(j), 1, 1000 + j);
        l.Description = QStringLiteral("اشانتيون");
        l.IsEchantillon = true;
        if (j % 2 == 0) l.PricingMethodID = lineMethod;
        if (j % 3 == 0) l.PromoterID = promoter;
        return l;
    }

    void enter(int lines, int freeLines) {
        goods.clear();
        free.clear();
        for (int i = 0; i < lines; ++i)
            goods << goodsLine(i);
        for (int j = 0; j < freeLines; ++j)
            free << freeLine(j);
        newInvoice(goods);
        putLinesBack();
    }
    // The entered lines, as they were, into the form (after a reload).
    void putLinesBack() {
        InvoiceDocument& d = form->doc();
        d.flexDetail.setLines(goods);
        d.flexEch.setLines(free);
        d.sltPricingMethod.setIDQuietly(headerMethod, QStringLiteral("خرده"));
    }

    // What the line-by-line writer stored for each line, in the order it inserted them.
    void expectStoredLines(int invoice) {
        const RowSet rows = db().query(
            QStringLiteral("select * from tblSaleInvoiceDetail where InvoiceID = ? order by ID"),
            {invoice});
        ASSERT_EQ(rows.size(), goods.size() + free.size());
        for (int k = 0; k < rows.size(); ++k) {
            SCOPED_TRACE(k);
            const bool isFree = k >= goods.size();
            const InvoiceLine& l = isFree ? free[k - goods.size()] : goods[k];
            const Row& r = rows[k];
            EXPECT_EQ(r.toInt(u"RowNumber"), (isFree ? k - goods.size() : k) + 1);
            EXPECT_EQ(r.text(u"Barcode"), l.BarCode.trimmed());
            EXPECT_EQ(r.text(u"Description"), l.Description);
            EXPECT_EQ(r.toInt(u"ScaleID"), l.ScaleID);
            EXPECT_DOUBLE_EQ(r.toDouble(u"Qty"), l.Qty);
            EXPECT_EQ(r.money(u"RetailPrice"), l.UnitPrice);
            EXPECT_EQ(r.toInt(u"DiscountTypeID"), l.DiscountKind);
            EXPECT_DOUBLE_EQ(r.toDouble(u"DiscountPercent"), l.DiscountPercent);
            EXPECT_EQ(r.money(u"DiscountValue"), l.DiscountValue);
            EXPECT_EQ(r.isNull(u"ServicedBarCode"), l.ServicedBarCode.isEmpty());
            EXPECT_EQ(r.text(u"ServicedBarCode"), l.ServicedBarCode.trimmed());
            EXPECT_EQ(r.toInt(u"PricingMethodID"),
                      l.PricingMethodID > 0 ? l.PricingMethodID : headerMethod);
            EXPECT_EQ(r.toInt(u"PromoterID", -1), l.PromoterID);
            EXPECT_EQ(r.toBool(u"IsEchantillon"), isFree);
            // The store version keeps no initial quantities.
            const bool initial = !l.InitialQty.isEmpty() && !ctx.params.flag(P::ShopMode);
            EXPECT_EQ(r.isNull(u"InitialQty"), !initial);
            if (initial) {
                EXPECT_DOUBLE_EQ(r.toDouble(u"InitialQty"), 3);
                EXPECT_EQ(r.toInt(u"InitialScaleID"), unit);
                EXPECT_EQ(r.toInt(u"ChangeReasonSequence"), 2);
            }
            const char* const amounts[] = {"ConstructionFeePercent",
                                           "ConstructionFeeValue",
                                           "ProfitPercent",
                                           "WorkFee",
                                           "AddedValue",
                                           "TaxValue"};
            for (const char* column : amounts)
                EXPECT_EQ(r.isNull(QString::fromLatin1(column)), isFree) << column;
            if (isFree) continue;
            EXPECT_DOUBLE_EQ(r.toDouble(u"ConstructionFeePercent"), l.WagePercent);
            EXPECT_EQ(r.money(u"ConstructionFeeValue"), l.WagePerWeight);
            EXPECT_DOUBLE_EQ(r.toDouble(u"ProfitPercent"), l.ProfitPercent);
            EXPECT_EQ(r.money(u"WorkFee"), l.Commission);
            EXPECT_EQ(r.money(u"AddedValue"), l.Duty);
            EXPECT_EQ(r.money(u"TaxValue"), l.Tax);
        }
    }

    // The kinds of each goods line in line order (card, birthday, own), lines of the same goods,
    // description and unit adding to the first one's rows.
    std::vector<ExpectedKind> expectedKinds() const {
        std::vector<ExpectedKind> kinds;
        auto book = [&kinds](const InvoiceLine& l, int kind, double percent, qint64 value) {
            for (ExpectedKind& k : kinds)
                if (k.barcode == l.BarCode && k.description == l.Description &&
                    k.unit == l.ScaleID && k.kind == kind) {
                    k.value += value;
                    return;
                }
            kinds.push_back({l.BarCode, l.Description, l.ScaleID, kind, percent, value});
        };
        for (const InvoiceLine& l : goods) {
            const double gross = l.UnitPrice.toDouble() * l.Qty;
            double percent = l.DiscountPercent;
            qint64 value = l.DiscountValue.wholeRials();
            if (!standardGoods(l.BarCode.mid(1).toInt())) {
                for (const auto& [kind, part] :
                     {std::pair{kCardKind, l.CardPercent}, {kBirthdayKind, l.BirthdayPercent}}) {
                    if (part <= 0) continue;
                    book(l, kind, part, partValue(gross, part));
                    percent -= part;
                    value -= partValue(gross, part);
                }
            }
            if (percent > 1e-9 && value > 0) book(l, kOwnKind, percent, value);
        }
        return kinds;
    }
    void expectStoredKinds(int invoice, const std::vector<ExpectedKind>& expected) {
        const RowSet rows = db().query(
            QStringLiteral("select Barcode, Description, ScaleID, DiscountTypeID, DiscountPercent, "
                           "DiscountValue from tblSaleInvoiceDetailDiscount where InvoiceID = ? "
                           "order by ID"),
            {invoice});
        ASSERT_EQ(rows.size(), static_cast<int>(expected.size()));
        for (int k = 0; k < rows.size(); ++k) {
            SCOPED_TRACE(k);
            const ExpectedKind& e = expected[static_cast<size_t>(k)];
            EXPECT_EQ(rows[k].text(u"Barcode"), e.barcode);
            EXPECT_EQ(rows[k].text(u"Description"), e.description);
            EXPECT_EQ(rows[k].toInt(u"ScaleID"), e.unit);
            EXPECT_EQ(rows[k].toInt(u"DiscountTypeID"), e.kind);
            EXPECT_NEAR(rows[k].toDouble(u"DiscountPercent"), e.percent, 1e-9);
            EXPECT_EQ(rows[k].money(u"DiscountValue"), Money::fromRials(e.value));
        }
    }

    void addTrace(int invoice, const QString& barcode, int scale, int property, double qty) {
        auto trace = components.create(QStringLiteral("vorInvTrace.vorInvTracePpt1"));
        ASSERT_TRUE(trace);
        trace->setProperty("Session", QVariant::fromValue(static_cast<void*>(&db())));
        QMetaObject::invokeMethod(trace.get(), "AddTrace", Q_ARG(int, invoice),
                                  Q_ARG(QString, barcode), Q_ARG(int, scale), Q_ARG(int, property),
                                  Q_ARG(double, qty));
    }
    QVector<int> traceSequences(int invoice, const QString& barcode) {
        QVector<int> sequences;
        for (const Row& r : db().query(QStringLiteral("select Sequence from "
                                                      "tblSaleInvoiceDetailTrace where InvoiceID "
                                                      "= ? and Barcode = ? order by ID"),
                                       {invoice, barcode}))
            sequences << r.toInt(u"Sequence");
        return sequences;
    }

    qint64 statementsOfFinalSave(int lines) {
        enter(lines, lines / 10);
        const qint64 before = db().statementCount();
        EXPECT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
        return db().statementCount() - before;
    }

    int box = -1;
    int lineMethod = -1;
    int headerMethod = -1;
    int promoter = -1;
    QVector<InvoiceLine> goods;
    QVector<InvoiceLine> free;
};

// 450 goods lines and 30 free-goods lines, saved temporary, given trace rows, then saved final
// from the edit: the stored rows are the entered ones, in grid order.
TEST_P(SaveBatchTest, ALongInvoiceIsStoredLineForLineWithItsKindsAndTraces) {
    enablePosting();
    enter(450, 30);
    ASSERT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
    const int id = savedID();
    expectStoredLines(id);
    expectStoredKinds(id, expectedKinds());
    // G3 in pieces is on lines 4, 154 and 304; G8 in boxes on lines 9 and 309.
    addTrace(id, QStringLiteral("G3"), unit, 31, 2);
    addTrace(id, QStringLiteral("G3"), unit, 32, 1);
    addTrace(id, QStringLiteral("G8"), box, 81, 2);
    addTrace(id, QStringLiteral("G9"), box, 91, 1);  // no line of G9 is in boxes

    form->cmdEdit_Click();
    ASSERT_EQ(form->FormMode(), kModeEdit);
    putLinesBack();
    ASSERT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    ASSERT_EQ(savedID(), id);
    expectStoredLines(id);
    expectStoredKinds(id, expectedKinds());
    EXPECT_EQ(traceSequences(id, QStringLiteral("G3")), (QVector<int>{304, 304}));
    EXPECT_EQ(traceSequences(id, QStringLiteral("G8")), QVector<int>{309});
    EXPECT_EQ(traceSequences(id, QStringLiteral("G9")), QVector<int>{0});
    // The dispatch sums the stored lines per goods and unit: G3 in pieces, three lines of 4 and
    // a free one.
    EXPECT_DOUBLE_EQ(db().scalar(QStringLiteral("select d.Qty from tblInventoryDispatchDetail d "
                                                "join tblInventoryDispatch x on x.ID = "
                                                "d.DispatchID where x.FormID = ? and d.Barcode "
                                                "= 'G3' and d.ScaleID = ?"),
                                 {id, unit})
                         .toDouble(),
                     3 * 4 + 1);
}

// In the store version equal lines are allowed: their discount kinds share one row per goods,
// description, unit and kind, and the initial quantities are not kept.
TEST_P(SaveBatchTest, EqualLinesOfTheStoreVersionShareTheirKindRows) {
    useParameter(P::ShopMode, QStringLiteral("1"));
    installSave();
    save->seams.CheckCashTurn = [] { return true; };
    goods.clear();
    free.clear();
    // 100 times each: G0 (standard goods: its own kind only), G4 (card, birthday and own) and
    // G3 (card and own).
    const int picks[] = {0, 4, 3};
    for (int i = 0; i < 300; ++i)
        goods << goodsLine(picks[i % 3]);
    newInvoice(goods);
    putLinesBack();
    ASSERT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
    expectStoredLines(savedID());
    const std::vector<ExpectedKind> kinds = expectedKinds();
    ASSERT_EQ(kinds.size(), 1u + 3u + 2u);
    expectStoredKinds(savedID(), kinds);
}

// A tenfold longer invoice costs a few more statements (one per few dozen lines), not ten times
// as many.
TEST_P(SaveBatchTest, StatementsOfASaveHardlyGrowWithItsLines) {
    enablePosting();
    const qint64 short20 = statementsOfFinalSave(20);
    const qint64 long200 = statementsOfFinalSave(200);
    // One statement per 32 lines and per 128 kind rows, plus the binary digits of the rests.
    EXPECT_LE(long200 - short20, 16)
        << short20 << " statements for 20 lines, " << long200 << " for 200";
}

// The database refuses line 400 of 450, after the first statements of lines went through:
// nothing of the save stays, and the form is as the clerk left it.
TEST_P(SaveBatchTest, ALineRefusedInTheMiddleUndoesTheWholeSave) {
    enablePosting();
    if (db().isSqlite()) {
        db().exec(
            QStringLiteral("CREATE TRIGGER trRefuseLine BEFORE INSERT ON "
                           "tblSaleInvoiceDetail WHEN NEW.RowNumber = 400 BEGIN SELECT "
                           "RAISE(ABORT, 'line refused'); END"));
    } else {
        db().exec(
            QStringLiteral("CREATE FUNCTION fnRefuseLine() RETURNS trigger LANGUAGE plpgsql "
                           "AS $$ BEGIN IF NEW.RowNumber = 400 THEN RAISE EXCEPTION 'line "
                           "refused'; END IF; RETURN NEW; END $$"));
        db().exec(
            QStringLiteral("CREATE TRIGGER trRefuseLine BEFORE INSERT ON "
                           "tblSaleInvoiceDetail FOR EACH ROW EXECUTE FUNCTION "
                           "fnRefuseLine()"));
    }
    enter(450, 10);
    EXPECT_FALSE(save->SaveInvoice(true));
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("line refused")))
        << messages.last().text.toStdString();
    for (const char* table :
         {"tblSaleInvoice", "tblSaleInvoiceDetail", "tblSaleInvoiceDetailDiscount",
          "tblInventoryDispatch", "tblAccountDocument"})
        EXPECT_EQ(count(QString::fromLatin1(table)), 0) << table;
    EXPECT_TRUE(form->doc().txtID.isEmpty());
    EXPECT_EQ(form->FormMode(), kModeNew);
    EXPECT_EQ(form->doc().flexDetail.filledCount(), 450);
}

// Between the checks and the writer lock another workstation sells the goods: the stock read
// again under the lock refuses the save. A commit elsewhere that leaves the stock alone, or none,
// lets it through.
TEST_P(SaveBatchTest, StockSoldElsewhereBeforeTheLockIsCaughtUnderIt) {
    useParameter(P::ShopMode, QStringLiteral("1"));
    ctx.params.setNumber(P::StockRule, 1);
    installSave();
    ctx.params.setNumber(P::StockRule, 1);
    auto other = database->open(&procedures);
    const auto sellElsewhere = [&](double qty) {
        const qint64 dispatch = other->insertReturningId(
            QStringLiteral("insert into tblInventoryDispatch (Code, InventoryID, ReceiveDate, "
                           "FarsiReceiveDate) values (900, ?, ?, '1405/09/10') RETURNING ID"),
            {inventory, QDate(2026, 12, 1)});
        other->exec(QStringLiteral("insert into tblInventoryDispatchDetail (DispatchID, Barcode, "
                                   "Qty, ScaleID, ScaleQty) values (?, '1002', ?, ?, ?)"),
                    {dispatch, qty, unit, qty});
    };
    struct Case {
        const char* name;
        std::function<void()> meanwhile;
        bool saved;
    } const cases[] = {
        {"nothing committed", [] {}, true},
        {"another goods sold",
         [&] {
             other->exec(
                 QStringLiteral("update tblGood set Name = 'x' "
                                "where Barcode = '1001'"));
         },
         true},
        {"the goods sold", [&] { sellElsewhere(996); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        newInvoice({line(QStringLiteral("1002"), 5, 1000)});
        save->seams.CheckCashTurn = [&c] {
            c.meanwhile();
            return true;
        };
        const int invoices = count(QStringLiteral("tblSaleInvoice"));
        messages.clear();
        EXPECT_EQ(save->SaveInvoice(false), c.saved) << messages.texts().join(u'\n').toStdString();
        EXPECT_EQ(count(QStringLiteral("tblSaleInvoice")), invoices + (c.saved ? 1 : 0));
        if (!c.saved) {
            EXPECT_TRUE(messages.last().text.contains(
                QStringLiteral("تعداد كالا با كد ميلهاي 1002 از تعداد موجودي بيشتر است.")));
        }
    }
}

SI_INSTANTIATE_BACKENDS(SaveBatchTest);

}  // namespace
}  // namespace si::test
