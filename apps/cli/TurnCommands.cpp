// turn open | close | list: the cash turns of the --user, as the turn manager keeps them.

#include "Cli.h"
#include "Commands.h"
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
    };
}

}  // namespace si::cli
