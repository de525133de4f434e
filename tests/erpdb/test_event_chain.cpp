// The signed chain of the form events: each event written through spZelorInsertFormAction is
// the next link; an event row edited, removed or slipped in through the database is named by the
// check; no event is written without the key; writers at once, in one process or several, leave
// one chain.

#include <gtest/gtest.h>

#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>

#include "common/AuditKey.h"
#include "common/EventChain.h"
#include "common/EventChainCheck.h"
#include "support/ContextTest.h"

namespace si {
namespace {

class EventChainTest : public test::ContextTest {
protected:
    void writeEvent(int formCode, const QDateTime& when, const QVariant& reason = {}) {
        db().call(
            QStringLiteral("spZelorInsertFormAction"),
            QVariantList{
                90101, formCode, 901,
                QStringLiteral("فاكتور فروش كالا به شماره رايانهاي %1 اصلاح شد.").arg(formCode),
                ctx.globals.CurrentUserID, when, QStringLiteral("1405/09/15"), 600, reason});
    }
    void writeEvents(int count) {
        for (int i = 1; i <= count; ++i)
            writeEvent(i, now);
    }
    // An event as an older program wrote it: outside the chain.
    qint64 writeUnchained(int formCode) {
        return db().insertReturningId(
            QStringLiteral("insert into tblZelorFormEvent (EventTypeID, FormCode, FormTypeID, "
                           "Description) values (90101, ?, 901, 'old') RETURNING ID"),
            {formCode});
    }
    qint64 idAt(qint64 seq) {
        return db()
            .scalar(QStringLiteral("select ID from tblZelorFormEvent where ChainSeq = ?"), {seq})
            .toLongLong();
    }
    EventChainReport verify(const QDate& from = {}) { return VerifyEventChain(db(), from); }
    // The check names the row at place 3, after the two before it held.
    void expectEditedAt3(qint64 id, const QString& edit) {
        const EventChainReport report = verify();
        EXPECT_EQ(report.broken, ChainBreak::Edited) << edit.toStdString();
        EXPECT_EQ(report.rowId, id);
        EXPECT_EQ(report.chainSeq, 3);
        EXPECT_EQ(report.checked, 2);
        EXPECT_TRUE(report.message.contains(QString::number(id)));
    }
};

TEST_P(EventChainTest, EventsFollowOneAnotherAndOlderOnesAreUnchained) {
    writeUnchained(1);
    writeUnchained(2);
    writeEvents(5);
    const RowSet rows = db().query(QStringLiteral("select ") + kFormEventColumns +
                                   QStringLiteral(" from tblZelorFormEvent where ChainSeq is not "
                                                  "null order by ChainSeq"));
    ASSERT_EQ(rows.size(), 5);
    QString previous;
    for (int i = 0; i < rows.size(); ++i) {
        const FormEvent e = FormEventFromRow(rows[i]);
        EXPECT_EQ(*e.chainSeq, i + 1);
        EXPECT_EQ(e.chainCode, EventChainCode(*ReadAuditKey(), e, i + 1, previous));
        EXPECT_NE(e.chainCode, EventChainCode(QByteArray(32, 'k'), e, i + 1, previous));
        previous = e.chainCode;
    }
    const EventChainReport report = verify();
    EXPECT_TRUE(report.intact()) << report.message.toStdString();
    EXPECT_EQ(report.checked, 5);
    EXPECT_EQ(report.unchained, 2);
}

// What the procedure is handed is signed as the database stores it: a null text or number as
// NULL, an empty text as one, a date to the second.
TEST_P(EventChainTest, ValuesAreSignedAsTheyAreStored) {
    const QDateTime withMilliseconds = now.addMSecs(789);
    const QList<QVariantList> calls{
        {90101, QVariant(), 901, QString(), QVariant(), withMilliseconds, QString(), QVariant()},
        {90102, 7, 901, QStringLiteral(""), 1, now.date(), QStringLiteral(""), 0, 2},
        {90103, QStringLiteral("8"), 901, QStringLiteral(" ك ی "), 1, now, QVariant(), 59}};
    for (const QVariantList& args : calls)
        db().call(QStringLiteral("spZelorInsertFormAction"), args);
    const EventChainReport report = verify();
    EXPECT_TRUE(report.intact()) << report.message.toStdString();
    EXPECT_EQ(report.checked, 3);
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from tblZelorFormEvent where "
                                         "Description is null and FormCode is null"))
                  .toInt(),
              1);
}

