#include "common/Session.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QSqlRecord>
#include <atomic>
#include <cstdio>

#include "common/FoldedText.h"

namespace si {

namespace {

std::atomic<int> connectionCounter{0};
constexpr qint64 kWriterLockKey = 90100901;  // any constant shared by all workstations
constexpr int kStatementCacheLimit = 400;

QString driverText(const QSqlError& error) {
    QString text = error.databaseText();
    if (text.isEmpty()) text = error.driverText();
    return text.trimmed();
}

// What a failure to open names: the connection string without its password.
QString openStatement(const QString& connectionString) {
    return QStringLiteral("open ") + ConnectionString::redacted(connectionString);
}

}  // namespace

std::unique_ptr<Session> Session::open(const QString& connectionString,
                                       const ProcedureRegistry* procedures) {
    std::unique_ptr<Session> s(new Session);
    s->cs_ = ConnectionString::parse(connectionString);
    s->connectionText_ = connectionString;
    s->procedures_ = procedures;
    s->connectionName_ = QStringLiteral("si-session-%1").arg(++connectionCounter);
    if (s->isSqlite()) {
        s->db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), s->connectionName_);
        s->db_.setDatabaseName(s->cs_.dataSource);
        s->db_.setConnectOptions(
            s->cs_.readOnly ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=30000;QSQLITE_OPEN_READONLY")
                            : QStringLiteral("QSQLITE_BUSY_TIMEOUT=30000"));
    } else {
        s->db_ = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), s->connectionName_);
        s->db_.setHostName(s->cs_.server);
        s->db_.setPort(s->cs_.port);
        s->db_.setDatabaseName(s->cs_.database);
        s->db_.setUserName(s->cs_.user);
        s->db_.setPassword(s->cs_.password);
        s->db_.setNumericalPrecisionPolicy(QSql::HighPrecision);
    }
    if (!s->db_.open())
        throw SqlError(openStatement(connectionString),
                       QStringLiteral("اتصال به پايگاه داده ممکن نيست: ") +
                           driverText(s->db_.lastError()).simplified());
    if (s->isSqlite()) {
        // A file opened for reading keeps the journal it has.
        if (!s->cs_.readOnly) s->rawExec(QStringLiteral("PRAGMA journal_mode=WAL"));
        s->rawExec(QStringLiteral("PRAGMA case_sensitive_like=OFF"));
        // The indexes of look-ups are built over the fold: without it the tables they index
        // could not even be written.
        if (!RegisterFoldedText(s->db_))
            throw SqlError(openStatement(connectionString),
                           QStringLiteral("تابع يكسان سازي حروف در SQLite ثبت نشد."));
    } else {
        // Compiling a plan costs more than the short statements of a clerk's work ever run.
        s->rawExec(
            QStringLiteral("SELECT set_config('client_min_messages', 'warning', false), "
                           "set_config('jit', 'off', false)"));
    }
    return s;
}

std::unique_ptr<Session> Session::openExisting(const QString& connectionString,
                                               const ProcedureRegistry* procedures) {
    const ConnectionString cs = ConnectionString::parse(connectionString);
    if (cs.dialect == Dialect::SQLite && !QFileInfo(cs.dataSource).isFile())
        throw SqlError(openStatement(connectionString),
                       QStringLiteral("فايل پايگاه داده پيدا نشد: ") + cs.dataSource);
    return open(connectionString, procedures);
}

Session::~Session() {
    if (db_.isOpen() && depth_ > 0 && !connectionLost_) db_.exec(QStringLiteral("ROLLBACK"));
    // The connection goes before the cached statements: the server frees a connection's prepared
    // statements when it ends, so none is freed one by one (on a lost connection each such
    // request would fail with a warning of the driver).
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName_);
    cache_.clear();
    valuePlanRuns_.clear();
}

