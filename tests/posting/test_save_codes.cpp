// Final codes: the first of a range, temporary saves that never take one, renumbering of
// later-dated invoices, numbering per accounting period, and a failure inside the save that
// leaves the database exactly as it was.

#include "PostingTestSupport.h"

namespace si::test {
namespace {

class SaveCodesTest : public PostingTest {
protected:
    int finalInvoice(const QDate& date, int code) {
        InvoiceRow r;
        r.date = date;
        r.customer = customer;
        r.inventory = inventory;
        r.type = type;
        r.code = code;
        return AddInvoice(db(), r);
    }
    QVariant codeOf(int id) { return storedCode(id); }
    // Every row of the tables a save touches, in a stable order, as text.
    QStringList snapshot() {
        static const char* tables[] = {
            "tblSaleInvoice",         "tblSaleInvoiceDetail",     "tblSaleInvoiceDetailDiscount",
            "tblSaleInvoiceSucharge", "tblSaleInvoiceShortage",   "tblZelorFormEvent",
            "tblInventoryDispatch",   "tblAccountDocument",       "tblAccountDocumentDetail",
            "tblZelorRelatedForms",   "tblSaleInvoiceDetailTrace"};
        QStringList out;
        for (const char* table : tables) {
            const RowSet rows = db().query(
                QStringLiteral("select * from %1 order by ID").arg(QLatin1String(table)));
            for (const Row& r : rows) {
                QStringList cells;
                for (int c = 0; c < r.size(); ++c)
                    cells << r.at(c).toString();
                out << QLatin1String(table) + QLatin1Char(':') + cells.join(u'|');
            }
        }
        return out;
    }
};

TEST_P(SaveCodesTest, FirstFinalInvoiceOfARangeGetsOneAndTheNextTwo) {
    newInvoice();
    ASSERT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    const int first = savedID();
    EXPECT_EQ(codeOf(first).toInt(), 1);
    EXPECT_EQ(form->doc().txtCode, QStringLiteral("1"));
    newInvoice();
    ASSERT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    EXPECT_NE(savedID(), first);
    EXPECT_EQ(codeOf(savedID()).toInt(), 2);
}

// A temporary save leaves Code NULL, also for an invoice that was final and returned to temp,
// and writes nothing into the postings.
TEST_P(SaveCodesTest, TemporarySaveNeverAssignsACodeNorPosts) {
    newInvoice();
    ASSERT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    const int id = savedID();
    ASSERT_EQ(codeOf(id).toInt(), 1);
    db().exec(QStringLiteral("update tblSaleInvoice set Code = null where ID = ?"), {id});
    const int dispatches = count(QStringLiteral("tblInventoryDispatch"));
    const int documents = count(QStringLiteral("tblAccountDocument"));
    const int relations = count(QStringLiteral("tblZelorRelatedForms"));
    ASSERT_TRUE(form->ShowInvoiceByID(id));
    form->cmdEdit_Click();
    ASSERT_EQ(form->FormMode(), kModeEdit);
    ASSERT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(savedID(), id);
    EXPECT_TRUE(codeOf(id).isNull());
    EXPECT_TRUE(form->doc().txtCode.isEmpty());
    EXPECT_EQ(count(QStringLiteral("tblInventoryDispatch")), dispatches);
    EXPECT_EQ(count(QStringLiteral("tblAccountDocument")), documents);
    EXPECT_EQ(count(QStringLiteral("tblZelorRelatedForms")), relations);
}

// An invoice dated before final ones: with right 90114 and Yes it takes the first later code
// and the later ones move up; No, or no right, stops with nothing changed.
struct RenumberCase {
    const char* name;
    bool right;
    bool answerYes;
    bool saved;
    int newCode;
    std::vector<int> laterCodes;  // of the invoices dated 12/05, 12/07, 12/08
};

TEST_P(SaveCodesTest, EarlierDatedFinalSaveRenumbersOnlyWithRightAndYes) {
    const std::vector<RenumberCase> cases{
        {"right and yes", true, true, true, 2, {1, 3, 4}},
        {"right and no", true, false, false, -1, {1, 2, 3}},
        {"no right", false, false, false, -1, {1, 2, 3}},
    };
    const int admin = ctx.globals.CurrentUserID;
    for (const RenumberCase& c : cases) {
        SCOPED_TRACE(c.name);
        db().exec(QStringLiteral("delete from tblSaleInvoice"));
        const std::vector<int> others{finalInvoice(QDate(2026, 12, 5), 1),
                                      finalInvoice(QDate(2026, 12, 7), 2),
                                      finalInvoice(QDate(2026, 12, 8), 3)};
        if (!c.right) {
            ctx.globals.CurrentUserID = addUser(QStringLiteral("فروشنده"), false, {90106});
            GrantInventory(db(), ctx.globals.CurrentUserID, inventory, true);
            GrantInvoiceType(db(), ctx.globals.CurrentUserID, type);
        }
        newInvoice(5000, QDate(2026, 12, 6));
        messages.clear();
        messages.answer(c.answerYes);
        EXPECT_EQ(save->SaveInvoice(true), c.saved) << messages.texts().join(u'\n').toStdString();
        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(messages.shown().front().caption,
                  c.right ? QStringLiteral("هشدار") : QStringLiteral("خطا"));
        if (c.saved)
            EXPECT_EQ(codeOf(savedID()).toInt(), c.newCode);
        else
            EXPECT_EQ(count(QStringLiteral("tblSaleInvoice")), 3);
        for (size_t i = 0; i < others.size(); ++i)
            EXPECT_EQ(codeOf(others[i]).toInt(), c.laterCodes[i]) << i;
        ctx.globals.CurrentUserID = admin;
        form->cmdCancel_Click();
    }
}

// With parameter 78 the range is the active accounting period: codes of earlier periods neither
// raise the maximum nor move.
TEST_P(SaveCodesTest, FinalCodesAreNumberedPerAccountingPeriod) {
    db().exec(QStringLiteral("insert into tblAccountPeriod (Name, BeginDate, FarsiBeginDate, "
                             "EndDate, FarsiEndDate, IsActive) values ('1405', ?, '1405/01/01', "
                             "?, '1405/12/29', 1)"),
              {QDate(2026, 3, 21), QDate(2027, 3, 20)});
    useParameter(P::PeriodDates, QStringLiteral("1"));
    installSave();
    const int lastYear = finalInvoice(QDate(2026, 3, 1), 40);
    const int later = finalInvoice(QDate(2026, 12, 20), 1);
    newInvoice();
    messages.answerYes();
    ASSERT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(codeOf(savedID()).toInt(), 1);
    EXPECT_EQ(codeOf(later).toInt(), 2);
    EXPECT_EQ(codeOf(lastYear).toInt(), 40);
}

// The header is written, then a statement fails: the renumbering, the header and everything
// else are rolled back, the clerk sees one message with the cause, and the form is unchanged.
TEST_P(SaveCodesTest, FailureAfterTheHeaderLeavesTheDatabaseAsItWas) {
    newInvoice();
    ASSERT_TRUE(save->SaveInvoice(false));
    const int id = savedID();
    const int later = finalInvoice(QDate(2026, 12, 9), 1);
    ASSERT_TRUE(form->ShowInvoiceByID(id));
    form->cmdEdit_Click();
    const QStringList before = snapshot();
    save->afterHeaderWritten = [this] {
        db().exec(QStringLiteral("insert into tblNoSuchTable (ID) values (?)"), {1});
    };
    messages.clear();
    messages.answerYes();
    EXPECT_FALSE(save->SaveInvoice(true));
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(codeOf(later).toInt(), 1);
    EXPECT_EQ(form->doc().txtID, QString::number(id));
    EXPECT_TRUE(form->doc().txtCode.isEmpty());
    EXPECT_EQ(form->FormMode(), kModeEdit);
    EXPECT_EQ(form->doc().flexDetail.filledCount(), 1);
    ASSERT_EQ(messages.shown().size(), 2u) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(messages.last().caption, QStringLiteral("خطا"));
    EXPECT_TRUE(
        messages.last().text.contains(QStringLiteral("tblNoSuchTable"), Qt::CaseInsensitive) ||
        messages.last().text.contains(QStringLiteral("tblnosuchtable")))
        << messages.last().text.toStdString();
    // The same save without the fault succeeds from the state the clerk kept.
    save->afterHeaderWritten = nullptr;
    messages.answerYes();
    ASSERT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(codeOf(id).toInt(), 1);
    EXPECT_EQ(codeOf(later).toInt(), 2);
}

SI_INSTANTIATE_BACKENDS(SaveCodesTest);

}  // namespace
}  // namespace si::test
