// The program on databases it cannot use as it would like: read-only, unreachable, missing, lost
// during a save, or asked for a user it does not know. Each is one clear message and exit 1 (a
// database or usage error), never 2 (refused by the checks), nothing written and no password shown.

#include <pwd.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

#include "cli/CliTestSupport.h"
#include "common/SqlError.h"
#include "support/ClosedPort.h"

namespace si::test {
namespace {

const QString kSecret = QStringLiteral("s3cr3t-Pass");

CliResult runWith(const QString& connection, const QStringList& args,
                  const QByteArray& input = {}) {
    return RunProgram(QStringList{QStringLiteral("--db"), connection} + args, input);
}

// Starts a final save of the invoice while the caller holds the writer lock, and waits until
// the save waits for it; the server process of the waiting save, or null when it never waited.
QVariant startSaveWaitingForTheLock(QProcess& p, Session& db, const QString& connection,
                                    const QByteArray& invoice) {
    p.start(QStringLiteral(SALEINVOICE_EXE),
            {QStringLiteral("--db"), connection, QStringLiteral("invoice"),
             QStringLiteral("create"), QStringLiteral("-"), QStringLiteral("--final")});
    if (!p.waitForStarted()) return {};
    p.write(invoice);
    p.closeWriteChannel();
    QVariant waiting;
    // A save that never reaches the lock fails the caller's check instead of hanging the run.
    QElapsedTimer waited;
    waited.start();
    while (waiting.isNull() && p.state() == QProcess::Running && waited.elapsed() < 60000) {
        p.waitForFinished(50);
        // The statistics views answer from one snapshot per transaction unless it is dropped.
        db.scalar(QStringLiteral("SELECT pg_stat_clear_snapshot()"));
        waiting = db.scalar(QStringLiteral(
            "SELECT min(pid) FROM pg_stat_activity WHERE datname = current_database() AND "
            "pid <> pg_backend_pid() AND wait_event_type = 'Lock'"));
    }
    return waiting;
}

QStringList nonEmptyLines(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    lines.removeIf([](const QString& line) { return line.trimmed().isEmpty(); });
    return lines;
}

class CliConnection : public CliTest {
protected:
    bool sqlite() const { return GetParam().dialect == Dialect::SQLite; }

