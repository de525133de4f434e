// Invoices of the demo printed to PDF and read back as text, on both databases: the official A4
// invoice in reading order, the 80 mm receipt's page, a long invoice over several pages with its
// header and page numbers on each, the selection text choosing the lines, and the invoice list.

#include <gtest/gtest.h>
#include <QPdfWriter>

#include "ReportTestSupport.h"
#include "common/Numbers.h"
#include "suite/report/ReportComponent.h"
#include "suite/report/ReportData.h"
#include "suite/report/ReportRender.h"
#include "support/ReportFixtures.h"

namespace si::test {
namespace {

using suite::ReportComponent;
namespace report = suite::report;

constexpr double kRollWidthPt = 80 / 25.4 * 72;

class ReportPdfTest : public ReportDbTest {
protected:
    // The component as the invoice form drives it, to a PDF; false with the message failed.
    bool printPdf(const QString& templateName, const QMap<int, QString>& formulas,
                  const QString& pdf, const QString& selection = {}) {
        ReportComponent report;
        report.setProperty("ReportFileName", TemplatePath(templateName));
        report.setProperty("Connect", connection());
        report.setProperty("SelectionFormula", selection);
        report.setProperty("Destination", 2);
        report.setProperty("PrintFileName", pdf);
        for (auto it = formulas.begin(); it != formulas.end(); ++it)
            report.SetFormula(it.key(), it.value());
        const bool printed = report.PrintReport(0);
        EXPECT_TRUE(printed) << report.errorMessage().toStdString();
        return printed;
    }
    RowSet lines(qint64 invoice) {
        return db().query(QStringLiteral("select GoodName, RowTotalValue from vwSaleInvoicePrint "
                                         "where InvoiceID = ? order by RowNumber"),
                          {invoice});
    }
    Row header(qint64 invoice) {
        return *db().first(QStringLiteral("select s.TotalValue, trim(coalesce(o.FirstName, '') "
                                          "|| ' ' || coalesce(o.Name, '')) as CustomerName from "
                                          "tblSaleInvoice s left join tblOrganization o on o.ID "
                                          "= s.CustomerID where s.ID = ?"),
                           {invoice});
    }
};

TEST_P(ReportPdfTest, OfficialInvoiceReadsInOrderWithItsTotalInWords) {
    const qint64 invoice = NewestFinalInvoice(db());
    const QString pdf = file(QStringLiteral("formal.pdf"));
    ASSERT_TRUE(printPdf(QStringLiteral("SaleInvoiceFormal.xml"),
                         InvoicePrintFormulas(db(), invoice), pdf));
    const PdfInfo info = ReadPdfInfo(pdf);
    EXPECT_EQ(info.pages, 1);
    EXPECT_NEAR(info.pageSize.width(), 595.3, 0.5);
    EXPECT_NEAR(info.pageSize.height(), 841.9, 0.5);

    const Row h = header(invoice);
    const Money total = h.money(u"TotalValue");
    QStringList expected{db().scalar(QStringLiteral("select Name from vwZelorCompany")).toString(),
                         h.text(u"CustomerName")};
    const RowSet rows = lines(invoice);
    ASSERT_FALSE(rows.empty());
    for (const Row& line : rows)
        expected << line.text(u"GoodName") << FormatAmount(line.money(u"RowTotalValue"));
    expected << QStringLiteral("مبلغ قابل پرداخت") << FormatAmount(total)
             << AmountInWords(total) + QStringLiteral(" ريال")
             << QStringLiteral("مهر و امضاي فروشنده") << QStringLiteral("صفحه 1 از 1");
    ExpectInOrder(PdfText(pdf), expected);
}

TEST_P(ReportPdfTest, ReceiptIsOneRollPageEightyMillimetresWideAsLongAsItsLines) {
    const qint64 small = NewestFinalInvoice(db());
    const qint64 large = AddInvoiceWithLines(db(), 60);
    const QString smallPdf = file(QStringLiteral("small.pdf")),
                  largePdf = file(QStringLiteral("large.pdf"));
    ASSERT_TRUE(printPdf(QStringLiteral("SaleInvoiceShop.xml"), InvoicePrintFormulas(db(), small),
                         smallPdf));
    ASSERT_TRUE(printPdf(QStringLiteral("SaleInvoiceShop.xml"), InvoicePrintFormulas(db(), large),
                         largePdf));
    const PdfInfo a = ReadPdfInfo(smallPdf), b = ReadPdfInfo(largePdf);
    EXPECT_EQ(a.pages, 1);
    EXPECT_EQ(b.pages, 1);
    EXPECT_NEAR(a.pageSize.width(), kRollWidthPt, 0.5);
    EXPECT_NEAR(b.pageSize.width(), kRollWidthPt, 0.5);
    EXPECT_GT(b.pageSize.height(), a.pageSize.height() + 50 * 10);  // 50 more lines, ~4 mm each
    const Money total = header(large).money(u"TotalValue");
    ExpectInOrder(PdfText(largePdf), {QStringLiteral("قابل پرداخت"), FormatAmount(total),
                                      QStringLiteral("از خريد شما سپاسگزاريم")});
}

TEST_P(ReportPdfTest, LongInvoiceRunsOverPagesWithTheHeaderAndPageNumbersOnEach) {
    const qint64 invoice = AddInvoiceWithLines(db(), 200);
    const QString pdf = file(QStringLiteral("long.pdf"));
    ASSERT_TRUE(printPdf(QStringLiteral("SaleInvoiceFormal.xml"),
                         InvoicePrintFormulas(db(), invoice), pdf));
    const int pages = ReadPdfInfo(pdf).pages;
    ASSERT_GE(pages, 4);
    const RowSet rows = lines(invoice);
    ASSERT_EQ(rows.size(), 200);
    const Money total = header(invoice).money(u"TotalValue");
    int linesSeen = 0;
    for (int page = 1; page <= pages; ++page) {
        const QString text = PdfText(pdf, page);
        ExpectContains(text, {QStringLiteral("صورتحساب فروش کالا و خدمات"),
                              QStringLiteral("صفحه %1 از %2").arg(page).arg(pages)});
        // The lines go on where the previous page stopped, under the table's header.
        const QString comparable = Comparable(text);
        const int first = linesSeen;
        while (linesSeen < rows.size() &&
               comparable.contains(Comparable(rows[linesSeen].text(u"GoodName"))))
            ++linesSeen;
        if (linesSeen > first)
            ExpectContains(text,
                           {QStringLiteral("شرح کالا يا خدمات"), QStringLiteral("مبلغ کل (ريال)")});
        if (linesSeen == rows.size() && first < rows.size())
            ExpectInOrder(text, {QStringLiteral("جمع اقلام"), FormatAmount(total)});
    }
    EXPECT_EQ(linesSeen, 200);
    ExpectInOrder(PdfText(pdf), {AmountInWords(total), QStringLiteral("مهر و امضاي خريدار")});

    // The engine on its own gives the same pages.
    const report::ReportTemplate tmpl =
        report::LoadTemplate(TemplatePath(QStringLiteral("SaleInvoiceFormal.xml")));
    const report::ReportContent content = report::LoadContent(
        &db(), tmpl, report::ParseFormulas(InvoicePrintFormulas(db(), invoice)), QString());
    QPdfWriter writer(file(QStringLiteral("engine.pdf")));
    EXPECT_EQ(report::Render(tmpl, content, writer), pages);
}

TEST_P(ReportPdfTest, SelectionTextPicksTheInvoicesLinesWithoutTheInvoiceFormula) {
    const qint64 invoice = NewestFinalInvoice(db());
    const qint64 other = AddInvoiceWithLines(db(), 1);
    QMap<int, QString> formulas = InvoicePrintFormulas(db(), other);
    formulas.remove(1);  // fmlSLSInvoiceID
    const report::ReportTemplate tmpl =
        report::LoadTemplate(TemplatePath(QStringLiteral("SaleInvoiceFormal.xml")));
    const QString selection = QStringLiteral("{tblSaleInvoice.ID}=%1").arg(invoice);
    const report::ReportContent content =
        report::LoadContent(&db(), tmpl, report::ParseFormulas(formulas), selection);
    ASSERT_EQ(content.rows.size(), lines(invoice).size());
    for (const Row& row : content.rows)
        EXPECT_EQ(row.toInt64(u"InvoiceID"), invoice);

    const QString pdf = file(QStringLiteral("selected.pdf"));
    ASSERT_TRUE(printPdf(QStringLiteral("SaleInvoice.xml"), formulas, pdf, selection));
    QStringList names;
    for (const Row& line : lines(invoice))
        names << line.text(u"GoodName");
    ExpectInOrder(PdfText(pdf), names);
}

TEST_P(ReportPdfTest, InvoiceListShowsTheSelectedInvoices) {
    const RowSet invoices = db().query(QStringLiteral(
        "select ID, Code, TotalValue from tblSaleInvoice where Code is not null order by ID desc "
        "limit 3"));
    ASSERT_EQ(invoices.size(), 3);
    QStringList ids, expected;
    Money sum;
    for (int i = invoices.size() - 1; i >= 0; --i) {
        ids << invoices[i].text(u"ID");
        expected << invoices[i].text(u"Code") << FormatAmount(invoices[i].money(u"TotalValue"));
        sum += invoices[i].money(u"TotalValue");
    }
    expected << FormatAmount(sum) << QStringLiteral("تعداد فاکتورها: 3");
    const QString pdf = file(QStringLiteral("list.pdf"));
    ASSERT_TRUE(
        printPdf(QStringLiteral("SaleInvoiceList.xml"),
                 {{1, TextFormula(QStringLiteral("fmlPrintDate"), QStringLiteral("1405/09/16"))}},
                 pdf, QStringLiteral("{tblSaleInvoice.ID} in [%1]").arg(ids.join(u','))));
    EXPECT_NEAR(ReadPdfInfo(pdf).pageSize.width(), 841.9, 0.5);  // A4 across
    ExpectInOrder(PdfText(pdf), expected);
}

// The search result's list report: the demo's template of form type 910 over the invoices its
// selection names by the search view.
TEST_P(ReportPdfTest, TheSearchResultsListPrintsItsInvoices) {
    EXPECT_EQ(db().scalar(QStringLiteral(
                  "select FilePath from tblZelorReportTemplate where FormTypeID = 910")),
              QStringLiteral("templates/SaleInvoiceList.xml"));
    const RowSet invoices = db().query(QStringLiteral(
        "select ID, Code from tblSaleInvoice where Code is not null order by ID desc limit 2"));
    ASSERT_EQ(invoices.size(), 2);
    const QString pdf = file(QStringLiteral("result-list.pdf"));
    ASSERT_TRUE(printPdf(QStringLiteral("SaleInvoiceList.xml"), {}, pdf,
                         QStringLiteral("({vwSaleInvoiceSearch.ID} in [%1,%2])")
                             .arg(invoices[1].text(u"ID"), invoices[0].text(u"ID"))));
    ExpectInOrder(PdfText(pdf), {invoices[1].text(u"Code"), invoices[0].text(u"Code"),
                                 QStringLiteral("تعداد فاکتورها: 2")});
}

TEST_P(ReportPdfTest, ATemplateNamingWhatTheDatabaseLacksIsRefused) {
    const auto tryView = [&](const QByteArray& root) {
        const report::ReportTemplate tmpl =
            report::ParseTemplate(root + "<table><column title='a' field='A'/></table></report>",
                                  QStringLiteral("v.xml"));
        try {
            report::LoadContent(&db(), tmpl, {}, QStringLiteral("{tblSaleInvoice.ID}=1"));
        } catch (const report::ReportError& e) {
            return e.message();
        }
        return QString();
    };
    EXPECT_EQ(tryView("<report view='vwNoSuchView'>"),
              QStringLiteral("نماي «vwNoSuchView» قالب گزارش در پايگاه داده نيست."));
    EXPECT_EQ(tryView("<report view='vwSaleInvoiceSearch' key='ID' order='Nothing'>"),
              QStringLiteral("ستونهاي «Nothing، ID» در نماي «vwSaleInvoiceSearch» نيستند."));
    EXPECT_EQ(tryView("<report view='vwSaleInvoiceSearch' key='ID; drop table tblSaleInvoice'>"),
              QStringLiteral("نام ستون «ID; drop table tblSaleInvoice» در قالب گزارش درست نيست."));
    EXPECT_TRUE(db().tableExists(QStringLiteral("tblSaleInvoice")));
}

SI_INSTANTIATE_BACKENDS(ReportPdfTest);

}  // namespace
}  // namespace si::test
