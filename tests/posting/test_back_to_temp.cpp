// cmdBackToTemp and the back-to-temp component: what a return removes of a final invoice (and
// nothing of another's), each refusal in its order with nothing changed, the component deciding
// finality and a closed turn again under its lock, a failure part way that leaves every table as
// it was, and the fresh code of a later final save.

#include "PostingTestSupport.h"
#include "common/Lookups.h"
#include "posting/BackToTemp.h"
#include "suite/BackToTempState.h"
#include "suite/CashTurnManager.h"
#include "support/MissingObject.h"

namespace si::test {
namespace {

const QString kFailedHead = QStringLiteral("بازگشت به حالت موقت انجام نشد");

class BackToTempTest : public PostingTest {
protected:
    void SetUp() override {
        PostingTest::SetUp();
        enablePosting();
        messages.alwaysAnswer(true);
    }

    // Shop mode with an open turn of the user's own box: cash sales book into it.
    void useShop() {
        useParameter(P::ShopMode, QStringLiteral("1"));
        cash = static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblRecPayCash (Name) values (?) RETURNING ID"),
            {QStringLiteral("صندوق جلو")}));
        db().exec(QStringLiteral("insert into tblRecPayCashUser (CashID, UserID) values (?, ?)"),
                  {cash, ctx.globals.CurrentUserID});
        turn = suite::CashTurnManager(db(), ctx.globals.CurrentUserID).OpenTurn(cash).id;
        installSave();
    }
    // A final sale saved through the form; cash or credit.
    int finalSale(qint64 total, bool cashSale) {
        newInvoice(total);
        if (!cashSale) form->doc().sltPaidByCash.setIDQuietly(2, QString());
        EXPECT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
        return savedID();
    }
    // cmdBackToTemp on the invoice shown in the form, as the clerk clicks it, with the answers
    // to its questions queued.
    void clickBackToTemp(int id, std::initializer_list<bool> answers = {}) {
        ASSERT_TRUE(form->ShowInvoiceByID(id));
        messages.clear();
        for (bool yes : answers)
            messages.answer(yes);
        form->cmdBackToTemp_Click();
    }
    // A user who holds only the rights given; the form's session acts for him from now on.
    void actAs(std::initializer_list<int> rights) {
        ctx.globals.CurrentUserID = addUser(QStringLiteral("صندوقدار"), false, rights);
    }
    int countWhere(const QString& table, const QString& condition, const Params& params) {
        return db()
            .scalar(QStringLiteral("select count(*) from ") + table + QStringLiteral(" where ") +
                        condition,
                    params)
            .toInt();
    }
    int dispatchesOf(int id) {
        return countWhere(QStringLiteral("tblInventoryDispatch"),
                          QStringLiteral("FormTypeID = 901 and FormID = ?"), {id});
    }
    int documentRowsOf(int id) {
        return countWhere(QStringLiteral("tblAccountDocumentDetail"),
                          QStringLiteral("FormTypeID = 901 and FormID = ?"), {id});
    }
    int cashRowsOf(int id) {
        return countWhere(QStringLiteral("tblRecPayCashTurnDetail"),
                          QStringLiteral("FormTypeID = 901 and FormID = ?"), {id});
    }
    int linksOf(int id) {
        return countWhere(QStringLiteral("tblZelorRelatedForms"),
                          QStringLiteral("(ReferenceFormTypeID = 901 and ReferenceFormID = ?) or "
                                         "(RelatedFormTypeID = 901 and RelatedFormID = ?)"),
                          {id, id});
    }
    int dispatchOf(int id) {
        return db()
            .scalar(QStringLiteral("select ID from tblInventoryDispatch where FormTypeID = 901 "
                                   "and FormID = ?"),
                    {id})
            .toInt();
    }
    // A trace row on the invoice's dispatch, as the inventory module records one.
    void traceDispatchOf(int id) {
        db().exec(QStringLiteral("insert into tblInventoryDispatchDetailTrace (DispatchID, "
                                 "Barcode, ScaleID, Qty, ScaleQty, Sequence) values (?, '1001', "
                                 "?, 1, 1, 1)"),
                  {dispatchOf(id), unit});
    }
    int addAssignment(int id) {
        return static_cast<int>(db().insertReturningId(
            QStringLiteral(
                "insert into tblSaleAssignment (Code, SaleInvoiceID) values (1, ?) RETURNING ID"),
            {id}));
    }
    // Every row of the tables a return touches, as text, sorted.
    QStringList snapshot() {
        static const char* tables[] = {"tblSaleInvoice",
                                       "tblAccountDocument",
                                       "tblAccountDocumentDetail",
                                       "tblAccountDocumentObjects",
                                       "tblInventoryDispatch",
                                       "tblInventoryDispatchDetail",
                                       "tblInventoryDispatchDetailTrace",
                                       "tblRecPayCashTurnDetail",
                                       "tblZelorRelatedForms",
                                       "tblZelorFormEvent"};
        QStringList out;
        for (const char* table : tables)
            for (const Row& r :
                 db().query(QStringLiteral("select * from ") + QLatin1String(table))) {
                QStringList cells;
                for (int c = 0; c < r.size(); ++c)
                    cells << r.at(c).toString();
                out << QLatin1String(table) + QLatin1Char(':') + cells.join(u'|');
            }
        out.sort();
        return out;
    }
    RowSet returnEvents() {
        return db().query(QStringLiteral("select * from tblZelorFormEvent where EventTypeID = ? "
                                         "order by ID"),
                          {EventType::InvoiceBackToTemp});
    }
    // The component as another module of the ERP would call it.
    QString runComponent(int formId, int formTypeId = 901) {
        auto component = components.create(kBackToTempProgId);
        EXPECT_TRUE(component);
        SetProperties(*component, {{"UserID", ctx.globals.CurrentUserID},
                                   {"OLEConnectionString", ctx.globals.CurrentConnectionString},
                                   {"FormID", formId},
                                   {"FormTypeID", formTypeId}});
        EXPECT_TRUE(Invoke(*component, "ClearShow"));
        return component->property("ErrorMessage").toString();
    }

