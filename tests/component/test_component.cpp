// comSaleInvoice1: its properties and bag, the entry methods, and the relay of the form's events.

#include <gtest/gtest.h>
#include <QApplication>
#include <QFrame>
#include <QPointer>

#include "ComponentFixture.h"
#include "component/comSaleInvoice1.h"
#include "erpdb/Schema.h"
#include "invoice/ui/FormMain.h"
#include "payment/ui/FormPosConfig.h"
#include "support/ContextTest.h"
#include "support/InvoiceFixtures.h"
#include "support/MissingObject.h"

namespace si {
namespace {

const QStringList kBagOrder = {QStringLiteral("DataSource"),
                               QStringLiteral("UserName"),
                               QStringLiteral("IsInvoice"),
                               QStringLiteral("OLEConnectionString"),
                               QStringLiteral("UserID"),
                               QStringLiteral("PositionID"),
                               QStringLiteral("AccPeriodSpecID"),
                               QStringLiteral("EmployeeID"),
                               QStringLiteral("ID"),
                               QStringLiteral("WhereClause")};

class ComponentTest : public test::ComponentFixture {
protected:
    int storedInvoice() {
        test::InvoiceRow row;
        row.customer = test::AddCustomer(db(), QStringLiteral("مشتري"));
        return test::AddInvoice(db(), row);
    }
};

// The host's entry to the terminal configuration opens it on the user's own terminals.
TEST_P(ComponentTest, PosSettingOpensTheUsersTerminals) {
    const int other = addUser(QStringLiteral("صندوقدار"), false);
    for (int user : {ctx.globals.CurrentUserID, other})
        db().exec(QStringLiteral("insert into tblRecPayPos (Name, COMPort, BaudRate, AccountID, "
                                 "UserID, TypeID) values ('پوز', 'COM1', 9600, 1, ?, 1)"),
                  {user});
    int rows = -1;
    control->runPosSetting = [&rows](FormPosConfig& form) {
        rows = form.logic().grid().rowCount();
    };
    control->PosSetting();
    EXPECT_EQ(rows, 1);
}

TEST_P(ComponentTest, EmptyBagGivesTheDefaultsInTableOrder) {
    comSaleInvoice1 fresh(components, procedures);
    PropertyBag bag;
    fresh.ReadProperties(bag);
    EXPECT_EQ(bag.readOrder(), kBagOrder);
    EXPECT_EQ(fresh.DataSource(), QStringLiteral("0"));
    EXPECT_EQ(fresh.UserName(), QStringLiteral("0"));
    EXPECT_EQ(fresh.IsInvoice().toInt(), 1);
    EXPECT_TRUE(fresh.OLEConnectionString().isEmpty());
    EXPECT_EQ(fresh.UserID(), 0);
    EXPECT_EQ(fresh.AccPeriodSpecID(), 0);
    EXPECT_TRUE(fresh.WhereClause().isEmpty());
    fresh.WriteProperties(bag);
    EXPECT_EQ(bag.writeOrder(), kBagOrder);
    EXPECT_TRUE(bag.values().empty());  // defaults are not stored
}

TEST_P(ComponentTest, BagRoundTripsEveryProperty) {
    comSaleInvoice1 a(components, procedures);
    a.setDataSource(QStringLiteral("srv"));
    a.setUserName(QStringLiteral("ali"));
    a.setIsInvoice(0);
    a.setOLEConnectionString(QStringLiteral("Provider=SQLite;Data Source=x.db"));
    a.setUserID(7);
    a.setPositionID(-3);
    a.setAccPeriodSpecID(1405);
    a.setEmployeeID(12);
    a.setID(99);
    a.setWhereClause(QStringLiteral(" and TotalValue <= 5000000"));
    PropertyBag bag;
    a.WriteProperties(bag);
    comSaleInvoice1 b(components, procedures);
    b.ReadProperties(bag);
    PropertyBag again;
    b.WriteProperties(again);
    EXPECT_EQ(again.values(), bag.values());
    EXPECT_EQ(b.PositionID(), -3);
    b.SetUserInfo();
    EXPECT_EQ(b.context().globals.CurrentPositionID, -3);  // sign-extended
    EXPECT_FALSE(b.context().globals.CurrentIsInvoice);
}

TEST_P(ComponentTest, SettingUserIdHidesTheCaptionAndEveryPropertyNotifies) {
    comSaleInvoice1 fresh(components, procedures);
    fresh.show();
    auto* caption = fresh.findChild<QFrame*>(QStringLiteral("FrmCaption"));
    ASSERT_NE(caption, nullptr);
    EXPECT_TRUE(caption->isVisible());
    QStringList changed;
    QObject::connect(&fresh, &comSaleInvoice1::PropertyChanged,
                     [&](const QString& name) { changed << name; });
    fresh.setUserID(0);  // the same value still hides it
    EXPECT_FALSE(caption->isVisible());
    PropertyBag bag;
    fresh.ReadProperties(bag);
    EXPECT_EQ(changed.mid(1), kBagOrder);
}

TEST_P(ComponentTest, ViewOpensStoredOrNewInvoices) {
    const int id = storedInvoice();
    int arg = id;
    EXPECT_FALSE(control->View(arg));
    EXPECT_EQ(control->myFrm()->logic().FormMode(), kModeView);
    for (int missing : {0, -1, id + 50}) {
        int m = missing;
        control->View(m);
        EXPECT_EQ(control->myFrm()->logic().FormMode(), kModeCleared) << missing;
    }
    EXPECT_FALSE(control->ClearShow());
    EXPECT_EQ(control->myFrm()->logic().FormMode(), kModeCleared);
}

// The re-post and the dispatch viewer belong to a stored final invoice.
TEST_P(ComponentTest, PostingCommandsWakeOnAFinalInvoice) {
    test::InvoiceRow row;
    row.customer = test::AddCustomer(db(), QStringLiteral("مشتري"));
    const int temporary = test::AddInvoice(db(), row);
    row.code = 7;
    int final = test::AddInvoice(db(), row);
    control->View(final);
    FormMainLogic& form = control->myFrm()->logic();
    EXPECT_TRUE(form.availability().isEnabled(QStringLiteral("cmdSaveAccDoc")));
    EXPECT_TRUE(form.availability().isEnabled(QStringLiteral("cmdInvExit")));
    messages.clear();
    EXPECT_TRUE(form.runCommand(QStringLiteral("cmdInvExit")));
    EXPECT_TRUE(messages.anyContains(
        QStringLiteral("برگه خروجي از روي اين فاکتور فروش كالا صادر نشده است.")))
        << messages.texts().join('\n').toStdString();
    int t = temporary;
    control->View(t);
    EXPECT_FALSE(
        control->myFrm()->logic().availability().isEnabled(QStringLiteral("cmdSaveAccDoc")));
    EXPECT_FALSE(control->myFrm()->logic().availability().isEnabled(QStringLiteral("cmdInvExit")));
}

TEST_P(ComponentTest, OnlyTheLastFormIsRelayed) {
    int first = storedInvoice(), second = storedInvoice();
    control->View(first);
    FormMain* firstForm = control->myFrm();
    control->View(second);
    FormMain* secondForm = control->myFrm();
    ASSERT_NE(firstForm, secondForm);
    EXPECT_EQ(control->openFormCount(), 2);
    QList<int> relayed;
    QObject::connect(control.get(), &comSaleInvoice1::ShowRelationships,
                     [&](int type, int id) { relayed << type << id; });
    firstForm->logic().cmdRelatedForms_Click();
    EXPECT_TRUE(relayed.isEmpty());
    secondForm->logic().cmdRelatedForms_Click();
    EXPECT_EQ(relayed, (QList<int>{901, second}));
}

// A closed form relays nothing more and is deleted once its close has been handled, so opening
// and closing forms all day keeps no form alive.
TEST_P(ComponentTest, ClosedFormsAreReleasedAndNoLongerRelayed) {
    int id = storedInvoice();
    control->View(id);
    QPointer<FormMain> closed = control->myFrm();
    QList<int> relayed;
    QObject::connect(control.get(), &comSaleInvoice1::ShowRelationships,
                     [&](int type, int form) { relayed << type << form; });
    control->UnloadInvoice();
    ASSERT_FALSE(closed->isVisible());
    EXPECT_EQ(control->myFrm(), nullptr);
    EXPECT_EQ(control->openFormCount(), 0);
    closed->logic().cmdRelatedForms_Click();  // closed, not yet deleted
    EXPECT_TRUE(relayed.isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());

    const qsizetype windows = QApplication::topLevelWidgets().size();
    for (int i = 0; i < 25; ++i) {
        control->View(id);
        QPointer<FormMain> form = control->myFrm();
        form->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_TRUE(form.isNull()) << i;
    }
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windows);
    // A form still open when the control goes is deleted with it.
    control->View(id);
    QPointer<FormMain> open = control->myFrm();
    control.reset();
    EXPECT_TRUE(open.isNull());
}

// An entry method that fails while the form loads leaves no half-loaded form behind.
TEST_P(ComponentTest, AFormThatFailsToLoadIsNotKept) {
    int id = storedInvoice();
    control->View(id);
    FormMain* first = control->myFrm();
    const test::MissingObject basePath(*database, QStringLiteral("vwZelorBasePath"));
    int again = id;
    EXPECT_THROW(control->View(again), SqlError);
    EXPECT_EQ(control->myFrm(), first);
    EXPECT_EQ(control->openFormCount(), 1);
}

TEST_P(ComponentTest, HostAnswersToPrintByDotNetReachTheForm) {
    int id = storedInvoice();
    control->View(id);
    QObject::connect(
        control.get(), &comSaleInvoice1::PrintByDotNet, control.get(),
        [](QString& file, QString& connection, QString& formulas, QString& sql, bool& preview) {
            file += QStringLiteral(".host");
            connection = QStringLiteral("host connection");
            formulas.clear();
            sql = QStringLiteral("select 1");
            preview = !preview;
        },
        Qt::DirectConnection);
    QString file = QStringLiteral("SaleInvoice.rpt"), connection, formulas = QStringLiteral("a=1"),
            sql;
    bool preview = true;
    Q_EMIT control->myFrm()->logic().PrintByDotNet(file, connection, formulas, sql, preview);
    EXPECT_EQ(file, QStringLiteral("SaleInvoice.rpt.host"));
    EXPECT_EQ(connection, QStringLiteral("host connection"));
    EXPECT_TRUE(formulas.isEmpty());
    EXPECT_EQ(sql, QStringLiteral("select 1"));
    EXPECT_FALSE(preview);
}

TEST_P(ComponentTest, ChangingTheConnectionBetweenViewsSwitchesTheDatabase) {
    test::ScratchDatabase other(GetParam());  // a second database with its own schema
    test::InvoiceRow row;
    row.notes = QStringLiteral("پايگاه اول");
    int id = test::AddInvoice(db(), row);
    {
        auto s = Session::open(other.connectionString());
        erpdb::InstallSchema(*s);
        s->exec(QStringLiteral(
                    "insert into tblUser (ID, UserName, FullName, IsAdmin) values (?, 'x', ?, 1)"),
                {ctx.globals.CurrentUserID, QStringLiteral("كاربر پايگاه دوم")});
        row.notes = QStringLiteral("پايگاه دوم");
        ASSERT_EQ(test::AddInvoice(*s, row), id);  // the same number in both databases
    }
    control->View(id);
    EXPECT_EQ(control->myFrm()->logic().doc().txtNotes, QStringLiteral("پايگاه اول"));
    control->setOLEConnectionString(other.connectionString());
    control->View(id);
    EXPECT_EQ(control->myFrm()->logic().doc().txtNotes, QStringLiteral("پايگاه دوم"));
    EXPECT_EQ(control->context().globals.CurrentUserFullName, QStringLiteral("كاربر پايگاه دوم"));
}

TEST_P(ComponentTest, SearchNeedsRight90104) {
    control->setUserID(static_cast<short>(addUser(QStringLiteral("بي دسترسي"), false)));
    int asked = 0;
    control->searchDialog = [&] { return ++asked; };
    EXPECT_FALSE(control->SearchInvoice());
    EXPECT_TRUE(control->SearchNGetInvoices().isEmpty());
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(messages.last().text, kNoRightMessage);
    EXPECT_EQ(messages.last().caption, kErrorCaption);
    EXPECT_EQ(control->myFrm(), nullptr);

    control->setUserID(static_cast<short>(ctx.globals.CurrentUserID));
    const int id = storedInvoice();
    control->searchDialog = [id] { return id; };
    control->SearchInvoice();
    ASSERT_NE(control->myFrm(), nullptr);
    EXPECT_EQ(control->myFrm()->logic().doc().txtID, QString::number(id));
    EXPECT_EQ(control->SearchNGetInvoices(), QString::number(id));
}

TEST_P(ComponentTest, ListPanelButtonsLineUpAlongTheBottomFromTheRight) {
    control->resize(800, 400);
    control->show();
    const char* order[] = {"cmdSelectAll", "cmdSelectNone", "cmdSelectInverse", "cmdFinalSave"};
    int right = 800 - 20;
    for (const char* name : order) {
        auto* b = control->findChild<QWidget*>(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->geometry().right() + 1, right) << name;
        EXPECT_EQ(b->geometry().bottom() + 1, 400 - 20) << name;
        right = b->geometry().left() - 20;
    }
    auto* flex = control->findChild<QWidget*>(QStringLiteral("flex"));
    EXPECT_EQ(flex->geometry().width(), 800);
    QString from = QStringLiteral("1405/01/01"), to = QStringLiteral("1405/12/29");
    EXPECT_FALSE(control->SaveAccDocAgain(from, to));
    EXPECT_EQ(from, QStringLiteral("1405/01/01"));
}

SI_INSTANTIATE_BACKENDS(ComponentTest);

}  // namespace
}  // namespace si
