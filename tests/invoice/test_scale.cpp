// Goods from scales and scanners: weighing labels under the two layouts, the station barcode of
// cmbScaleBarcode, and a scanner's file of cards and barcodes.

#include <QTemporaryDir>

#include "invoice/LinesTestSupport.h"
#include "invoice/ScaleInput.h"
#include "invoice/TotalsLogic.h"

namespace si {
namespace {

const QString kProblemCaption = QStringLiteral("اشکال");
const QString kWeightBeforeCode = QStringLiteral("فيلد کد نبايد بعد از فيلد وزن باشد.");
const QString kLayout = QStringLiteral("21CCCCCNNFFF");

class ScaleTest : public test::LinesTest {
protected:
    void SetUp() override {
        LinesTest::SetUp();
        test::AddGood(db(), QStringLiteral("626001"), QStringLiteral("12345"),
                      QStringLiteral("گوشت"), 800000, kilo);
        good(QStringLiteral("626002"), 5000, piece);
        receive(QStringLiteral("626001"), 50);
        receive(QStringLiteral("626002"), 50);
    }
    ScaleInput& scale() { return *services->scale; }

    struct Label {
        bool matched;
        QString barcode;
        double weight;
    };
    Label parse(const QString& layout, const QString& text) {
        Label l{false, {}, 0};
        l.matched = scale().ParseScaleBarcode(layout, text, l.barcode, l.weight);
        return l;
    }
    Label recognise(const QString& text) {
        Label l{false, {}, 0};
        l.matched = scale().IsScaleBarcode(text, l.barcode, l.weight);
        return l;
    }
    int weightBeforeCodeReports() const {
        int n = 0;
        for (const auto& m : messages.shown())
            n += m.caption == kProblemCaption && m.text == kWeightBeforeCode;
        return n;
    }
};

TEST_P(ScaleTest, LabelsAreReadByTheirLayout) {
    struct Case {
        const char* layout;
        const char* text;
        bool matches;
        const char* barcode;
        double weight;
    };
    const Case cases[] = {
        {"21CCCCCNNFFF", "211234501250", true, "626001", 1.25},
        {"21CCCCCNNFFF", "221234501250", false, "", 0},             // another prefix
        {"21CCCCCNNFFF", "21123450125", false, "", 0},              // shorter than the layout
        {"21CCCCCNNFFF", "2112345012500", false, "", 0},            // longer
        {"21CCCCCNNFFFXYZ", "211234501250", true, "626001", 1.25},  // 12 characters count
        {"21CCCCC-NNFFF", "2112345-0125", true, "626001", 1.25},
        {"21CCCCC-NNFFF", "2112345+0125", false, "", 0},         // between code and weight
        {"21CCCCCNNFF9", "21123450125X", true, "626001", 1.25},  // after the weight: free
        {"PCCCCCNNNFFF", "p12345001250", true, "626001", 1.25},  // fixed, in upper case
        {"21CCCCCNNNNN", "211234500012", true, "626001", 12},
        {"21CCCCCFFFFF", "211234512500", true, "626001", 0.125},
        {"BBBBBBNNNFFF", "626001001500", true, "626001", 1.5},
        {"BBBBBBNNNFFF", "626009001500", true, "626009", 1.5},  // the barcode is not looked up
        {"21CCCCCCCCCC", "211234501250", false, "", 0},         // neither N nor F
        {"21NNFFF", "21012", false, "", 0},                     // no code field
        {"", "", false, "", 0},
        {"21CCCCCNNFFF", "219999901250", false, "", 0},  // no goods with the code
        {"21CCCCCNNFFF", "2112345A1250", false, "", 0},  // a weight of letters
    };
    for (const Case& c : cases) {
        const Label l = parse(QString::fromUtf8(c.layout), QString::fromUtf8(c.text));
        EXPECT_EQ(l.matched, c.matches) << c.layout << " " << c.text;
        if (!c.matches) continue;
        EXPECT_EQ(l.barcode, QString::fromUtf8(c.barcode)) << c.layout << " " << c.text;
        EXPECT_DOUBLE_EQ(l.weight, c.weight) << c.layout << " " << c.text;
    }
    EXPECT_TRUE(messages.empty());
}

TEST_P(ScaleTest, AWeightBeforeTheCodeIsReportedEachTimeAndMatchesNothing) {
    for (int attempt = 1; attempt <= 2; ++attempt) {
        EXPECT_FALSE(parse(QStringLiteral("NNFFFCCCCC21"), QStringLiteral("012501234521")).matched);
        EXPECT_EQ(weightBeforeCodeReports(), attempt);
    }
    // Through the parameters: the second layout is still tried.
    useParameter(P::ScaleLayout1, QStringLiteral("FFFCCCCC"));
    useParameter(P::ScaleLayout2, kLayout);
    const Label l = recognise(QStringLiteral("211234501250"));
    EXPECT_TRUE(l.matched);
    EXPECT_EQ(weightBeforeCodeReports(), 3);
}

TEST_P(ScaleTest, TheSecondLayoutIsTriedWhenTheFirstDoesNotFit) {
    useParameter(P::ScaleLayout1, kLayout);
    useParameter(P::ScaleLayout2, QStringLiteral("22CCCCCNNNFF"));
    const Label second = recognise(QStringLiteral("221234500250"));
    ASSERT_TRUE(second.matched);
    EXPECT_EQ(second.barcode, QStringLiteral("626001"));
    EXPECT_DOUBLE_EQ(second.weight, 2.5);
    const Label first = recognise(QStringLiteral("211234502500"));
    ASSERT_TRUE(first.matched);
    EXPECT_DOUBLE_EQ(first.weight, 2.5);
    EXPECT_FALSE(recognise(QStringLiteral("231234502500")).matched);
    useParameter(P::ScaleLayout1, QString());
    useParameter(P::ScaleLayout2, QString());
    EXPECT_FALSE(recognise(QStringLiteral("211234502500")).matched);
}

TEST_P(ScaleTest, ALabelTypedIntoTheGridBecomesALineOfItsWeight) {
    useParameter(P::ScaleLayout1, kLayout);
    editableGrid();
    ASSERT_TRUE(lines().commitCell(0, Col::BarCode, QStringLiteral("211234501250")));
    EXPECT_EQ(line(0).BarCode, QStringLiteral("626001"));
    EXPECT_EQ(line(0).GoodCode, QStringLiteral("12345"));
    EXPECT_DOUBLE_EQ(line(0).Qty, 1.25);
    EXPECT_EQ(line(0).UnitPrice, Money::fromRials(800000));
    EXPECT_EQ(doc->totals.TotalPrice, Money::fromRials(1000000));
    // A text that is no label is an ordinary barcode.
    ASSERT_TRUE(lines().commitCell(1, Col::BarCode, QStringLiteral("626002")));
    EXPECT_DOUBLE_EQ(line(1).Qty, 1);
}

class StationBarcodeTest : public ScaleTest {
protected:
    int stationSale() {
        test::InvoiceRow r;
        r.inventory = inventory;
        const int id = test::AddInvoice(db(), r);
        test::AddInvoiceLine(db(), id, QStringLiteral("626001"), 1.5, 800000, kilo, 1);
        return id;
    }
    static QString barcodeOf(int id) {
        return QStringLiteral("/%1/").arg(id, 11, 10, QLatin1Char('0'));
    }
    int usedBarcodes() {
        return db()
            .scalar(QStringLiteral("select count(*) from tblSaleInvoiceScaleBarcode"))
            .toInt();
    }
};

TEST_P(StationBarcodeTest, TextsThatAreNoStationBarcodeDoNothing) {
    const int station = stationSale();
    const QString digits = QStringLiteral("%1").arg(station, 11, 10, QLatin1Char('0'));
    for (const QString& text :
         {QStringLiteral("/1234/"), QStringLiteral("/"), QString(), QStringLiteral("/") + digits,
          digits + QStringLiteral("/"), QStringLiteral("0") + digits + QStringLiteral("0")})
        EXPECT_EQ(scale().cmbScaleBarcode_Change(text), 0) << text.toStdString();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(usedBarcodes(), 0);
}

TEST_P(StationBarcodeTest, TheStationSaleOpensAsANewInvoiceOnceOnly) {
    const int station = stationSale();
    const int invoice = scale().cmbScaleBarcode_Change(barcodeOf(station) + QStringLiteral("\r"));
    ASSERT_GT(invoice, station);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(
        db().scalar(QStringLiteral("select Qty from tblSaleInvoiceDetail where InvoiceID = ?"),
                    {invoice})
            .toDouble(),
        1.5);

    doc->txtID = QString::number(invoice);
    EXPECT_EQ(scale().cmbScaleBarcode_Change(barcodeOf(station)), 0);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, kProblemCaption);
    EXPECT_TRUE(messages.last().text.contains(QString::number(invoice)));
    EXPECT_EQ(usedBarcodes(), 1);
}

TEST_P(StationBarcodeTest, AnotherStationSaleJoinsTheOpenInvoice) {
    const int first = stationSale();
    const int second = stationSale();
    const int invoice = scale().cmbScaleBarcode_Change(barcodeOf(first));
    doc->txtID = QString::number(invoice);
    EXPECT_EQ(scale().cmbScaleBarcode_Change(barcodeOf(second)), invoice);
    EXPECT_EQ(
        db().scalar(QStringLiteral("select Qty from tblSaleInvoiceDetail where InvoiceID = ?"),
                    {invoice})
            .toDouble(),
        3);
}

class BeepFileTest : public ScaleTest {
protected:
    void SetUp() override {
        ScaleTest::SetUp();
        editableGrid();
        promoter = employee(QStringLiteral("فروشنده"));
        db().exec(QStringLiteral("update tblEmployee set Tag = 'A7F3' where ID = ?"), {promoter});
        customer = test::AddCustomer(db(), QStringLiteral("مشتري كارت دار"));
        db().exec(QStringLiteral("update tblOrganization set FarsiCardPrintDate = '1404/03/21' "
                                 "where ID = ?"),
                  {customer});
    }
    QString customerCard() const {
        return QStringLiteral("040321") +
               QStringLiteral("%1").arg(customer, 6, 10, QLatin1Char('0'));
    }
    QStringList barcodesInGrid() const {
        QStringList list;
        for (int r : doc->flexDetail.filledRows())
            list << doc->flexDetail.line(r).BarCode;
        return list;
    }
    int promoter = -1;
    int customer = -1;
};

TEST_P(BeepFileTest, CardsAndBarcodesFillTheInvoiceInTheFilesOrder) {
    const QStringList file{QStringLiteral(" a7f3 "),
                           QStringLiteral("626001"),
                           QStringLiteral("junk line"),
                           QString(),
                           customerCard(),
                           QStringLiteral("626002\r"),
                           QStringLiteral("626001"),
                           QStringLiteral("99999999")};
    QVector<QPair<int, int>> reports;
    const int added = scale().ReadBeepLines(file, [&](int done, int total) {
        reports.append({done, total});
        return true;
    });
    EXPECT_EQ(added, 2);
    EXPECT_EQ(barcodesInGrid(), (QStringList{QStringLiteral("626001"), QStringLiteral("626002")}));
    EXPECT_EQ(doc->sltPromoter.ID(), promoter);
    EXPECT_EQ(doc->sltCustomer.ID(), customer);
    EXPECT_EQ(line(0).PromoterID, promoter);  // the card came first
    EXPECT_DOUBLE_EQ(line(0).Qty, 1);
    EXPECT_EQ(doc->totals.TotalPrice, Money::fromRials(805000));
    ASSERT_EQ(reports.size(), file.size());
    for (int i = 0; i < reports.size(); ++i)
        EXPECT_EQ(reports[i], qMakePair(i + 1, int(file.size())));
    EXPECT_TRUE(messages.empty()) << messages.texts().join(u'|').toStdString();
}

TEST_P(BeepFileTest, BarcodesAlreadyInTheGridAndFalseCardsAreSkipped) {
    ASSERT_TRUE(enter(QStringLiteral("626002")));
    const QString otherDate = QStringLiteral("040322") + customerCard().right(6);
    const int added = scale().ReadBeepLines(
        {QStringLiteral("626002"), otherDate, QStringLiteral("A7F3X"), QStringLiteral("626001")});
    EXPECT_EQ(added, 1);
    EXPECT_EQ(barcodesInGrid(), (QStringList{QStringLiteral("626002"), QStringLiteral("626001")}));
    EXPECT_TRUE(doc->sltCustomer.IsEmpty());
    EXPECT_TRUE(doc->sltPromoter.IsEmpty());
}

// Without a card print date the card is the six-digit identifier alone; a dated card is not
// found without its date.
TEST_P(BeepFileTest, ACardWithoutPrintDateIsTheIdentifierAlone) {
    const int undated = test::AddCustomer(db(), QStringLiteral("مشتري بي تاريخ"));
    EXPECT_EQ(scale().ReadBeepLines({customerCard().right(6)}), 0);
    EXPECT_TRUE(doc->sltCustomer.IsEmpty());
    EXPECT_EQ(scale().ReadBeepLines({QStringLiteral("%1").arg(undated, 6, 10, QLatin1Char('0'))}),
              0);
    EXPECT_EQ(doc->sltCustomer.ID(), undated);
    EXPECT_TRUE(messages.empty()) << messages.texts().join(u'|').toStdString();
}

TEST_P(BeepFileTest, ReadingStopsWhenAskedAndOnlyWhileEditing) {
    const QStringList file{QStringLiteral("626001"), QStringLiteral("626002")};
    EXPECT_EQ(scale().ReadBeepLines(file, [](int done, int) { return done < 1; }), 1);
    doc->FormMode = kModeView;
    EXPECT_EQ(scale().ReadBeepLines({QStringLiteral("626002")}), 0);
    EXPECT_EQ(doc->flexDetail.filledCount(), 1);
}

TEST_P(BeepFileTest, FilesAreReadInEitherEncoding) {
    QTemporaryDir dir;
    const QString utf8 = dir.filePath(QStringLiteral("utf8.txt"));
    QFile f(utf8);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(
        "\xEF\xBB\xBF"
        "626001\r\n\xDA\xA9\xD8\xA7\xD9\x84\xD8\xA7\r\n626002\r\n");
    f.close();
    EXPECT_EQ(
        ScaleInput::ReadBeepFile(utf8),
        (QStringList{QStringLiteral("626001"), QStringLiteral("کالا"), QStringLiteral("626002")}));
    const QString legacy = dir.filePath(QStringLiteral("legacy.txt"));
    QFile g(legacy);
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    g.write("626001\n\xDF\xC7\xE1\xC7\n626002");  // a Windows code page, not UTF-8
    g.close();
    const QStringList lines = ScaleInput::ReadBeepFile(legacy);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("626001"));
    EXPECT_EQ(lines[2], QStringLiteral("626002"));
    EXPECT_TRUE(ScaleInput::ReadBeepFile(dir.filePath(QStringLiteral("missing.txt"))).isEmpty());
}

SI_INSTANTIATE_BACKENDS(ScaleTest);
SI_INSTANTIATE_BACKENDS(StationBarcodeTest);
SI_INSTANTIATE_BACKENDS(BeepFileTest);

}  // namespace
}  // namespace si
