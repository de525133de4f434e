// The outbox of text messages on both databases: what it refuses to store, how a claim keeps
// other hosts away until it lapses, the back-off between attempts, and workstation processes
// claiming at once never sending a message twice.

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QProcess>
#include <QSet>
#include <QThread>
#include <cstdio>

#include "common/SmsOutbox.h"
#include "support/TestDatabase.h"

namespace si {
namespace {

const QDateTime kStart{QDate(2026, 12, 6), QTime(10, 0)};
const char* const kChildDb = "SALEINVOICE_SMS_CHILD_DB";
const char* const kChildStart = "SALEINVOICE_SMS_CHILD_START";
constexpr int kRaceMessages = 60;
constexpr int kWorkstations = 3;

TEST(SmsRetryTest, TheDelayDoublesFromTenSecondsUpToAQuarterOfAnHour) {
    const std::pair<int, int> cases[] = {{1, 10},  {2, 20},  {3, 40},  {4, 80},   {5, 160},
                                         {6, 320}, {7, 640}, {8, 900}, {40, 900}, {1000000, 900}};
    for (const auto& [attempts, seconds] : cases)
        EXPECT_EQ(SmsRetryDelaySeconds(attempts), seconds) << attempts;
    EXPECT_EQ(SmsRetryDate(kStart, 3), kStart.addSecs(40));
}

class SmsOutboxTest : public ::testing::TestWithParam<test::Backend> {
protected:
    void SetUp() override {
        database = std::make_unique<test::TestDatabase>(GetParam());
        db = database->open();
        other = database->open();
    }
    void TearDown() override {
        other.reset();
        db.reset();
        database.reset();
    }
    int rows() { return db->scalar(QStringLiteral("select count(*) from tblSmsOutbox")).toInt(); }
    SmsOutboxRow only() {
        const auto all = ReadSmsOutbox(*db);
        return all.size() == 1 ? all.front() : SmsOutboxRow{};
    }

    std::unique_ptr<test::TestDatabase> database;
    std::unique_ptr<Session> db;
    std::unique_ptr<Session> other;  // another workstation
};

TEST_P(SmsOutboxTest, ARefusedMessageStoresNothingAndTheLimitsThemselvesAreStored) {
    const QString phone = QStringLiteral("09121234567");
    const QString text = QStringLiteral("سلام");
    const std::pair<QString, QString> refused[] = {
        {QString(), text},
        {QStringLiteral("   "), text},
        {phone, QString()},
        {phone, QStringLiteral(" \n\t ")},
        {QString(kSmsPhoneLength + 1, u'9'), text},
        {phone, QString(kSmsMessageLength + 1, QChar(0x067E))},
    };
    for (const auto& [p, t] : refused) {
        try {
            EnqueueSms(*db, p, t);
            ADD_FAILURE() << "stored: " << p.toStdString();
        } catch (const SmsRefused& r) {
            EXPECT_FALSE(r.text().isEmpty());
            EXPECT_EQ(r.text(), SmsProblem(p, t));
        }
    }
    EXPECT_EQ(rows(), 0);

    const QString longest(kSmsMessageLength, QChar(0x067E));
    EnqueueSms(*db, QStringLiteral("  ") + QString(kSmsPhoneLength, u'9') + QStringLiteral(" "),
               longest, kStart);
    const SmsOutboxRow stored = only();
    EXPECT_EQ(stored.phone, QString(kSmsPhoneLength, u'9'));  // trimmed
    EXPECT_EQ(stored.message, longest);
    EXPECT_EQ(stored.created, kStart);
    EXPECT_EQ(stored.nextAttempt, kStart);
    EXPECT_EQ(stored.state, SmsState::Waiting);
    EXPECT_EQ(stored.attempts, 0);
    EXPECT_FALSE(stored.claimed);
}

// A claim keeps every other host away until it lapses; after that only the new holder may
// reschedule the message, and a sent message is never claimed again.
TEST_P(SmsOutboxTest, AClaimIsTheHoldersAloneUntilItLapses) {
    const QString text = QStringLiteral("فاکتور شما ثبت شد\nبا سپاس");
    const qint64 id = EnqueueSms(*other, QStringLiteral("09121234567"), text, kStart);

    const auto first = ClaimDueSms(*db, kStart);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->id, id);
    EXPECT_EQ(first->message, text);
    EXPECT_EQ(first->attempts, 1);
    EXPECT_TRUE(only().claimed);
    EXPECT_FALSE(ClaimDueSms(*other, kStart).has_value());
    EXPECT_FALSE(ClaimDueSms(*other, kStart.addSecs(kSmsClaimSeconds - 1)).has_value());

    // The first holder is presumed dead; another host takes the message over.
    const QDateTime lapsed = kStart.addSecs(kSmsClaimSeconds);
    const auto second = ClaimDueSms(*other, lapsed);
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(second->attempts, 2);
    EXPECT_NE(second->token, first->token);
    EXPECT_FALSE(MarkSmsFailed(*db, *first, QStringLiteral("late"), lapsed));
    EXPECT_TRUE(MarkSmsFailed(*other, *second, QStringLiteral("HTTP 500"), lapsed));
    SmsOutboxRow row = only();
    EXPECT_FALSE(row.claimed);
    EXPECT_EQ(row.lastError, QStringLiteral("HTTP 500"));
    EXPECT_EQ(row.nextAttempt, lapsed.addSecs(20));

