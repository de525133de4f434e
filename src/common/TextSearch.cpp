#include "common/TextSearch.h"

#include "common/FoldedText.h"

namespace si {

namespace {

// A trigram index holds pieces of three characters; a shorter text has none to look up.
constexpr qsizetype kIndexedPieceLength = 3;

// An FTS5 phrase: the text between double quotes, a quote doubled; nothing in it is syntax.
QString phraseOf(const QString& folded) {
    QString inner = folded;
    inner.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

// The IDs of the field's rows whose text contains the typed text.
SqlCondition matchingRows(const Session& session, const TextIndexedColumn& c,
                          const QString& typed) {
    const QString folded = FoldedText(typed).toLower();
    if (session.isSqlite() && folded.toUcs4().size() >= kIndexedPieceLength)
        return {QStringLiteral("select rowid from ") + c.textTable + QStringLiteral(" where ") +
                    c.textTable + QStringLiteral(" match ?"),
                {phraseOf(folded)}};
    const QString column = QStringLiteral("x.") + c.column;
    return {QStringLiteral("select x.ID from ") + c.table + QStringLiteral(" x where ") + column +
                QStringLiteral(" <> '' and ") + IndexedText(column) +
                QStringLiteral(" like ? escape '\\'"),
            {FoldedContainsPattern(typed)}};
}

// The IDs of the invoices owning the matching rows.
QString invoiceIdsOf(ContainsField field, const QString& rows) {
    switch (field) {
        case ContainsField::InvoiceNotes:
        case ContainsField::InvoiceManualCode:
            return rows;
        case ContainsField::LineDescription:
            return QStringLiteral(
                       "select d.InvoiceID from tblSaleInvoiceDetail d where d.ID in (") +
                   rows + QStringLiteral(")");
        case ContainsField::GoodsName:
            break;
    }
    return QStringLiteral(
               "select d.InvoiceID from tblSaleInvoiceDetail d where d.Barcode in "
               "(select g.Barcode from tblGood g where g.ID in (") +
           rows + QStringLiteral("))");
}

// PostgreSQL cannot tell how many invoices a typed text finds: given "ID in (...)" it walks the
// invoices in the list's order testing each one, a million for a rare text. An array of the
// found IDs is read first, and the invoices are then fetched by key.
SqlCondition invoicesOf(const Session& session, ContainsField field, const SqlCondition& rows) {
    const QString ids = invoiceIdsOf(field, rows.sql);
    if (session.isSqlite())
        return {QStringLiteral("ID in (") + ids + QStringLiteral(")"), rows.params};
    return {QStringLiteral("ID = ANY (ARRAY(") + ids + QStringLiteral("))"), rows.params};
}

}  // namespace

TextIndexedColumn TextIndexedColumnOf(ContainsField field) {
    switch (field) {
        case ContainsField::InvoiceNotes:
            return {QStringLiteral("tblSaleInvoice"), QStringLiteral("Notes"),
                    QStringLiteral("ftsSaleInvoiceNotes"),
                    QStringLiteral("ix_tblSaleInvoice_NotesText")};
        case ContainsField::InvoiceManualCode:
            return {QStringLiteral("tblSaleInvoice"), QStringLiteral("ManualCode"),
                    QStringLiteral("ftsSaleInvoiceManualCode"),
                    QStringLiteral("ix_tblSaleInvoice_ManualCodeText")};
        case ContainsField::LineDescription:
            return {QStringLiteral("tblSaleInvoiceDetail"), QStringLiteral("Description"),
                    QStringLiteral("ftsSaleInvoiceDetailDescription"),
                    QStringLiteral("ix_tblSaleInvoiceDetail_DescriptionText")};
        case ContainsField::GoodsName:
            break;
    }
    return {QStringLiteral("tblGood"), QStringLiteral("Name"), QStringLiteral("ftsGoodName"),
            QStringLiteral("ix_tblGood_NameText")};
}

QString IndexedText(const QString& column) {
    return QStringLiteral("lower(FoldedText(") + column + QStringLiteral("))");
}

SqlCondition RowsContaining(const Session& session, ContainsField field, const QString& typed) {
    return matchingRows(session, TextIndexedColumnOf(field), typed.trimmed());
}

SqlCondition InvoicesContaining(const Session& session, ContainsField field, const QString& typed) {
    const QString needle = typed.trimmed();
    if (needle.isEmpty()) return {};
    return invoicesOf(session, field, matchingRows(session, TextIndexedColumnOf(field), needle));
}

}  // namespace si
