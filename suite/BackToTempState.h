#pragma once
// What the back-to-temp component does, without a window: a final sale invoice becomes temporary
// again. Its code is cleared (a later final save draws a fresh one as any save does), its
// accounting document rows go (with the document when nothing else is left on it), its dispatch
// goes with its lines and traces (one it was made from is only released), its cash-turn rows and
// its form links go, and the return is logged as an event of its own.
//
// One writer transaction: codes are drawn and the event log is chained under the writer lock, and
// finality and a closed cash turn are decided there again, whatever the caller checked before.

#include <QString>

namespace si {
class Session;
}

namespace si::suite {

// "فاكتور فروش كالا به شماره رايانهاي " + ID + " به حالت موقت بازگشت."
QString BackToTempEventText(int invoiceId);

// Returns the sale invoice to temp for the user. The reason it stays as it is (not stored, not
// final, booked in a closed cash turn) with nothing changed, or an empty text when it went
// back. A database failure throws SqlError after the whole return is rolled back. The session
// needs the ERP's procedures (spZelorUnRelateForms, spZelorInsertFormAction).
QString ReturnSaleInvoiceToTemp(Session& s, int invoiceId, int userId);

}  // namespace si::suite
