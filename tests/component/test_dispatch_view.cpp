// The dispatch viewer of cmdInvExit: header fields and lines as loaded, nothing editable.

#include <gtest/gtest.h>
#include <QLabel>
#include <QTableWidget>

#include "posting/ui/FrmDispatchView.h"

namespace si {
namespace {

TEST(FrmDispatchViewTest, ShowsTheHeaderAndEveryLineReadOnly) {
    DispatchViewData data;
    data.id = 41;
    data.code = QStringLiteral("17");
    data.inventoryName = QStringLiteral("انبار مركزي");
    data.farsiReceiveDate = QStringLiteral("1405/09/15");
    data.lines = {{QStringLiteral("6260000000012"), QStringLiteral("چاي"), QStringLiteral("عدد"),
                   2.5, QString()},
                  {QStringLiteral("6260000000029"), QStringLiteral("قند"), QStringLiteral("كارتن"),
                   3, QStringLiteral("شكسته")}};
    FrmDispatchView view(data);
    EXPECT_EQ(view.layoutDirection(), Qt::RightToLeft);
    EXPECT_EQ(view.findChild<QLabel*>(QStringLiteral("lblCode"))->text(), QStringLiteral("17"));
    EXPECT_EQ(view.findChild<QLabel*>(QStringLiteral("lblInventory"))->text(),
              QStringLiteral("انبار مركزي"));
    auto* grid = view.findChild<QTableWidget*>(QStringLiteral("flexDispatch"));
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->item(0, 4)->text(), QStringLiteral("2.5"));
    EXPECT_EQ(grid->item(1, 2)->text(), QStringLiteral("قند"));
    EXPECT_EQ(grid->item(1, 5)->text(), QStringLiteral("شكسته"));
    for (int r = 0; r < grid->rowCount(); ++r)
        for (int c = 0; c < grid->columnCount(); ++c)
            EXPECT_FALSE(grid->item(r, c)->flags() & Qt::ItemIsEditable) << r << "," << c;
}

}  // namespace
}  // namespace si
