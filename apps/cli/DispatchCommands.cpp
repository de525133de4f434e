// invoice from-dispatch: a new temporary invoice made from an inventory dispatch, as the form's
// FormFromInventoryDispatch makes it, printed as `invoice show --json` prints it.

#include <QJsonDocument>
#include <stdexcept>

#include "Cli.h"
#include "Commands.h"
#include "InvoiceEntry.h"
#include "InvoiceJson.h"
#include "linked/InvoiceFromDispatch.h"

namespace si::cli {

namespace {

const char* const kFromDispatchUsage = "invoice from-dispatch ID|--code CODE [--inventory N]";

// The value after the option, removed with it; empty when the option is absent.
QString takeOption(QStringList& args, const QString& option) {
    const qsizetype at = args.indexOf(option);
    if (at < 0) return {};
    const QString value = args.value(at + 1);
    if (value.isEmpty()) throw std::invalid_argument(kFromDispatchUsage);
    args.remove(at, 2);
    return value;
}

// Dated today, as the dialog opens.
DispatchLookup lookupOf(QStringList args) {
    DispatchLookup lookup;
    const QString code = takeOption(args, QStringLiteral("--code"));
    const QString inventory = takeOption(args, QStringLiteral("--inventory"));
    bool ok = true;
    if (!inventory.isEmpty()) lookup.inventoryId = inventory.toInt(&ok);
    if (!ok || (!inventory.isEmpty() && lookup.inventoryId < 1))
        throw std::invalid_argument(kFromDispatchUsage);
    lookup.byCode = !code.isEmpty();
    lookup.number = lookup.byCode ? code : args.value(0);
    if (args.size() != (lookup.byCode ? 0 : 1)) throw std::invalid_argument(kFromDispatchUsage);
    return lookup;
}

int runFromDispatch(CommandCall& call) {
    const DispatchLookup lookup = lookupOf(call.args);
    CliContext cli(call.options);
    cli.open();
    Context& ctx = cli.ctx();
    InvoiceFromDispatch dialog(ctx);
    const std::optional<int> created = dialog.cmdOK(lookup);
    if (!created) return cli.refusalExitCode();
    InvoiceEntry entry(ctx);
    if (!entry.show(*created)) return kExitError;
    call.out << QJsonDocument(InvoiceToJson(entry.form())).toJson(QJsonDocument::Indented);
    return kExitOk;
}

}  // namespace

std::vector<Command> DispatchCommands() {
    return {{{QStringLiteral("invoice"), QStringLiteral("from-dispatch")},
             QString::fromUtf8(kFromDispatchUsage),
             QStringLiteral(
                 "Makes a temporary credit-sale invoice of an inventory dispatch issued without\n"
                 "one, found by its computer number or by --code (within --inventory, or among\n"
                 "dispatches without a warehouse), links the dispatch to it and prints it as "
                 "JSON."),
             runFromDispatch}};
}

}  // namespace si::cli
