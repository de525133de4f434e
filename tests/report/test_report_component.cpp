// The report component as the invoice form and the cash-turn contents drive it: created by its
// ProgID, a template of ours output to a PDF or a preview, an old report handed to the host, and
// a missing template, a broken one or a missing printer refused with a Persian message.

#include <gtest/gtest.h>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>

#include "ReportTestSupport.h"
#include "common/ComponentRegistry.h"
#include "suite/Components.h"
#include "suite/report/ReportComponent.h"
#include "support/ReportFixtures.h"

namespace si::test {
namespace {

using suite::ReportComponent;

constexpr double kRollWidthPt = 80 / 25.4 * 72;  // 226.77

class ReportComponentTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString write(const QString& name, const QByteArray& text) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return f.fileName();
    }
    void lotteryFormulas(ReportComponent& report) {
        report.SetFormula(1, QStringLiteral("fmlID=4521"));
        report.SetFormula(2, TextFormula(QStringLiteral("fmlCompanyName"),
                                         QStringLiteral("فروشگاه زنجيره اي نمونه")));
        report.SetFormula(
            3, TextFormula(QStringLiteral("fmlCustomerName"), QStringLiteral("مريم احمدي")));
        report.SetFormula(4, QStringLiteral("fmlTotalValue=2500000"));
        report.SetFormula(5, QStringLiteral("fmlNo=2"));
    }
    QTemporaryDir dir;
};

TEST_F(ReportComponentTest, AnOldReportGoesToTheHostWithTheFiveValues) {
    ReportComponent report;
    QString got[4];
    bool preview = true;
    int raised = 0;
    QObject::connect(
        &report, &ReportComponent::PrintByDotNet, &report,
        [&](QString& file, QString& connection, QString& formulas, QString& sql, bool& doPreview) {
            got[0] = file, got[1] = connection, got[2] = formulas, got[3] = sql;
            preview = doPreview;
            ++raised;
        });
    const QString rpt = write(QStringLiteral("SaleInvoice.rpt"), "\xd0\xcf\x11\xe0 crystal");
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    report.setProperty("ReportFileName", rpt);
    report.setProperty("Connect", QStringLiteral("Provider=SQLite;Data Source=/nowhere.sqlite"));
    report.setProperty("SelectionFormula", QStringLiteral("{tblSaleInvoice.ID}=17"));
    report.setProperty("Destination", 2);
    report.setProperty("PrintFileName", pdf);
    report.SetFormula(10, QStringLiteral("fmlCash='صندوق 1'"));
    report.SetFormula(2, QStringLiteral("fmlID=17"));
    report.SetFormula(1, QStringLiteral("fmlSLSInvoiceID=17"));
    report.SetFormula(5, QStringLiteral("Alphabet='صد ريال'"));
    report.SetFormula(5, QString());  // cleared: takes no place in the list

    EXPECT_TRUE(report.PrintReport(0));
    EXPECT_EQ(raised, 1);
    EXPECT_EQ(got[0], rpt);
    EXPECT_EQ(got[1], QStringLiteral("Provider=SQLite;Data Source=/nowhere.sqlite"));
    EXPECT_EQ(got[2], QStringLiteral("fmlSLSInvoiceID=17&fmlID=17&fmlCash='صندوق 1'"));
    EXPECT_EQ(got[3], QStringLiteral("{tblSaleInvoice.ID}=17"));
    EXPECT_FALSE(preview);
    EXPECT_TRUE(report.errorMessage().isEmpty());
    EXPECT_FALSE(QFile::exists(pdf));  // rendered nothing itself

    EXPECT_TRUE(report.PrintReport(1));
    EXPECT_TRUE(preview);
    report.setProperty("Destination", 0);
    EXPECT_TRUE(report.PrintReport(0));
    EXPECT_TRUE(preview);
    EXPECT_EQ(raised, 3);
}

