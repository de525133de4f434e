// InstallModule: a form gets every part of the module from one call, and a form without widgets
// saves and posts through it as the component's form does.

#include <gtest/gtest.h>

#include "assembly/InvoiceModule.h"
#include "assembly/ui/InvoiceModuleUi.h"
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

SI_INSTANTIATE_BACKENDS(AssemblyTest);

}  // namespace
}  // namespace si::test
