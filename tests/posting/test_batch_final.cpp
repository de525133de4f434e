// The batch final registration of the invoice list: which marked invoices qualify, the codes
// they draw (the single save's series, in date then ID order, per period, renumbering only with
// the right and consent), the refusals, and the transaction: all registered or none, and an
// invoice changed elsewhere after the question read again under the lock.

#include <QTemporaryDir>
#include <memory>

#include "PostingTestSupport.h"
#include "common/Codes.h"
#include "common/EventChainCheck.h"
#include "posting/BatchFinalRegistration.h"
#include "posting/FinalCodes.h"

namespace si::test {
namespace {

const QString kQuestionCaption = QStringLiteral("پرسش");

QString questionFor(int marked) {
    return QStringLiteral("آيا براي قطعي كردن ”") + QString::number(marked) +
           QStringLiteral("“ فاكتور موقت مطمئن هستيد؟");
}
QString registeredText(int n) {
    return QStringLiteral("تعداد <") + QString::number(n) +
           QStringLiteral("> فاكتور ثبت نهايي شدند.");
}

class BatchFinalTest : public PostingTest {
protected:
    int invoice(const QDate& date, qint64 total, const QVariant& code = {},
                const QString& notes = {}) {
        InvoiceRow r;
        r.date = date;
        r.customer = customer;
        r.inventory = inventory;
        r.type = type;
        r.code = code;
        r.notes = notes;
        const int id = AddInvoice(db(), r);
        db().exec(QStringLiteral("update tblSaleInvoice set TotalValue = ? where ID = ?"),
                  {QVariant::fromValue(Money::fromRials(total)), id});
        return id;
    }
    int temporary(const QDate& date, qint64 total = 1000, const QString& notes = {}) {
        return invoice(date, total, {}, notes);
    }
    int final(const QDate& date, int code) { return invoice(date, 1000, code); }
    // The clerk's position with a credit level of `upTo` Rials.
    void creditLevel(qint64 upTo) {
        const qint64 level = db().insertReturningId(
            QStringLiteral("insert into tblSaleCreditLevel (Name, UpToValue) values ('سطح', ?) "
                           "RETURNING ID"),
            {QVariant::fromValue(Money::fromRials(upTo))});
        ctx.globals.CurrentPositionID = static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblPosition (Name, SaleCreditLevelID) values ('فروش', ?) "
                           "RETURNING ID"),
            {level}));
    }
    int registerMarked(const QList<qint64>& ids) {
        return BatchFinalRegistration(ctx).cmdFinalSave(ids);
    }
    int codeOf(int id) { return storedCode(id).isNull() ? -1 : storedCode(id).toInt(); }
    std::vector<int> codesOf(const std::vector<int>& ids) {
        std::vector<int> codes;
        for (int id : ids)
            codes.push_back(codeOf(id));
        return codes;
    }
    int rowVersionOf(int id) {
        return db()
            .scalar(QStringLiteral("select RowVersion from tblSaleInvoice where ID = ?"), {id})
            .toInt();
    }
    void useSalesClerk(std::initializer_list<int> rights) {
        ctx.globals.CurrentUserID = addUser(QStringLiteral("فروشنده"), false, rights);
    }
};

// The third total is one Rial over the position's level and stays temporary; the other two,
// one equal to the level, take the next codes after the highest, the earlier-dated first
// although it was made later. Nothing but the code and the row version is written.
TEST_P(BatchFinalTest, InvoicesOverTheCreditLevelStayTemporaryAndTheOthersTakeTheNextCodes) {
    creditLevel(5000);
    final(QDate(2026, 12, 1), 1);
    final(QDate(2026, 12, 2), 2);
    const int atLevel = temporary(QDate(2026, 12, 6), 5000);
    const int over = temporary(QDate(2026, 12, 4), 5001);
    const int earlier = temporary(QDate(2026, 12, 5), 100);
    const int versionBefore = rowVersionOf(atLevel);
    const int documents = count(QStringLiteral("tblAccountDocument"));
    const int dispatches = count(QStringLiteral("tblInventoryDispatch"));
    messages.answerYes();
    EXPECT_EQ(registerMarked({atLevel, over, earlier}), 2);
    ASSERT_EQ(messages.shown().size(), 2u) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(messages.shown()[0].caption, kQuestionCaption);
    EXPECT_EQ(messages.shown()[0].text, questionFor(3));
    EXPECT_EQ(messages.last().caption, QStringLiteral("اطلاع"));
    EXPECT_EQ(messages.last().text, registeredText(2));
    EXPECT_EQ(codesOf({earlier, atLevel, over}), (std::vector<int>{3, 4, -1}));
    EXPECT_EQ(rowVersionOf(atLevel), versionBefore + 1);
    EXPECT_EQ(count(QStringLiteral("tblAccountDocument")), documents);
    EXPECT_EQ(count(QStringLiteral("tblInventoryDispatch")), dispatches);
}

