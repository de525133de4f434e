// Removing a stored invoice: every dependant row goes, a dispatch the invoice was made from is
// released and one issued for it goes with its lines and traces, the event carries the reason,
// and a failure anywhere leaves every table as it was. The batch delete of one invoice touches
// only temporary invoices outside distribution sheets, with their sale orders.

#include <gtest/gtest.h>

#include "common/Codes.h"
#include "posting/DispatchNotes.h"
#include "posting/InvoiceRemoval.h"
#include "posting/RemovalTestSupport.h"

namespace si::test {

namespace {

using InvoiceRemovalTest = RemovalFixture;

TEST_P(InvoiceRemovalTest, ATemporaryInvoiceGoesWholeAndItsDispatchIsReleased) {
    const int other = temporaryInvoice();
    const int id = temporaryInvoice();
    const int dispatch = dispatchMadeFrom(id, id * 10 + 1);
    const QString before = footprint();

    DeleteInvoice(ctx, id, 2);

    EXPECT_FALSE(db().first(QStringLiteral("select ID from tblSaleInvoice where ID = ?"), {id}));
    for (const QString& table :
         {QStringLiteral("tblSaleInvoiceDetail"), QStringLiteral("tblSaleInvoiceSucharge"),
          QStringLiteral("tblSaleInvoiceShortage"), QStringLiteral("tblSaleInvoiceDetailDiscount"),
          QStringLiteral("tblSaleInvoiceDetailTrace"),
          QStringLiteral("tblSaleInvoiceScaleBarcode")}) {
        SCOPED_TRACE(table.toStdString());
        EXPECT_EQ(rowsOf(table, QStringLiteral("InvoiceID = ?"), {id}), 0);
        EXPECT_GT(rowsOf(table, QStringLiteral("InvoiceID = ?"), {other}), 0);
    }
    EXPECT_EQ(rowsOf(QStringLiteral("tblZelorRelatedForms"),
                     QStringLiteral("(ReferenceFormID = ? and ReferenceFormTypeID = 901) or "
                                    "(RelatedFormID = ? and RelatedFormTypeID = 901)"),
                     {id, id}),
              0);
    EXPECT_EQ(rowsOf(QStringLiteral("tblZelorRelatedForms"),
                     QStringLiteral("ReferenceFormID = ? or RelatedFormID = ?"), {other, other}),
              2);
    // The dispatch keeps its goods and the other invoice's note, and loses the link.
    const Row d = *db().first(
        QStringLiteral("select FormID, FormTypeID, Notes from tblInventoryDispatch where ID = ?"),
        {dispatch});
    EXPECT_TRUE(d.isNull(u"FormID"));
    EXPECT_TRUE(d.isNull(u"FormTypeID"));
    EXPECT_EQ(d.text(u"Notes"), QStringLiteral("يادداشت انبار") + DispatchInvoiceNote(id * 10 + 1));
    EXPECT_EQ(rowsOf(QStringLiteral("tblInventoryDispatchDetail"), QStringLiteral("DispatchID = ?"),
                     {dispatch}),
              2);

    const Row event = *lastEvent();
    EXPECT_EQ(event.toInt(u"EventTypeID"), EventType::InvoiceDeleted);
    EXPECT_EQ(event.toInt(u"FormCode"), id);
    EXPECT_EQ(event.toInt(u"FormTypeID"), FormType::SaleInvoice);
    EXPECT_EQ(event.text(u"Description"), QStringLiteral("فاكتور فروش كالا به شماره رايانهاي ") +
                                              QString::number(id) + QStringLiteral(" حذف شد."));
    EXPECT_EQ(event.toInt(u"UserID"), ctx.globals.CurrentUserID);
    EXPECT_EQ(event.date(u"EventDate"), now.date());
    EXPECT_EQ(event.text(u"FarsiEventDate"), getFarsiDate(now.date()));
    EXPECT_EQ(event.toInt(u"EventTime"), 10 * 60);
    EXPECT_EQ(event.toInt(u"ReasonSequence"), 2);
    EXPECT_NE(footprint(), before);
}

TEST_P(InvoiceRemovalTest, AFinalInvoiceTakesItsOwnDispatchAlong) {
    const int kept = storeInvoice({.lines = {{QStringLiteral("1001"), 1, 1000}}, .code = 1});
    addTrace(kept);
    load(kept);
    const int keptDispatch = dispatch();
    const int id = storeInvoice(
        {.lines = {{QStringLiteral("1001"), 2, 1000}, {QStringLiteral("1002"), 1, 1000}},
         .code = 2});
    addTrace(id);
    newForm();
    load(id);
    const int own = dispatch();
    ASSERT_GT(own, 0);
    ASSERT_GT(rowsOf(QStringLiteral("tblInventoryDispatchDetailTrace"),
                     QStringLiteral("DispatchID = ?"), {own}),
              0);

    DeleteInvoice(ctx, id, std::nullopt);

    for (const QString& table : {QStringLiteral("tblInventoryDispatchDetail"),
                                 QStringLiteral("tblInventoryDispatchDetailTrace")}) {
        EXPECT_EQ(rowsOf(table, QStringLiteral("DispatchID = ?"), {own}), 0);
        EXPECT_GT(rowsOf(table, QStringLiteral("DispatchID = ?"), {keptDispatch}), 0);
    }
    EXPECT_EQ(rowsOf(QStringLiteral("tblInventoryDispatch"), QStringLiteral("ID = ?"), {own}), 0);
    EXPECT_EQ(
        rowsOf(QStringLiteral("tblInventoryDispatch"), QStringLiteral("ID = ?"), {keptDispatch}),
        1);
    EXPECT_EQ(
        rowsOf(QStringLiteral("tblZelorRelatedForms"), QStringLiteral("RelatedFormID = ?"), {own}),
        0);
    EXPECT_EQ(rowsOf(QStringLiteral("tblSaleInvoiceDetail"), QStringLiteral("InvoiceID = ?"), {id}),
              0);
    const Row event = *lastEvent();
    EXPECT_EQ(event.toInt(u"FormCode"), id);
    EXPECT_TRUE(event.isNull(u"ReasonSequence"));
}

// The event is the last statement: when it fails, everything before it is undone.
TEST_P(InvoiceRemovalTest, AFailureAtTheLastStepLeavesEveryTableAsItWas) {
    const int id = temporaryInvoice();
    dispatchMadeFrom(id, 5);
    const QString before = footprint();
    procedures.add(
        QStringLiteral("spZelorInsertFormAction"), [](Session&, QVariantList&) -> QVariant {
            throw SqlError(QStringLiteral("spZelorInsertFormAction"), QStringLiteral("disk full"));
        });
    EXPECT_THROW(DeleteInvoice(ctx, id, 1), SqlError);
    EXPECT_THROW(DeleteTempInvoice(ctx, id, 1), SqlError);
    EXPECT_FALSE(db().inTransaction());
    EXPECT_EQ(footprint(), before);
}

TEST_P(InvoiceRemovalTest, AnInvoiceNoLongerStoredIsRefusedInPersian) {
    const int id = temporaryInvoice();
    DeleteInvoice(ctx, id, std::nullopt);
    const QString before = footprint();
    try {
        DeleteInvoice(ctx, id, std::nullopt);
        ADD_FAILURE() << "deleted twice";
    } catch (const InvoiceNotFound& e) {
        EXPECT_TRUE(e.text().contains(QString::number(id)));
    }
    EXPECT_EQ(footprint(), before);
}

TEST_P(InvoiceRemovalTest, TheBatchDeleteTakesOnlyTemporaryUndistributedInvoices) {
    const int finalId = storeInvoice({.lines = {{QStringLiteral("1001"), 1, 1000}}, .code = 1});
    const int distributed = temporaryInvoice();
    db().exec(QStringLiteral("update tblSaleInvoice set DistributionInvoiceID = ? where ID = ?"),
              {distributionSheet(false), distributed});
    const QString before = footprint();
    EXPECT_FALSE(DeleteTempInvoice(ctx, finalId, 3));
    EXPECT_FALSE(DeleteTempInvoice(ctx, distributed, 3));
    EXPECT_FALSE(DeleteTempInvoice(ctx, 999999, 3));
    EXPECT_EQ(footprint(), before);

    const int keptOrder = saleOrder();
    const int order = saleOrder();
    const int id = temporaryInvoice();
    const int dispatch = dispatchMadeFrom(id, 5);
    db().exec(QStringLiteral("update tblSaleInvoice set SaleOrderID = ? where ID = ?"),
              {order, id});
    EXPECT_TRUE(DeleteTempInvoice(ctx, id, 3));
    EXPECT_EQ(rowsOf(QStringLiteral("tblSaleInvoice"), QStringLiteral("ID = ?"), {id}), 0);
    for (const QString& table :
         {QStringLiteral("tblSaleInvoiceDetail"), QStringLiteral("tblSaleInvoiceDetailDiscount"),
          QStringLiteral("tblSaleInvoiceDetailTrace"), QStringLiteral("tblSaleInvoiceSucharge"),
          QStringLiteral("tblSaleInvoiceShortage"), QStringLiteral("tblSaleInvoiceScaleBarcode")})
        EXPECT_EQ(rowsOf(table, QStringLiteral("InvoiceID = ?"), {id}), 0) << table.toStdString();
    EXPECT_EQ(rowsOf(QStringLiteral("tblSaleOrder"), QStringLiteral("ID = ?"), {order}), 0);
    EXPECT_EQ(rowsOf(QStringLiteral("tblSaleOrderDetail"), QStringLiteral("OrderID = ?"), {order}),
              0);
    EXPECT_EQ(rowsOf(QStringLiteral("tblSaleOrder"), QStringLiteral("ID = ?"), {keptOrder}), 1);
    EXPECT_EQ(
        rowsOf(QStringLiteral("tblSaleOrderDetail"), QStringLiteral("OrderID = ?"), {keptOrder}),
        1);
    EXPECT_EQ(rowsOf(QStringLiteral("tblInventoryDispatch"),
                     QStringLiteral("ID = ? and FormID is null"), {dispatch}),
              1);
    const Row event = *lastEvent();
    EXPECT_EQ(event.toInt(u"EventTypeID"), EventType::InvoiceBatchDeleted);
    EXPECT_EQ(event.toInt(u"FormCode"), id);
    EXPECT_EQ(event.toInt(u"ReasonSequence"), 3);
}

TEST(DispatchNotesTest, OnlyThisInvoicesNotesAreTakenOut) {
    EXPECT_EQ(
        WithoutInvoiceNotes(QStringLiteral("الف") + DispatchLinkNote(12) + DispatchInvoiceNote(1) +
                                DispatchInvoiceNote(12) + DispatchLinkNote(1),
                            1),
        QStringLiteral("الف") + DispatchLinkNote(12) + DispatchInvoiceNote(12));
    EXPECT_EQ(WithoutInvoiceNotes(QString(), 1), QString());
}

SI_INSTANTIATE_BACKENDS(InvoiceRemovalTest);

}  // namespace
}  // namespace si::test
