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

std::optional<int> HeadlessBatchFrontEnd::chooseReason(const QVector<DeleteReason>& reasons) {
    for (const DeleteReason& r : reasons)
        if (reason_ && r.sequence == *reason_) return r.sequence;
    return std::nullopt;
}

// A shop keeps no reasons, nor does a company that has none to choose from.
std::optional<std::optional<int>> SearchBatch::askedReason() {
    if (ctx_.params.flag(P::ShopMode)) return std::optional<int>();
    const QVector<DeleteReason> reasons = DeleteReasons(ctx_.db());
    if (reasons.isEmpty()) return std::optional<int>();
    const std::optional<int> chosen = frontEnd_.chooseReason(reasons);
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
    if (!outcome.deleted.isEmpty())
        lines << QStringLiteral("حذف شده: ") + batch::IdList(outcome.deleted);
    if (!outcome.kept.isEmpty())
        lines << QStringLiteral("نهايي يا در حواله توزيع، حذف نشد: ") + batch::IdList(outcome.kept);
    constexpr qsizetype kFailuresShown = 10;
    for (qsizetype i = 0; i < outcome.failed.size() && i < kFailuresShown; ++i)
        lines << QStringLiteral("فاكتور %1 حذف نشد: %2")
                     .arg(outcome.failed[i].first)
                     .arg(outcome.failed[i].second);
    if (outcome.failed.size() > kFailuresShown)
        lines << QStringLiteral("«%1» فاكتور ديگر هم حذف نشد.")
                     .arg(outcome.failed.size() - kFailuresShown);
    ShowMessage(ctx_, batch::kNotice, lines.join(QLatin1Char('\n')));
}

}  // namespace si
