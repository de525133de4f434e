#pragma once
// cmdGrandTotal: the invoice's grand total paid by card on the user's terminal, recorded in
// tblRecPayPosTransaction and booked into the open cash turn as a payment from the box to the
// bank (form type 205).
//
// Nothing approved is lost and nothing is taken twice:
// - the open turn is checked before the amount goes to the terminal, and again when the rows are
//   written, so money is not taken with nowhere to book it;
// - each attempt has its own identity before it is sent; the terminal's approval is written to the
//   workstation's journal first, and the two rows and the attempt are one transaction, so an
//   approval whose rows were lost (a crash, a database error) is written at the next start or
//   payment, once;
// - a terminal still waiting for a sale is not sent another, and an invoice already paid by card
//   asks before it is paid again.

#include <QJsonObject>
#include <QObject>
#include <functional>
#include <memory>
#include <optional>

#include "common/Context.h"
#include "payment/PaymentJournal.h"
#include "payment/PosDevice.h"
#include "suite/pcpos/PosDriver.h"

namespace si {

class InvoiceDocument;

inline constexpr int kCardPaymentRight = 90136;
inline constexpr int kCardPaymentFormType = 205;

struct CardPaymentParts {
    // The user's terminal (the terminal configuration's SelectSetting); nullopt ends quietly.
    std::function<std::optional<PosDevice>()> device;
    // The driver of the terminal.
    std::function<std::unique_ptr<pcpos::PosDriver>(const PosDevice&)> driver;
};

enum class PaymentBooking { Written, AlreadyWritten, TurnClosed };

// Writes an approved payment (a journal entry) in one transaction: the transaction row, the
// cash-turn row of form type 205 and the attempt. AlreadyWritten when the attempt is in the
// database; TurnClosed when the turn closed since the check (the transaction row is written
// without its booking, as the cashier is told). Throws on database errors, having written nothing.
// `afterTransactionRow` (tests) runs inside the transaction after the first row.
PaymentBooking WriteApprovedPayment(Session& session, const QJsonObject& entry,
                                    const std::function<void()>& afterTransactionRow = {});

// The journal's approvals not yet in the database, written; the number written. Each is told to
// the cashier.
int RecoverJournaledPayments(Context& ctx, PaymentJournal& journal);

class CardPayment : public QObject {
    Q_OBJECT
public:
    CardPayment(Context& ctx, InvoiceDocument& doc, PaymentJournal& journal,
                CardPaymentParts parts);
    ~CardPayment() override;

    // The checks, then the amount goes to the terminal; false when a check stopped it (its
    // message shown). The answer ends with `done`.
    bool start();
    bool inProgress() const { return driver_ != nullptr; }
    // The identity of the last attempt sent (tblRecPayPosAttempt.AttemptID).
    QString attemptId() const { return entry_.value(QStringLiteral("attempt")).toString(); }
    // Gives up waiting; the terminal's late answer, if any, is not recorded.
    void cancel();

    // Tests: called after the transaction row is written, inside the transaction.
    std::function<void()> afterTransactionRow;

Q_SIGNALS:
    // While the terminal is asked: the text the form shows.
    void waiting(const QString& text);
    // The terminal answered (or the wait ended); the messages follow.
    void answered();
    void done(bool approved);

private:
    bool refuse(const QString& text);
    bool checkDevice(const PosDevice& device);
    bool checkTurn();
    bool askIfPaidAlready();
    QJsonObject entryFor(const PosDevice& device) const;
    void onFinished(const pcpos::SaleResult& result);
    void record(const pcpos::SaleResult& result);
    void showRefusal(const pcpos::SaleResult& result);
    void release();

    Context& ctx_;
    InvoiceDocument& doc_;
    PaymentJournal& journal_;
    CardPaymentParts parts_;
    std::unique_ptr<pcpos::PosDriver> driver_;
    QJsonObject entry_;
    int deviceId_ = 0;
};

}  // namespace si
