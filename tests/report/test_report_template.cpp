// The template format: the shipped templates read as meant, a broken template is refused with
// its file and line, and the values a report shows (formulas, selection, placeholders, digits).

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ReportTestSupport.h"
#include "suite/report/ReportTemplate.h"
#include "suite/report/ReportValues.h"

namespace si::suite::report {
namespace {

using test::TemplatePath;

TEST(ReportTemplateTest, ShippedTemplatesReadAsTheirPagesAndBandsSay) {
    const QDir dir(TemplatePath(QString()));
    const QStringList files = dir.entryList({QStringLiteral("*.xml")}, QDir::Files);
    EXPECT_GE(files.size(), 7);
    for (const QString& name : files)
        EXPECT_NO_THROW(LoadTemplate(dir.filePath(name))) << name.toStdString();

    const ReportTemplate formal =
        LoadTemplate(TemplatePath(QStringLiteral("SaleInvoiceFormal.xml")));
    EXPECT_EQ(formal.page.size, PageSetup::Size::A4);
    EXPECT_TRUE(formal.readsData);
    EXPECT_EQ(formal.view, QStringLiteral("vwSaleInvoicePrint"));
    EXPECT_FALSE(formal.pageHeader.empty());
    EXPECT_FALSE(formal.pageFooter.empty());
    EXPECT_TRUE(formal.base.persianDigits);
    const auto table = std::find_if(formal.body.begin(), formal.body.end(), [](const Block& b) {
        return std::holds_alternative<TableBlock>(b);
    });
    ASSERT_NE(table, formal.body.end());
    const auto& columns = std::get<TableBlock>(*table).columns;
    ASSERT_EQ(columns.size(), 9u);
    EXPECT_EQ(columns[0].value, QStringLiteral("{RowNumber}"));
    EXPECT_EQ(columns[8].value, QStringLiteral("{RowTotalValue:amount}"));
    EXPECT_TRUE(columns[8].total);
    EXPECT_EQ(columns[8].width.value, 26);

    const ReportTemplate receipt =
        LoadTemplate(TemplatePath(QStringLiteral("SaleInvoiceShop.xml")));
    EXPECT_TRUE(receipt.page.isRoll());
    EXPECT_EQ(receipt.page.rollWidth, 80);

    const ReportTemplate list = LoadTemplate(TemplatePath(QStringLiteral("SaleInvoiceList.xml")));
    EXPECT_TRUE(list.page.landscape);
    EXPECT_EQ(list.view, QStringLiteral("vwSaleInvoiceSearch"));
    EXPECT_EQ(list.key, QStringLiteral("ID"));
    EXPECT_EQ(list.order, (QStringList{QStringLiteral("CreateDate"), QStringLiteral("ID")}));

    for (const char* formulasOnly : {"Lottery.xml", "CashTurnContents.xml"})
        EXPECT_FALSE(LoadTemplate(TemplatePath(QString::fromLatin1(formulasOnly))).readsData)
            << formulasOnly;
}

TEST(ReportTemplateTest, BrokenTemplatesAreRefusedNamingTheFileAndTheLine) {
    struct Case {
        const char* xml;
        int line;
        QString reason;
    };
    const std::vector<Case> cases{
        {"<report>\n<text>a</text>\n<row><cell>b</row>\n</report>", 3,
         QStringLiteral("متن XML نادرست است")},
        {"<report>\n\n<image src='x'/>\n</report>", 3, QStringLiteral("«image»")},
        {"<report page='Letter'>\n</report>", 1, QStringLiteral("«Letter» براي «page»")},
        {"<invoice/>", 1, QStringLiteral("ريشه قالب بايد report باشد.")},
        {"<report>\n<table>\n<column title='x' value='{A}' total='sum'/>\n</table>\n</report>", 3,
         QStringLiteral("جمع دارد ولي field ندارد")},
        {"<report>\nloose words\n<text>a</text></report>", 3,
         QStringLiteral("«loose words» بيرون از عنصرهاي متني")},
        {"<report>\n<text size='big'>a</text>\n</report>", 2, QStringLiteral("«big» براي «size»")},
        {"<report page='roll'>\n<pagefooter><text>x</text></pagefooter>\n</report>", 3,
         QStringLiteral("سرصفحه و پاصفحه ندارد")},
        {"<report>\n<text>a", 2, QStringLiteral("متن XML نادرست است")},
    };
    for (const Case& c : cases) {
        try {
            ParseTemplate(QByteArray(c.xml), QStringLiteral("bad.xml"));
            ADD_FAILURE() << "accepted: " << c.xml;
        } catch (const TemplateError& e) {
            EXPECT_TRUE(e.message().startsWith(
                QStringLiteral("قالب گزارش «bad.xml»، سطر %1: ").arg(c.line)))
                << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(c.reason)) << e.message().toStdString();
        }
    }
}

TEST(ReportTemplateTest, StylesAreInheritedAndTextBlanksFold) {
    const ReportTemplate t = ParseTemplate(
        "<report font='Noto Sans Arabic' size='9' digits='persian'>"
        "<row bold='1'><cell width='30%'>  a\n   b <br/> c </cell><cell digits='latin' "
        "align='end' width='12'>d</cell><cell>e</cell></row></report>",
        QStringLiteral("t.xml"));
    ASSERT_EQ(t.body.size(), 1u);
    const RowBlock& row = std::get<RowBlock>(t.body[0]);
    ASSERT_EQ(row.cells.size(), 3u);
    EXPECT_EQ(row.cells[0].text, QStringLiteral("a b\nc"));
    EXPECT_TRUE(row.cells[0].style.bold);
    EXPECT_TRUE(row.cells[0].style.persianDigits);
    EXPECT_EQ(row.cells[0].style.size, 9);
    EXPECT_TRUE(row.cells[0].width.percent);
    EXPECT_FALSE(row.cells[1].style.persianDigits);
    EXPECT_EQ(row.cells[1].style.align, Align::End);
    EXPECT_FALSE(row.cells[1].width.percent);
    EXPECT_EQ(row.cells[2].width.value, 0);
    EXPECT_FALSE(t.readsData);
}

TEST(ReportTemplateTest, OwnFormatIsAnXmlFileOrAReportRoot) {
    QTemporaryDir dir;
    const auto write = [&](const QString& name, const QByteArray& text) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return f.fileName();
    };
    EXPECT_FALSE(IsOwnTemplate(write(QStringLiteral("SaleInvoice.rpt"), "\xd0\xcf\x11\xe0 rpt")));
    EXPECT_TRUE(
        IsOwnTemplate(write(QStringLiteral("odd.tpl"), "<?xml version='1.0'?>\n<report/>")));
    EXPECT_FALSE(IsOwnTemplate(write(QStringLiteral("other.tpl"), "<crystal/>")));
    EXPECT_TRUE(IsOwnTemplate(write(QStringLiteral("broken.XML"), "not xml")));
}

