// The search's "contains" filters find, through their text indexes, exactly the invoices that a
// plain reading of every stored text finds (fold, lower case, contains), for typed texts of every
// length, with the letters, digits, cases and characters that matter, and still after rows were
// added, changed and removed. The plan of a long enough text reads the index.

#include <gtest/gtest.h>
#include <QRandomGenerator>
#include <QSet>
#include <map>

#include "common/FoldedText.h"
#include "common/TextSearch.h"
#include "support/TestDatabase.h"

namespace si {
namespace {

using test::Backend;

// Words with Arabic and Persian ي/ی and ك/ک, three kinds of digits, Latin in both cases, spaces,
// and characters that LIKE or FTS5 would read as syntax.
const QStringList kWords{
    QStringLiteral("كيك"),        QStringLiteral("کیک"),  QStringLiteral("يكشنبه"),
    QStringLiteral("یکشنبه"),     QStringLiteral("۱۲۳"),  QStringLiteral("١٢٣"),
    QStringLiteral("123"),        QStringLiteral("Blue"), QStringLiteral("BLUE"),
    QStringLiteral("blue"),       QStringLiteral("AbC"),  QStringLiteral("o'neil"),
    QStringLiteral("\"quoted\""), QStringLiteral("50%"),  QStringLiteral("a_b"),
    QStringLiteral("c\\d"),       QStringLiteral("x*y"),  QStringLiteral("^start"),
    QStringLiteral("k:v"),        QStringLiteral("(p)"),  QStringLiteral("AND"),
    QStringLiteral("OR"),         QStringLiteral("NEAR"), QStringLiteral("ارسال"),
    QStringLiteral("فوري"),       QStringLiteral("فوری"), QStringLiteral("انبار"),
    QStringLiteral("تحويل"),      QStringLiteral("ي"),    QStringLiteral("ک")};

// Spellings of the same text that the fold and the lower case make one.
QString respelled(const QString& text, QRandomGenerator& random) {
    QString out = text;
    for (QChar& c : out) {
        const int roll = random.bounded(3);
        if (c == QChar(0x06CC) && roll == 0)
            c = QChar(0x064A);
        else if (c == QChar(0x06A9) && roll == 0)
            c = QChar(0x0643);
        else if (c >= u'0' && c <= u'9' && roll == 0)
            c = QChar(char16_t(0x06F0 + (c.unicode() - u'0')));
        else if (c.isLower() && c.unicode() < 0x80 && roll == 1)
            c = c.toUpper();
    }
    return out;
}

QString plainKey(const QString& text) {
    return FoldedText(text).toLower();
}

class TextSearchTest : public ::testing::TestWithParam<Backend> {
protected:
    Session& db() { return *s_; }

    QString randomText(int maxWords) {
        const int words = random_.bounded(maxWords + 1);
        QStringList out;
        for (int i = 0; i < words; ++i)
            out << kWords[random_.bounded(kWords.size())];
        return out.join(random_.bounded(4) == 0 ? QString() : QStringLiteral(" "));
    }
    QVariant nullOr(const QString& text) {
        return text.isEmpty() && random_.bounded(2) == 0 ? QVariant() : QVariant(text);
    }

    int addGood() {
        const QString barcode = QStringLiteral("B%1").arg(++goodsMade_);
        const QString name = randomText(3);
        const int id = static_cast<int>(db().insertReturningId(
            QStringLiteral("INSERT INTO tblGood (Barcode, Name) VALUES (?, ?) RETURNING ID"),
            {barcode, name}));
        goods_[id] = {barcode, name};
        return id;
    }
    void addLine(int invoice) {
        const auto good = std::next(goods_.begin(), random_.bounded(int(goods_.size())));
        const QString description = randomText(2);
        const int id = static_cast<int>(db().insertReturningId(
            QStringLiteral("INSERT INTO tblSaleInvoiceDetail (InvoiceID, Barcode, Description) "
                           "VALUES (?, ?, ?) RETURNING ID"),
            {invoice, good->second.barcode, nullOr(description)}));
        lines_[id] = {invoice, good->second.barcode, description};
    }
    void addInvoice() {
        const QString notes = randomText(4);
        const QString manual = randomText(1);
        const int id = static_cast<int>(db().insertReturningId(
            QStringLiteral("INSERT INTO tblSaleInvoice (Notes, ManualCode) VALUES (?, ?) "
                           "RETURNING ID"),
            {nullOr(notes), nullOr(manual)}));
        invoices_[id] = {notes, manual};
        for (int n = random_.bounded(4); n > 0; --n)
            addLine(id);
    }

