#include "SearchBatchCli.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "Cli.h"
#include "common/SystemParameters.h"
#include "printing/PrintCounts.h"
#include "printing/ReportPrinter.h"
#include "search/SearchBatch.h"

namespace si::cli {

namespace {

const char* const kUsage =
    "invoice search [FILTERS] --xlsx FILE | --print-each --pdf FILE [--template ID] | "
    "--delete-temp [--reason N]";

QString takeValue(QStringList& args, const QString& name) {
    const qsizetype at = args.indexOf(name);
    if (at < 0) return {};
    const QString value = args.value(at + 1);
    if (value.isEmpty() || value.startsWith(QLatin1String("--")))
        throw std::invalid_argument(kUsage);
    args.remove(at, 2);
    return value;
}

int positive(const QString& text) {
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 1) throw std::invalid_argument(kUsage);
    return n;
}

using Kind = SearchBatchOptions::Kind;

void setKind(SearchBatchOptions& o, Kind kind) {
    if (o.kind != Kind::None) throw std::invalid_argument(kUsage);
    o.kind = kind;
}

QJsonArray idsJson(const QList<qint64>& ids) {
    QJsonArray array;
    for (qint64 id : ids)
        array.append(id);
    return array;
}

int printJson(CommandCall& call, const QJsonObject& out, bool done, CliContext& cli) {
    call.out << QJsonDocument(out).toJson(QJsonDocument::Compact) << "\n";
    return done ? kExitOk : cli.refusalExitCode();
}

int exportSpreadsheet(CommandCall& call, CliContext& cli, InvoiceResultModel& result,
                      const QString& file) {
    HeadlessBatchFrontEnd frontEnd(file);
    const std::optional<int> rows = SearchBatch(cli.ctx(), result, frontEnd).cmdToExcel();
    return printJson(call,
                     {{QStringLiteral("file"), rows ? file : QString()},
                      {QStringLiteral("rows"), rows.value_or(0)}},
                     rows.has_value(), cli);
}

// A template the component does not render itself goes to a host: there is none here.
void refuseHostTemplates(ReportPrinter& printer) {
    QObject::connect(
        &printer, &ReportPrinter::PrintByDotNet, &printer,
        [](QString& file, QString&, QString&, QString&, bool&) {
            PrintError(QStringLiteral("قالب «%1» را ميزبان چاپ مي كند و اينجا چاپ نشد.").arg(file));
        },
        Qt::DirectConnection);
}

int printEach(CommandCall& call, CliContext& cli, InvoiceResultModel& result,
              const SearchBatchOptions& o) {
    ReportPrinter printer(cli.ctx());
    printer.setOutput({ReportDestination::PdfFile, o.file});
    printer.headlessChooser().setTemplateId(o.templateId);
    refuseHostTemplates(printer);
    HeadlessBatchFrontEnd frontEnd;
    const BatchPrintOutcome outcome =
        SearchBatch(cli.ctx(), result, frontEnd).cmdBatchPrint(printer);
    // Each invoice printed wrote one file, in the order printed.
    QJsonArray printed;
    for (qsizetype i = 0; i < outcome.printed.size(); ++i)
        printed.append(
            QJsonObject{{QStringLiteral("invoice"), outcome.printed[i]},
                        {QStringLiteral("file"), printer.writtenFiles().value(i)},
                        {QStringLiteral("printCount"),
                         PrintCount(cli.ctx().db(), static_cast<int>(outcome.printed[i]))}});
    return printJson(
        call,
        {{QStringLiteral("printed"), printed},
         {QStringLiteral("atPrintLimit"), idsJson(outcome.atPrintLimit)},
         {QStringLiteral("missing"), idsJson(outcome.missing)},
         {QStringLiteral("files"), QJsonArray::fromStringList(printer.writtenFiles())}},
        outcome.ran, cli);
}

QJsonArray failuresJson(const QList<QPair<qint64, QString>>& failed) {
    QJsonArray array;
    for (const auto& [id, why] : failed)
        array.append(QJsonObject{{QStringLiteral("invoice"), id}, {QStringLiteral("error"), why}});
    return array;
}

// A company that keeps delete reasons needs one of them named.
bool reasonGiven(Context& ctx, std::optional<int> reason) {
    if (ctx.params.flag(P::ShopMode)) return true;
    const QVector<DeleteReason> reasons = DeleteReasons(ctx.db());
    QStringList listed;
    for (const DeleteReason& r : reasons) {
        if (reason && r.sequence == *reason) return true;
        listed << QStringLiteral("%1: %2").arg(r.sequence).arg(r.description);
    }
    if (reasons.isEmpty()) return true;
    PrintError(QStringLiteral("خطا: علت حذف را با --reason بدهيد، يكي از: ") +
               listed.join(QStringLiteral("، ")));
    return false;
}

int deleteTemp(CommandCall& call, CliContext& cli, InvoiceResultModel& result,
               std::optional<int> reason) {
    if (!reasonGiven(cli.ctx(), reason)) return kExitRefused;
    HeadlessBatchFrontEnd frontEnd({}, reason);
    const BatchDeleteOutcome outcome = SearchBatch(cli.ctx(), result, frontEnd).cmdBatchDelete();
    return printJson(call,
                     {{QStringLiteral("deleted"), idsJson(outcome.deleted)},
                      {QStringLiteral("kept"), idsJson(outcome.kept)},
                      {QStringLiteral("failed"), failuresJson(outcome.failed)}},
                     outcome.ran && outcome.failed.isEmpty(), cli);
}

}  // namespace

SearchBatchOptions TakeSearchBatchOptions(QStringList& args) {
    SearchBatchOptions o;
    const QString spreadsheet = takeValue(args, QStringLiteral("--xlsx"));
    if (!spreadsheet.isEmpty()) {
        setKind(o, Kind::Spreadsheet);
        o.file = spreadsheet;
    }
    if (args.removeAll(QStringLiteral("--print-each")) > 0) setKind(o, Kind::PrintEach);
    if (args.removeAll(QStringLiteral("--delete-temp")) > 0) setKind(o, Kind::DeleteTemp);
    const QString pdf = takeValue(args, QStringLiteral("--pdf"));
    const QString templateId = takeValue(args, QStringLiteral("--template"));
    const QString reason = takeValue(args, QStringLiteral("--reason"));
    if ((o.kind == Kind::PrintEach) != !pdf.isEmpty()) throw std::invalid_argument(kUsage);
    if (!templateId.isEmpty() && o.kind != Kind::PrintEach) throw std::invalid_argument(kUsage);
    if (!reason.isEmpty() && o.kind != Kind::DeleteTemp) throw std::invalid_argument(kUsage);
    if (!pdf.isEmpty()) o.file = pdf;
    if (!templateId.isEmpty()) o.templateId = positive(templateId);
    if (!reason.isEmpty()) o.reason = positive(reason);
    return o;
}

int RunSearchBatch(CommandCall& call, CliContext& cli, InvoiceResultModel& result,
                   const SearchBatchOptions& options) {
    switch (options.kind) {
        case Kind::Spreadsheet:
            return exportSpreadsheet(call, cli, result, options.file);
        case Kind::PrintEach:
            return printEach(call, cli, result, options);
        case Kind::DeleteTemp:
            return deleteTemp(call, cli, result, options.reason);
        default:
            throw std::invalid_argument(kUsage);
    }
}

}  // namespace si::cli