    int cash = 0;
    qint64 turn = 0;
};

TEST_P(BackToTempTest, ShopCashSaleLosesItsTurnRowDispatchAndLinksOnly) {
    useShop();
    const int sold = finalSale(12000, true);
    const int other = finalSale(7000, true);
    traceDispatchOf(sold);
    traceDispatchOf(other);
    const int soldDispatch = dispatchOf(sold);
    // The store version asks nothing about sale assignments.
    addAssignment(sold);
    ASSERT_EQ(cashRowsOf(sold), 1);
    ASSERT_GT(linksOf(sold), 0);

    messages.alwaysAnswer(false);
    clickBackToTemp(sold, {true, true});  // sure? and the dispatch that depends on it
    ASSERT_EQ(messages.shown().size(), 2u) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("آيا براي بازگشت مطمئن هستيد؟"));
    EXPECT_EQ(messages.shown()[1].text,
              QStringLiteral("«1» برگه خروج به اين فاکتور وابسته است. به عنوان نمونه ش.ر. «") +
                  QString::number(soldDispatch) +
                  QStringLiteral("». آيا براي عمل بازگشت مطمئن هستيد؟"));
    EXPECT_EQ(messages.shown()[1].caption, QStringLiteral("پرسش"));

    EXPECT_TRUE(storedCode(sold).isNull());
    EXPECT_TRUE(form->doc().txtCode.isEmpty());  // the form shows it again, temporary
    EXPECT_EQ(form->doc().invoiceID(), sold);
    EXPECT_EQ(cashRowsOf(sold), 0);
    EXPECT_EQ(dispatchesOf(sold), 0);
    EXPECT_EQ(countWhere(QStringLiteral("tblInventoryDispatchDetail"),
                         QStringLiteral("DispatchID = ?"), {soldDispatch}),
              0);
    EXPECT_EQ(countWhere(QStringLiteral("tblInventoryDispatchDetailTrace"),
                         QStringLiteral("DispatchID = ?"), {soldDispatch}),
              0);
    EXPECT_EQ(linksOf(sold), 0);
    EXPECT_EQ(count(QStringLiteral("tblSaleAssignment")), 1);

    EXPECT_FALSE(storedCode(other).isNull());
    EXPECT_EQ(cashRowsOf(other), 1);
    EXPECT_EQ(dispatchesOf(other), 1);
    EXPECT_EQ(countWhere(QStringLiteral("tblInventoryDispatchDetailTrace"),
                         QStringLiteral("DispatchID = ?"), {dispatchOf(other)}),
              1);
    EXPECT_GT(linksOf(other), 0);

    const RowSet events = returnEvents();
    ASSERT_EQ(events.size(), 1);
    EXPECT_EQ(events.first().toInt(u"FormCode"), sold);
    EXPECT_EQ(events.first().toInt(u"FormTypeID"), 901);
    EXPECT_EQ(events.first().toInt(u"UserID"), ctx.globals.CurrentUserID);
    EXPECT_EQ(events.first().text(u"Description"),
              QStringLiteral("فاكتور فروش كالا به شماره رايانهاي ") + QString::number(sold) +
                  QStringLiteral(" به حالت موقت بازگشت."));
}

