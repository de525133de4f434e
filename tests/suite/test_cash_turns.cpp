// The turn manager: the next turn of a box, one open turn per box, only the owner closes or
// admits, and workstations opening turns of one box at once never share a number.

#include <QCoreApplication>
#include <QDateTime>
#include <QProcess>
#include <QThread>
#include <cstdio>

#include "suite/CashTurnManager.h"
#include "support/ContextTest.h"

namespace si::test {
namespace {

using suite::CashTurnManager;
using suite::TurnRefused;

const char* const kChildDb = "SALEINVOICE_TURN_CHILD_DB";
const char* const kChildUser = "SALEINVOICE_TURN_CHILD_USER";
const char* const kChildCash = "SALEINVOICE_TURN_CHILD_CASH";
const char* const kChildStart = "SALEINVOICE_TURN_CHILD_START";
constexpr int kShiftsPerChild = 15;
constexpr int kWorkstations = 3;

class CashTurnTest : public ContextTest {
protected:
    void SetUp() override {
        ContextTest::SetUp();
        cash = static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblRecPayCash (Name) values ('صندوق يك') RETURNING ID")));
        other = addUser(QStringLiteral("صندوقدار دوم"), false);
        third = addUser(QStringLiteral("صندوقدار سوم"), false);
        for (int user : {ctx.globals.CurrentUserID, other, third})
            permit(user);
    }
    void permit(int user) {
        db().exec(QStringLiteral("insert into tblRecPayCashUser (CashID, UserID) values (?, ?)"),
                  {cash, user});
    }
    int count(const QString& table) {
        return db().scalar(QStringLiteral("select count(*) from ") + table).toInt();
    }
    QString refusal(const std::function<void()>& act) {
        try {
            act();
        } catch (const TurnRefused& r) {
            return r.text();
        }
        return {};
    }
    int cash = 0;
    int other = 0;
    int third = 0;
};

TEST_P(CashTurnTest, TurnsOfABoxAreNumberedOnAndOneIsOpenAtATime) {
    CashTurnManager mine(db(), ctx.globals.CurrentUserID);
    const suite::OpenedTurn first = mine.OpenTurn(cash);
    EXPECT_EQ(first.turn, 1);
    EXPECT_EQ(refusal([&] { mine.OpenTurn(cash); }),
              QStringLiteral("نوبت 1 اين صندوق هنوز باز است؛ ابتدا آن را ببنديد."));
    CashTurnManager theirs(db(), other);
    EXPECT_EQ(refusal([&] { theirs.CloseTurn(first.id); }),
              QStringLiteral("فقط صاحب نوبت مي تواند آن را ببندد."));
    mine.CloseTurn(first.id);
    EXPECT_EQ(refusal([&] { mine.CloseTurn(first.id); }),
              QStringLiteral("اين نوبت قبلا بسته شده است."));
    const auto closed = db().first(
        QStringLiteral("select IsOpen, FarsiCloseDate from tblRecPayCashTurn where ID = ?"),
        {first.id});
    EXPECT_EQ(closed->toInt(u"IsOpen"), 0);
    EXPECT_EQ(closed->text(u"FarsiCloseDate"), QStringLiteral("1405/09/15"));
    EXPECT_EQ(theirs.OpenTurn(cash).turn, 2);
    EXPECT_EQ(mine.UserTurns(false).size(), 1);
    EXPECT_TRUE(mine.UserTurns(true).empty());
}

TEST_P(CashTurnTest, OnlyUsersOfTheBoxOpenOrJoinATurn) {
    const int stranger = addUser(QStringLiteral("انباردار"), false);
    CashTurnManager outsider(db(), stranger);
    EXPECT_EQ(refusal([&] { outsider.OpenTurn(cash); }),
              QStringLiteral("اين كاربر مجاز به استفاده از اين صندوق نيست."));
    EXPECT_EQ(count(QStringLiteral("tblRecPayCashTurn")), 0);

    CashTurnManager mine(db(), ctx.globals.CurrentUserID);
    const qint64 turn = mine.OpenTurn(cash).id;
    EXPECT_FALSE(refusal([&] { mine.AdmitUser(turn, stranger); }).isEmpty());
    mine.AdmitUser(turn, other);
    mine.AdmitUser(turn, other);  // once is enough
    EXPECT_EQ(count(QStringLiteral("tblRecPayCashTurnUser")), 1);
    mine.CloseTurn(turn);
    EXPECT_EQ(refusal([&] { mine.AdmitUser(turn, other); }),
              QStringLiteral("اين نوبت بسته شده است."));
}

// A workstation of its own, started by the race below: opens and closes its shifts, waiting
// while the other holds the box.
TEST(TurnChildProcess, OpenAndCloseShifts) {
    const QString connection = qEnvironmentVariable(kChildDb);
    if (connection.isEmpty()) GTEST_SKIP() << "started only by the race test";
    auto session = Session::open(connection);
    CashTurnManager turns(*session, qEnvironmentVariableIntValue(kChildUser));
    const int cash = qEnvironmentVariableIntValue(kChildCash);
    while (QDateTime::currentMSecsSinceEpoch() < qEnvironmentVariable(kChildStart).toLongLong())
        QThread::msleep(1);
    for (int shift = 0; shift < kShiftsPerChild; ++shift) {
        for (;;) {
            try {
                const suite::OpenedTurn opened = turns.OpenTurn(cash);
                std::printf("TURN=%d\n", opened.turn);
                turns.CloseTurn(opened.id);
                break;
            } catch (const TurnRefused&) {
                QThread::yieldCurrentThread();  // another workstation's shift is open
            }
        }
    }
    std::fflush(stdout);
}

TEST_P(CashTurnTest, WorkstationsOpeningAtOnceNeverShareANumber) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kChildDb), database->connectionString());
    env.insert(QString::fromLatin1(kChildCash), QString::number(cash));
    env.insert(QString::fromLatin1(kChildStart),
               QString::number(QDateTime::currentMSecsSinceEpoch() + 3000));
    std::vector<std::unique_ptr<QProcess>> children;
    for (int user : {ctx.globals.CurrentUserID, other, third}) {
        env.insert(QString::fromLatin1(kChildUser), QString::number(user));
        auto& p = children.emplace_back(std::make_unique<QProcess>());
        p->setProcessEnvironment(env);
        p->start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--gtest_filter=TurnChildProcess.OpenAndCloseShifts")});
        ASSERT_TRUE(p->waitForStarted(10000));
    }
    int printed = 0;
    for (auto& p : children) {
        ASSERT_TRUE(p->waitForFinished(120000));
        const QString output = QString::fromUtf8(p->readAllStandardOutput());
        EXPECT_EQ(p->exitCode(), 0) << output.toStdString();
        printed += static_cast<int>(output.count(QStringLiteral("TURN=")));
    }
    EXPECT_EQ(printed, kWorkstations * kShiftsPerChild);
    const RowSet turns =
        db().query(QStringLiteral("select Turn, IsOpen from tblRecPayCashTurn order by Turn"));
    ASSERT_EQ(turns.size(), kWorkstations * kShiftsPerChild);
    for (int i = 0; i < turns.size(); ++i) {
        EXPECT_EQ(turns[i].toInt(u"Turn"), i + 1);
        EXPECT_EQ(turns[i].toInt(u"IsOpen"), 0);
    }
}

SI_INSTANTIATE_BACKENDS(CashTurnTest);

}  // namespace
}  // namespace si::test
