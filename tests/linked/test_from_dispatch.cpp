// FormFromInventoryDispatch: the four checks in their order, each writing nothing; the invoice made
// of a dispatch (a temporary credit sale of its organisation, its branch and warehouse, under
// parameter 311 its type and object), its lines per goods and unit, the traces handed over, the
// dispatch linked with its note kept to 1000 characters; a failure on the way leaves nothing; the
// command line and the dialog.

#include <gtest/gtest.h>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QRadioButton>
#include <QTextStream>

#include "apps/cli/Cli.h"
#include "common/Jalali.h"
#include "linked/DispatchTestSupport.h"
#include "linked/InvoiceFromDispatch.h"
#include "linked/ui/FormFromInventoryDispatch.h"

namespace si::test {
namespace {

class FromDispatchTest : public DispatchTest {
protected:
    std::optional<int> make(const DispatchLookup& lookup) {
        messages.clear();
        return InvoiceFromDispatch(ctx).cmdOK(lookup);
    }
    static DispatchLookup byId(int id) {
        DispatchLookup l;
        l.byCode = false;
        l.number = QString::number(id);
        l.createDate = QDate(2026, 12, 5);
        return l;
    }
    static DispatchLookup byCode(int code, int inventory = -1) {
        DispatchLookup l;
        l.number = QString::number(code);
        l.inventoryId = inventory;
        l.createDate = QDate(2026, 12, 5);
        return l;
    }
    Row invoice(int id) {
        return *db().first(QStringLiteral("select * from tblSaleInvoice where ID = ?"), {id});
    }
    int linkedInvoiceOf(int dispatch) {
        return db()
            .scalar(QStringLiteral("select FormID from tblInventoryDispatch where ID = ?"),
                    {dispatch})
            .toInt();
    }
    // A dispatch of the customer from the warehouse, ready to become an invoice.
    DispatchRow issued(int code = 7) {
        DispatchRow d;
        d.code = code;
        d.inventory = inventory;
        d.organization = customer;
        return d;
    }
};

TEST_P(FromDispatchTest, TheFourChecksStopInTheirOrderAndWriteNothing) {
    DispatchRow temporary = issued();
    temporary.code = QVariant();
    temporary.formTypeId = 901;
    temporary.organization = -1;  // all three faults: the first one is told
    DispatchRow elsewhere = issued();
    elsewhere.formTypeId = 903;
    elsewhere.organization = -1;
    DispatchRow formOnly = issued();
    formOnly.formId = 55;
    DispatchRow orphan = issued();
    orphan.organization = -1;
    DispatchLookup notANumber = byId(1);
    notANumber.number = QStringLiteral("12' or 1=1");
    const int bystander = addDispatch(issued(99));
    const int temporaryId = addDispatch(temporary);
    const int elsewhereId = addDispatch(elsewhere);
    const int formOnlyId = addDispatch(formOnly);
    const int orphanId = addDispatch(orphan);
    const struct {
        const char* name;
        DispatchLookup lookup;
        int dispatch;  // whose link must stay as it was
        QString message;
    } cases[] = {
        {"no such computer number", byId(9999), bystander, kNoSuchDispatch},
        {"not a number", notANumber, bystander, kNoSuchDispatch},
        {"temporary", byId(temporaryId), temporaryId, kDispatchIsTemporary},
        {"another document's type", byId(elsewhereId), elsewhereId, kDispatchRefersElsewhere},
        {"another document's number", byId(formOnlyId), formOnlyId, kDispatchRefersElsewhere},
        {"no organisation", byId(orphanId), orphanId, kDispatchWithoutOrganization},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString before = footprint(c.dispatch);
        EXPECT_FALSE(make(c.lookup));
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.last().caption, kErrorCaption);
        EXPECT_EQ(messages.last().text, c.message);
        EXPECT_EQ(footprint(c.dispatch), before);
    }
}

// By code, a warehouse narrows the look-up; without one only dispatches without a warehouse
// match. By computer number the warehouse is not asked.
TEST_P(FromDispatchTest, ACodeIsLookedUpInTheChosenWarehouseOrAmongThoseWithoutOne) {
    const int inWarehouse = addDispatch(issued(5));
    DispatchRow noWarehouse = issued(5);
    noWarehouse.inventory = -1;
    const int withoutWarehouse = addDispatch(noWarehouse);

    const std::optional<int> first = make(byCode(5));
    ASSERT_TRUE(first);
    EXPECT_EQ(linkedInvoiceOf(withoutWarehouse), *first);
    EXPECT_EQ(linkedInvoiceOf(inWarehouse), 0);

    const std::optional<int> second = make(byCode(5, inventory));
    ASSERT_TRUE(second);
    EXPECT_EQ(linkedInvoiceOf(inWarehouse), *second);

    EXPECT_FALSE(make(byCode(5, inventory)));  // now linked
    EXPECT_EQ(messages.last().text, kDispatchRefersElsewhere);
    EXPECT_FALSE(make(byCode(6, inventory)));
    EXPECT_EQ(messages.last().text, kNoSuchDispatch);
}

TEST_P(FromDispatchTest, TheInvoiceIsATemporaryCreditSaleWithTheDispatchsGoodsAndTraces) {
    const int box = AddUnit(db(), QStringLiteral("جعبه"), 12, true);
    db().exec(QStringLiteral("update tblGood set StandardDiscountPercent = 2.5 where Barcode = ?"),
              {QStringLiteral("1002")});
    DispatchRow row = issued();
    row.branch = 3;
    row.notes = QStringLiteral("ارسال با وانت");
    const int dispatch = addDispatch(row);
    addDispatchLine(dispatch, QStringLiteral("1001"), 2, unit, 4);
    addDispatchLine(dispatch, QStringLiteral("1002"), 1, unit, 2);
    addDispatchLine(dispatch, QStringLiteral("1001"), 3, unit, 3);
    addDispatchLine(dispatch, QStringLiteral("1001"), 1, box, 5);
    addDispatchTrace(dispatch, QStringLiteral("1001"), 41, 2, 3);
    addDispatchTrace(dispatch, QStringLiteral("1001"), 42, 3, 4);

    const std::optional<int> made = make(byId(dispatch));
    ASSERT_TRUE(made);
    const int id = *made;
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, QStringLiteral("پايان كار"));
    EXPECT_EQ(messages.last().text,
              QStringLiteral("فاكتور فروش  به شماره رايانهاي %1 ايجاد شد").arg(id));

