// The checks that depend on the kind of save: the customer's account and debit ceiling of a
// final credit sale (and their absence from a temporary one), the store version's wholesale
// question, cash turn and duplicate rule, traced goods, and the notices of a final save.

#include "PostingTestSupport.h"

namespace si::test {
namespace {

class SaveFinalChecksTest : public PostingTest {
protected:
    // The customer's own leaf account in a group that sales post to, with a credit ceiling.
    int openCustomerAccount(qint64 credit) {
        const int account = static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblAccount (Code, Title, AccountGroupID, IsClosed) values "
                           "('1101', 'حساب مشتري', 5, 0) RETURNING ID")));
        db().exec(QStringLiteral("insert into tblAccountRelatedObjects (AccountID, "
                                 "RelatedClassID, RelatedObjectID, AccountGroupID) values (?, 7, "
                                 "?, 5)"),
                  {account, customer});
        db().exec(
            QStringLiteral("insert into tblAccountAutomaticDocFormat (AccountGroupID, "
                           "ClassID, AutomaticEventID, AccountNatureID) values (5, 7, 201, "
                           "0)"));
        db().exec(QStringLiteral("insert into tblDistributionOrganization (OrganizationID, "
                                 "EnableCredit, Credit) values (?, 1, ?)"),
                  {customer, QVariant::fromValue(Money::fromRials(credit))});
        return account;
    }
    void postDebit(int account, qint64 debit) {
        const int document = static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblAccountDocument (Code, DocumentDate, IsFinalized, "
                           "IsPreDocument) values (1, ?, 0, 0) RETURNING ID"),
            {QDate(2026, 12, 1)}));
        db().exec(QStringLiteral("insert into tblAccountDocumentDetail (DocumentID, RowNumber, "
                                 "AccountID, DebitValue, CreditValue) values (?, 1, ?, ?, 0)"),
                  {document, account, QVariant::fromValue(Money::fromRials(debit))});
    }
    void creditSale(qint64 total) {
        newInvoice(total);
        form->doc().sltPaidByCash.setIDQuietly(2, QString());
    }
};

TEST_P(SaveFinalChecksTest, CustomerWithoutOpenAccountIsAskedOrRefusedOnlyWhenFinal) {
    creditSale(5000);
    const QString text = QStringLiteral(
        "مشتري انتخاب شده حساب باز ندارد. از اينرو امكان ثبت سند حسابداري متناظر با اين فاكتور "
        "فروش كالا وجود ندارد. توضيح بيشتر: ");
    messages.answerNo();
    EXPECT_FALSE(save->SaveInvoice(true));
    EXPECT_EQ(messages.last().text, text + QStringLiteral(".آيا ادامه ميدهيد؟"));
    EXPECT_EQ(messages.last().formType, 1);
    EXPECT_EQ(count(QStringLiteral("tblSaleInvoice")), 0);

    useParameter(P::WarnNoOpenAccount, QStringLiteral("1"));
    messages.clear();
    EXPECT_FALSE(save->SaveInvoice(true));
    EXPECT_EQ(messages.last().text, text);
    EXPECT_EQ(messages.last().formType, 0);

    messages.clear();
    EXPECT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
    EXPECT_FALSE(messages.anyContains(QStringLiteral("حساب باز ندارد")));
}

// The ceiling is the customer's credit; the balance plus this invoice may reach it, not pass it.
TEST_P(SaveFinalChecksTest, DebitCeilingAsksOrBlocksByParameter93) {
    const int account = openCustomerAccount(10000);
    postDebit(account, 6000);
    useParameter(P::CreditControl, QStringLiteral("1"));
    creditSale(4000);
    EXPECT_TRUE(save->SaveInvoice(false));
    creditSale(4000);
    messages.clear();
    EXPECT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    EXPECT_FALSE(messages.anyContains(QStringLiteral("سقف بدهي")));

    creditSale(4001);
    messages.clear();
    messages.answerNo();
    EXPECT_FALSE(save->SaveInvoice(true));
    EXPECT_EQ(messages.last().formType, 1);
    EXPECT_TRUE(messages.last().text.endsWith(QStringLiteral(" آيا ادامه ميدهيد؟")));
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("سقف بدهي")));

    useParameter(P::CreditControl, QStringLiteral("2"));
    ctx.globals.CurrentUserID = addUser(QStringLiteral("فروشنده"), false, {90106});
    GrantInventory(db(), ctx.globals.CurrentUserID, inventory, true);
    GrantInvoiceType(db(), ctx.globals.CurrentUserID, type);
    messages.clear();
    EXPECT_FALSE(save->SaveInvoice(true));
    EXPECT_EQ(messages.last().caption, QStringLiteral("هشدار"));
    EXPECT_TRUE(messages.last().text.endsWith(
        QStringLiteral(" از اينرو امكان ثبت نهايي فاكتور فروش كالا وجود ندارد.")));
    EXPECT_EQ(count(QStringLiteral("tblSaleInvoice")), 2);
}