namespace {

// SALEINVOICE_SQL_TRACE=<ms> writes every statement slower than that to standard error.
const int kTraceMs = qEnvironmentVariableIsSet("SALEINVOICE_SQL_TRACE")
                         ? qEnvironmentVariableIntValue("SALEINVOICE_SQL_TRACE")
                         : -1;

struct StatementTrace {
    explicit StatementTrace(const QString& sql) : sql_(sql) {
        if (kTraceMs >= 0) timer_.start();
    }
    ~StatementTrace() {
        if (kTraceMs < 0 || timer_.elapsed() < kTraceMs) return;
        std::fprintf(stderr, "[sql %lld ms] %s\n", static_cast<long long>(timer_.elapsed()),
                     sql_.toUtf8().constData());
    }
    const QString& sql_;
    QElapsedTimer timer_;
};

}  // namespace

void Session::rawExec(const QString& sql) {
    memo_.clear();
    const StatementTrace trace(sql);
    failIfLost(sql);
    QSqlQuery q(db_);
    ++statements_;
    if (!q.exec(sql)) fail(sql, q.lastError());
    lastAnswer_.start();
}

// PostgreSQL's codes of a connection that is gone: class 08 (but a protocol violation, which is
// a fault of the statement) and the server shutting down. libpq reports a connection it lost
// without a code of the server, as a fault of the driver would be: the connection is asked then.
bool Session::isConnectionError(const QSqlError& error) {
    if (isSqlite()) return false;
    const QString code = error.nativeErrorCode();
    if (code.startsWith(QLatin1String("57P0"))) return true;
    if (code.startsWith(QLatin1String("08"))) return code != QLatin1String("08P01");
    return code.isEmpty() && !answers();
}

// A connection in a failed transaction answers too: with an error code of its server. One the
// driver has closed is not asked (the driver would warn).
bool Session::answers() {
    if (!db_.isOpen()) return false;
    QSqlQuery probe(db_);
    return probe.exec(QStringLiteral("SELECT 1")) || !probe.lastError().nativeErrorCode().isEmpty();
}

// A lost connection does not come back: later statements (a rollback on the way out) fail at
// once, without asking the driver.
void Session::failIfLost(const QString& sql) {
    if (!connectionLost_) return;
    ++failures_;
    throw SqlError(sql, kConnectionLostMessage, SqlError::Cause::ConnectionLost);
}

void Session::fail(const QString& sql, const QSqlError& error) {
    ++failures_;
    if (isConnectionError(error)) {
        connectionLost_ = true;
        throw SqlError(sql, kConnectionLostMessage, SqlError::Cause::ConnectionLost);
    }
    throw SqlError(sql, driverText(error));
}

namespace {

// Statements marked by PlannedForItsValues.
QMutex valuePlannedLock;
QSet<QString>& valuePlanned() {
    static QSet<QString> statements;
    return statements;
}

// PostgreSQL plans a prepared statement for its values for five runs, then may keep one plan for
// any values. For a list of values (IN (?, ?, ...)) or a marked statement that plan reads every
// movement line of a list of goods, or every invoice "after this date": such a statement is
// prepared afresh before its sixth run. Look-ups by key keep their plan, which saves planning
// them on every key a clerk presses.
bool plansByItsValues(const QString& sql) {
    static const QRegularExpression list(QStringLiteral("\\bin\\s*\\(\\s*\\?\\s*,"),
                                         QRegularExpression::CaseInsensitiveOption);
    if (sql.contains(list)) return true;
    const QMutexLocker locked(&valuePlannedLock);
    return valuePlanned().contains(sql);
}
constexpr int kRunsPlannedForTheirValues = 5;

}  // namespace

QString PlannedForItsValues(const QString& sql) {
    const QMutexLocker locked(&valuePlannedLock);
    valuePlanned().insert(sql);
    return sql;
}

// A statement planned for its values, run five times since it was prepared, is let go.
bool Session::dueForFreshPlan(const QString& sql) {
    const auto runs = valuePlanRuns_.find(sql);
    if (runs == valuePlanRuns_.end() || ++runs.value() < kRunsPlannedForTheirValues) return false;
    valuePlanRuns_.erase(runs);
    return true;
}

