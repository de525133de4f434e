// The invoice form as a widget: its controls under their original names, a barcode typed into the
// grid becoming a priced line with totals, the availability applied to the buttons, and keys.

#include <gtest/gtest.h>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include "common/Jalali.h"
#include "controls/ui/JalaliDateEdit.h"
#include "invoice/LinesLogic.h"
#include "invoice/ui/FormMain.h"
#include "support/ContextTest.h"
#include "support/InvoiceFixtures.h"

namespace si {
namespace {

class FormMainViewTest : public test::ContextTest {
protected:
    void SetUp() override {
        ContextTest::SetUp();
        inventory = test::AddInventory(db(), QStringLiteral("انبار فروشگاه"));
        test::GrantInventory(db(), ctx.globals.CurrentUserID, inventory, true);
        const int unit = test::AddUnit(db(), QStringLiteral("عدد"), 1, true);
        test::AddGood(db(), QStringLiteral("6260000000012"), QStringLiteral("1001"),
                      QStringLiteral("چاي سبز"), 25000, unit);
        test::AddCustomer(db(), QStringLiteral("مشتريان"));
        form = std::make_unique<FormMain>(ctx);
        form->setAttribute(Qt::WA_DontShowOnScreen);
    }
    void TearDown() override {
        form.reset();
        ContextTest::TearDown();
    }
    template <typename T>
    T* control(const char* name) {
        return form->findChild<T*>(QString::fromLatin1(name));
    }
    int inventory = -1;
    std::unique_ptr<FormMain> form;
};

TEST_P(FormMainViewTest, ControlsCarryTheirNames) {
    for (const char* name :
         {"cmdNew", "cmdEdit", "cmdFinalSave", "cmdTempSave", "cmdExit", "txtID", "txtCode",
          "sltCustomer", "sltInventory", "sltType", "flexDetail", "txtGrandTotalLock",
          "txtMasterDiscountPercent", "optMasterDiscountValue", "lblErrMessage", "gbSale"})
        EXPECT_NE(form->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(form->layoutDirection(), Qt::RightToLeft);
}

TEST_P(FormMainViewTest, TypedBarcodeBecomesAPricedLineAndTheSaveCommandsWake) {
    form->ClearShow();
    form->logic().runCommand(QStringLiteral("cmdNew"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("فاکتور فروش (جديد)"));
    EXPECT_FALSE(control<QPushButton>("cmdFinalSave")->isEnabled());
    auto* grid = control<QTableView>("flexDetail");
    QAbstractItemModel* model = grid->model();
    const int last = model->rowCount() - 1;
    model->setData(model->index(last, Col::BarCode), QStringLiteral("6260000000012"), Qt::EditRole);
    EXPECT_EQ(model->index(last, Col::GoodName).data().toString(), QStringLiteral("چاي سبز"));
    EXPECT_EQ(model->index(last, Col::UnitPrice).data().toString(), QStringLiteral("25/000"));
    EXPECT_EQ(model->rowCount(), last + 2);  // a new empty row follows
    EXPECT_EQ(control<QLineEdit>("txtTotalPriceLock")->text(), QStringLiteral("25/000"));
    form->logic().RefreshTimer_Timer();
    EXPECT_TRUE(control<QPushButton>("cmdFinalSave")->isEnabled());
    EXPECT_TRUE(control<QPushButton>("cmdTempSave")->isEnabled());
}

TEST_P(FormMainViewTest, ControlKeysReachTheForm) {
    form->ClearShow();
    QKeyEvent ctrlN(QEvent::KeyPress, Qt::Key_N, Qt::ControlModifier);
    QApplication::sendEvent(form.get(), &ctrlN);
    EXPECT_EQ(form->logic().FormMode(), kModeNew);
    QKeyEvent ctrlShiftS(QEvent::KeyPress, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QApplication::sendEvent(form.get(), &ctrlShiftS);
    EXPECT_EQ(form->logic().FormMode(), kModeNew);
    EXPECT_FALSE(control<QPushButton>("cmdNew")->isEnabled());
    EXPECT_TRUE(control<QPushButton>("cmdCancel")->isEnabled());
}

// The promotion and scanner-file commands reach their dialogs only while an invoice is entered;
// the free goods show in their own read-only grid.
TEST_P(FormMainViewTest, PromotionAndScannerCommandsFollowTheMode) {
    useParameter(3392, QStringLiteral("1"));
    form = std::make_unique<FormMain>(ctx);
    form->setAttribute(Qt::WA_DontShowOnScreen);
    int promotions = 0, files = 0;
    form->logic().seams.ShowPromotions = [&promotions] { ++promotions; };
    form->logic().seams.ReadBeepFile = [&files] { ++files; };
    form->ClearShow();
    for (const char* name : {"cmdShowEch", "cmdReadFromBeepFile", "cmdRefreshEchantillon"})
        EXPECT_FALSE(control<QPushButton>(name)->isEnabled()) << name;
    form->logic().runCommand(QStringLiteral("cmdNew"));
    control<QPushButton>("cmdShowEch")->click();
    control<QPushButton>("cmdReadFromBeepFile")->click();
    EXPECT_EQ(promotions, 1);
    EXPECT_EQ(files, 1);
    auto* ech = control<QTableView>("flexEch");
    ASSERT_NE(ech, nullptr);
    EXPECT_EQ(ech->model(), &form->logic().doc().flexEch);
    EXPECT_EQ(ech->editTriggers(), QAbstractItemView::NoEditTriggers);
}

// With SMS mode 1 the template's button stands beside the SMS tick; while an invoice is entered it
// opens the description dialog on the stored text, whose OK writes the template back.
TEST_P(FormMainViewTest, TheSmsTemplateButtonEditsTheTemplateInTheDescriptionDialog) {
    setParameter(5003, QStringLiteral("متن قبلي"));
    useParameter(5004, QStringLiteral("1"));
    form = std::make_unique<FormMain>(ctx);
    form->setAttribute(Qt::WA_DontShowOnScreen);
    form->ClearShow();
    auto* button = control<QPushButton>("cmdShouldSMSSend");
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(button->isHidden());
    EXPECT_FALSE(control<QWidget>("chkShouldSMSSend")->isHidden());
    EXPECT_FALSE(button->isEnabled());
    form->logic().runCommand(QStringLiteral("cmdNew"));
    ASSERT_TRUE(button->isEnabled());
    QString title, shown;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        title = dialog->windowTitle();
        auto* text = dialog->findChild<QLineEdit*>(QStringLiteral("txtDescription"));
        shown = text->text();
        text->setText(QStringLiteral("@CustomerName عزيز، سپاس"));
        dialog->accept();
    });
    button->click();
    EXPECT_EQ(title, QStringLiteral("متن پيامك"));
    EXPECT_EQ(shown, QStringLiteral("متن قبلي"));
    EXPECT_EQ(db().scalar(QStringLiteral("select Value from tblZelorSystemParameters where ID = "
                                         "5003"))
                  .toString(),
              QStringLiteral("@CustomerName عزيز، سپاس"));
}

// The date control hands a typed date to the header: one beyond the bounds is refused with their
// message and the control shows the invoice's date again; one within them is taken.
TEST_P(FormMainViewTest, ADateBeyondTheBoundsIsRefusedAndTheControlShowsTheInvoicesDate) {
    form->ClearShow();
    form->logic().runCommand(QStringLiteral("cmdNew"));
    auto* date = control<JalaliDateEdit>("datCreateDate");
    ASSERT_NE(date, nullptr);
    const QDate today = now.date();
    ASSERT_EQ(date->date(), today);
    messages.clear();
    date->setJalaliText(getFarsiDate(today.addDays(10951)));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("تاريخ فاكتور بايد از «") + getFarsiDate(today.addDays(-10950)) +
                  QStringLiteral("» تا «") + getFarsiDate(today.addDays(10950)) +
                  QStringLiteral("» باشد."));
    EXPECT_EQ(date->date(), today);
    EXPECT_EQ(date->text(), getFarsiDate(today));
    EXPECT_EQ(form->logic().doc().datCreateDate, today);

    messages.clear();
    date->setJalaliText(getFarsiDate(today.addDays(-3)));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(form->logic().doc().datCreateDate, today.addDays(-3));
}

SI_INSTANTIATE_BACKENDS(FormMainViewTest);

}  // namespace
}  // namespace si