    QByteArray oneLineInvoice() {
        const QStringList goods = stockedBarcodes(1);
        return QJsonDocument(
                   QJsonObject{{QStringLiteral("customer"), plainCustomer()},
                               {QStringLiteral("inventory"), 1},
                               {QStringLiteral("lines"),
                                QJsonArray{QJsonObject{{QStringLiteral("barcode"), goods.value(0)},
                                                       {QStringLiteral("qty"), 1}}}}})
            .toJson();
    }
    int someFinalInvoice() {
        return db()
            .scalar(QStringLiteral("SELECT max(ID) FROM tblSaleInvoice WHERE Code IS NOT NULL"))
            .toInt();
    }
    ConnectionString parsed() const { return ConnectionString::parse(connection()); }
};

// A role that may only read (PostgreSQL); dropped with the object.
class ReadOnlyRole {
public:
    ReadOnlyRole(Session& db, const ConnectionString& owner) : db_(db) {
        name_ = QStringLiteral("si_reader_%1").arg(QCoreApplication::applicationPid());
        db_.execScript(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD 'reader';\n"
                                      "GRANT SELECT ON ALL TABLES IN SCHEMA public TO %1;")
                           .arg(name_));
        ConnectionString cs = owner;
        cs.user = name_;
        cs.password = QStringLiteral("reader");
        connection_ = cs.toString();
    }
    ~ReadOnlyRole() {
        try {
            db_.execScript(QStringLiteral("DROP OWNED BY %1;\nDROP ROLE %1;").arg(name_));
        } catch (const SqlError&) {
            // The cluster is thrown away with the test run.
        }
    }
    const QString& connection() const { return connection_; }

private:
    Session& db_;
    QString name_;
    QString connection_;
};

// The program and a clerk's reading need no right to write: opening changes nothing in the
// schema. A save is a database failure (exit 1), not a refusal of the checks (exit 2).
TEST_P(CliConnection, AReadOnlyDatabaseIsShownAndReportedButNotWritten) {
    std::unique_ptr<ReadOnlyRole> role;
    QString readOnly;
    if (sqlite()) {
        readOnly = connection() + QStringLiteral(";Read Only=True");
    } else {
        role = std::make_unique<ReadOnlyRole>(db(), parsed());
        readOnly = role->connection();
    }
    const int id = someFinalInvoice();
    const CliResult shown = runWith(readOnly, {QStringLiteral("invoice"), QStringLiteral("show"),
                                               QString::number(id), QStringLiteral("--json")});
    ASSERT_EQ(shown.exitCode, 0) << shown.err.toStdString();
    EXPECT_EQ(shown.json().value(QStringLiteral("id")).toInt(), id);

    const CliResult health = runWith(readOnly, {QStringLiteral("health")});
    EXPECT_EQ(health.exitCode, 0) << health.err.toStdString();
    EXPECT_TRUE(health.out.contains("tblSaleInvoice")) << health.out.toStdString();

    const QString before = footprint();
    const CliResult saved = runWith(
        readOnly, {QStringLiteral("invoice"), QStringLiteral("create"), QStringLiteral("-")},
        oneLineInvoice());
    EXPECT_EQ(saved.exitCode, 1) << saved.err.toStdString();
    EXPECT_FALSE(saved.err.trimmed().isEmpty());
    EXPECT_TRUE(saved.out.isEmpty());
    EXPECT_EQ(footprint(), before);
}

TEST_P(CliConnection, AnUnknownUserOrEmployeeIsRefusedAndNothingIsWritten) {
    const QByteArray invoice = oneLineInvoice();
    const QString before = footprint();
    struct Case {
        QString option;
        QString table;
    };
    for (const Case& c : {Case{QStringLiteral("--user"), QStringLiteral("tblUser")},
                          Case{QStringLiteral("--employee"), QStringLiteral("tblEmployee")}}) {
        SCOPED_TRACE(c.option.toStdString());
        const CliResult r =
            run({c.option, QStringLiteral("987654"), QStringLiteral("invoice"),
                 QStringLiteral("create"), QStringLiteral("-"), QStringLiteral("--final")},
                invoice);
        EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("«987654»"))) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.table)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_EQ(run({QStringLiteral("--user"), QStringLiteral("987654"), QStringLiteral("health")})
                  .exitCode,
              1);
    EXPECT_EQ(footprint(), before);
    // A known employee is taken.
    const int employee = db().scalar(QStringLiteral("SELECT min(ID) FROM tblEmployee")).toInt();
    EXPECT_EQ(
        run({QStringLiteral("--employee"), QString::number(employee), QStringLiteral("invoice"),
             QStringLiteral("show"), QString::number(someFinalInvoice())})
            .exitCode,
        0);
}

