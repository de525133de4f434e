// Printing: a 200-line invoice on the official A4 template to a PDF, the preview pages of a
// 20-line invoice as the print preview paints them, and 100 lottery sheets, each an output of
// its own as the lottery prints them. All through the report component, as the invoice form
// drives it; the invoices' lines are read from the database each time.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTemporaryDir>

#include "BenchSupport.h"
#include "suite/report/ReportComponent.h"
#include "support/ReportFixtures.h"

namespace {

using si::test::Backend;
constexpr int kGoods = 400;
constexpr int kSheets = 100;

QString templatePath(const char* name) {
    return QStringLiteral(SI_REPORT_TEMPLATES "/") + QString::fromLatin1(name);
}

QTemporaryDir& outputDir() {
    static QTemporaryDir dir;
    return dir;
}

// An invoice of `lines` lines on the back-end's demo, made once; its formulas.
QMap<int, QString> invoiceFormulas(const Backend& backend, int lines) {
    static std::map<std::pair<QString, int>, QMap<int, QString>> made;
    auto& formulas = made[{backend.name, lines}];
    if (formulas.isEmpty()) {
        auto s = si::Session::open(si::bench::demoConnection(backend, kGoods));
        formulas = si::test::InvoicePrintFormulas(*s, si::test::AddInvoiceWithLines(*s, lines));
    }
    return formulas;
}

void setUp(si::suite::ReportComponent& report, const QString& file, const QString& connection,
           const QMap<int, QString>& formulas) {
    report.setProperty("ReportFileName", file);
    report.setProperty("Connect", connection);
    report.ClearFormulas();
    for (auto it = formulas.begin(); it != formulas.end(); ++it)
        report.SetFormula(it.key(), it.value());
}

void BM_InvoicePdf200Lines(benchmark::State& state, const Backend& backend) {
    const QMap<int, QString> formulas = invoiceFormulas(backend, 200);
    si::suite::ReportComponent report;
    setUp(report, templatePath("SaleInvoiceFormal.xml"), si::bench::demoConnection(backend, kGoods),
          formulas);
    report.setProperty("Destination", 2);
    report.setProperty("PrintFileName", outputDir().filePath(QStringLiteral("invoice.pdf")));
    for (auto _ : state) {
        if (!report.PrintReport(0))
            state.SkipWithError(report.errorMessage().toStdString().c_str());
    }
}

void BM_PreviewPages20Lines(benchmark::State& state, const Backend& backend) {
    const QMap<int, QString> formulas = invoiceFormulas(backend, 20);
    si::suite::ReportComponent report;
    setUp(report, templatePath("SaleInvoiceFormal.xml"), si::bench::demoConnection(backend, kGoods),
          formulas);
    int pages = 0;
    // The pages painted as the dialog paints them when it opens, without showing it.
    report.showPreview = [&](QPrintPreviewDialog& dialog) {
        auto* widget = dialog.findChild<QPrintPreviewWidget*>();
        widget->updatePreview();
        pages = widget->pageCount();
    };
    for (auto _ : state) {
        if (!report.PrintReport(1))
            state.SkipWithError(report.errorMessage().toStdString().c_str());
    }
    state.counters["pages"] = pages;
}

void BM_LotterySheets(benchmark::State& state) {
    QMap<int, QString> formulas{
        {1, QStringLiteral("fmlSLSInvoiceID=4521")},
        {2, QStringLiteral("fmlID=4521")},
        {3, si::test::TextFormula(QStringLiteral("fmlCompanyName"),
                                  QStringLiteral("شرکت بازرگاني پارس نيک"))},
        {4, si::test::TextFormula(QStringLiteral("fmlCustomerName"), QStringLiteral("مريم احمدي"))},
        {5, QStringLiteral("fmlTotalValue=125000000")},
    };
    si::suite::ReportComponent report;
    setUp(report, templatePath("Lottery.xml"), QString(), formulas);
    report.setProperty("Destination", 2);
    for (auto _ : state) {
        for (int sheet = 1; sheet <= kSheets; ++sheet) {
            report.SetFormula(6, QStringLiteral("fmlNo=%1").arg(sheet));
            report.setProperty("PrintFileName",
                               outputDir().filePath(QStringLiteral("sheet-%1.pdf").arg(sheet)));
            if (!report.PrintReport(0))
                state.SkipWithError(report.errorMessage().toStdString().c_str());
        }
    }
    state.counters["sheets"] = kSheets;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    si::bench::RegisterPerBackend("InvoicePdf/200lines/A4", BM_InvoicePdf200Lines);
    si::bench::RegisterPerBackend("PreviewPages/20lines/A4", BM_PreviewPages20Lines);
    benchmark::RegisterBenchmark("LotterySheets/100", BM_LotterySheets)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    si::bench::demoDatabases().clear();
    return 0;
}
