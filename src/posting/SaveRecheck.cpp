// What the checks decided from the database before the writer lock, decided again under it:
// between the checks and the lock another workstation may have saved, finalised or deleted the
// same invoice, sold the same goods, or posted to the same customer. Writers take the lock one
// at a time, so what is read here stays true until the commit. A decision that no longer holds
// stops the save with its reason, and the transaction is rolled back.

#include "common/Messages.h"
#include "invoice/FormMainLogic.h"
#include "posting/SaveRun.h"
#include "posting/StoredInvoiceState.h"

namespace si {

// A stored invoice is written only if its row version is still the one this form read: the
// version moves on with the claim, so of two saves of one reading exactly one goes through.
void SaveRun::ClaimStoredInvoice() {
    const int id = invoiceID();
    if (doc_.FormMode != kModeEdit || id <= 0) return;
    Session& s = ctx_.db();
    if (s.exec(QStringLiteral("Update tblSaleInvoice Set RowVersion = RowVersion + 1 Where ID = ? "
                              "and RowVersion = ?"),
               {id, doc_.storedRowVersion}) == 1) {
        savedRowVersion_ = doc_.storedRowVersion + 1;
        return;
    }
    throw SaveRefused(ChangedSinceRead(s, id, doc_.storedRowVersion, doc_.hasCode()));
}

// The stock is read again only when another connection has committed since the check read it:
// the reading is the longest of the save, and on a database that nobody else wrote to in the
// meantime it would give the same answer.
void SaveRun::RecheckStock(const QVariant& lockMark) {
    if (!stockMark_.isNull() && stockMark_ == lockMark) return;
    if (const std::optional<QString> shortage = StockShortage()) throw SaveRefused(*shortage);
}

// Only the refusing rule is decided again: where the clerk was asked, the answer stands.
void SaveRun::RecheckDebitCeiling() {
    if (!DebitCeilingRefuses()) return;
    const QString message = DebitCeilingMessage(false);
    if (message.trimmed().isEmpty()) return;
    throw SaveRefused(message +
                      QStringLiteral(" از اينرو امكان ثبت نهايي فاكتور فروش كالا وجود ندارد."));
}

}  // namespace si
