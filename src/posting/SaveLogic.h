#pragma once
// SaveInvoice: the chain of checks (rights, credit level, mandatory fields, inventory, stock,
// customer rights, account and debit ceiling), the gap-free code of a final invoice, the writing
// of the header, lines, discounts, surcharges and deductions, and for a final save the postings
// (dispatch, accounting document or cash turn, SMS). Questions and messages come first; the
// writing and the postings are one transaction, so a failure leaves the database as it was and
// the form as the clerk left it.

#include <QString>
#include <functional>

#include "common/Money.h"

namespace si {

class SaveFront;
struct InvoiceServices;

// Operations of later parts that the save calls; each has a neutral default.
struct SaveSeams {
    // Shop mode, cash sale: the form's cash box and turn must be open; false stops.
    std::function<bool()> CheckCashTurn = [] { return true; };
    // Shop mode, cash sale: books the invoice into the open cash turn; the detail row's ID, or
    // below 1 when the turn has closed.
    std::function<int()> SaveCashTurnDetail = [] { return 0; };
    // After a cash booking: tells the cash-turn listener.
    std::function<void(int cashId, int invoiceId)> NotifyCashDisplay = [](int, int) {};
    // The SMS notices of a final save.
    std::function<void(int customerId, Money grandTotal)> SendCustomerSms = [](int, Money) {};
    std::function<void(int promoterId, Money grandTotal)> SendPromoterSms = [](int, Money) {};
};

class SaveLogic {
public:
    // The save works on the services' document; the front answers for the form (or for a job
    // without one).
    SaveLogic(InvoiceServices& services, SaveFront& front);
    ~SaveLogic();

    // The save of cmdTempSave (false) and cmdFinalSave (true). Returns true when the invoice
    // was stored; the outcome also shows in the document (txtID, txtCode, mode 0).
    bool SaveInvoice(bool IsFinal);

    SaveSeams seams;
    // Tests only: called after the header is written, inside the transaction.
    std::function<void()> afterHeaderWritten;

private:
    InvoiceServices& services_;
    SaveFront& front_;
};

}  // namespace si
