// The invoice form on a till screen of 1366x768 in the host's own font: the whole form fits, ten
// line rows show, a barcode shows whole, and the columns a cashier reads need no scrolling.

#include <gtest/gtest.h>
#include <QApplication>
#include <QHeaderView>
#include <QTableView>

#include "apps/host/HostApp.h"
#include "controls/ui/WrappingHeaderView.h"
#include "invoice/ui/FormMain.h"
#include "support/ContextTest.h"
#include "support/InvoiceFixtures.h"

namespace si::host {
namespace {

// The screen less the title bar a window manager puts on the form.
const QSize kTillScreen(1366, 768 - 30);

TEST(TwoLineTitleTest, WrapsBetweenWordsAndElidesOnlyWhatCannotFit) {
    const QFontMetrics metrics(QApplication::font());
    const QString title = QStringLiteral("مبلغ كل پس از تخفيف");
    EXPECT_EQ(TwoLineTitle(metrics, title, 1000), title);
    const int narrow =
        metrics.horizontalAdvance(QStringLiteral("مبلغ كل پس")) + metrics.averageCharWidth();
    const QString two = TwoLineTitle(metrics, title, narrow);
    EXPECT_EQ(two.count(QLatin1Char('\n')), 1);
    EXPECT_FALSE(two.contains(QChar(0x2026))) << two.toStdString();
    EXPECT_EQ(QString(two).replace(QLatin1Char('\n'), QLatin1Char(' ')), title);
    // Too narrow for two lines: cut, and marked as cut.
    const QString cut =
        TwoLineTitle(metrics, title, metrics.horizontalAdvance(QStringLiteral("مبلغ")));
    EXPECT_TRUE(cut.contains(QChar(0x2026))) << cut.toStdString();
    EXPECT_LE(cut.count(QLatin1Char('\n')), 1);
}

class TillScreenTest : public test::ContextTest {
protected:
    void SetUp() override {
        ContextTest::SetUp();
        const QString family = PersianFontFamily();
        ASSERT_FALSE(family.isEmpty()) << "no Persian font installed";
        QFont font = QApplication::font();
        font.setFamilies({family, QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans")});
        font.setPointSize(10);
        QApplication::setFont(font);
        const int inventory = test::AddInventory(db(), QStringLiteral("انبار فروشگاه"));
        test::GrantInventory(db(), ctx.globals.CurrentUserID, inventory, true);
        const int type = test::AddInvoiceType(db(), QStringLiteral("فروش"));
        test::GrantInvoiceType(db(), ctx.globals.CurrentUserID, type);
        const int unit = test::AddUnit(db(), QStringLiteral("عدد"), 1, true);
        for (int i = 0; i < kLines; ++i)
            test::AddGood(db(), barcode(i), QString::number(1001 + i),
                          QStringLiteral("برنج طارم ممتاز خانواده 10 کيلوگرمي"), 125'750'000, unit);
        beforeForm();
        form = std::make_unique<FormMain>(ctx);
        form->ClearShow();
        form->logic().runCommand(QStringLiteral("cmdNew"));
        doc().sltCustomer.setID(test::AddCustomer(db(), QStringLiteral("مشتري")));
        doc().sltInventory.setID(inventory);
        doc().sltType.setID(type);
        for (int i = 0; i < kLines; ++i)
            doc().flexDetail.setData(doc().flexDetail.index(i, Col::BarCode), barcode(i),
                                     Qt::EditRole);
        form->refreshView();
    }
    void TearDown() override {
        form.reset();
        QApplication::setFont(QFont());
        ContextTest::TearDown();
    }
    virtual void beforeForm() {}
    void expectTheFormFits();
    static QString barcode(int i) { return QStringLiteral("62610390000%1").arg(10 + i); }
    InvoiceDocument& doc() { return form->logic().doc(); }

    static constexpr int kLines = 12;
    std::unique_ptr<FormMain> form;
};

// A shop's form adds the turn selector and the change fields; it must fit all the same.
class ShopTillScreenTest : public TillScreenTest {
protected:
    void beforeForm() override {
        useParameter(3, QStringLiteral("1"));
        const auto box = db().insertReturningId(QStringLiteral(
            "insert into tblRecPayCash (Name) values ('صندوق فروشگاه مرکزي') RETURNING ID"));
        db().exec(QStringLiteral("insert into tblRecPayCashUser (CashID, UserID) values (?, ?)"),
                  {box, ctx.globals.CurrentUserID});
        db().exec(QStringLiteral("insert into tblRecPayCashTurn (CashID, Turn, IsOpen, UserID, "
                                 "FarsiOpenDate) values (?, 12, 1, ?, '1405/09/15')"),
                  {box, ctx.globals.CurrentUserID});
    }
};

TEST_P(TillScreenTest, TheFormFitsWithTenRowsAndTheCashiersColumnsInView) {
    expectTheFormFits();
}

TEST_P(ShopTillScreenTest, TheShopFormFitsWithItsCashTurn) {
    expectTheFormFits();
    EXPECT_TRUE(form->findChild<QWidget*>(QStringLiteral("cmbCashTurn"))->isVisible());
    EXPECT_TRUE(
        form->findChild<QWidget*>(QStringLiteral("txtTempCustomerCashReturn"))->isVisible());
}

void TillScreenTest::expectTheFormFits() {
    ASSERT_EQ(doc().flexDetail.filledCount(), kLines);
    EXPECT_LE(form->minimumSizeHint().width(), kTillScreen.width());
    EXPECT_LE(form->sizeHint().height(), kTillScreen.height());
    form->resize(form->sizeHint().boundedTo(kTillScreen));
    form->show();
    QCoreApplication::processEvents();
    EXPECT_LE(form->height(), kTillScreen.height());

    auto* grid = form->findChild<QTableView*>(QStringLiteral("flexDetail"));
    ASSERT_NE(grid, nullptr);
    EXPECT_GE(grid->viewport()->height() / grid->verticalHeader()->defaultSectionSize(),
              FormMain::kLineRowsShown);
    const QFontMetrics metrics = grid->fontMetrics();
    EXPECT_GT(grid->columnWidth(Col::BarCode), metrics.horizontalAdvance(barcode(0)));
    const QHeaderView* header = grid->horizontalHeader();
    for (int col : {Col::GoodName, Col::Qty, Col::UnitName, Col::UnitPrice, Col::DiscountPercent,
                    Col::DiscountValue, Col::LineTotal}) {
        const int start = header->sectionViewportPosition(col);
        EXPECT_GE(start, 0) << col;
        EXPECT_LE(start + header->sectionSize(col), grid->viewport()->width()) << col;
        // A title that is not whole on the header is whole in its tooltip.
        const QString title =
            doc().flexDetail.headerData(col, Qt::Horizontal, Qt::DisplayRole).toString();
        EXPECT_EQ(doc().flexDetail.headerData(col, Qt::Horizontal, Qt::ToolTipRole).toString(),
                  title);
        EXPECT_FALSE(TwoLineTitle(header->fontMetrics(), title, header->sectionSize(col) - 8)
                         .contains(QChar(0x2026)))
            << title.toStdString();
    }
    // Amounts show whole: the line total of the dearest line is not cut.
    const QString total =
        doc()
            .flexDetail.data(doc().flexDetail.index(0, Col::LineTotal), Qt::DisplayRole)
            .toString();
    EXPECT_FALSE(total.isEmpty());
    EXPECT_GT(grid->columnWidth(Col::LineTotal), metrics.horizontalAdvance(total));
}

SI_INSTANTIATE_BACKENDS(TillScreenTest);
SI_INSTANTIATE_BACKENDS(ShopTillScreenTest);

}  // namespace
}  // namespace si::host