TEST_F(ReportComponentTest, AMissingOrBrokenTemplateOutputsNothingAndSaysWhy) {
    ReportComponent report;
    int host = 0;
    QObject::connect(&report, &ReportComponent::PrintByDotNet, &report,
                     [&](QString&, QString&, QString&, QString&, bool&) { ++host; });
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    report.setProperty("Destination", 2);
    report.setProperty("PrintFileName", pdf);
    const QString missing = dir.filePath(QStringLiteral("templates/Gone.rpt"));
    report.setProperty("ReportFileName", missing);
    EXPECT_FALSE(report.PrintReport(0));
    EXPECT_EQ(report.errorMessage(), QStringLiteral("فايل قالب گزارش «%1» پيدا نشد.").arg(missing));

    report.setProperty("ReportFileName",
                       write(QStringLiteral("Broken.xml"), "<report>\n<text>a</txt>\n</report>"));
    EXPECT_FALSE(report.PrintReport(0));
    EXPECT_TRUE(report.errorMessage().startsWith(
        QStringLiteral("قالب گزارش «Broken.xml»، سطر 2: متن XML نادرست است")))
        << report.errorMessage().toStdString();

    // A band of lines without an invoice to read them for.
    report.setProperty("ReportFileName", TemplatePath(QStringLiteral("SaleInvoiceFormal.xml")));
    EXPECT_FALSE(report.PrintReport(0));
    EXPECT_TRUE(report.errorMessage().startsWith(
        QStringLiteral("فاکتوري که گزارش درباره آن است مشخص نيست")));
    report.SetFormula(1, QStringLiteral("fmlSLSInvoiceID=3"));
    EXPECT_FALSE(report.PrintReport(0));
    EXPECT_EQ(report.errorMessage(),
              QStringLiteral("رشته اتصال به پايگاه داده به گزارش داده نشده است."));

    EXPECT_EQ(host, 0);
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(ReportComponentTest, WithoutAPrinterPrintingIsRefused) {
    ReportComponent report;
    report.defaultPrinter = [] { return QPrinterInfo(); };
    report.setProperty("ReportFileName", TemplatePath(QStringLiteral("Lottery.xml")));
    report.setProperty("Destination", 1);
    lotteryFormulas(report);
    EXPECT_FALSE(report.PrintReport(0));
    EXPECT_EQ(report.errorMessage(),
              QStringLiteral("چاپگر پيش فرضي روي اين سيستم تعريف نشده است؛ گزارش چاپ نشد."));
}

TEST_F(ReportComponentTest, PreviewShowsTheSheetOnItsRoll) {
    ReportComponent report;
    int pages = -1;
    QSizeF paper;
    report.showPreview = [&](QPrintPreviewDialog& dialog) {
        auto* widget = dialog.findChild<QPrintPreviewWidget*>();
        ASSERT_NE(widget, nullptr);
        widget->updatePreview();
        pages = widget->pageCount();
        paper = dialog.printer()->pageLayout().fullRectPoints().size();
    };
    report.setProperty("ReportFileName", TemplatePath(QStringLiteral("Lottery.xml")));
    report.setProperty("Destination", 1);
    lotteryFormulas(report);
    EXPECT_TRUE(report.PrintReport(1)) << report.errorMessage().toStdString();
    EXPECT_EQ(pages, 1);
    EXPECT_NEAR(paper.width(), kRollWidthPt, 1);
    EXPECT_GT(paper.height(), 150);  // as long as the sheet, not an A4 page
    EXPECT_LT(paper.height(), 600);
}

TEST_F(ReportComponentTest, CreatedByItsProgIdItWritesThePdf) {
    ComponentRegistry registry;
    suite::RegisterComponents(registry);
    const auto component = registry.create(QStringLiteral("comCrystalReport.comCrystalRpt"));
    ASSERT_NE(component, nullptr);
    auto& report = dynamic_cast<ReportComponent&>(*component);
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    SetProperties(report, {{"ReportFileName", TemplatePath(QStringLiteral("Lottery.xml"))},
                           {"Destination", 2},
                           {"PrintFileName", pdf}});
    lotteryFormulas(report);
    bool printed = false;
    ASSERT_TRUE(QMetaObject::invokeMethod(&report, "PrintReport", Q_RETURN_ARG(bool, printed),
                                          Q_ARG(int, 0)));
    ASSERT_TRUE(printed) << report.errorMessage().toStdString();
    const PdfInfo info = ReadPdfInfo(pdf);
    EXPECT_EQ(info.pages, 1);
    EXPECT_NEAR(info.pageSize.width(), kRollWidthPt, 0.5);
    ExpectInOrder(PdfText(pdf),
                  {QStringLiteral("فروشگاه زنجيره اي نمونه"), QStringLiteral("برگه قرعه کشي"),
                   QStringLiteral("شماره برگه2"), QStringLiteral("شماره فاکتور4521"),
                   QStringLiteral("مريم احمدي"), QStringLiteral("2/500/000")});
}

}  // namespace
}  // namespace si::test
