// audit verify: the check of the form events' signed chain, as the host's administrator runs it.

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <stdexcept>

#include "Cli.h"
#include "Commands.h"
#include "common/AuditKey.h"
#include "common/EventChainCheck.h"
#include "common/FoldedText.h"
#include "common/Jalali.h"

namespace si::cli {

namespace {

// A Jalali day (1405/09/15, the command line's dates) or a Gregorian one (2026-12-06).
QDate dayOf(const QString& typed) {
    const QString text = FoldedText(typed.trimmed());
    static const QRegularExpression iso(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    if (iso.match(text).hasMatch()) {
        const QDate d = QDate::fromString(text, Qt::ISODate);
        if (d.isValid()) return d;
    } else if (IsValidFarsiDate(text)) {
        return getEnglishDate(text);
    }
    throw std::invalid_argument(
        (QStringLiteral("«--from»: تاريخ به شكل 1405/09/15 يا 2026-12-06 نيست: ") + typed)
            .toStdString());
}

QJsonObject reportJson(const EventChainReport& r) {
    QJsonObject o{{QStringLiteral("intact"), r.intact()},
                  {QStringLiteral("checked"), r.checked},
                  {QStringLiteral("unchained"), r.unchained},
                  {QStringLiteral("firstSeq"), r.firstSeq},
                  {QStringLiteral("message"), r.message}};
    if (!r.intact())
        o.insert(QStringLiteral("broken"),
                 QJsonObject{{QStringLiteral("kind"), ChainBreakName(r.broken)},
                             {QStringLiteral("id"), r.rowId},
                             {QStringLiteral("chainSeq"), r.chainSeq},
                             {QStringLiteral("missingSeq"), r.missingSeq}});
    return o;
}

int runVerify(CommandCall& call) {
    const bool json = call.args.removeAll(QStringLiteral("--json")) > 0;
    QDate from;
    if (call.args.size() == 2 && call.args[0] == QLatin1String("--from"))
        from = dayOf(call.args[1]);
    else if (!call.args.isEmpty())
        throw std::invalid_argument("audit verify [--from DATE] [--json]");
    const std::optional<QByteArray> key = ReadAuditKey();
    if (!key) {
        PrintError(MissingAuditKeyMessage());
        return kExitError;
    }
    auto session = Session::openExisting(call.options.db);
    const EventChainReport report = VerifyEventChain(*session, *key, from);
    if (json)
        call.out << QJsonDocument(reportJson(report)).toJson(QJsonDocument::Indented);
    else
        call.out << report.message << "\n";
    return report.intact() ? kExitOk : kExitRefused;
}

}  // namespace

std::vector<Command> AuditCommands() {
    return {{{QStringLiteral("audit"), QStringLiteral("verify")},
             QStringLiteral("audit verify [--from DATE] [--json]"),
             QStringLiteral(
                 "Checks the signed chain of the form events with this machine's key file and\n"
                 "names the first broken link: an event edited, removed or inserted through the\n"
                 "database. --from starts at the first event on or after DATE (1405/09/15 or\n"
                 "2026-12-06), linked from the one before it. Events written before the chain\n"
                 "are reported as unchained. Exit code 2 when the chain is broken."),
             runVerify}};
}

}  // namespace si::cli
