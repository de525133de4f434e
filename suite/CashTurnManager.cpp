#include "suite/CashTurnManager.h"

#include "common/Jalali.h"
#include "common/Numbers.h"

namespace si::suite {

void CashTurnManager::requirePermitted(int cashId, int userId) {
    if (!session_.first(QStringLiteral("select CashID from tblRecPayCashUser where CashID = ? and "
                                       "UserID = ?"),
                        {cashId, userId}))
        throw TurnRefused(QStringLiteral("اين كاربر مجاز به استفاده از اين صندوق نيست."));
}

Row CashTurnManager::turnRow(qint64 turnId) {
    const auto row = session_.first(
        QStringLiteral(
            "select ID, CashID, Turn, IsOpen, UserID from tblRecPayCashTurn where ID = ?"),
        {turnId});
    if (!row) throw TurnRefused(QStringLiteral("چنين نوبت صندوقي وجود ندارد."));
    return *row;
}

OpenedTurn CashTurnManager::OpenTurn(int cashId) {
    Transaction transaction = session_.writerTransaction();
    requirePermitted(cashId, userId_);
    if (const auto open = session_.first(
            QStringLiteral("select Turn from tblRecPayCashTurn where CashID = ? and IsOpen = 1"),
            {cashId}))
        throw TurnRefused(QStringLiteral("نوبت %1 اين صندوق هنوز باز است؛ ابتدا آن را ببنديد.")
                              .arg(open->toInt(u"Turn")));
    const int turn = 1 + session_
                             .scalar(QStringLiteral("select coalesce(max(Turn), 0) from "
                                                    "tblRecPayCashTurn where CashID = ?"),
                                     {cashId})
                             .toInt();
    const QDateTime now = session_.now();
    const qint64 id = session_.insertReturningId(
        QStringLiteral("insert into tblRecPayCashTurn (CashID, Turn, IsOpen, UserID, OpenDate, "
                       "FarsiOpenDate) values (?, ?, 1, ?, ?, ?) RETURNING ID"),
        {cashId, turn, userId_, now, getFarsiDate(now.date())});
    transaction.commit();
    return {id, turn};
}

// Only the turn's owner closes it, once.
void CashTurnManager::CloseTurn(qint64 turnId) {
    Transaction transaction = session_.writerTransaction();
    const Row turn = turnRow(turnId);
    if (turn.toInt(u"UserID") != userId_)
        throw TurnRefused(QStringLiteral("فقط صاحب نوبت مي تواند آن را ببندد."));
    if (!turn.toBool(u"IsOpen")) throw TurnRefused(QStringLiteral("اين نوبت قبلا بسته شده است."));
    const QDateTime now = session_.now();
    session_.exec(QStringLiteral("update tblRecPayCashTurn set IsOpen = 0, CloseDate = ?, "
                                 "FarsiCloseDate = ? where ID = ? and IsOpen = 1"),
                  {now, getFarsiDate(now.date()), turnId});
    transaction.commit();
}

// The owner lets another user of the box sell into the open turn.
void CashTurnManager::AdmitUser(qint64 turnId, int userId) {
    Transaction transaction = session_.writerTransaction();
    const Row turn = turnRow(turnId);
    if (turn.toInt(u"UserID") != userId_)
        throw TurnRefused(QStringLiteral("فقط صاحب نوبت مي تواند كاربر ديگري را به آن راه دهد."));
    if (!turn.toBool(u"IsOpen")) throw TurnRefused(QStringLiteral("اين نوبت بسته شده است."));
    requirePermitted(turn.toInt(u"CashID"), userId);
    if (!session_.first(QStringLiteral("select UserID from tblRecPayCashTurnUser where CashTurnID "
                                       "= ? and UserID = ?"),
                        {turnId, userId}))
        session_.exec(QStringLiteral("insert into tblRecPayCashTurnUser (CashTurnID, UserID) "
                                     "values (?, ?)"),
                      {turnId, userId});
    transaction.commit();
}

RowSet CashTurnManager::UserTurns(bool openOnly) {
    return session_.query(
        QStringLiteral("select t.ID, t.CashID, c.Name as CashName, t.Turn, t.IsOpen, "
                       "t.FarsiOpenDate, t.FarsiCloseDate, (select coalesce(sum(coalesce("
                       "d.ReceivedValue, 0) - coalesce(d.PayedValue, 0)), 0) from "
                       "tblRecPayCashTurnDetail d where d.CashTurnID = t.ID) as Balance from "
                       "tblRecPayCashTurn t inner join tblRecPayCash c on c.ID = t.CashID where "
                       "t.UserID = ? and (? = 0 or t.IsOpen = 1) order by t.ID desc"),
        {userId_, openOnly ? 1 : 0});
}

bool CashTurnManager::mayUse(qint64 turnId, int ownerId) {
    return ownerId == userId_ ||
           session_.first(QStringLiteral("select UserID from tblRecPayCashTurnUser where "
                                         "CashTurnID = ? and UserID = ?"),
                          {turnId, userId_});
}

Money CashTurnManager::CashBalance(qint64 turnId) {
    return Money::fromVariant(session_.scalar(
        QStringLiteral("select coalesce(sum(coalesce(ReceivedValue, 0) - coalesce(PayedValue, 0)), "
                       "0) from tblRecPayCashTurnDetail where CashTurnID = ?"),
        {turnId}));
}

qint64 CashTurnManager::PayOut(int cashId, int turn, Money amount, const QString& description) {
    if (amount <= Money()) throw TurnRefused(QStringLiteral("مبلغ پرداخت بايد بيشتر از صفر باشد."));
    Transaction transaction = session_.writerTransaction();
    const auto open = session_.first(
        QStringLiteral("select ID, UserID from tblRecPayCashTurn where CashID = ? and Turn = ? "
                       "and IsOpen = 1"),
        {cashId, turn});
    if (!open) throw TurnRefused(QStringLiteral("اين نوبت صندوق باز نيست."));
    const qint64 turnId = open->toInt64(u"ID");
    if (!mayUse(turnId, open->toInt(u"UserID")))
        throw TurnRefused(QStringLiteral("اين كاربر مجاز به استفاده از اين نوبت صندوق نيست."));
    const Money balance = CashBalance(turnId);
    if (amount > balance)
        throw TurnRefused(QStringLiteral("موجودي نقد اين نوبت %1 ريال است و پرداخت %2 ريال از آن "
                                         "ممكن نيست.")
                              .arg(FormatAmount(balance), FormatAmount(amount)));
    const QDateTime now = session_.now();
    const qint64 id = session_.insertReturningId(
        QStringLiteral("insert into tblRecPayCashTurnDetail (CashTurnID, TransactionDate, "
                       "FarsiTransactionDate, Description, ReceivedValue, PayedValue, UserID) "
                       "values (?, ?, ?, ?, 0, ?, ?) RETURNING ID"),
        {turnId, now, getFarsiDate(now.date()),
         QStringLiteral("پرداخت از صندوق: ") + description.trimmed().left(900),
         QVariant::fromValue(amount), userId_});
    transaction.commit();
    return id;
}

RowSet CashTurnManager::PermittedBoxes() {
    return session_.query(QStringLiteral("select c.ID, c.Name from tblRecPayCash c inner join "
                                         "tblRecPayCashUser u on u.CashID = c.ID where u.UserID = "
                                         "? and coalesce(c.IsActive, 1) = 1 order by c.ID"),
                          {userId_});
}

}  // namespace si::suite