QSqlQuery& Session::prepared(const QString& sql) {
    failIfLost(sql);
    auto it = cache_.find(sql);
    if (it != cache_.end() && dueForFreshPlan(sql)) {
        cache_.erase(it);
        it = cache_.end();
    }
    if (it != cache_.end()) return it.value();
    if (cache_.size() >= kStatementCacheLimit) {
        cache_.clear();
        valuePlanRuns_.clear();
    }
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (!q.prepare(sql)) fail(sql, q.lastError());
    if (!isSqlite() && plansByItsValues(sql)) valuePlanRuns_.insert(sql, 0);
    return cache_.insert(sql, std::move(q)).value();
}

QString Session::dateTimeText(const QDateTime& value) {
    return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString Session::dateText(const QDate& value) {
    return value.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00");
}

QVariant Session::toDatabase(const QVariant& value) const {
    if (!value.isValid()) return QVariant(QMetaType(QMetaType::QString));
    const int type = value.typeId();
    if (type == qMetaTypeId<Money>()) {
        const Money m = value.value<Money>();
        if (!isSqlite()) return m.toString();
        if (m.raw() % Money::kScale == 0) return QVariant(qlonglong(m.wholeRials()));
        return QVariant(m.toDouble());
    }
    switch (type) {
        case QMetaType::Bool:
            return QVariant(value.toBool() ? 1 : 0);
        case QMetaType::QDate:
            return value.isNull() ? QVariant(QMetaType(QMetaType::QString))
                                  : QVariant(dateText(value.toDate()));
        case QMetaType::QDateTime:
            return value.isNull() ? QVariant(QMetaType(QMetaType::QString))
                                  : QVariant(dateTimeText(value.toDateTime()));
        default:
            return value;
    }
}

// The last guard of every text: NUL ends it on SQLite and breaks the statement on PostgreSQL,
// and a lone surrogate is stored differently by each driver. The input checks refuse both with
// the field's name; a text that still carries one is a fault and reaches neither database.
void Session::refuseUnstorableText(const QString& sql, const Params& params) const {
    for (int i = 0; i < params.size(); ++i) {
        if (params[i].typeId() != QMetaType::QString) continue;
        const QString text = params[i].toString();
        if (text.contains(QChar(0)))
            throw SqlError(sql,
                           QStringLiteral("متن پارامتر ") + QString::number(i + 1) +
                               QStringLiteral(" نويسه NUL دارد و به پايگاه داده فرستاده نمي شود."));
        if (!text.isValidUtf16())
            throw SqlError(
                sql, QStringLiteral("متن پارامتر ") + QString::number(i + 1) +
                         QStringLiteral(" يونيكد نامعتبر دارد و به پايگاه داده فرستاده نمي شود."));
    }
}

void Session::bindAll(QSqlQuery& q, const Params& params) const {
    for (int i = 0; i < params.size(); ++i)
        q.bindValue(i, toDatabase(params[i]));
}

QSqlQuery& Session::run(const QString& sql, const Params& params) {
    refuseUnstorableText(sql, params);
    QSqlQuery& q = prepared(sql);
    bindAll(q, params);
    ++statements_;
    if (!q.exec()) {
        const QSqlError error = q.lastError();
        q.finish();
        fail(sql, error);
    }
    lastAnswer_.start();
    return q;
}

// Only plain values make a key: a read bound to anything else is not kept.
std::optional<QString> Session::memoKey(const QString& sql, const Params& params) const {
    if (!memoOn_ || depth_ > 0) return std::nullopt;
    QString key = sql;
    for (const QVariant& p : params) {
        switch (p.typeId()) {
            case QMetaType::Int:
            case QMetaType::LongLong:
            case QMetaType::QString:
            case QMetaType::Bool:
            case QMetaType::QDate:
                break;
            default:
                if (!p.isNull()) return std::nullopt;
        }
        key += QChar(0x1f) + QString::number(p.typeId()) + QChar(0x1e) + p.toString();
    }
    return key;
}

RowSet Session::query(const QString& sql, const Params& params) {
    const std::optional<QString> key = memoKey(sql, params);
    if (key) {
        const auto it = memo_.constFind(*key);
        if (it != memo_.constEnd()) return *it;
    }
    RowSet rows = fetch(sql, params);
    if (key) memo_.insert(*key, rows);
    return rows;
}

RowSet Session::fetch(const QString& sql, const Params& params) {
    const StatementTrace trace(sql);
    QSqlQuery& q = run(sql, params);
    const QSqlRecord record = q.record();
    QStringList names;
    names.reserve(record.count());
    for (int i = 0; i < record.count(); ++i)
        names << record.fieldName(i);
    RowSet rows(std::make_shared<const Columns>(names));
    const int n = record.count();
    while (q.next()) {
        QVector<QVariant> values(n);
        for (int i = 0; i < n; ++i)
            values[i] = q.value(i);
        rows.append(std::move(values));
    }
    q.finish();
    return rows;
}

std::optional<Row> Session::first(const QString& sql, const Params& params) {
    RowSet rows = query(sql, params);
    if (rows.empty()) return std::nullopt;
    return rows.first();
}

QVariant Session::scalar(const QString& sql, const Params& params) {
    RowSet rows = query(sql, params);
    if (rows.empty() || rows.first().size() == 0) return {};
    return rows.first().at(0);
}

int Session::exec(const QString& sql, const Params& params) {
    memo_.clear();
    if (params.isEmpty()) {
        // Unprepared: PostgreSQL cannot prepare DDL (CREATE, ALTER, DROP, TRUNCATE).
        const StatementTrace trace(sql);
        failIfLost(sql);
        QSqlQuery direct(db_);
        ++statements_;
        if (!direct.exec(sql)) fail(sql, direct.lastError());
        return direct.numRowsAffected();
    }
    const StatementTrace trace(sql);
    QSqlQuery& q = run(sql, params);
    const int affected = q.numRowsAffected();
    q.finish();
    return affected;
}

qint64 Session::insertReturningId(const QString& sql, const Params& params) {
    const QVariant id = scalar(sql, params);
    if (id.isNull()) throw SqlError(sql, QStringLiteral("the insert returned no identity"));
    return id.toLongLong();
}

void Session::execScript(const QString& script) {
    QString statement;
    const auto lines = script.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.trimmed().startsWith(QLatin1String("--"))) continue;
        statement += line + QLatin1Char('\n');
        if (line.trimmed().endsWith(QLatin1Char(';'))) {
            const QString sql = statement.trimmed().chopped(1);
            statement.clear();
            if (!sql.trimmed().isEmpty()) rawExec(sql);
        }
    }
    if (!statement.trimmed().isEmpty()) rawExec(statement.trimmed());
}

