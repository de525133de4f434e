// The promotions dialog: flexPromotion under its name with its column titles, one row per
// promotion detail with the rows the last promotion pass gave it.

#include <gtest/gtest.h>
#include <QHeaderView>
#include <QTableWidget>

#include "common/Jalali.h"
#include "invoice/DiscountLogic.h"
#include "invoice/InvoiceServices.h"
#include "invoice/ui/FrmPromotions.h"
#include "support/ContextTest.h"
#include "support/InvoiceFixtures.h"

namespace si {
namespace {

class FrmPromotionsTest : public test::ContextTest {};

TEST_P(FrmPromotionsTest, ListsTheDetailsWithTheirRows) {
    const int unit = test::AddUnit(db(), QStringLiteral("عدد"), 1, true);
    test::AddGood(db(), QStringLiteral("A"), QStringLiteral("1"), QStringLiteral("ماست"), 1000,
                  unit);
    const QDate today = now.date();
    const int id = static_cast<int>(db().insertReturningId(
        QStringLiteral("insert into tblSalePromotion (Name, FarsiBeginDate, FarsiEndDate) values "
                       "(?,?,?) RETURNING ID"),
        {QStringLiteral("جشنواره"), getFarsiDate(today.addDays(-1)),
         getFarsiDate(today.addDays(1))}));
    db().exec(QStringLiteral("insert into tblSalePromotionDetail (PromotionID, Sequence, "
                             "PriorityNo, Notes, DiscountPercent, IsDiscountGoodSelf) values "
                             "(?, 2, 4, ?, 10, 1)"),
              {id, QStringLiteral("ده درصد ماست")});
    db().exec(QStringLiteral("insert into tblSalePromotionDetailGood (PromotionID, Sequence, "
                             "Barcode, isPositive) values (?, 2, 'A', 1)"),
              {id});
    InvoiceDocument doc(ctx);
    InvoiceServices services(ctx, doc);
    doc.FormMode = kModeNew;
    doc.datCreateDate = today;
    InvoiceLine line;
    line.BarCode = QStringLiteral("A");
    line.Qty = 1;
    line.UnitPrice = Money::fromRials(1000);
    doc.flexDetail.appendLine(line);
    services.discounts->RefreshEchantillon();

    FrmPromotions dialog(services);
    auto* grid = dialog.findChild<QTableWidget*>(QStringLiteral("flexPromotion"));
    ASSERT_NE(grid, nullptr);
    const QStringList titles = {QStringLiteral("ش.ر"),          QStringLiteral("جزء"),
                                QStringLiteral("اولويت"),       QStringLiteral("شرح"),
                                QStringLiteral("رديفهاي كالا"), QStringLiteral("رديفهاي اشانتيون")};
    ASSERT_EQ(grid->columnCount(), titles.size());
    for (int c = 0; c < titles.size(); ++c)
        EXPECT_EQ(grid->horizontalHeaderItem(c)->text(), titles[c]);
    ASSERT_EQ(grid->rowCount(), 1);
    const QStringList expected = {QString::number(id), QStringLiteral("2"),
                                  QStringLiteral("4"), QStringLiteral("ده درصد ماست"),
                                  QStringLiteral("1"), QString()};
    for (int c = 0; c < expected.size(); ++c)
        EXPECT_EQ(grid->item(0, c)->text(), expected[c]) << c;
    EXPECT_EQ(doc.flexDetail.line(0).DiscountPercent, 10);
}

SI_INSTANTIATE_BACKENDS(FrmPromotionsTest);

}  // namespace
}  // namespace si
