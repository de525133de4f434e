// The invoice form's command boundary: a statement that fails in a field's change handler, a
// command or the save leaves the form as the clerk had it, shows one message and writes nothing.
// And the form sees keys before its fields: Ctrl+X in a text box exits instead of cutting.

#include <gtest/gtest.h>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "assembly/ui/InvoiceModuleUi.h"
#include "controls/ui/SelectorWidget.h"
#include "invoice/ui/FormMain.h"
#include "invoice/ui/FormPromoter.h"
#include "support/ContextTest.h"
#include "support/InvoiceFixtures.h"
#include "support/MissingObject.h"
#include "support/Typing.h"

namespace si {
namespace {

const QString kBarcode = QStringLiteral("6260000000012");
const QString kNotes = QStringLiteral("تحويل فوري");

class FormGuardTest : public test::ContextTest {
protected:
    void SetUp() override {
        ContextTest::SetUp();
        inventory = test::AddInventory(db(), QStringLiteral("انبار فروشگاه"));
        test::GrantInventory(db(), ctx.globals.CurrentUserID, inventory, true);
        type = test::AddInvoiceType(db(), QStringLiteral("فروش"));
        test::GrantInvoiceType(db(), ctx.globals.CurrentUserID, type);
        unit = test::AddUnit(db(), QStringLiteral("عدد"), 1, true);
        test::AddGood(db(), kBarcode, QStringLiteral("1001"), QStringLiteral("چاي سبز"), 25000,
                      unit);
        customer = test::AddCustomer(db(), QStringLiteral("مشتري اول"));
        otherCustomer = test::AddCustomer(db(), QStringLiteral("مشتري دوم"));
        form = std::make_unique<FormMain>(ctx);
        module = InstallModule(*form);
    }
    void TearDown() override {
        module.reset();
        form.reset();
        ContextTest::TearDown();
    }
    template <typename T>
    T* control(const char* name) {
        return form->findChild<T*>(QString::fromLatin1(name));
    }
    InvoiceDocument& doc() { return form->logic().doc(); }

    // A new invoice as the clerk enters it: customer, inventory, type, one line and a note typed
    // into its box.
    void enterInvoice() {
        form->ClearShow();
        control<QPushButton>("cmdNew")->click();
        ASSERT_EQ(form->logic().FormMode(), kModeNew);
        doc().sltCustomer.setID(customer);
        doc().sltInventory.setID(inventory);
        doc().sltType.setID(type);
        QAbstractItemModel& grid = doc().flexDetail;
        grid.setData(grid.index(0, Col::BarCode), kBarcode, Qt::EditRole);
        test::TypeInto(control<QLineEdit>("txtNotes"), kNotes);
        form->logic().RefreshTimer_Timer();
        ASSERT_EQ(doc().flexDetail.line(0).GoodName, QStringLiteral("چاي سبز"))
            << messages.texts().join('\n').toStdString();
        messages.clear();
    }
    // The form on screen with a new invoice's header chosen, ready for the first scan.
    void startShownEntry() {
        form->ClearShow();
        form->show();
        control<QPushButton>("cmdNew")->click();
        doc().sltCustomer.setID(customer);
        doc().sltInventory.setID(inventory);
        doc().sltType.setID(type);
    }
    int storedInvoice() {
        test::InvoiceRow row;
        row.customer = customer;
        row.inventory = inventory;
        row.type = type;
        row.notes = QStringLiteral("فاكتور ثبت شده");
        const int id = test::AddInvoice(db(), row);
        test::AddInvoiceLine(db(), id, kBarcode, 3, 25000, unit, 1);
        return id;
    }
    int count(const char* table) {
        return db()
            .scalar(QStringLiteral("select count(*) from ") + QString::fromLatin1(table))
            .toInt();
    }
    void expectTheClerksInvoice() {
        EXPECT_EQ(form->logic().FormMode(), kModeNew);
        EXPECT_EQ(form->windowTitle(), QStringLiteral("فاکتور فروش (جديد)"));
        EXPECT_EQ(doc().sltCustomer.ID(), customer);
        EXPECT_TRUE(doc().txtID.isEmpty());
        ASSERT_EQ(doc().flexDetail.filledCount(), 1);
        EXPECT_EQ(doc().flexDetail.line(0).BarCode, kBarcode);
        EXPECT_EQ(control<QLineEdit>("txtTotalPriceLock")->text(), QStringLiteral("25/000"));
        EXPECT_EQ(doc().txtNotes, kNotes);
        EXPECT_EQ(control<QLineEdit>("txtNotes")->text(), kNotes);
        EXPECT_FALSE(db().inTransaction());
    }
    void expectOneMessageStartingWith(const QString& start) {
        ASSERT_EQ(messages.shown().size(), 1u) << messages.texts().join('\n').toStdString();
        EXPECT_EQ(messages.last().caption, kErrorCaption);
        EXPECT_TRUE(messages.last().text.startsWith(start)) << messages.last().text.toStdString();
    }