// A position without a level has no ceiling; invoices of one date go by ID whatever the order
// of the marks; an invoice already final or marked twice counts once.
TEST_P(BatchFinalTest, WithoutALevelAllQualifyAndEqualDatesGoByID) {
    const int first = temporary(QDate(2026, 12, 6), 900000000);
    const int second = temporary(QDate(2026, 12, 6));
    const int third = temporary(QDate(2026, 12, 6));
    const int done = final(QDate(2026, 12, 1), 1);
    messages.answerYes();
    EXPECT_EQ(registerMarked({third, done, first, second, third}), 3);
    EXPECT_EQ(messages.shown()[0].text, questionFor(4));
    EXPECT_EQ(messages.last().text, registeredText(3));
    EXPECT_EQ(codesOf({done, first, second, third}), (std::vector<int>{1, 2, 3, 4}));
}

// With parameter 78 the series is the active period's: codes of an earlier period neither
// raise the maximum nor move.
TEST_P(BatchFinalTest, CodesAreNumberedPerAccountingPeriod) {
    db().exec(QStringLiteral("insert into tblAccountPeriod (Name, BeginDate, FarsiBeginDate, "
                             "EndDate, FarsiEndDate, IsActive) values ('1405', ?, '1405/01/01', "
                             "?, '1405/12/29', 1)"),
              {QDate(2026, 3, 21), QDate(2027, 3, 20)});
    useParameter(P::PeriodDates, QStringLiteral("1"));
    ctx.period = {};  // as a list that no form has opened yet
    const int lastYear = final(QDate(2026, 3, 1), 40);
    const int inPeriod = final(QDate(2026, 4, 1), 1);
    const int a = temporary(QDate(2026, 12, 6));
    const int b = temporary(QDate(2026, 12, 7));
    messages.answerYes();
    EXPECT_EQ(registerMarked({b, a}), 2);
    EXPECT_EQ(codesOf({lastYear, inPeriod, a, b}), (std::vector<int>{40, 1, 2, 3}));
}

// An invoice dated before final ones: renumbered only by a clerk with right 90114 who answers
// Yes to the save's question, asked once; otherwise it stays temporary and is not counted, and
// the later-dated one is registered all the same.
struct RenumberCase {
    const char* name;
    bool right;
    bool answerYes;
    int registered;
    std::vector<int> codes;  // final 12/05, 12/07, 12/08, temporary 12/06, 12/09, 12/06
};

