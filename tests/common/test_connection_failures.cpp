// Connection strings and failing connections: a password is never shown, a port must be a port,
// a missing SQLite file is not created by working on it, and a connection that goes away is told
// apart from a failing statement, without the driver's noise when the session ends.

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include "common/Session.h"
#include "support/ClosedPort.h"
#include "support/TestDatabase.h"

namespace si {
namespace {

const QString kSecret = QStringLiteral("s3cr3t-Pass");

TEST(ConnectionStringRedaction, HidesEveryPasswordValueAndKeepsTheRest) {
    struct Case {
        QString text;
        QString shown;
    };
    const Case cases[] = {
        {QStringLiteral("Provider=PostgreSQL;Server=h;Port=5433;User ID=u;Password=") + kSecret,
         QStringLiteral("Provider=PostgreSQL;Server=h;Port=5433;User ID=u;Password=****")},
        {QStringLiteral("password = ") + kSecret + QStringLiteral(" ;Provider=PostgreSQL"),
         QStringLiteral("password =****;Provider=PostgreSQL")},
        {QStringLiteral("Provider=PostgreSQL;PWD=") + kSecret + QStringLiteral(";Database=erp"),
         QStringLiteral("Provider=PostgreSQL;PWD=****;Database=erp")},
        // An empty password stays empty: the mask would claim one.
        {QStringLiteral("Provider=PostgreSQL;User ID=u;Password="),
         QStringLiteral("Provider=PostgreSQL;User ID=u;Password=")},
        // Only a key is a key: a path that holds the word keeps it.
        {QStringLiteral("Provider=SQLite;Data Source=/srv/password=1/erp.sqlite"),
         QStringLiteral("Provider=SQLite;Data Source=/srv/password=1/erp.sqlite")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ConnectionString::redacted(c.text), c.shown) << c.text.toStdString();
        EXPECT_FALSE(ConnectionString::redacted(c.text).contains(kSecret));
    }
}

TEST(ConnectionStringRedaction, AMaskLeftInPlaceStandsForTheOriginalPassword) {
    const QString original =
        QStringLiteral("Provider=PostgreSQL;Server=h;User ID=u;Password=") + kSecret;
    const QString shown = ConnectionString::redacted(original);
    EXPECT_EQ(ConnectionString::unredacted(shown, original), original);

    QString otherServer = shown;
    otherServer.replace(QStringLiteral("Server=h"), QStringLiteral("Server=db2"));
    EXPECT_EQ(ConnectionString::parse(ConnectionString::unredacted(otherServer, original)).password,
              kSecret);
    // A password typed over the mask is the one meant.
    const QString typed = QStringLiteral("Provider=PostgreSQL;Server=h;User ID=u;Password=new");
    EXPECT_EQ(ConnectionString::unredacted(typed, original), typed);
}

TEST(ConnectionStringPort, APortIsAWholeNumberOfTheTcpRange) {
    const QString base = QStringLiteral("Provider=PostgreSQL;Server=127.0.0.1;Database=d;Port=");
    EXPECT_EQ(ConnectionString::parse(base + QStringLiteral("6543")).port, 6543);
    EXPECT_EQ(ConnectionString::parse(QStringLiteral("Provider=PostgreSQL;Server=h")).port, 5432);
    for (const QString& port : {QStringLiteral("abc"), QStringLiteral("0"), QStringLiteral("65536"),
                                QStringLiteral("54 32")}) {
        try {
            ConnectionString::parse(base + port);
            ADD_FAILURE() << "accepted Port=" << port.toStdString();
        } catch (const std::invalid_argument& e) {
            const QString message = QString::fromUtf8(e.what());
            EXPECT_TRUE(message.contains(QStringLiteral("Port"))) << e.what();
            EXPECT_TRUE(message.contains(QStringLiteral("«") + port + QStringLiteral("»")))
                << e.what();
        }
    }
}

TEST(ConnectionStringReadOnly, ReadOnlyIsKeptForSqlite) {
    const auto cs = ConnectionString::parse(
        QStringLiteral("Provider=SQLite;Data Source=/tmp/a.sqlite;Read Only=True"));
    EXPECT_TRUE(cs.readOnly);
    EXPECT_TRUE(ConnectionString::parse(cs.toString()).readOnly);
    EXPECT_FALSE(
        ConnectionString::parse(QStringLiteral("Provider=SQLite;Data Source=/tmp/a.sqlite"))
            .readOnly);
}

// Warnings Qt writes while a test runs, collected instead of printed.
class CapturedWarnings {
public:
    CapturedWarnings() {
        messages().clear();
        previous_ = qInstallMessageHandler(&collect);
    }
    ~CapturedWarnings() { qInstallMessageHandler(previous_); }
    static QStringList& messages() {
        static QStringList list;
        return list;
    }

private:
    static void collect(QtMsgType, const QMessageLogContext&, const QString& text) {
        messages() << text;
    }
    QtMessageHandler previous_ = nullptr;
};

class ConnectionFailures : public ::testing::TestWithParam<test::Backend> {
protected:
    bool sqlite() const { return GetParam().dialect == Dialect::SQLite; }
    // A database that cannot be opened, with a password in its connection string.
    QString unreachable() const {
        if (sqlite())
            return QStringLiteral("Provider=SQLite;Data Source=") + dir_.path() +
                   QStringLiteral("/no-such-folder/erp.sqlite;Password=") + kSecret;
        ConnectionString cs = ConnectionString::parse(qEnvironmentVariable("SALEINVOICE_TEST_PG"));
        cs.port = test::ClosedLocalPort();
        cs.password = kSecret;
        return cs.toString();
    }

