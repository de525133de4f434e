#include "posting/InvoiceDeletion.h"

#include <cstdlib>

#include "common/Codes.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "invoice/GoodsLookups.h"
#include "invoice/InvoiceDocument.h"
#include "posting/InvoiceRemoval.h"

namespace si {

QVector<DeleteReason> DeleteReasons(Session& s) {
    QVector<DeleteReason> reasons;
    for (const Row& r : s.query(QStringLiteral("Select Sequence, coalesce(Description,'') as "
                                               "DeleteReason From tblZelorFormEventReasonType "
                                               "Where EventTypeID = ? Order by Sequence"),
                                {EventType::InvoiceDeleted}))
        reasons.push_back({r.toInt(u"Sequence"), r.text(u"DeleteReason")});
    return reasons;
}

InvoiceToDelete InvoiceToDeleteOf(const InvoiceDocument& doc) {
    const int dist = static_cast<int>(ToNumber(doc.txtDistID));
    return {doc.invoiceID(), doc.datCreateDate, dist > 0 ? dist : -1};
}

std::optional<InvoiceToDelete> StoredInvoiceToDelete(Session& s, int invoiceId) {
    const std::optional<Row> r = s.first(
        QStringLiteral("select CreateDate, DistributionInvoiceID from tblSaleInvoice where ID = ?"),
        {invoiceId});
    if (!r) return std::nullopt;
    return InvoiceToDelete{invoiceId, r->date(u"CreateDate"),
                           r->toInt(u"DistributionInvoiceID", -1)};
}

bool InvoiceDeletion::asksReason() const {
    return !ctx_.params.flag(P::ShopMode);
}

bool InvoiceDeletion::pastAgeLimit(const QDate& createDate) {
    const int limit = ctx_.params.number(P::AgeLimitDays);
    if (limit < 0 || !createDate.isValid()) return false;
    if (std::abs(createDate.daysTo(ctx_.db().today())) <= limit) return false;
    return !HasRight(ctx_, Right::EditPastAgeLimit);
}

std::optional<QString> InvoiceDeletion::stateRefusal(const InvoiceToDelete& invoice) {
    if (pastAgeLimit(invoice.createDate)) return kDeleteAgeLimitPassed;
    const int dist = invoice.distributionInvoiceId;
    if (dist <= 0) return std::nullopt;
    if (ctx_.db().first(QStringLiteral("Select ID From tblDistributionReturn Where "
                                       "DistributionInvoiceID = ?"),
                        {dist}))
        return kDeleteDistributionReturned;
    if (IsVehicleMoved(ctx_.db(), dist)) return kDeleteVehicleMoved;
    return std::nullopt;
}

std::optional<QString> InvoiceDeletion::refusal(const InvoiceToDelete& invoice) {
    if (!HasRight(ctx_, Right::DeleteInvoice)) return kNoRightMessage;
    return stateRefusal(invoice);
}

bool InvoiceDeletion::chooseReason(std::optional<int>& reason) {
    if (!asksReason()) return true;
    const QVector<DeleteReason> reasons = DeleteReasons(ctx_.db());
    if (reasons.isEmpty()) return true;
    if (!chooser_) return false;
    reason = chooser_->chooseReason(reasons);
    return reason.has_value();
}

bool InvoiceDeletion::deleteNow(int invoiceId, std::optional<int> reasonSequence) {
    try {
        DeleteInvoice(ctx_, invoiceId, reasonSequence);
        return true;
    } catch (const InvoiceNotFound& e) {
        ShowMessage(ctx_, kErrorCaption, e.text());
    } catch (const SqlError& e) {
        ShowMessage(ctx_, kErrorCaption,
                    kDeleteFailed + (e.connectionLost() ? kConnectionLostMessage : e.driverText()));
    }
    return false;
}

bool InvoiceDeletion::cmdDelete_Click(const InvoiceToDelete& invoice) {
    if (invoice.id <= 0) return false;
    if (!HasRight(ctx_, Right::DeleteInvoice)) {
        ShowMessage(ctx_, kErrorCaption, kNoRightMessage);
        return false;
    }
    if (!AskedYes(ctx_, kDeleteCaption, kDeleteQuestion)) return false;
    if (const std::optional<QString> refused = stateRefusal(invoice)) {
        ShowMessage(ctx_, kErrorCaption, *refused);
        return false;
    }
    if (invoice.distributionInvoiceId > 0 &&
        !AskedYes(ctx_, kDeleteDistributionCaption, kDeleteDistributionQuestion))
        return false;
    std::optional<int> reason;
    if (!chooseReason(reason)) return false;
    return deleteNow(invoice.id, reason);
}

}  // namespace si
