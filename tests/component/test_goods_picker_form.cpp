// The goods picker on the invoice form: F3 in a goods cell, or the picker box above the grid,
// opens it; the keyboard alone finds, moves and picks, and the pick fills the row; Esc changes
// nothing.

#include <gtest/gtest.h>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "assembly/ui/InvoiceModuleUi.h"
#include "invoice/ui/FormMain.h"
#include "invoice/ui/FrmGoodsPicker.h"
#include "support/ContextTest.h"
#include "support/InvoiceFixtures.h"
#include "support/Typing.h"

namespace si {
namespace {

const QString kTea = QStringLiteral("6260000000012");
const QString kCoffee = QStringLiteral("6260000000029");

class GoodsPickerFormTest : public test::ContextTest {
protected:
    void SetUp() override {
        ContextTest::SetUp();
        inventory = test::AddInventory(db(), QStringLiteral("انبار فروشگاه"));
        test::GrantInventory(db(), ctx.globals.CurrentUserID, inventory, true);
        type = test::AddInvoiceType(db(), QStringLiteral("فروش"));
        test::GrantInvoiceType(db(), ctx.globals.CurrentUserID, type);
        const int unit = test::AddUnit(db(), QStringLiteral("عدد"), 1, true);
        test::AddGood(db(), kTea, QStringLiteral("1001"), QStringLiteral("چاي سبز"), 25000, unit);
        test::AddGood(db(), kCoffee, QStringLiteral("1002"), QStringLiteral("چاي سياه"), 30000,
                      unit);
        customer = test::AddCustomer(db(), QStringLiteral("مشتري اول"));
        form = std::make_unique<FormMain>(ctx);
        module = InstallModule(*form);
        form->ClearShow();
        form->show();
        form->findChild<QPushButton*>(QStringLiteral("cmdNew"))->click();
        doc().sltCustomer.setID(customer);
        doc().sltInventory.setID(inventory);
        doc().sltType.setID(type);
        grid = form->findChild<QTableView*>(QStringLiteral("flexDetail"));
        grid->setFocus();
        grid->setCurrentIndex(doc().flexDetail.index(0, Col::BarCode));
    }
    void TearDown() override {
        module.reset();
        form.reset();
        ContextTest::TearDown();
    }
    InvoiceDocument& doc() { return form->logic().doc(); }

    // When the picker opens: types into its box, searches, then presses the keys.
    void whenThePickerOpens(const QString& typed, std::vector<Qt::Key> keys) {
        QTimer::singleShot(0, [this, typed, keys] {
            auto* picker = qobject_cast<FrmGoodsPicker*>(QApplication::activeModalWidget());
            ASSERT_NE(picker, nullptr);
            auto* box = picker->findChild<QLineEdit*>(QStringLiteral("txtSearch"));
            opened = box->text();
            test::TypeInto(box, typed);
            picker->searchNow();
            listed = picker->found().size();
            for (const Qt::Key key : keys)
                QTest::keyClick(box, key);
            if (picker->isVisible()) picker->reject();  // a test that failed ends here
        });
    }

    int inventory = -1, type = -1, customer = -1;
    std::unique_ptr<FormMain> form;
    std::unique_ptr<InvoiceModule> module;
    QTableView* grid = nullptr;
    QString opened;
    qsizetype listed = -1;
};

// The data holds the Arabic ي; the clerk types the Persian ی, moves down and picks.
TEST_P(GoodsPickerFormTest, F3InAGoodsCellPicksByAPersianNameIntoTheRow) {
    whenThePickerOpens(QStringLiteral("چای"), {Qt::Key_Down, Qt::Key_Return});
    QTest::keyClick(grid, Qt::Key_F3);
    EXPECT_EQ(listed, 2);
    ASSERT_EQ(doc().flexDetail.filledCount(), 1) << messages.texts().join('\n').toStdString();
    EXPECT_EQ(doc().flexDetail.line(0).BarCode, kCoffee);
    EXPECT_EQ(doc().flexDetail.line(0).UnitPrice, Money::fromRials(30000));
    EXPECT_EQ(grid->currentIndex().row(), 1);
    EXPECT_TRUE(messages.empty());
}

TEST_P(GoodsPickerFormTest, EscapeClosesThePickerAndChangesNothing) {
    whenThePickerOpens(QStringLiteral("چای"), {Qt::Key_Escape});
    QTest::keyClick(grid, Qt::Key_F3);
    EXPECT_EQ(listed, 2);
    EXPECT_EQ(doc().flexDetail.filledCount(), 0);
    EXPECT_EQ(doc().flexDetail.rows(), 1);
    EXPECT_TRUE(messages.empty());
}

// What was typed into the cell, or into the picker box above the grid, is the picker's first
// search; the box is emptied once it was used.
TEST_P(GoodsPickerFormTest, TheTextTypedSoFarOpensThePicker) {
    grid->edit(grid->currentIndex());
    auto* cell = grid->findChild<QLineEdit*>();
    ASSERT_NE(cell, nullptr);
    test::TypeInto(cell, QStringLiteral("سبز"));
    whenThePickerOpens({}, {Qt::Key_Return});
    QTest::keyClick(cell, Qt::Key_F3);
    EXPECT_EQ(opened, QStringLiteral("سبز"));
    EXPECT_EQ(doc().flexDetail.line(0).BarCode, kTea);

    auto* box = form->findChild<QLineEdit*>(QStringLiteral("txtGoodsPicker"));
    grid->setCurrentIndex(doc().flexDetail.index(1, Col::BarCode));
    box->setFocus();
    test::TypeInto(box, QStringLiteral("۱۰۰۲"));
    whenThePickerOpens({}, {Qt::Key_Return});
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(opened, QStringLiteral("۱۰۰۲"));
    EXPECT_EQ(doc().flexDetail.line(1).BarCode, kCoffee);
    EXPECT_TRUE(box->text().isEmpty());
    EXPECT_TRUE(messages.empty()) << messages.texts().join('\n').toStdString();
}

SI_INSTANTIATE_BACKENDS(GoodsPickerFormTest);

}  // namespace
}  // namespace si
