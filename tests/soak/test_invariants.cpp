// The soak's invariant checker on hand-made databases: a consistent company passes, and each kind
// of damage a racing or killed workstation can leave is named with the rows it concerns.

#include <gtest/gtest.h>

#include "Invariants.h"
#include "support/TestDatabase.h"

namespace si::soak {
namespace {

using test::Backend;
using test::TestDatabase;

constexpr int kSaleForm = 901;
constexpr int kInventory = 1;
constexpr int kCustomer = 50;
constexpr int kType = 1;
constexpr int kWholesaleType = 2;
constexpr int kAdmin = 1;
constexpr int kCashier = 2;

class InvariantsTest : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override {
        parameter(13, QStringLiteral("1"));
        parameter(3, QStringLiteral("0"));
        s->exec(
            QStringLiteral("INSERT INTO tblInventory (ID, Name, CheckExistance) VALUES (?, ?, ?)"),
            {kInventory, QStringLiteral("main"), 1});
        const int sales = account(QStringLiteral("4101"));
        const int customers = account(QStringLiteral("1202"));
        s->exec(QStringLiteral("INSERT INTO tblSaleInvoiceType (ID, Name, CreditAccountID, "
                               "GenerateSaleAssignment) VALUES (?, ?, ?, ?), (?, ?, ?, ?)"),
                {kType, QStringLiteral("normal"), sales, 0, kWholesaleType,
                 QStringLiteral("wholesale"), sales, 1});
        s->exec(QStringLiteral("INSERT INTO tblAccountRelatedObjects (AccountID, RelatedClassID, "
                               "RelatedObjectID) VALUES (?, ?, ?)"),
                {customers, 7, kCustomer});
        turn = s->insertReturningId(
            QStringLiteral("INSERT INTO tblRecPayCashTurn (CashID, Turn, IsOpen, UserID) VALUES "
                           "(?, ?, ?, ?) RETURNING ID"),
            {1, 1, 1, kCashier});
        receive(QStringLiteral("A"), 10);
        scope.day = s->today();
    }

    void parameter(int id, const QString& value, int user = 0) {
        if (user)
            s->exec(QStringLiteral("INSERT INTO tblZelorSystemParametersUser (UserID, "
                                   "SystemParameterID, Value) VALUES (?, ?, ?)"),
                    {user, id, value});
        else
            s->exec(QStringLiteral("INSERT INTO tblZelorSystemParameters (ID, SystemID, Value) "
                                   "VALUES (?, ?, ?)"),
                    {id, 9, value});
    }

    int account(const QString& code) {
        return static_cast<int>(s->insertReturningId(
            QStringLiteral("INSERT INTO tblAccount (Code, IsClosed) VALUES (?, ?) RETURNING ID"),
            {code, 0}));
    }

    void receive(const QString& barcode, double qty) {
        const qint64 receipt = s->insertReturningId(
            QStringLiteral("INSERT INTO tblInventoryReceipt (InventoryID, ReceiveDate) VALUES "
                           "(?, ?) RETURNING ID"),
            {kInventory, s->today().addDays(-1)});
        s->exec(QStringLiteral("INSERT INTO tblInventoryReceiptDetail (ReceiptID, Barcode, Qty) "
                               "VALUES (?, ?, ?)"),
                {receipt, barcode, qty});
    }

    // A stored invoice with one line; code null: temporary.
    qint64 invoice(const QVariant& code, bool cash = false, int user = kAdmin, int type = kType,
                   double qty = 1) {
        const qint64 id = s->insertReturningId(
            QStringLiteral("INSERT INTO tblSaleInvoice (Code, TypeID, CustomerID, InventoryID, "
                           "IsPaidByCash, CreatorID, CreateDate) VALUES (?, ?, ?, ?, ?, ?, ?) "
                           "RETURNING ID"),
            {code, type, kCustomer, kInventory, cash ? 1 : 0, user, s->today()});
        s->exec(QStringLiteral("INSERT INTO tblSaleInvoiceDetail (InvoiceID, Barcode, Qty, "
                               "ScaleID) VALUES (?, ?, ?, ?)"),
                {id, QStringLiteral("A"), qty, 1});
        return id;
    }

    qint64 document(qint64 invoice, qint64 debit, qint64 credit) {
        const qint64 doc = s->insertReturningId(
            QStringLiteral("INSERT INTO tblAccountDocument (Code, DocumentDate) VALUES (?, ?) "
                           "RETURNING ID"),
            {0, s->today()});
        s->exec(
            QStringLiteral("INSERT INTO tblAccountDocumentDetail (DocumentID, RowNumber, "
                           "AccountID, DebitValue, CreditValue, FormID, FormTypeID) VALUES "
                           "(?, ?, ?, ?, ?, ?, ?), (?, ?, ?, ?, ?, ?, ?)"),
            {doc, 1, 1, QVariant::fromValue(Money()), QVariant::fromValue(Money::fromRials(credit)),
             invoice, kSaleForm, doc, 2, 2, QVariant::fromValue(Money::fromRials(debit)),
             QVariant::fromValue(Money()), invoice, kSaleForm});
        return doc;
    }

