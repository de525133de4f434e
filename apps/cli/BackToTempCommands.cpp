// invoice back-to-temp: a final invoice returned to the temporary state as the form's
// cmdBackToTemp returns it, with the same checks; the command is the clerk's confirmation, so
// every question is answered yes.

#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>

#include "Cli.h"
#include "Commands.h"
#include "InvoiceEntry.h"

namespace si::cli {

namespace {

const char* const kBackToTempUsage = "invoice back-to-temp ID";

// What hangs on a final invoice, by the key the output names it.
const std::pair<const char*, const char*> kPostings[] = {
    {"documentRows", "tblAccountDocumentDetail where FormTypeID = 901 and FormID = ?"},
    {"dispatches", "tblInventoryDispatch where FormTypeID = 901 and FormID = ?"},
    {"cashTurnRows", "tblRecPayCashTurnDetail where FormTypeID = 901 and FormID = ?"},
};

QHash<QString, int> postingsOf(Session& s, int id) {
    QHash<QString, int> counts;
    for (const auto& [key, rows] : kPostings)
        counts.insert(
            QString::fromLatin1(key),
            s.scalar(QStringLiteral("select count(*) from ") + QLatin1String(rows), {id}).toInt());
    return counts;
}

int runBackToTemp(CommandCall& call) {
    bool ok = false;
    const int id = call.args.value(0).toInt(&ok);
    if (!ok || id < 1 || call.args.size() != 1) throw std::invalid_argument(kBackToTempUsage);
    CliContext cli(call.options);
    cli.open();
    cli.answers().yes = true;
    InvoiceEntry entry(cli.ctx());
    if (!entry.show(id)) {
        PrintError(QStringLiteral("خطا: فاكتور «%1» يافت نشد.").arg(id));
        return kExitRefused;
    }
    const QString code = entry.form().doc().txtCode.trimmed();
    Session& s = cli.ctx().db();
    const QHash<QString, int> before = postingsOf(s, id);
    if (!entry.module().BackToTemp()) return cli.refusalExitCode();
    const QHash<QString, int> after = postingsOf(s, id);
    QJsonObject removed;
    for (const auto& [key, rows] : kPostings)
        removed.insert(QString::fromLatin1(key), before.value(QString::fromLatin1(key)) -
                                                     after.value(QString::fromLatin1(key)));
    entry.show(id);
    const QJsonObject out{{QStringLiteral("id"), id},
                          {QStringLiteral("previousCode"), code.toInt()},
                          {QStringLiteral("removed"), removed},
                          {QStringLiteral("invoice"), InvoiceToJson(entry.form())}};
    call.out << QJsonDocument(out).toJson(QJsonDocument::Indented);
    return kExitOk;
}

}  // namespace

std::vector<Command> BackToTempCommands() {
    return {
        {{QStringLiteral("invoice"), QStringLiteral("back-to-temp")},
         QString::fromUtf8(kBackToTempUsage),
         QStringLiteral(
             "Returns a final invoice to the temporary state as the form's button does: the\n"
             "right, a closed cash turn, dependent sale assignments and dispatches are checked\n"
             "first (every question answered yes). Its code,\n"
             "document rows, dispatch, cash-turn rows and form links go; prints the invoice\n"
             "and what was removed as JSON."),
         runBackToTemp}};
}

}  // namespace si::cli