    // Changes of every kind the triggers must follow: texts replaced, emptied and set, rows
    // added and removed.
    void changeRows() {
        for (int i = 0; i < 40; ++i) {
            auto invoice = std::next(invoices_.begin(), random_.bounded(int(invoices_.size())));
            invoice->second.notes = randomText(3);
            db().exec(QStringLiteral("UPDATE tblSaleInvoice SET Notes = ?, ManualCode = ? WHERE "
                                     "ID = ?"),
                      {nullOr(invoice->second.notes), invoice->second.manual, invoice->first});
            auto line = std::next(lines_.begin(), random_.bounded(int(lines_.size())));
            line->second.description = randomText(2);
            db().exec(
                QStringLiteral("UPDATE tblSaleInvoiceDetail SET Description = ? WHERE ID = ?"),
                {nullOr(line->second.description), line->first});
            auto good = std::next(goods_.begin(), random_.bounded(int(goods_.size())));
            good->second.name = randomText(3);
            db().exec(QStringLiteral("UPDATE tblGood SET Name = ? WHERE ID = ?"),
                      {good->second.name, good->first});
        }
        for (int i = 0; i < 30; ++i) {
            auto line = std::next(lines_.begin(), random_.bounded(int(lines_.size())));
            db().exec(QStringLiteral("DELETE FROM tblSaleInvoiceDetail WHERE ID = ?"),
                      {line->first});
            lines_.erase(line);
        }
        for (int i = 0; i < 20; ++i) {
            auto invoice = std::next(invoices_.begin(), random_.bounded(int(invoices_.size())));
            db().exec(QStringLiteral("DELETE FROM tblSaleInvoiceDetail WHERE InvoiceID = ?"),
                      {invoice->first});
            db().exec(QStringLiteral("DELETE FROM tblSaleInvoice WHERE ID = ?"), {invoice->first});
            std::erase_if(lines_,
                          [&](const auto& l) { return l.second.invoice == invoice->first; });
            invoices_.erase(invoice);
        }
        for (int i = 0; i < 5; ++i) {
            auto good = std::next(goods_.begin(), random_.bounded(int(goods_.size())));
            db().exec(QStringLiteral("DELETE FROM tblGood WHERE ID = ?"), {good->first});
            goods_.erase(good);
        }
        for (int i = 0; i < 10; ++i)
            addGood();
        for (int i = 0; i < 40; ++i)
            addInvoice();
    }

    // The plain reading: every stored text of the field, folded and lower-cased.
    QSet<int> expected(ContainsField field, const QString& typed) const {
        const QString needle = plainKey(typed.trimmed());
        QSet<int> ids;
        const auto has = [&needle](const QString& text) { return plainKey(text).contains(needle); };
        for (const auto& [id, invoice] : invoices_)
            if ((field == ContainsField::InvoiceNotes && has(invoice.notes)) ||
                (field == ContainsField::InvoiceManualCode && has(invoice.manual)))
                ids.insert(id);
        QSet<QString> named;
        for (const auto& [id, good] : goods_)
            if (has(good.name)) named.insert(good.barcode);
        for (const auto& [id, line] : lines_)
            if ((field == ContainsField::LineDescription && has(line.description)) ||
                (field == ContainsField::GoodsName && named.contains(line.barcode)))
                ids.insert(line.invoice);
        return ids;
    }

    QString query(const SqlCondition& c) const {
        return QStringLiteral("SELECT ID FROM vwSaleInvoiceSearch WHERE ID > -1 and (") + c.sql +
               QStringLiteral(") ORDER BY CreateDate DESC, ID DESC");
    }
    QSet<int> found(ContainsField field, const QString& typed) {
        const SqlCondition c = InvoicesContaining(db(), field, typed);
        QSet<int> ids;
        for (const Row& r : db().query(query(c), c.params))
            ids.insert(r.toInt(u"ID"));
        return ids;
    }

    // A piece of a stored text (so that most find something), respelled, or a random one.
    QString randomNeedle() {
        QString needle;
        while (needle.trimmed().isEmpty())
            needle = randomPiece();
        return needle;
    }
    QString randomPiece() {
        const int length = 1 + random_.bounded(6);
        QString source;
        if (random_.bounded(4) == 0) {
            for (int i = 0; i < 3; ++i)
                source += kWords[random_.bounded(kWords.size())];
        } else {
            const auto invoice =
                std::next(invoices_.begin(), random_.bounded(int(invoices_.size())));
            const auto good = std::next(goods_.begin(), random_.bounded(int(goods_.size())));
            source = random_.bounded(2) ? invoice->second.notes : good->second.name;
        }
        if (source.size() <= length) return respelled(source, random_);
        return respelled(source.mid(random_.bounded(int(source.size() - length)), length), random_);
    }

    void expectIndexAgreesWithPlainReading(const char* phase) {
        int nonEmpty = 0;
        for (int i = 0; i < 120; ++i) {
            const QString needle = randomNeedle();
            for (ContainsField field : kContainsFields) {
                const QSet<int> want = expected(field, needle);
                nonEmpty += want.isEmpty() ? 0 : 1;
                EXPECT_EQ(found(field, needle), want)
                    << phase << ": field " << int(field) << " \"" << needle.toStdString() << '"';
            }
        }
        EXPECT_GT(nonEmpty, 100) << "the needles should find something";
    }