TEST(ReportValuesTest, FormulaItemsLoseTheirQuotes) {
    QMap<int, QString> numbered{
        {1, QStringLiteral("fmlSLSInvoiceID=17")},
        {2, QStringLiteral("fmlCompanyName='شرکت ''نمونه'' & پسران'")},
        {3, QStringLiteral("fmlStrDebitAge= '12'")},
        {5, QStringLiteral("fmlNote='a=b'")},
        {6, QStringLiteral("no equals sign")},
        {7, QStringLiteral("fmlEmpty=''")},
    };
    const Formulas f = ParseFormulas(numbered);
    EXPECT_EQ(f.value(QStringLiteral("fmlslsinvoiceid")), QStringLiteral("17"));
    EXPECT_EQ(f.value(QStringLiteral("fmlcompanyname")), QStringLiteral("شرکت 'نمونه' & پسران"));
    EXPECT_EQ(f.value(QStringLiteral("fmlstrdebitage")), QStringLiteral("12"));
    EXPECT_EQ(f.value(QStringLiteral("fmlnote")), QStringLiteral("a=b"));
    EXPECT_TRUE(f.contains(QStringLiteral("fmlempty")));
    EXPECT_EQ(f.size(), 5);
}

TEST(ReportValuesTest, SelectionTextNamesTheInvoices) {
    EXPECT_EQ(SelectedInvoiceIds(QStringLiteral("{tblSaleInvoice.ID}=17")), QList<qint64>{17});
    EXPECT_EQ(SelectedInvoiceIds(QStringLiteral(" {tblSaleInvoice.ID} = 5 ")), QList<qint64>{5});
    EXPECT_EQ(SelectedInvoiceIds(QStringLiteral("{tblSaleInvoice.ID} in [3, 1,2,3]")),
              (QList<qint64>{3, 1, 2}));
    EXPECT_EQ(SelectedInvoiceIds(QStringLiteral("{TBLSALEINVOICE.ID} IN (8,9)")),
              (QList<qint64>{8, 9}));
    EXPECT_TRUE(SelectedInvoiceIds(QString()).isEmpty());
    EXPECT_TRUE(SelectedInvoiceIds(QStringLiteral("{tblSaleInvoice.Code}=17")).isEmpty());
    EXPECT_TRUE(SelectedInvoiceIds(QStringLiteral("{tblSaleInvoice.ID}=x")).isEmpty());
}

