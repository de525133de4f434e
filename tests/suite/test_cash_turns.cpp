// The turn manager: the next turn of a box, one open turn per box, only the owner closes or
// admits, and workstations opening turns of one box at once never share a number.

#include <QCoreApplication>
#include <QDateTime>
#include <QProcess>
#include <QThread>
#include <cstdio>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableWidget>

#include "suite/BoxTurnComponent.h"
#include "suite/BoxTurnWindows.h"
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

// Cash leaves a turn only through its own users and never beyond what the drawer holds.
TEST_P(CashTurnTest, PaymentsOutOfATurnKeepItsCashRight) {
    CashTurnManager owner(db(), other);
    const suite::OpenedTurn opened = owner.OpenTurn(cash);
    db().exec(QStringLiteral("insert into tblRecPayCashTurnDetail (CashTurnID, ReceivedValue, "
                             "PayedValue) values (?, ?, 0)"),
              {opened.id, QVariant::fromValue(Money::fromRials(50000))});
    CashTurnManager stranger(db(), third);
    const auto pay = [&](CashTurnManager& m, qint64 rials) {
        return refusal([&] {
            m.PayOut(cash, opened.turn, Money::fromRials(rials), QStringLiteral("خريد قند"));
        });
    };
    EXPECT_EQ(pay(stranger, 1000),
              QStringLiteral("اين كاربر مجاز به استفاده از اين نوبت صندوق نيست."));
    EXPECT_EQ(pay(owner, 0), QStringLiteral("مبلغ پرداخت بايد بيشتر از صفر باشد."));
    EXPECT_EQ(pay(owner, 50001),
              QStringLiteral(
                  "موجودي نقد اين نوبت 50/000 ريال است و پرداخت 50/001 ريال از آن ممكن نيست."));
    EXPECT_TRUE(pay(owner, 20000).isEmpty());
    owner.AdmitUser(opened.id, third);
    EXPECT_TRUE(pay(stranger, 30000).isEmpty());
    EXPECT_EQ(owner.CashBalance(opened.id), Money());
    const auto row = db().first(QStringLiteral("select PayedValue, Description, UserID from "
                                               "tblRecPayCashTurnDetail where UserID = ?"),
                                {third});
    EXPECT_EQ(row->money(u"PayedValue"), Money::fromRials(30000));
    EXPECT_EQ(row->text(u"Description"), QStringLiteral("پرداخت از صندوق: خريد قند"));
    owner.CloseTurn(opened.id);
    EXPECT_EQ(pay(owner, 1), QStringLiteral("اين نوبت صندوق باز نيست."));
}

class BoxTurnComponentTest : public CashTurnTest {
protected:
    void SetUp() override {
        CashTurnTest::SetUp();
        component.setProperty("UserID", ctx.globals.CurrentUserID);
        component.setProperty("EmployeeID", employee());
        component.setProperty("OLEConnectionString", database->connectionString());
    }
    int employee() {
        return static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblEmployee (FirstName, SureName, Phone) values ('سارا', "
                           "'رضايي', '09120000000') RETURNING ID")));
    }
    suite::BoxTurnComponent component;
};

// The window opens and closes the user's turn; a closed turn's figures go to the cashier's phone
// only while SMS sending is on.
TEST_P(BoxTurnComponentTest, TheTurnsWindowOpensAndClosesAndTellsTheCashier) {
    QSignalSpy sms(&component, &suite::BoxTurnComponent::SendSMS);
    setParameter(5004, QStringLiteral("1"));
    component.showWindow = [](QWidget& w) {
        auto& window = static_cast<suite::BoxTurnWindow&>(w);
        window.openTurn();
        window.openTurn();
        EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lblMessage"))->text(),
                  QStringLiteral("نوبت 1 اين صندوق هنوز باز است؛ ابتدا آن را ببنديد."));
        EXPECT_EQ(window.findChild<QTableWidget*>(QStringLiteral("flexTurns"))->rowCount(), 1);
        window.closeTurn();
    };
    QMetaObject::invokeMethod(&component, "Show");
    EXPECT_TRUE(component.errorMessage().isEmpty()) << component.errorMessage().toStdString();
    ASSERT_EQ(sms.size(), 1);
    EXPECT_EQ(sms[0][0].toString(), QStringLiteral("09120000000"));
    EXPECT_TRUE(sms[0][1].toString().startsWith(QStringLiteral("نوبت 1 صندوق صندوق يك در ")));
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from tblRecPayCashTurn where IsOpen = 0"))
                  .toInt(),
              1);

    setParameter(5004, QStringLiteral("0"));
    component.showWindow = [](QWidget& w) {
        auto& window = static_cast<suite::BoxTurnWindow&>(w);
        window.openTurn();
        window.closeTurn();
    };
    QMetaObject::invokeMethod(&component, "Show");
    EXPECT_EQ(sms.size(), 1);
}

TEST_P(BoxTurnComponentTest, ThePaymentWindowRefusesWhatTheTurnCannotPay) {
    const suite::OpenedTurn opened =
        CashTurnManager(db(), ctx.globals.CurrentUserID).OpenTurn(cash);
    component.setProperty("CashID", cash);
    component.setProperty("Turn", opened.turn);
    bool paid = true;
    component.showWindow = [&paid](QWidget& w) {
        auto& window = static_cast<suite::CashPayWindow&>(w);
        window.findChild<QLineEdit*>(QStringLiteral("txtAmount"))->setText(QStringLiteral("1/000"));
        paid = window.pay();
        EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lblMessage"))->text(),
                  QStringLiteral("شرح پرداخت را وارد كنيد."));
        window.findChild<QLineEdit*>(QStringLiteral("txtDescription"))
            ->setText(QStringLiteral("كرايه"));
        paid = paid || window.pay();
        EXPECT_EQ(
            window.findChild<QLabel*>(QStringLiteral("lblMessage"))->text(),
            QStringLiteral("موجودي نقد اين نوبت 0 ريال است و پرداخت 1/000 ريال از آن ممكن نيست."));
    };
    QMetaObject::invokeMethod(&component, "ShowPay");
    EXPECT_FALSE(paid);
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from tblRecPayCashTurnDetail")).toInt(),
              0);
}

SI_INSTANTIATE_BACKENDS(CashTurnTest);
SI_INSTANTIATE_BACKENDS(BoxTurnComponentTest);

}  // namespace
}  // namespace si::test
