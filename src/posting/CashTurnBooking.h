#pragma once
// A shop's cash sale and its cash turn: the checks before a final save, the booking of the
// invoice into the turn inside the save's transaction, and the figures of a turn.

#include <QString>
#include <optional>
#include <utility>
#include <vector>

#include "common/Context.h"
#include "common/Money.h"

namespace si {

class InvoiceDocument;

inline const QString kNoOpenCashTurn = QStringLiteral("صندوقي براي اين كاربر باز نيست.");
// Said whenever nothing was saved: the clerk picks another turn and saves again.
inline const QString kCashTurnClosed = QStringLiteral(
    "صندوق انتخاب شده هم اكنون بسته شده است. لطفا صندوق ديگري را انتخاب كرده و فاكتور را مجددا "
    "ثبت نماييد.");

// The row ID of the box's turn while it is open; 0 otherwise.
qint64 OpenCashTurnID(Session& session, int cashId, int turn);

class CashTurnBooking {
public:
    CashTurnBooking(Context& ctx, InvoiceDocument& doc) : ctx_(ctx), doc_(doc) {}

    // Before a final cash save in a shop: a turn is selected and still open; false after the
    // message.
    bool CheckCashTurn();
    // Books the invoice's grand total into the selected turn; the new row's ID, or -1 when no
    // turn is selected or it is no longer open. Runs inside the save's writer transaction, so a
    // turn closed by another workstation is either closed before this reads it or after the
    // save commits.
    int SaveCashTurnDetail();

private:
    Context& ctx_;
    InvoiceDocument& doc_;
};

// What the contents form shows for one of the user's turns.
struct CashTurnContents {
    qint64 turnId = 0;
    int turn = 0;
    int creatorUserId = 0;
    QString openDate, closeDate;
    Money received, payed;  // every movement of the turn
    int invoices = 0;
    Money invoicesValue, invoicesDiscount, invoicesReceived;
    int returns = 0;
    Money returnsValue;
    int remainingCount() const { return invoices - returns; }
    Money remainingValue() const { return invoicesReceived - returnsValue; }
};

// The figures of the user's own turn; nullopt when the user has no such turn.
std::optional<CashTurnContents> ReadCashTurnContents(Session& session, int userId, int cashId,
                                                     int turn);

// What the contents form's labels show of a turn, by label name in the form's order: counts and
// amounts grouped by "/", the cashier as the user's number. The printed contents read the same.
std::vector<std::pair<QString, QString>> CashContentsLabels(const CashTurnContents& c);

// The movements of a turn, oldest first: ID, Code, FarsiTransactionDate, Description,
// ReceivedValue, PayedValue, FormTypeID, FormID, UserName.
RowSet CashTurnMovements(Session& session, qint64 turnId);

}  // namespace si