TEST_P(BackToTempTest, CreditSaleLosesItsDocumentAndDispatchAndALaterFinalSaveTakesTheNextCode) {
    const int sold = finalSale(12000, false);
    const int other = finalSale(7000, false);
    ASSERT_EQ(storedCode(sold).toInt(), 1);
    ASSERT_EQ(storedCode(other).toInt(), 2);
    const int soldDocument = db().scalar(QStringLiteral("select DocumentID from "
                                                        "tblAccountDocumentDetail where "
                                                        "FormTypeID = 901 and FormID = ?"),
                                         {sold})
                                 .toInt();
    ASSERT_GT(soldDocument, 0);
    const int otherRows = documentRowsOf(other);
    ASSERT_GT(otherRows, 0);

    clickBackToTemp(sold);
    EXPECT_TRUE(storedCode(sold).isNull()) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(documentRowsOf(sold), 0);
    EXPECT_EQ(
        countWhere(QStringLiteral("tblAccountDocument"), QStringLiteral("ID = ?"), {soldDocument}),
        0);
    EXPECT_EQ(countWhere(QStringLiteral("tblAccountDocumentObjects"),
                         QStringLiteral("DocumentID = ?"), {soldDocument}),
              0);
    EXPECT_EQ(dispatchesOf(sold), 0);
    EXPECT_EQ(documentRowsOf(other), otherRows);
    EXPECT_EQ(dispatchesOf(other), 1);
    EXPECT_EQ(count(QStringLiteral("tblAccountDocument")), 1);

    // Saved final again, it draws the next code of the series and is posted afresh.
    ASSERT_TRUE(form->ShowInvoiceByID(sold));
    form->cmdEdit_Click();
    ASSERT_EQ(form->FormMode(), kModeEdit);
    ASSERT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(storedCode(sold).toInt(), 3);
    EXPECT_EQ(dispatchesOf(sold), 1);
    EXPECT_GT(documentRowsOf(sold), 0);
}

TEST_P(BackToTempTest, ADocumentSharedWithAnotherFormKeepsItsOtherRows) {
    const int sold = finalSale(12000, false);
    const int document = db().scalar(QStringLiteral("select DocumentID from "
                                                    "tblAccountDocumentDetail where FormID = ?"),
                                     {sold})
                             .toInt();
    db().exec(QStringLiteral("insert into tblAccountDocumentDetail (DocumentID, RowNumber, "
                             "AccountID, DebitValue, CreditValue, FormID, FormTypeID) values (?, "
                             "90, ?, 0, 0, 5, 201)"),
              {document, account("7001")});
    clickBackToTemp(sold);
    EXPECT_TRUE(storedCode(sold).isNull()) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(
        countWhere(QStringLiteral("tblAccountDocument"), QStringLiteral("ID = ?"), {document}), 1);
    EXPECT_EQ(countWhere(QStringLiteral("tblAccountDocumentDetail"),
                         QStringLiteral("DocumentID = ?"), {document}),
              1);
}

