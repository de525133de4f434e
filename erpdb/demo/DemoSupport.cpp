#include "erpdb/demo/DemoSupport.h"

#include <QSet>
#include <stdexcept>

#include "common/Jalali.h"
#include "erpdb/Schema.h"

namespace si::erpdb::demo {

namespace {

// SQLite refuses a statement with more than 32766 bound values, but it also looks each named
// placeholder up in a list while it prepares a statement, which takes time that grows with the
// square of their number: a few thousand values per statement is where batching stops paying.
constexpr int kMaxBoundValues = 3000;
// The rows left over at the end are written in statements of these sizes, so that a table
// prepares at most a handful of statements whatever its row count.
constexpr int kTailSizes[] = {64, 8, 1};

}  // namespace

qint64 Rng::between64(qint64 lo, qint64 hi) {
    const std::uint64_t span = static_cast<std::uint64_t>(hi - lo) + 1;
    const std::uint64_t wide = (static_cast<std::uint64_t>(engine_()) << 32) | engine_();
    return lo + static_cast<qint64>(wide % span);
}

BulkInsert::BulkInsert(Session& session, QString table, QStringList columns, int maxRows)
    : session_(session), table_(std::move(table)), columns_(std::move(columns)) {
    const int byLimit = kMaxBoundValues / static_cast<int>(columns_.size());
    maxRows_ = std::max(1, std::min(maxRows, byLimit));
    fullStatement_ = statement(maxRows_);
    pending_.reserve(maxRows_ * static_cast<int>(columns_.size()));
}

QString BulkInsert::statement(int rows) const {
    QString marks = QStringLiteral("(?");
    for (int i = 1; i < columns_.size(); ++i)
        marks += QStringLiteral(",?");
    marks += QLatin1Char(')');
    QString sql = QStringLiteral("INSERT INTO ") + table_ + QStringLiteral(" (") +
                  columns_.join(QLatin1Char(',')) + QStringLiteral(") VALUES ");
    sql.reserve(sql.size() + rows * (marks.size() + 1));
    for (int r = 0; r < rows; ++r) {
        if (r > 0) sql += QLatin1Char(',');
        sql += marks;
    }
    return sql;
}

void BulkInsert::add(std::initializer_list<QVariant> values) {
    if (static_cast<qsizetype>(values.size()) != columns_.size())
        throw std::logic_error("demo row of " + table_.toStdString() + " has a wrong column count");
    for (const QVariant& v : values)
        pending_.append(v);
    if (++pendingRows_ == maxRows_) writeFull();
}

void BulkInsert::add(const QVariantList& values) {
    if (values.size() != columns_.size())
        throw std::logic_error("demo row of " + table_.toStdString() + " has a wrong column count");
    pending_.append(values);
    if (++pendingRows_ == maxRows_) writeFull();
}

void BulkInsert::writeFull() {
    session_.exec(fullStatement_, pending_);
    written_ += maxRows_;
    pending_.clear();
    pendingRows_ = 0;
}

void BulkInsert::finish() {
    const qsizetype columns = columns_.size();
    qsizetype from = 0;
    for (int size : kTailSizes) {
        for (; pendingRows_ >= size; pendingRows_ -= size) {
            session_.exec(statement(size), pending_.mid(from, size * columns));
            from += size * columns;
            written_ += size;
        }
    }
    pending_.clear();
}

const DemoCalendar::Day& DemoCalendar::day(const QDate& d) {
    auto it = days_.find(d.toJulianDay());
    if (it == days_.end())
        it = days_.insert(d.toJulianDay(), Day{Session::dateText(d), getFarsiDate(d)});
    return it.value();
}

QVariant DemoCalendar::date(const QDate& d) {
    return d.isValid() ? QVariant(day(d).stored) : QVariant();
}

QVariant DemoCalendar::farsi(const QDate& d) {
    return d.isValid() ? QVariant(day(d).jalali) : QVariant();
}

QDate DemoCalendar::jalaliYearStart(const QDate& day) {
    return FromJalali(JalaliOf(day).year, 1, 1);
}

QDate DemoCalendar::jalaliYearEnd(const QDate& day) {
    return FromJalali(JalaliOf(day).year + 1, 1, 1).addDays(-1);
}

qint64 RoundTo(qint64 value, qint64 step) {
    return (value + step / 2) / step * step;
}

int Ean13CheckDigit(const QString& twelveDigits) {
    int sum = 0;
    for (int i = 0; i < 12; ++i) {
        const int digit = twelveDigits[i].digitValue();
        sum += (i % 2 == 0) ? digit : 3 * digit;
    }
    return (10 - sum % 10) % 10;
}

namespace {

// The table's indexes as the database defines them, whether a schema script or an upgrade step
// made them; an index that backs a key constraint stays.
RowSet indexDefinitions(Session& s, const QString& table) {
    if (s.isSqlite())
        return s.query(QStringLiteral("SELECT name, sql AS definition FROM sqlite_master WHERE "
                                      "type = 'index' AND lower(tbl_name) = lower(?) AND sql IS "
                                      "NOT NULL ORDER BY name"),
                       {table});
    return s.query(QStringLiteral("SELECT i.indexname AS name, i.indexdef AS definition FROM "
                                  "pg_indexes i WHERE i.schemaname = current_schema() AND "
                                  "i.tablename = lower(?) AND NOT EXISTS (SELECT 1 FROM "
                                  "pg_constraint c WHERE c.conname = i.indexname) ORDER BY "
                                  "i.indexname"),
                   {table});
}

}  // namespace

IndexesSetAside::IndexesSetAside(Session& session, const QStringList& tables) : session_(session) {
    for (const QString& table : tables)
        for (const Row& index : indexDefinitions(session_, table)) {
            // The names come from the database's own catalog.
            session_.exec(QStringLiteral("DROP INDEX ") + index.text(u"name"));
            creates_ << index.text(u"definition");
        }
}

void IndexesSetAside::restore() {
    for (const QString& create : std::as_const(creates_))
        session_.exec(create);
    creates_.clear();
}

void MoveIdentityCounters(Session& session) {
    if (session.isSqlite()) return;
    QSet<QString> withIdentity;
    for (const Row& r : session.query(QStringLiteral(
             "SELECT table_name FROM information_schema.columns WHERE table_schema = "
             "current_schema() AND is_identity = 'YES'")))
        withIdentity.insert(r.text(u"table_name").toLower());
    // The table names put into the statements are the schema's own list.
    for (const QString& table : TableNames()) {
        if (!withIdentity.contains(table.toLower())) continue;
        // The next identity is one past the largest ID (1 for an empty table).
        session.exec(QStringLiteral("SELECT setval(pg_get_serial_sequence(CAST(? AS TEXT), 'id'), "
                                    "coalesce(max(ID), 0) + 1, false) FROM ") +
                         table,
                     {table});
    }
}

}  // namespace si::erpdb::demo