TEST_P(CliConnection, ABadPortIsRefusedAsSuch) {
    const CliResult r =
        runWith(QStringLiteral("Provider=PostgreSQL;Server=127.0.0.1;Port=abc;Database=d;User ID=u;"
                               "Password=") +
                    kSecret,
                {QStringLiteral("health")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Port"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("«abc»"))) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(kSecret));
}

// A database that is not there: a refused connection, or a SQLite file that reading commands
// must not create (installing does).
TEST_P(CliConnection, AMissingDatabaseIsOneErrorWithoutThePassword) {
    QTemporaryDir dir;
    QString missing;
    if (sqlite()) {
        missing = QStringLiteral("Provider=SQLite;Data Source=") +
                  dir.filePath(QStringLiteral("missing.sqlite")) + QStringLiteral(";Password=") +
                  kSecret;
    } else {
        ConnectionString cs = parsed();
        cs.port = ClosedLocalPort();
        cs.password = kSecret;
        missing = cs.toString();
    }
    const QStringList readers[] = {
        {QStringLiteral("health")},
        {QStringLiteral("invoice"), QStringLiteral("show"), QStringLiteral("1")},
        {QStringLiteral("invoice"), QStringLiteral("create"), QStringLiteral("-")}};
    for (const QStringList& args : readers) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const CliResult r = runWith(missing, args, oneLineInvoice());
        EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains(kSecret)) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("Password=****"))) << r.err.toStdString();
        if (sqlite()) {
            EXPECT_TRUE(r.err.contains(dir.filePath(QStringLiteral("missing.sqlite"))))
                << r.err.toStdString();
        }
        EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("missing.sqlite"))));
    }
    if (!sqlite()) return;
    const CliResult init = runWith(missing, {QStringLiteral("db"), QStringLiteral("init")});
    EXPECT_EQ(init.exitCode, 0) << init.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("missing.sqlite"))));
}

// The connection of a save ends while the save waits for the writer lock (the server ends it, as
// when it stops): one Persian sentence, exit 1, nothing written, and none of the driver's
// complaints about the statements it could no longer free.
TEST_P(CliConnection, AConnectionLostDuringASaveIsOneMessageAndExitOne) {
    if (sqlite()) GTEST_SKIP() << "an embedded database has no connection to lose";
    const QByteArray invoice = oneLineInvoice();
    const QString before = footprint();
    QProcess p;
    {
        Transaction holdsTheWriterLock = db().writerTransaction();
        const QVariant waiting = startSaveWaitingForTheLock(p, db(), connection(), invoice);
        ASSERT_FALSE(waiting.isNull()) << "the save did not wait for the writer lock";
        db().scalar(QStringLiteral("SELECT pg_terminate_backend(CAST(? AS INTEGER), 60000)"),
                    {waiting});
        ASSERT_TRUE(p.waitForFinished(120000));
    }
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(p.exitCode(), 1) << err.toStdString();
    EXPECT_EQ(nonEmptyLines(err).size(), 1) << err.toStdString();
    EXPECT_TRUE(err.contains(kConnectionLostMessage)) << err.toStdString();
    EXPECT_FALSE(err.contains(QStringLiteral("Unable to free statement"))) << err.toStdString();
    EXPECT_TRUE(p.readAllStandardOutput().isEmpty());
    EXPECT_EQ(footprint(), before);
}

SI_INSTANTIATE_BACKENDS(CliConnection);