    int inventory = -1, type = -1, unit = -1, customer = -1, otherCustomer = -1;
    std::unique_ptr<FormMain> form;
    std::unique_ptr<InvoiceModule> module;
};

const QString kDatabaseError = QStringLiteral("خطای پایگاه داده: ");

// The customer's change handler reads the customer's card after the selection moved: the
// selection, the lines, the note and what the form offers are the clerk's again.
TEST_P(FormGuardTest, AFailingChangeHandlerPutsTheFieldBackAndKeepsTheLines) {
    enterInvoice();
    const QString customerText = doc().sltCustomer.text();
    const Availability before = form->logic().availability();
    const test::MissingObject card(*database, QStringLiteral("vwCRMOrganizationFinalCard"));
    auto* selector = control<SelectorWidget>("sltCustomer");
    selector->addItem(QStringLiteral("مشتري دوم"), otherCustomer);
    Q_EMIT selector->activated(selector->count() - 1);
    expectOneMessageStartingWith(kDatabaseError);
    expectTheClerksInvoice();
    EXPECT_EQ(doc().sltCustomer.text(), customerText);
    EXPECT_EQ(selector->currentText(), customerText);
    EXPECT_EQ(form->logic().availability().enabled(), before.enabled());
    EXPECT_EQ(form->logic().availability().title, before.title);
    EXPECT_FALSE(doc().loading);
}

// Search (Ctrl+F) empties the form before it reads the chosen invoice; when the reading fails,
// the invoice being entered comes back whole.
TEST_P(FormGuardTest, AFailingSearchLeavesTheInvoiceBeingEntered) {
    const int stored = storedInvoice();
    enterInvoice();
    const test::MissingObject lines(*database, QStringLiteral("tblSaleInvoiceDetail"));
    const int invoices = count("tblSaleInvoice");
    QTimer::singleShot(0, form.get(), [stored] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        dialog->setIntValue(stored);
        dialog->accept();
    });
    QTest::keyClick(control<QLineEdit>("txtNotes"), Qt::Key_F, Qt::ControlModifier);
    expectOneMessageStartingWith(kDatabaseError);
    expectTheClerksInvoice();
    EXPECT_EQ(count("tblSaleInvoice"), invoices);
}

// New in view mode clears the shown invoice before it reads the defaults: the stored invoice
// stays on the form, still in view mode.
TEST_P(FormGuardTest, AFailingNewLeavesTheShownInvoice) {
    const int stored = storedInvoice();
    form->ViewInvoice(stored);
    ASSERT_EQ(form->logic().FormMode(), kModeView);
    messages.clear();
    const test::MissingObject kinds(*database, QStringLiteral("vwSalePaidByCashMajor"));
    control<QPushButton>("cmdNew")->click();
    expectOneMessageStartingWith(kDatabaseError);
    EXPECT_EQ(form->logic().FormMode(), kModeView);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("فاکتور فروش (مشاهده)"));
    EXPECT_EQ(control<QLineEdit>("txtID")->text(), QString::number(stored));
    EXPECT_EQ(doc().flexDetail.filledCount(), 1);
    EXPECT_EQ(doc().txtNotes, QStringLiteral("فاكتور ثبت شده"));
    EXPECT_TRUE(control<QPushButton>("cmdNew")->isEnabled());
    EXPECT_FALSE(db().inTransaction());
}

// The save writes the header and then the lines in one transaction: with the lines' table gone,
// nothing is stored and the invoice stays on the form to be saved again.
TEST_P(FormGuardTest, AFailingSaveWritesNothingAndKeepsTheInvoice) {
    enterInvoice();
    const int invoices = count("tblSaleInvoice");
    ASSERT_TRUE(control<QPushButton>("cmdTempSave")->isEnabled());
    {
        const test::MissingObject lines(*database, QStringLiteral("tblSaleInvoiceDetail"));
        control<QPushButton>("cmdTempSave")->click();
    }
    expectOneMessageStartingWith(QStringLiteral("ثبت فاكتور انجام نشد"));
    expectTheClerksInvoice();
    EXPECT_EQ(count("tblSaleInvoice"), invoices);
    messages.clear();
    control<QPushButton>("cmdTempSave")->click();
    EXPECT_GT(doc().invoiceID(), 0) << messages.texts().join('\n').toStdString();
    EXPECT_EQ(count("tblSaleInvoice"), invoices + 1);
}

