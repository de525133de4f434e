#pragma once
// The invoice search's "contains" filters over free text: invoices whose notes, manual code, a
// line's description, or the name of a line's goods contain the typed text. Texts match as the
// look-ups match them: contains, after FoldedText and lower-casing on both sides, the typed text
// taken as plain characters (quotes, %, _, \ and the full-text query words alike) and without its
// surrounding spaces.
//
// Each column is indexed by its three-character pieces, so that the filter reads only the rows
// holding them, not a million invoices: on SQLite an FTS5 table (tokenizer "trigram") of the
// column's lower(FoldedText(...)), keyed by the row's ID and kept current by triggers; on
// PostgreSQL a pg_trgm GIN index over lower(FoldedText(...)). Rows with an empty text are not
// indexed. A typed text of fewer than three characters has no such piece: it is compared row by
// row, by the same rule.
//
// On PostgreSQL the best plan depends on the typed text: a statement holding the condition is
// best marked PlannedForItsValues.

#include <QString>
#include <array>

#include "common/SqlCondition.h"

namespace si {

enum class ContainsField { InvoiceNotes, InvoiceManualCode, LineDescription, GoodsName };

inline constexpr std::array<ContainsField, 4> kContainsFields{
    ContainsField::InvoiceNotes, ContainsField::InvoiceManualCode, ContainsField::LineDescription,
    ContainsField::GoodsName};

// The condition on an invoice's ID ("ID in (...)" on SQLite, "ID = ANY (ARRAY(...))" on
// PostgreSQL) for the invoices whose field contains the typed text, every value bound; empty when
// the typed text is empty or only spaces.
SqlCondition InvoicesContaining(const Session& session, ContainsField field, const QString& typed);

// The IDs of the field's own rows (invoices, lines or goods) whose text contains the typed text:
// a statement selecting one column, every value bound.
SqlCondition RowsContaining(const Session& session, ContainsField field, const QString& typed);

// Where a field's text is stored, and the names of what indexes it; for the schema.
struct TextIndexedColumn {
    QString table;      // e.g. tblSaleInvoice
    QString column;     // e.g. Notes
    QString textTable;  // SQLite: the FTS5 table
    QString textIndex;  // PostgreSQL: the GIN index
};
TextIndexedColumn TextIndexedColumnOf(ContainsField field);
// The indexed form of a column's text: lower(FoldedText(column)).
QString IndexedText(const QString& column);

}  // namespace si
