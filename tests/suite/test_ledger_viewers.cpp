// The accounting and sale modules' viewers that the invoice form opens: an accounting document
// with its rows, objects and balanced totals; a sale assignment with its goods; and the turnover
// of an account or of accounting objects, with the balance brought forward and a running balance.

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QLabel>
#include <QScrollBar>
#include <QTableWidget>

#include "common/Jalali.h"
#include "suite/AccountLedger.h"
#include "suite/Components.h"
#include "suite/LedgerViewers.h"
#include "suite/LedgerWindows.h"
#include "suite/SaleAssignmentView.h"
#include "support/ContextTest.h"
#include "support/InvoiceFixtures.h"

namespace si::test {
namespace {

using suite::Turnover;

struct Posting {
    int account = -1;
    QDate date;
    qint64 debit = 0;
    qint64 credit = 0;
    QString description;
    bool preDocument = false;
    QVector<QPair<int, int>> objects;  // class, object
};

class LedgerViewersTest : public ContextTest {
protected:
    void SetUp() override {
        ContextTest::SetUp();
        suite::RegisterComponents(components);
        messages.install(components);
        customer = AddCustomer(db(), QStringLiteral("مشتري نمونه"));
        db().exec(
            QStringLiteral("insert into tblAccountClass (ID, Name, ViewMajor, ViewMinor) "
                           "values (7, 'اشخاص', 'vwOrganizationMajor', "
                           "'vwOrganizationMinor')"));
        customerAccount = account("1201", "حساب مشتريان");
        sales = account("4101", "فروش كالا");
        tax = account("2101", "ماليات بر ارزش افزوده");
    }
    int account(const char* code, const char* title) {
        return static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblAccount (Code, Title) values (?, ?) RETURNING ID"),
            {QString::fromLatin1(code), QString::fromUtf8(title)}));
    }
    int document(int code, const QDate& date, bool preDocument = false) {
        return static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblAccountDocument (Code, DayNo, DocumentDate, "
                           "FarsiDocumentDate, Description, IsFinalized, IsPreDocument) values "
                           "(?, 2, ?, ?, ?, 1, ?) RETURNING ID"),
            {code, date, getFarsiDate(date), QStringLiteral("فروش روز"), preDocument ? 1 : 0}));
    }
    void row(int doc, int number, const Posting& p) {
        db().exec(
            QStringLiteral("insert into tblAccountDocumentDetail (DocumentID, RowNumber, "
                           "AccountID, Description, DebitValue, CreditValue, FormTypeID, "
                           "FormID) values (?, ?, ?, ?, ?, ?, 901, 12)"),
            {doc, number, p.account, p.description, QVariant::fromValue(Money::fromRials(p.debit)),
             QVariant::fromValue(Money::fromRials(p.credit))});
        int sequence = 0;
        for (const auto& [classId, objectId] : p.objects)
            db().exec(QStringLiteral("insert into tblAccountDocumentObjects (DocumentID, "
                                     "RowNumber, Sequence, ClassID, ObjectID) values (?,?,?,?,?)"),
                      {doc, number, ++sequence, classId, objectId});
    }
    // A document of its own for the posting; returns its code.
    int post(const Posting& p) {
        static int code = 100;
        const int doc = document(++code, p.date, p.preDocument);
        row(doc, 1, p);
        return code;
    }
    // A sale posted as the invoice's document: customer debited, sales and tax credited.
    int saleDocument() {
        const int doc = document(15, QDate(2026, 12, 6));
        row(doc, 3, {tax, {}, 0, 500, QStringLiteral("ماليات"), false, {}});
        row(doc, 1,
            {customerAccount, {}, 5000, 0, QStringLiteral("فاكتور 12"), false, {{7, customer}}});
        row(doc, 2, {sales, {}, 0, 4500, QStringLiteral("فروش فاكتور 12"), false, {}});
        return doc;
    }
    void openPeriod(const QDate& begin) {
        db().exec(QStringLiteral("insert into tblAccountPeriod (Name, BeginDate, FarsiBeginDate, "
                                 "IsActive) values ('1405', ?, ?, 1)"),
                  {begin, getFarsiDate(begin)});
    }
    template <class Component>
    std::unique_ptr<Component> component() {
        auto c = std::make_unique<Component>();
        c->setProperty("UserID", ctx.globals.CurrentUserID);
        c->setProperty("OLEConnectionString", ctx.globals.CurrentConnectionString);
        return c;
    }
    static QString cell(QWidget& window, const char* grid, int r, int c) {
        auto* g = window.findChild<QTableWidget*>(QString::fromLatin1(grid));
        return g && g->item(r, c) ? g->item(r, c)->text() : QStringLiteral("<none>");
    }
    static QString label(QWidget& window, const char* name) {
        auto* l = window.findChild<QLabel*>(QString::fromLatin1(name));
        return l ? l->text() : QStringLiteral("<none>");
    }

    int customer = -1;
    int customerAccount = -1;
    int sales = -1;
    int tax = -1;
};