// A dialog's OK is a command of its own: when it fails, the dialog stays open and the line keeps
// what it had.
TEST_P(FormGuardTest, AFailingDialogOkKeepsTheDialogOpenAndTheLine) {
    enterInvoice();
    const InvoiceLine before = doc().flexDetail.line(0);
    FormPromoter dialog(form->logic().services(), 0, form.get());
    dialog.promoter().setIDQuietly(7, QStringLiteral("بازارياب"));
    {
        const test::MissingObject promoters(*database, QStringLiteral("vwSalePromoterMajor"));
        dialog.accept();
    }
    expectOneMessageStartingWith(kDatabaseError);
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(doc().flexDetail.line(0).PromoterID, before.PromoterID);
    EXPECT_EQ(doc().flexDetail.line(0).PromoterName, before.PromoterName);
    expectTheClerksInvoice();
}

// Exit (Ctrl+X) wins over the text box's cut: while an invoice is entered it asks to cancel;
// answered no, the text and the clipboard are as they were; answered yes, the entry ends.
TEST_P(FormGuardTest, CtrlXInATextBoxRunsExitInsteadOfCutting) {
    enterInvoice();
    form->show();
    auto* notes = control<QLineEdit>("txtNotes");
    notes->setFocus();
    notes->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("پيش از اين"));
    messages.answerNo();
    QTest::keyClick(notes, Qt::Key_X, Qt::ControlModifier);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().text, QStringLiteral("انصراف از ثبت فاکتور فروش"));
    EXPECT_EQ(notes->text(), kNotes);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("پيش از اين"));
    expectTheClerksInvoice();
    messages.answerYes();
    QTest::keyClick(notes, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(form->logic().FormMode(), kModeCleared);
}

// A message during line entry takes the keyboard, as a box does, and leaves the focus on the
// header's tabs; the next scan still lands in the grid, and so does every scan after it.
TEST_P(FormGuardTest, ScansAfterALineEntryMessageLandInTheGrid) {
    const QString second = QStringLiteral("6260000000029");
    test::AddGood(db(), second, QStringLiteral("1002"), QStringLiteral("قهوه"), 30000, unit);
    startShownEntry();
    auto* tabs = form->findChild<QTabBar*>();
    ASSERT_NE(tabs, nullptr);
    messages.onShown = [tabs] { tabs->setFocus(); };
    auto* grid = control<QTableView>("flexDetail");
    // The grid, or the editor of its current cell.
    const auto inTheGrid = [&] {
        QWidget* focus = form->focusWidget();
        return focus == grid || grid->isAncestorOf(focus);
    };
    const auto scan = [&](const QString& code) {
        ASSERT_TRUE(inTheGrid()) << form->focusWidget()->metaObject()->className();
        for (const QChar c : code) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(form->focusWidget(), &press);
        }
        QTest::keyClick(form->focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();  // the grid commits an edit queued
    };
    scan(QStringLiteral("999999"));
    scan(kBarcode);
    scan(QStringLiteral("888888"));
    scan(second);
    EXPECT_EQ(messages.shown().size(), 2u) << messages.texts().join('\n').toStdString();
    ASSERT_EQ(doc().flexDetail.filledCount(), 2);
    EXPECT_EQ(doc().flexDetail.line(0).BarCode, kBarcode);
    EXPECT_EQ(doc().flexDetail.line(1).BarCode, second);
    EXPECT_TRUE(inTheGrid());
    messages.onShown = nullptr;
}