// A PostgreSQL cluster of this test alone, on a port of 127.0.0.1, that the test may stop. Run as
// the postgres user when the test runs as root, as the server refuses root.
class PrivateCluster {
public:
    PrivateCluster() {
        const QDir versions(QStringLiteral("/usr/lib/postgresql"));
        for (const QString& v : versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
            if (QFileInfo::exists(versions.filePath(v + QStringLiteral("/bin/initdb"))))
                bin_ = versions.filePath(v + QStringLiteral("/bin/"));
        if (bin_.isEmpty() || !dir_.isValid() || !giveToServerUser()) return;
        port_ = ClosedLocalPort();
        started_ =
            pg({QStringLiteral("initdb"), QStringLiteral("-D"), data(), QStringLiteral("-U"),
                QStringLiteral("postgres"), QStringLiteral("-A"), QStringLiteral("trust"),
                QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--locale=C.UTF-8"),
                QStringLiteral("-N")}) &&
            pg({QStringLiteral("pg_ctl"), QStringLiteral("-D"), data(), QStringLiteral("-l"),
                dir_.filePath(QStringLiteral("log")), QStringLiteral("-w"), QStringLiteral("-o"),
                QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off")
                    .arg(port_)
                    .arg(dir_.path()),
                QStringLiteral("start")});
    }
    ~PrivateCluster() {
        if (started_) stop(QStringLiteral("immediate"));
    }
    bool started() const { return started_; }
    QString connection() const {
        return QStringLiteral(
                   "Provider=PostgreSQL;Server=127.0.0.1;Port=%1;Database=postgres;User "
                   "ID=postgres;Password=")
            .arg(port_);
    }
    bool stop(const QString& mode) {
        started_ = false;
        return pg({QStringLiteral("pg_ctl"), QStringLiteral("-D"), data(), QStringLiteral("-m"),
                   mode, QStringLiteral("-w"), QStringLiteral("stop")});
    }

private:
    QString data() const { return dir_.filePath(QStringLiteral("data")); }
    bool asRoot() const { return ::geteuid() == 0; }
    bool giveToServerUser() {
        if (!asRoot()) return true;
        const passwd* user = ::getpwnam("postgres");
        return user &&
               ::chown(QFile::encodeName(dir_.path()).constData(), user->pw_uid, user->pw_gid) == 0;
    }
    bool pg(QStringList args) {
        QString program = bin_ + args.takeFirst();
        if (asRoot()) {
            args = QStringList{QStringLiteral("-u"), QStringLiteral("postgres"),
                               QStringLiteral("--"), program} +
                   args;
            program = QStringLiteral("runuser");
        }
        QProcess p;
        p.start(program, args);
        return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit &&
               p.exitCode() == 0;
    }

    QString bin_;
    QTemporaryDir dir_;
    int port_ = 0;
    bool started_ = false;
};

// The server is stopped while a save waits for the writer lock: the same one message and exit 1.
TEST(CliStoppedServer, AServerStoppedDuringASaveIsOneMessageAndExitOne) {
    PrivateCluster cluster;
    if (!cluster.started()) GTEST_SKIP() << "no PostgreSQL server to start (initdb missing)";
    const CliResult init =
        runWith(cluster.connection(), {QStringLiteral("db"), QStringLiteral("init"),
                                       QStringLiteral("--demo"), QStringLiteral("small")});
    ASSERT_EQ(init.exitCode, 0) << init.err.toStdString();
    auto db = Session::open(cluster.connection());
    const QString barcode =
        db->scalar(QStringLiteral("SELECT min(d.Barcode) FROM tblSaleInvoiceDetail d JOIN "
                                  "tblSaleInvoice i ON i.ID = d.InvoiceID WHERE i.InventoryID = 1"))
            .toString();
    const int customer = db->scalar(QStringLiteral("SELECT min(CustomerID) FROM tblSaleInvoice "
                                                   "WHERE Code IS NOT NULL AND InventoryID = 1"))
                             .toInt();
    const QByteArray invoice =
        QJsonDocument(QJsonObject{{QStringLiteral("customer"), customer},
                                  {QStringLiteral("inventory"), 1},
                                  {QStringLiteral("lines"),
                                   QJsonArray{QJsonObject{{QStringLiteral("barcode"), barcode}}}}})
            .toJson();
    QProcess p;
    Transaction holdsTheWriterLock = db->writerTransaction();
    const QVariant waiting = startSaveWaitingForTheLock(p, *db, cluster.connection(), invoice);
    ASSERT_FALSE(waiting.isNull()) << "the save did not wait for the writer lock";
    ASSERT_TRUE(cluster.stop(QStringLiteral("fast")));
    ASSERT_TRUE(p.waitForFinished(120000));
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(p.exitCode(), 1) << err.toStdString();
    EXPECT_EQ(nonEmptyLines(err).size(), 1) << err.toStdString();
    EXPECT_TRUE(err.contains(kConnectionLostMessage)) << err.toStdString();
    EXPECT_FALSE(err.contains(QStringLiteral("Unable to free statement"))) << err.toStdString();
}

}  // namespace
}  // namespace si::test
