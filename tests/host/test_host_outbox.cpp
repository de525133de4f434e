// The host's outbox on both databases: a message the control raises is stored for every host
// and shown with its state, one the database cannot take is held until it can, and the window
// sends through the gateway of its settings, which the command line and the window set.

#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>

#include "LocalSmsGateway.h"
#include "apps/host/HostEvents.h"
#include "apps/host/HostOptions.h"
#include "apps/host/HostWindow.h"
#include "apps/host/Login.h"
#include "apps/host/SmsGateway.h"
#include "component/comSaleInvoice1.h"
#include "erpdb/Schema.h"
#include "invoice/ui/FormMain.h"
#include "support/ContextTest.h"

namespace si::host {
namespace {

const QString kPhone = QStringLiteral("09121234567");
const QString kText = QStringLiteral("مشتري گرامي، فاکتور شما به مبلغ 1/250/000 ريال ثبت شد.");

// Logs the control in as the test's user, as the host does after its login dialog.
void LogIn(comSaleInvoice1& control, const QString& connection, int userId) {
    control.showForms = false;
    LoginLogic login;
    ASSERT_TRUE(login.connect(connection));
    const LoginResult user = login.loginWithoutPassword(userId);
    ASSERT_TRUE(user.ok());
    ApplyLogin(control, connection, *user.user);
    control.ClearShow();
    ASSERT_NE(control.myFrm(), nullptr);
}

class HostOutboxTest : public test::ContextTest {
protected:
    void SetUp() override {
        ContextTest::SetUp();
        control = std::make_unique<comSaleInvoice1>(components, procedures);
        LogIn(*control, database->connectionString(), ctx.globals.CurrentUserID);
        control->context().clock = [this] { return now; };
        outbox.clock = [this] { return now; };
        events = std::make_unique<HostEvents>(*control, outbox);
        events->showError = [this](const QString& message) { errors << message; };
        QObject::connect(events.get(), &HostEvents::smsStored, [this] { ++stored; });
    }
    void TearDown() override {
        events.reset();
        control.reset();
        ContextTest::TearDown();
    }
    void raise(const QString& phone, const QString& text) {
        Q_EMIT control->myFrm()->logic().SendSMS(phone, text);
    }
    QString stateText(int row) { return outbox.index(row, Outbox::State).data().toString(); }
    int tableRows() {
        return db().scalar(QStringLiteral("select count(*) from tblSmsOutbox")).toInt();
    }

    Outbox outbox;
    std::unique_ptr<comSaleInvoice1> control;
    std::unique_ptr<HostEvents> events;
    QStringList errors;
    int stored = 0;
};

TEST_P(HostOutboxTest, ARaisedMessageIsStoredForEveryHostAndShownWithItsState) {
    raise(kPhone, kText);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u' ').toStdString();
    EXPECT_EQ(stored, 1);
    const auto elsewhere = database->open();
    const auto rows = ReadSmsOutbox(*elsewhere);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].phone, kPhone);
    EXPECT_EQ(rows[0].message, kText);
    EXPECT_EQ(rows[0].created, now);
    EXPECT_EQ(stateText(0), kSmsWaitingText);

    const auto failing = ClaimDueSms(*elsewhere, now);
    ASSERT_TRUE(failing.has_value());
    outbox.reload(db());
    EXPECT_EQ(stateText(0), QStringLiteral("در حال ارسال"));
    ASSERT_TRUE(MarkSmsFailed(*elsewhere, *failing, QStringLiteral("HTTP 500"), now));
    outbox.reload(db());
    EXPECT_EQ(stateText(0), QStringLiteral("ناموفق، تلاش دوباره در 1405/09/15 10:00:10 (1 بار "
                                           "تلاش؛ HTTP 500)"));
    const auto sent = ClaimDueSms(*elsewhere, now.addSecs(10));
    ASSERT_TRUE(sent.has_value());
    ASSERT_TRUE(MarkSmsSent(*elsewhere, *sent, now.addSecs(11)));
    outbox.reload(db());
    EXPECT_EQ(stateText(0), kSmsSentText);

    // What cannot be sent is refused with its reason and stores nothing.
    raise(QStringLiteral("  "), kText);
    EXPECT_EQ(errors, QStringList{SmsProblem(QString(), kText)});
    EXPECT_EQ(stored, 1);
    EXPECT_EQ(tableRows(), 1);
    EXPECT_EQ(outbox.rowCount(), 1);
}

