#pragma once
// What the bank's response codes and a card reader's status numbers mean, in the cashier's words.

#include <QString>

namespace si {

// The bank's two-digit response code ("51"); an unknown code is a failure to reach the bank.
QString BankResponseText(const QString& code);
// A card reader's status number; an unknown status is shown as its number.
QString TerminalStatusText(int status);

}  // namespace si
