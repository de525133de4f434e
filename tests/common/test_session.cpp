// The session on both databases: values round-trip unchanged through bound parameters, errors
// carry the statement, transactions nest and roll back, and the catalogue questions answer alike.

#include <gtest/gtest.h>

#include "common/Session.h"
#include "support/TestDatabase.h"

namespace si {
namespace {

class SessionTest : public ::testing::TestWithParam<test::Backend> {
protected:
    void SetUp() override {
        scratch_ = std::make_unique<test::ScratchDatabase>(GetParam());
        s_ = Session::open(scratch_->connectionString());
        s_->execScript(QStringLiteral("CREATE TABLE tblProbe (ID INTEGER PRIMARY KEY, Name "
                                      "VARCHAR(200), Amount NUMERIC(19,4),"
                                      " Percent DOUBLE PRECISION, CreateDate %1, IsOpen SMALLINT);")
                           .arg(GetParam().dialect == Dialect::SQLite
                                    ? QStringLiteral("TEXT")
                                    : QStringLiteral("TIMESTAMP")));
    }
    void TearDown() override {
        s_.reset();
        scratch_.reset();
    }
    int count() { return s_->scalar(QStringLiteral("select count(*) from tblProbe")).toInt(); }

    std::unique_ptr<test::ScratchDatabase> scratch_;
    std::unique_ptr<Session> s_;
};

TEST_P(SessionTest, QuotesAndPersianTextRoundTripUnchanged) {
    const QStringList texts = {
        QStringLiteral("O'Brien's \"shop\""), QStringLiteral("مشتري ك ي - مشتری ک ی"),
        QStringLiteral("'; DROP TABLE tblProbe; --"), QStringLiteral("%_\\")};
    int id = 0;
    for (const QString& text : texts)
        s_->exec(QStringLiteral("insert into tblProbe (ID, Name) values (?, ?)"), {++id, text});
    for (int i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(s_->scalar(QStringLiteral("select Name from tblProbe where ID = ?"), {i + 1})
                      .toString(),
                  texts[i]);
        EXPECT_EQ(s_->scalar(QStringLiteral("select ID from tblProbe where Name = ?"), {texts[i]})
                      .toInt(),
                  i + 1);
    }
    EXPECT_TRUE(s_->tableExists(QStringLiteral("tblProbe")));
}

TEST_P(SessionTest, MoneyDatesAndFlagsKeepTheirValueAndOrder) {
    const Money amounts[] = {Money::parse(u"1234567.8901").value(), Money::fromRials(-433),
                             Money::parse(u"0.5").value()};
    const QDateTime dates[] = {QDateTime(QDate(2026, 3, 21), QTime(8, 5, 9)),
                               QDateTime(QDate(2025, 12, 31), QTime(23, 59, 59)),
                               QDateTime(QDate(2026, 3, 21), QTime(0, 0))};
    for (int i = 0; i < 3; ++i)
        s_->exec(QStringLiteral("insert into tblProbe (ID, Amount, CreateDate, IsOpen, Percent) "
                                "values (?,?,?,?,?)"),
                 {i + 1, QVariant::fromValue(amounts[i]), dates[i], i % 2 == 0, 12.5});
    for (int i = 0; i < 3; ++i) {
        const auto row = s_->first(QStringLiteral("select * from tblProbe where ID = ?"), {i + 1});
        ASSERT_TRUE(row);
        EXPECT_EQ(row->money(u"amount"), amounts[i]);  // field names are case-insensitive
        EXPECT_EQ(row->dateTime(u"CREATEDATE"), dates[i]);
        EXPECT_EQ(row->toBool(u"IsOpen"), i % 2 == 0);
        EXPECT_DOUBLE_EQ(row->toDouble(u"Percent"), 12.5);
    }
    const RowSet ordered =
        s_->query(QStringLiteral("select ID from tblProbe order by CreateDate, ID"));
    EXPECT_EQ(ordered[0].toInt(u"ID"), 2);
    EXPECT_EQ(ordered[1].toInt(u"ID"), 3);
    const QVariant onDay = s_->scalar(
        QStringLiteral("select count(*) from tblProbe where CreateDate >= ? and CreateDate < ?"),
        {QDate(2026, 3, 21), QDate(2026, 3, 22)});
    EXPECT_EQ(onDay.toInt(), 2);
    EXPECT_EQ(s_->scalar(QStringLiteral("select count(*) from tblProbe where Amount > ?"),
                         {QVariant::fromValue(Money::fromRials(0))})
                  .toInt(),
              2);
}

TEST_P(SessionTest, FailingStatementCarriesTheStatement) {
    try {
        s_->query(QStringLiteral("select NoSuchColumn from tblProbe"));
        FAIL() << "expected SqlError";
    } catch (const SqlError& e) {
        EXPECT_TRUE(e.statement().contains(QStringLiteral("NoSuchColumn")));
        EXPECT_FALSE(e.driverText().isEmpty());
    }
    // The session stays usable after an error.
    EXPECT_EQ(count(), 0);
}

TEST_P(SessionTest, TransactionsRollBackUnlessCommittedAndNest) {
    {
        Transaction t = s_->transaction();
        s_->exec(QStringLiteral("insert into tblProbe (ID) values (1)"));
    }
    EXPECT_EQ(count(), 0);
    {
        Transaction outer = s_->writerTransaction();
        s_->exec(QStringLiteral("insert into tblProbe (ID) values (1)"));
        {
            Transaction inner = s_->transaction();
            s_->exec(QStringLiteral("insert into tblProbe (ID) values (2)"));
        }  // only the inner part is undone
        {
            Transaction inner = s_->transaction();
            s_->exec(QStringLiteral("insert into tblProbe (ID) values (3)"));
            inner.commit();
        }
        outer.commit();
    }
    EXPECT_EQ(s_->scalar(QStringLiteral("select sum(ID) from tblProbe")).toInt(), 4);
    EXPECT_FALSE(s_->inTransaction());
}

TEST_P(SessionTest, ErrorInsideATransactionLeavesNothing) {
    try {
        Transaction t = s_->transaction();
        s_->exec(QStringLiteral("insert into tblProbe (ID) values (1)"));
        s_->exec(QStringLiteral("insert into tblProbe (ID) values (1)"));  // duplicate key
        t.commit();
    } catch (const SqlError&) {
    }
    EXPECT_EQ(count(), 0);
}

TEST_P(SessionTest, CatalogueAndProcedures) {
    EXPECT_TRUE(s_->columnExists(QStringLiteral("tblprobe"), QStringLiteral("createdate")));
    EXPECT_FALSE(s_->columnExists(QStringLiteral("tblProbe"), QStringLiteral("UpdateDate")));
    EXPECT_FALSE(s_->tableExists(QStringLiteral("tblNothing")));
    EXPECT_TRUE(s_->columnsExist(
        QStringLiteral("tblProbe"),
        {QStringLiteral("Name"), QStringLiteral("ISOPEN"), QStringLiteral("name")}));
    EXPECT_FALSE(s_->columnsExist(QStringLiteral("tblProbe"),
                                  {QStringLiteral("Name"), QStringLiteral("UpdateDate")}));

    ProcedureRegistry registry;
    registry.add(QStringLiteral("spDouble"), [](Session&, QVariantList& args) {
        args[1] = args[0].toInt() * 2;
        return QVariant(7);
    });
    s_->setProcedures(&registry);
    QVariantList args{21, QVariant()};
    EXPECT_EQ(s_->call(QStringLiteral("dbo.spDouble"), args).toInt(), 7);
    EXPECT_EQ(args[1].toInt(), 42);
    EXPECT_THROW(s_->call(QStringLiteral("spMissing"), QVariantList{}), SqlError);
}

TEST_P(SessionTest, NowFollowsTheInjectedClock) {
    const QDateTime fixed(QDate(2026, 12, 6), QTime(9, 30));
    EXPECT_TRUE(s_->now().isValid());
    s_->setClock([fixed] { return fixed; });
    EXPECT_EQ(s_->now(), fixed);
    EXPECT_EQ(s_->today(), fixed.date());
}

// The time a save stamps is the database's local time, without asking the database each time.
TEST_P(SessionTest, NowIsTheDatabasesLocalTimeAskedAtMostOnceAMinute) {
    const QDateTime first = s_->now();
    const qint64 before = s_->statementCount();
    const QDateTime second = s_->now();
    EXPECT_EQ(s_->statementCount(), before);
    const QDateTime server = toDateTime(s_->scalar(
        GetParam().dialect == Dialect::SQLite ? QStringLiteral("SELECT datetime('now','localtime')")
                                              : QStringLiteral("SELECT LOCALTIMESTAMP(0)")));
    EXPECT_LE(std::abs(second.secsTo(server)), 2);
    EXPECT_LE(first, second);
    EXPECT_EQ(second.time().msec(), 0);
}

// PostgreSQL may keep one plan for any values after a prepared statement's fifth run; a look-up
// of a list of values, or a statement marked as planned for its values, is prepared afresh before
// that, so each run is planned for its own values. A look-up by key keeps its prepared statement.
TEST_P(SessionTest, ValuePlannedStatementsArePreparedAfreshBeforeTheServerKeepsOnePlan) {
    if (GetParam().dialect == Dialect::SQLite) GTEST_SKIP() << "plans per value are PostgreSQL's";
    const QString list = QStringLiteral("select Name from tblProbe where ID in (?, ?, ?)");
    const QString marked =
        PlannedForItsValues(QStringLiteral("select count(*) from tblProbe where ID > ?"));
    const QString single = QStringLiteral("select Name from tblProbe where ID = ?");
    s_->exec(QStringLiteral("insert into tblProbe (ID, Name) values (1, 'a'), (2, 'b'), (3, 'c')"));
    for (int run = 0; run < 12; ++run) {
        EXPECT_EQ(s_->query(list, {1, 2, run % 2 ? 3 : 4}).size(), run % 2 ? 3 : 2);
        EXPECT_EQ(s_->scalar(marked, {run % 3}).toInt(), 3 - run % 3);
        EXPECT_EQ(s_->scalar(single, {2}).toString(), QStringLiteral("b"));
    }
    const auto runsOf = [&](const QString& sql) {
        QList<int> runs;
        for (const Row& r :
             s_->query(QStringLiteral("select generic_plans + custom_plans as Runs from "
                                      "pg_prepared_statements where statement like ?"),
                       {QStringLiteral("%") + QString(sql).replace(u'?', u'%') + u'%'}))
            runs << r.toInt(u"Runs");
        return runs;
    };
    // Prepared for runs 1, 6 and 11: the current one has run twice.
    EXPECT_EQ(runsOf(list), QList<int>{2});
    EXPECT_EQ(runsOf(marked), QList<int>{2});
    EXPECT_EQ(runsOf(single), QList<int>{12});
}

// Reads repeated within a command are asked once, until anything is written or a transaction
// begins; a transaction always reads afresh.
TEST_P(SessionTest, ARememberedReadIsForgottenByAnyWriteAndNeverUsedInATransaction) {
    auto other = Session::open(scratch_->connectionString());
    s_->exec(QStringLiteral("insert into tblProbe (ID, Name) values (1, ?)"),
             {QStringLiteral("a")});
    const QString read = QStringLiteral("select Name from tblProbe where ID = ?");
    const auto rename = [&](const char* name) {
        other->exec(QStringLiteral("update tblProbe set Name = ? where ID = 1"),
                    {QString::fromLatin1(name)});
    };
    s_->setReadMemo(true);
    EXPECT_EQ(s_->scalar(read, {1}).toString(), QStringLiteral("a"));
    rename("b");
    const qint64 before = s_->statementCount();
    EXPECT_EQ(s_->scalar(read, {1}).toString(), QStringLiteral("a"));  // remembered
    EXPECT_EQ(s_->statementCount(), before);
    EXPECT_TRUE(s_->scalar(read, {2}).isNull());  // other values are other reads

    s_->exec(QStringLiteral("insert into tblProbe (ID) values (2)"));
    EXPECT_EQ(s_->scalar(read, {1}).toString(), QStringLiteral("b"));
    rename("c");
    {
        Transaction t = s_->transaction();
        EXPECT_EQ(s_->scalar(read, {1}).toString(), QStringLiteral("c"));
        if (GetParam().dialect == Dialect::PostgreSQL) {  // SQLite's writer lock keeps it out
            rename("d");
            EXPECT_EQ(s_->scalar(read, {1}).toString(), QStringLiteral("d"));
        }
        t.commit();
    }
    if (GetParam().dialect == Dialect::SQLite) rename("d");
    EXPECT_EQ(s_->scalar(read, {1}).toString(), QStringLiteral("d"));
    rename("e");
    s_->setReadMemo(false);
    EXPECT_EQ(s_->scalar(read, {1}).toString(), QStringLiteral("e"));
    rename("f");
    EXPECT_EQ(s_->scalar(read, {1}).toString(), QStringLiteral("f"));
}

// A check that reads after a commit mark and compares marks later must not be given a read
// remembered from before the mark.
TEST_P(SessionTest, ReadsAfterACommitMarkAreAsNewAsTheMark) {
    auto other = Session::open(scratch_->connectionString());
    s_->exec(QStringLiteral("insert into tblProbe (ID, Name) values (1, ?)"),
             {QStringLiteral("a")});
    const QString read = QStringLiteral("select Name from tblProbe where ID = ?");
    s_->setReadMemo(true);
    EXPECT_EQ(s_->scalar(read, {1}).toString(), QStringLiteral("a"));
    const QVariant before = s_->commitMark();
    other->exec(QStringLiteral("update tblProbe set Name = ? where ID = 1"), {QStringLiteral("b")});
    const QVariant after = s_->commitMark();
    EXPECT_NE(before, after);  // another connection committed in between
    EXPECT_EQ(s_->scalar(read, {1}).toString(), QStringLiteral("b"));
    s_->setReadMemo(false);
}

SI_INSTANTIATE_BACKENDS(SessionTest);

TEST(ConnectionStringTest, ParsesBothProvidersAndRefusesOthers) {
    const auto sqlite =
        ConnectionString::parse(QStringLiteral("provider=sqlite; data source=/tmp/x.db"));
    EXPECT_EQ(sqlite.dialect, Dialect::SQLite);
    EXPECT_EQ(sqlite.dataSource, QStringLiteral("/tmp/x.db"));
    const auto pg = ConnectionString::parse(QStringLiteral(
        "Provider=PostgreSQL;Server=db1;Port=6543;Database=erp;User ID=clerk;Password=p w"));
    EXPECT_EQ(pg.dialect, Dialect::PostgreSQL);
    EXPECT_EQ(pg.server, QStringLiteral("db1"));
    EXPECT_EQ(pg.port, 6543);
    EXPECT_EQ(pg.database, QStringLiteral("erp"));
    EXPECT_EQ(pg.user, QStringLiteral("clerk"));
    EXPECT_EQ(pg.password, QStringLiteral("p w"));
    EXPECT_EQ(ConnectionString::parse(pg.toString()).toString(), pg.toString());
    EXPECT_THROW(ConnectionString::parse(QStringLiteral("Provider=SQLOLEDB;Data Source=x")),
                 std::invalid_argument);
    EXPECT_THROW(ConnectionString::parse(QStringLiteral("Provider=SQLite")), std::invalid_argument);
}

}  // namespace
}  // namespace si
