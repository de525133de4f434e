#pragma once
// Removing a stored sale invoice with everything that hangs on it: surcharges, deductions, line
// discounts, line traces, scale barcodes, lines, the header, its dispatch, its form links, and
// the event that records the removal with its reason.
//
// Each removal is one writer transaction (the event log is chained under the writer lock): a
// failure anywhere rolls it back whole and nothing is left half removed. Called inside an outer
// transaction it is a savepoint of it, so a batch can go on past one invoice that fails. No
// message is shown and no question asked here: the caller asks before and tells after.

#include <QString>
#include <optional>
#include <stdexcept>

#include "common/Codes.h"
#include "common/Context.h"

namespace si {

// The invoice to remove is not stored (any more): another workstation removed it meanwhile.
class InvoiceNotFound : public std::runtime_error {
public:
    explicit InvoiceNotFound(int invoiceId);
    const QString& text() const { return text_; }

private:
    QString text_;
};

// "فاكتور فروش كالا به شماره رايانهاي " + ID + " حذف شد."
QString InvoiceDeletedText(int invoiceId);

// The invoice's dispatch, read before the invoice row goes (it reads IsFromDispatch) and inside
// the caller's transaction: a dispatch the invoice was made from is released (the invoice's notes
// taken out of it, its link to the invoice cleared; its goods stay); a dispatch issued for the
// invoice goes with its lines and traces.
void ReleaseOrRemoveInvoiceDispatch(Session& s, int invoiceId);

// cmdDelete's cascade for any stored invoice, temporary or final, logged as a deletion
// (EventType::InvoiceDeleted) with the reason. Throws InvoiceNotFound (nothing changed) when the
// invoice is not stored, SqlError on a database failure. The accounting document and cash-turn
// detail of a final invoice are left to their own modules.
void DeleteInvoice(Context& ctx, int invoiceId, std::optional<int> reasonSequence);

// The batch delete of one invoice: only a temporary invoice outside every distribution sheet
// (decided inside the transaction), with the sale order it was made from. False, and nothing
// changed, for any other invoice or one not stored. Throws SqlError on a database failure.
bool DeleteTempInvoice(Context& ctx, int invoiceId, std::optional<int> reasonSequence,
                       int eventType = EventType::InvoiceBatchDeleted);

}  // namespace si
