#pragma once
// Tools of the demo filler: a random source that gives the same numbers on every platform, a
// multi-row insert that batches rows into few statements, the dates of the demo with their
// Jalali twins, and the identity counters that PostgreSQL keeps apart from the rows.

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdint>
#include <random>
#include <vector>

#include "common/Money.h"
#include "common/Session.h"

namespace si::erpdb::demo {

// std::mt19937 is fixed by the standard; the distributions are not, so ranges are cut here.
class Rng {
public:
    explicit Rng(std::uint32_t seed) : engine_(seed) {}
    // A source of its own for one area of the demo, so that one area's size leaves the
    // numbers of the others unchanged.
    Rng(std::uint32_t seed, std::uint32_t area) : engine_(seed * 2654435761u + area * 40503u) {}

    std::uint32_t next() { return engine_(); }
    // 0 .. n-1; n must be positive.
    int below(int n) {
        return static_cast<int>((static_cast<std::uint64_t>(engine_()) * std::uint64_t(n)) >> 32);
    }
    // lo .. hi, both included.
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    qint64 between64(qint64 lo, qint64 hi);
    bool chance(int percent) { return below(100) < percent; }
    template <typename T>
    const T& pick(const std::vector<T>& items) {
        return items[static_cast<size_t>(below(static_cast<int>(items.size())))];
    }
    const QString& pick(const QStringList& items) { return items[below(int(items.size()))]; }

private:
    std::mt19937 engine_;
};

// Rows of one table written as "INSERT ... VALUES (?,..),(?,..)" with up to maxRows rows per
// statement (fewer when the columns are many: see kMaxBoundValues). Call finish() to write the
// rest; rows still pending when the object dies without finish() are dropped.
class BulkInsert {
public:
    BulkInsert(Session& session, QString table, QStringList columns, int maxRows = 1000);
    BulkInsert(const BulkInsert&) = delete;
    BulkInsert& operator=(const BulkInsert&) = delete;

    // One row, values in column order.
    void add(std::initializer_list<QVariant> values);
    void add(const QVariantList& values);
    void finish();
    qint64 rowsWritten() const { return written_; }

private:
    void writeFull();
    QString statement(int rows) const;

    Session& session_;
    QString table_;
    QStringList columns_;
    int maxRows_;
    QString fullStatement_;
    QVariantList pending_;
    int pendingRows_ = 0;
    qint64 written_ = 0;
};

// Whole Rials as a bound value (the form Session gives whole amounts on SQLite, and a number
// PostgreSQL reads into NUMERIC alike).
inline QVariant Rials(qint64 rials) {
    return QVariant(qlonglong(rials));
}
// An amount or quantity with a fraction.
inline QVariant Amount(Money value) {
    return QVariant::fromValue(value);
}
inline QVariant Null() {
    return QVariant();
}
inline QVariant Flag(bool on) {
    return QVariant(on ? 1 : 0);
}

// The stored text of each day of the demo and of its Jalali twin, made once per day.
class DemoCalendar {
public:
    explicit DemoCalendar(QDate today) : today_(today) {}
    QDate today() const { return today_; }
    QDate daysAgo(int days) const { return today_.addDays(-days); }
    // Session's stored form of the day at midnight.
    QVariant date(const QDate& day);
    QVariant farsi(const QDate& day);
    // The first and the last day of the Jalali year that holds the day.
    static QDate jalaliYearStart(const QDate& day);
    static QDate jalaliYearEnd(const QDate& day);

private:
    struct Day {
        QString stored;
        QString jalali;
    };
    const Day& day(const QDate& d);
    QDate today_;
    QHash<qint64, Day> days_;
};

// The value rounded half up to a whole multiple of step (prices to 100 or 1000 Rials).
qint64 RoundTo(qint64 value, qint64 step);

// The EAN-13 check digit of twelve digits.
int Ean13CheckDigit(const QString& twelveDigits);

// The indexes of some tables, dropped while the demo loads those tables in bulk and built again
// afterwards as the database defined them: building an index once costs far less than
// keeping it up to date row by row. Both happen inside the demo's transaction, so a failure
// brings the indexes back with the rollback.
class IndexesSetAside {
public:
    IndexesSetAside(Session& session, const QStringList& tables);
    void restore();

private:
    Session& session_;
    QStringList creates_;
};

// On PostgreSQL, moves the identity counter of every table past the largest ID in it, so that
// rows inserted without an ID after the demo never collide with the demo's explicit IDs. SQLite
// keeps its counters with the rows, so nothing is needed there.
void MoveIdentityCounters(Session& session);

}  // namespace si::erpdb::demo