TEST_P(LedgerViewersTest, ADocumentIsReadWithItsRowsObjectsAndBalancedTotals) {
    const int doc = saleDocument();
    const auto d = suite::ReadAccountDocument(db(), doc);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->code, QStringLiteral("15"));
    EXPECT_EQ(d->farsiDate, QStringLiteral("1405/09/15"));
    ASSERT_EQ(d->rows.size(), 3);
    EXPECT_EQ(d->rows[0].rowNumber, 1);
    EXPECT_EQ(d->rows[0].accountCode, QStringLiteral("1201"));
    EXPECT_EQ(d->rows[0].accountTitle, QStringLiteral("حساب مشتريان"));
    EXPECT_EQ(d->rows[0].debit, Money::fromRials(5000));
    EXPECT_EQ(d->rows[0].objectsText(), QStringLiteral("اشخاص: مشتري نمونه"));
    EXPECT_EQ(d->rows[2].accountCode, QStringLiteral("2101"));
    EXPECT_EQ(d->rows[2].credit, Money::fromRials(500));
    EXPECT_TRUE(d->rows[2].objects.isEmpty());
    EXPECT_EQ(d->totalDebit, Money::fromRials(5000));
    EXPECT_EQ(d->totalCredit, Money::fromRials(5000));
    EXPECT_TRUE(d->balanced());

    const int lopsided = document(16, QDate(2026, 12, 6));
    row(lopsided, 1, {customerAccount, {}, 700, 0, {}, false, {}});
    EXPECT_FALSE(suite::ReadAccountDocument(db(), lopsided)->balanced());
    EXPECT_FALSE(suite::ReadAccountDocument(db(), lopsided + 100));
}

TEST_P(LedgerViewersTest, TheDocumentViewerShowsTheDocumentReadOnly) {
    const int doc = saleDocument();
    auto viewer = components.create(QStringLiteral("comAccountDoc.comAccountDoc1"));
    ASSERT_TRUE(viewer);
    int windows = 0;
    auto& typed = dynamic_cast<suite::AccountDocumentComponent&>(*viewer);
    typed.showWindow = [&](QWidget& window) {
        ++windows;
        EXPECT_EQ(window.objectName(), QStringLiteral("frmAccountDoc"));
        EXPECT_EQ(cell(window, "flexDocument", 0, 1), QStringLiteral("1201"));
        EXPECT_EQ(cell(window, "flexDocument", 0, 3), QStringLiteral("5/000"));
        EXPECT_EQ(cell(window, "flexDocument", 1, 4), QStringLiteral("4/500"));
        EXPECT_EQ(cell(window, "flexDocument", 0, 6), QStringLiteral("اشخاص: مشتري نمونه"));
        EXPECT_EQ(label(window, "lblTotalDebit"), QStringLiteral("5/000"));
        EXPECT_EQ(label(window, "lblTotalCredit"), QStringLiteral("5/000"));
        EXPECT_EQ(label(window, "lblBalanced"), QStringLiteral("سند تراز است."));
        auto* grid = window.findChild<QTableWidget*>(QStringLiteral("flexDocument"));
        EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    };
    SetProperties(*viewer, {{"UserID", ctx.globals.CurrentUserID},
                            {"PositionID", 4},
                            {"EmployeeID", 9},
                            {"OLEConnectionString", ctx.globals.CurrentConnectionString}});
    ASSERT_TRUE(Invoke(*viewer, "View", {doc}));
    EXPECT_EQ(windows, 1);
    EXPECT_TRUE(viewer->property("ErrorMessage").toString().isEmpty());

    ASSERT_TRUE(Invoke(*viewer, "View", {doc + 100}));
    EXPECT_EQ(windows, 1);
    EXPECT_EQ(viewer->property("ErrorMessage").toString(),
              QStringLiteral("سند حسابداري با شماره رايانهاي %1 وجود ندارد.").arg(doc + 100));
}

