// The host's sender on both databases, against a gateway on 127.0.0.1: a message arrives exactly
// once with its phone and text whatever failed before, whoever stored it, after a restart, with
// two senders on one database, and when the database missed the news that it was sent. The
// tests move the sender's clock instead of waiting out the back-off.

#include <gtest/gtest.h>
#include <QUrlQuery>

#include "LocalSmsGateway.h"
#include "apps/host/SmsGateway.h"
#include "apps/host/SmsSender.h"
#include "support/ClosedPort.h"
#include "support/TestDatabase.h"

namespace si::host {
namespace {

using test::LocalSmsGateway;
using test::WaitUntil;

const QDateTime kStart{QDate(2026, 12, 6), QTime(10, 0)};
const QString kPhone = QStringLiteral("+98 912 123 4567");
// Line breaks, the query's own delimiters, a percent sign, a zero-width non-joiner and a trailing
// space: the gateway must get the text exactly.
const QString kText = QStringLiteral(
    "مشتري گرامي، فاکتور 12 به مبلغ 1/250/000 ريال ثبت شد.\nمي‌توانيد a+b=c "
    "& "
    "d?e#f "
    "را با 100% تخفيف ببينيد ");

class SmsSenderTest : public ::testing::TestWithParam<test::Backend> {
protected:
    void SetUp() override {
        database = std::make_unique<test::TestDatabase>(GetParam());
        db = database->open();
    }
    void TearDown() override {
        db.reset();
        database.reset();
    }
    std::unique_ptr<SmsSender> makeSender(Session& session, const QString& gatewayTemplate) {
        auto sender = std::make_unique<SmsSender>(session);
        sender->clock = [this] { return now; };
        sender->setGateway(gatewayTemplate);
        return sender;
    }
    // One tick at the time given, with every request it started answered.
    void tickAt(SmsSender& sender, const QDateTime& at) {
        now = at;
        sender.tick();
        ASSERT_TRUE(WaitUntil([&] { return sender.inFlight() == 0; }));
    }
    SmsOutboxRow only() {
        const auto rows = ReadSmsOutbox(*db);
        EXPECT_EQ(rows.size(), 1u);
        return rows.empty() ? SmsOutboxRow{} : rows.front();
    }

