// cmdBatchDelete: the temporary invoices of the result that no distribution sheet holds, deleted
// with their sale orders, each in a transaction of its own.

#include "common/Codes.h"
#include "common/CommandGuard.h"
#include "common/Messages.h"
#include "common/SqlError.h"
#include "posting/InvoiceRemoval.h"
#include "search/SearchBatch.h"
#include "search/SearchBatchTexts.h"

namespace si {

namespace {

QString idTexts(const QList<qint64>& ids) {
    QStringList texts;
    for (qint64 id : ids)
        texts << QString::number(id);
    return batch::IdList(texts);
}

}  // namespace

DeleteReasons ReadDeleteReasons(Session& s) {
    DeleteReasons reasons;
    for (const Row& r :
         s.query(QStringLiteral("Select Sequence, coalesce(Description, '') as DeleteReason From "
                                "tblZelorFormEventReasonType Where EventTypeID = ? Order by "
                                "Sequence"),
                 {EventType::InvoiceDeleted}))
        reasons.append({r.text(u"DeleteReason"), r.toInt(u"Sequence")});
    return reasons;
}

std::optional<int> HeadlessBatchFrontEnd::deleteReason(const DeleteReasons& reasons) {
    for (const auto& [text, sequence] : reasons)
        if (reason_ && sequence == *reason_) return sequence;
    return std::nullopt;
}

// A shop keeps no reasons, nor does a company that has none to choose from.
std::optional<std::optional<int>> SearchBatch::askedReason() {
    if (ctx_.params.flag(P::ShopMode)) return std::optional<int>();
    const DeleteReasons reasons = ReadDeleteReasons(ctx_.db());
    if (reasons.isEmpty()) return std::optional<int>();
    const std::optional<int> chosen = frontEnd_.deleteReason(reasons);
    if (!chosen) return std::nullopt;
    return chosen;
}

BatchDeleteOutcome SearchBatch::cmdBatchDelete() {
    BatchDeleteOutcome outcome;
    if (!HasRight(ctx_, Right::BatchDelete)) {
        ShowMessage(ctx_, kErrorCaption, kNoRightMessage);
        return outcome;
    }
    const QList<qint64> ids = listed(batch::kNothingToDelete);
    if (ids.isEmpty()) return outcome;
    if (!AskedYes(ctx_, batch::kDeleteCaption, batch::kDeleteQuestion)) return outcome;
    const auto reason = askedReason();
    if (!reason) return outcome;
    deleteEach(ids, *reason, outcome);
    result_.refresh();
    sayDeleted(outcome);
    return outcome;
}

void SearchBatch::deleteEach(const QList<qint64>& ids, std::optional<int> reason,
                             BatchDeleteOutcome& outcome) {
    outcome.ran = true;
    for (qint64 id : ids) {
        try {
            if (DeleteTempInvoice(ctx_, static_cast<int>(id), reason))
                outcome.deleted << id;
            else
                outcome.kept << id;
        } catch (const SqlError& e) {
            outcome.failed.append({id, DatabaseErrorText(e)});
        }
    }
}

void SearchBatch::sayDeleted(const BatchDeleteOutcome& outcome) {
    QStringList lines{QStringLiteral("«%1» فاكتور حذف شد.").arg(outcome.deleted.size())};
    if (!outcome.deleted.isEmpty()) lines << QStringLiteral("حذف شده: ") + idTexts(outcome.deleted);
    if (!outcome.kept.isEmpty())
        lines << QStringLiteral("نهايي يا در حواله توزيع، حذف نشد: ") + idTexts(outcome.kept);
    for (const auto& [id, why] : outcome.failed)
        lines << QStringLiteral("فاكتور %1 حذف نشد: %2").arg(id).arg(why);
    ShowMessage(ctx_, batch::kNotice, lines.join(QLatin1Char('\n')));
}

}  // namespace si
