// invoice delete: a stored invoice removed as the form's Delete button removes it, its checks
// made and every question answered yes; the reason, when given, must be one of the list.

#include <QJsonDocument>
#include <QJsonObject>
#include <stdexcept>

#include "Cli.h"
#include "Commands.h"
#include "common/Codes.h"
#include "posting/InvoiceDeletion.h"

namespace si::cli {

namespace {

const char* const kDeleteUsage = "invoice delete ID [--reason N]";

struct DeleteArgs {
    int id = 0;
    std::optional<int> reason;
};

DeleteArgs parseDelete(QStringList args) {
    DeleteArgs parsed;
    const qsizetype at = args.indexOf(QStringLiteral("--reason"));
    if (at >= 0) {
        bool ok = false;
        parsed.reason = args.value(at + 1).toInt(&ok);
        if (!ok) throw std::invalid_argument(kDeleteUsage);
        args.remove(at, 2);
    }
    bool ok = false;
    parsed.id = args.value(0).toInt(&ok);
    if (!ok || parsed.id < 1 || args.size() != 1) throw std::invalid_argument(kDeleteUsage);
    return parsed;
}

bool isListed(const QVector<DeleteReason>& reasons, int sequence) {
    for (const DeleteReason& r : reasons)
        if (r.sequence == sequence) return true;
    return false;
}

QJsonObject deletionEvent(Session& s, int id) {
    const auto row = s.first(QStringLiteral("select EventTypeID, Description, ReasonSequence from "
                                            "tblZelorFormEvent where FormTypeID = ? and FormCode "
                                            "= ? order by ID desc limit 1"),
                             {FormType::SaleInvoice, id});
    if (!row) return {};
    return {{QStringLiteral("eventType"), row->toInt(u"EventTypeID")},
            {QStringLiteral("description"), row->text(u"Description")},
            {QStringLiteral("reason"), row->isNull(u"ReasonSequence")
                                           ? QJsonValue()
                                           : QJsonValue(row->toInt(u"ReasonSequence"))}};
}

int runDelete(CommandCall& call) {
    const DeleteArgs args = parseDelete(call.args);
    CliContext cli(call.options);
    cli.open();
    Context& ctx = cli.ctx();
    const std::optional<InvoiceToDelete> stored = StoredInvoiceToDelete(ctx.db(), args.id);
    if (!stored) {
        PrintError(QStringLiteral("خطا: فاكتور «%1» يافت نشد.").arg(args.id));
        return kExitRefused;
    }
    InvoiceDeletion deletion(ctx);
    if (const std::optional<QString> refused = deletion.refusal(*stored)) {
        PrintError(QStringLiteral("خطا: ") + *refused);
        return kExitRefused;
    }
    // The store version records no reason; elsewhere a reason must be one of the list.
    std::optional<int> reason;
    if (deletion.asksReason() && args.reason) {
        if (!isListed(DeleteReasons(ctx.db()), *args.reason)) {
            PrintError(QStringLiteral("خطا: علت حذف «%1» تعريف نشده است.").arg(*args.reason));
            return kExitRefused;
        }
        reason = args.reason;
    }
    if (!deletion.deleteNow(args.id, reason)) return cli.refusalExitCode();
    const QJsonObject out{{QStringLiteral("invoice"), args.id},
                          {QStringLiteral("deleted"), true},
                          {QStringLiteral("event"), deletionEvent(ctx.db(), args.id)}};
    call.out << QJsonDocument(out).toJson(QJsonDocument::Indented);
    return kExitOk;
}

}  // namespace

std::vector<Command> DeleteCommands() {
    return {{{QStringLiteral("invoice"), QStringLiteral("delete")},
             QString::fromUtf8(kDeleteUsage),
             QStringLiteral("Deletes a stored invoice with everything that hangs on it, after the\n"
                            "checks of the form's Delete button (every question answered yes);\n"
                            "--reason is the sequence of a delete reason. Prints the event as "
                            "JSON."),
             runDelete}};
}

}  // namespace si::cli