TEST_P(LedgerViewersTest, TheAssignmentViewerShowsTheAssignmentAndItsGoods) {
    const int unit = AddUnit(db(), QStringLiteral("عدد"), 1, true);
    AddGood(db(), QStringLiteral("1001"), QStringLiteral("1001"), QStringLiteral("چاي"), 100, unit);
    AddGood(db(), QStringLiteral("1002"), QStringLiteral("1002"), QStringLiteral("قند"), 100, unit);
    const int inventory = AddInventory(db(), QStringLiteral("انبار مركزي"));
    InvoiceRow invoiceRow;
    invoiceRow.customer = customer;
    invoiceRow.code = 7;
    const int invoice = AddInvoice(db(), invoiceRow);
    AddInvoiceLine(db(), invoice, QStringLiteral("1002"), 3, 100, unit, 2);
    AddInvoiceLine(db(), invoice, QStringLiteral("1001"), 1.5, 100, unit, 1);
    const int assignment = static_cast<int>(db().insertReturningId(
        QStringLiteral("insert into tblSaleAssignment (Code, SaleInvoiceID, InventoryID, "
                       "CreatorID, FarsiCreateDate, Notes) values (3, ?, ?, ?, '1405/09/15', "
                       "'عمده') RETURNING ID"),
        {invoice, inventory, ctx.globals.CurrentUserID}));
    const auto a = suite::ReadSaleAssignment(db(), assignment);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->code, QStringLiteral("3"));
    EXPECT_EQ(a->invoiceCode, QStringLiteral("7"));
    EXPECT_EQ(a->customerName, QStringLiteral("مشتري نمونه"));
    EXPECT_EQ(a->inventoryName, QStringLiteral("انبار مركزي"));
    EXPECT_EQ(a->creatorName, QStringLiteral("مدير سيستم"));
    ASSERT_EQ(a->lines.size(), 2);
    EXPECT_EQ(a->lines[0].goodName, QStringLiteral("چاي"));
    EXPECT_DOUBLE_EQ(a->lines[0].qty, 1.5);
    EXPECT_EQ(a->lines[1].unitName, QStringLiteral("عدد"));

    auto viewer = component<suite::SaleAssignmentComponent>();
    int windows = 0;
    viewer->showWindow = [&](QWidget& window) {
        ++windows;
        EXPECT_EQ(label(window, "lblCode"), QStringLiteral("3"));
        EXPECT_EQ(label(window, "lblNotes"), QStringLiteral("عمده"));
        EXPECT_EQ(cell(window, "flexAssignment", 1, 2), QStringLiteral("قند"));
        EXPECT_EQ(cell(window, "flexAssignment", 1, 4), QStringLiteral("3"));
    };
    viewer->View(assignment);
    EXPECT_EQ(windows, 1);
    viewer->View(assignment + 50);
    EXPECT_EQ(windows, 1);
    EXPECT_FALSE(viewer->errorMessage().isEmpty());
}

