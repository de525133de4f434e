#pragma once
// One event of a sale invoice in the form-event log, written through spZelorInsertFormAction
// (a link of the signed chain, EventChain.h) and dated now. Runs inside the caller's
// transaction, so that the event stands or falls with the change it records.

#include <QString>
#include <optional>

#include "common/Session.h"

namespace si {

void LogInvoiceEvent(Session& s, int eventType, qint64 invoiceId, const QString& description,
                     int userId, std::optional<int> reasonSequence = std::nullopt);

// "فاكتور فروش كالا به شماره رايانهاي N" followed by what happened to it.
QString InvoiceEventText(qint64 invoiceId, const QString& whatHappened);

}  // namespace si
