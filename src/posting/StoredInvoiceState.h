#pragma once
// Whether the stored invoice is still the one a form read: another workstation may have saved,
// finalised, returned or deleted it since. Asked inside the writer transaction of an operation
// that acts on the invoice, so the answer holds until its commit.

#include <QString>

namespace si {

class Session;

// The reason, ending in what the clerk should do, or empty when the stored invoice still has
// the row version and state that were read.
QString ChangedSinceRead(Session& session, int invoiceId, int readRowVersion, bool readAsFinal);

}  // namespace si
