// The stated text lengths against the database catalogue of both databases, what a text may hold,
// the cut that keeps surrogate pairs whole, and the session refusing a text that the two
// databases would not store alike.

#include <gtest/gtest.h>
#include <QRegularExpression>

#include "common/Session.h"
#include "common/TextLimits.h"
#include "support/TestDatabase.h"

namespace si {
namespace {

const QString kPair = QStringLiteral("\U0001F600");  // one character, two UTF-16 units
const QChar kHigh(0xD83D);
const QChar kLow(0xDE00);

TEST(TextLimitsTest, ARefusedFieldTakesExactlyItsLengthAndNamesItBeyond) {
    for (const TextLimit& limit : TextLimits()) {
        if (limit.cut) continue;
        EXPECT_EQ(TextProblem(limit.field, QString(limit.length, u'ق')), QString());
        EXPECT_EQ(TextProblem(limit.field, QStringLiteral("  ") + QString(limit.length, u'9') +
                                               QStringLiteral(" ")),
                  QString())
            << "stored trimmed, so measured trimmed";
        const QString problem = TextProblem(limit.field, QString(limit.length + 1, u'ق'));
        EXPECT_EQ(problem, QStringLiteral("طول «") + limit.name + QStringLiteral("» ") +
                               QString::number(limit.length + 1) +
                               QStringLiteral(" نويسه است و حداكثر ") +
                               QString::number(limit.length) + QStringLiteral(" نويسه مجاز است."));
    }
    EXPECT_EQ(TextProblem(TextField::ManualCode, QString(10000, u'7')),
              QStringLiteral("طول «شماره قبض» 10000 نويسه است و حداكثر 50 نويسه مجاز است."));
}

TEST(TextLimitsTest, NotesAndMessageAreCutNotRefused) {
    EXPECT_EQ(TextProblem(TextField::Notes, QString(2500, u'ن')), QString());
    EXPECT_EQ(StoredText(TextField::Notes, QStringLiteral(" ") + QString(2500, u'ن')),
              QString(2000, u'ن'));
    EXPECT_EQ(StoredText(TextField::CustomerMessage, QString(300, u'پ')), QString(200, u'پ'));
    EXPECT_EQ(StoredText(TextField::Notes, QStringLiteral(" كوتاه ")), QStringLiteral("كوتاه"));
}

TEST(TextLimitsTest, LineBreaksTabsAndJoinersAreKeptOtherControlsRefused) {
    const QString layout = QStringLiteral("ب\r\nب\tمی\u200Cخواهم\u200F");
    for (const TextLimit& limit : TextLimits())
        EXPECT_EQ(TextProblem(limit.field, layout), QString()) << limit.name.toStdString();
    struct Case {
        QChar control;
        int position;
    };
    for (const Case& c : {Case{QChar(0x0000), 3}, Case{QChar(0x0001), 3}, Case{QChar(0x000B), 3},
                          Case{QChar(0x001B), 3}, Case{QChar(0x007F), 3}, Case{QChar(0x0085), 3}}) {
        const QString text = QStringLiteral("ab") + c.control + QStringLiteral("cd");
        EXPECT_EQ(ForbiddenControlAt(text), c.position - 1);
        for (const TextLimit& limit : TextLimits())
            EXPECT_EQ(TextProblem(limit.field, text),
                      QStringLiteral("«") + limit.name +
                          QStringLiteral("» نويسه كنترلي غيرمجاز (كد ") +
                          QString::number(c.control.unicode()) + QStringLiteral(") در جايگاه ") +
                          QString::number(c.position) +
                          QStringLiteral(" دارد؛ جز سطر جديد و Tab نويسه كنترلي پذيرفته نيست."));
    }
}

TEST(TextLimitsTest, LoneSurrogatesAreRefusedPairsAccepted) {
    const QString expected =
        QStringLiteral("«ملاحظات» نويسه يونيكد نامعتبر (نيمه جفت جانشين تنها) دارد.");
    for (const QString& text :
         {QStringLiteral("a") + kHigh + QStringLiteral("b"), QString(kLow) + QStringLiteral("b"),
          QStringLiteral("a") + kLow + kHigh, QStringLiteral("ab") + kHigh})
        EXPECT_EQ(TextProblem(TextField::Notes, text), expected);
    EXPECT_EQ(TextProblem(TextField::Notes, QStringLiteral("a") + kPair), QString());
    EXPECT_EQ(TextProblem(TextField::LineDescription, kPair.repeated(250)), QString())
        << "250 characters of two units each are exactly the 500 units allowed";
}

TEST(TextLimitsTest, TheCutNeverSplitsASurrogatePair) {
    const QString text = QString(1999, u'ن') + kPair + QStringLiteral("بعد");
    EXPECT_EQ(CutText(text, 2000), QString(1999, u'ن'));
    EXPECT_EQ(CutText(text, 2001), QString(1999, u'ن') + kPair);
    EXPECT_EQ(CutText(kPair, 1), QString());
    EXPECT_EQ(CutText(QStringLiteral("abc"), 5), QStringLiteral("abc"));
    EXPECT_TRUE(StoredText(TextField::Notes, text).isValidUtf16());
}

// ---- on both databases --------------------------------------------------------------------

class TextCatalogueTest : public ::testing::TestWithParam<test::Backend> {
protected:
    void SetUp() override {
        database_ = std::make_unique<test::TestDatabase>(GetParam());
        s_ = database_->open();
    }