    const Row h = invoice(id);
    EXPECT_TRUE(h.isNull(u"Code"));
    EXPECT_EQ(h.toInt(u"IsPaidByCash", -1), 0);
    EXPECT_EQ(h.toInt(u"IsFromDispatch", -1), 1);
    EXPECT_EQ(h.toInt(u"CustomerID"), customer);
    EXPECT_EQ(h.toInt(u"CreatorID"), ctx.globals.CurrentUserID);
    EXPECT_EQ(h.toInt(u"BranchID"), 3);
    EXPECT_EQ(h.toInt(u"InventoryID"), inventory);
    EXPECT_TRUE(h.isNull(u"TypeID"));  // parameter 311 off: as the insert left it
    EXPECT_TRUE(h.isNull(u"ObjectID1"));
    EXPECT_EQ(h.date(u"CreateDate"), QDate(2026, 12, 5));
    EXPECT_EQ(h.text(u"FarsiCreateDate"), getFarsiDate(QDate(2026, 12, 5)));

    QStringList lines;
    for (const Row& l : db().query(
             QStringLiteral("select Barcode, ScaleID, Qty, RetailPrice, DiscountPercent, "
                            "RowNumber from tblSaleInvoiceDetail where InvoiceID = ? order by "
                            "RowNumber"),
             {id}))
        lines << QStringLiteral("%1 %2 %3 %4 %5 %6")
                     .arg(l.text(u"Barcode"), l.toInt(u"ScaleID") == box ? QStringLiteral("box")
                                                                         : QStringLiteral("unit"))
                     .arg(l.toDouble(u"Qty"))
                     .arg(l.money(u"RetailPrice").toDouble())
                     .arg(l.toDouble(u"DiscountPercent"))
                     .arg(l.toInt(u"RowNumber"));
    EXPECT_EQ(lines, (QStringList{QStringLiteral("1002 unit 1 1000 2.5 2"),
                                  QStringLiteral("1001 unit 5 1000 0 3"),
                                  QStringLiteral("1001 box 1 1000 0 5")}));

    QStringList traces;
    for (const Row& t : db().query(
             QStringLiteral("select Barcode, ScaleID, TracePropertyTypeID1, Qty, Sequence from "
                            "tblSaleInvoiceDetailTrace where InvoiceID = ? order by "
                            "TracePropertyTypeID1"),
             {id}))
        traces << QStringLiteral("%1 %2 %3 %4")
                      .arg(t.text(u"Barcode"))
                      .arg(t.toInt(u"TracePropertyTypeID1"))
                      .arg(t.toDouble(u"Qty"))
                      .arg(t.toInt(u"Sequence"));
    EXPECT_EQ(traces, (QStringList{QStringLiteral("1001 41 2 3"), QStringLiteral("1001 42 3 4")}));

