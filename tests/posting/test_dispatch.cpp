// The inventory dispatch of a final invoice: its rows per barcode and unit, its code per
// inventory in receive-date order, reuse and renumbering when the invoice is saved again, the
// relabelled dispatch of an invoice made from one, and the form link.

#include <gtest/gtest.h>

#include "posting/DispatchView.h"
#include "posting/DocumentTestSupport.h"

namespace si::test {
namespace {

class DispatchTest : public PostingFixture {
protected:
    int save(int invoiceId) {
        newForm();
        load(invoiceId);
        return dispatch();
    }
    int codeOf(int dispatchId) {
        return db()
            .scalar(QStringLiteral("select Code from tblInventoryDispatch where ID=?"),
                    {dispatchId})
            .toInt();
    }
    void setInvoiceDate(int invoiceId, const QDate& date) {
        db().exec(QStringLiteral("update tblSaleInvoice set CreateDate=?, FarsiCreateDate=? "
                                 "where ID=?"),
                  {date, getFarsiDate(date), invoiceId});
    }
};

TEST_P(DispatchTest, LinesOfOneBarcodeAndUnitMakeOneRow) {
    const int invoice =
        storeInvoice({.lines = {{QStringLiteral("1001"), 2, 1000, 0, -1, QStringLiteral("الف")},
                                {QStringLiteral("1002"), 1, 1000},
                                {QStringLiteral("1001"), 3.5, 1000, 0, -1, QStringLiteral("ب")},
                                {QStringLiteral("1001"), 1, 12000, 0, box}}});
    for (int sequence : {1, 2})
        db().exec(QStringLiteral("insert into tblSaleInvoiceDetailTrace (InvoiceID, Barcode, "
                                 "ScaleID, TracePropertyTypeID1, Qty, ScaleQty, Sequence) values "
                                 "(?, '1001', ?, ?, 2, 2, ?)"),
                  {invoice, unit, 10 * sequence, sequence});
    const int id = save(invoice);
    ASSERT_GT(id, 0);
    const RowSet rows = db().query(
        QStringLiteral("select Barcode, ScaleID, Qty, ScaleQty, Description from "
                       "tblInventoryDispatchDetail where DispatchID=? order by Barcode, ScaleID"),
        {id});
    ASSERT_EQ(rows.size(), 3);
    // Ordered by barcode and unit (the box was added after the piece).
    struct Expected {
        const char* barcode;
        int unit;
        double qty;
        QString description;
    } const expected[] = {{"1001", unit, 5.5, QStringLiteral("ب")},
                          {"1001", box, 1.0, QString()},
                          {"1002", unit, 1.0, QString()}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i].text(u"Barcode"), QString::fromLatin1(expected[i].barcode));
        EXPECT_EQ(rows[i].toInt(u"ScaleID"), expected[i].unit);
        EXPECT_EQ(rows[i].toDouble(u"Qty"), expected[i].qty);
        EXPECT_EQ(rows[i].toDouble(u"ScaleQty"), expected[i].qty);
        EXPECT_EQ(rows[i].text(u"Description"), expected[i].description);
    }
    const Row trace = *db().first(
        QStringLiteral("select count(*) over () as n, TracePropertyTypeID1, Qty, Sequence from "
                       "tblInventoryDispatchDetailTrace where DispatchID=?"),
        {id});
    EXPECT_EQ(trace.toInt(u"n"), 1);
    EXPECT_EQ(trace.toInt(u"TracePropertyTypeID1"), 20);
    EXPECT_EQ(trace.toDouble(u"Qty"), 4);
    EXPECT_EQ(trace.toInt(u"Sequence"), 2);
}