TEST_P(BatchFinalTest, EarlierDatedInvoicesRenumberOnlyWithRightAndYes) {
    const std::vector<RenumberCase> cases{
        {"right and yes", true, true, 3, {1, 4, 5, 2, 6, 3}},
        {"right and no", true, false, 1, {1, 2, 3, -1, 4, -1}},
        {"no right", false, false, 1, {1, 2, 3, -1, 4, -1}},
    };
    const int admin = ctx.globals.CurrentUserID;
    for (const RenumberCase& c : cases) {
        SCOPED_TRACE(c.name);
        db().exec(QStringLiteral("delete from tblSaleInvoice"));
        const std::vector<int> ids{final(QDate(2026, 12, 5), 1),  final(QDate(2026, 12, 7), 2),
                                   final(QDate(2026, 12, 8), 3),  temporary(QDate(2026, 12, 6)),
                                   temporary(QDate(2026, 12, 9)), temporary(QDate(2026, 12, 6))};
        if (!c.right) useSalesClerk({Right::FinalSave});
        messages.clear();
        messages.answerYes();  // the batch question
        messages.answer(c.answerYes);
        EXPECT_EQ(registerMarked({ids[4], ids[3], ids[5]}), c.registered);
        EXPECT_EQ(codesOf(ids), c.codes);
        ASSERT_EQ(messages.shown().size(), c.right ? 3u : 2u)
            << messages.texts().join(u'\n').toStdString();
        if (c.right) {
            EXPECT_EQ(messages.shown()[1].caption, kRenumberCaption);
            EXPECT_EQ(messages.shown()[1].text, kRenumberQuestion);
        }
        EXPECT_EQ(messages.last().text, registeredText(c.registered));
        ctx.globals.CurrentUserID = admin;
    }
}

// The refusals: no right 90106, nothing marked, and No to the question change nothing.
TEST_P(BatchFinalTest, RefusalsAndNoChangeNothing) {
    const int id = temporary(QDate(2026, 12, 6));
    const int version = rowVersionOf(id);
    const int admin = ctx.globals.CurrentUserID;

    useSalesClerk({Right::TempSave, Right::Renumber});
    messages.answerYes();
    EXPECT_EQ(registerMarked({id}), 0);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, kErrorCaption);
    EXPECT_EQ(messages.last().text, kNoRightMessage);
    ctx.globals.CurrentUserID = admin;

    messages.clear();
    messages.answerYes();
    EXPECT_EQ(registerMarked({}), 0);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, QStringLiteral("اشكال"));
    EXPECT_EQ(messages.last().text,
              QStringLiteral("قبل از ثبت نهايي, بايد رديف(هايي) انتخاب شود!"));

    messages.clear();
    messages.answerNo();
    EXPECT_EQ(registerMarked({id}), 0);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, kQuestionCaption);

    EXPECT_EQ(codeOf(id), -1);
    EXPECT_EQ(rowVersionOf(id), version);
}

// A failure at the last invoice, after the others took codes and later ones were renumbered:
// everything is rolled back, the clerk reads the cause, and the same batch succeeds after.
TEST_P(BatchFinalTest, AFailureLeavesEveryInvoiceAsItWas) {
    const int later = final(QDate(2026, 12, 10), 1);
    const int a = temporary(QDate(2026, 12, 6));
    const int b = temporary(QDate(2026, 12, 7));
    const int failing = temporary(QDate(2026, 12, 8), 1000, QStringLiteral("خراب"));
    if (db().isSqlite()) {
        db().exec(
            QStringLiteral("create trigger tr_fail before update of Code on "
                           "tblSaleInvoice when new.Notes = 'خراب' and new.Code is not null "
                           "begin select raise(abort, 'registration refused'); end"));
    } else {
        db().exec(QStringLiteral(
            "create function fn_fail() returns trigger as $$ begin if new.Notes = 'خراب' and "
            "new.Code is not null then raise exception 'registration refused'; end if; return "
            "new; end $$ language plpgsql"));
        db().exec(
            QStringLiteral("create trigger tr_fail before update on tblSaleInvoice for "
                           "each row execute function fn_fail()"));
    }
    messages.answerYes(2);
    EXPECT_EQ(registerMarked({a, b, failing}), 0);
    EXPECT_EQ(codesOf({later, a, b, failing}), (std::vector<int>{1, -1, -1, -1}));
    EXPECT_EQ(messages.last().caption, kErrorCaption);
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("registration refused")))
        << messages.last().text.toStdString();
    EXPECT_FALSE(messages.anyContains(registeredText(0)));

    db().exec(QStringLiteral("update tblSaleInvoice set Notes = null where ID = ?"), {failing});
    messages.clear();
    messages.answerYes(2);
    EXPECT_EQ(registerMarked({a, b, failing}), 3);
    EXPECT_EQ(codesOf({a, b, failing, later}), (std::vector<int>{1, 2, 3, 4}));
}

