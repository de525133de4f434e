#pragma once
// Many rows of one table written with multi-row INSERT statements instead of one statement a
// row, so that a far server is asked a few times however many rows there are.
//
// A statement binds at most kMaxBoundValues values: 999, the limit of SQLite builds before 3.32,
// well below the 32766 of SQLite 3.40 and PostgreSQL's 65535. A batch is cut into statements of
// a power-of-two number of rows (the largest that fits, then the binary digits of the rest), so
// batches of any size use the same few statement texts, each prepared once by the session.
//
// Rows are inserted in the order they were added, on the caller's connection and transaction.
// SQL itself promises no order of identities within one statement; SQLite and PostgreSQL both
// insert a VALUES list front to back, so IDs follow the added order as with one statement a row
// (the save's tests hold both databases to it). Nothing here needs the new IDs.

#include <QString>

#include "common/Session.h"

namespace si {

class RowInserts {
public:
    static constexpr int kMaxBoundValues = 999;

    // head: "insert into tblX (A, B, C)"; every row binds `columns` values, in that order.
    RowInserts(QString head, int columns);

    // Throws std::invalid_argument when the row has not `columns` values.
    void add(const Params& row);
    qsizetype rows() const { return values_.size() / columns_; }
    bool isEmpty() const { return values_.isEmpty(); }
    // Inserts the rows added so far.
    void exec(Session& s) const;

    // Rows of the largest statement of a table of `columns` values a row.
    static int rowsPerStatement(int columns);

private:
    QString statement(int rows) const;

    QString head_;
    int columns_;
    Params values_;  // row after row
};

}  // namespace si