// A scanner does not wait for a box: the code it types into the box, and the Enter that closes
// it, become the next scan. A question is never answered by a scan.
TEST_P(FormGuardTest, ACodeScannedIntoAMessageBoxIsTheNextLine) {
    const QString second = QStringLiteral("6260000000029");
    test::AddGood(db(), second, QStringLiteral("1002"), QStringLiteral("قهوه"), 30000, unit);
    startShownEntry();
    messages.onShown = [&] {
        QMessageBox box(form.get());
        box.addButton(QStringLiteral("تاييد"), QMessageBox::AcceptRole);
        QTimer::singleShot(0, &box, [&box, &second] {
            test::TypeInto(&box, second);
            QTest::keyClick(&box, Qt::Key_Return);
        });
        box.exec();
    };
    QAbstractItemModel& grid = doc().flexDetail;
    grid.setData(grid.index(0, Col::BarCode), QStringLiteral("999999"), Qt::EditRole);
    messages.onShown = nullptr;
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.shown().size(), 1u) << messages.texts().join('\n').toStdString();
    ASSERT_EQ(doc().flexDetail.filledCount(), 1);
    EXPECT_EQ(doc().flexDetail.line(0).BarCode, second);
}

// In shop mode a refused entry does not stop the scanner with a box: it shows in the message
// line, with a sound, until the next key. Letters typed as a quantity are refused in words.
TEST_P(FormGuardTest, ShopModeRefusalsShowInTheMessageLineUntilTheNextKey) {
    enterInvoice();
    form->show();
    QAbstractItemModel& grid = doc().flexDetail;
    grid.setData(grid.index(0, Col::Qty), QStringLiteral("دو"), Qt::EditRole);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("«دو» عدد نيست")));
    EXPECT_EQ(doc().flexDetail.line(0).Qty, 1);
    messages.clear();

    useParameter(P::ShopMode, QStringLiteral("1"));
    auto* label = control<QLabel>("lblErrMessage");
    grid.setData(grid.index(0, Col::Qty), QStringLiteral("-2"), Qt::EditRole);
    grid.setData(grid.index(1, Col::BarCode), QStringLiteral("999999"), Qt::EditRole);
    EXPECT_TRUE(messages.empty()) << messages.texts().join('\n').toStdString();
    EXPECT_FALSE(label->text().isEmpty());
    EXPECT_EQ(doc().flexDetail.line(0).Qty, 1);
    EXPECT_EQ(doc().flexDetail.filledCount(), 1);
    form->refreshView();
    EXPECT_FALSE(label->text().isEmpty()) << "held until a key, not until a refresh";
    QTest::keyClick(control<QTableView>("flexDetail"), Qt::Key_6);
    EXPECT_TRUE(label->text().isEmpty());
    form->refreshView();
    EXPECT_TRUE(label->text().isEmpty());
}

// A save tells its outcome in the message line, with no box to close.
TEST_P(FormGuardTest, ASaveSaysItsOutcomeInTheMessageLine) {
    enterInvoice();
    control<QPushButton>("cmdTempSave")->click();
    ASSERT_TRUE(messages.empty()) << messages.texts().join('\n').toStdString();
    ASSERT_FALSE(doc().txtID.isEmpty());
    form->refreshView();
    EXPECT_EQ(control<QLabel>("lblErrMessage")->text(),
              QStringLiteral("فاكتور با شماره رايانه اي %1 به طور موقت ثبت شد.").arg(doc().txtID));
}

// The grid's context menu deletes the row under the pointer after the question of Ctrl+Del.
TEST_P(FormGuardTest, TheGridsMenuDeletesARowOnlyWhenTheClerkSaysYes) {
    enterInvoice();
    form->show();
    QCoreApplication::processEvents();
    auto* grid = control<QTableView>("flexDetail");
    const QPoint onTheLine = grid->visualRect(doc().flexDetail.index(0, Col::GoodName)).center();
    const auto chooseDelete = [&] {
        QTimer::singleShot(0, form.get(), [] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            ASSERT_EQ(menu->actions().size(), 1);
            EXPECT_EQ(menu->actions().constFirst()->objectName(), QStringLiteral("mnuDelGood"));
            menu->setActiveAction(menu->actions().constFirst());
            QTest::keyClick(menu, Qt::Key_Return);
        });
        Q_EMIT grid->customContextMenuRequested(onTheLine);
    };
    messages.answerNo();
    chooseDelete();
    EXPECT_EQ(doc().flexDetail.filledCount(), 1);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().text, QStringLiteral("آيا مطمئن هستيد؟"));
    messages.answerYes();
    chooseDelete();
    EXPECT_EQ(doc().flexDetail.filledCount(), 0);
}