TEST_P(DispatchTest, HeaderComesFromTheInvoice) {
    const int promoter = addEmployee(QStringLiteral("بازارياب"));
    const int keeper = addEmployee(QStringLiteral("انباردار"));
    db().exec(QStringLiteral("update tblInventory set ResponsibleID=? where ID=?"),
              {keeper, inventory});
    const int kind = static_cast<int>(db().insertReturningId(
        QStringLiteral("insert into tblInventoryDispatchType (Name) values (?) RETURNING ID"),
        {QStringLiteral("فروش")}));
    db().exec(QStringLiteral("update tblSaleInvoiceType set DispatchTypeID=? where ID=?"),
              {kind, type});
    const int invoice = storeInvoice({.date = QDate(2026, 11, 30),
                                      .lines = {{QStringLiteral("1002"), 1, 1000}},
                                      .branch = 5,
                                      .promoter = promoter});
    const int id = save(invoice);
    const Row r =
        *db().first(QStringLiteral("select * from tblInventoryDispatch where ID=?"), {id});
    EXPECT_EQ(r.toInt(u"InventoryID"), inventory);
    EXPECT_EQ(r.toInt(u"CreatorID"), ctx.globals.CurrentUserID);
    EXPECT_EQ(r.date(u"ReceiveDate"), QDate(2026, 11, 30));
    EXPECT_EQ(r.text(u"FarsiReceiveDate"), getFarsiDate(QDate(2026, 11, 30)));
    EXPECT_EQ(r.text(u"FarsiCreateDate"), getFarsiDate(QDate(2026, 11, 30)));
    EXPECT_EQ(r.toInt(u"SenderEmployeeID"), keeper);
    EXPECT_EQ(r.toInt(u"ReceiverEmployeeID"), promoter);
    EXPECT_EQ(r.toInt(u"RelatedClassID"), 7);
    EXPECT_EQ(r.toInt(u"RelatedOrganizationID"), customer);
    EXPECT_EQ(r.toInt(u"TypeID"), kind);
    EXPECT_EQ(r.toInt(u"FormTypeID"), 901);
    EXPECT_EQ(r.toInt(u"FormID"), invoice);
    EXPECT_EQ(r.toInt(u"BranchID"), 5);
    EXPECT_TRUE(r.isNull(u"ContractID"));
    EXPECT_EQ(r.text(u"Notes"),
              QStringLiteral("سند ايجاد شده از روي فاكتور فروش كالا به شماره رايانه اي ") +
                  QString::number(invoice));
    EXPECT_EQ(count(QStringLiteral("tblZelorRelatedForms where ReferenceFormID=? and "
                                   "ReferenceFormTypeID=901 and RelatedFormID=? and "
                                   "RelatedFormTypeID=802"),
                    {invoice, id}),
              1);

    // What the viewer shows of it.
    const std::optional<DispatchViewData> view = LoadDispatchView(db(), id);
    ASSERT_TRUE(view.has_value());
    EXPECT_EQ(view->code, QStringLiteral("1"));
    EXPECT_EQ(view->inventoryName, QStringLiteral("انبار مركزي"));
    EXPECT_EQ(view->typeName, QStringLiteral("فروش"));
    ASSERT_EQ(view->lines.size(), 1);
    EXPECT_EQ(view->lines[0].goodName, QStringLiteral("كالا 1002"));
    EXPECT_EQ(view->lines[0].unitName, QStringLiteral("عدد"));
    EXPECT_FALSE(LoadDispatchView(db(), id + 1).has_value());
}

struct NumberingStep {
    int inventory;  // 1 or 2: the fixture's inventory or a second one; -1 none
    int day;        // of December 2026
};