    // The column's declared type as the database keeps it: the catalogue on PostgreSQL, the
    // schema's own text on SQLite (which keeps but does not enforce it).
    QString declaredType(const QString& table, const QString& column) {
        if (s_->isSqlite())
            return s_
                ->scalar(QStringLiteral("select type from pragma_table_info(?) where lower(name) "
                                        "= lower(?)"),
                         {table, column})
                .toString()
                .toUpper();
        const auto row =
            s_->first(QStringLiteral("select data_type, character_maximum_length from "
                                     "information_schema.columns where table_name = lower(?) and "
                                     "column_name = lower(?)"),
                      {table, column});
        if (!row) return {};
        const QString type = row->text(u"data_type").toUpper();
        if (type != QStringLiteral("CHARACTER VARYING")) return type;
        return QStringLiteral("VARCHAR(") + row->text(u"character_maximum_length") +
               QStringLiteral(")");
    }

    std::unique_ptr<test::TestDatabase> database_;
    std::unique_ptr<Session> s_;
};

TEST_P(TextCatalogueTest, EveryStatedLengthIsTheColumnsLength) {
    int columns = 0;
    for (const TextLimit& limit : TextLimits()) {
        for (const QString& column : limit.columns) {
            const QStringList parts = column.split(u'.');
            ASSERT_EQ(parts.size(), 2) << column.toStdString();
            EXPECT_EQ(declaredType(parts[0], parts[1]),
                      QStringLiteral("VARCHAR(%1)").arg(limit.length))
                << column.toStdString();
            ++columns;
        }
    }
    EXPECT_GE(columns, 8);
    // The card number is kept as a number: 18 digits always fit a BIGINT.
    EXPECT_EQ(declaredType(QStringLiteral("tblSaleInvoice"), QStringLiteral("CardNo")),
              QStringLiteral("BIGINT"));
    EXPECT_EQ(LimitOf(TextField::CardNo).length, 18);
}

TEST_P(TextCatalogueTest, TheSessionRefusesNulAndLoneSurrogatesBeforeTheDriver) {
    const QString sql = QStringLiteral("insert into tblSaleInvoice (Notes) values (?)");
    const QString texts[] = {QStringLiteral("پيش") + QChar(0) + QStringLiteral("پس"),
                             QStringLiteral("پيش") + kHigh + QStringLiteral("پس"), QString(kLow)};
    for (const QString& text : texts) {
        try {
            s_->exec(sql, {text});
            ADD_FAILURE() << "stored";
        } catch (const SqlError& e) {
            EXPECT_EQ(e.statement(), sql);
            EXPECT_TRUE(e.driverText().contains(QStringLiteral("به پايگاه داده فرستاده نمي شود")))
                << e.driverText().toStdString();
        }
    }
    EXPECT_EQ(s_->scalar(QStringLiteral("select count(*) from tblSaleInvoice")).toInt(), 0);
    // The session still works after the refusal.
    s_->exec(sql, {QStringLiteral("سطر\nدوم\t.")});
    EXPECT_EQ(s_->scalar(QStringLiteral("select Notes from tblSaleInvoice")).toString(),
              QStringLiteral("سطر\nدوم\t."));
}

SI_INSTANTIATE_BACKENDS(TextCatalogueTest);

}  // namespace
}  // namespace si
