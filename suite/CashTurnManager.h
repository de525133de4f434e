#pragma once
// The turns of the cash boxes as the turn manager keeps them: a cashier opens the next turn of a
// box he may use, closes his own turn, admits other users to it and lists his turns.
//
// A box has one open turn at a time: the drawer's money belongs to one shift. Opening and closing
// run in writer transactions, so the next number is read and written under the lock that code
// assignment and the invoice save take: two workstations never open the same number, and a save
// that books into a turn decides whether it is open before or after a close, never during it.

#include <QDateTime>
#include <QString>
#include <stdexcept>

#include "common/Money.h"
#include "common/Session.h"

namespace si::suite {

// A refusal of the turn manager, in Persian; nothing was written.
class TurnRefused : public std::runtime_error {
public:
    explicit TurnRefused(const QString& text) : std::runtime_error(text.toStdString()) {}
    QString text() const { return QString::fromStdString(what()); }
};

struct OpenedTurn {
    qint64 id = 0;
    int turn = 0;
};

class CashTurnManager {
public:
    CashTurnManager(Session& session, int userId) : session_(session), userId_(userId) {}

    OpenedTurn OpenTurn(int cashId);
    void CloseTurn(qint64 turnId);
    void AdmitUser(qint64 turnId, int userId);
    // The user's own turns, the newest first: ID, CashID, CashName, Turn, IsOpen, the dates and
    // the cash each holds (Balance).
    RowSet UserTurns(bool openOnly);
    // Cash taken out of the box's open turn by its owner or an admitted user; the movement's ID.
    // Never more than the cash the turn holds, so the drawer and its book agree at closing.
    qint64 PayOut(int cashId, int turn, Money amount, const QString& description);
    // The cash the turn holds: its receipts less its payments.
    Money CashBalance(qint64 turnId);
    // The boxes the user may open a turn on: ID, Name.
    RowSet PermittedBoxes();

private:
    void requirePermitted(int cashId, int userId);
    Row turnRow(qint64 turnId);
    bool mayUse(qint64 turnId, int ownerId);

    Session& session_;
    int userId_;
};

}  // namespace si::suite