// The search result's list report names its invoices by the view it lists them from.
TEST(ReportValuesTest, TheSearchResultsListNamesItsInvoices) {
    EXPECT_EQ(SelectedInvoiceIds(QStringLiteral("({vwSaleInvoiceSearch.ID} in [12,7,30])")),
              (QList<qint64>{12, 7, 30}));
    EXPECT_TRUE(SelectedInvoiceIds(QStringLiteral("({vwOther.ID} in [12])")).isEmpty());
}

TEST(ReportValuesTest, PlaceholdersExpandFormulasThenTheLineThenTheHeaderRow) {
    ReportContent content;
    content.formulas.insert(QStringLiteral("fmlcostname1"), QStringLiteral(":هزينه حمل"));
    content.formulas.insert(QStringLiteral("alphabet"), QStringLiteral("يكصد ريال"));
    content.formulas.insert(QStringLiteral("fmlcostval1"), QStringLiteral("1/250/000"));
    content.formulas.insert(QStringLiteral("goodname"), QStringLiteral("formula wins"));
    auto columns = std::make_shared<Columns>(
        QStringList{QStringLiteral("GoodName"), QStringLiteral("Qty"),
                    QStringLiteral("RowTotalValue"), QStringLiteral("Notes")});
    content.rows = RowSet(columns);
    content.rows.append(
        {QStringLiteral("a"), 2.5, QStringLiteral("1234567.5000"), QStringLiteral("header note")});
    content.rows.append({QStringLiteral("b"), 1, QStringLiteral("100"), QVariant()});
    const ValueSource values(content);
    const Place second{&content.rows[1], 2, 3, 4};

    EXPECT_EQ(values.expand(QStringLiteral("{GOODNAME}|{Qty}|{#}|{Notes}"), second),
              QStringLiteral("formula wins|1|2|"));
    EXPECT_EQ(values.expand(QStringLiteral("{Notes}|{Qty}")), QStringLiteral("header note|2.5"));
    EXPECT_EQ(values.expand(QStringLiteral("{RowTotalValue:amount} {Qty:number}"),
                            {&content.rows[0], 1, 0, 0}),
              QStringLiteral("1/234/567.5 2.5"));
    EXPECT_EQ(values.expand(QStringLiteral("{fmlCostName1:label}: {fmlCostVal1:amount}")),
              QStringLiteral("هزينه حمل: 1/250/000"));
    EXPECT_EQ(values.expand(QStringLiteral("{sum(RowTotalValue):amount} ({count})")),
              QStringLiteral("1/234/667.5 (2)"));
    EXPECT_EQ(values.expand(QStringLiteral("{fmlCostVal1:words}")),
              QStringLiteral("يك ميليون و دويست و پنجاه هزار"));
    EXPECT_EQ(
        values.expand(QStringLiteral("{page}/{pages} {{x} {Unknown} {Alphabet:amount}"), second),
        QStringLiteral("3/4 {x}  يكصد ريال"));
    EXPECT_TRUE(values.holds(QStringLiteral("{fmlCostVal1}")));
    EXPECT_FALSE(values.holds(QStringLiteral("{fmlCostVal2}")));
    content.formulas.insert(QStringLiteral("fmlcostval2"), QStringLiteral("0"));
    EXPECT_FALSE(values.holds(QStringLiteral("{fmlCostVal2}")));
}

TEST(ReportValuesTest, DigitsAndJoinedNumbersInRightToLeftText) {
    EXPECT_EQ(PersianDigits(QStringLiteral("روغن 1.5 ليتري، 1/250")),
              QStringLiteral("روغن ۱٫۵ ليتري، ۱/۲۵۰"));
    EXPECT_EQ(PersianDigits(QStringLiteral("آخر.")), QStringLiteral("آخر."));
    const QString lre(QChar(0x202A)), pdf(QChar(0x202C));
    EXPECT_EQ(NumbersLeftToRight(QStringLiteral("تلفن: ۰۲۱-۸۸۷۷ و 1405/09/15")),
              QStringLiteral("تلفن: ") + lre + QStringLiteral("۰۲۱-۸۸۷۷") + pdf +
                  QStringLiteral(" و ") + lre + QStringLiteral("1405/09/15") + pdf);
    EXPECT_EQ(NumbersLeftToRight(QStringLiteral("بدون خط تيره 12/5")),
              QStringLiteral("بدون خط تيره 12/5"));
}

}  // namespace
}  // namespace si::suite::report
