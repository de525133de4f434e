// invoice print and turn print: the invoice's print and the contents of a cash turn, written to a
// PDF file by the report component through the same routines as the form's buttons.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "Cli.h"
#include "Commands.h"
#include "InvoiceEntry.h"
#include "invoice/CashTurnSelector.h"
#include "printing/CashContentsPrint.h"
#include "printing/PrintCounts.h"

namespace si::cli {

namespace {

const char* const kInvoiceUsage = "invoice print ID --pdf FILE [--template ID]";
const char* const kTurnUsage = "turn print CASH TURN --pdf FILE [--template ID]";

// Takes "--name VALUE" out of the arguments; empty when it is not there.
QString takeOption(QStringList& args, const QString& name, const char* usage) {
    const qsizetype at = args.indexOf(name);
    if (at < 0) return {};
    const QString value = args.value(at + 1);
    if (value.isEmpty() || value.startsWith(QLatin1String("--")))
        throw std::invalid_argument(usage);
    args.remove(at, 2);
    return value;
}

int positive(const QString& text, const char* usage) {
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 1) throw std::invalid_argument(usage);
    return n;
}

struct PrintOptions {
    QString file;
    int templateId = 0;
};

PrintOptions takePrintOptions(QStringList& args, const char* usage) {
    PrintOptions o;
    o.file = takeOption(args, QStringLiteral("--pdf"), usage);
    if (o.file.isEmpty()) throw std::invalid_argument(usage);
    const QString templateId = takeOption(args, QStringLiteral("--template"), usage);
    if (!templateId.isEmpty()) o.templateId = positive(templateId, usage);
    return o;
}

void prepare(ReportPrinter& printer, const PrintOptions& o) {
    printer.setOutput({ReportDestination::PdfFile, o.file});
    printer.headlessChooser().setTemplateId(o.templateId);
    // A template the component does not render itself goes to a host: there is none here.
    QObject::connect(
        &printer, &ReportPrinter::PrintByDotNet, &printer,
        [](QString& file, QString&, QString&, QString&, bool&) {
            PrintError(QStringLiteral("قالب «%1» را ميزبان چاپ مي كند و اينجا چاپ نشد.").arg(file));
        },
        Qt::DirectConnection);
}

QJsonArray filesJson(const ReportPrinter& printer) {
    return QJsonArray::fromStringList(printer.writtenFiles());
}

int runInvoicePrint(CommandCall& call) {
    const PrintOptions o = takePrintOptions(call.args, kInvoiceUsage);
    if (call.args.size() != 1) throw std::invalid_argument(kInvoiceUsage);
    const int id = positive(call.args.value(0), kInvoiceUsage);
    CliContext cli(call.options);
    cli.open();
    InvoiceEntry entry(cli.ctx());
    if (!entry.show(id)) {
        PrintError(QStringLiteral("خطا: فاكتور «%1» يافت نشد.").arg(id));
        return kExitRefused;
    }
    InvoicePrinting& printing = entry.module().printing();
    prepare(printing, o);
    const bool printed = printing.Print(false);
    const QJsonObject out{{QStringLiteral("invoice"), id},
                          {QStringLiteral("printCount"), PrintCount(cli.ctx().db(), id)},
                          {QStringLiteral("files"), filesJson(printing)}};
    call.out << QJsonDocument(out).toJson(QJsonDocument::Compact) << "\n";
    return printed ? kExitOk : cli.refusalExitCode();
}

QString cashNameOf(Session& s, int userId, int cash, int turn) {
    for (const CashTurnEntry& e : OwnCashTurns(s, userId))
        if (e.cashId == cash && e.turn == turn) return CashNameOfEntry(e.text);
    return {};
}

int runTurnPrint(CommandCall& call) {
    const PrintOptions o = takePrintOptions(call.args, kTurnUsage);
    if (call.args.size() != 2) throw std::invalid_argument(kTurnUsage);
    const int cash = positive(call.args.value(0), kTurnUsage);
    const int turn = positive(call.args.value(1), kTurnUsage);
    CliContext cli(call.options);
    cli.open();
    Context& ctx = cli.ctx();
    const auto contents = ReadCashTurnContents(ctx.db(), call.options.user, cash, turn);
    if (!contents) {
        PrintError(QStringLiteral("خطا: چنين نوبت صندوقي براي اين كاربر وجود ندارد."));
        return kExitRefused;
    }
    ReportPrinter printer(ctx);
    prepare(printer, o);
    const bool printed = PrintCashContents(
        printer,
        CashContentsFiguresOf(*contents, cashNameOf(ctx.db(), call.options.user, cash, turn)));
    const QJsonObject out{{QStringLiteral("cash"), cash},
                          {QStringLiteral("turn"), turn},
                          {QStringLiteral("files"), filesJson(printer)}};
    call.out << QJsonDocument(out).toJson(QJsonDocument::Compact) << "\n";
    return printed ? kExitOk : cli.refusalExitCode();
}

}  // namespace

std::vector<Command> PrintCommands() {
    return {
        {{QStringLiteral("invoice"), QStringLiteral("print")},
         QString::fromUtf8(kInvoiceUsage),
         QStringLiteral("Prints a stored invoice as the form's Print button does (its rights, "
                        "the\nlimit of prints, the count, a shop's second copy and lottery "
                        "sheets) into a\nPDF file; --template names the template, else the "
                        "first one. Prints the\ninvoice, its new print count and the files "
                        "written as JSON."),
         runInvoicePrint},
        {{QStringLiteral("turn"), QStringLiteral("print")},
         QString::fromUtf8(kTurnUsage),
         QStringLiteral("Prints the contents of a turn of --user (right 20804) into a PDF file; "
                        "prints\nthe files written as JSON."),
         runTurnPrint},
    };
}

}  // namespace si::cli