// Whatever column is changed, the row is named; put back, the chain holds again.
TEST_P(EventChainTest, AnEditedEventIsNamedWithItsPlace) {
    writeEvents(5);
    const qint64 id = idAt(3);
    const QString original =
        db().scalar(QStringLiteral("select Description from tblZelorFormEvent where ID = ?"), {id})
            .toString();
    const QStringList edits{
        QStringLiteral(
            "update tblZelorFormEvent set Description = Description || ' ' where ID = ?"),
        QStringLiteral("update tblZelorFormEvent set ReasonSequence = 1 where ID = ?"),
        QStringLiteral("update tblZelorFormEvent set UserID = UserID + 1 where ID = ?"),
        QStringLiteral("update tblZelorFormEvent set EventTime = 601 where ID = ?")};
    for (const QString& edit : edits) {
        db().exec(edit, {id});
        expectEditedAt3(id, edit);
        db().exec(QStringLiteral("update tblZelorFormEvent set Description = ?, ReasonSequence = "
                                 "null, UserID = ?, EventTime = 600 where ID = ?"),
                  {original, ctx.globals.CurrentUserID, id});
        EXPECT_TRUE(verify().intact());
    }
    // A second later, or (where the date is text) anything after the seconds.
    const QString date = QStringLiteral("update tblZelorFormEvent set EventDate = ? where ID = ?");
    db().exec(date, {now.addSecs(1), id});
    expectEditedAt3(id, date);
    if (db().isSqlite()) {
        db().exec(date, {Session::dateTimeText(now) + QStringLiteral(".0"), id});
        expectEditedAt3(id, date);
    }
    db().exec(date, {now, id});
    EXPECT_TRUE(verify().intact());
}

TEST_P(EventChainTest, ARemovedEventIsNamedAsTheGapBeforeTheNextOne) {
    writeEvents(5);
    db().exec(QStringLiteral("delete from tblZelorFormEvent where ChainSeq = 3"));
    EventChainReport report = verify();
    EXPECT_EQ(report.broken, ChainBreak::Removed);
    EXPECT_EQ(report.missingSeq, 3);
    EXPECT_EQ(report.rowId, idAt(4));
    EXPECT_EQ(report.chainSeq, 4);
    db().exec(QStringLiteral("delete from tblZelorFormEvent where ChainSeq = 1"));
    report = verify();
    EXPECT_EQ(report.broken, ChainBreak::Removed);
    EXPECT_EQ(report.missingSeq, 1);
    EXPECT_EQ(report.rowId, idAt(2));
}

// Outside the chain after it began, at the next place with a code of another key or a code
// that is none, or in a place already taken (once the unique index is gone).
TEST_P(EventChainTest, AForgedEventIsDetected) {
    writeEvents(4);
    const QString insert = QStringLiteral(
        "insert into tblZelorFormEvent (EventTypeID, FormCode, FormTypeID, Description, UserID, "
        "EventDate, FarsiEventDate, EventTime, ChainSeq, ChainCode) values (90102, 3, 901, "
        "'forged', 1, ?, '1405/09/15', 600, ?, ?) RETURNING ID");
    const QString lastCode =
        db().scalar(QStringLiteral("select ChainCode from tblZelorFormEvent where ChainSeq = 4"))
            .toString();
    FormEvent forged;
    forged.eventTypeId = 90102;
    forged.formCode = 3;
    forged.formTypeId = 901;
    forged.description = QStringLiteral("forged");
    forged.userId = 1;
    forged.eventDate = Session::dateTimeText(now);
    forged.farsiEventDate = QStringLiteral("1405/09/15");
    forged.eventTime = 600;
    const QString otherKeyCode = EventChainCode(QByteArray(32, 'x'), forged, 5, lastCode);
    struct Case {
        QVariant seq;
        QString code;
        ChainBreak expected;
    };
    const Case cases[] = {{QVariant(), QString(), ChainBreak::Inserted},
                          {5, otherKeyCode, ChainBreak::Edited},
                          {5, lastCode, ChainBreak::Edited},
                          {5, QStringLiteral("0"), ChainBreak::Inserted},
                          {0, otherKeyCode, ChainBreak::Inserted}};
    for (const Case& c : cases) {
        Transaction t = db().transaction();
        const qint64 id = db().insertReturningId(insert, {now, c.seq, c.code});
        const EventChainReport report = verify();
        EXPECT_EQ(report.broken, c.expected) << c.seq.toString().toStdString();
        EXPECT_EQ(report.rowId, id) << report.message.toStdString();
    }
    db().exec(QStringLiteral("drop index ux_tblZelorFormEvent_ChainSeq"));
    const qint64 id = db().insertReturningId(insert, {now, 2, otherKeyCode});
    const EventChainReport report = verify();
    EXPECT_EQ(report.broken, ChainBreak::Inserted);
    EXPECT_EQ(report.rowId, id);
    EXPECT_EQ(report.chainSeq, 2);
    // PostgreSQL's test database is emptied, not made anew, for the next test.
    db().exec(QStringLiteral("delete from tblZelorFormEvent where ID = ?"), {id});
    db().exec(
        QStringLiteral("create unique index ux_tblZelorFormEvent_ChainSeq on "
                       "tblZelorFormEvent (ChainSeq)"));
}

