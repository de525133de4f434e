// cmdBatchDelete over a result of every kind of invoice: only the temporary ones outside every
// distribution sheet go, with their sale orders; the reason is asked before anything goes; one
// invoice that fails leaves the others to go; each invoice is told.

#include "SearchBatchSupport.h"
#include "common/Codes.h"
#include "search/SearchBatchTexts.h"

namespace si::test {
namespace {

class SearchBatchDeleteTest : public SearchBatchTest {
protected:
    void SetUp() override {
        SearchBatchTest::SetUp();
        plain = storedInvoice(1000);
        ordered = storedInvoice(2000);
        finalized = storedInvoice(3000);
        distributed = storedInvoice(4000);
        order = db().insertReturningId(
            QStringLiteral(
                "insert into tblSaleOrder (Code, CustomerID) values (77, ?) RETURNING ID"),
            {customer});
        db().exec(
            QStringLiteral("insert into tblSaleOrderDetail (OrderID, RowNumber, Barcode, Qty) "
                           "values (?, 1, '1001', 1)"),
            {order});
        db().exec(QStringLiteral("update tblSaleInvoice set SaleOrderID = ? where ID = ?"),
                  {order, ordered});
        db().exec(QStringLiteral("update tblSaleInvoice set Code = 501 where ID = ?"), {finalized});
        const qint64 sheet = db().insertReturningId(
            QStringLiteral("insert into tblDistributionInvoice (Code) values (9) RETURNING ID"));
        db().exec(
            QStringLiteral("update tblSaleInvoice set DistributionInvoiceID = ? where ID = ?"),
            {sheet, distributed});
        search();
        messages.clear();
    }
    bool stored(qint64 id) {
        return db().scalar(QStringLiteral("select count(*) from tblSaleInvoice where ID = ?"), {id})
                   .toInt() == 1;
    }
    int rows(const char* table, const char* column, qint64 id) {
        return db()
            .scalar(QStringLiteral("select count(*) from ") + QLatin1String(table) +
                        QStringLiteral(" where ") + QLatin1String(column) + QStringLiteral(" = ?"),
                    {id})
            .toInt();
    }
    void addReasons() {
        for (int sequence : {1, 2})
            db().exec(
                QStringLiteral("insert into tblZelorFormEventReasonType (EventTypeID, "
                               "Sequence, Description) values (?, ?, ?)"),
                {EventType::InvoiceDeleted, sequence, QStringLiteral("علت %1").arg(sequence)});
    }
    // The database refuses to delete this invoice's row.
    void refuseDeleting(qint64 id) {
        if (db().isSqlite()) {
            db().exec(QStringLiteral("CREATE TRIGGER refuse_delete BEFORE DELETE ON tblSaleInvoice "
                                     "WHEN old.ID = %1 BEGIN SELECT RAISE(ABORT, 'refused'); END")
                          .arg(id));
            return;
        }
        db().exec(
            QStringLiteral("CREATE OR REPLACE FUNCTION refuse_delete() RETURNS trigger AS $$ BEGIN "
                           "RAISE EXCEPTION 'refused'; END $$ LANGUAGE plpgsql"));
        db().exec(QStringLiteral("DROP TRIGGER IF EXISTS refuse_delete ON tblSaleInvoice"));
        db().exec(QStringLiteral("CREATE TRIGGER refuse_delete BEFORE DELETE ON tblSaleInvoice FOR "
                                 "EACH ROW WHEN (old.ID = %1) EXECUTE FUNCTION refuse_delete()")
                      .arg(id));
    }
    qint64 plain = 0, ordered = 0, finalized = 0, distributed = 0, order = 0;
};

TEST_P(SearchBatchDeleteTest, OnlyTheTemporaryUndistributedGoWithTheirOrders) {
    ASSERT_EQ(result->rowCount(), 4);
    messages.answerYes();
    const BatchDeleteOutcome outcome = batch().cmdBatchDelete();
    EXPECT_TRUE(outcome.ran);
    EXPECT_EQ(outcome.deleted, (QList<qint64>{ordered, plain}));  // the newest first
    EXPECT_EQ(outcome.kept, (QList<qint64>{distributed, finalized}));
    EXPECT_TRUE(outcome.failed.isEmpty());
    EXPECT_FALSE(stored(plain));
    EXPECT_FALSE(stored(ordered));
    EXPECT_TRUE(stored(finalized));
    EXPECT_TRUE(stored(distributed));
    EXPECT_EQ(rows("tblSaleOrder", "ID", order), 0);
    EXPECT_EQ(rows("tblSaleOrderDetail", "OrderID", order), 0);
    EXPECT_EQ(rows("tblSaleInvoiceDetail", "InvoiceID", plain), 0);
    EXPECT_EQ(result->rowCount(), 2);  // read again

    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.shown()[0].caption, QStringLiteral("اطمينان از حذف فاکتورها"));
    EXPECT_EQ(messages.shown()[0].text, batch::kDeleteQuestion);
    const QString summary = messages.last().text;
    EXPECT_TRUE(summary.startsWith(QStringLiteral("«2» فاكتور حذف شد."))) << summary.toStdString();
    for (qint64 id : {plain, ordered, finalized, distributed})
        EXPECT_TRUE(summary.contains(QString::number(id))) << id;
    // No reasons kept, none asked.
    EXPECT_TRUE(frontEnd.offered.isEmpty());
}

TEST_P(SearchBatchDeleteTest, TheReasonIsAskedBeforeAnythingGoes) {
    addReasons();
    messages.answerYes(2);
    frontEnd.reason = std::nullopt;
    int storedWhenAsked = 0;
    frontEnd.onReason = [&] {
        storedWhenAsked =
            db().scalar(QStringLiteral("select count(*) from tblSaleInvoice")).toInt();
    };
    EXPECT_FALSE(batch().cmdBatchDelete().ran);
    EXPECT_EQ(storedWhenAsked, 4);
    EXPECT_EQ(frontEnd.offered.size(), 2);
    EXPECT_EQ(frontEnd.offered[1].description, QStringLiteral("علت 2"));
    EXPECT_EQ(frontEnd.offered[1].sequence, 2);
    EXPECT_TRUE(stored(plain) && stored(ordered));

    frontEnd.reason = 2;
    const BatchDeleteOutcome outcome = batch().cmdBatchDelete();
    EXPECT_EQ(outcome.deleted.size(), 2);
    for (qint64 id : outcome.deleted)
        EXPECT_EQ(
            db().scalar(QStringLiteral("select ReasonSequence from tblZelorFormEvent where "
                                       "FormTypeID = 901 and EventTypeID = ? and FormCode = ?"),
                        {EventType::InvoiceBatchDeleted, id})
                .toInt(),
            2)
            << id;
}

TEST_P(SearchBatchDeleteTest, AShopKeepsNoReason) {
    addReasons();
    useParameter(P::ShopMode, QStringLiteral("1"));
    messages.answerYes();
    EXPECT_EQ(batch().cmdBatchDelete().deleted.size(), 2);
    EXPECT_TRUE(frontEnd.offered.isEmpty());
}

TEST_P(SearchBatchDeleteTest, OneThatFailsLeavesTheOthersToGo) {
    refuseDeleting(ordered);
    messages.answerYes();
    const BatchDeleteOutcome outcome = batch().cmdBatchDelete();
    EXPECT_EQ(outcome.deleted, QList<qint64>{plain});
    ASSERT_EQ(outcome.failed.size(), 1);
    EXPECT_EQ(outcome.failed[0].first, ordered);
    EXPECT_TRUE(outcome.failed[0].second.contains(QStringLiteral("refused")));
    // Its removal was rolled back whole: the invoice, its lines and its order stay.
    EXPECT_TRUE(stored(ordered));
    EXPECT_GT(rows("tblSaleInvoiceDetail", "InvoiceID", ordered), 0);
    EXPECT_EQ(rows("tblSaleOrder", "ID", order), 1);
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("فاكتور %1 حذف نشد").arg(ordered)));
}

TEST_P(SearchBatchDeleteTest, NoRightNoAnswerOrNothingListedDeletesNothing) {
    asClerk({Right::DeleteInvoice, Right::Search});
    EXPECT_FALSE(batch().cmdBatchDelete().ran);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, QStringLiteral("خطا"));
    EXPECT_EQ(messages.last().text, QStringLiteral("شما مجاز به انجام اين عمليات نيستيد."));

    asClerk({Right::BatchDelete});
    messages.clear();
    messages.answerNo();
    EXPECT_FALSE(batch().cmdBatchDelete().ran);
    EXPECT_EQ(messages.shown().size(), 1u);

    search({{QStringLiteral("txtMinID"), QString::number(distributed + 100)}});
    messages.clear();
    EXPECT_FALSE(batch().cmdBatchDelete().ran);
    EXPECT_EQ(messages.texts(), QStringList{batch::kNothingToDelete});
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from tblSaleInvoice")).toInt(), 4);
}

SI_INSTANTIATE_BACKENDS(SearchBatchDeleteTest);

}  // namespace
}  // namespace si::test
