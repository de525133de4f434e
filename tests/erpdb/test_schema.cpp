// The installed schema on both databases: what the installer creates and keeps, that every
// view runs, and that the computed columns of the invoice and stock views add up.

#include <gtest/gtest.h>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>

#include "common/EventChainCheck.h"
#include "common/FoldedText.h"
#include "common/InvoiceSums.h"
#include "common/TextSearch.h"
#include "erpdb/Procedures.h"
#include "erpdb/Schema.h"
#include "support/InvoiceSumsCheck.h"
#include "support/TestDatabase.h"

namespace si::erpdb {
namespace {

using test::Backend;

// Inserts one row and returns its new identity; the column names are this file's own.
qint64 insertRow(Session& s, const QString& table, const QStringList& columns,
                 const Params& values) {
    QStringList marks;
    for (int i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    return s.insertReturningId(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING ID")
                                   .arg(table, columns.join(u','), marks.join(u',')),
                               values);
}

Money money(const char* text) {
    return *Money::parse(QString::fromLatin1(text));
}
QVariant amount(const char* text) {
    return QVariant::fromValue(money(text));
}

QStringList scriptViewNames() {
    QFile f(QStringLiteral(":/erpdb/schema/90_views.sql"));
    if (!f.open(QIODevice::ReadOnly)) return {};
    static const QRegularExpression createView(QStringLiteral("^CREATE VIEW (\\w+)"),
                                               QRegularExpression::MultilineOption);
    QStringList names;
    for (auto it = createView.globalMatch(QString::fromUtf8(f.readAll())); it.hasNext();)
        names << it.next().captured(1);
    return names;
}

int versionRows(Session& s) {
    return s.scalar(QStringLiteral("SELECT count(*) FROM tblZelorSchemaVersion")).toInt();
}

class SchemaInstall : public ::testing::TestWithParam<Backend> {};

TEST_P(SchemaInstall, EmptyDatabaseGetsEveryTableAtTheCurrentVersion) {
    test::ScratchDatabase db(GetParam());
    auto s = Session::open(db.connectionString());
    EXPECT_EQ(InstalledSchemaVersion(*s), 0);

    InstallSchema(*s);

    EXPECT_EQ(InstalledSchemaVersion(*s), CurrentSchemaVersion());
    EXPECT_EQ(versionRows(*s), CurrentSchemaVersion());
    const QStringList tables = TableNames();
    // A name created twice would leave the second definition silently unused.
    EXPECT_EQ(QSet<QString>(tables.begin(), tables.end()).size(), tables.size());
    for (const QString& table : tables)
        EXPECT_TRUE(s->tableExists(table)) << table.toStdString();
    for (const QString& view : scriptViewNames())
        EXPECT_TRUE(s->tableExists(view)) << view.toStdString();
}

bool indexExists(Session& s, const QString& name) {
    const QString sql = s.dialect() == Dialect::SQLite
                            ? QStringLiteral(
                                  "SELECT count(*) FROM sqlite_master WHERE type = "
                                  "'index' AND name = ?")
                            : QStringLiteral(
                                  "SELECT count(*) FROM pg_indexes WHERE indexname = "
                                  "lower(?)");
    return s.scalar(sql, {name}).toInt() > 0;
}

// A database of the first version (as installed before the later steps existed) gets them.
TEST_P(SchemaInstall, OlderDatabaseIsUpgradedByTheLaterSteps) {
    test::ScratchDatabase db(GetParam());
    auto s = Session::open(db.connectionString());
    InstallSchema(*s);
    s->execScript(QStringLiteral("DROP INDEX ix_tblSaleInvoice_CreditUse"));
    s->exec(QStringLiteral("DELETE FROM tblZelorSchemaVersion WHERE Version > 1"));
    ASSERT_EQ(InstalledSchemaVersion(*s), 1);

    InstallSchema(*s);

    EXPECT_EQ(InstalledSchemaVersion(*s), CurrentSchemaVersion());
    EXPECT_TRUE(indexExists(*s, QStringLiteral("ix_tblSaleInvoice_CreditUse")));
}

// The fold of look-ups answers in SQL as in C++, on a new database and on one installed before
// the fold existed, which gets the goods' folded keys from the upgrade.
TEST_P(SchemaInstall, TheFoldAndTheGoodsFoldedKeysComeWithTheSchemaAndTheUpgrade) {
    test::ScratchDatabase db(GetParam());
    auto s = Session::open(db.connectionString());
    InstallSchema(*s);
    const QStringList folded = {QStringLiteral("ix_tblGood_FoldedBarcode"),
                                QStringLiteral("ix_tblGood_FoldedCode"),
                                QStringLiteral("ix_tblGood_FoldedName")};
    for (const QString& index : folded) {
        EXPECT_TRUE(indexExists(*s, index)) << index.toStdString();
        s->execScript(QStringLiteral("DROP INDEX ") + index);
    }
    if (GetParam().dialect == Dialect::PostgreSQL)
        // With the text indexes over it, which came later still.
        s->execScript(QStringLiteral("DROP FUNCTION FoldedText(TEXT) CASCADE"));
    s->exec(QStringLiteral("DELETE FROM tblZelorSchemaVersion WHERE Version > 4"));

    InstallSchema(*s);

    EXPECT_EQ(InstalledSchemaVersion(*s), CurrentSchemaVersion());
    for (const QString& index : folded)
        EXPECT_TRUE(indexExists(*s, index)) << index.toStdString();
    const QString mixed = QStringLiteral("كيك امينى ١٢٣ ۴۵۶ AbC ی ک ß");
    EXPECT_EQ(s->scalar(QStringLiteral("SELECT FoldedText(?)"), {mixed}).toString(),
              FoldedText(mixed));
    EXPECT_TRUE(s->scalar(QStringLiteral("SELECT FoldedText(NULL)")).isNull());
}

// Invoices stored before the row version existed get it, starting from 0, and keep their rows.
TEST_P(SchemaInstall, InvoicesOfAnOlderDatabaseGetTheirRowVersion) {
    test::ScratchDatabase db(GetParam());
    auto s = Session::open(db.connectionString());
    InstallSchema(*s);
    s->execScript(QStringLiteral("ALTER TABLE tblSaleInvoice DROP COLUMN RowVersion"));
    s->exec(QStringLiteral("DELETE FROM tblZelorSchemaVersion WHERE Version > 2"));
    const qint64 invoice = insertRow(*s, QStringLiteral("tblSaleInvoice"),
                                     {QStringLiteral("Notes")}, {QStringLiteral("قديمي")});

    InstallSchema(*s);

    EXPECT_EQ(InstalledSchemaVersion(*s), CurrentSchemaVersion());
    EXPECT_EQ(
        s->scalar(QStringLiteral("SELECT RowVersion FROM tblSaleInvoice WHERE ID = ?"), {invoice})
            .toInt(),
        0);
}

// A database of version 4 gets the walk-in buyers' table, and its invoices stay without a buyer.
TEST_P(SchemaInstall, AnOlderDatabaseGetsTheWalkInBuyersTable) {
    test::ScratchDatabase db(GetParam());
    auto s = Session::open(db.connectionString());
    InstallSchema(*s);
    s->execScript(QStringLiteral("DROP TABLE tblSaleInvoiceWalkIn"));
    s->exec(QStringLiteral("DELETE FROM tblZelorSchemaVersion WHERE Version > 4"));
    const qint64 invoice = insertRow(*s, QStringLiteral("tblSaleInvoice"),
                                     {QStringLiteral("Notes")}, {QStringLiteral("قديمي")});
    ASSERT_FALSE(s->tableExists(QStringLiteral("tblSaleInvoiceWalkIn")));

    InstallSchema(*s);

    EXPECT_EQ(InstalledSchemaVersion(*s), CurrentSchemaVersion());
    ASSERT_TRUE(s->tableExists(QStringLiteral("tblSaleInvoiceWalkIn")));
    EXPECT_EQ(s->scalar(QStringLiteral("SELECT count(*) FROM tblSaleInvoiceWalkIn")).toInt(), 0);
    s->exec(QStringLiteral("INSERT INTO tblSaleInvoiceWalkIn (InvoiceID, Name, Phone) VALUES (?, "
                           "?, ?)"),
            {invoice, QStringLiteral("خريدار"), QStringLiteral("1234567")});
    EXPECT_THROW(s->exec(QStringLiteral("INSERT INTO tblSaleInvoiceWalkIn (InvoiceID, Name) "
                                        "VALUES (?, ?)"),
                         {invoice, QStringLiteral("دوم")}),
                 SqlError)
        << "one buyer per invoice";
}

TEST_P(SchemaInstall, InstallingAgainKeepsVersionAndRows) {
    test::ScratchDatabase db(GetParam());
    auto s = Session::open(db.connectionString());
    InstallSchema(*s);
    const qint64 invoice = insertRow(*s, QStringLiteral("tblSaleInvoice"),
                                     {QStringLiteral("Notes")}, {QStringLiteral("یادداشت")});
    s->exec(QStringLiteral(
        "INSERT INTO tblZelorSystemParameters (ID, SystemID, Value) VALUES (3, 9, '1')"));

    InstallSchema(*s);

    EXPECT_EQ(InstalledSchemaVersion(*s), CurrentSchemaVersion());
    EXPECT_EQ(versionRows(*s), CurrentSchemaVersion());
    EXPECT_EQ(s->scalar(QStringLiteral("SELECT Notes FROM tblSaleInvoice WHERE ID = ?"), {invoice})
                  .toString(),
              QStringLiteral("یادداشت"));
    EXPECT_EQ(s->scalar(QStringLiteral("SELECT Value FROM tblZelorSystemParameters WHERE ID = 3"))
                  .toString(),
              QStringLiteral("1"));
    // The views came back, reading the kept row.
    EXPECT_EQ(
        s->scalar(QStringLiteral("SELECT Code FROM vwSaleInvoiceSearch WHERE ID = ?"), {invoice})
            .toInt(),
        -1);
}

// A database of version 7 gets the stored sums of the invoices it holds, and the text indexes of
// the rows it holds.
TEST_P(SchemaInstall, AnOlderDatabaseGetsTheSumsAndTextIndexesOfItsRows) {
    test::ScratchDatabase db(GetParam());
    auto s = Session::open(db.connectionString());
    InstallSchema(*s);
    const qint64 invoice = insertRow(*s, QStringLiteral("tblSaleInvoice"),
                                     {QStringLiteral("Notes"), QStringLiteral("SuchargeValue")},
                                     {QStringLiteral("ارسال به كرج"), amount("50")});
    for (const char* barcode : {"1001", "1002", "1001"})
        insertRow(*s, QStringLiteral("tblSaleInvoiceDetail"),
                  {QStringLiteral("InvoiceID"), QStringLiteral("Barcode"), QStringLiteral("Qty"),
                   QStringLiteral("RetailPrice"), QStringLiteral("Description")},
                  {invoice, QString::fromLatin1(barcode), amount("1.5"), amount("1000"),
                   QStringLiteral("Blue Box")});
    s->execScript(
        QStringLiteral("DROP VIEW vwSaleInvoiceSearch;\n"
                       "DROP INDEX ix_tblSaleInvoice_SumQty;\n"
                       "DROP INDEX ix_tblSaleInvoice_SuCharge"));
    for (const char* column :
         {"SumQty", "TitlesNum", "RowDiscountValue", "CalcTotalValue", "SuCharge"})
        s->execScript(QStringLiteral("ALTER TABLE tblSaleInvoice DROP COLUMN ") +
                      QString::fromLatin1(column));
    for (ContainsField field : kContainsFields) {
        const TextIndexedColumn c = TextIndexedColumnOf(field);
        s->execScript(GetParam().dialect == Dialect::SQLite
                          ? QStringLiteral("DROP TABLE ") + c.textTable
                          : QStringLiteral("DROP INDEX ") + c.textIndex);
    }
    s->exec(QStringLiteral("DELETE FROM tblZelorSchemaVersion WHERE Version > 7"));

    InstallSchema(*s);

    EXPECT_EQ(InstalledSchemaVersion(*s), CurrentSchemaVersion());
    EXPECT_EQ(test::StaleInvoiceSums(*s), QStringList());
    EXPECT_TRUE(indexExists(*s, QStringLiteral("ix_tblSaleInvoice_SumQty")));
    for (const auto& [field, typed] :
         {std::pair{ContainsField::InvoiceNotes, QStringLiteral("به کرج")},
          std::pair{ContainsField::LineDescription, QStringLiteral("BLUE")}}) {
        const SqlCondition found = InvoicesContaining(*s, field, typed);
        EXPECT_EQ(
            s->scalar(QStringLiteral("SELECT count(*) FROM vwSaleInvoiceSearch WHERE ") + found.sql,
                      found.params)
                .toInt(),
            1)
            << typed.toStdString();
    }
}

// PostgreSQL splits Persian text into the pieces its text indexes hold only under a UTF-8
// character type: a database of another one is refused before anything is installed.
TEST_P(SchemaInstall, APostgresDatabaseWithoutUtf8CharactersIsRefused) {
    if (GetParam().dialect != Dialect::PostgreSQL) GTEST_SKIP() << "PostgreSQL only";
    test::ScratchDatabase scratch(GetParam());
    const QString name =
        QStringLiteral("%1_c").arg(Session::open(scratch.connectionString())
                                       ->scalar(QStringLiteral("SELECT current_database()"))
                                       .toString());
    auto admin = Session::open(scratch.connectionString());
    admin->execScript(QStringLiteral("CREATE DATABASE ") + name +
                      QStringLiteral(" TEMPLATE template0 LC_CTYPE 'C' LC_COLLATE 'C'"));
    QString refusal;
    {
        QString connection = scratch.connectionString();
        connection.replace(QRegularExpression(QStringLiteral("Database=\\w+")),
                           QStringLiteral("Database=") + name);
        auto s = Session::open(connection);
        try {
            InstallSchema(*s);
        } catch (const std::runtime_error& e) {
            refusal = QString::fromStdString(e.what());
        }
        EXPECT_EQ(InstalledSchemaVersion(*s), 0);
    }
    admin->execScript(QStringLiteral("DROP DATABASE ") + name + QStringLiteral(" WITH (FORCE)"));
    EXPECT_TRUE(refusal.contains(QStringLiteral("UTF-8"))) << refusal.toStdString();
    EXPECT_TRUE(refusal.contains(QStringLiteral("LC_CTYPE 'C.UTF-8'"))) << refusal.toStdString();
}

// A database written by a newer program is left as it is.
TEST_P(SchemaInstall, NewerDatabaseIsRefusedUntouched) {
    test::ScratchDatabase db(GetParam());
    auto s = Session::open(db.connectionString());
    InstallSchema(*s);
    s->exec(QStringLiteral("INSERT INTO tblZelorSchemaVersion (Version) VALUES (?)"),
            {CurrentSchemaVersion() + 1});

    EXPECT_THROW(InstallSchema(*s), std::runtime_error);

    EXPECT_EQ(InstalledSchemaVersion(*s), CurrentSchemaVersion() + 1);
    EXPECT_TRUE(s->tableExists(QStringLiteral("vwSaleInvoiceSearch")));
}

const QStringList kUpdateColumns = {QStringLiteral("UpdaterID"), QStringLiteral("UpdateDate"),
                                    QStringLiteral("FarsiUpdateDate")};

bool hasUpdateColumns(Session& s) {
    return std::all_of(kUpdateColumns.begin(), kUpdateColumns.end(), [&s](const QString& column) {
        return s.columnExists(QStringLiteral("tblSaleInvoice"), column);
    });
}

// Back to a database of version 2, installed before the schema created the update columns; with
// formAddedThem, the invoice form had added them since, as it did then.
void backToVersionTwo(Session& s, bool formAddedThem) {
    const QStringList views = scriptViewNames();
    for (auto it = views.crbegin(); it != views.crend(); ++it)
        s.execScript(QStringLiteral("DROP VIEW IF EXISTS ") + *it);
    if (!formAddedThem)
        for (const QString& column : kUpdateColumns)
            s.execScript(QStringLiteral("ALTER TABLE tblSaleInvoice DROP COLUMN ") + column);
    s.exec(QStringLiteral("DELETE FROM tblZelorSchemaVersion WHERE Version > 2"));
}

// The schema creates the update columns, so that opening a database never has to change it; an
// older database gets them from the upgrade, and keeps those the form added.
TEST_P(SchemaInstall, UpdateColumnsComeWithTheSchemaAndWithTheUpgrade) {
    test::ScratchDatabase db(GetParam());
    auto s = Session::open(db.connectionString());
    InstallSchema(*s);
    EXPECT_TRUE(hasUpdateColumns(*s));

    for (const bool formAddedThem : {false, true}) {
        SCOPED_TRACE(formAddedThem ? "added by the form" : "missing");
        backToVersionTwo(*s, formAddedThem);
        ASSERT_EQ(InstalledSchemaVersion(*s), 2);
        EXPECT_EQ(hasUpdateColumns(*s), formAddedThem);

        InstallSchema(*s);

        EXPECT_EQ(InstalledSchemaVersion(*s), CurrentSchemaVersion());
        EXPECT_TRUE(hasUpdateColumns(*s));
        EXPECT_NO_THROW(s->query(QStringLiteral("SELECT * FROM vwSaleInvoiceSearch LIMIT 1")));
    }
}

// Events logged before the chain existed stay as they were and are reported as unchained; the
// events after the upgrade form the chain.
TEST_P(SchemaInstall, EventsOfAnOlderDatabaseStayUnchainedAndNewOnesAreChained) {
    test::ScratchDatabase db(GetParam());
    ProcedureRegistry procedures;
    RegisterProcedures(procedures);
    auto s = Session::open(db.connectionString(), &procedures);
    InstallSchema(*s);
    s->execScript(QStringLiteral("DROP INDEX ux_tblZelorFormEvent_ChainSeq"));
    s->execScript(QStringLiteral("ALTER TABLE tblZelorFormEvent DROP COLUMN ChainSeq"));
    s->execScript(QStringLiteral("ALTER TABLE tblZelorFormEvent DROP COLUMN ChainCode"));
    s->exec(QStringLiteral("DELETE FROM tblZelorSchemaVersion WHERE Version > 13"));
    const qint64 old = insertRow(*s, QStringLiteral("tblZelorFormEvent"),
                                 {QStringLiteral("EventTypeID"), QStringLiteral("Description")},
                                 {90101, QStringLiteral("قديمي")});

    InstallSchema(*s);

    EXPECT_EQ(InstalledSchemaVersion(*s), CurrentSchemaVersion());
    s->call(QStringLiteral("spZelorInsertFormAction"),
            QVariantList{90103, 5, 901, QStringLiteral("تازه"), 1, s->now(),
                         QStringLiteral("1405/09/15"), 600});
    EXPECT_TRUE(
        s->scalar(QStringLiteral("SELECT ChainSeq FROM tblZelorFormEvent WHERE ID = ?"), {old})
            .isNull());
    const EventChainReport report = VerifyEventChain(*s);
    EXPECT_TRUE(report.intact()) << report.message.toStdString();
    EXPECT_EQ(report.checked, 1);
    EXPECT_EQ(report.unchained, 1);
}

SI_INSTANTIATE_BACKENDS(SchemaInstall);

class SchemaViews : public ::testing::TestWithParam<Backend> {
protected:
    test::TestDatabase db_{GetParam()};
    std::unique_ptr<Session> s_ = db_.open();
};

// SQLite accepts a view that names a missing column and fails only when it is read.
TEST_P(SchemaViews, EveryViewCanBeRead) {
    const QStringList views = scriptViewNames();
    ASSERT_GT(views.size(), 50);
    for (const QString& view : views)
        EXPECT_NO_THROW(
            s_->query(QStringLiteral("SELECT * FROM ") + view + QStringLiteral(" LIMIT 1")))
            << view.toStdString();
}

SI_INSTANTIATE_BACKENDS(SchemaViews);

// One stored line and its total as the line grid makes it (without its truncations): net after
// the discount, never below 0; wage on the gross; profit on net and wage; then commission, tax
// and duty.
struct Line {
    const char* qty;
    const char* price;
    const char* discount;
    double feePercent;
    const char* feePerUnit;
    double profitPercent;
    const char* workFee;
    const char* tax;
    const char* added;
    bool free;
    const char* rowTotal;
};

class SchemaTotals : public ::testing::TestWithParam<Backend> {
protected:
    qint64 addInvoice(const QVariant& code, const char* masterDiscount, const char* surcharge,
                      const char* deduction) {
        return insertRow(
            *s_, QStringLiteral("tblSaleInvoice"),
            {QStringLiteral("Code"), QStringLiteral("CustomerID"), QStringLiteral("PromoterID"),
             QStringLiteral("PricingMethodID"), QStringLiteral("CreateDate"),
             QStringLiteral("FarsiCreateDate"), QStringLiteral("DiscountValue"),
             QStringLiteral("SuchargeValue"), QStringLiteral("ShortageValue")},
            {code, customer_, promoter_, method_, QDate(2024, 3, 1), QStringLiteral("1402/12/11"),
             amount(masterDiscount), amount(surcharge), amount(deduction)});
    }
    qint64 addLine(qint64 invoice, const QString& barcode, const Line& l) {
        return insertRow(
            *s_, QStringLiteral("tblSaleInvoiceDetail"),
            {QStringLiteral("InvoiceID"), QStringLiteral("Barcode"), QStringLiteral("Qty"),
             QStringLiteral("RetailPrice"), QStringLiteral("DiscountValue"),
             QStringLiteral("ConstructionFeePercent"), QStringLiteral("ConstructionFeeValue"),
             QStringLiteral("ProfitPercent"), QStringLiteral("WorkFee"), QStringLiteral("TaxValue"),
             QStringLiteral("AddedValue"), QStringLiteral("IsEchantillon")},
            {invoice, barcode, amount(l.qty), amount(l.price), amount(l.discount), l.feePercent,
             amount(l.feePerUnit), l.profitPercent, amount(l.workFee), amount(l.tax),
             amount(l.added), l.free});
    }

    test::TestDatabase db_{GetParam()};
    std::unique_ptr<Session> s_ = db_.open();
    qint64 customer_ =
        insertRow(*s_, QStringLiteral("tblOrganization"),
                  {QStringLiteral("Code"), QStringLiteral("FirstName"), QStringLiteral("Name")},
                  {QStringLiteral("C-7"), QStringLiteral("علی"), QStringLiteral("رضایی")});
    qint64 promoter_ = insertRow(*s_, QStringLiteral("tblEmployee"),
                                 {QStringLiteral("FirstName"), QStringLiteral("SureName")},
                                 {QStringLiteral("مریم"), QStringLiteral("احمدی")});
    qint64 method_ = insertRow(*s_, QStringLiteral("tblSalePricingMethod"),
                               {QStringLiteral("Name")}, {QStringLiteral("عمده")});
};

TEST_P(SchemaTotals, LineAmountsFollowTheLineGrid) {
    const Line lines[] = {
        // ordinary, with tax and duty: 3000 - 300 + 81 + 27
        {"3", "1000", "300", 0, "0", 0, "0", "81", "27", false, "2808"},
        // fractional quantity and price
        {"2.5", "1999.5", "0", 0, "0", 0, "0", "0", "0", false, "4998.75"},
        // discount above the gross
        {"1", "5000", "9000", 0, "0", 0, "0", "0", "0", false, "0"},
        // precious metal: 10000 + wage 1000 + 2 x 25 + profit 5 % of 11050 + 100 + 30
        {"2", "5000", "0", 10, "25", 5, "100", "30", "0", false, "11732.5"},
        // fractional percentages: 4050 + wage 112.5 + profit 12.5 % of 4162.5
        {"1.5", "3000", "450", 2.5, "0", 12.5, "0", "0", "0", false, "4682.8125"},
    };
    const qint64 invoice = addInvoice(QVariant(), "0", "0", "0");
    for (const Line& line : lines) {
        const qint64 id = addLine(invoice, QStringLiteral("1001"), line);
        const auto row =
            s_->first(QStringLiteral("SELECT * FROM vwSaleInvoiceDetailValue WHERE ID = ?"), {id});
        ASSERT_TRUE(row);
        EXPECT_EQ(row->money(u"RowTotalValue"), money(line.rowTotal))
            << line.qty << " x " << line.price;
        EXPECT_GE(row->money(u"NetValue"), Money());
    }
}

TEST_P(SchemaTotals, InvoiceRowsShowCountsAndTotalsOfTheirLines) {
    const Line paid1{"3", "1000", "300", 0, "0", 0, "0", "81", "27", false, "2808"};
    const Line paid2{"2.5", "2000", "0", 0, "0", 0, "0", "0", "0", false, "5000"};
    const Line freeGoods{"1", "500", "0", 0, "0", 0, "0", "0", "0", true, "0"};
    const qint64 temp = addInvoice(QVariant(), "500", "1000", "200");
    addLine(temp, QStringLiteral("1001"), paid1);
    addLine(temp, QStringLiteral("1002"), paid2);
    addLine(temp, QStringLiteral("1003"), freeGoods);
    addLine(temp, QStringLiteral("1001"), paid1);  // the same goods on a second line
    for (const char* value : {"600", "400"})
        insertRow(*s_, QStringLiteral("tblSaleInvoiceSucharge"),
                  {QStringLiteral("InvoiceID"), QStringLiteral("SuchargeTypeID"),
                   QStringLiteral("Value")},
                  {temp, 1, amount(value)});
    const qint64 final = addInvoice(7, "0", "0", "0");
    // Written row by row here: the sums are refreshed as every writer of lines does.
    RefreshInvoiceSums(*s_, temp);

    const auto row =
        s_->first(QStringLiteral("SELECT * FROM vwSaleInvoiceSearch WHERE ID = ?"), {temp});
    ASSERT_TRUE(row);
    EXPECT_EQ(row->toInt(u"Code"), -1);
    EXPECT_EQ(row->toInt(u"TitlesNum"), 3);
    EXPECT_EQ(row->money(u"SumQty"), money("9.5"));
    EXPECT_EQ(row->money(u"RowDiscountValue"), money("600"));
    EXPECT_EQ(row->money(u"SuCharge"), money("1000"));
    const Money expected = money("10916");  // 2 x 2808 + 5000 + 1000 - 500 - 200
    EXPECT_EQ(row->money(u"CalcTotalValue"), expected);
    EXPECT_EQ(row->text(u"CustomerName"), QStringLiteral("علی رضایی"));
    EXPECT_EQ(row->text(u"CustomerCode"), QStringLiteral("C-7"));
    EXPECT_EQ(row->text(u"PromoterName"), QStringLiteral("مریم احمدی"));
    EXPECT_EQ(row->text(u"PricingGroup"), QStringLiteral("عمده"));
    EXPECT_EQ(row->toInt(u"IsPaidByCash"), 1);

    const auto summary =
        s_->first(QStringLiteral("SELECT * FROM vwSaleInvoiceSummary WHERE ID = ?"), {temp});
    ASSERT_TRUE(summary);
    EXPECT_EQ(summary->money(u"CalcTotalValue"), expected);

    // An invoice without lines has zero counts and totals, not NULLs.
    const auto empty =
        s_->first(QStringLiteral("SELECT * FROM vwSaleInvoiceSearch WHERE ID = ?"), {final});
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->toInt(u"Code"), 7);
    EXPECT_FALSE(empty->isNull(u"SumQty"));
    EXPECT_EQ(empty->toInt(u"TitlesNum"), 0);
    EXPECT_EQ(empty->money(u"CalcTotalValue"), Money());

    // The two lists split by state.
    const RowSet temps =
        s_->query(QStringLiteral("SELECT ID FROM vwSaleInvoiceSearch WHERE Code = -1 ORDER BY "
                                 "CreateDate DESC, ID DESC LIMIT 1000"));
    ASSERT_EQ(temps.size(), 1);
    EXPECT_EQ(temps.first().toInt64(u"ID"), temp);
    const RowSet finals =
        s_->query(QStringLiteral("SELECT ID FROM vwSaleInvoiceSearch WHERE Code <> -1"));
    ASSERT_EQ(finals.size(), 1);
    EXPECT_EQ(finals.first().toInt64(u"ID"), final);
}

// The stored sums take every kind of line amount (wage, profit, commission, tax, duty, free
// goods) as the views compute them.
TEST_P(SchemaTotals, StoredSumsAgreeWithTheViewsForEveryKindOfLine) {
    const Line lines[] = {
        {"3", "1000", "300", 0, "0", 0, "0", "81", "27", false, "2808"},
        {"2.5", "1999.5", "0", 0, "0", 0, "0", "0", "0", false, "4998.75"},
        {"1", "5000", "9000", 0, "0", 0, "0", "0", "0", false, "0"},
        {"2", "5000", "0", 10, "25", 5, "100", "30", "0", false, "11732.5"},
        {"1.5", "3000", "450", 2.5, "0", 12.5, "0", "0", "0", false, "4682.8125"},
        {"1", "500", "10", 0, "0", 0, "0", "0", "0", true, "490"},
    };
    const qint64 invoice = addInvoice(QVariant(), "125.5", "300", "20.25");
    int barcode = 1000;
    for (const Line& line : lines)
        addLine(invoice, QString::number(++barcode), line);
    insertRow(
        *s_, QStringLiteral("tblSaleInvoiceSucharge"),
        {QStringLiteral("InvoiceID"), QStringLiteral("SuchargeTypeID"), QStringLiteral("Value")},
        {invoice, 1, amount("300")});

    RefreshAllInvoiceSums(*s_);

    EXPECT_EQ(test::StaleInvoiceSums(*s_), QStringList());
    // 2808 + 4998.75 + 0 + 11732.5 + 4682.8125 + 300 - 125.5 - 20.25
    EXPECT_EQ(s_->first(QStringLiteral("SELECT CalcTotalValue FROM vwSaleInvoiceSearch WHERE ID "
                                       "= ?"),
                        {invoice})
                  ->money(u"CalcTotalValue"),
              money("24376.3125"));
}

SI_INSTANTIATE_BACKENDS(SchemaTotals);

class SchemaStock : public ::testing::TestWithParam<Backend> {
protected:
    qint64 addDocument(const QString& table, int inventory, const QDate& date,
                       const QVariant& formType, const QVariant& form) {
        return insertRow(*s_, table,
                         {QStringLiteral("InventoryID"), QStringLiteral("ReceiveDate"),
                          QStringLiteral("FormTypeID"), QStringLiteral("FormID")},
                         {inventory, date, formType, form});
    }
    void addDetail(const QString& table, const QString& header, qint64 document,
                   const QString& barcode, const char* qty, const QVariant& scale) {
        insertRow(*s_, table,
                  {header, QStringLiteral("Barcode"), QStringLiteral("Qty"),
                   QStringLiteral("ScaleID"), QStringLiteral("ScaleQty")},
                  {document, barcode, amount(qty), scale, amount(qty)});
    }
    void receive(int inventory, const QDate& date, const QString& barcode, const char* qty,
                 const QVariant& scale) {
        const qint64 id = addDocument(QStringLiteral("tblInventoryReceipt"), inventory, date,
                                      QVariant(), QVariant());
        addDetail(QStringLiteral("tblInventoryReceiptDetail"), QStringLiteral("ReceiptID"), id,
                  barcode, qty, scale);
    }
    void dispatch(int inventory, const QDate& date, int invoice, const QString& barcode,
                  const char* qty, const QVariant& scale) {
        const QVariant formType = invoice > 0 ? QVariant(901) : QVariant();
        const QVariant form = invoice > 0 ? QVariant(invoice) : QVariant();
        const qint64 id =
            addDocument(QStringLiteral("tblInventoryDispatch"), inventory, date, formType, form);
        addDetail(QStringLiteral("tblInventoryDispatchDetail"), QStringLiteral("DispatchID"), id,
                  barcode, qty, scale);
    }
    Money stock(int inventory, const QString& barcode, const QDate& asOf, int excludedInvoice) {
        return Money::fromVariant(s_->scalar(
            QStringLiteral(
                "SELECT coalesce(sum(BaseQty), 0) FROM vwInventoryStockMovement WHERE InventoryID "
                "= ? "
                "AND Barcode = ? AND MoveDate < ? AND NOT (coalesce(DispatchFormTypeID, 0) = 901 "
                "AND coalesce(DispatchFormID, 0) = ?)"),
            {inventory, barcode, asOf.addDays(1), excludedInvoice}));
    }