QVariant Session::call(const QString& name, QVariantList& args) {
    const Procedure* procedure = procedures_ ? procedures_->find(name) : nullptr;
    if (!procedure)
        throw SqlError(QStringLiteral("call ") + name, QStringLiteral("رويه ذخيره شده ") + name +
                                                           QStringLiteral(" تعريف نشده است."));
    return (*procedure)(*this, args);
}

QVariant Session::call(const QString& name, const QVariantList& args) {
    QVariantList copy = args;
    return call(name, copy);
}

void Session::setReadMemo(bool on) {
    memoOn_ = on;
    if (!on) memo_.clear();
}

Transaction Session::transaction() {
    return begin(false);
}

Transaction Session::writerTransaction() {
    return begin(true);
}

Transaction Session::joinTransaction() {
    return depth_ > 0 ? Transaction(this, 0) : begin(false);
}

Transaction Session::joinWriterTransaction() {
    return writerDepth_ > 0 ? Transaction(this, 0) : begin(true);
}

Transaction Session::begin(bool writer) {
    if (depth_ == 0) {
        // Every transaction of this module writes, so SQLite takes the write lock at once
        // instead of failing to upgrade a read lock later.
        rawExec(isSqlite() ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
    } else {
        rawExec(QStringLiteral("SAVEPOINT si_sp%1").arg(depth_));
    }
    ++depth_;
    if (writer && writerDepth_ == 0) writerDepth_ = depth_;
    Transaction t(this, depth_);
    if (writer && !isSqlite())
        exec(QStringLiteral("SELECT pg_advisory_xact_lock(CAST(? AS BIGINT))"), {kWriterLockKey});
    return t;
}

void Session::endTransaction(int depth, bool commit) {
    if (depth != depth_)
        throw SqlError(QStringLiteral("transaction"),
                       QStringLiteral("transactions must end in the reverse order of their start"));
    --depth_;
    if (writerDepth_ > depth_) writerDepth_ = 0;
    if (depth_ == 0) {
        rawExec(commit ? QStringLiteral("COMMIT") : QStringLiteral("ROLLBACK"));
        return;
    }
    const QString sp = QStringLiteral("si_sp%1").arg(depth_);
    if (!commit) rawExec(QStringLiteral("ROLLBACK TO SAVEPOINT ") + sp);
    rawExec(QStringLiteral("RELEASE SAVEPOINT ") + sp);
}

Transaction::Transaction(Transaction&& other) noexcept
    : session_(other.session_), depth_(other.depth_), done_(other.done_) {
    other.done_ = true;
}

Transaction::~Transaction() {
    if (done_ || depth_ == 0) return;
    try {
        session_->endTransaction(depth_, false);
    } catch (...) {
        // A failed rollback leaves nothing more to undo; the connection reports it next time.
    }
}

void Transaction::commit() {
    if (done_) return;
    done_ = true;
    if (depth_ == 0) return;
    session_->endTransaction(depth_, true);
}

bool Session::tableExists(const QString& table) {
    if (isSqlite())
        return !query(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type IN ('table','view') "
                                     "AND lower(name) = lower(?)"),
                      {table})
                    .empty();
    return !query(QStringLiteral("SELECT 1 FROM information_schema.tables WHERE table_schema = "
                                 "current_schema() AND table_name = lower(?)"),
                  {table})
                .empty();
}

