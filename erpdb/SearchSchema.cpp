#include "erpdb/SearchSchema.h"

#include <stdexcept>

#include "common/TextSearch.h"

namespace si::erpdb {

namespace {

const QString kInvoices = QStringLiteral("tblSaleInvoice");

// Another workstation may add it at the same moment.
void addColumnWhenMissing(Session& s, const QString& name, const QString& definition) {
    if (s.columnExists(kInvoices, name)) return;
    s.execScript(QStringLiteral("ALTER TABLE ") + kInvoices + QStringLiteral(" ADD ") + name +
                 u' ' + definition);
}

// Never NULL, so that the search filters the bare column and an index serves it.
void addSumColumns(Session& s) {
    const QString money =
        s.isSqlite() ? QStringLiteral("NUMERIC") : QStringLiteral("NUMERIC(19,4)");
    const QString zero = QStringLiteral(" NOT NULL DEFAULT 0");
    for (const QString& name : {QStringLiteral("SumQty"), QStringLiteral("RowDiscountValue"),
                                QStringLiteral("CalcTotalValue"), QStringLiteral("SuCharge")})
        addColumnWhenMissing(s, name, money + zero);
    addColumnWhenMissing(s, QStringLiteral("TitlesNum"), QStringLiteral("INTEGER") + zero);
}

// The search's range filters on the sums (total quantity, surcharge).
void addSumIndexes(Session& s) {
    s.execScript(QStringLiteral(
        "CREATE INDEX IF NOT EXISTS ix_tblSaleInvoice_SumQty ON tblSaleInvoice (SumQty);\n"
        "CREATE INDEX IF NOT EXISTS ix_tblSaleInvoice_SuCharge ON tblSaleInvoice (SuCharge);"));
}

// The FTS5 table of a column, its triggers, and its rows as they stand. The triggers are made
// again, so that a changed definition replaces the stored one; each statement is one line, as
// execScript ends a statement at a line ending in ';'.
void addSqliteTextTable(Session& s, const TextIndexedColumn& c) {
    const QString& t = c.textTable;
    const QString text = QStringLiteral("lower(FoldedText(new.") + c.column + QStringLiteral("))");
    const QString filled = QStringLiteral("new.") + c.column + QStringLiteral(" <> ''");
    s.execScript(QStringLiteral("CREATE VIRTUAL TABLE IF NOT EXISTS ") + t +
                 QStringLiteral(" USING fts5(Text, tokenize = 'trigram case_sensitive 1')"));
    for (const char* suffix : {"_Insert", "_Update", "_Delete"})
        s.execScript(QStringLiteral("DROP TRIGGER IF EXISTS ") + t + QLatin1String(suffix));
    s.execScript(
        QStringLiteral("CREATE TRIGGER ") + t + QStringLiteral("_Insert AFTER INSERT ON ") +
        c.table + QStringLiteral(" WHEN ") + filled + QStringLiteral(" BEGIN INSERT INTO ") + t +
        QStringLiteral(" (rowid, Text) VALUES (new.ID, ") + text + QStringLiteral("); END"));
    s.execScript(QStringLiteral("CREATE TRIGGER ") + t +
                 QStringLiteral("_Update AFTER UPDATE OF ") + c.column + QStringLiteral(" ON ") +
                 c.table + QStringLiteral(" WHEN old.") + c.column +
                 QStringLiteral(" IS NOT new.") + c.column + QStringLiteral(" BEGIN DELETE FROM ") +
                 t + QStringLiteral(" WHERE rowid = old.ID; INSERT INTO ") + t +
                 QStringLiteral(" (rowid, Text) SELECT new.ID, ") + text +
                 QStringLiteral(" WHERE ") + filled + QStringLiteral("; END"));
    s.execScript(QStringLiteral("CREATE TRIGGER ") + t +
                 QStringLiteral("_Delete AFTER DELETE ON ") + c.table +
                 QStringLiteral(" WHEN old.") + c.column +
                 QStringLiteral(" <> '' BEGIN DELETE FROM ") + t +
                 QStringLiteral(" WHERE rowid = old.ID; END"));
    s.exec(QStringLiteral("DELETE FROM ") + t);
    s.exec(QStringLiteral("INSERT INTO ") + t + QStringLiteral(" (rowid, Text) SELECT ID, ") +
           IndexedText(c.column) + QStringLiteral(" FROM ") + c.table + QStringLiteral(" WHERE ") +
           c.column + QStringLiteral(" <> ''"));
}

// Empty texts are left out, as the search's condition says "<> ''" beside the match.
void addPostgresTextIndex(Session& s, const TextIndexedColumn& c) {
    s.execScript(QStringLiteral("CREATE INDEX IF NOT EXISTS ") + c.textIndex +
                 QStringLiteral(" ON ") + c.table + QStringLiteral(" USING gin (") +
                 IndexedText(c.column) + QStringLiteral(" gin_trgm_ops) WHERE ") + c.column +
                 QStringLiteral(" <> ''"));
}

bool isUtf8(const QString& name) {
    const QString n = name.toLower();
    return n.contains(QLatin1String("utf8")) || n.contains(QLatin1String("utf-8"));
}

}  // namespace

void AddInvoiceSums(Session& session) {
    addSumColumns(session);
    addSumIndexes(session);
}

void AddTextIndexes(Session& session) {
    if (!session.isSqlite())
        session.execScript(QStringLiteral("CREATE EXTENSION IF NOT EXISTS pg_trgm"));
    for (ContainsField field : kContainsFields) {
        const TextIndexedColumn c = TextIndexedColumnOf(field);
        if (session.isSqlite())
            addSqliteTextTable(session, c);
        else
            addPostgresTextIndex(session, c);
    }
}

void RefuseDatabaseWithoutUtf8(Session& session) {
    if (session.isSqlite()) return;
    const auto db = session.first(QStringLiteral(
        "SELECT current_database() AS Name, pg_encoding_to_char(encoding) AS Encoding, datctype "
        "AS CharacterType FROM pg_database WHERE datname = current_database()"));
    if (!db) return;
    const QString ctype = db->text(u"CharacterType");
    if (isUtf8(db->text(u"Encoding")) && isUtf8(ctype)) return;
    throw std::runtime_error(
        QStringLiteral(
            "نوع نويسه (LC_CTYPE) پايگاه داده %1 برابر %2 و کدگذاري آن %3 است؛ جستجوي متن فارسي "
            "به پايگاه داده اي با کدگذاري UTF8 و نوع نويسه UTF-8 نياز دارد. پايگاه داده را چنين "
            "بسازيد و دوباره نصب کنيد: CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8' "
            "LC_COLLATE 'C.UTF-8' LC_CTYPE 'C.UTF-8'")
            .arg(db->text(u"Name"), ctype, db->text(u"Encoding"))
            .toStdString());
}

}  // namespace si::erpdb
