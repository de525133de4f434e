#pragma once
// The database session: one connection, opened from an ADO-style connection string, on SQLite
// (embedded default) or PostgreSQL (shared server). Every value reaches SQL as a bound parameter
// ('?' placeholders); Money, QDate, QDateTime and bool parameters are converted so that both
// databases store, compare and sort them alike. Every failure throws SqlError.
//
// Dates: columns named ...Date hold a Gregorian date-time, TIMESTAMP on PostgreSQL and text
// 'yyyy-MM-dd HH:mm:ss' on SQLite; both sort as text does. Their Farsi... twins hold Jalali text.

#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

#include "common/ConnectionString.h"
#include "common/Money.h"
#include "common/ProcedureRegistry.h"
#include "common/Row.h"
#include "common/SqlError.h"

namespace si {

using Params = QVariantList;
class Session;

// Marks a statement whose best plan depends on its values (a date after which, say) and returns
// it: on PostgreSQL it is never run by a plan kept for any values. Statements with a list of
// values (IN (?, ?, ...)) need no mark.
QString PlannedForItsValues(const QString& sql);

// Rolls back unless committed. Nested transactions are savepoints of the outer one; a joined
// one (Session::joinTransaction) is no more than a part of the outer one.
class Transaction {
public:
    Transaction(Transaction&& other) noexcept;
    Transaction& operator=(Transaction&&) = delete;
    Transaction(const Transaction&) = delete;
    ~Transaction();
    void commit();

private:
    friend class Session;
    Transaction(Session* session, int depth) : session_(session), depth_(depth) {}
    Session* session_;
    int depth_;  // 0: joined, the outer transaction ends it
    bool done_ = false;
};

class Session {
public:
    // Opens at once; throws SqlError when the database cannot be reached and
    // std::invalid_argument when the connection string is malformed. A SQLite file that does not
    // exist is created (installing and tests start so).
    static std::unique_ptr<Session> open(const QString& connectionString,
                                         const ProcedureRegistry* procedures = nullptr);
    // As open, but a SQLite file that does not exist is refused with a SqlError naming it:
    // working on a database must not leave an empty file behind a mistyped path.
    static std::unique_ptr<Session> openExisting(const QString& connectionString,
                                                 const ProcedureRegistry* procedures = nullptr);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    Dialect dialect() const { return cs_.dialect; }
    bool isSqlite() const { return cs_.dialect == Dialect::SQLite; }
    const QString& connectionString() const { return connectionText_; }

    RowSet query(const QString& sql, const Params& params = {});
    std::optional<Row> first(const QString& sql, const Params& params = {});
    // First column of the first row; a null QVariant when there is no row.
    QVariant scalar(const QString& sql, const Params& params = {});
    // Rows affected. Without parameters the statement runs unprepared (DDL).
    int exec(const QString& sql, const Params& params = {});
    // An INSERT ending in "RETURNING ID": the new identity.
    qint64 insertReturningId(const QString& sql, const Params& params = {});
    // Statements separated by a ';' at the end of a line; for schema scripts only.
    void execScript(const QString& script);

    // A stored procedure of the registry; output parameters are written into args.
    QVariant call(const QString& name, QVariantList& args);
    QVariant call(const QString& name, const QVariantList& args);
    void setProcedures(const ProcedureRegistry* procedures) { procedures_ = procedures; }
    const ProcedureRegistry* procedures() const { return procedures_; }

    Transaction transaction();
    // A transaction that excludes every other writer until it ends (BEGIN IMMEDIATE on SQLite,
    // an advisory lock on PostgreSQL): code assignment reads a maximum and writes it back.
    Transaction writerTransaction();
    // A transaction of its own, or inside one (inside a writer one for the writer variant) a part
    // of it without a savepoint: a failure rolls the outer one back whole, as the caller that
    // opened it wants, and a short write asked within a save costs no statements of its own.
    Transaction joinTransaction();
    Transaction joinWriterTransaction();
    bool inTransaction() const { return depth_ > 0; }

    bool tableExists(const QString& table);
    bool columnExists(const QString& table, const QString& column);
    // Every one of the columns exists (names compared without case), asked in one statement.
    bool columnsExist(const QString& table, const QStringList& columns);

    // The server's local time, or the clock that a test set.
    QDateTime now();
    QDate today() { return now().date(); }
    void setClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }

    // What other connections have committed, as a value to compare: two marks of this session
    // are equal only when no other connection committed anything in between (they may differ
    // without a change that matters). SQLite's data version, PostgreSQL's snapshot.
    QVariant commitMark();

    // The text a date-time is stored as on SQLite, and bound as on both databases.
    static QString dateTimeText(const QDateTime& value);
    static QString dateText(const QDate& value);  // the day at 00:00:00

    // While on, a read repeated with nothing written in between, and outside any transaction,
    // gets the rows it got before: a command that asks the same look-up from several places
    // asks the database once. Every write and every transaction forgets them, so what a writer
    // transaction decides is always read afresh. Off forgets them too.
    void setReadMemo(bool on);

    QSqlDatabase& database() { return db_; }
    // Statements run since the session opened; benchmarks compare savers by it.
    qint64 statementCount() const { return statements_; }
    // Statements that failed since the session opened, whether or not a caller went on: a
    // command that ends with a refusal tells a database failure from the module's checks by it.
    int failedStatements() const { return failures_; }
    // The connection answered a statement within the last `ms` milliseconds.
    bool answeredWithin(qint64 ms) const {
        return lastAnswer_.isValid() && !connectionLost_ && lastAnswer_.elapsed() < ms;
    }
    // A statement failed because the server or the network went away.
    bool connectionLost() const { return connectionLost_; }

private:
    friend class Transaction;
    Session() = default;
    QSqlQuery& prepared(const QString& sql);
    bool dueForFreshPlan(const QString& sql);
    // Prepares (once), binds and executes; throws SqlError.
    QSqlQuery& run(const QString& sql, const Params& params);
    void refuseUnstorableText(const QString& sql, const Params& params) const;
    void bindAll(QSqlQuery& q, const Params& params) const;
    QVariant toDatabase(const QVariant& value) const;
    [[noreturn]] void fail(const QString& sql, const QSqlError& error);
    void failIfLost(const QString& sql);
    bool isConnectionError(const QSqlError& error);
    bool answers();
    Transaction begin(bool writer);
    void endTransaction(int depth, bool commit);
    void rawExec(const QString& sql);
    RowSet fetch(const QString& sql, const Params& params);
    std::optional<QString> memoKey(const QString& sql, const Params& params) const;

    ConnectionString cs_;
    QString connectionText_;
    QString connectionName_;
    QSqlDatabase db_;
    QHash<QString, QSqlQuery> cache_;
    // Runs since it was prepared of each cached statement planned for its values (PostgreSQL).
    QHash<QString, int> valuePlanRuns_;
    const ProcedureRegistry* procedures_ = nullptr;
    std::function<QDateTime()> clock_;
    QElapsedTimer serverClockRead_;
    QElapsedTimer lastAnswer_;
    qint64 serverOffsetSecs_ = 0;
    int depth_ = 0;
    int writerDepth_ = 0;  // the depth whose transaction holds the writer lock; 0 when none
    bool memoOn_ = false;
    QHash<QString, RowSet> memo_;
    qint64 statements_ = 0;
    int failures_ = 0;
    bool connectionLost_ = false;
};

}  // namespace si
