// pos list | show | set: the card terminals and the one this workstation uses.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "Cli.h"
#include "Commands.h"
#include "payment/PosConfigLogic.h"
#include "payment/PosStore.h"
#include "payment/PosWorkstation.h"

namespace si::cli {

namespace {

int terminalId(const QStringList& args, const char* usage) {
    bool ok = false;
    const int id = args.value(0).toInt(&ok);
    if (!ok || id < 1) throw std::invalid_argument(usage);
    return id;
}

// "--user ID" among the arguments, -1 for every user's; the global --user without it.
int listedUser(QStringList& args, int globalUser) {
    const int at = static_cast<int>(args.indexOf(QStringLiteral("--user")));
    if (at < 0) return globalUser;
    bool ok = false;
    const int user = args.value(at + 1).toInt(&ok);
    if (!ok || (user < 1 && user != -1)) throw std::invalid_argument("pos list [--user ID|-1]");
    args.remove(at, 2);
    return user;
}

int refusedRow() {
    PrintError(QStringLiteral("خطا: ") + kBadRowMessage);
    return kExitRefused;
}

int runList(CommandCall& call) {
    const int user = listedUser(call.args, call.options.user);
    CliContext cli(call.options);
    cli.open();
    call.out << PosGridModel::headers().join(QLatin1Char('\t')) << "\n";
    for (const PosListRow& r : ReadPosList(cli.ctx().db(), user))
        call.out << r.id << "\t" << r.typeName << "\t" << r.name << "\t" << r.comPort << "\t"
                 << (r.baudRate > 0 ? QString::number(r.baudRate) : QString()) << "\t"
                 << r.accountTitle << "\n";
    return kExitOk;
}

QJsonObject deviceJson(const PosDevice& d, const QString& typeName, bool inUse) {
    auto list = [](const std::array<int, 3>& ids) { return QJsonArray{ids[0], ids[1], ids[2]}; };
    return {{QStringLiteral("id"), d.id},
            {QStringLiteral("name"), d.name},
            {QStringLiteral("type"), d.typeId},
            {QStringLiteral("typeName"), typeName},
            {QStringLiteral("user"), d.userId},
            {QStringLiteral("comPort"), d.comPort},
            {QStringLiteral("serialDevice"), d.serialDevice},
            {QStringLiteral("baudRate"), d.baudRate},
            {QStringLiteral("account"), d.accountId},
            {QStringLiteral("objects"), list(d.objectIds)},
            {QStringLiteral("classes"), list(d.classIds)},
            {QStringLiteral("ip"), d.ip},
            {QStringLiteral("ipPort"), d.ipPort},
            {QStringLiteral("inUse"), inUse}};
}

void printDevice(QTextStream& out, const QJsonObject& device) {
    for (auto it = device.begin(); it != device.end(); ++it) {
        QString value = it.value().toVariant().toString();
        if (it.value().isArray()) {
            QStringList parts;
            for (const QJsonValue& v : it.value().toArray())
                parts << QString::number(v.toInt());
            value = parts.join(QLatin1Char(','));
        }
        out << it.key() << "\t" << value << "\n";
    }
}

int runShow(CommandCall& call) {
    const bool json = call.args.removeAll(QStringLiteral("--json")) > 0;
    const int id = terminalId(call.args, "pos show ID [--json]");
    CliContext cli(call.options);
    cli.open();
    std::optional<PosDevice> device = ReadPosDevice(cli.ctx().db(), id);
    if (!device) return refusedRow();
    const auto settings = OpenWorkstationSettings();
    const PosWorkstation workstation(*settings);
    device->serialDevice = workstation.SerialDeviceOf(device->comPort);
    const QJsonObject object = deviceJson(*device, PosTypeName(cli.ctx().db(), device->typeId),
                                          workstation.PosID() == device->id);
    if (json)
        call.out << QJsonDocument(object).toJson(QJsonDocument::Compact) << "\n";
    else
        printDevice(call.out, object);
    return kExitOk;
}

int runSet(CommandCall& call) {
    const int id = terminalId(call.args, "pos set ID");
    CliContext cli(call.options);
    cli.open();
    if (!ReadPosDevice(cli.ctx().db(), id)) return refusedRow();
    const auto settings = OpenWorkstationSettings();
    PosWorkstation(*settings).setPosID(id);
    return kExitOk;
}

}  // namespace

std::vector<Command> PosCommands() {
    return {
        {{QStringLiteral("pos"), QStringLiteral("list")},
         QStringLiteral("pos list [--user ID|-1]"),
         QStringLiteral("Lists the card terminals of the user (the global --user unless given; "
                        "-1 lists every user's), newest first, under the grid's headers: ID, "
                        "kind, name, port, baud rate, bank account."),
         runList},
        {{QStringLiteral("pos"), QStringLiteral("show")},
         QStringLiteral("pos show ID [--json]"),
         QStringLiteral("One terminal with its objects and their classes, the serial device "
                        "this workstation maps its port to, and whether it is the one in use."),
         runShow},
        {{QStringLiteral("pos"), QStringLiteral("set")},
         QStringLiteral("pos set ID"),
         QStringLiteral("Makes the terminal the one this workstation uses (settings "
                        "ERP_Torvan, SaleInvoice/PosID)."),
         runSet},
    };
}

}  // namespace si::cli