// Each inventory numbers its dispatches by receive date, whatever order the invoices are saved
// in; an invoice without an inventory is numbered against all of them.
TEST_P(DispatchTest, CodesPerInventoryFollowReceiveDates) {
    const int second = AddInventory(db(), QStringLiteral("انبار فروشگاه"));
    GrantInventory(db(), ctx.globals.CurrentUserID, second);
    const NumberingStep steps[] = {{1, 10}, {1, 3}, {2, 5}, {1, 7}, {2, 1}, {1, 3}, {-1, 4}};
    QVector<int> dispatches;
    for (const NumberingStep& s : steps) {
        const int inv = s.inventory == 1 ? inventory : s.inventory == 2 ? second : -1;
        dispatches << save(storeInvoice({.date = QDate(2026, 12, s.day),
                                         .lines = {{QStringLiteral("1002"), 1, 10}},
                                         .inventory = inv}));
    }
    // Inventory 1: days 3, 3, 7, 10 -> the two of day 3 in saving order; inventory 2: days 1, 5.
    // The one without inventory follows the highest code up to day 4 (2) and pushes the later
    // codes from 3 up by one, in both inventories.
    const int expected[] = {5, 1, 2, 4, 1, 2, 3};
    for (int i = 0; i < dispatches.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(codeOf(dispatches[i]), expected[i]);
    }
}

// Dispatches of the inventory module need not carry codes in date order: the next code is one
// above the highest up to the invoice date, so none is given twice.
TEST_P(DispatchTest, DispatchesOutOfDateOrderNeverRepeatACode) {
    auto existing = [this](int day, int code) {
        return static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblInventoryDispatch (Code, InventoryID, ReceiveDate) "
                           "values (?, ?, ?) RETURNING ID"),
            {code, inventory, QDate(2026, 12, day)}));
    };
    const int earlierHigher = existing(3, 3);
    const int laterLower = existing(7, 2);
    auto saved = [this](int day) {
        return save(storeInvoice(
            {.date = QDate(2026, 12, day), .lines = {{QStringLiteral("1002"), 1, 10}}}));
    };
    const int afterBoth = saved(8);
    EXPECT_EQ(QVector<int>({codeOf(earlierHigher), codeOf(laterLower), codeOf(afterBoth)}),
              QVector<int>({3, 2, 4}));
    const int between = saved(5);
    EXPECT_EQ(QVector<int>(
                  {codeOf(earlierHigher), codeOf(laterLower), codeOf(afterBoth), codeOf(between)}),
              QVector<int>({3, 2, 5, 4}));
    EXPECT_EQ(count(QStringLiteral("(select Code from tblInventoryDispatch group by Code having "
                                   "count(*) > 1) repeated")),
              0);
}

TEST_P(DispatchTest, FirstDispatchOfThePeriodIsNumberedOne) {
    save(storeInvoice({.date = QDate(2026, 3, 1), .lines = {{QStringLiteral("1002"), 1, 10}}}));
    db().exec(QStringLiteral("insert into tblAccountPeriod (Name, BeginDate, FarsiBeginDate, "
                             "EndDate, FarsiEndDate, IsActive) values ('1405', ?, ?, ?, ?, 1)"),
              {QDate(2026, 3, 21), getFarsiDate(QDate(2026, 3, 21)), QDate(2027, 3, 20),
               getFarsiDate(QDate(2027, 3, 20))});
    const int invoice =
        storeInvoice({.date = QDate(2026, 12, 1), .lines = {{QStringLiteral("1002"), 1, 10}}});
    EXPECT_EQ(codeOf(save(invoice)), 2);
    useParameter(P::PeriodDates, QStringLiteral("1"));
    EXPECT_EQ(codeOf(save(invoice)), 1);
}

