#pragma once
// The notes a dispatch carries about the sale invoice it is tied to. The invoice's final save
// appends DispatchInvoiceNote to a dispatch it relabels; the dispatch-to-invoice dialog appends
// DispatchLinkNote (a line break before it) when it makes an invoice of a dispatch. Deleting the
// invoice takes both out again.

#include <QString>

namespace si {

// "سند ايجاد شده از روي فاكتور فروش كالا به شماره رايانه اي " + ID
QString DispatchInvoiceNote(int invoiceId);
// A line break, then "سند ايجاد شده از روي فاكتور فروش كالا به شماره رايانهاي " + ID
QString DispatchLinkNote(int invoiceId);
// The notes without either note of this invoice; a note of another invoice whose number only
// begins with this one's (12 for 1) is kept.
QString WithoutInvoiceNotes(QString notes, int invoiceId);

}  // namespace si