    EXPECT_FALSE(ClaimDueSms(*db, lapsed.addSecs(19)).has_value());
    const auto third = ClaimDueSms(*db, lapsed.addSecs(20));
    ASSERT_TRUE(third.has_value());
    EXPECT_TRUE(MarkSmsSent(*db, *third, lapsed.addSecs(21)));
    row = only();
    EXPECT_EQ(row.state, SmsState::Sent);
    EXPECT_EQ(row.sent, lapsed.addSecs(21));
    EXPECT_EQ(row.attempts, 3);
    EXPECT_TRUE(row.lastError.isEmpty());
    EXPECT_FALSE(row.claimed);

    // Late answers of earlier holders change nothing.
    EXPECT_FALSE(MarkSmsSent(*other, *second, lapsed.addSecs(30)));
    EXPECT_FALSE(MarkSmsFailed(*other, *second, QStringLiteral("late"), lapsed.addSecs(30)));
    EXPECT_EQ(only(), row);
    EXPECT_FALSE(ClaimDueSms(*db, lapsed.addDays(30)).has_value());
}

TEST_P(SmsOutboxTest, TheMessageDueLongestGoesFirstAndTheWindowReadsTheNewest) {
    const qint64 early = EnqueueSms(*db, QStringLiteral("0911"), QStringLiteral("يك"), kStart);
    const qint64 late =
        EnqueueSms(*db, QStringLiteral("0912"), QStringLiteral("دو"), kStart.addSecs(5));
    const qint64 future =
        EnqueueSms(*db, QStringLiteral("0913"), QStringLiteral("سه"), kStart.addSecs(60));

    const auto failing = ClaimDueSms(*db, kStart.addSecs(5));
    ASSERT_TRUE(failing.has_value());
    EXPECT_EQ(failing->id, early);
    // A long error is cut to its column, and the message waits behind the later one.
    ASSERT_TRUE(
        MarkSmsFailed(*db, *failing, QString(kSmsErrorLength + 20, u'x'), kStart.addSecs(5)));
    EXPECT_EQ(ClaimDueSms(*db, kStart.addSecs(15))->id, late);
    EXPECT_EQ(ClaimDueSms(*db, kStart.addSecs(15))->id, early);
    EXPECT_FALSE(ClaimDueSms(*db, kStart.addSecs(59)).has_value());

    const auto newest = ReadSmsOutbox(*db, 2);
    ASSERT_EQ(newest.size(), 2u);
    EXPECT_EQ(newest[0].id, late);
    EXPECT_EQ(newest[1].id, future);
    EXPECT_EQ(ReadSmsOutbox(*db).front().lastError.size(), kSmsErrorLength);
}

// A workstation of its own, started by the race below: claims and marks sent until nothing is
// left, printing what it sent.
TEST(SmsClaimChildProcess, SendUntilNothingIsDue) {
    const QString connection = qEnvironmentVariable(kChildDb);
    if (connection.isEmpty()) GTEST_SKIP() << "started only by the race test";
    auto session = Session::open(connection);
    while (QDateTime::currentMSecsSinceEpoch() < qEnvironmentVariable(kChildStart).toLongLong())
        QThread::msleep(1);
    const QDateTime now = kStart.addSecs(1);
    while (const auto sms = ClaimDueSms(*session, now)) {
        if (!MarkSmsSent(*session, *sms, now)) std::printf("MARK FAILED=%lld\n", sms->id);
        std::printf("SENT=%lld\n", sms->id);
    }
    std::fflush(stdout);
}

TEST_P(SmsOutboxTest, WorkstationsClaimingAtOnceSendEachMessageOnce) {
    for (int i = 0; i < kRaceMessages; ++i)
        EnqueueSms(*db, QStringLiteral("0912%1").arg(i), QStringLiteral("پيام %1").arg(i), kStart);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kChildDb), database->connectionString());
    env.insert(QString::fromLatin1(kChildStart),
               QString::number(QDateTime::currentMSecsSinceEpoch() + 3000));
    std::vector<std::unique_ptr<QProcess>> children;
    for (int i = 0; i < kWorkstations; ++i) {
        auto& p = children.emplace_back(std::make_unique<QProcess>());
        p->setProcessEnvironment(env);
        p->start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--gtest_filter=SmsClaimChildProcess.SendUntilNothingIsDue")});
        ASSERT_TRUE(p->waitForStarted(10000));
    }
    QStringList sent;
    for (auto& p : children) {
        ASSERT_TRUE(p->waitForFinished(120000));
        const QString output = QString::fromUtf8(p->readAllStandardOutput());
        EXPECT_EQ(p->exitCode(), 0) << output.toStdString();
        EXPECT_FALSE(output.contains(QStringLiteral("MARK FAILED"))) << output.toStdString();
        for (const QString& line : output.split(u'\n'))
            if (line.startsWith(QStringLiteral("SENT="))) sent << line.mid(5);
    }
    EXPECT_EQ(sent.size(), kRaceMessages);
    EXPECT_EQ(QSet<QString>(sent.begin(), sent.end()).size(), kRaceMessages);
    EXPECT_EQ(db->scalar(QStringLiteral("select count(*) from tblSmsOutbox where State = 1 and "
                                        "Attempts = 1"))
                  .toInt(),
              kRaceMessages);
}

SI_INSTANTIATE_BACKENDS(SmsOutboxTest);

}  // namespace
}  // namespace si
