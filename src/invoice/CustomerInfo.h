#pragma once
// What the form tells about the chosen customer on request: the debit information and the CRM
// card. The original names both without defining them; these are what a clerk looks for there.

#include <QString>

namespace si {

class Session;

// The balance of the customer's own accounts (debit less credit) and the invoices still
// temporary, which are not posted yet.
QString CustomerDebitText(Session& db, int customerId);

// The loyalty card in force (the latest issued): its type, grade, total and issue date, on one
// line.
QString CustomerCrmCardText(Session& db, int customerId);

}  // namespace si