// The period began on 1405/01/01: what came before is brought forward; drafts and other
// accounts do not count; the rows run in date order whatever order they were written in.
TEST_P(LedgerViewersTest, AnAccountsTurnoverRunsFromTheBalanceBroughtForward) {
    post({customerAccount, QDate(2026, 1, 10), 1000, 0, {}, false, {}});
    post({customerAccount, QDate(2026, 2, 1), 0, 300, {}, false, {}});
    post({customerAccount, QDate(2026, 5, 1), 9999, 0, {}, true, {}});
    const int june =
        post({customerAccount, QDate(2026, 6, 1), 2000, 0, QStringLiteral("فاكتور 12"), false, {}});
    const int april =
        post({customerAccount, QDate(2026, 4, 1), 0, 500, QStringLiteral("دريافت نقد"), false, {}});
    post({sales, QDate(2026, 5, 5), 0, 800, {}, false, {}});

    const Turnover everything = suite::AccountTurnover(db(), customerAccount);
    EXPECT_TRUE(everything.broughtForward.isZero());
    EXPECT_EQ(everything.rows.size(), 4);
    EXPECT_EQ(everything.closingBalance(), Money::fromRials(2200));

    openPeriod(QDate(2026, 3, 21));
    const Turnover t = suite::AccountTurnover(db(), customerAccount);
    EXPECT_EQ(t.title, QStringLiteral("1201 - حساب مشتريان"));
    EXPECT_EQ(t.fromFarsiDate, QStringLiteral("1405/01/01"));
    EXPECT_EQ(t.broughtForward, Money::fromRials(700));
    ASSERT_EQ(t.rows.size(), 2);
    EXPECT_EQ(t.rows[0].documentCode, QString::number(april));
    EXPECT_EQ(t.rows[0].description, QStringLiteral("دريافت نقد"));
    EXPECT_EQ(t.rows[0].balance, Money::fromRials(200));
    EXPECT_EQ(t.rows[1].documentCode, QString::number(june));
    EXPECT_EQ(t.rows[1].farsiDate, QStringLiteral("1405/03/11"));
    EXPECT_EQ(t.rows[1].balance, Money::fromRials(2200));
    EXPECT_EQ(t.totalDebit, Money::fromRials(2000));
    EXPECT_EQ(t.totalCredit, Money::fromRials(500));
    EXPECT_EQ(t.closingBalance(), t.rows.last().balance);
}

TEST_P(LedgerViewersTest, AnObjectsTurnoverTakesTheRowsCarryingEveryObjectGiven) {
    openPeriod(QDate(2026, 3, 21));
    post({customerAccount, QDate(2026, 1, 5), 400, 0, {}, false, {{7, customer}}});
    post({customerAccount, QDate(2026, 4, 5), 1000, 0, {}, false, {{7, customer}, {4, 31}}});
    post({sales, QDate(2026, 4, 6), 0, 250, {}, false, {{7, customer}}});
    post({customerAccount, QDate(2026, 4, 7), 90, 0, {}, false, {{7, customer + 1}}});

    const Turnover one = suite::ObjectTurnover(db(), {{7, customer}, {-1, -1}});
    EXPECT_EQ(one.title, QStringLiteral("مشتري نمونه"));
    EXPECT_EQ(one.broughtForward, Money::fromRials(400));
    ASSERT_EQ(one.rows.size(), 2);
    EXPECT_EQ(one.rows[1].balance, Money::fromRials(1150));

    const Turnover both = suite::ObjectTurnover(db(), {{7, customer}, {4, 31}});
    ASSERT_EQ(both.rows.size(), 1);
    EXPECT_EQ(both.rows[0].debit, Money::fromRials(1000));
    EXPECT_TRUE(both.broughtForward.isZero());
    EXPECT_TRUE(suite::ObjectTurnover(db(), {{7, -1}, {4, 0}}).rows.isEmpty());
}

