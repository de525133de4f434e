#pragma once
// The one form in which look-ups compare typed text with stored text. A Persian keyboard types
// ی (U+06CC), ک (U+06A9) and Persian digits where much of the data holds the Arabic ي (U+064A),
// ى (U+0649) and ك (U+0643) and Latin or Arabic-Indic digits. The fold maps ي and ى to ی, ك to
// ک, and Persian (۰-۹) and Arabic-Indic (٠-٩) digits to 0-9, one character for one, and leaves
// everything else as it is (Latin letters keep their case: codes and barcodes are compared as
// they were typed).
//
// SQL has the same fold as FoldedText(x) on both databases: on SQLite a function of this process
// that the Session registers on every connection it opens, on PostgreSQL a function the schema
// creates. Indexes are built over FoldedKey(column), which compares in code-point order (the
// collation "C", registered on SQLite as well), so that a prefix is a range on both databases.
// Changing the fold changes what those indexes hold: they must be built again.

#include <QString>

class QSqlDatabase;

namespace si {

QString FoldedText(const QString& text);
// What FoldedText maps from and to, character for character (PostgreSQL's translate()).
QString FoldedTextFrom();
QString FoldedTextTo();

// The SQL of a column's (or expression's) folded key, as the indexes hold it.
QString FoldedKey(const QString& column);
// The keys that begin with the folded typed text: key >= from and key < to.
struct FoldedRange {
    QString from;
    QString to;
};
FoldedRange FoldedPrefixRange(const QString& typed);
// A LIKE pattern (escaped with '\') for the lower case of folded texts that contain the typed
// text in any case: lower(FoldedText(column)) like ?.
QString FoldedContainsPattern(const QString& typed);

// Registers FoldedText and the collation "C" on a SQLite connection; false when the connection
// gives no SQLite handle or refuses them.
bool RegisterFoldedText(QSqlDatabase& sqlite);

}  // namespace si
