// invoice pay: the card payment of a stored invoice on the user's terminal, as the form's
// Payment button runs it, waiting for the terminal's answer.

#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>

#include "Cli.h"
#include "Commands.h"
#include "InvoiceEntry.h"
#include "payment/PosStore.h"
#include "payment/PosWorkstation.h"
#include "payment/WorkstationPayment.h"

namespace si::cli {

namespace {

const char* const kPayUsage = "invoice pay ID [--device D]";

const QStringList kTransactionColumns{QStringLiteral("ID"),
                                      QStringLiteral("ReasonCode"),
                                      QStringLiteral("SerialTransaction"),
                                      QStringLiteral("AccountNo"),
                                      QStringLiteral("Bin"),
                                      QStringLiteral("Pan"),
                                      QStringLiteral("TerminalNo"),
                                      QStringLiteral("TraceNumber"),
                                      QStringLiteral("TransactionDate"),
                                      QStringLiteral("FarsiTransactionDate"),
                                      QStringLiteral("FormTypeID"),
                                      QStringLiteral("FormID"),
                                      QStringLiteral("UserID")};
const QStringList kTurnRowColumns{QStringLiteral("ID"),
                                  QStringLiteral("CashTurnID"),
                                  QStringLiteral("Code"),
                                  QStringLiteral("TransactionDate"),
                                  QStringLiteral("FarsiTransactionDate"),
                                  QStringLiteral("Description"),
                                  QStringLiteral("ReceivedValue"),
                                  QStringLiteral("PayedValue"),
                                  QStringLiteral("RelatedAccountID"),
                                  QStringLiteral("FormID"),
                                  QStringLiteral("FormTypeID"),
                                  QStringLiteral("UserID"),
                                  QStringLiteral("BranchID"),
                                  QStringLiteral("ClassID1"),
                                  QStringLiteral("ObjectID1"),
                                  QStringLiteral("ClassID2"),
                                  QStringLiteral("ObjectID2"),
                                  QStringLiteral("ClassID3"),
                                  QStringLiteral("ObjectID3")};

// The row under its columns' own names, whatever case the server reports them in.
QJsonObject rowJson(Session& s, const QString& table, const QStringList& columns,
                    const QVariant& id) {
    QJsonObject o;
    if (id.isNull()) return o;
    const auto row = s.first(QStringLiteral("select ") + columns.join(QStringLiteral(", ")) +
                                 QStringLiteral(" from ") + table + QStringLiteral(" where ID = ?"),
                             {id});
    if (!row) return o;
    for (const QString& c : columns) {
        const QVariant v = row->value(c);
        if (v.isNull())
            o.insert(c, QJsonValue());
        else if (c.endsWith(QLatin1String("Value")))  // amounts, as numbers on every server
            o.insert(c, row->money(c).toDouble());
        else
            o.insert(c, QJsonValue::fromVariant(v));
    }
    return o;
}

// --device names one of the user's terminals instead of the workstation's choice.
std::optional<PosDevice> namedDevice(Context& ctx, QSettings& settings, int id) {
    std::optional<PosDevice> device = ReadPosDevice(ctx.db(), id);
    if (!device || device->userId != ctx.globals.CurrentUserID) {
        PrintError(QStringLiteral("خطا: دستگاه پوز «%1» از آن اين كاربر نيست.").arg(id));
        return std::nullopt;
    }
    device->serialDevice = PosWorkstation(settings).SerialDeviceOf(device->comPort);
    return device;
}

int runPay(CommandCall& call) {
    int device = 0;
    const qsizetype at = call.args.indexOf(QStringLiteral("--device"));
    if (at >= 0) {
        device = call.args.value(at + 1).toInt();
        if (device < 1) throw std::invalid_argument(kPayUsage);
        call.args.remove(at, 2);
    }
    bool ok = false;
    const int id = call.args.value(0).toInt(&ok);
    if (!ok || id < 1 || call.args.size() != 1) throw std::invalid_argument(kPayUsage);
    CliContext cli(call.options);
    cli.open();
    Context& ctx = cli.ctx();
    InvoiceEntry entry(ctx);
    if (!entry.show(id)) {
        PrintError(QStringLiteral("خطا: فاكتور «%1» يافت نشد.").arg(id));
        return kExitRefused;
    }
    const auto settings = OpenWorkstationSettings();
    CardPaymentParts parts = WorkstationCardPayment(ctx, *settings);
    if (device > 0)
        parts.device = [&ctx, &settings, device] { return namedDevice(ctx, *settings, device); };
    PaymentJournal journal;
    CardPayment payment(ctx, entry.form().doc(), journal, parts);
    QEventLoop wait;
    bool approved = false;
    QObject::connect(&payment, &CardPayment::done, &wait, [&](bool yes) {
        approved = yes;
        wait.quit();
    });
    if (!payment.start()) return cli.refusalExitCode();
    wait.exec();  // the driver's own time-outs bound the wait
    Session& s = ctx.db();
    const auto attempt = s.first(QStringLiteral("select TransactionID, CashTurnDetailID from "
                                                "tblRecPayPosAttempt where AttemptID = ?"),
                                 {payment.attemptId()});
    const QJsonObject out{
        {QStringLiteral("approved"), approved},
        {QStringLiteral("attempt"), payment.attemptId()},
        {QStringLiteral("transaction"),
         rowJson(s, QStringLiteral("tblRecPayPosTransaction"), kTransactionColumns,
                 attempt ? attempt->value(u"TransactionID") : QVariant())},
        {QStringLiteral("cashTurnDetail"),
         rowJson(s, QStringLiteral("tblRecPayCashTurnDetail"), kTurnRowColumns,
                 attempt ? attempt->value(u"CashTurnDetailID") : QVariant())}};
    call.out << QJsonDocument(out).toJson(QJsonDocument::Indented);
    return approved ? kExitOk : cli.refusalExitCode();
}

}  // namespace

std::vector<Command> PayCommands() {
    return {
        {{QStringLiteral("invoice"), QStringLiteral("pay")},
         QString::fromUtf8(kPayUsage),
         QStringLiteral("Pays a stored invoice's grand total by card on --user's terminal (the\n"
                        "workstation's choice, or --device), books it into the user's first "
                        "open cash\nturn, and prints the transaction and cash-turn rows as "
                        "JSON."),
         runPay}};
}

}  // namespace si::cli
