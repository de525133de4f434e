// invoice search | list: the search form's filters and the list panel's lists, printed as the
// grid shows them (tab-separated under the grid's headers, or JSON).

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "Cli.h"
#include "Commands.h"
#include "SearchBatchCli.h"
#include "common/FoldedText.h"
#include "common/Jalali.h"
#include "search/InvoiceLists.h"
#include "search/InvoiceResultModel.h"
#include "search/SearchFilters.h"

namespace si::cli {

namespace {

struct Companion {
    const char* option;
    const char* control;
};
const Companion kCompanions[] = {{"with-sub-customers", "chkAllCustomer"},
                                 {"with-sub-groups", "chkAllLBranches"},
                                 {"with-sub-projects", "chkAllContract"},
                                 {"with-sub-promoter-paths", "chkAllPromoterPath"},
                                 {"with-sub-customer-paths", "chkAllCustomerPath"}};

[[noreturn]] void refuseOption(const QString& option, const QString& why) {
    throw std::invalid_argument(
        (QStringLiteral("«") + option + QStringLiteral("»: ") + why).toStdString());
}

QVariant optionValue(const SearchFilter& filter, const QString& option, const QString& text) {
    switch (filter.kind) {
        case FilterKind::Id:
        case FilterKind::Number:
            if (!SearchNumber(text)) refuseOption(option, QStringLiteral("عدد نيست."));
            return *SearchNumber(text);
        case FilterKind::DayStart:
        case FilterKind::DayAfter:
        case FilterKind::JalaliText: {
            const QString jalali = FoldedText(text);
            if (!IsValidFarsiDate(jalali))
                refuseOption(option, QStringLiteral("تاريخ به شكل 1405/09/15 نيست."));
            return getEnglishDate(jalali);
        }
        default:
            return text;
    }
}

// --state and --distributed are the two pairs of tick boxes said at once.
void sayPair(SearchValues& values, const QString& option, const QString& value) {
    const bool state = option == QLatin1String("--state");
    const QString first = state ? QStringLiteral("temp") : QStringLiteral("yes");
    const QString second = state ? QStringLiteral("final") : QStringLiteral("no");
    if (value != first && value != second)
        refuseOption(option, first + QStringLiteral(" يا ") + second);
    const bool isFirst = value == first;
    values.insert(state ? QStringLiteral("chkTemp") : QStringLiteral("chkDist"), isFirst);
    values.insert(state ? QStringLiteral("chkFinal") : QStringLiteral("chkNonDist"), !isFirst);
}

bool takeCompanion(SearchValues& values, const QString& option) {
    for (const Companion& c : kCompanions)
        if (option == QLatin1String("--") + QLatin1String(c.option)) {
            values.insert(QString::fromLatin1(c.control), true);
            return true;
        }
    return false;
}

SearchValues parseFilters(QStringList& args) {
    SearchValues values;
    while (!args.isEmpty()) {
        const QString option = args.takeFirst();
        if (takeCompanion(values, option)) continue;
        if (option == QLatin1String("--state") || option == QLatin1String("--distributed")) {
            sayPair(values, option, args.isEmpty() ? QString() : args.takeFirst());
            continue;
        }
        const auto& filters = SearchFilters();
        const auto it = std::find_if(filters.begin(), filters.end(), [&](const SearchFilter& f) {
            return option == QLatin1String("--") + QLatin1String(f.option);
        });
        if (it == filters.end()) refuseOption(option, QStringLiteral("گزينه جستجو نيست."));
        if (it->kind == FilterKind::Unticked) {
            values.insert(QString::fromLatin1(it->control), false);
            continue;
        }
        if (args.isEmpty()) refuseOption(option, QStringLiteral("مقدار ندارد."));
        values.insert(QString::fromLatin1(it->control), optionValue(*it, option, args.takeFirst()));
    }
    return values;
}

int takeLimit(QStringList& args) {
    const qsizetype at = args.indexOf(QStringLiteral("--limit"));
    if (at < 0) return 0;
    const auto n = SearchNumber(args.value(at + 1));
    if (!n || *n < 1) refuseOption(QStringLiteral("--limit"), QStringLiteral("عدد مثبت نيست."));
    args.remove(at, 2);
    return static_cast<int>(*n);
}

void printRows(QTextStream& out, InvoiceResultModel& model, int limit, bool json) {
    while ((limit == 0 || model.rowCount() < limit) && model.fetchNextPage()) {
    }
    const int rows = limit == 0 ? model.rowCount() : std::min(limit, model.rowCount());
    const int columns = model.columnCount();
    QStringList headers;
    for (int c = 0; c < columns; ++c)
        headers << model.headerData(c, Qt::Horizontal).toString().trimmed();
    if (!json) out << headers.join(QLatin1Char('\t')) << "\n";
    QJsonArray array;
    for (int r = 0; r < rows; ++r) {
        QStringList cells;
        QJsonObject object;
        for (int c = 0; c < columns; ++c) {
            const QString cell = model.data(model.index(r, c)).toString();
            cells << cell;
            object.insert(headers[c].isEmpty() ? QString::number(c) : headers[c], cell);
        }
        json ? array.append(object) : void(out << cells.join(QLatin1Char('\t')) << "\n");
    }
    if (json) out << QJsonDocument(array).toJson(QJsonDocument::Indented);
}

int runSearch(CommandCall& call) {
    const bool json = call.args.removeAll(QStringLiteral("--json")) > 0;
    const int limit = takeLimit(call.args);
    const SearchBatchOptions batch = TakeSearchBatchOptions(call.args);
    const SearchValues values = parseFilters(call.args);
    CliContext cli(call.options);
    cli.open();
    InvoiceResultModel model(cli.ctx(), SearchColumns());
    model.setSource({SearchCondition(cli.ctx(), values)});
    if (batch.kind != SearchBatchOptions::Kind::None)
        return RunSearchBatch(call, cli, model, batch);
    printRows(call.out, model, limit, json);
    return kExitOk;
}

int runList(CommandCall& call) {
    const bool json = call.args.removeAll(QStringLiteral("--json")) > 0;
    const QString which = call.args.value(0);
    if (which != QLatin1String("temp") && which != QLatin1String("final"))
        throw std::invalid_argument("invoice list temp|final [--json]");
    const InvoiceList list =
        which == QLatin1String("temp") ? InvoiceList::Temp : InvoiceList::Final;
    CliContext cli(call.options);
    cli.open();
    InvoiceResultModel model(cli.ctx(), ListColumns(list == InvoiceList::Temp));
    model.setSource(InvoiceListSource(cli.ctx(), list, {}));
    printRows(call.out, model, 0, json);
    return kExitOk;
}

QString searchHelp() {
    QString help = QStringLiteral(
        "Finds invoices as the search form does and prints the result grid, newest first.\n"
        "Filters (all optional, any combination):\n");
    for (const SearchFilter& f : SearchFilters())
        help += QStringLiteral("  --%1%2  %3\n")
                    .arg(QString::fromLatin1(f.option),
                         f.kind == FilterKind::Unticked ? QString() : QStringLiteral(" VALUE"),
                         QString::fromUtf8(f.meaning));
    for (const Companion& c : kCompanions)
        help += QStringLiteral("  --%1\n").arg(QString::fromLatin1(c.option));
    help += QStringLiteral(
        "  --state temp|final, --distributed yes|no: one of each pair of tick boxes\n"
        "  --limit N: the first N rows only\n"
        "On the whole result instead of printing it (JSON of what was done):\n"
        "  --xlsx FILE: the grid as a spreadsheet (right 90123)\n"
        "  --print-each --pdf FILE [--template ID]: each invoice printed into FILE, FILE-2, ...\n"
        "    on the template given or the first (right 90116); each print counts\n"
        "  --delete-temp [--reason N]: deletes the temporary invoices in no distribution, with\n"
        "    their sale orders (right 90113; asks, --yes answers)\n"
        "Look-ups take IDs; dates are Jalali (1405/09/15); numbers take any keyboard's digits.");
    return help;
}

}  // namespace

std::vector<Command> SearchCommands() {
    return {
        {{QStringLiteral("invoice"), QStringLiteral("search")},
         QStringLiteral("invoice search [FILTERS] [--limit N] [--json] [--xlsx FILE | "
                        "--print-each --pdf FILE | --delete-temp]"),
         searchHelp(),
         runSearch},
        {{QStringLiteral("invoice"), QStringLiteral("list")},
         QStringLiteral("invoice list temp|final [--json]"),
         QStringLiteral("Prints the newest 1,000 temporary or final invoices as the list panel "
                        "shows them."),
         runList},
    };
}

}  // namespace si::cli
