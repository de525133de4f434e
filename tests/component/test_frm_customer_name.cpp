// The walk-in buyer's dialog behind cmdCustomerName: Enter takes the name and phone (Persian
// digits stored as Latin ones), a refused phone keeps the dialog open on it with the message, Esc
// leaves the invoice as it was, a stored invoice only shows its buyer; F12 on the form opens it.

#include <gtest/gtest.h>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "invoice/InvoiceDocument.h"
#include "invoice/ui/FormMain.h"
#include "invoice/ui/FrmCustomerName.h"
#include "support/ContextTest.h"
#include "support/InvoiceFixtures.h"

namespace si {
namespace {

class FrmCustomerNameTest : public test::ContextTest {
protected:
    void SetUp() override {
        ContextTest::SetUp();
        doc = std::make_unique<InvoiceDocument>(ctx);
        doc->FormMode = kModeNew;
    }
    void TearDown() override {
        doc.reset();
        ContextTest::TearDown();
    }
    // The dialog on screen (off it), so that Enter reaches its default button.
    std::unique_ptr<FrmCustomerName> shownDialog() {
        auto dialog = std::make_unique<FrmCustomerName>(*doc);
        dialog->setAttribute(Qt::WA_DontShowOnScreen);
        dialog->show();
        return dialog;
    }
    static QLineEdit* field(QDialog& dialog, const char* name) {
        return dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    // As typed over the field's text (the test keyboard knows Latin letters only).
    static void type(QLineEdit* field, const QString& text) {
        field->setFocus();
        field->selectAll();
        field->insert(text);
    }

    std::unique_ptr<InvoiceDocument> doc;
};

TEST_P(FrmCustomerNameTest, EnterTakesTheBuyerWithLatinDigits) {
    auto dialog = shownDialog();
    EXPECT_EQ(dialog->layoutDirection(), Qt::RightToLeft);
    QLineEdit* name = field(*dialog, "txtName");
    QLineEdit* phone = field(*dialog, "txtPhone");
    ASSERT_NE(name, nullptr);
    ASSERT_NE(phone, nullptr);
    type(name, QStringLiteral("زهرا کریمی"));
    type(phone, QStringLiteral("۰۹۱۲۳۴۵۶۷۸۹"));
    QTest::keyClick(phone, Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(dialog->changed());
    EXPECT_EQ(doc->walkIn.name, QStringLiteral("زهرا کریمی"));
    EXPECT_EQ(doc->walkIn.phone, QStringLiteral("09123456789"));
    EXPECT_TRUE(messages.empty());
}

TEST_P(FrmCustomerNameTest, ARefusedPhoneKeepsTheDialogOpenOnIt) {
    doc->walkIn = {QStringLiteral("قبلی"), QStringLiteral("1234567")};
    auto dialog = shownDialog();
    QLineEdit* phone = field(*dialog, "txtPhone");
    EXPECT_EQ(field(*dialog, "txtName")->text(), QStringLiteral("قبلی"));
    type(field(*dialog, "txtName"), QStringLiteral("علی"));
    type(phone, QStringLiteral("۰۹۱۲"));
    QTest::keyClick(field(*dialog, "txtName"), Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->focusWidget(), phone);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("«تلفن خريدار» بايد 7 تا 15 رقم باشد و جز يك علامت + در ابتداي آن "
                             "نويسه ديگري نداشته باشد."));
    EXPECT_TRUE(doc->walkIn == (WalkInBuyer{QStringLiteral("قبلی"), QStringLiteral("1234567")}));

    QTest::keyClick(phone, Qt::Key_Escape);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(doc->walkIn.name, QStringLiteral("قبلی"));
}

TEST_P(FrmCustomerNameTest, AnEmptyPairClearsTheBuyer) {
    doc->walkIn = {QStringLiteral("قبلی"), QStringLiteral("1234567")};
    auto dialog = shownDialog();
    type(field(*dialog, "txtName"), QString());
    type(field(*dialog, "txtPhone"), QString());
    QTest::keyClick(field(*dialog, "txtPhone"), Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(doc->walkIn.isEmpty());
}

TEST_P(FrmCustomerNameTest, AStoredInvoiceOnlyShowsItsBuyer) {
    doc->FormMode = kModeView;
    doc->walkIn = {QStringLiteral("قبلی"), QStringLiteral("1234567")};
    auto dialog = shownDialog();
    EXPECT_TRUE(field(*dialog, "txtName")->isReadOnly());
    EXPECT_TRUE(field(*dialog, "txtPhone")->isReadOnly());
    EXPECT_FALSE(dialog->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->isVisible());
    QTest::keyClick(field(*dialog, "txtName"), Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(dialog->changed());
    EXPECT_EQ(doc->walkIn.phone, QStringLiteral("1234567"));
}

// F12 on the form opens the dialog in new mode; what is typed there becomes the invoice's.
TEST_P(FrmCustomerNameTest, F12OnTheFormOpensIt) {
    test::AddCustomer(db(), QStringLiteral("مشتريان"));
    FormMain form(ctx);
    form.setAttribute(Qt::WA_DontShowOnScreen);
    form.ClearShow();
    form.logic().runCommand(QStringLiteral("cmdNew"));
    ASSERT_EQ(form.logic().FormMode(), kModeNew);
    bool opened = false;
    QTimer::singleShot(0, [&opened] {
        auto* dialog = qobject_cast<FrmCustomerName*>(QApplication::activeModalWidget());
        if (!dialog) return;
        opened = true;
        dialog->findChild<QLineEdit*>(QStringLiteral("txtName"))->setText(QStringLiteral("سارا"));
        dialog->findChild<QLineEdit*>(QStringLiteral("txtPhone"))
            ->setText(QStringLiteral("+۹۸۲۱۱۲۳۴۵۶۷"));
        dialog->accept();
    });
    QKeyEvent f12(QEvent::KeyPress, Qt::Key_F12, Qt::NoModifier);
    QApplication::sendEvent(&form, &f12);
    EXPECT_TRUE(opened);
    EXPECT_EQ(form.logic().doc().walkIn.name, QStringLiteral("سارا"));
    EXPECT_EQ(form.logic().doc().walkIn.phone, QStringLiteral("+98211234567"));
}

SI_INSTANTIATE_BACKENDS(FrmCustomerNameTest);

}  // namespace
}  // namespace si