    test::TestDatabase db_{GetParam()};
    std::unique_ptr<Session> s_ = db_.open();
    qint64 carton_ = insertRow(*s_, QStringLiteral("tblGoodScale"),
                               {QStringLiteral("Name"), QStringLiteral("ScaleToBaseParent")},
                               {QStringLiteral("كارتن"), 12});
    qint64 piece_ = insertRow(*s_, QStringLiteral("tblGoodScale"), {QStringLiteral("Name")},
                              {QStringLiteral("عدد")});  // no factor: 1
};

TEST_P(SchemaStock, StockIsReceiptsLessDispatchesInBaseUnits) {
    const QString goods = QStringLiteral("1001");
    receive(1, QDate(2024, 1, 10), goods, "10", carton_);                 // +120
    receive(1, QDate(2024, 3, 1), goods, "5", piece_);                    // +5, later
    receive(2, QDate(2024, 1, 10), goods, "50", piece_);                  // another inventory
    receive(1, QDate(2024, 1, 10), QStringLiteral("1002"), "7", piece_);  // other goods
    dispatch(1, QDate(2024, 2, 1), 55, goods, "2", carton_);              // -24, invoice 55
    dispatch(1, QDate(2024, 2, 5), 0, goods, "5", QVariant());            // -5, no unit
    dispatch(1, QDate(2024, 2, 15), 56, goods, "0.5", carton_);           // -6, on the day itself

    struct Case {
        QDate asOf;
        int excludedInvoice;
        const char* expected;
    };
    const Case cases[] = {
        {QDate(2024, 1, 9), -1, "0"},    {QDate(2024, 1, 10), -1, "120"},
        {QDate(2024, 2, 14), -1, "91"},   // 120 - 24 - 5
        {QDate(2024, 2, 15), -1, "85"},   // the day's own dispatch counts
        {QDate(2024, 2, 15), 55, "109"},  // the invoice's own dispatch left out
        {QDate(2024, 3, 31), 56, "96"},   // 120 - 24 - 5 + 5
    };
    for (const Case& c : cases)
        EXPECT_EQ(stock(1, goods, c.asOf, c.excludedInvoice), money(c.expected))
            << c.asOf.toString(Qt::ISODate).toStdString() << " without " << c.excludedInvoice;
}

SI_INSTANTIATE_BACKENDS(SchemaStock);

}  // namespace
}  // namespace si::erpdb
