// invoice create | import | show | final | finalize-batch: the form's and the list's logic
// without them.

#include <QFile>
#include <QJsonDocument>
#include <QTextStream>
#include <cstdio>

#include "Cli.h"
#include "Commands.h"
#include "InvoiceEntry.h"
#include "common/Numbers.h"
#include "erpdb/Procedures.h"
#include "posting/BatchFinalRegistration.h"

namespace si::cli {

namespace {

QByteArray readInput(const QString& file) {
    QFile in;
    const bool ok = file == QLatin1String("-")
                        ? in.open(stdin, QIODevice::ReadOnly)
                        : (in.setFileName(file), in.open(QIODevice::ReadOnly));
    if (!ok) throw std::runtime_error(("فايل خوانده نشد: " + file).toStdString());
    return in.readAll();
}

const char* const kBadId = "شماره رايانهاي فاكتور بايد عددي مثبت باشد.";

int parseId(const QStringList& args) {
    bool ok = false;
    const int id = args.value(0).toInt(&ok);
    if (!ok || id < 1) throw std::invalid_argument(kBadId);
    return id;
}

// IDs separated by commas, in one argument or several.
QList<qint64> parseIdList(const QStringList& args) {
    QList<qint64> ids;
    for (const QString& arg : args)
        for (const QString& part : arg.split(u',', Qt::SkipEmptyParts)) {
            bool ok = false;
            const qint64 id = part.trimmed().toLongLong(&ok);
            if (!ok || id < 1) throw std::invalid_argument(kBadId);
            ids << id;
        }
    return ids;
}

void printJson(QTextStream& out, FormMainLogic& form) {
    out << QJsonDocument(InvoiceToJson(form)).toJson(QJsonDocument::Indented);
}

void printTable(QTextStream& out, FormMainLogic& form) {
    const QJsonObject o = InvoiceToJson(form);
    out << "invoice " << o.value(QStringLiteral("id")).toInt() << "  code "
        << (o.value(QStringLiteral("code")).isNull()
                ? QStringLiteral("-")
                : QString::number(o.value(QStringLiteral("code")).toInt()))
        << "  " << o.value(QStringLiteral("state")).toString() << "  "
        << o.value(QStringLiteral("date")).toString() << "\n";
    out << "customer " << o.value(QStringLiteral("customerName")).toString() << "\n";
    const InvoiceDocument& d = form.doc();
    if (!d.walkIn.isEmpty())
        out << "walk-in buyer " << d.walkIn.name
            << (d.walkIn.phone.isEmpty() ? QString() : QStringLiteral("  ") + d.walkIn.phone)
            << "\n";
    for (int r : d.flexDetail.filledRows()) {
        const InvoiceLine& l = d.flexDetail.line(r);
        out << QStringLiteral("%1  %2  %3  x%4 %5  @ %6  -%7  = %8\n")
                   .arg(r + 1, 3)
                   .arg(l.BarCode, l.GoodName)
                   .arg(l.Qty)
                   .arg(l.UnitName, FormatAmount(l.UnitPrice), FormatAmount(l.DiscountValue),
                        FormatAmount(l.LineTotal));
    }
    const InvoiceTotals& t = d.totals;
    out << "total " << FormatAmount(t.TotalPrice) << "  discount "
        << FormatAmount(t.TotalDiscountValue) << "  tax " << FormatAmount(t.Tax + t.Added)
        << "  payable " << FormatAmount(t.GrandTotal) << "\n";
}

int runCreate(CommandCall& call) {
    const bool final = call.args.removeAll(QStringLiteral("--final")) > 0;
    if (call.args.size() != 1) throw std::invalid_argument("invoice create FILE|- [--final]");
    JsonInvoice invoice;
    try {
        invoice = ParseInvoice(readInput(call.args.first()));
    } catch (const JsonError& e) {
        PrintError(QStringLiteral("خطا: ") + QString::fromStdString(e.what()));
        return kExitError;
    }
    CliContext cli(call.options);
    const ReadMemoScope command(cli.ctx());
    cli.open();
    InvoiceEntry entry(cli.ctx());
    if (!entry.create(invoice, final)) return cli.refusalExitCode();
    // The form after its save holds what it stored, as the clerk sees it then; the code and the
    // postings are read back (InvoiceToJson).
    printJson(call.out, entry.form());
    return kExitOk;
}

// What became of one file of an import.
enum class ImportOutcome { Stored, Refused, Failed };

ImportOutcome importOne(CliContext& cli, const QString& file, bool final, QTextStream& out) {
    JsonInvoice invoice;
    try {
        invoice = ParseInvoice(readInput(file));
    } catch (const std::exception& e) {
        PrintError(file + QStringLiteral(": خطا: ") + QString::fromStdString(e.what()));
        out << file << "\t" << QStringLiteral("خطا") << "\n";
        return ImportOutcome::Failed;
    }
    const ReadMemoScope command(cli.ctx());
    const int failedBefore = cli.ctx().hasSession() ? cli.ctx().db().failedStatements() : 0;
    InvoiceEntry entry(cli.ctx());
    if (!entry.create(invoice, final)) {
        const bool failed = cli.ctx().db().failedStatements() > failedBefore;
        out << file << "\t" << (failed ? QStringLiteral("خطا") : QStringLiteral("رد شد")) << "\n";
        return failed ? ImportOutcome::Failed : ImportOutcome::Refused;
    }
    const InvoiceDocument& d = entry.form().doc();
    out << file << "\t" << d.txtID.trimmed() << "\t" << d.txtCode.trimmed() << "\n";
    return ImportOutcome::Stored;
}

// Every file entered and saved as `invoice create` does it, each with a fresh form and in its own
// transaction, but in one session: the connection and its prepared statements serve them all.
// A refused or failed invoice stops only itself.
int runImport(CommandCall& call) {
    const bool final = call.args.removeAll(QStringLiteral("--final")) > 0;
    if (call.args.isEmpty()) throw std::invalid_argument("invoice import FILE... [--final]");
    CliContext cli(call.options);
    cli.open();
    bool refused = false;
    bool failed = false;
    for (const QString& file : std::as_const(call.args)) {
        const ImportOutcome outcome = importOne(cli, file, final, call.out);
        refused |= outcome == ImportOutcome::Refused;
        failed |= outcome == ImportOutcome::Failed;
        call.out.flush();
    }
    if (failed) return kExitError;
    return refused ? kExitRefused : kExitOk;
}

int runShow(CommandCall& call) {
    const bool json = call.args.removeAll(QStringLiteral("--json")) > 0;
    const int id = parseId(call.args);
    CliContext cli(call.options);
    const ReadMemoScope command(cli.ctx());
    cli.open();
    InvoiceEntry entry(cli.ctx());
    if (!entry.show(id)) {
        PrintError(QStringLiteral("خطا: فاكتور «") + QString::number(id) +
                   QStringLiteral("» يافت نشد."));
        return kExitError;
    }
    json ? printJson(call.out, entry.form()) : printTable(call.out, entry.form());
    return kExitOk;
}

int runFinal(CommandCall& call) {
    const int id = parseId(call.args);
    CliContext cli(call.options);
    const ReadMemoScope command(cli.ctx());
    cli.open();
    InvoiceEntry entry(cli.ctx());
    if (!entry.finalize(id)) return cli.refusalExitCode();
    printJson(call.out, entry.form());
    return kExitOk;
}

// The list's batch registration; the count it reports is printed as the result.
int runFinalizeBatch(CommandCall& call) {
    const QList<qint64> ids = parseIdList(call.args);
    CliContext cli(call.options);
    const ReadMemoScope command(cli.ctx());
    cli.open();
    BatchFinalRegistration(cli.ctx()).cmdFinalSave(ids);
    const ConsoleAnswers& shown = cli.answers();
    if (shown.lastCaption != QStringLiteral("اطلاع")) return cli.refusalExitCode();
    call.out << shown.lastText << "\n";
    return kExitOk;
}

}  // namespace

std::vector<Command> InvoiceCommands() {
    return {
        {{QStringLiteral("invoice"), QStringLiteral("create")},
         QStringLiteral("invoice create FILE|- [--final]"),
         QStringLiteral(
             "Reads one JSON invoice (from FILE, or standard input with -), enters it as a clerk "
             "would and\n"
             "saves it temporarily, or finally with --final; prints the stored invoice as JSON.\n"
             "The format is in the README."),
         runCreate},
        {{QStringLiteral("invoice"), QStringLiteral("import")},
         QStringLiteral("invoice import FILE... [--final]"),
         QStringLiteral(
             "Enters and saves each JSON invoice file as invoice create does, in one session;\n"
             "prints one line per file: the file, then the stored ID and code (empty while\n"
             "temporary), or «رد شد» after a refusal and «خطا» after an error. A refused or\n"
             "failed invoice stops only itself. Exit 0 when every file was stored."),
         runImport},
        {{QStringLiteral("invoice"), QStringLiteral("show")},
         QStringLiteral("invoice show ID [--json]"),
         QStringLiteral("Prints a stored invoice as the form loads it: a readable table, or JSON."),
         runShow},
        {{QStringLiteral("invoice"), QStringLiteral("final")},
         QStringLiteral("invoice final ID"),
         QStringLiteral("Opens a stored temporary invoice for editing and saves it finally."),
         runFinal},
        {{QStringLiteral("invoice"), QStringLiteral("finalize-batch")},
         QStringLiteral("invoice finalize-batch ID,ID,... [--yes]"),
         QStringLiteral(
             "Registers the listed temporary invoices finally at once, as the invoice list does:\n"
             "those over the credit level of --position stay temporary; each takes the next code\n"
             "in date order. Needs --yes to confirm; prints how many were registered."),
         runFinalizeBatch},
    };
}

}  // namespace si::cli