    qint64 dispatch(qint64 invoice, double qty = 1) {
        const qint64 id = s->insertReturningId(
            QStringLiteral("INSERT INTO tblInventoryDispatch (InventoryID, ReceiveDate, FormID, "
                           "FormTypeID) VALUES (?, ?, ?, ?) RETURNING ID"),
            {kInventory, s->today(), invoice, kSaleForm});
        s->exec(QStringLiteral("INSERT INTO tblInventoryDispatchDetail (DispatchID, Barcode, Qty, "
                               "ScaleID) VALUES (?, ?, ?, ?)"),
                {id, QStringLiteral("A"), qty, 1});
        return id;
    }

    void cashTurnRow(qint64 invoice) {
        s->exec(QStringLiteral("INSERT INTO tblRecPayCashTurnDetail (CashTurnID, FormID, "
                               "FormTypeID) VALUES (?, ?, ?)"),
                {turn, invoice, kSaleForm});
    }

    // A final credit sale posted as it should be.
    qint64 postedCreditSale(qint64 code) {
        const qint64 id = invoice(code);
        document(id, 1000, 1000);
        dispatch(id);
        return id;
    }

    const Invariant& invariant(const QString& name) {
        for (const Invariant& i : result.invariants)
            if (i.name == name) return i;
        ADD_FAILURE() << "no invariant " << name.toStdString();
        static const Invariant none;
        return none;
    }

    qint64 figure(const QString& name) {
        for (const Figure& f : result.figures)
            if (f.name == name) return f.value;
        ADD_FAILURE() << "no figure " << name.toStdString();
        return -1;
    }

    void check() { result = CheckInvariants(*s, scope); }