bool Session::columnExists(const QString& table, const QString& column) {
    return columnsExist(table, {column});
}

bool Session::columnsExist(const QString& table, const QStringList& columns) {
    if (columns.isEmpty()) return true;
    const QString list =
        QStringLiteral("lower(?)") + QStringLiteral(", lower(?)").repeated(columns.size() - 1);
    Params params{table};
    QSet<QString> distinct;
    for (const QString& c : columns) {
        params << c;
        distinct.insert(c.toLower());
    }
    const QString sql = isSqlite()
                            ? QStringLiteral(
                                  "SELECT count(DISTINCT lower(name)) FROM pragma_table_info(?) "
                                  "WHERE lower(name) IN (") +
                                  list + u')'
                            : QStringLiteral(
                                  "SELECT count(DISTINCT column_name) FROM "
                                  "information_schema.columns WHERE table_schema = "
                                  "current_schema() AND table_name = lower(?) AND column_name "
                                  "IN (") +
                                  list + u')';
    return scalar(sql, params).toLongLong() == distinct.size();
}

// SQLite runs in this process, so its local time is this machine's. The server's clock is read
// once a minute and followed by this machine's clock in between: a save asks for the time
// several times, and each question would otherwise be a round trip.
QDateTime Session::now() {
    if (clock_) return clock_();
    QDateTime local = QDateTime::currentDateTime();
    local.setTime(QTime(local.time().hour(), local.time().minute(), local.time().second()));
    if (isSqlite()) return local;
    constexpr qint64 kResyncMs = 60 * 1000;
    if (!serverClockRead_.isValid() || serverClockRead_.elapsed() > kResyncMs) {
        const QDateTime server = toDateTime(scalar(QStringLiteral("SELECT LOCALTIMESTAMP(0)")));
        serverOffsetSecs_ = local.secsTo(server);
        serverClockRead_.start();
    }
    return local.addSecs(serverOffsetSecs_);
}

// What is read after the mark must be at least as new as the mark, or a check that compares
// marks would trust a remembered read older than both: the remembered reads go, and the mark
// itself is never one.
QVariant Session::commitMark() {
    memo_.clear();
    const RowSet rows =
        fetch(isSqlite() ? QStringLiteral("PRAGMA data_version")
                         : QStringLiteral("SELECT CAST(pg_current_snapshot() AS TEXT)"),
              {});
    return rows.empty() || rows.first().size() == 0 ? QVariant() : rows.first().at(0);
}

}  // namespace si