// F7 outside the line grid is New, as the key help lists it; the grid keeps it for its stock
// trace.
TEST_P(FormGuardTest, F7OutsideTheGridStartsANewInvoice) {
    form->ViewInvoice(storedInvoice());
    form->show();
    QLineEdit* box = control<QComboBox>("cmbScaleBarcode")->lineEdit();
    box->setFocus();
    QTest::keyClick(box, Qt::Key_F7, Qt::ShiftModifier);
    EXPECT_EQ(form->logic().FormMode(), kModeView);
    QTest::keyClick(box, Qt::Key_F7);
    EXPECT_EQ(form->logic().FormMode(), kModeNew);
    EXPECT_EQ(form->focusWidget(), control<QTableView>("flexDetail"));
}

// A weighing station's barcode acts as its last character arrives, without Enter: the station's
// sale opens as an invoice of its own, and the box is empty and has the focus for the next one.
TEST_P(FormGuardTest, AStationBarcodeActsAsItIsTypedAndKeepsTheFocus) {
    const int station = storedInvoice();
    const QString barcode = QStringLiteral("/%1/").arg(station, 11, 10, QLatin1Char('0'));
    form->ClearShow();
    control<QPushButton>("cmdNew")->click();
    form->show();
    QLineEdit* box = control<QComboBox>("cmbScaleBarcode")->lineEdit();
    ASSERT_TRUE(box->isEnabled());
    box->setFocus();
    test::TypeInto(box, barcode);
    EXPECT_TRUE(messages.empty()) << messages.texts().join('\n').toStdString();
    EXPECT_EQ(form->logic().FormMode(), kModeView);
    const int invoice = doc().invoiceID();
    EXPECT_GT(invoice, station);
    ASSERT_EQ(doc().flexDetail.filledCount(), 1);
    EXPECT_EQ(doc().flexDetail.line(0).BarCode, kBarcode);
    EXPECT_EQ(doc().scaleBarcodes, QStringList{barcode});
    EXPECT_TRUE(box->text().isEmpty());
    EXPECT_EQ(form->focusWidget(), control<QComboBox>("cmbScaleBarcode"));
}

// The view writes nothing of its own into the invoice: Ctrl+E on an untouched new invoice clears
// it without a question, while a typed note is not dropped unasked.
TEST_P(FormGuardTest, EditAsksOnlyAfterTheClerkChangedSomething) {
    form->ClearShow();
    form->show();
    auto* notes = control<QLineEdit>("txtNotes");
    control<QPushButton>("cmdNew")->click();
    QTest::keyClick(notes, Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(messages.empty()) << messages.texts().join('\n').toStdString();
    EXPECT_EQ(form->logic().FormMode(), kModeCleared);

    control<QPushButton>("cmdNew")->click();
    test::TypeInto(notes, kNotes);
    messages.answerNo();
    QTest::keyClick(notes, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(form->logic().FormMode(), kModeNew);
    EXPECT_EQ(notes->text(), kNotes);
}

// Outside entry the form has nothing to cancel: Ctrl+X in the scale-barcode box closes it.
TEST_P(FormGuardTest, CtrlXInViewModeClosesTheFormAndCutsNothing) {
    form->ViewInvoice(storedInvoice());
    form->show();
    QLineEdit* box = control<QComboBox>("cmbScaleBarcode")->lineEdit();
    ASSERT_TRUE(box->isEnabled());
    box->setFocus();
    test::TypeInto(box, QStringLiteral("2123"));
    box->selectAll();
    QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(box->text(), QStringLiteral("2123"));
}

// The form's keys are claimed before any shortcut of a field; other keys stay the field's.
TEST_P(FormGuardTest, OnlyTheFormsOwnKeysAreClaimed) {
    enterInvoice();
    form->show();
    auto* notes = control<QLineEdit>("txtNotes");
    notes->setFocus();
    for (const auto& [key, claimed] :
         {std::pair{Qt::Key_X, true}, std::pair{Qt::Key_S, true}, std::pair{Qt::Key_C, false},
          std::pair{Qt::Key_V, false}, std::pair{Qt::Key_Z, false}}) {
        QKeyEvent override(QEvent::ShortcutOverride, key, Qt::ControlModifier);
        override.ignore();
        QApplication::sendEvent(notes, &override);
        if (claimed) {
            EXPECT_TRUE(override.isAccepted()) << key;
        }
    }
    notes->selectAll();
    QTest::keyClick(notes, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), kNotes);  // copying is still the box's
}

SI_INSTANTIATE_BACKENDS(FormGuardTest);

}  // namespace
}  // namespace si
