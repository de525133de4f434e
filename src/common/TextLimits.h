#pragma once
// The text fields the module writes, each with one length that holds on both databases, and the
// rules every text obeys before it is stored. PostgreSQL refuses a VARCHAR(n) overflow while
// SQLite stores any length, so the application enforces the lengths itself; the schema's
// VARCHAR lengths are the same numbers (a test compares them with the database catalogue).
//
// Lengths count UTF-16 units, as QString::size and the original's own strings do: a character
// outside the basic plane counts two, so a text within its limit never exceeds the column on
// PostgreSQL (which counts code points), and every Persian letter counts one.
//
// Every stored text is trimmed first, as the save stores it. A text may hold line breaks and tabs
// (layout within the text, kept as typed) but no other control character, and no lone surrogate:
// NUL ends a text on SQLite and breaks the statement on PostgreSQL, and a lone surrogate is
// stored differently by each driver.

#include <QString>
#include <QStringList>
#include <QVector>

namespace si {

enum class TextField {
    ManualCode,           // txtGhabz
    CardNo,               // txtCardNo: digits, stored as BIGINT
    Notes,                // txtNotes
    CustomerMessage,      // cmbMessage
    LineDescription,      // column 4 of a line
    DocumentDescription,  // the accounting document's description, built from the notes
    WalkInName,           // the walk-in buyer's name (cmdCustomerName)
    WalkInPhone,          // the walk-in buyer's phone: "+" and at most 15 digits
    SmsTemplate,          // the customer message's template (cmdShouldSMSSend)
};

struct TextLimit {
    TextField field;
    QString name;         // as the form labels the field, for messages
    int length;           // in UTF-16 units
    bool cut;             // the original cuts a longer text to its length instead of refusing it
    QStringList columns;  // "table.Column" holding the text as VARCHAR(length)
};

const QVector<TextLimit>& TextLimits();
const TextLimit& LimitOf(TextField field);

// Why the text cannot be stored, as a Persian message naming the field; empty when it can.
// A text of a field that is cut is never refused for its length.
QString TextProblem(TextField field, const QString& value);

// The text as stored: trimmed and, for a field that is cut, cut to its length.
QString StoredText(TextField field, const QString& value);

// The first `length` units of the text, one less when the cut would split a surrogate pair.
QString CutText(const QString& text, int length);

// A control character other than a line break or tab; the first one's position or -1.
qsizetype ForbiddenControlAt(QStringView text);

}  // namespace si
