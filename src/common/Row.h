#pragma once
// Result rows read by field name, case-insensitively (PostgreSQL folds unquoted names to lower
// case, SQLite keeps them). A RowSet is fully materialised, so a statement's cursor is closed
// before the caller goes on and may run further statements (stock look-ups recurse, for one).

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVariant>
#include <QVector>
#include <memory>
#include <vector>

#include "common/Money.h"

namespace si {

class Columns {
public:
    explicit Columns(QStringList names);
    int indexOf(QStringView name) const;  // -1 when absent
    const QStringList& names() const { return names_; }
    int count() const { return static_cast<int>(names_.size()); }

private:
    QStringList names_;
    QHash<QString, int> byLowerName_;
};

class Row {
public:
    Row() = default;
    Row(std::shared_ptr<const Columns> columns, QVector<QVariant> values)
        : columns_(std::move(columns)), values_(std::move(values)) {}

    bool has(QStringView name) const;
    // Throws std::out_of_range naming the field when it is not in the result.
    const QVariant& value(QStringView name) const;
    const QVariant& at(int index) const { return values_.at(index); }
    int size() const { return static_cast<int>(values_.size()); }
    const Columns& columns() const { return *columns_; }

    bool isNull(QStringView name) const;
    QString text(QStringView name) const;  // null gives ""
    int toInt(QStringView name, int ifNull = 0) const;
    qint64 toInt64(QStringView name, qint64 ifNull = 0) const;
    double toDouble(QStringView name, double ifNull = 0) const;
    bool toBool(QStringView name, bool ifNull = false) const;
    Money money(QStringView name) const;         // null gives 0
    QDateTime dateTime(QStringView name) const;  // null gives an invalid value
    QDate date(QStringView name) const;

private:
    std::shared_ptr<const Columns> columns_;
    QVector<QVariant> values_;
};

class RowSet {
public:
    RowSet() = default;
    explicit RowSet(std::shared_ptr<const Columns> columns) : columns_(std::move(columns)) {}

    void append(QVector<QVariant> values) { rows_.emplace_back(columns_, std::move(values)); }
    bool empty() const { return rows_.empty(); }
    int size() const { return static_cast<int>(rows_.size()); }
    const Row& operator[](int i) const { return rows_[static_cast<size_t>(i)]; }
    const Row& first() const { return rows_.front(); }
    auto begin() const { return rows_.begin(); }
    auto end() const { return rows_.end(); }
    const Columns* columns() const { return columns_.get(); }

private:
    std::shared_ptr<const Columns> columns_;
    std::vector<Row> rows_;
};

// Reads a database date value into a QDateTime whatever the driver returned (PostgreSQL gives
// QDateTime, SQLite the stored text).
QDateTime toDateTime(const QVariant& value);

}  // namespace si
