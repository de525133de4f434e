#include "support/TestDatabase.h"
#include "support/TestAuditKey.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <atomic>

#include "common/AuditKey.h"
#include "common/ConnectionString.h"
#include "erpdb/Schema.h"

namespace si::test {

namespace {

QString pgServerConnection() {
    return qEnvironmentVariable("SALEINVOICE_TEST_PG");
}

QString withDatabase(const QString& serverConnection, const QString& database) {
    ConnectionString cs = ConnectionString::parse(serverConnection);
    cs.database = database;
    return cs.toString();
}

QTemporaryDir& tempDir() {
    static QTemporaryDir dir;
    return dir;
}

std::atomic<int> counter{0};

// One schema install per process; every test starts from a copy (SQLite) or an emptied
// database (PostgreSQL), which is far cheaper than installing again.
QString sqliteTemplate() {
    static const QString file = [] {
        const QString path = tempDir().filePath(QStringLiteral("template.sqlite"));
        auto s = Session::open(QStringLiteral("Provider=SQLite;Data Source=") + path);
        erpdb::InstallSchema(*s);
        s->exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        s.reset();
        QFile::remove(path + QStringLiteral("-wal"));
        QFile::remove(path + QStringLiteral("-shm"));
        return path;
    }();
    return file;
}

class PgProcessDatabase {
public:
    PgProcessDatabase() {
        name_ = QStringLiteral("si_test_%1").arg(QCoreApplication::applicationPid());
        auto admin = Session::open(pgServerConnection());
        admin->execScript(QStringLiteral("DROP DATABASE IF EXISTS ") + name_);
        admin->execScript(QStringLiteral("CREATE DATABASE ") + name_);
        admin.reset();
        connection_ = withDatabase(pgServerConnection(), name_);
        auto s = Session::open(connection_);
        erpdb::InstallSchema(*s);
        const RowSet rows = s->query(QStringLiteral(
            "SELECT table_name FROM information_schema.tables WHERE table_schema = 'public' "
            "AND table_type = 'BASE TABLE' AND table_name <> 'tblzelorschemaversion'"));
        QStringList tables;
        for (const Row& r : rows)
            tables << r.text(u"table_name");
        truncate_ = QStringLiteral("TRUNCATE ") + tables.join(QStringLiteral(", ")) +
                    QStringLiteral(" RESTART IDENTITY");
    }
    ~PgProcessDatabase() {
        try {
            auto admin = Session::open(pgServerConnection());
            admin->execScript(QStringLiteral("DROP DATABASE IF EXISTS ") + name_ +
                              QStringLiteral(" WITH (FORCE)"));
        } catch (...) {
            // The test cluster is thrown away anyway.
        }
    }
    QString fresh() {
        auto s = Session::open(connection_);
        s->execScript(truncate_);
        return connection_;
    }

private:
    QString name_;
    QString connection_;
    QString truncate_;
};

PgProcessDatabase& pgDatabase() {
    static PgProcessDatabase db;
    return db;
}

}  // namespace

void UseTemporaryAuditKey() {
    qputenv("SALEINVOICE_AUDIT_KEY",
            QFile::encodeName(tempDir().filePath(QStringLiteral("audit.key"))));
    EnsureAuditKey();
}

std::vector<Backend> Backends() {
    std::vector<Backend> list{{QStringLiteral("SQLite"), Dialect::SQLite}};
    if (!pgServerConnection().isEmpty())
        list.push_back({QStringLiteral("PostgreSQL"), Dialect::PostgreSQL});
    return list;
}

std::string BackendName(const ::testing::TestParamInfo<Backend>& info) {
    return info.param.name.toStdString();
}

TestDatabase::TestDatabase(const Backend& backend) {
    if (backend.dialect == Dialect::PostgreSQL) {
        connection_ = pgDatabase().fresh();
        return;
    }
    sqliteFile_ = tempDir().filePath(QStringLiteral("db%1.sqlite").arg(++counter));
    QFile::copy(sqliteTemplate(), sqliteFile_);
    QFile(sqliteFile_).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    connection_ = QStringLiteral("Provider=SQLite;Data Source=") + sqliteFile_;
}

TestDatabase::~TestDatabase() {
    if (sqliteFile_.isEmpty()) return;
    QFile::remove(sqliteFile_);
    QFile::remove(sqliteFile_ + QStringLiteral("-wal"));
    QFile::remove(sqliteFile_ + QStringLiteral("-shm"));
}

std::unique_ptr<Session> TestDatabase::open(const ProcedureRegistry* procedures) const {
    return Session::open(connection_, procedures);
}

ScratchDatabase::ScratchDatabase(const Backend& backend) : backend_(backend) {
    const int n = ++counter;
    if (backend.dialect == Dialect::SQLite) {
        name_ = tempDir().filePath(QStringLiteral("scratch%1.sqlite").arg(n));
        connection_ = QStringLiteral("Provider=SQLite;Data Source=") + name_;
        return;
    }
    name_ = QStringLiteral("si_scratch_%1_%2").arg(QCoreApplication::applicationPid()).arg(n);
    auto admin = Session::open(pgServerConnection());
    admin->execScript(QStringLiteral("DROP DATABASE IF EXISTS ") + name_);
    admin->execScript(QStringLiteral("CREATE DATABASE ") + name_);
    connection_ = withDatabase(pgServerConnection(), name_);
}

ScratchDatabase::~ScratchDatabase() {
    try {
        if (backend_.dialect == Dialect::SQLite) {
            QFile::remove(name_);
            QFile::remove(name_ + QStringLiteral("-wal"));
            QFile::remove(name_ + QStringLiteral("-shm"));
            return;
        }
        auto admin = Session::open(pgServerConnection());
        admin->execScript(QStringLiteral("DROP DATABASE IF EXISTS ") + name_ +
                          QStringLiteral(" WITH (FORCE)"));
    } catch (...) {
        // Left for the cluster's removal.
    }
}

}  // namespace si::test
