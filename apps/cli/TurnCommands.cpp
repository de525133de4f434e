// turn open | close | list: the cash turns of the --user, as the turn manager keeps them.

#include <QJsonDocument>
#include <QJsonObject>
#include "Cli.h"
#include "Commands.h"

#include "common/Numbers.h"
#include "posting/CashTurnBooking.h"
#include "suite/CashTurnManager.h"

namespace si::cli {

namespace {

int positiveNumber(const QStringList& args, const char* usage) {
    bool ok = false;
    const int n = args.value(0).toInt(&ok);
    if (!ok || n < 1) throw std::invalid_argument(usage);
    return n;
}

// A refusal goes to standard error as the module's messages do, and ends with exit 2.
int refused(const suite::TurnRefused& r) {
    PrintError(QStringLiteral("خطا: ") + r.text());
    return kExitRefused;
}

int runOpen(CommandCall& call) {
    const int cash = positiveNumber(call.args, "turn open CASH");
    CliContext cli(call.options);
    cli.open();
    try {
        const suite::OpenedTurn opened =
            suite::CashTurnManager(cli.ctx().db(), call.options.user).OpenTurn(cash);
        call.out << opened.id << "\t" << opened.turn << "\n";
    } catch (const suite::TurnRefused& r) {
        return refused(r);
    }
    return kExitOk;
}

int runClose(CommandCall& call) {
    const int turn = positiveNumber(call.args, "turn close TURN-ID");
    CliContext cli(call.options);
    cli.open();
    try {
        suite::CashTurnManager(cli.ctx().db(), call.options.user).CloseTurn(turn);
    } catch (const suite::TurnRefused& r) {
        return refused(r);
    }
    return kExitOk;
}

int runList(CommandCall& call) {
    const bool openOnly = call.args.removeAll(QStringLiteral("--open")) > 0;
    CliContext cli(call.options);
    cli.open();
    const RowSet turns =
        suite::CashTurnManager(cli.ctx().db(), call.options.user).UserTurns(openOnly);
    for (const Row& t : turns)
        call.out << t.toInt64(u"ID") << "\t" << t.toInt(u"CashID") << "\t" << t.text(u"CashName")
                 << "\t" << t.toInt(u"Turn") << "\t"
                 << (t.toBool(u"IsOpen") ? QStringLiteral("باز") : QStringLiteral("بسته")) << "\t"
                 << t.text(u"FarsiOpenDate") << "\t" << t.text(u"FarsiCloseDate") << "\n";
    return kExitOk;
}

QJsonObject contentsJson(const CashTurnContents& c) {
    auto amount = [](Money m) { return m.toDouble(); };
    return {{QStringLiteral("turnId"), c.turnId},
            {QStringLiteral("turn"), c.turn},
            {QStringLiteral("creator"), c.creatorUserId},
            {QStringLiteral("openDate"), c.openDate},
            {QStringLiteral("closeDate"), c.closeDate},
            {QStringLiteral("received"), amount(c.received)},
            {QStringLiteral("payed"), amount(c.payed)},
            {QStringLiteral("invoices"), c.invoices},
            {QStringLiteral("invoicesValue"), amount(c.invoicesValue)},
            {QStringLiteral("invoicesDiscount"), amount(c.invoicesDiscount)},
            {QStringLiteral("invoicesReceived"), amount(c.invoicesReceived)},
            {QStringLiteral("returns"), c.returns},
            {QStringLiteral("returnsValue"), amount(c.returnsValue)},
            {QStringLiteral("remainingCount"), c.remainingCount()},
            {QStringLiteral("remainingValue"), amount(c.remainingValue())}};
}

void printContents(QTextStream& out, const CashTurnContents& c) {
    const std::pair<QString, QString> lines[] = {
        {QStringLiteral("شماره نوبت"), QString::number(c.turn)},
        {QStringLiteral("صندوقدار"), QString::number(c.creatorUserId)},
        {QStringLiteral("تاريخ باز شدن"), c.openDate},
        {QStringLiteral("تاريخ بسته شدن"), c.closeDate},
        {QStringLiteral("جمع دريافتها"), FormatAmount(c.received)},
        {QStringLiteral("جمع پرداختها"), FormatAmount(c.payed)},
        {QStringLiteral("تعداد فاكتورها"), QString::number(c.invoices)},
        {QStringLiteral("مبلغ فاكتورها"), FormatAmount(c.invoicesValue)},
        {QStringLiteral("تخفيف فاكتورها"), FormatAmount(c.invoicesDiscount)},
        {QStringLiteral("دريافتي فاكتورها"), FormatAmount(c.invoicesReceived)},
        {QStringLiteral("تعداد برگشتيها"), QString::number(c.returns)},
        {QStringLiteral("مبلغ برگشتيها"), FormatAmount(c.returnsValue)},
        {QStringLiteral("تعداد خالص"), QString::number(c.remainingCount())},
        {QStringLiteral("مانده خالص"), FormatAmount(c.remainingValue())}};
    for (const auto& [name, value] : lines)
        out << name << "\t" << value << "\n";
}

int runContents(CommandCall& call) {
    const bool json = call.args.removeAll(QStringLiteral("--json")) > 0;
    const int cash = positiveNumber(call.args, "turn contents CASH TURN [--json]");
    const int turn = positiveNumber(call.args.mid(1), "turn contents CASH TURN [--json]");
    CliContext cli(call.options);
    cli.open();
    const auto contents = ReadCashTurnContents(cli.ctx().db(), call.options.user, cash, turn);
    if (!contents) {
        PrintError(QStringLiteral("خطا: چنين نوبت صندوقي براي اين كاربر وجود ندارد."));
        return kExitRefused;
    }
    if (json)
        call.out << QJsonDocument(contentsJson(*contents)).toJson(QJsonDocument::Compact) << "\n";
    else
        printContents(call.out, *contents);
    return kExitOk;
}

}  // namespace

std::vector<Command> TurnCommands() {
    return {
        {{QStringLiteral("turn"), QStringLiteral("open")},
         QStringLiteral("turn open CASH"),
         QStringLiteral("Opens the next turn of the cash box for --user; prints its ID and "
                        "number.\nA box has one open turn at a time; the user must be one of "
                        "the box's."),
         runOpen},
        {{QStringLiteral("turn"), QStringLiteral("close")},
         QStringLiteral("turn close TURN-ID"),
         QStringLiteral("Closes a turn of --user."),
         runClose},
        {{QStringLiteral("turn"), QStringLiteral("list")},
         QStringLiteral("turn list [--open]"),
         QStringLiteral("Lists the turns of --user, the newest first: ID, cash box, its name, "
                        "turn, state, opened, closed."),
         runList},
        {{QStringLiteral("turn"), QStringLiteral("contents")},
         QStringLiteral("turn contents CASH TURN [--json]"),
         QStringLiteral("The figures of a turn of --user: its receipts and payments, its "
                        "invoices and returns and what remains."),
         runContents},
    };
}

}  // namespace si::cli