    QTemporaryDir dir_;
};

TEST_P(ConnectionFailures, AFailedOpenNamesTheDatabaseButNotThePassword) {
    try {
        Session::open(unreachable());
        FAIL() << "opened " << unreachable().toStdString();
    } catch (const SqlError& e) {
        EXPECT_FALSE(QString::fromUtf8(e.what()).contains(kSecret)) << e.what();
        EXPECT_FALSE(e.statement().contains(kSecret));
        EXPECT_FALSE(e.driverText().contains(kSecret));
        EXPECT_TRUE(e.statement().contains(QStringLiteral("Password=****"))) << e.what();
        EXPECT_TRUE(e.driverText().startsWith(QStringLiteral("اتصال به پايگاه داده ممکن نيست")))
            << e.what();
        EXPECT_FALSE(e.connectionLost());
    }
}

// Working on a database must not leave an empty file behind a mistyped path; installing does.
TEST_P(ConnectionFailures, AMissingSqliteFileIsRefusedAndNotCreated) {
    if (!sqlite()) GTEST_SKIP() << "a PostgreSQL database is created by the server";
    const QString file = dir_.filePath(QStringLiteral("missing.sqlite"));
    const QString connection = QStringLiteral("Provider=SQLite;Data Source=") + file;
    try {
        Session::openExisting(connection);
        FAIL() << "opened a missing file";
    } catch (const SqlError& e) {
        EXPECT_TRUE(e.driverText().contains(file)) << e.what();
    }
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_NE(Session::open(connection), nullptr);
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_NE(Session::openExisting(connection), nullptr);
}

TEST_P(ConnectionFailures, AFailingStatementIsCountedAndNotTakenForALostConnection) {
    test::ScratchDatabase db(GetParam());
    auto s = Session::open(db.connectionString());
    EXPECT_EQ(s->failedStatements(), 0);
    EXPECT_THROW(s->query(QStringLiteral("select x from tblNoSuchTable")), SqlError);
    try {
        s->exec(QStringLiteral("select ? from tblNoSuchTable"), {1});
    } catch (const SqlError& e) {
        EXPECT_FALSE(e.connectionLost());
        EXPECT_NE(e.driverText(), kConnectionLostMessage);
    }
    EXPECT_EQ(s->failedStatements(), 2);
    // A value too few: SQLite binds NULL; where the driver refuses, it is still no lost connection.
    try {
        s->scalar(QStringLiteral("select CAST(? AS INTEGER) + CAST(? AS INTEGER)"), {1});
    } catch (const SqlError& e) {
        EXPECT_FALSE(e.connectionLost()) << e.what();
    }
    EXPECT_FALSE(s->connectionLost());
    EXPECT_EQ(s->scalar(QStringLiteral("select 1")).toInt(), 1);
}

// The server ends the connection (as when it stops): one Persian sentence, and the statements
// the session prepared go with it without a warning each.
TEST_P(ConnectionFailures, ALostConnectionIsOneSentenceAndEndsQuietly) {
    if (sqlite()) GTEST_SKIP() << "an embedded database has no connection to lose";
    test::ScratchDatabase db(GetParam());
    auto admin = Session::open(db.connectionString());
    const CapturedWarnings warnings;
    {
        auto s = Session::open(db.connectionString());
        for (int i = 1; i <= 20; ++i)
            s->scalar(QStringLiteral("select %1 + ?").arg(i), {i});
        const qint64 pid = s->scalar(QStringLiteral("select pg_backend_pid()")).toLongLong();
        // Its rollback on the way out meets the lost connection too.
        Transaction open = s->transaction();
        // Waits until the server has ended it.
        admin->scalar(QStringLiteral("select pg_terminate_backend(CAST(? AS INTEGER), 60000)"),
                      {pid});
        try {
            s->scalar(QStringLiteral("select 1 + ?"), {1});
            FAIL() << "the terminated connection answered";
        } catch (const SqlError& e) {
            EXPECT_TRUE(e.connectionLost()) << e.what();
            EXPECT_EQ(e.driverText(), kConnectionLostMessage);
        }
        EXPECT_TRUE(s->connectionLost());
        try {
            s->exec(QStringLiteral("select 2"));
            FAIL() << "a lost connection answered";
        } catch (const SqlError& e) {
            EXPECT_TRUE(e.connectionLost()) << e.what();
        }
        EXPECT_EQ(s->failedStatements(), 2);
    }
    EXPECT_TRUE(warnings.messages().isEmpty()) << warnings.messages().join(u'\n').toStdString();
}

SI_INSTANTIATE_BACKENDS(ConnectionFailures);

}  // namespace
}  // namespace si