// While the clerk reads the renumbering question, the last before the transaction, another
// workstation finalises one marked invoice and raises another's total over the level: the batch
// reads them again under the lock and leaves both, the first keeping the other's code.
TEST_P(BatchFinalTest, InvoicesChangedElsewhereAfterTheQuestionsAreLeftAlone) {
    creditLevel(5000);
    const int later = final(QDate(2026, 12, 10), 1);
    const int kept = temporary(QDate(2026, 12, 6));
    const int finalisedElsewhere = temporary(QDate(2026, 12, 5));
    const int raisedElsewhere = temporary(QDate(2026, 12, 4));
    auto other = Session::open(database->connectionString());
    messages.onShown = [&] {
        if (messages.shown().size() != 2) return;
        other->exec(QStringLiteral("update tblSaleInvoice set Code = Code + 1 where Code >= 1"));
        other->exec(QStringLiteral("update tblSaleInvoice set Code = 1 where ID = ?"),
                    {finalisedElsewhere});
        other->exec(QStringLiteral("update tblSaleInvoice set TotalValue = ? where ID = ?"),
                    {QVariant::fromValue(Money::fromRials(6000)), raisedElsewhere});
    };
    messages.answerYes(2);
    EXPECT_EQ(registerMarked({kept, finalisedElsewhere, raisedElsewhere}), 1);
    messages.onShown = nullptr;
    ASSERT_EQ(messages.shown().size(), 3u) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(messages.shown()[1].text, kRenumberQuestion);
    EXPECT_EQ(codesOf({finalisedElsewhere, kept, later, raisedElsewhere}),
              (std::vector<int>{1, 2, 3, -1}));
    EXPECT_EQ(messages.last().text, registeredText(1));
}

// Each invoice registered is one event of its own in the signed log, written with its code; a
// registration that fails writes none.
TEST_P(BatchFinalTest, EachRegisteredInvoiceIsLoggedOnce) {
    const int a = temporary(QDate(2026, 12, 6));
    const int b = temporary(QDate(2026, 12, 7));
    const int unmarked = temporary(QDate(2026, 12, 8));
    const QString eventsOfType =
        QStringLiteral("tblZelorFormEvent where EventTypeID = 90107 and ChainSeq is not null");
    messages.answerYes(2);
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("none.key"));
    {
        const QByteArray key = qgetenv("SALEINVOICE_AUDIT_KEY");
        qputenv("SALEINVOICE_AUDIT_KEY", QFile::encodeName(missing));
        EXPECT_EQ(registerMarked({a, b}), 0);
        qputenv("SALEINVOICE_AUDIT_KEY", key);
    }
    EXPECT_EQ(codesOf({a, b}), (std::vector<int>{-1, -1}));
    EXPECT_TRUE(messages.last().text.contains(missing)) << messages.last().text.toStdString();
    EXPECT_EQ(count(eventsOfType), 0);
    messages.clear();
    messages.answerYes(2);
    EXPECT_EQ(registerMarked({b, a}), 2);
    const RowSet events =
        db().query(QStringLiteral("select FormCode, FormTypeID, Description, UserID from ") +
                   eventsOfType + QStringLiteral(" order by ChainSeq"));
    ASSERT_EQ(events.size(), 2);
    for (int i = 0; i < 2; ++i) {
        const int id = i == 0 ? a : b;
        EXPECT_EQ(events[i].toInt(u"FormCode"), id);
        EXPECT_EQ(events[i].toInt(u"FormTypeID"), 901);
        EXPECT_EQ(events[i].toInt(u"UserID"), ctx.globals.CurrentUserID);
        EXPECT_EQ(events[i].text(u"Description"),
                  QStringLiteral("فاكتور فروش كالا به شماره رايانهاي ") + QString::number(id) +
                      QStringLiteral(" در ثبت گروهي قطعي شد."));
    }
    EXPECT_EQ(codeOf(unmarked), -1);
    EXPECT_TRUE(VerifyEventChain(db()).intact());
}

SI_INSTANTIATE_BACKENDS(BatchFinalTest);

}  // namespace
}  // namespace si::test