// The account-detail control on its own is a window; placed on another window it shows there.
TEST_P(LedgerViewersTest, TheAccountDetailControlShowsTheTurnoverWithItsFoot) {
    openPeriod(QDate(2026, 3, 21));
    post({customerAccount, QDate(2026, 1, 10), 700, 0, {}, false, {}});
    post({customerAccount, QDate(2026, 4, 1), 0, 1500, QStringLiteral("دريافت"), false, {}});
    auto control = component<suite::AccountDetailComponent>();
    QWidget* shown = nullptr;
    control->showWindow = [&shown](QWidget& w) { shown = &w; };
    ASSERT_TRUE(Invoke(*control, "ShowAccount", {customerAccount}));
    EXPECT_EQ(shown, control.get());
    EXPECT_EQ(cell(*control, "flexTurnover", 0, 2), QStringLiteral("مانده از قبل"));
    EXPECT_EQ(cell(*control, "flexTurnover", 0, 5), QStringLiteral("700 بدهكار"));
    EXPECT_EQ(cell(*control, "flexTurnover", 1, 2), QStringLiteral("دريافت"));
    EXPECT_EQ(cell(*control, "flexTurnover", 1, 5), QStringLiteral("800 بستانكار"));
    EXPECT_EQ(label(*control, "lblTotalCredit"), QStringLiteral("1/500"));
    EXPECT_EQ(label(*control, "lblBalance"), QStringLiteral("800 بستانكار"));

    QWidget host;
    shown = nullptr;
    control->setParent(&host);
    ASSERT_TRUE(Invoke(*control, "ShowObjectTurnover", {7, customer, -1, -1}));
    EXPECT_EQ(shown, nullptr);
    EXPECT_EQ(label(*control, "lblTitle"), QStringLiteral("مشتري نمونه"));
    control->setParent(nullptr);
}

// A long ledger is read a page at a time: the pages join into the whole turnover with the same
// running balance, the totals come before the rows, and the view shows its first page and the
// next when scrolled to its end.
TEST_P(LedgerViewersTest, ALongLedgerIsReadAPageAtATime) {
    openPeriod(QDate(2026, 3, 21));
    post({customerAccount, QDate(2026, 1, 10), 700, 0, {}, false, {}});
    {
        Transaction t = db().writerTransaction();
        for (int i = 0; i < 450; ++i)
            post({customerAccount,
                  QDate(2026, 4, 1).addDays(i % 200),
                  i % 3 ? 100 : 0,
                  i % 3 ? 0 : 250,
                  {},
                  false,
                  {}});
        t.commit();
    }
    const Turnover whole = suite::AccountTurnover(db(), customerAccount);
    auto reader = suite::TurnoverReader::ofAccount(db(), customerAccount);
    EXPECT_EQ(reader.rowCount(), 450);
    EXPECT_EQ(reader.summary().closingBalance(), whole.closingBalance());
    EXPECT_EQ(reader.summary().broughtForward, Money::fromRials(700));
    QVector<suite::TurnoverRow> paged;
    while (!reader.atEnd())
        paged += reader.next(200);
    ASSERT_EQ(paged.size(), whole.rows.size());
    for (qsizetype i = 0; i < paged.size(); ++i)
        ASSERT_EQ(paged[i].balance, whole.rows[i].balance) << "row " << i;
    Money sum = whole.broughtForward;
    for (const suite::TurnoverRow& r : whole.rows)
        sum = sum + r.debit - r.credit;
    EXPECT_EQ(whole.rows.last().balance, sum);

    auto control = component<suite::AccountDetailComponent>();
    control->showWindow = [](QWidget&) {};
    ASSERT_TRUE(Invoke(*control, "ShowAccount", {customerAccount}));
    auto* grid = control->findChild<QTableWidget*>(QStringLiteral("flexTurnover"));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->rowCount(), 1 + suite::TurnoverView::kPageRows);
    EXPECT_EQ(label(*control, "lblBalance"), suite::BalanceText(whole.closingBalance()));
    control->show();
    QCoreApplication::processEvents();
    ASSERT_GT(grid->verticalScrollBar()->maximum(), 0);
    grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
    EXPECT_EQ(grid->rowCount(), 1 + 2 * suite::TurnoverView::kPageRows);
}

SI_INSTANTIATE_BACKENDS(LedgerViewersTest);

}  // namespace
}  // namespace si::test