    std::unique_ptr<test::TestDatabase> database;
    std::unique_ptr<Session> db;
    LocalSmsGateway gateway;
    QDateTime now = kStart;
};

TEST_P(SmsSenderTest, AMessageAnotherProcessStoredArrivesOnceAfterAnErrorAndADroppedConnection) {
    {
        auto elsewhere = database->open();
        EnqueueSms(*elsewhere, kPhone, kText, kStart);
    }
    auto sender = makeSender(*db, gateway.urlTemplate());

    gateway.answerWith(500);
    tickAt(*sender, kStart);
    SmsOutboxRow row = only();
    EXPECT_EQ(row.state, SmsState::Waiting);
    EXPECT_EQ(row.attempts, 1);
    EXPECT_TRUE(row.lastError.contains(QStringLiteral("HTTP 500"))) << row.lastError.toStdString();
    EXPECT_EQ(row.nextAttempt, kStart.addSecs(10));

    gateway.drop();
    const size_t asked = gateway.requests().size();
    tickAt(*sender, kStart.addSecs(9));
    EXPECT_EQ(gateway.requests().size(), asked);  // not due yet
    tickAt(*sender, kStart.addSecs(10));
    row = only();
    EXPECT_EQ(row.attempts, 2);
    EXPECT_TRUE(row.lastError.startsWith(QStringLiteral("درگاه پيامك در دسترس نيست")))
        << row.lastError.toStdString();
    EXPECT_EQ(row.nextAttempt, kStart.addSecs(30));

    gateway.answerWith(200);
    tickAt(*sender, kStart.addSecs(30));
    tickAt(*sender, kStart.addDays(1));
    EXPECT_EQ(gateway.delivered(), QStringList{kText});
    EXPECT_EQ(gateway.requests().back().phone, kPhone);
    row = only();
    EXPECT_EQ(row.state, SmsState::Sent);
    EXPECT_EQ(row.attempts, 3);
    EXPECT_EQ(row.sent, kStart.addSecs(30));
}

TEST_P(SmsSenderTest, AHostStartedAgainSendsWhatItCouldNotBefore) {
    EnqueueSms(*db, kPhone, kText, kStart);
    {
        auto session = database->open();
        auto refused =
            makeSender(*session, QStringLiteral("http://127.0.0.1:%1/send?to={phone}&text={text}")
                                     .arg(test::ClosedLocalPort()));
        tickAt(*refused, kStart);
    }
    EXPECT_EQ(only().attempts, 1);
    EXPECT_FALSE(only().lastError.isEmpty());

    auto session = database->open();
    auto restarted = makeSender(*session, gateway.urlTemplate());
    tickAt(*restarted, kStart.addSecs(10));
    EXPECT_EQ(gateway.delivered(), QStringList{kText});
    EXPECT_EQ(only().state, SmsState::Sent);
}

TEST_P(SmsSenderTest, AHostClosedWhileSendingLeavesTheMessageToTheNextOne) {
    EnqueueSms(*db, kPhone, kText, kStart);
    gateway.keepSilent();
    {
        auto session = database->open();
        auto closing = makeSender(*session, gateway.urlTemplate());
        closing->tick();
        ASSERT_TRUE(WaitUntil([&] { return gateway.requests().size() == 1; }));
        EXPECT_TRUE(only().claimed);
    }
    const SmsOutboxRow row = only();
    EXPECT_FALSE(row.claimed);
    EXPECT_EQ(row.attempts, 1);
    EXPECT_EQ(row.lastError, QStringLiteral("ارسال با بسته شدن برنامه قطع شد."));

    gateway.answerWith(200);
    auto next = makeSender(*db, gateway.urlTemplate());
    tickAt(*next, kStart.addSecs(10));
    EXPECT_EQ(gateway.delivered(), QStringList{kText});
}

// A third workstation claimed one message and died: the two senders leave it alone until its
// claim lapses, and share the others without sending any twice.
TEST_P(SmsSenderTest, TwoSendersOnOneDatabaseSendEachMessageOnce) {
    QStringList texts;
    for (int i = 0; i < 10; ++i) {
        texts << QStringLiteral("پيام شماره %1").arg(i);
        EnqueueSms(*db, QStringLiteral("0912000000%1").arg(i), texts.last(), kStart);
    }
    auto dead = database->open();
    const auto held = ClaimDueSms(*dead, kStart);
    ASSERT_TRUE(held.has_value());

    auto firstDb = database->open();
    auto secondDb = database->open();
    auto first = makeSender(*firstDb, gateway.urlTemplate());
    auto second = makeSender(*secondDb, gateway.urlTemplate());
    first->tick();
    second->tick();
    ASSERT_TRUE(WaitUntil([&] { return first->inFlight() == 0 && second->inFlight() == 0; }));
    QStringList delivered = gateway.delivered();
    EXPECT_EQ(delivered.size(), 9);
    EXPECT_FALSE(delivered.contains(held->message));

    now = kStart.addSecs(kSmsClaimSeconds);
    first->tick();
    second->tick();
    ASSERT_TRUE(WaitUntil([&] { return first->inFlight() == 0 && second->inFlight() == 0; }));
    delivered = gateway.delivered();
    delivered.sort();
    texts.sort();
    EXPECT_EQ(delivered, texts);
}

TEST_P(SmsSenderTest, AGatewayThatDoesNotAnswerInTimeIsAFailure) {
    EnqueueSms(*db, kPhone, kText, kStart);
    gateway.keepSilent();
    auto sender = makeSender(*db, gateway.urlTemplate());
    sender->setTimeout(50);
    tickAt(*sender, kStart);
    const SmsOutboxRow row = only();
    EXPECT_EQ(row.state, SmsState::Waiting);
    EXPECT_FALSE(row.claimed);
    EXPECT_TRUE(row.lastError.contains(QStringLiteral("مهلت"))) << row.lastError.toStdString();

    gateway.answerWith(204);
    tickAt(*sender, kStart.addSecs(10));
    EXPECT_EQ(gateway.delivered(), QStringList{kText});
}

// The gateway took the message while the database was away: the mark is written when it is
// back, and the message is not sent again.
TEST_P(SmsSenderTest, ASendTheDatabaseMissedIsRecordedLaterAndNotRepeated) {
    EnqueueSms(*db, kPhone, kText, kStart);
    gateway.keepSilent();
    auto session = database->open();
    auto sender = makeSender(*session, gateway.urlTemplate());
    sender->tick();
    ASSERT_TRUE(WaitUntil([&] { return gateway.requests().size() == 1; }));
    db->execScript(QStringLiteral("ALTER TABLE tblSmsOutbox RENAME TO tblSmsOutboxAway"));
    gateway.answerWaiting(200);
    ASSERT_TRUE(WaitUntil([&] { return sender->inFlight() == 0; }));
    EXPECT_FALSE(sender->problem().isEmpty());

    db->execScript(QStringLiteral("ALTER TABLE tblSmsOutboxAway RENAME TO tblSmsOutbox"));
    tickAt(*sender, kStart.addSecs(kSmsClaimSeconds + 1));
    EXPECT_TRUE(sender->problem().isEmpty()) << sender->problem().toStdString();
    EXPECT_EQ(only().state, SmsState::Sent);
    EXPECT_EQ(gateway.delivered(), QStringList{kText});
    EXPECT_EQ(gateway.requests().size(), 1u);
}

TEST_P(SmsSenderTest, WithoutAUsableGatewayMessagesWaitUnclaimed) {
    EnqueueSms(*db, kPhone, kText, kStart);
    const QString unusable[] = {
        QString(),
        QStringLiteral("http://127.0.0.1:%1/send?to={phone}").arg(8),
        QStringLiteral("ftp://127.0.0.1/{phone}/{text}"),
    };
    for (const QString& gatewayTemplate : unusable) {
        auto sender = makeSender(*db, gatewayTemplate);
        EXPECT_FALSE(sender->hasGateway());
        tickAt(*sender, kStart.addDays(1));
        EXPECT_EQ(only().attempts, 0);
        EXPECT_FALSE(only().claimed);
    }
    EXPECT_TRUE(gateway.requests().empty());
}

SI_INSTANTIATE_BACKENDS(SmsSenderTest);

// --- the gateway template ------------------------------------------------------------------------

TEST(SmsGatewayTest, OnlyAnHttpTemplateWithBothPlaceholdersIsUsable) {
    EXPECT_TRUE(SmsGatewayProblem(QString()).isEmpty());  // not set: messages wait
    EXPECT_TRUE(
        SmsGatewayProblem(QStringLiteral("http://127.0.0.1:9000/send?to={phone}&text={text}"))
            .isEmpty());
    EXPECT_TRUE(SmsGatewayProblem(QStringLiteral("https://127.0.0.1/{phone}?m={text}&key=a%20b"))
                    .isEmpty());
    const QString refused[] = {
        QStringLiteral("http://127.0.0.1:9000/send?to={phone}"),
        QStringLiteral("http://127.0.0.1:9000/send?text={text}"),
        QStringLiteral("ftp://127.0.0.1/{phone}/{text}"),
        QStringLiteral("127.0.0.1/send?to={phone}&text={text}"),
        QStringLiteral("http:///send?to={phone}&text={text}"),
    };
    for (const QString& t : refused)
        EXPECT_FALSE(SmsGatewayProblem(t).isEmpty()) << t.toStdString();
}

TEST(SmsGatewayTest, PhoneAndTextReachTheGatewayPercentEncoded) {
    const QUrl url =
        SmsRequestUrl(QStringLiteral("http://127.0.0.1:9000/send?to={phone}&text={text}&from=3000"),
                      kPhone, kText);
    EXPECT_EQ(url.host(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(url.port(), 9000);
    const QUrlQuery query(url.query(QUrl::FullyEncoded));
    EXPECT_EQ(query.queryItemValue(QStringLiteral("to"), QUrl::FullyDecoded), kPhone);
    EXPECT_EQ(query.queryItemValue(QStringLiteral("text"), QUrl::FullyDecoded), kText);
    EXPECT_EQ(query.queryItemValue(QStringLiteral("from")), QStringLiteral("3000"));
    // A "+" left bare would reach many gateways as a space.
    EXPECT_FALSE(url.toEncoded().contains('+'));
}

}  // namespace
}  // namespace si::host
