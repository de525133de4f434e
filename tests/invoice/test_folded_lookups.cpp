// Look-ups of typed codes and barcodes compare folded text: a Persian keyboard's ی, ک and digits
// find goods stored with the Arabic letters and Latin or Arabic-Indic digits, one look-up at a time
// and in a batch alike; the folded keys are read through their indexes.

#include <QSqlQuery>
#include <QSqlRecord>

#include "LinesTestSupport.h"
#include "common/FoldedText.h"
#include "invoice/LineLookups.h"
#include "invoice/LineTableModel.h"

namespace si::test {
namespace {

// Stored with the Arabic letters and Arabic-Indic digits.
const QString kStoredBarcode = QStringLiteral("٣٢١");
const QString kStoredCode = QStringLiteral("كد-١٢");
const QString kStoredName = QStringLiteral("كيك يزدي");

class FoldedLookupsTest : public LinesTest {
protected:
    void SetUp() override {
        LinesTest::SetUp();
        stockRule(0);
        AddGood(db(), kStoredBarcode, kStoredCode, kStoredName, 5000, piece);
    }
    // Every column of a row as the grid shows it.
    QStringList shown(int row) {
        QStringList cells;
        for (int col = 0; col < Col::Count; ++col)
            cells << grid().data(grid().index(row, col), Qt::DisplayRole).toString();
        return cells;
    }
};

TEST_P(FoldedLookupsTest, EveryKeyboardsCodeAndBarcodeFindTheSameGoods) {
    for (const QString& code :
         {kStoredCode, QStringLiteral("کد-۱۲"), QStringLiteral("كد-12"), QStringLiteral("کد-١2")}) {
        const auto good = GoodByCode(db(), code);
        ASSERT_TRUE(good) << code.toStdString();
        EXPECT_EQ(good->BarCode, kStoredBarcode);
        EXPECT_EQ(BarcodeOfGoodsCode(db(), code), kStoredBarcode);
    }
    for (const QString& barcode :
         {kStoredBarcode, QStringLiteral("۳۲۱"), QStringLiteral("321"), QStringLiteral("3٢۱")}) {
        const auto good = GoodByBarcode(db(), barcode);
        ASSERT_TRUE(good) << barcode.toStdString();
        EXPECT_EQ(good->Code, kStoredCode);
    }
    EXPECT_FALSE(GoodByCode(db(), QStringLiteral("کد-۱")));
    EXPECT_FALSE(GoodByBarcode(db(), QStringLiteral("32")));

    const QStringList typed = {QStringLiteral("۳۲۱"), QStringLiteral("321"), QStringLiteral("9")};
    const QHash<QString, GoodInfo> byBarcode = GoodsByBarcodes(db(), typed);
    EXPECT_EQ(byBarcode.size(), 2);
    EXPECT_EQ(byBarcode.value(QStringLiteral("۳۲۱")).Code, kStoredCode);
    EXPECT_EQ(byBarcode.value(QStringLiteral("321")).Code, kStoredCode);
    const auto byCode = GoodsByCodes(db(), {QStringLiteral("کد-۱۲"), QStringLiteral("كد-12")});
    EXPECT_EQ(byCode.value(QStringLiteral("کد-۱۲")).size(), 1);
    EXPECT_EQ(byCode.value(QStringLiteral("كد-12")).size(), 1);
}

// The stored text typed exactly wins over goods whose code only folds alike; in a batch too.
TEST_P(FoldedLookupsTest, TheCodeStoredExactlyAsTypedWins) {
    const QString arabicCode = QStringLiteral("ك7"), persianCode = QStringLiteral("ک7");
    const QString arabicDigits = QStringLiteral("٤٤"), latinDigits = QStringLiteral("44");
    AddGood(db(), arabicDigits, arabicCode, QStringLiteral("يك"), 10, piece);
    AddGood(db(), latinDigits, persianCode, QStringLiteral("دو"), 20, piece);
    EXPECT_EQ(GoodByCode(db(), persianCode)->BarCode, latinDigits);
    EXPECT_EQ(GoodByCode(db(), arabicCode)->BarCode, arabicDigits);
    EXPECT_EQ(GoodByBarcode(db(), latinDigits)->Code, persianCode);
    EXPECT_EQ(GoodByBarcode(db(), arabicDigits)->Code, arabicCode);
    const auto batch = GoodsByBarcodes(db(), {latinDigits, arabicDigits});
    EXPECT_EQ(batch.value(latinDigits).Code, persianCode);
    EXPECT_EQ(batch.value(arabicDigits).Code, arabicCode);
    EXPECT_EQ(GoodsByCodes(db(), {persianCode}).value(persianCode).size(), 2);
    // Latin letters are compared as typed.
    AddGood(db(), QStringLiteral("AB1"), QStringLiteral("X1"), QStringLiteral("سه"), 30, piece);
    EXPECT_FALSE(GoodByBarcode(db(), QStringLiteral("ab1")));
}

TEST_P(FoldedLookupsTest, TypingAPersianCodeOrBarcodeFillsTheRowOfTheStoredOne) {
    double qty = 1;
    ASSERT_TRUE(lines().FillFlexOneRow(QStringLiteral("کد-۱۲"), 0, kByGoodCode, false, qty));
    const QStringList byCode = shown(0);
    EXPECT_EQ(line(0).BarCode, kStoredBarcode);
    EXPECT_EQ(line(0).GoodName, kStoredName);
    grid().DeleteLine(0);

    qty = 1;
    ASSERT_TRUE(lines().FillFlexOneRow(QStringLiteral("321"), 0, kByBarcode, false, qty));
    EXPECT_EQ(shown(0), byCode);

    // The same goods typed again with the other keyboard is the same goods.
    qty = 1;
    EXPECT_FALSE(lines().FillFlexOneRow(QStringLiteral("۳۲۱"), 1, kByBarcode, false, qty));
    EXPECT_FALSE(lines().FillFlexOneRow(QStringLiteral("كد-12"), 1, kByGoodCode, false, qty));
    EXPECT_EQ(messages.shown().size(), 2u);
    EXPECT_FALSE(line(1).isFilled());
}

TEST_P(FoldedLookupsTest, ABatchOfTypedLinesFindsTheGoodsOfEveryKeyboard) {
    LineLookups& lookups = *services->lookups;
    const LineLookups::Batch batch(lookups, {QStringLiteral("۳۲۱"), QStringLiteral("321")},
                                   {QStringLiteral("کد-۱۲"), QStringLiteral("كد-12")});
    EXPECT_EQ(lookups.goodByBarcode(QStringLiteral("۳۲۱"))->Code, kStoredCode);
    EXPECT_EQ(lookups.goodByBarcode(QStringLiteral("321"))->Code, kStoredCode);
    EXPECT_EQ(lookups.goodByCode(QStringLiteral("کد-۱۲"))->BarCode, kStoredBarcode);
    EXPECT_EQ(lookups.barcodeOfCode(QStringLiteral("كد-12")), kStoredBarcode);
}

// ---- the plans ---------------------------------------------------------------------------

// EXPLAIN cannot be prepared on PostgreSQL, so the plan is asked with the statement's values
// written in; they are this test's own constants.
QString withValuesWrittenIn(const SqlCondition& statement) {
    QString sql;
    int next = 0;
    for (const QChar c : statement.sql) {
        if (c != u'?') {
            sql += c;
            continue;
        }
        const QVariant value = statement.params.value(next++);
        sql += value.typeId() == QMetaType::QString
                   ? QLatin1Char('\'') + value.toString().replace(u'\'', QStringLiteral("''")) +
                         QLatin1Char('\'')
                   : value.toString();
    }
    return sql;
}

QString planOf(Session& s, const SqlCondition& statement) {
    QSqlQuery q(s.database());
    const QString explain =
        s.isSqlite() ? QStringLiteral("EXPLAIN QUERY PLAN ") : QStringLiteral("EXPLAIN ");
    if (!q.exec(explain + withValuesWrittenIn(statement))) return QStringLiteral("failed");
    QStringList plan;
    while (q.next())
        plan << q.value(q.record().count() - 1).toString();
    return plan.join(u'\n');
}

class FoldedPlanTest : public FoldedLookupsTest {
protected:
    void SetUp() override {
        FoldedLookupsTest::SetUp();
        Transaction t = db().transaction();
        for (int i = 0; i < 3000; ++i)
            db().exec(QStringLiteral("insert into tblGood (Barcode, Code, Name) values (?,?,?)"),
                      {QStringLiteral("62%1").arg(i, 6, 10, QLatin1Char('0')),
                       QStringLiteral("G%1").arg(i), QStringLiteral("كالاي %1").arg(i)});
        t.commit();
        db().exec(QStringLiteral("ANALYZE"));
    }
    // The goods are sought through the index, never read whole (a scan of the index included).
    void expectIndex(const SqlCondition& statement, const QString& index) {
        const QString plan = planOf(db(), statement);
        const bool sought =
            db().isSqlite()
                ? plan.contains(QStringLiteral("SEARCH g USING INDEX ") + index)
                : plan.contains(QStringLiteral("Index Scan using ") + index.toLower()) ||
                      plan.contains(QStringLiteral("Bitmap Index Scan on ") + index.toLower());
        EXPECT_TRUE(sought) << plan.toStdString() << "\n" << statement.sql.toStdString();
        EXPECT_FALSE(plan.contains(QStringLiteral("SCAN g")) ||
                     plan.contains(QStringLiteral("Seq Scan on tblgood g")))
            << plan.toStdString();
    }
};

TEST_P(FoldedPlanTest, LookupsByCodeAndBarcodeReadTheFoldedIndexes) {
    expectIndex(GoodLookupStatement(QStringLiteral("Code"), QStringLiteral("گ۱۷")),
                QStringLiteral("ix_tblGood_FoldedCode"));
    expectIndex(GoodLookupStatement(QStringLiteral("BarCode"), QStringLiteral("۶۲۰۰۰۰۱۷")),
                QStringLiteral("ix_tblGood_FoldedBarcode"));
}

// Prefixes of codes, barcodes and names are ranges of the folded keys, read in key order.
TEST_P(FoldedPlanTest, ThePickersPrefixSearchReadsTheFoldedIndexes) {
    const SqlCondition statement = GoodsSearchStatement(QStringLiteral("كا"), inventory, 50);
    for (const char* index :
         {"ix_tblGood_FoldedCode", "ix_tblGood_FoldedBarcode", "ix_tblGood_FoldedName"})
        expectIndex(statement, QString::fromLatin1(index));
    EXPECT_EQ(SearchGoods(db(), QStringLiteral("كالای ۱۲"), inventory, 50).size(), 50);
    const QVector<GoodInfo> last = SearchGoods(db(), QStringLiteral("کالای ۲۹۹۹"), inventory, 50);
    ASSERT_EQ(last.size(), 1);
    EXPECT_EQ(last[0].Name, QStringLiteral("كالاي 2999"));
}

SI_INSTANTIATE_BACKENDS(FoldedLookupsTest);
SI_INSTANTIATE_BACKENDS(FoldedPlanTest);

}  // namespace
}  // namespace si::test
