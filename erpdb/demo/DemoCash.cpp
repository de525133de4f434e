// Cash boxes of the demo with their users, past closed turns and an open turn for the cashier
// and for the administrator; the card-terminal kinds and two terminals.

#include <QDateTime>

#include "erpdb/demo/DemoModel.h"

namespace si::erpdb::demo {

namespace {

void fillBoxes(DemoData& d) {
    BulkInsert boxes(
        d.session, QStringLiteral("tblRecPayCash"),
        {QStringLiteral("ID"), QStringLiteral("Code"), QStringLiteral("Name"),
         QStringLiteral("AccountID"), QStringLiteral("BranchID"), QStringLiteral("IsActive")});
    boxes.add({id::kShopCashBox, QStringLiteral("1"), QStringLiteral("صندوق فروشگاه مرکزي"),
               d.accountId(account::kShopCash), id::kMainShop, 1});
    boxes.add({id::kIsfahanCashBox, QStringLiteral("2"), QStringLiteral("صندوق شعبه اصفهان"),
               d.accountId(account::kIsfahanCash), id::kIsfahanBranch, 1});
    boxes.add({id::kCreditCashBox, QStringLiteral("3"), QStringLiteral("صندوق وصول مطالبات"),
               d.accountId(account::kShopCash), id::kHeadOffice, 1});
    boxes.finish();

    BulkInsert users(d.session, QStringLiteral("tblRecPayCashUser"),
                     {QStringLiteral("CashID"), QStringLiteral("UserID")});
    for (int box : {id::kShopCashBox, id::kIsfahanCashBox, id::kCreditCashBox})
        users.add({box, id::kAdminUser});
    users.add({id::kShopCashBox, id::kCashierUser});
    users.add({id::kIsfahanCashBox, id::kClerkUser});
    users.add({id::kCreditCashBox, id::kClerkUser});
    users.finish();
}

QDateTime at(const QDate& day, int hour) {
    return QDateTime(day, QTime(hour, 0));
}

}  // namespace

void FillCash(DemoData& d) {
    d.progress(QStringLiteral("صندوقها و دستگاههاي کارتخوان"));
    fillBoxes(d);
    BulkInsert turns(d.session, QStringLiteral("tblRecPayCashTurn"),
                     {QStringLiteral("ID"), QStringLiteral("CashID"), QStringLiteral("Turn"),
                      QStringLiteral("IsOpen"), QStringLiteral("UserID"),
                      QStringLiteral("OpenDate"), QStringLiteral("FarsiOpenDate"),
                      QStringLiteral("CloseDate"), QStringLiteral("FarsiCloseDate")});
    // The cashier's shifts of the last ten days, each closed in the evening, then today's.
    int next = 1;
    for (int ago = kClosedTurnDays; ago >= 1; --ago) {
        const QDate day = d.calendar.daysAgo(ago);
        d.cashTurnOfDay.insert(day.toJulianDay(), next);
        turns.add({next, id::kShopCashBox, next, 0, id::kCashierUser, at(day, 8),
                   d.calendar.farsi(day), at(day, 22), d.calendar.farsi(day)});
        ++next;
    }
    const QDate today = d.calendar.today();
    const int cashierTurn = next;
    turns.add({next, id::kShopCashBox, next, 1, id::kCashierUser, at(today, 8),
               d.calendar.farsi(today), Null(), Null()});
    ++next;
    turns.add({next, id::kIsfahanCashBox, 1, 1, id::kAdminUser, at(today, 8),
               d.calendar.farsi(today), Null(), Null()});
    turns.finish();
    // The administrator may book into the cashier's open turn as well.
    d.session.exec(QStringLiteral("INSERT INTO tblRecPayCashTurnUser (CashTurnID, UserID) VALUES "
                                  "(?,?)"),
                   {cashierTurn, id::kAdminUser});

    BulkInsert types(d.session, QStringLiteral("tblRecPayPosType"),
                     {QStringLiteral("ID"), QStringLiteral("Name")});
    const QStringList kinds{QStringLiteral("کارتخوان سريال"), QStringLiteral("بانک صادرات"),
                            QStringLiteral("بانک ملي"), QStringLiteral("آسان پرداخت"),
                            QStringLiteral("بانک کشاورزي")};
    for (int i = 0; i < kinds.size(); ++i)
        types.add({i + 1, kinds[i]});
    types.finish();

    // The cashier's terminal speaks over the network (the terminal simulator listens there).
    BulkInsert pos(
        d.session, QStringLiteral("tblRecPayPos"),
        {QStringLiteral("ID"), QStringLiteral("Name"), QStringLiteral("COMPort"),
         QStringLiteral("BaudRate"), QStringLiteral("AccountID"), QStringLiteral("ObjectID1"),
         QStringLiteral("ObjectID2"), QStringLiteral("ObjectID3"), QStringLiteral("UserID"),
         QStringLiteral("TypeID"), QStringLiteral("IP"), QStringLiteral("IPPORT")});
    pos.add({1, QStringLiteral("کارتخوان صندوق فروشگاه"), QStringLiteral("COM1"), 115200,
             d.accountId(account::kMelliBank), Null(), Null(), Null(), id::kCashierUser, 3,
             QStringLiteral("127.0.0.1"), 8888});
    pos.add({2, QStringLiteral("کارتخوان دفتر مرکزي"), QStringLiteral("COM3"), 9600,
             d.accountId(account::kMellatBank), Null(), Null(), Null(), id::kAdminUser, 1, Null(),
             Null()});
    pos.finish();
}

}  // namespace si::erpdb::demo