    const Row link = *db().first(
        QStringLiteral("select FormID, FormTypeID, Notes from tblInventoryDispatch where ID = ?"),
        {dispatch});
    EXPECT_EQ(link.toInt(u"FormID"), id);
    EXPECT_EQ(link.toInt(u"FormTypeID"), 901);
    EXPECT_EQ(link.text(u"Notes"),
              QStringLiteral("ارسال با وانت\r\nسند ايجاد شده از روي فاكتور فروش كالا به شماره "
                             "رايانهاي ") +
                  QString::number(id));
}

TEST_P(FromDispatchTest, TheDispatchsNotesAreCutAtAThousandCharactersWithTheLinkNote) {
    DispatchRow row = issued();
    row.notes = QString(990, QChar(u'ي'));
    const int dispatch = addDispatch(row);
    const std::optional<int> id = make(byId(dispatch));
    ASSERT_TRUE(id);
    const QString notes =
        db().scalar(QStringLiteral("select Notes from tblInventoryDispatch where ID = ?"),
                    {dispatch})
            .toString();
    EXPECT_EQ(notes, (QString(990, QChar(u'ي')) + DispatchLinkNote(*id)).left(1000));
    EXPECT_EQ(notes.size(), 1000);

    row.notes = QVariant();  // no notes before: only the link note
    const int plain = addDispatch(row);
    const std::optional<int> second = make(byId(plain));
    ASSERT_TRUE(second);
    EXPECT_EQ(
        db().scalar(QStringLiteral("select Notes from tblInventoryDispatch where ID = ?"), {plain})
            .toString(),
        DispatchLinkNote(*second));
}

// Under parameter 311 the customer is an accounting object: the invoice has none, its type comes
// from the dispatch's class (3 when no type's debit account is of the class) and the
// organisation becomes its first object.
TEST_P(FromDispatchTest, UnderAccountObjectsTheTypeAndObjectComeFromTheDispatchsClass) {
    useParameter(P::AccountObjects, QStringLiteral("1"));
    const int receivable = account("1103");
    db().exec(QStringLiteral("insert into tblAccountRelatedClasses (AccountID, ClassID, Sequence) "
                             "values (?, 7, 1)"),
              {receivable});
    const int credit = AddInvoiceType(db(), QStringLiteral("فروش نسيه"));
    db().exec(QStringLiteral("update tblSaleInvoiceType set DebitAccountID = ? where ID = ?"),
              {receivable, credit});

    DispatchRow ofCustomer = issued();
    ofCustomer.relatedClass = 7;
    const std::optional<int> first = make(byId(addDispatch(ofCustomer)));
    ASSERT_TRUE(first);
    Row h = invoice(*first);
    EXPECT_TRUE(h.isNull(u"CustomerID"));
    EXPECT_EQ(h.toInt(u"TypeID"), credit);
    EXPECT_EQ(h.toInt(u"ObjectID1"), customer);

    DispatchRow orphan = issued();
    orphan.organization = -1;
    orphan.relatedClass = 9;
    const std::optional<int> second = make(byId(addDispatch(orphan)));
    ASSERT_TRUE(second) << messages.texts().join(u'\n').toStdString();
    h = invoice(*second);
    EXPECT_TRUE(h.isNull(u"CustomerID"));
    EXPECT_EQ(h.toInt(u"TypeID"), 3);
    EXPECT_TRUE(h.isNull(u"ObjectID1"));
}

// The link fails last, after the invoice, its lines and traces were written: nothing stays, the
// clerk reads the cause, and the same dispatch makes its invoice once the fault is gone.
TEST_P(FromDispatchTest, AFailureOnTheWayLeavesNoInvoiceAndTheDispatchUnlinked) {
    const int dispatch = addDispatch(issued());
    addDispatchLine(dispatch, QStringLiteral("1001"), 2, unit, 1);
    addDispatchTrace(dispatch, QStringLiteral("1001"), 41, 2, 1);
    const QString before = footprint(dispatch);
    refuseDispatchLinks();
    EXPECT_FALSE(make(byId(dispatch)));
    EXPECT_EQ(footprint(dispatch), before);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, kErrorCaption);
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("link refused")))
        << messages.last().text.toStdString();
    EXPECT_FALSE(messages.anyContains(QStringLiteral("ايجاد شد")));

    allowDispatchLinks();
    const std::optional<int> id = make(byId(dispatch));
    ASSERT_TRUE(id);
    EXPECT_EQ(linkedInvoiceOf(dispatch), *id);
}