// Saving again reuses the dispatch, rewrites its rows and numbers it afresh from the invoice
// date; the codes of the inventory stay consecutive.
TEST_P(DispatchTest, SavingAgainReusesAndRenumbersTheDispatch) {
    auto stored = [this](int day) {
        return storeInvoice(
            {.date = QDate(2026, 12, day), .lines = {{QStringLiteral("1002"), 1, 10}}});
    };
    const int early = save(stored(2));
    const int invoice = stored(5);
    const int late = save(stored(9));
    const int id = save(invoice);
    EXPECT_EQ(QVector<int>({codeOf(early), codeOf(id), codeOf(late)}), QVector<int>({1, 2, 3}));

    EXPECT_EQ(save(invoice), id);
    EXPECT_EQ(QVector<int>({codeOf(early), codeOf(id), codeOf(late)}), QVector<int>({1, 2, 3}));

    setInvoiceDate(invoice, QDate(2026, 12, 12));
    db().exec(QStringLiteral("update tblSaleInvoiceDetail set Qty=4 where InvoiceID=?"), {invoice});
    EXPECT_EQ(save(invoice), id);
    EXPECT_EQ(QVector<int>({codeOf(early), codeOf(late), codeOf(id)}), QVector<int>({1, 2, 3}));
    EXPECT_EQ(
        count(QStringLiteral("tblInventoryDispatch where FormTypeID=901 and FormID=?"), {invoice}),
        1);
    EXPECT_EQ(db().scalar(QStringLiteral("select Qty from tblInventoryDispatchDetail where "
                                         "DispatchID=?"),
                          {id})
                  .toDouble(),
              4);
    EXPECT_EQ(count(QStringLiteral("tblZelorRelatedForms where ReferenceFormID=?"), {invoice}), 1);
}

// An invoice made from a dispatch keeps that dispatch's goods; the dispatch only takes the
// invoice's code, link and branch, and the note once.
TEST_P(DispatchTest, DispatchTheInvoiceWasMadeFromIsOnlyRelabelled) {
    const int invoice = storeInvoice(
        {.lines = {{QStringLiteral("1002"), 7, 10}}, .branch = 6, .fromDispatch = true});
    const int id = static_cast<int>(db().insertReturningId(
        QStringLiteral("insert into tblInventoryDispatch (Code, InventoryID, ReceiveDate, "
                       "FormID, FormTypeID, Notes) values (8, ?, ?, ?, 901, ?) RETURNING ID"),
        {inventory, QDate(2026, 12, 6), invoice, QStringLiteral("بارنامه 12 ")}));
    db().exec(QStringLiteral("insert into tblInventoryDispatchDetail (DispatchID, Barcode, Qty, "
                             "ScaleID, ScaleQty) values (?, '1003', 2, ?, 2)"),
              {id, unit});
    EXPECT_EQ(save(invoice), id);
    EXPECT_EQ(save(invoice), id);
    const Row r =
        *db().first(QStringLiteral("select * from tblInventoryDispatch where ID=?"), {id});
    EXPECT_EQ(r.toInt(u"Code"), 1);
    EXPECT_EQ(r.toInt(u"BranchID"), 6);
    EXPECT_EQ(r.text(u"Notes"),
              QStringLiteral("بارنامه 12 سند ايجاد شده از روي فاكتور فروش كالا به شماره رايانه "
                             "اي ") +
                  QString::number(invoice));
    EXPECT_EQ(db().scalar(QStringLiteral("select Barcode from tblInventoryDispatchDetail where "
                                         "DispatchID=?"),
                          {id})
                  .toString(),
              QStringLiteral("1003"));
}

TEST_P(DispatchTest, DispatchesOfInvoiceOrWhyNone) {
    const int invoice = storeInvoice({.lines = {{QStringLiteral("1002"), 1, 10}}});
    newForm();
    load(invoice);
    EXPECT_TRUE(
        InventoryDispatch::DispatchesOfInvoice(form->ctx(), form->doc().invoiceID()).isEmpty());
    EXPECT_EQ(messages.last().caption, QStringLiteral("خطا"));
    EXPECT_EQ(messages.last().text,
              QStringLiteral("برگه خروجي از روي اين فاکتور فروش كالا صادر نشده است."));
    const int id = dispatch();
    EXPECT_EQ(InventoryDispatch::DispatchesOfInvoice(form->ctx(), form->doc().invoiceID()),
              QVector<int>{id});
}

SI_INSTANTIATE_BACKENDS(DispatchTest);

}  // namespace
}  // namespace si::test
