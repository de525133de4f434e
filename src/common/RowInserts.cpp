#include "common/RowInserts.h"

#include <stdexcept>

namespace si {

RowInserts::RowInserts(QString head, int columns) : head_(std::move(head)), columns_(columns) {
    if (columns_ < 1 || columns_ > kMaxBoundValues)
        throw std::invalid_argument("RowInserts: columns out of range");
}

void RowInserts::add(const Params& row) {
    if (row.size() != columns_)
        throw std::invalid_argument("RowInserts: a row of the wrong number of values");
    values_ << row;
}

int RowInserts::rowsPerStatement(int columns) {
    int rows = 1;
    while (rows * 2 * columns <= kMaxBoundValues)
        rows *= 2;
    return rows;
}

QString RowInserts::statement(int rows) const {
    const QString tuple = QLatin1Char('(') +
                          QStringList(columns_, QStringLiteral("?")).join(QLatin1Char(',')) +
                          QLatin1Char(')');
    return head_ + QStringLiteral(" values ") + QStringList(rows, tuple).join(QLatin1Char(','));
}

void RowInserts::exec(Session& s) const {
    const qsizetype total = rows();
    qsizetype done = 0;
    int size = rowsPerStatement(columns_);
    while (done < total) {
        while (size > total - done)
            size /= 2;
        s.exec(statement(size), values_.mid(done * columns_, qsizetype(size) * columns_));
        done += size;
    }
}

}  // namespace si