    TestDatabase database{GetParam()};
    std::unique_ptr<Session> s = database.open();
    qint64 turn = 0;
    CheckScope scope;
    CheckResult result;
};

TEST_P(InvariantsTest, ConsistentCompanyPasses) {
    postedCreditSale(1);
    postedCreditSale(2);
    invoice(QVariant());
    const qint64 wholesale = invoice(3, false, kAdmin, kWholesaleType);
    document(wholesale, 500, 500);
    check();
    EXPECT_EQ(result.violationCount(), 0);
    EXPECT_EQ(invariant(QStringLiteral("final codes gap-free (1..n) per range")).checked, 3);
    EXPECT_EQ(invariant(QStringLiteral("temporary invoices without postings")).checked, 1);
    EXPECT_EQ(figure(QStringLiteral("load final credit sales")), 3);
}

TEST_P(InvariantsTest, DuplicateAndMissingCodesAreNamed) {
    const qint64 first = postedCreditSale(1);
    const qint64 second = postedCreditSale(1);
    postedCreditSale(4);
    check();
    EXPECT_EQ(
        invariant(QStringLiteral("final codes unique per numbering range")).violations,
        QStringList{
            QStringLiteral("whole table: code 1 held by invoices %1, %2").arg(first).arg(second)});
    EXPECT_EQ(invariant(QStringLiteral("final codes gap-free (1..n) per range")).violations,
              QStringList{QStringLiteral("whole table: codes 2..3 missing")});
}

TEST_P(InvariantsTest, CodesAreCountedPerAccountingPeriodWithParameter78) {
    parameter(78, QStringLiteral("1"));
    const QDate today = s->today();
    s->exec(QStringLiteral("INSERT INTO tblAccountPeriod (Name, BeginDate, EndDate, IsActive) "
                           "VALUES (?, ?, ?, ?), (?, ?, ?, ?)"),
            {QStringLiteral("old"), today.addYears(-2), today.addYears(-1), 0,
             QStringLiteral("now"), today.addYears(-1).addDays(1), today.addYears(1), 1});
    const qint64 old = postedCreditSale(1);
    s->exec(QStringLiteral("UPDATE tblSaleInvoice SET CreateDate = ? WHERE ID = ?"),
            {today.addYears(-1).addDays(-10), old});
    postedCreditSale(1);
    postedCreditSale(2);
    check();
    EXPECT_EQ(invariant(QStringLiteral("final codes unique per numbering range")).violations.size(),
              0);
    EXPECT_EQ(invariant(QStringLiteral("final codes gap-free (1..n) per range")).violations.size(),
              0);
    EXPECT_EQ(figure(QStringLiteral("numbering ranges")), 2);
}

TEST_P(InvariantsTest, InvoicePostedTwiceAndTemporaryWithPostingsAreNamed) {
    const qint64 twice = postedCreditSale(1);
    document(twice, 1000, 1000);
    const qint64 temporary = invoice(QVariant());
    dispatch(temporary);
    check();
    EXPECT_EQ(invariant(QStringLiteral("final invoices posted at most once")).violations,
              QStringList{QStringLiteral("invoice %1 (code 1): 2 document(s), 1 dispatch(es), 0 "
                                         "cash-turn row(s)")
                              .arg(twice)});
    EXPECT_EQ(invariant(QStringLiteral("temporary invoices without postings")).violations,
              QStringList{QStringLiteral("invoice %1 (temporary): 0 document(s), 1 "
                                         "dispatch(es), 0 cash-turn row(s)")
                              .arg(temporary)});
}

TEST_P(InvariantsTest, UnbalancedAndEmptyDocumentsAreNamed) {
    const qint64 id = invoice(1);
    dispatch(id);
    const qint64 doc = document(id, 900, 1000);
    const qint64 empty = s->insertReturningId(
        QStringLiteral("INSERT INTO tblAccountDocument (Code) VALUES (?) RETURNING ID"), {0});
    check();
    EXPECT_EQ(
        invariant(QStringLiteral("accounting documents balanced (debit = credit)")).violations,
        QStringList{
            QStringLiteral("document %1 (invoice %2): debit 900, credit 1000").arg(doc).arg(id)});
    EXPECT_EQ(invariant(QStringLiteral("accounting documents with rows")).violations,
              QStringList{QStringLiteral("document %1 has no rows").arg(empty)});
}

TEST_P(InvariantsTest, PostingsFollowTheKindOfSale) {
    parameter(3, QStringLiteral("1"), kCashier);
    const qint64 shopWithDocument = invoice(1, true, kCashier);
    dispatch(shopWithDocument);
    cashTurnRow(shopWithDocument);
    document(shopWithDocument, 10, 10);
    const qint64 shopRight = invoice(2, true, kCashier);
    dispatch(shopRight);
    cashTurnRow(shopRight);
    const qint64 cashOutsideShop = invoice(3, true);
    dispatch(cashOutsideShop);
    const qint64 wholesaleWithDispatch = invoice(4, false, kAdmin, kWholesaleType);
    document(wholesaleWithDispatch, 10, 10);
    dispatch(wholesaleWithDispatch);
    check();
    const QString tail = QStringLiteral(" cash-turn row(s)");
    EXPECT_EQ(
        invariant(QStringLiteral("load final invoices posted as their kind calls for")).violations,
        (QStringList{QStringLiteral("invoice %1 (code 1): 1 document(s), 1 dispatch(es), 1")
                             .arg(shopWithDocument) +
                         tail + QStringLiteral(": shop cash sale with a document"),
                     QStringLiteral("invoice %1 (code 3): 0 document(s), 1 dispatch(es), 0")
                             .arg(cashOutsideShop) +
                         tail + QStringLiteral(": no document and no reason given"),
                     QStringLiteral("invoice %1 (code 4): 1 document(s), 1 dispatch(es), 0")
                             .arg(wholesaleWithDispatch) +
                         tail + QStringLiteral(": a wholesale sale with a dispatch")}));
    EXPECT_EQ(figure(QStringLiteral("load final shop cash sales (cash turn)")), 2);
}

TEST_P(InvariantsTest, MissingDocumentIsExcusedOnlyWithItsReason) {
    const qint64 told = invoice(1);
    dispatch(told);
    scope.postingMessageGiven.insert(told);
    s->exec(QStringLiteral("INSERT INTO tblSaleInvoiceType (ID, Name) VALUES (?, ?)"),
            {3, QStringLiteral("without accounts")});
    const qint64 noSalesAccount = invoice(2, false, kAdmin, 3);
    dispatch(noSalesAccount);
    const qint64 silent = invoice(3);
    dispatch(silent);
    scope.firstLoadInvoice = told;
    check();
    EXPECT_EQ(
        invariant(QStringLiteral("load final invoices posted as their kind calls for")).violations,
        QStringList{QStringLiteral("invoice %1 (code 3): 0 document(s), 1 dispatch(es), 0 "
                                   "cash-turn row(s): no document and no reason given")
                        .arg(silent)});
    EXPECT_EQ(figure(QStringLiteral("load final invoices without a document, reason given")), 2);
}

TEST_P(InvariantsTest, OnlyInvoicesOfTheLoadAreHeldToTheirKind) {
    const qint64 before = invoice(1);
    scope.firstLoadInvoice = before + 1;
    check();
    EXPECT_EQ(result.violationCount(), 0);
}

TEST_P(InvariantsTest, StockSoldBelowZeroIsNamedUnlessItWasAlreadyThere) {
    receive(QStringLiteral("B"), 1);
    const qint64 oversold = invoice(1, false, kAdmin, kType, 12);
    document(oversold, 1000, 1000);
    dispatch(oversold, 12);
    const qint64 count = s->insertReturningId(
        QStringLiteral("INSERT INTO tblInventoryDispatch (InventoryID, ReceiveDate) VALUES (?, ?) "
                       "RETURNING ID"),
        {kInventory, s->today()});
    s->exec(QStringLiteral("INSERT INTO tblInventoryDispatchDetail (DispatchID, Barcode, Qty) "
                           "VALUES (?, ?, ?)"),
            {count, QStringLiteral("B"), 3});
    scope.stockBefore.insert({kInventory, QStringLiteral("B")}, -2);
    check();
    EXPECT_EQ(invariant(QStringLiteral("stock never sold below zero where the stock rule holds"))
                  .violations,
              QStringList{QStringLiteral("inventory 1, barcode A: stock -2 at the end (before the "
                                         "load 0)")});
    EXPECT_EQ(figure(QStringLiteral("stock levels already below zero before the load")), 1);
}

// A delivery after the oversold moment hides it from the end state; the load's own sighting
// still counts.
TEST_P(InvariantsTest, StockSeenBelowZeroWhileTheLoadRanIsNamed) {
    scope.stockBefore.insert({kInventory, QStringLiteral("A")}, 10);
    scope.lowestSeen.insert({kInventory, QStringLiteral("A")}, -3);
    scope.lowestSeen.insert({kInventory, QStringLiteral("B")}, 0);
    check();
    EXPECT_EQ(invariant(QStringLiteral("stock never sold below zero where the stock rule holds"))
                  .violations,
              QStringList{QStringLiteral("inventory 1, barcode A: stock -3 while the load ran "
                                         "(before the load 10)")});
}

TEST_P(InvariantsTest, StockOfAnInventoryWithoutTheCheckIsFree) {
    s->exec(QStringLiteral("UPDATE tblZelorSystemParameters SET Value = ? WHERE ID = ?"),
            {QStringLiteral("2"), 13});
    s->exec(QStringLiteral("UPDATE tblInventory SET CheckExistance = ? WHERE ID = ?"),
            {0, kInventory});
    const qint64 oversold = invoice(1, false, kAdmin, kType, 12);
    document(oversold, 1000, 1000);
    dispatch(oversold, 12);
    check();
    EXPECT_EQ(result.violationCount(), 0);
}

TEST_P(InvariantsTest, DispatchThatDiffersFromTheLinesIsNamed) {
    const qint64 id = invoice(1, false, kAdmin, kType, 2);
    document(id, 1000, 1000);
    dispatch(id, 3);
    check();
    EXPECT_EQ(
        invariant(QStringLiteral("load dispatches carry their invoice's quantities")).violations,
        QStringList{QStringLiteral("invoice %1: A/1 sold 2, dispatched 3").arg(id)});
}

TEST_P(InvariantsTest, OrphanRowsAreNamed) {
    postedCreditSale(1);
    const qint64 doc =
        s->scalar(QStringLiteral("SELECT min(DocumentID) FROM tblAccountDocumentDetail"))
            .toLongLong();
    s->exec(QStringLiteral("DELETE FROM tblAccountDocument WHERE ID = ?"), {doc});
    const qint64 gone = invoice(QVariant());
    s->exec(QStringLiteral("DELETE FROM tblSaleInvoice WHERE ID = ?"), {gone});
    s->exec(QStringLiteral("INSERT INTO tblSaleInvoiceSucharge (InvoiceID, SuchargeTypeID, Value) "
                           "VALUES (?, ?, ?)"),
            {gone, 1, 5});
    const qint64 headerOnly = s->insertReturningId(
        QStringLiteral("INSERT INTO tblSaleInvoice (TypeID) VALUES (?) RETURNING ID"), {kType});
    check();
    EXPECT_EQ(invariant(QStringLiteral("document rows without their document")).violations.size(),
              2);
    EXPECT_EQ(invariant(QStringLiteral("invoice lines without their invoice")).violations.size(),
              1);
    EXPECT_EQ(invariant(QStringLiteral("surcharge rows without their invoice")).violations.size(),
              1);
    EXPECT_EQ(invariant(QStringLiteral("load invoices with lines")).violations,
              QStringList{QStringLiteral("invoice %1 has no lines").arg(headerOnly)});
    EXPECT_EQ(invariant(QStringLiteral("document rows of a missing invoice")).violations.size(), 0);
}

INSTANTIATE_TEST_SUITE_P(Db, InvariantsTest, ::testing::ValuesIn(test::Backends()),
                         test::BackendName);

}  // namespace
}  // namespace si::soak