    struct Invoice {
        QString notes;
        QString manual;
    };
    struct Line {
        int invoice;
        QString barcode;
        QString description;
    };
    struct Good {
        QString barcode;
        QString name;
    };

    test::TestDatabase db_{GetParam()};
    std::unique_ptr<Session> s_ = db_.open();
    QRandomGenerator random_{20261206};
    std::map<int, Invoice> invoices_;
    std::map<int, Line> lines_;
    std::map<int, Good> goods_;
    int goodsMade_ = 0;
};

TEST_P(TextSearchTest, TheIndexFindsWhatAPlainReadingFindsAndFollowsChanges) {
    for (int i = 0; i < 60; ++i)
        addGood();
    for (int i = 0; i < 300; ++i)
        addInvoice();
    expectIndexAgreesWithPlainReading("as stored");
    changeRows();
    expectIndexAgreesWithPlainReading("after changes");
}

TEST_P(TextSearchTest, TypedSyntaxIsPlainTextAndEmptyTextFiltersNothing) {
    for (int i = 0; i < 20; ++i)
        addGood();
    for (int i = 0; i < 80; ++i)
        addInvoice();
    for (const QString& typed :
         {QStringLiteral("\"quoted\""), QStringLiteral("50%"), QStringLiteral("%"),
          QStringLiteral("_"), QStringLiteral("a_b"), QStringLiteral("c\\d"),
          QStringLiteral("o'neil"), QStringLiteral("x*y"), QStringLiteral("^st"),
          QStringLiteral("k:v"), QStringLiteral("(p)"), QStringLiteral("AND"),
          QStringLiteral("OR NEAR"), QStringLiteral("\""), QStringLiteral("  blue  ")})
        for (ContainsField field : kContainsFields)
            EXPECT_EQ(found(field, typed), expected(field, typed))
                << int(field) << " " << typed.toStdString();
    for (const QString& typed : {QString(), QStringLiteral("   ")})
        EXPECT_TRUE(InvoicesContaining(db(), ContainsField::InvoiceNotes, typed).isEmpty());
    const SqlCondition bound =
        InvoicesContaining(db(), ContainsField::GoodsName, QStringLiteral("o'neil\"; --"));
    EXPECT_FALSE(bound.sql.contains(QStringLiteral("neil"))) << "the typed text is bound";
}

// What the database plans for the statement. PostgreSQL prepares no EXPLAIN: a function of the
// session explains it with the values bound.
QString planOf(Session& s, const QString& sql, const Params& params) {
    QStringList lines;
    if (s.isSqlite()) {
        for (const Row& r : s.query(QStringLiteral("EXPLAIN QUERY PLAN ") + sql, params))
            lines << r.text(u"detail");
        return lines.join(u'\n');
    }
    s.execScript(QStringLiteral(
        "CREATE OR REPLACE FUNCTION pg_temp.plan_of(statement TEXT, value TEXT) RETURNS SETOF "
        "TEXT LANGUAGE plpgsql AS $$ BEGIN RETURN QUERY EXECUTE 'EXPLAIN ' || statement USING "
        "value; END $$"));
    QString numbered = sql;
    numbered.replace(QLatin1Char('?'), QStringLiteral("$1"));
    for (const Row& r : s.query(QStringLiteral("SELECT * FROM pg_temp.plan_of(?, ?)"),
                                {numbered, params.value(0)}))
        lines << r.at(0).toString();
    return lines.join(u'\n');
}

TEST_P(TextSearchTest, ALongEnoughTextIsLookedUpInTheIndex) {
    for (int i = 0; i < 20; ++i)
        addGood();
    for (int i = 0; i < 100; ++i)
        addInvoice();
    // Without a table scan to choose, PostgreSQL shows whether the index can serve at all.
    if (!db().isSqlite()) db().execScript(QStringLiteral("SET enable_seqscan = off"));
    for (ContainsField field : kContainsFields) {
        const TextIndexedColumn c = TextIndexedColumnOf(field);
        const QString index = db().isSqlite() ? c.textTable : c.textIndex.toLower();
        const SqlCondition longText = InvoicesContaining(db(), field, QStringLiteral("بلو blue"));
        EXPECT_TRUE(planOf(db(), query(longText), longText.params).contains(index))
            << planOf(db(), query(longText), longText.params).toStdString();
        if (!db().isSqlite()) continue;
        const SqlCondition shortText = InvoicesContaining(db(), field, QStringLiteral("bl"));
        EXPECT_FALSE(planOf(db(), query(shortText), shortText.params).contains(index));
    }
}

SI_INSTANTIATE_BACKENDS(TextSearchTest);

}  // namespace
}  // namespace si