TEST_P(BackToTempTest, ADispatchTheInvoiceWasMadeFromIsReleasedNotRemoved) {
    const int sold = finalSale(12000, false);
    const int dispatch = dispatchOf(sold);
    db().exec(QStringLiteral("update tblSaleInvoice set IsFromDispatch = 1 where ID = ?"), {sold});
    db().exec(QStringLiteral("update tblInventoryDispatch set Notes = ? where ID = ?"),
              {QStringLiteral("حواله انبار") +
                   QStringLiteral("سند ايجاد شده از روي فاكتور فروش كالا به شماره رايانه اي ") +
                   QString::number(sold),
               dispatch});
    const int lines = countWhere(QStringLiteral("tblInventoryDispatchDetail"),
                                 QStringLiteral("DispatchID = ?"), {dispatch});
    clickBackToTemp(sold);
    EXPECT_TRUE(storedCode(sold).isNull()) << messages.texts().join(u'\n').toStdString();
    const auto row = db().first(
        QStringLiteral("select Notes, FormID, FormTypeID from tblInventoryDispatch where ID = ?"),
        {dispatch});
    ASSERT_TRUE(row);
    EXPECT_EQ(row->text(u"Notes"), QStringLiteral("حواله انبار"));
    EXPECT_TRUE(row->isNull(u"FormID"));
    EXPECT_TRUE(row->isNull(u"FormTypeID"));
    EXPECT_EQ(countWhere(QStringLiteral("tblInventoryDispatchDetail"),
                         QStringLiteral("DispatchID = ?"), {dispatch}),
              lines);
    EXPECT_GT(lines, 0);
}

// Each refusal in its order: its message, and not a row changed.
TEST_P(BackToTempTest, RightQuestionAndFinalityComeFirst) {
    const int sold = finalSale(12000, false);
    newInvoice();
    ASSERT_TRUE(save->SaveInvoice(false));
    const int temporary = savedID();
    const QStringList before = snapshot();

    actAs({});
    clickBackToTemp(sold);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().text, kNoRightMessage);
    EXPECT_EQ(messages.last().caption, QStringLiteral("خطا"));

    actAs({Right::BackToTemp, Right::BackToTempWithDependants});
    messages.alwaysAnswer(false);
    clickBackToTemp(sold);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, QStringLiteral("پرسش"));
    EXPECT_EQ(snapshot(), before);

    messages.alwaysAnswer(true);
    clickBackToTemp(temporary);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("فاكتور فروش بايد در وضعيت ثبت قطعي باشد تا بتوان بازگشت زد!"));
    EXPECT_EQ(messages.last().caption, QStringLiteral("اشكال"));
    EXPECT_EQ(snapshot(), before);
    // The component, called for it directly, refuses as well, and for an invoice not stored.
    EXPECT_EQ(runComponent(temporary),
              QStringLiteral("فاكتور فروش بايد در وضعيت ثبت قطعي باشد تا بتوان بازگشت زد!"));
    EXPECT_FALSE(runComponent(temporary + 100).isEmpty());
    EXPECT_FALSE(runComponent(sold, 903).isEmpty());
    EXPECT_EQ(snapshot(), before);
}

TEST_P(BackToTempTest, AClosedTurnRefusesWithItsCountHereAndInTheComponent) {
    useShop();
    const int sold = finalSale(12000, true);
    suite::CashTurnManager(db(), ctx.globals.CurrentUserID).CloseTurn(turn);
    const QStringList before = snapshot();
    const QString closed = QStringLiteral(
        "اين فاکتور فروش به ”1 “ نوبت صندوق بسته شده متعلق است. بنابراين امکان "
        "بازگشت آن به حالت موقت وجود ندارد.");
    clickBackToTemp(sold);
    EXPECT_EQ(messages.last().text, closed);
    EXPECT_EQ(messages.last().caption, QStringLiteral("خطا"));
    EXPECT_EQ(runComponent(sold), closed);
    EXPECT_EQ(snapshot(), before);
}

// The turn closes on another workstation while the clerk answers the last question: the
// component decides it again under its lock.
TEST_P(BackToTempTest, ATurnClosedAfterTheChecksIsRefusedByTheComponent) {
    useShop();
    const int sold = finalSale(12000, true);
    messages.onShown = [&] {
        if (messages.shown().size() == 2)
            suite::CashTurnManager(db(), ctx.globals.CurrentUserID).CloseTurn(turn);
    };
    clickBackToTemp(sold);
    messages.onShown = nullptr;
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("نوبت صندوق بسته شده")))
        << messages.texts().join(u'\n').toStdString();
    EXPECT_FALSE(storedCode(sold).isNull());
    // Closing wrote the turn only.
    EXPECT_EQ(cashRowsOf(sold), 1);
    EXPECT_EQ(dispatchesOf(sold), 1);
    EXPECT_TRUE(returnEvents().empty());
}