TEST_P(EventChainTest, TheCheckFromADayStartsAtItsFirstEvent) {
    writeEvent(1, now.addDays(-2));
    writeEvent(2, now.addDays(-1));
    writeEvent(3, now);
    writeEvent(4, now.addDays(1));
    db().exec(QStringLiteral("update tblZelorFormEvent set Description = 'x' where ChainSeq = 1"));
    EventChainReport report = verify(now.date().addDays(-1));
    EXPECT_TRUE(report.intact()) << report.message.toStdString();
    EXPECT_EQ(report.firstSeq, 2);
    EXPECT_EQ(report.checked, 3);
    EXPECT_EQ(verify().broken, ChainBreak::Edited);
    db().exec(QStringLiteral("delete from tblZelorFormEvent where ChainSeq = 2"));
    report = verify(now.date());
    EXPECT_EQ(report.broken, ChainBreak::Removed);
    EXPECT_EQ(report.missingSeq, 2);
    EXPECT_EQ(report.rowId, idAt(3));
    EXPECT_TRUE(verify(now.date().addDays(5)).intact());
}

TEST_P(EventChainTest, WithoutTheKeyNoEventIsWrittenAndTheCallerRollsBack) {
    writeEvents(1);
    QTemporaryDir elsewhere;
    const QByteArray key = qgetenv("SALEINVOICE_AUDIT_KEY");
    const auto restore = qScopeGuard([&key] { qputenv("SALEINVOICE_AUDIT_KEY", key); });
    const QString missing = elsewhere.filePath(QStringLiteral("none.key"));
    qputenv("SALEINVOICE_AUDIT_KEY", QFile::encodeName(missing));
    try {
        Transaction t = db().writerTransaction();
        db().exec(
            QStringLiteral("insert into tblZelorRelatedForms (ReferenceFormID, "
                           "ReferenceFormTypeID, RelatedFormID, RelatedFormTypeID) values "
                           "(1, 901, 2, 802)"));
        writeEvent(2, now);
        t.commit();
        ADD_FAILURE() << "an event was written without the key";
    } catch (const SqlError& e) {
        EXPECT_TRUE(e.driverText().contains(missing)) << e.driverText().toStdString();
    }
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from tblZelorFormEvent")).toInt(), 1);
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from tblZelorRelatedForms")).toInt(), 0);
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_THROW(verify(), SqlError);
}

// Inside a save's writer transaction or a plain one, an event is a part of it: rolled back with
// it, and the next event takes the place it would have had.
TEST_P(EventChainTest, EventsInsideATransactionStandOrFallWithIt) {
    {
        Transaction t = db().writerTransaction();
        writeEvents(2);
        t.commit();
    }
    {
        Transaction t = db().transaction();
        writeEvent(3, now);
    }
    {
        Transaction t = db().transaction();
        writeEvent(4, now);
        t.commit();
    }
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from tblZelorFormEvent")).toInt(), 3);
    EXPECT_EQ(db().scalar(QStringLiteral("select FormCode from tblZelorFormEvent where ChainSeq "
                                         "= 3"))
                  .toInt(),
              4);
    EXPECT_TRUE(verify().intact());
}

TEST_P(EventChainTest, TwoProcessesWritingAtOnceLeaveOneChain) {
    constexpr int kEach = 100;
    QProcess writers[2];
    for (int i = 0; i < 2; ++i)
        writers[i].start(QStringLiteral(EVENT_WRITER_EXE),
                         {database->connectionString(), QString::number(kEach),
                          QStringLiteral("writer%1").arg(i)});
    for (QProcess& w : writers) {
        ASSERT_TRUE(w.waitForFinished(120000));
        EXPECT_EQ(w.exitCode(), 0) << w.readAllStandardError().toStdString();
    }
    EXPECT_EQ(db().scalar(QStringLiteral("select count(distinct ChainSeq) from tblZelorFormEvent "
                                         "where ChainSeq between 1 and ?"),
                          {2 * kEach})
                  .toInt(),
              2 * kEach);
    const EventChainReport report = verify();
    EXPECT_TRUE(report.intact()) << report.message.toStdString();
    EXPECT_EQ(report.checked, 2 * kEach);
}

SI_INSTANTIATE_BACKENDS(EventChainTest);

}  // namespace
}  // namespace si