// A database not yet upgraded to the outbox: the message is held and shown, the clerk is told,
// and it is stored with its own time once the database is upgraded.
TEST_P(HostOutboxTest, AMessageTheDatabaseCannotTakeIsHeldAndStoredLater) {
    db().execScript(QStringLiteral("DROP TABLE tblSmsOutbox"));
    constexpr int kOutboxStep = 11;  // the upgrade step that creates the outbox
    db().exec(QStringLiteral("DELETE FROM tblZelorSchemaVersion WHERE Version >= ?"),
              {kOutboxStep});
    const QDateTime raised = now;
    raise(kPhone, kText);
    EXPECT_EQ(errors.size(), 1);
    EXPECT_EQ(stored, 0);
    EXPECT_EQ(outbox.heldCount(), 1);
    ASSERT_EQ(outbox.rowCount(), 1);
    EXPECT_EQ(outbox.index(0, Outbox::Message).data().toString(), kText);
    EXPECT_FALSE(outbox.storeHeld(db()));
    EXPECT_EQ(outbox.heldCount(), 1);

    erpdb::InstallSchema(db());
    now = now.addSecs(60);
    EXPECT_TRUE(outbox.storeHeld(db()));
    EXPECT_EQ(outbox.heldCount(), 0);
    const auto rows = ReadSmsOutbox(db());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].message, kText);
    EXPECT_EQ(rows[0].created, raised);
    EXPECT_EQ(outbox.rowCount(), 1);
    EXPECT_EQ(stateText(0), kSmsWaitingText);
}

TEST_P(HostOutboxTest, TheWindowSendsWhatTheFormRaisedThroughTheGatewayOfItsSettings) {
    test::LocalSmsGateway gateway;
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("host.conf")), QSettings::IniFormat);
    StoreSmsGateway(settings, gateway.urlTemplate());
    HostWindow window(components, procedures);
    LogIn(window.control(), database->connectionString(), ctx.globals.CurrentUserID);
    window.startOutbox(settings);
    ASSERT_NE(window.smsSender(), nullptr);

    Q_EMIT window.control().myFrm()->logic().SendSMS(kPhone, kText);
    ASSERT_TRUE(test::WaitUntil([&] {
        return window.outbox().rowCount() == 1 &&
               window.outbox().index(0, Outbox::State).data().toString() == kSmsSentText;
    }));
    EXPECT_EQ(gateway.delivered(), QStringList{kText});
    EXPECT_EQ(gateway.requests().front().phone, kPhone);

    // The window names the gateway's server, not its template (which may hold a password).
    window.showOutbox();
    const QLabel* status = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("OutboxWindow"))
            status = w->findChild<QLabel*>(QStringLiteral("lblSmsGateway"));
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(status->text().contains(QStringLiteral("127.0.0.1")))
        << status->text().toStdString();
    EXPECT_FALSE(status->text().contains(QStringLiteral("{text}")));

    EXPECT_FALSE(window.setSmsGateway(QStringLiteral("http://127.0.0.1/x?to={phone}")).isEmpty());
    EXPECT_EQ(ReadSmsGateway(settings), gateway.urlTemplate());
    EXPECT_TRUE(window.setSmsGateway(QString()).isEmpty());
    EXPECT_FALSE(settings.contains(kSmsGatewayKey));
    EXPECT_TRUE(status->text().contains(QStringLiteral("تنظيم نشده")))
        << status->text().toStdString();
    window.close();
}

SI_INSTANTIATE_BACKENDS(HostOutboxTest);

TEST(HostOptionsTest, TheGatewayOptionIsCheckedAndKeptAsGiven) {
    const QString program = QStringLiteral("saleinvoice-host");
    const QString url = QStringLiteral("http://127.0.0.1:9000/send?to={phone}&text={text}");
    HostOptions options = ParseHostOptions({program, QStringLiteral("--sms-gateway"), url});
    EXPECT_TRUE(options.error.isEmpty()) << options.error.toStdString();
    EXPECT_EQ(options.smsGateway, url);
    options = ParseHostOptions(
        {program, QStringLiteral("--sms-gateway="), QStringLiteral("--user"), QStringLiteral("1")});
    EXPECT_EQ(options.smsGateway, QString());  // removes the setting
    EXPECT_FALSE(ParseHostOptions({program}).smsGateway.has_value());
    const QString bad = QStringLiteral("http://127.0.0.1:9000/send?to={phone}");
    EXPECT_EQ(ParseHostOptions({program, QStringLiteral("--sms-gateway"), bad}).error,
              SmsGatewayProblem(bad));
}

}  // namespace
}  // namespace si::host
