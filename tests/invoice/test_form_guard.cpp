// The invoice form's command boundary without widgets (the failed handler with widgets is in
// tests/component): a succeeding command keeps its changes; the F10 guard and the shortcut
// table survive failures and agree with the key routing.

#include <gtest/gtest.h>

#include "invoice/FormTestSupport.h"

namespace si {
namespace {

class FormGuardLogicTest : public test::FormTest {
protected:
    // An invoice being entered: a customer and one line.
    void enterInvoice() {
        form->ClearShow();
        form->cmdNew_Click();
        ASSERT_EQ(form->FormMode(), kModeNew);
        customer = test::AddCustomer(db(), QStringLiteral("مشتري اول"));
        other = test::AddCustomer(db(), QStringLiteral("مشتري دوم"));
        form->doc().sltCustomer.setID(customer);
        InvoiceLine line;
        line.BarCode = QStringLiteral("626001");
        line.GoodName = QStringLiteral("چاي");
        form->doc().flexDetail.appendLine(line);
        form->doc().txtNotes = QStringLiteral("يادداشت");
        form->RefreshTimer_Timer();
        messages.clear();
    }
    int customer = -1, other = -1;
};

// A command that succeeds is not touched by the boundary.
TEST_P(FormGuardLogicTest, ASucceedingCommandKeepsItsChanges) {
    enterInvoice();
    EXPECT_TRUE(form->guarded([this] { form->doc().sltCustomer.setID(other); }));
    EXPECT_TRUE(messages.empty()) << messages.texts().join('\n').toStdString();
    EXPECT_EQ(form->doc().sltCustomer.ID(), other);
}

// F10 lowers its guard against a second F10 while the save and the print run; a print that fails
// must not leave it lowered for good.
TEST_P(FormGuardLogicTest, F10WorksAgainAfterAFailedPrint) {
    enterInvoice();
    int finals = 0;
    form->seams.SaveInvoice = [&](bool) {
        ++finals;
        form->doc().FormMode = kModeView;
        form->ApplyMode();
    };
    form->seams.Print = [this](bool) {
        db().first(QStringLiteral("select * from tblPrintTemplateMissing"));
    };
    EXPECT_FALSE(form->guarded([this] { form->RouteKeys(Qt::Key_F10, Qt::NoModifier); }));
    EXPECT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(form->finalSaveAndPrintGuard());
    form->seams.Print = [](bool) {};
    form->guarded([this] { form->RouteKeys(Qt::Key_F10, Qt::NoModifier); });
    EXPECT_EQ(finals, 2);
}

// The keys the form claims before its fields are exactly those its routing uses.
TEST_P(FormGuardLogicTest, FormKeysAreExactlyTheRoutedKeys) {
    form->ClearShow();
    std::vector<int> keys = {Qt::Key_Delete, Qt::Key_Return, Qt::Key_Space};
    for (int k = Qt::Key_0; k <= Qt::Key_9; ++k)
        keys.push_back(k);
    for (int k = Qt::Key_A; k <= Qt::Key_Z; ++k)
        keys.push_back(k);
    for (int k = Qt::Key_F1; k <= Qt::Key_F12; ++k)
        keys.push_back(k);
    const Qt::KeyboardModifiers modifiers[] = {Qt::NoModifier,
                                               Qt::ControlModifier,
                                               Qt::ShiftModifier,
                                               Qt::AltModifier,
                                               Qt::ControlModifier | Qt::ShiftModifier,
                                               Qt::ControlModifier | Qt::KeypadModifier};
    int claimed = 0;
    for (int key : keys)
        for (Qt::KeyboardModifiers m : modifiers) {
            const bool formKey = FormMainLogic::IsFormKey(key, m);
            claimed += formKey ? 1 : 0;
            EXPECT_EQ(formKey, form->RouteKeys(key, m)) << key << " " << m;
        }
    // F1 and F8 to F12 alone; 15 Ctrl keys, with and without the keypad flag.
    EXPECT_EQ(claimed, 6 + 2 * 15);
}

SI_INSTANTIATE_BACKENDS(FormGuardLogicTest);

}  // namespace
}  // namespace si
