#pragma once
// The shop's cash-turn selector (cmbCashTurn) without its widget: the open turns the user may sell
// into, as the owner or as an admitted user, and the selected one in the document (CashID, Turn
// and the entry's text as the description).
//
// An entry carries its turn row's ID rather than CashID * 1000 + Turn, which cannot tell turn 1000
// of one box from turn 0 of the next.

#include <QString>
#include <vector>

#include "common/Session.h"

namespace si {

class InvoiceDocument;

struct CashTurnEntry {
    qint64 turnId = 0;
    int cashId = -1;
    int turn = -1;
    QString text;  // CashDesc_Turn_FarsiOpenDate; the contents form's list omits the date
};

// The open turns of the user's boxes that the user owns or was admitted to, by box.
std::vector<CashTurnEntry> SelectableCashTurns(Session& session, int userId);
// The user's own turns, open and closed, the latest number first (the contents form's list).
std::vector<CashTurnEntry> OwnCashTurns(Session& session, int userId);
// The cash box's name in an entry's text: the text before its first "_".
QString CashNameOfEntry(const QString& text);

class CashTurnSelector {
public:
    explicit CashTurnSelector(InvoiceDocument& doc) : doc_(doc) {}

    // Reads the list again and keeps the selected turn when it is still there; otherwise the
    // first entry, or none.
    void Fill(Session& session, int userId);
    // -1 clears the selection.
    void Select(int index);

    const std::vector<CashTurnEntry>& entries() const { return entries_; }
    int currentIndex() const { return current_; }

private:
    InvoiceDocument& doc_;
    std::vector<CashTurnEntry> entries_;
    int current_ = -1;
};

}  // namespace si
