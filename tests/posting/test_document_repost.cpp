// cmdSaveAccDoc: the invoice's rows are removed and the invoice is posted again; a header left
// without rows goes, one that still holds other rows stays.

#include <gtest/gtest.h>

#include "common/EventChainCheck.h"
#include "posting/DocumentTestSupport.h"

namespace si::test {
namespace {

class RepostTest : public PostingFixture {
protected:
    void SetUp() override {
        PostingFixture::SetUp();
        useParameter(P::AccountObjects, QStringLiteral("1"));
        newForm();
        invoice = storeInvoice({.lines = {{QStringLiteral("1001"), 2, 1500, 100}}, .branch = 4});
        load(invoice);
        first = post();
        ASSERT_GT(first, 0);
    }
    int repost() { return RepostShownInvoice(form->ctx(), form->doc()); }
    int rowsOf(int document) {
        return count(QStringLiteral("tblAccountDocumentDetail where DocumentID=?"), {document});
    }
    bool headerExists(int document) {
        return count(QStringLiteral("tblAccountDocument where ID=?"), {document}) == 1;
    }

    int invoice = -1;
    int first = -1;
};

TEST_P(RepostTest, ReplacesTheRowsAndDropsTheEmptiedHeader) {
    const int sales = typeAccount[QStringLiteral("CreditAccountID")];
    db().exec(QStringLiteral("insert into tblAccountRelatedClasses (AccountID, ClassID, "
                             "Sequence) values (?, 19, 1)"),
              {sales});
    load(invoice);
    const int second = post();  // a stray second posting, with a branch object on row 1
    ASSERT_EQ(count(QStringLiteral("tblAccountDocumentObjects where DocumentID=?"), {second}), 1);
    const int third = repost();
    ASSERT_GT(third, 0);
    EXPECT_FALSE(headerExists(first));
    EXPECT_FALSE(headerExists(second));
    EXPECT_EQ(count(QStringLiteral("tblAccountDocumentObjects where DocumentID<>?"), {third}), 0);
    EXPECT_EQ(rowNumbers(documentLines(third)), (QVector<int>{1, 2, 3, 9, 10, 12, 13}));
    EXPECT_EQ(count(QStringLiteral("tblAccountDocumentDetail where FormID=? and "
                                   "FormTypeID=901"),
                    {invoice}),
              7);
    EXPECT_EQ(count(QStringLiteral("tblAccountDocumentDetail where DocumentID=? and "
                                   "coalesce(BranchID,0)<>4"),
                    {third}),
              0);
    EXPECT_EQ(doc().lblAccountIDVal, QString::number(third));
    EXPECT_TRUE(messages.empty());
}

TEST_P(RepostTest, HeaderWithOtherRowsStays) {
    db().exec(QStringLiteral("insert into tblAccountDocumentDetail (DocumentID, RowNumber, "
                             "AccountID, DebitValue, CreditValue, FormID, FormTypeID) values "
                             "(?, 50, ?, 0, 0, 1, 950)"),
              {first, customerAccount});
    const int again = repost();
    ASSERT_GT(again, 0);
    EXPECT_NE(again, first);
    EXPECT_TRUE(headerExists(first));
    EXPECT_EQ(rowsOf(first), 1);
}

TEST_P(RepostTest, RefusedWithoutRightOrParameter) {
    ctx.globals.CurrentUserID = addUser(QStringLiteral("حسابدار"), false, {90106});
    EXPECT_EQ(repost(), 0);
    EXPECT_EQ(messages.last().text, kNoRightMessage);
    grant(ctx.globals.CurrentUserID, 90121);
    useParameter(P::AccountObjects, QStringLiteral("0"));
    messages.clear();
    EXPECT_EQ(repost(), 0);
    EXPECT_TRUE(messages.empty());
    useParameter(P::AccountObjects, QStringLiteral("1"));
    doc().txtCode.clear();  // a temporary invoice has no document to post again
    EXPECT_EQ(repost(), 0);
    EXPECT_EQ(rowsOf(first), 7);
}

// A cash sale in the store version is booked into the cash turn, so its rows go and no
// document replaces them.
TEST_P(RepostTest, StoreCashSaleLosesItsDocument) {
    useParameter(P::ShopMode, QStringLiteral("1"));
    ASSERT_NE(doc().sltPaidByCash.ID(), 2);
    EXPECT_EQ(repost(), 0);
    EXPECT_FALSE(headerExists(first));
    EXPECT_EQ(messages.last().caption, QStringLiteral("اشکال"));
    EXPECT_EQ(messages.last().text,
              QStringLiteral("فاکتور فروش فروشگاهي در حالت نقدي، سند حسابداري ندارد بلکه گردش "
                             "صندوق دارد."));
    doc().sltPaidByCash.setID(2);
    EXPECT_GT(repost(), 0);
}

// Posting again what another workstation changed since this form read it would post an
// invoice that is no longer the one shown: refused, and the document stays as it was.
TEST_P(RepostTest, RefusedWhenTheInvoiceChangedElsewhere) {
    struct Case {
        const char* name;
        const char* change;
        const char* reason;
    } cases[] = {
        {"saved elsewhere", "update tblSaleInvoice set RowVersion = RowVersion + 1 where ID = ?",
         "در ايستگاه ديگري تغيير كرده است."},
        {"returned to temporary", "update tblSaleInvoice set Code = null where ID = ?",
         "در ايستگاه ديگري به حالت موقت برگشته است."},
        {"deleted", "delete from tblSaleInvoice where ID = ?", "در ايستگاه ديگري حذف شده است."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        load(invoice);
        db().exec(QString::fromLatin1(c.change), {invoice});
        messages.clear();
        EXPECT_EQ(repost(), 0);
        ASSERT_FALSE(messages.empty());
        EXPECT_TRUE(messages.last().text.contains(QString::fromUtf8(c.reason)))
            << messages.last().text.toStdString();
        EXPECT_EQ(rowsOf(first), 7);
        db().exec(QStringLiteral("update tblSaleInvoice set Code = 1 where ID = ?"), {invoice});
    }
}

// A document issued again is one event of its own in the signed log; a refused re-post writes
// none.
TEST_P(RepostTest, AnIssuedDocumentIsLoggedAsARepost) {
    const QString reposts =
        QStringLiteral("tblZelorFormEvent where EventTypeID = 90104 and ChainSeq is not null");
    load(invoice);
    db().exec(QStringLiteral("update tblSaleInvoice set RowVersion = RowVersion + 1 where ID = ?"),
              {invoice});
    EXPECT_EQ(repost(), 0);
    EXPECT_EQ(count(reposts), 0);
    load(invoice);
    ASSERT_GT(repost(), 0);
    const RowSet events = db().query(
        QStringLiteral("select FormCode, FormTypeID, Description, UserID from ") + reposts);
    ASSERT_EQ(events.size(), 1);
    EXPECT_EQ(events[0].toInt(u"FormCode"), invoice);
    EXPECT_EQ(events[0].toInt(u"FormTypeID"), 901);
    EXPECT_EQ(events[0].toInt(u"UserID"), ctx.globals.CurrentUserID);
    EXPECT_EQ(events[0].text(u"Description"),
              QStringLiteral("سند حسابداري فاكتور فروش كالا به شماره رايانهاي ") +
                  QString::number(invoice) + QStringLiteral(" دوباره صادر شد."));
    EXPECT_TRUE(VerifyEventChain(db()).intact());
}

SI_INSTANTIATE_BACKENDS(RepostTest);

}  // namespace
}  // namespace si::test