TEST_P(SaveFinalChecksTest, StoreVersionRules) {
    useParameter(P::ShopMode, QStringLiteral("1"));
    installSave();
    // Two equal rows are accepted in the store version.
    newInvoice({line(QStringLiteral("1001"), 1, 1000), line(QStringLiteral("1001"), 1, 1000)});
    bool turnAsked = false;
    save->seams.CheckCashTurn = [&turnAsked] {
        turnAsked = true;
        return false;
    };
    EXPECT_FALSE(save->SaveInvoice(false));
    EXPECT_TRUE(turnAsked);
    save->seams.CheckCashTurn = [] { return true; };
    EXPECT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();

    const int wholesale = AddInvoiceType(db(), QStringLiteral("بنكداري"), true);
    newInvoice();
    form->doc().sltType.setIDQuietly(wholesale, QString());
    messages.clear();
    messages.answerNo();
    EXPECT_FALSE(save->SaveInvoice(false));
    EXPECT_EQ(messages.last().text,
              QStringLiteral("فاکتور فروش نسخه فروشگاهي نبايد از نوع بنکداري «بنكداري» باشد. آيا "
                             "از عمل خود مطمئن هستيد؟"));
    EXPECT_EQ(ui.focus, QStringLiteral("sltType"));
}

// A store-version cash sale books into the cash turn instead of a document; a turn closed in
// the meantime undoes the whole save.
TEST_P(SaveFinalChecksTest, StoreCashSaleBooksIntoTheTurnOrIsUndone) {
    useParameter(P::ShopMode, QStringLiteral("1"));
    installSave();
    int booking = 0;
    QVector<int> notified;
    save->seams.CheckCashTurn = [] { return true; };
    save->seams.SaveCashTurnDetail = [&booking] { return booking; };
    save->seams.NotifyCashDisplay = [&notified](int, int invoiceId) { notified << invoiceId; };
    newInvoice();
    form->doc().cashTurnDescription = QStringLiteral("صندوق_3_1405/09/15");
    EXPECT_FALSE(save->SaveInvoice(true));
    // Nothing was saved: the clerk picks another turn and saves again.
    EXPECT_TRUE(messages.last().text.endsWith(QStringLiteral(
        "صندوق انتخاب شده هم اكنون بسته شده است. لطفا صندوق ديگري را انتخاب كرده و فاكتور را "
        "مجددا ثبت نماييد.")));
    EXPECT_EQ(count(QStringLiteral("tblSaleInvoice")), 0);
    EXPECT_EQ(count(QStringLiteral("tblInventoryDispatch")), 0);
    EXPECT_TRUE(notified.isEmpty());
    booking = 55;
    ASSERT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(form->doc().lblAccountIDVal, QStringLiteral("صندوق_3_1405/09/15"));
    EXPECT_EQ(notified, QVector<int>{savedID()});
    EXPECT_EQ(count(QStringLiteral("tblAccountDocument")), 0);
}

// A traced line may not carry less than its traced quantity; a saved one keeps its trace rows
// in the line's order.
TEST_P(SaveFinalChecksTest, TracedGoodsAreCheckedAndKept) {
    newInvoice({line(QStringLiteral("1002"), 1, 500), line(QStringLiteral("1001"), 5, 1000)});
    ASSERT_TRUE(save->SaveInvoice(false));
    const int id = savedID();
    auto trace = components.create(QStringLiteral("vorInvTrace.vorInvTracePpt1"));
    ASSERT_TRUE(trace);
    trace->setProperty("Session", QVariant::fromValue(static_cast<void*>(&db())));
    QMetaObject::invokeMethod(trace.get(), "AddTrace", Q_ARG(int, id),
                              Q_ARG(QString, QStringLiteral("1001")), Q_ARG(int, unit),
                              Q_ARG(int, 77), Q_ARG(double, 4.0));
    QMetaObject::invokeMethod(trace.get(), "AddTrace", Q_ARG(int, id),
                              Q_ARG(QString, QStringLiteral("1001")), Q_ARG(int, unit),
                              Q_ARG(int, 78), Q_ARG(double, 2.0));
    ASSERT_TRUE(form->ShowInvoiceByID(id));
    form->cmdEdit_Click();
    messages.clear();
    EXPECT_FALSE(save->SaveInvoice(false));
    EXPECT_EQ(messages.last().text,
              QStringLiteral("مقدار رديابي شده كالا با كد ميلهاي 1001 از مقدار رديف بيشتر است."));
    EXPECT_EQ(ui.focus, QStringLiteral("flexDetail"));
    for (int row : form->doc().flexDetail.filledRows())
        if (form->doc().flexDetail.line(row).BarCode == QStringLiteral("1001"))
            form->doc().flexDetail.line(row).Qty = 6;
    EXPECT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
    const RowSet sequences = db().query(
        QStringLiteral(
            "select distinct Sequence from tblSaleInvoiceDetailTrace where InvoiceID = ?"),
        {id});
    ASSERT_EQ(sequences.size(), 1);
    EXPECT_EQ(sequences[0].toInt(u"Sequence"), 2);
}

// The SMS notices leave only after a committed final save.
TEST_P(SaveFinalChecksTest, NoticesGoOutOnlyAfterACommittedFinalSave) {
    QVector<int> sent;
    save->seams.SendCustomerSms = [&sent](int customerId, Money) { sent << customerId; };
    newInvoice();
    form->doc().chkShouldSMSSend = true;
    ASSERT_TRUE(save->SaveInvoice(false));
    EXPECT_TRUE(sent.isEmpty());
    newInvoice();
    form->doc().chkShouldSMSSend = true;
    save->afterHeaderWritten = [] {
        throw SqlError(QStringLiteral("insert"), QStringLiteral("disk full"));
    };
    EXPECT_FALSE(save->SaveInvoice(true));
    EXPECT_TRUE(sent.isEmpty());
    EXPECT_TRUE(messages.last().text.endsWith(QStringLiteral("disk full")));
    save->afterHeaderWritten = nullptr;
    ASSERT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(sent, QVector<int>{customer});
}

SI_INSTANTIATE_BACKENDS(SaveFinalChecksTest);

}  // namespace
}  // namespace si::test