TEST_P(BackToTempTest, SaleAssignmentsAreRefusedOrAskedByRight90131) {
    const int sold = finalSale(12000, false);
    const int first = addAssignment(sold);
    addAssignment(sold);
    const QStringList before = snapshot();
    const QString head = QStringLiteral("«2» حواله فروش به اين فاکتور وابسته است.");
    const QString example = QStringLiteral("به عنوان نمونه ش.ر. «") + QString::number(first);

    actAs({Right::BackToTemp});
    clickBackToTemp(sold);
    EXPECT_EQ(messages.last().text,
              head + QStringLiteral(" بنابراين امکان بازگشت آن به حالت موقت وجود ندارد. ") +
                  example + QStringLiteral("»"));
    EXPECT_EQ(messages.last().caption, QStringLiteral("خطا"));
    EXPECT_EQ(snapshot(), before);

    actAs({Right::BackToTemp, Right::BackToTempWithDependants});
    messages.alwaysAnswer(false);
    clickBackToTemp(sold, {true});
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.last().text,
              head + u' ' + example + QStringLiteral("». آيا براي عمل بازگشت مطمئن هستيد؟"));
    EXPECT_EQ(messages.last().caption, QStringLiteral("پرسش"));
    EXPECT_EQ(snapshot(), before);

    // Parameter 4403 skips the check: the dispatch is the next question.
    useParameter(P::DeleteRule, QStringLiteral("1"));
    clickBackToTemp(sold, {true});
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("برگه خروج")));
    EXPECT_EQ(snapshot(), before);
}

TEST_P(BackToTempTest, DispatchesAreRefusedOrAskedByRight90131) {
    const int sold = finalSale(12000, false);
    const QString dispatch = QString::number(dispatchOf(sold));
    const QStringList before = snapshot();

    actAs({Right::BackToTemp});
    clickBackToTemp(sold);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("«1» برگه خروج به اين فاکتور وابسته است. بنابراين امکان بازگشت آن "
                             "به حالت موقت وجود ندارد. به عنوان نمونه ش.ر. «") +
                  dispatch + QStringLiteral("»"));
    EXPECT_EQ(messages.last().caption, QStringLiteral("خطا"));
    EXPECT_EQ(snapshot(), before);

    actAs({Right::BackToTemp, Right::BackToTempWithDependants});
    messages.alwaysAnswer(false);
    clickBackToTemp(sold, {true});
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.last().caption, QStringLiteral("پرسش"));
    EXPECT_EQ(snapshot(), before);

    clickBackToTemp(sold, {true, true});
    EXPECT_TRUE(storedCode(sold).isNull()) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(returnEvents().first().toInt(u"UserID"), ctx.globals.CurrentUserID);
}

// A failure at any step after the first write rolls the whole return back.
TEST_P(BackToTempTest, AFailurePartWayLeavesEveryTableAsItWas) {
    useShop();
    const int sold = finalSale(12000, true);
    traceDispatchOf(sold);
    const QStringList before = snapshot();
    for (const char* table :
         {"tblInventoryDispatchDetailTrace", "tblZelorRelatedForms", "tblZelorFormEvent"}) {
        SCOPED_TRACE(table);
        ASSERT_TRUE(form->ShowInvoiceByID(sold));
        messages.clear();
        {
            const MissingObject missing(*database, QString::fromLatin1(table));
            form->cmdBackToTemp_Click();
            EXPECT_TRUE(messages.last().text.startsWith(kFailedHead))
                << messages.texts().join(u'\n').toStdString();
            EXPECT_EQ(messages.last().caption, QStringLiteral("خطا"));
        }
        EXPECT_EQ(snapshot(), before);
        EXPECT_FALSE(form->doc().txtCode.isEmpty());
    }
    clickBackToTemp(sold);
    EXPECT_TRUE(storedCode(sold).isNull()) << messages.texts().join(u'\n').toStdString();
}

SI_INSTANTIATE_BACKENDS(BackToTempTest);

}  // namespace
}  // namespace si::test
