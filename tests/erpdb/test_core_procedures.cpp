// The database procedures the form calls first: invoice existence, the form-event log, form
// links and the sale-order quantities.

#include <gtest/gtest.h>

#include "support/ContextTest.h"

namespace si {
namespace {

class CoreProceduresTest : public test::ContextTest {};

TEST_P(CoreProceduresTest, InvoiceAvailabilityIsPositiveOnlyForStoredInvoices) {
    const qint64 id = db().insertReturningId(
        QStringLiteral("insert into tblSaleInvoice (Notes) values ('') RETURNING ID"));
    EXPECT_GT(
        db().call(QStringLiteral("dbo.spSaleIsInvoiceAvailable"), QVariantList{int(id)}).toInt(),
        0);
    for (int missing : {0, -1, int(id) + 1})
        EXPECT_EQ(
            db().call(QStringLiteral("spSaleIsInvoiceAvailable"), QVariantList{missing}).toInt(), 0)
            << missing;
}

TEST_P(CoreProceduresTest, FormActionIsLoggedWithItsTime) {
    db().call(QStringLiteral("spZelorInsertFormAction"),
              QVariantList{90101, 12, 901,
                           QStringLiteral("فاكتور فروش كالا به شماره رايانهاي 12 اصلاح شد."),
                           ctx.globals.CurrentUserID, now, QStringLiteral("1405/09/15"), 600});
    const auto row =
        db().first(QStringLiteral("select * from tblZelorFormEvent where FormCode = 12"));
    ASSERT_TRUE(row);
    EXPECT_EQ(row->toInt(u"EventTypeID"), 90101);
    EXPECT_EQ(row->toInt(u"FormTypeID"), 901);
    EXPECT_EQ(row->toInt(u"EventTime"), 600);
    EXPECT_EQ(row->text(u"FarsiEventDate"), QStringLiteral("1405/09/15"));
    EXPECT_EQ(row->dateTime(u"EventDate"), now);
}

TEST_P(CoreProceduresTest, UnrelatingAFormRemovesItsLinksOnBothSides) {
    const QString link = QStringLiteral(
        "insert into tblZelorRelatedForms (ReferenceFormID, ReferenceFormTypeID, RelatedFormID, "
        "RelatedFormTypeID) "
        "values (?,?,?,?)");
    db().exec(link, {5, 901, 8, 802});
    db().exec(link, {3, 205, 5, 901});
    db().exec(link, {5, 802, 9, 901});  // dispatch 5, not invoice 5
    db().call(QStringLiteral("spZelorUnRelateForms"), QVariantList{5, 901});
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from tblZelorRelatedForms")).toInt(), 1);
}

TEST_P(CoreProceduresTest, AssignedQuantityShrinksAsInvoicesSell) {
    const QString line =
        QStringLiteral("insert into tblSaleOrderDetail (OrderID, Barcode, Qty) values (?,?,?)");
    db().exec(line, {7, QStringLiteral("626004"), 10});
    db().exec(line, {7, QStringLiteral("626004"), 2.5});
    db().exec(line, {8, QStringLiteral("626004"), 100});
    EXPECT_DOUBLE_EQ(
        db().call(QStringLiteral("spAssignedNonSoldQty"), QVariantList{7, QStringLiteral("626004")})
            .toDouble(),
        12.5);
    db().call(QStringLiteral("spUpdateAssignedOrders"),
              QVariantList{7, 44, QStringLiteral("626004"), 11});
    EXPECT_DOUBLE_EQ(
        db().call(QStringLiteral("spAssignedNonSoldQty"), QVariantList{7, QStringLiteral("626004")})
            .toDouble(),
        1.5);
    const RowSet sold = db().query(
        QStringLiteral("select SoldQty from tblSaleOrderDetail where OrderID = 7 order by ID"));
    EXPECT_EQ(sold[0].money(u"SoldQty"), Money::fromRials(10));  // the first line filled first
    EXPECT_EQ(sold[1].money(u"SoldQty"), Money::fromRials(1));
    db().call(QStringLiteral("spUpdateAssignedOrders"),
              QVariantList{7, 45, QStringLiteral("626004"), 3});
    EXPECT_DOUBLE_EQ(
        db().call(QStringLiteral("spAssignedNonSoldQty"), QVariantList{7, QStringLiteral("626004")})
            .toDouble(),
        -1.5);
    EXPECT_DOUBLE_EQ(
        db().call(QStringLiteral("spAssignedNonSoldQty"), QVariantList{9, QStringLiteral("626004")})
            .toDouble(),
        0);
}

SI_INSTANTIATE_BACKENDS(CoreProceduresTest);

}  // namespace
}  // namespace si
