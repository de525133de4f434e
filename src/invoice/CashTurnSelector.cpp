#include "invoice/CashTurnSelector.h"

#include "invoice/InvoiceDocument.h"

namespace si {

namespace {

std::vector<CashTurnEntry> entriesOf(const RowSet& rows, bool withDate) {
    std::vector<CashTurnEntry> entries;
    entries.reserve(static_cast<size_t>(rows.size()));
    for (const Row& r : rows) {
        CashTurnEntry e{r.toInt64(u"ID"), r.toInt(u"CashID"), r.toInt(u"Turn"), {}};
        e.text = r.text(u"CashDesc") + QLatin1Char('_') + QString::number(e.turn);
        if (withDate) e.text += QLatin1Char('_') + r.text(u"FarsiOpenDate");
        entries.push_back(std::move(e));
    }
    return entries;
}

}  // namespace

std::vector<CashTurnEntry> SelectableCashTurns(Session& session, int userId) {
    return entriesOf(
        session.query(
            QStringLiteral(
                "select t.ID, u.ID as CashID, u.Name as CashDesc, t.Turn, t.FarsiOpenDate from "
                "vwRecPayCashUsers u, tblRecPayCashTurn t Where u.ID = t.CashID and "
                "u.CashPermitUserID = ? and t.IsOpen = 1 And (t.UserID = ? Or ? in (select "
                "x.UserID from tblRecPayCashTurnUser x Where x.CashTurnID = t.ID)) Order By u.ID, "
                "t.Turn"),
            {userId, userId, userId}),
        true);
}

std::vector<CashTurnEntry> OwnCashTurns(Session& session, int userId) {
    return entriesOf(
        session.query(QStringLiteral("select t.ID, u.ID as CashID, u.Name as CashDesc, t.Turn "
                                     "from vwRecPayCashUsers u, tblRecPayCashTurn t Where u.ID "
                                     "= t.CashID and u.CashPermitUserID = ? And t.UserID = ? "
                                     "Order By t.Turn Desc, t.ID Desc"),
                      {userId, userId}),
        false);
}

QString CashNameOfEntry(const QString& text) {
    return text.section(QLatin1Char('_'), 0, 0);
}

void CashTurnSelector::Fill(Session& session, int userId) {
    const int cashId = doc_.CashID, turn = doc_.Turn;
    entries_ = SelectableCashTurns(session, userId);
    int found = -1;
    for (size_t i = 0; i < entries_.size() && found < 0; ++i)
        if (entries_[i].cashId == cashId && entries_[i].turn == turn) found = static_cast<int>(i);
    Select(found >= 0 ? found : entries_.empty() ? -1 : 0);
}

void CashTurnSelector::Select(int index) {
    if (index < 0 || index >= static_cast<int>(entries_.size())) {
        current_ = -1;
        doc_.CashID = -1;
        doc_.Turn = -1;
        doc_.cashTurnDescription.clear();
        return;
    }
    current_ = index;
    const CashTurnEntry& e = entries_[static_cast<size_t>(index)];
    doc_.CashID = e.cashId;
    doc_.Turn = e.turn;
    doc_.cashTurnDescription = e.text;
}

}  // namespace si