// The trace control hands over only a dispatch's traces to an invoice.
TEST_P(FromDispatchTest, TheTraceControlRefusesOtherPairsOfForms) {
    auto trace = components.create(kDispatchTraceProgId);
    ASSERT_TRUE(trace);
    trace->setProperty("Session", QVariant::fromValue(static_cast<void*>(&db())));
    bool copied = true;
    ASSERT_TRUE(QMetaObject::invokeMethod(trace.get(), "CopyTraces", Q_RETURN_ARG(bool, copied),
                                          Q_ARG(int, 901), Q_ARG(int, 1), Q_ARG(int, 802),
                                          Q_ARG(int, 2)));
    EXPECT_FALSE(copied);
    EXPECT_FALSE(trace->property("ErrorMessage").toString().isEmpty());
    EXPECT_EQ(count(QStringLiteral("tblSaleInvoiceDetailTrace")), 0);
}

TEST_P(FromDispatchTest, TheCommandLinePrintsTheNewInvoiceOrRefusesWithTheMessage) {
    const int dispatch = addDispatch(issued(12));
    addDispatchLine(dispatch, QStringLiteral("1002"), 4, unit, 1);
    const QStringList global{QStringLiteral("--db"), ctx.globals.CurrentConnectionString,
                             QStringLiteral("--user"), QString::number(ctx.globals.CurrentUserID)};
    const QString before = footprint(dispatch);
    QString missing;
    QTextStream missingOut(&missing);
    EXPECT_EQ(
        cli::Run(global + QStringList{QStringLiteral("invoice"), QStringLiteral("from-dispatch"),
                                      QStringLiteral("--code"), QStringLiteral("12")},
                 missingOut),
        cli::kExitRefused);  // no warehouse given: the dispatch has one
    EXPECT_EQ(footprint(dispatch), before);

    QString text;
    QTextStream out(&text);
    ASSERT_EQ(
        cli::Run(global + QStringList{QStringLiteral("invoice"), QStringLiteral("from-dispatch"),
                                      QStringLiteral("--code"), QStringLiteral("12"),
                                      QStringLiteral("--inventory"), QString::number(inventory)},
                 out),
        cli::kExitOk);
    out.flush();
    const QJsonObject json = QJsonDocument::fromJson(text.toUtf8()).object();
    const int id = json.value(QStringLiteral("id")).toInt();
    ASSERT_GT(id, 0) << text.toStdString();
    EXPECT_EQ(linkedInvoiceOf(dispatch), id);
    EXPECT_EQ(json.value(QStringLiteral("customer")).toInt(), customer);
    EXPECT_EQ(json.value(QStringLiteral("state")).toString(), QStringLiteral("temporary"));
    EXPECT_EQ(json.value(QStringLiteral("paidByCash")).toInt(), 2);  // a credit sale
    EXPECT_EQ(invoice(id).toInt(u"IsPaidByCash", -1), 0);
    EXPECT_TRUE(text.contains(QStringLiteral("1002"))) << text.toStdString();
}

TEST_P(FromDispatchTest, TheDialogStaysOpenOnARefusalAndHandsBackTheNewInvoice) {
    const int dispatch = addDispatch(issued());
    int created = 0;
    messages.clear();
    EXPECT_FALSE(CreateInvoiceFromDispatch(ctx, nullptr, created, [](FormFromInventoryDispatch& d) {
        EXPECT_TRUE(d.findChild<QRadioButton*>(QStringLiteral("optCode"))->isChecked());
        d.findChild<QLineEdit*>(QStringLiteral("txtIDCode"))->setText(QStringLiteral("7"));
        d.cmdOK_Click();  // code 7 has a warehouse; none is chosen
        EXPECT_NE(d.result(), QDialog::Accepted);
    }));
    EXPECT_EQ(messages.last().text, kNoSuchDispatch);
    EXPECT_EQ(created, 0);

    EXPECT_TRUE(CreateInvoiceFromDispatch(ctx, nullptr, created, [&](FormFromInventoryDispatch& d) {
        d.findChild<QRadioButton*>(QStringLiteral("optID"))->setChecked(true);
        d.findChild<QLineEdit*>(QStringLiteral("txtIDCode"))->setText(QString::number(dispatch));
        d.cmdOK_Click();
        EXPECT_EQ(d.result(), QDialog::Accepted);
    }));
    EXPECT_EQ(linkedInvoiceOf(dispatch), created);
    EXPECT_EQ(invoice(created).date(u"CreateDate"), db().today());  // dtpCreateDate: today
}

SI_INSTANTIATE_BACKENDS(FromDispatchTest);

}  // namespace
}  // namespace si::test
