// The invoice form's modes: transitions, titles, and what each mode, code and right makes
// available.

#include <gtest/gtest.h>

#include "invoice/FormTestSupport.h"

namespace si {
namespace {

class FormModesTest : public test::FormTest {
protected:
    int storedInvoice(bool final) {
        test::InvoiceRow row;
        row.customer = test::AddCustomer(db(), QStringLiteral("فروشگاه نمونه"));
        row.code = final ? QVariant(15) : QVariant();
        return test::AddInvoice(db(), row);
    }
};

TEST_P(FormModesTest, EntryPointsOpenStoredInvoicesOrAClearedForm) {
    const int id = storedInvoice(false);
    EXPECT_FALSE(form->ViewInvoice(id));
    EXPECT_EQ(form->FormMode(), kModeView);
    EXPECT_EQ(form->doc().txtID, QString::number(id));
    for (int missing : {0, -1, id + 100}) {
        newForm();
        form->ViewInvoice(missing);
        EXPECT_EQ(form->FormMode(), kModeCleared) << missing;
        EXPECT_TRUE(form->doc().txtID.isEmpty());
    }
    newForm();
    form->ClearShow();
    EXPECT_EQ(form->FormMode(), kModeCleared);
    EXPECT_TRUE(messages.empty());  // no message for a missing invoice
}

TEST_P(FormModesTest, TransitionsFollowTheCommands) {
    const int id = storedInvoice(false);
    form->ViewInvoice(id);
    form->cmdNew_Click();  // 0 -> 2
    EXPECT_EQ(form->FormMode(), kModeNew);
    messages.answerYes();
    form->cmdCancel_Click();  // 2 -> 3
    EXPECT_EQ(form->FormMode(), kModeCleared);
    form->cmdNew_Click();  // 3 -> 2
    EXPECT_EQ(form->FormMode(), kModeNew);
    messages.answerYes();
    form->cmdCancel_Click();
    ui.searchAnswer = id;
    form->cmdSearch_Click();  // any -> 0
    EXPECT_EQ(form->FormMode(), kModeView);
    form->cmdEdit_Click();  // 0 -> 1
    EXPECT_EQ(form->FormMode(), kModeEdit);
    messages.answerYes();
    form->cmdCancel_Click();  // 1 -> 0, the stored invoice again
    EXPECT_EQ(form->FormMode(), kModeView);
    EXPECT_EQ(form->doc().txtID, QString::number(id));
    form->StartNewInvoice();
    form->cmdEdit_Click();  // 3 -> 1 needs an invoice: falls back to the cleared form
    EXPECT_EQ(form->FormMode(), kModeCleared);
}

TEST_P(FormModesTest, CancelAnsweredNoKeepsTheMode) {
    form->ClearShow();
    form->cmdNew_Click();
    messages.answerNo();
    form->cmdCancel_Click();
    EXPECT_EQ(form->FormMode(), kModeNew);
    EXPECT_EQ(messages.last().caption, QStringLiteral("آيا مطمئن هستيد؟"));
    EXPECT_EQ(messages.last().text, QStringLiteral("انصراف از ثبت فاکتور فروش"));
}

TEST_P(FormModesTest, TitlesByModeAndShopMode) {
    form->ClearShow();
    EXPECT_EQ(form->availability().title, QStringLiteral("فاکتور فروش"));
    form->cmdNew_Click();
    EXPECT_EQ(form->availability().title, QStringLiteral("فاکتور فروش (جديد)"));
    const int id = storedInvoice(false);
    form->ShowInvoiceByID(id);
    EXPECT_EQ(form->availability().title, QStringLiteral("فاکتور فروش (مشاهده)"));
    form->cmdEdit_Click();
    EXPECT_EQ(form->availability().title, QStringLiteral("فاکتور فروش (اصلاح)"));

    setParameter(P::ShopMode, QStringLiteral("1"));
    newForm();
    form->ViewInvoice(id);
    EXPECT_EQ(form->availability().title, QStringLiteral("فاکتور فروش - فروشگاهي (مشاهده)"));
}

TEST_P(FormModesTest, StoredInvoiceOffersByCode) {
    form->ViewInvoice(storedInvoice(true));
    EXPECT_TRUE(enabled("cmdBackToTemp"));
    EXPECT_TRUE(enabled("cmdGrandTotal"));
    EXPECT_FALSE(enabled("cmdEdit"));
    EXPECT_FALSE(enabled("cmdDelete"));
    EXPECT_TRUE(enabled("cmdPrint"));

    form->ViewInvoice(storedInvoice(false));
    EXPECT_FALSE(enabled("cmdBackToTemp"));
    EXPECT_FALSE(enabled("cmdGrandTotal"));
    EXPECT_TRUE(enabled("cmdEdit"));
    EXPECT_TRUE(enabled("cmdDelete"));
}

TEST_P(FormModesTest, AvailabilityByMode) {
    struct Expect {
        const char* control;
        bool view, entry, cleared;
    };
    const Expect table[] = {{"cmdNew", true, false, true},
                            {"cmdCancel", false, true, false},
                            {"cmdView", true, false, false},
                            {"cmdExit", true, true, true},
                            {"cmdCustomerName", true, true, false},
                            {"cmdCost", false, true, true},
                            {"sltCustomer", false, true, false},
                            {"txtNotes", false, true, false},
                            {"sltPromoter2", false, true, false},
                            {"txtSuCharge", false, false, false},
                            {"txtPureTotalValue", false, true, false},
                            {"txtID", false, false, false},
                            {"sltCreator", false, false, false}};
    const int id = storedInvoice(false);
    form->ViewInvoice(id);
    for (const Expect& e : table)
        EXPECT_EQ(enabled(e.control), e.view) << e.control << " in mode 0";
    EXPECT_FALSE(form->availability().gridEditable);
    form->cmdEdit_Click();
    for (const Expect& e : table)
        EXPECT_EQ(enabled(e.control), e.entry) << e.control << " in mode 1";
    EXPECT_TRUE(form->availability().gridEditable);
    form->StartNewInvoice();
    for (const Expect& e : table)
        EXPECT_EQ(enabled(e.control), e.cleared) << e.control << " in mode 3";
    EXPECT_TRUE(enabled("sltPromoter"));  // mode 3, without promoter cards
    EXPECT_FALSE(enabled("sltCRMCardType"));
}

TEST_P(FormModesTest, RightsDecideTheGuardedFields) {
    const int clerk = addUser(QStringLiteral("فروشنده"), false, {90101, 90138});
    ctx.globals.CurrentUserID = clerk;
    newForm();
    form->ClearShow();
    form->cmdNew_Click();
    EXPECT_EQ(form->FormMode(), kModeNew);
    EXPECT_TRUE(enabled("sltPricingMethod"));
    for (const char* c : {"datCreateDate", "chkIsFormal", "chkCheckEchantillon", "chkShouldSMSSend",
                          "txtMasterDiscountPercent", "optMasterDiscountValue", "cmbScaleBarcode"})
        EXPECT_FALSE(enabled(c)) << c;
    grant(clerk, 90110);
    grant(clerk, 90142);
    form->ApplyMode();
    EXPECT_TRUE(enabled("txtMasterDiscountPercent"));
    EXPECT_TRUE(enabled("cmbScaleBarcode"));
}

TEST_P(FormModesTest, MissingRightRefusesNewAndKeepsTheMode) {
    ctx.globals.CurrentUserID = addUser(QStringLiteral("بدون دسترسي"), false);
    newForm();
    form->ClearShow();
    form->cmdNew_Click();
    EXPECT_EQ(form->FormMode(), kModeCleared);
    EXPECT_EQ(messages.last().text, kNoRightMessage);
    EXPECT_EQ(messages.last().caption, kErrorCaption);
}

TEST_P(FormModesTest, RefreshRuleNeedsCustomerAndAFirstLine) {
    form->ClearShow();
    form->cmdNew_Click();
    form->doc().sltCustomer.Clear();
    form->RefreshTimer_Timer();
    EXPECT_FALSE(enabled("cmdTempSave"));
    InvoiceLine line;
    line.BarCode = QStringLiteral("626001");
    line.GoodName = QStringLiteral("  ");  // a first line without a goods title
    form->doc().flexDetail.appendLine(line);
    form->doc().sltCustomer.setIDQuietly(test::AddCustomer(db(), QStringLiteral("مشتري")),
                                         QStringLiteral("مشتري"));
    form->RefreshTimer_Timer();
    EXPECT_FALSE(enabled("cmdFinalSave"));
    form->doc().flexDetail.line(0).GoodName = QStringLiteral("روغن");
    form->RefreshTimer_Timer();
    EXPECT_TRUE(enabled("cmdTempSave"));
    EXPECT_TRUE(enabled("cmdFinalSave"));
    form->doc().sltCustomer.Clear();
    useParameter(P::AccountObjects,
                 QStringLiteral("1"));  // the account objects stand for the customer
    form->RefreshTimer_Timer();
    EXPECT_TRUE(enabled("cmdFinalSave"));
}

TEST_P(FormModesTest, RelationshipCommandsOnlyForAStoredInvoiceOutsideShopMode) {
    const int id = storedInvoice(false);
    int created = 0, shown = 0, lastId = 0;
    QObject::connect(form.get(), &FormMainLogic::CreateNewRelationship, [&](int type, int formId) {
        ++created;
        lastId = formId;
        EXPECT_EQ(type, 901);
    });
    QObject::connect(form.get(), &FormMainLogic::ShowRelationships, [&](int, int) { ++shown; });
    form->ViewInvoice(id);
    EXPECT_TRUE(form->runCommand(QStringLiteral("cmdNewRelationship")));
    EXPECT_TRUE(form->runCommand(QStringLiteral("cmdRelatedForms")));
    EXPECT_EQ(created, 1);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(lastId, id);
    form->cmdEdit_Click();
    EXPECT_FALSE(form->runCommand(QStringLiteral("cmdNewRelationship")));
}

SI_INSTANTIATE_BACKENDS(FormModesTest);

}  // namespace
}  // namespace si
