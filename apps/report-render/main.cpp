// saleinvoice-render: renders a report template to a PDF through the report component
// (comCrystalReport.comCrystalRpt, destination 2), given formulas as the print routines give them.
//
//   saleinvoice-render --db CONNECTION --template PATH --pdf FILE [--formula NAME=VALUE]...
//                      [--selection TEXT]
//   saleinvoice-render --words AMOUNT      the amount in Persian words, as formula Alphabet has it
//   saleinvoice-render --today             today's Jalali date, as formula fmlPrintDate has it
//
// Exit codes: 0 written (or handed to the host's engine, which is reported), 1 not written,
// 2 bad command line.

#include <QCommandLineParser>
#include <QGuiApplication>
#include <cstdio>

#include "common/Jalali.h"
#include "common/Numbers.h"
#include "suite/report/ReportComponent.h"

namespace {

void Print(FILE* to, const QString& text) {
    std::fputs((text + QLatin1Char('\n')).toUtf8().constData(), to);
}

int InWords(const QString& amount) {
    const auto value = si::Money::parse(QString(amount).remove(QLatin1Char('/')));
    if (!value) {
        Print(stderr, QStringLiteral("مبلغ «%1» عدد نيست.").arg(amount));
        return 2;
    }
    Print(stdout, si::AmountInWords(*value));
    return 0;
}

int Render(const QCommandLineParser& args) {
    si::suite::ReportComponent report;
    report.setProperty("ReportFileName", args.value(QStringLiteral("template")));
    report.setProperty("Connect", args.value(QStringLiteral("db")));
    report.setProperty("SelectionFormula", args.value(QStringLiteral("selection")));
    report.setProperty("Destination", 2);
    report.setProperty("PrintFileName", args.value(QStringLiteral("pdf")));
    int number = 0;
    for (const QString& item : args.values(QStringLiteral("formula")))
        report.SetFormula(++number, item);
    QObject::connect(
        &report, &si::suite::ReportComponent::PrintByDotNet, &report,
        [](QString& file, QString&, QString& formulas, QString& sql, bool&) {
            Print(stdout, QStringLiteral("PrintByDotNet\t%1\t%2\t%3").arg(file, formulas, sql));
        });
    if (!report.PrintReport(0)) {
        Print(stderr, report.errorMessage());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // Nothing is shown: without a display the fonts come from the offscreen platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser args;
    args.setApplicationDescription(QStringLiteral("A report template rendered to a PDF file."));
    args.addHelpOption();
    args.addOptions({
        {QStringLiteral("db"), QStringLiteral("The connection string."), QStringLiteral("CONN")},
        {QStringLiteral("template"), QStringLiteral("The template file."), QStringLiteral("PATH")},
        {QStringLiteral("pdf"), QStringLiteral("The PDF file to write."), QStringLiteral("FILE")},
        {QStringLiteral("formula"), QStringLiteral("A formula, numbered in the order given."),
         QStringLiteral("NAME=VALUE")},
        {QStringLiteral("selection"), QStringLiteral("The selection text."),
         QStringLiteral("TEXT")},
        {QStringLiteral("words"), QStringLiteral("Prints the amount in Persian words."),
         QStringLiteral("AMOUNT")},
        {QStringLiteral("today"), QStringLiteral("Prints today's Jalali date.")},
    });
    args.process(app);
    if (args.isSet(QStringLiteral("words"))) return InWords(args.value(QStringLiteral("words")));
    if (args.isSet(QStringLiteral("today"))) {
        Print(stdout, si::getFarsiDate(QDate::currentDate()));
        return 0;
    }
    if (!args.isSet(QStringLiteral("template")) || !args.isSet(QStringLiteral("pdf"))) {
        Print(stderr, args.helpText());
        return 2;
    }
    return Render(args);
}
