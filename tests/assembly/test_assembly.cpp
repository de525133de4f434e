// InstallModule: a form gets every part of the module from one call, and a form without widgets
// saves and posts through it as the component's form does.

#include <gtest/gtest.h>

#include "assembly/InvoiceModule.h"
#include "assembly/ui/InvoiceModuleUi.h"
#include "invoice/InvoiceStore.h"
#include "invoice/ui/FormMain.h"
#include "posting/PostingTestSupport.h"

namespace si::test {
namespace {

class AssemblyTest : public PostingTest {
protected:
    int documentOf(int invoiceId) {
        return db()
            .scalar(QStringLiteral("select min(DocumentID) from tblAccountDocumentDetail "
                                   "where FormID = ? and FormTypeID = 901"),
                    {invoiceId})
            .toInt();
    }
    // Whatever an invoice's postings wrote, by row: the document's accounts and amounts and the
    // dispatch's goods, without the identities that differ between two invoices.
    QStringList postingsOf(int invoiceId) {
        QStringList rows;
        for (const Row& r : db().query(
                 QStringLiteral("select RowNumber, AccountID, DebitValue, CreditValue from "
                                "tblAccountDocumentDetail where FormID = ? and FormTypeID = 901 "
                                "order by RowNumber"),
                 {invoiceId}))
            rows << r.text(u"RowNumber") + u' ' + r.text(u"AccountID") + u' ' +
                        r.money(u"DebitValue").toString() + u' ' +
                        r.money(u"CreditValue").toString();
        for (const Row& r : db().query(
                 QStringLiteral("select d.Barcode, d.ScaleID, d.Qty from "
                                "tblInventoryDispatchDetail d join tblInventoryDispatch h on "
                                "h.ID = d.DispatchID where h.FormID = ? and h.FormTypeID = 901 "
                                "order by d.Barcode"),
                 {invoiceId}))
            rows << r.text(u"Barcode") + u' ' + r.text(u"ScaleID") + u' ' +
                        QString::number(r.toDouble(u"Qty"));
        return rows;
    }
    int saveTemporary() {
        newInvoice({line(QStringLiteral("1001"), 2, 3000), line(QStringLiteral("1002"), 1, 4500)});
        form->RefreshTimer_Timer();
        EXPECT_TRUE(form->runCommand(QStringLiteral("cmdTempSave")));
        return savedID();
    }
};

TEST_P(AssemblyTest, EveryPostingSeamIsInstalled) {
    FormMainLogic bare(ctx);
    EXPECT_FALSE(bare.seams.SaveInvoice);
    EXPECT_FALSE(bare.seams.SaveAccDoc);
    auto module = InstallModule(bare);
    EXPECT_TRUE(bare.seams.SaveInvoice);
    EXPECT_TRUE(bare.seams.SaveAccDoc);

    FormMain shown(ctx);
    auto shownModule = InstallModule(shown);
    EXPECT_TRUE(shown.logic().seams.SaveInvoice);
    EXPECT_TRUE(shown.logic().seams.SaveAccDoc);
    EXPECT_TRUE(shown.logic().seams.InvExit);
}

// The module's text messages leave through the form's SendSMS, on screen (then the component's)
// as in a form without widgets; a job without a form receives them from the module itself.
TEST_P(AssemblyTest, TextMessagesReachTheFormsSendSms) {
    FormMain shown(ctx);
    auto shownModule = InstallModule(shown);
    QStringList received;
    QObject::connect(&shown, &FormMain::SendSMS, [&](const QString& phone, const QString& text) {
        received << phone + u' ' + text;
    });
    Q_EMIT shownModule->sms().SendSMS(QStringLiteral("09121110000"), QStringLiteral("سلام"));
    EXPECT_EQ(received, QStringList{QStringLiteral("09121110000 سلام")});

    useParameter(P::SmsMode, QStringLiteral("1"));
    setParameter(P::SmsCustomerTemplate, QStringLiteral("@CustomerName"));
    db().exec(QStringLiteral("update tblOrganization set CellPhone = '09120000000' where ID = ?"),
              {customer});
    const int id = saveTemporary();
    InvoiceEditor editor(ctx);
    editor.prepare();
    auto job = InstallModule(editor);
    ASSERT_TRUE(editor.openForEdit(id));
    editor.doc().chkShouldSMSSend = true;
    QObject::connect(
        &job->sms(), &SmsNotices::SendSMS,
        [&](const QString& phone, const QString& text) { received << phone + u' ' + text; });
    ASSERT_TRUE(job->save().SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(received.last(), QStringLiteral("09120000000 مشتري نمونه"));
    EXPECT_EQ(received.size(), 2);
}

// Temporary save, final save and re-post, each through the form's own command.
TEST_P(AssemblyTest, AHeadlessFormSavesAndRepostsThroughIt) {
    enablePosting();
    installSave();
    newInvoice();
    form->RefreshTimer_Timer();  // the form's timer wakes the save commands
    ASSERT_TRUE(form->runCommand(QStringLiteral("cmdTempSave")));
    const int id = savedID();
    ASSERT_GT(id, 0) << messages.texts().join(u'\n').toStdString();
    EXPECT_TRUE(storedCode(id).isNull());

    ASSERT_TRUE(form->runCommand(QStringLiteral("cmdEdit")));
    form->RefreshTimer_Timer();
    ASSERT_TRUE(form->runCommand(QStringLiteral("cmdFinalSave")));
    EXPECT_EQ(storedCode(id).toInt(), 1) << messages.texts().join(u'\n').toStdString();
    const int first = form->doc().lblAccountIDVal.toInt();
    ASSERT_GT(first, 0);
    EXPECT_EQ(documentOf(id), first);

    // The re-post is offered with account objects, which charge the type's debit account.
    db().exec(QStringLiteral("update tblSaleInvoiceType set DebitAccountID = (select AccountID "
                             "from tblAccountRelatedObjects where RelatedClassID = 7 and "
                             "RelatedObjectID = ?) where ID = ?"),
              {customer, type});
    useParameter(P::AccountObjects, QStringLiteral("1"));
    ASSERT_TRUE(form->runCommand(QStringLiteral("cmdSaveAccDoc")));
    const int again = form->doc().lblAccountIDVal.toInt();
    EXPECT_GT(again, 0) << messages.texts().join(u'\n').toStdString();
    EXPECT_NE(again, first);
    EXPECT_EQ(documentOf(id), again);
}

// A job without a form opens a stored temporary invoice and saves it finally through the same
// module: the invoice, its document and its dispatch come out as the form's final save makes them.
TEST_P(AssemblyTest, AJobWithoutAFormFinalisesAsTheFormDoes) {
    enablePosting();
    installSave();
    const int byForm = saveTemporary();
    const int byJob = saveTemporary();
    ASSERT_GT(byForm, 0);
    ASSERT_GT(byJob, byForm);
    form->ShowInvoiceByID(byForm);
    ASSERT_TRUE(form->runCommand(QStringLiteral("cmdEdit")));
    form->RefreshTimer_Timer();
    ASSERT_TRUE(form->runCommand(QStringLiteral("cmdFinalSave")));
    ASSERT_EQ(storedCode(byForm).toInt(), 1) << messages.texts().join(u'\n').toStdString();

    InvoiceEditor editor(ctx);
    editor.prepare();
    auto job = InstallModule(editor);
    ASSERT_TRUE(editor.openForEdit(byJob));
    ASSERT_TRUE(job->save().SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    EXPECT_EQ(storedCode(byJob).toInt(), 2);
    EXPECT_EQ(editor.doc().FormMode, kModeView);

    InvoiceStore store(db());
    std::optional<Invoice> fromForm = store.read(byForm);
    std::optional<Invoice> fromJob = store.read(byJob);
    ASSERT_TRUE(fromForm && fromJob);
    // The identity, the code, the postings' identities and the row version are each invoice's own.
    for (Invoice* invoice : {&*fromForm, &*fromJob}) {
        EXPECT_GT(invoice->postings.accountingDocumentId, 0);
        EXPECT_GT(invoice->postings.dispatchId, 0);
        invoice->header.id = -1;
        invoice->header.code.reset();
        invoice->postings = {};
        invoice->rowVersion = 0;
    }
    EXPECT_TRUE(*fromForm == *fromJob);
    EXPECT_EQ(fromJob->lines.size(), 2);
    const QStringList postings = postingsOf(byForm);
    EXPECT_GE(postings.size(), 4);  // the sales and customer rows and two goods
    EXPECT_EQ(postingsOf(byJob), postings);
}

SI_INSTANTIATE_BACKENDS(AssemblyTest);

}  // namespace
}  // namespace si::test
