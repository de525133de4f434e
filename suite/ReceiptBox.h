#pragma once
// What the cash-box module's receipt windows write, without the windows: money received into a
// cash or bank box from a customer's account is an accounting document that debits the box's
// account and credits the customer's, and, when the receipt is for a form (an invoice), a link of
// the two forms carrying the amount, which the customer's credit counts as paid. In a shop, a
// receipt into a box whose turn the user has open is also a row of that turn, so the drawer and
// its book agree. All of it in one transaction; a refusal writes nothing.

#include <QDateTime>
#include <QString>
#include <QVector>

#include "common/Money.h"

namespace si {
class Session;
}

namespace si::suite {

// The form type of a receipt into a box (205 is a payment out of a box to the bank).
inline constexpr int kReceiptFormType = 201;

struct ReceiptEntry {
    int userId = 0;
    int cashId = -1;     // the box received into
    int accountId = -1;  // the account the money came from
    Money amount;
    QString description;
    int formTypeId = -1;  // the form the receipt is for, -1 none
    int formId = -1;
};

struct CashBoxChoice {
    int id = -1;
    QString name;
};
// The active boxes the user may work on that have an account.
QVector<CashBoxChoice> UserCashBoxes(Session& db, int userId);

struct AccountChoice {
    int id = -1;
    QString text;  // code - title
};
// The open accounts of organisations, by code.
QVector<AccountChoice> CustomerAccountChoices(Session& db);

// Why the entry cannot be recorded, or an empty text.
QString ReceiptProblem(Session& db, const ReceiptEntry& entry);

// Records the entry (after ReceiptProblem found nothing); the new document's ID.
int RecordReceipt(Session& db, const ReceiptEntry& entry);

// The description of a receipt for an invoice when the clerk types none.
QString ReceiptDescription(int formTypeId, int formId);

}  // namespace si::suite
