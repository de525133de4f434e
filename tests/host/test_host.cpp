// The desktop host: the property bag kept in QSettings, the login check, and the answers to the
// control's four events (outbox, print request, new and listed form links) on both databases.

#include <gtest/gtest.h>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>

#include "apps/host/HostEvents.h"
#include "apps/host/HostWindow.h"
#include "apps/host/Login.h"
#include "apps/host/SettingsPropertyBag.h"
#include "common/Jalali.h"
#include "component/comSaleInvoice1.h"
#include "invoice/ui/FormMain.h"
#include "support/ContextTest.h"
#include "support/InvoiceFixtures.h"

namespace si::host {
namespace {

// SHA-256 of "abc" (FIPS 180-2, appendix B.1).
const QString kAbcHash =
    QStringLiteral("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");

// --- property bag in QSettings -----------------------------------------------------------------

class SettingsBagTest : public ::testing::Test {
protected:
    QString iniFile() const { return dir.filePath(QStringLiteral("SaleInvoiceHost.conf")); }
    QTemporaryDir dir;
    ComponentRegistry components;
    ProcedureRegistry procedures;
};

TEST_F(SettingsBagTest, EveryPropertySurvivesARestart) {
    {
        comSaleInvoice1 control(components, procedures);
        control.setDataSource(QStringLiteral("srv01"));
        control.setUserName(QStringLiteral("زهرا کريمي"));
        control.setIsInvoice(0);
        control.setOLEConnectionString(QStringLiteral(
            "Provider=PostgreSQL;Server=db;Port=5433;Database=erp;User ID=u;Password=p=q"));
        control.setUserID(2);
        control.setPositionID(-3);
        control.setAccPeriodSpecID(1405);
        control.setEmployeeID(12);
        control.setID(99);
        control.setWhereClause(QStringLiteral(" and Notes like '%a,b%' "));
        QSettings settings(iniFile(), QSettings::IniFormat);
        SettingsPropertyBag bag(settings);
        control.WriteProperties(bag);
        bag.sync();
    }
    QSettings settings(iniFile(), QSettings::IniFormat);
    SettingsPropertyBag bag(settings);
    comSaleInvoice1 restored(components, procedures);
    restored.ReadProperties(bag);
    EXPECT_EQ(restored.DataSource(), QStringLiteral("srv01"));
    EXPECT_EQ(restored.UserName(), QStringLiteral("زهرا کريمي"));
    EXPECT_FALSE(restored.IsInvoice().toBool());
    EXPECT_EQ(restored.OLEConnectionString(),
              QStringLiteral(
                  "Provider=PostgreSQL;Server=db;Port=5433;Database=erp;User ID=u;Password=p=q"));
    EXPECT_EQ(restored.UserID(), 2);
    EXPECT_EQ(restored.PositionID(), -3);
    EXPECT_EQ(restored.AccPeriodSpecID(), 1405);
    EXPECT_EQ(restored.EmployeeID(), 12);
    EXPECT_EQ(restored.ID(), 99);
    EXPECT_EQ(restored.WhereClause(), QStringLiteral(" and Notes like '%a,b%' "));
}

TEST_F(SettingsBagTest, AValueBackAtItsDefaultLeavesNoKeyAndReadsAsTheDefault) {
    QSettings settings(iniFile(), QSettings::IniFormat);
    comSaleInvoice1 control(components, procedures);
    control.setUserID(7);
    control.setUserName(QStringLiteral("ali"));
    {
        SettingsPropertyBag bag(settings);
        control.WriteProperties(bag);
    }
    EXPECT_EQ(settings.value(QStringLiteral("comSaleInvoice1/UserID")).toInt(), 7);
    control.InitProperties();
    {
        SettingsPropertyBag bag(settings);
        control.WriteProperties(bag);
        bag.sync();
    }
    settings.beginGroup(QStringLiteral("comSaleInvoice1"));
    EXPECT_TRUE(settings.childKeys().isEmpty());
    settings.endGroup();
    SettingsPropertyBag empty(settings);
    comSaleInvoice1 restored(components, procedures);
    restored.setUserID(5);
    restored.ReadProperties(empty);
    EXPECT_EQ(restored.UserID(), 0);
    EXPECT_EQ(restored.UserName(), QStringLiteral("0"));
    EXPECT_EQ(restored.IsInvoice().toInt(), 1);
}

// --- login ---------------------------------------------------------------------------------------

struct PasswordCase {
    QString stored;
    QString typed;
    bool accepted;
};

TEST(PasswordTest, StoredHashDecidesAndEmptyMeansNone) {
    const PasswordCase cases[] = {
        {QString(), QString(), true},
        {QString(), QStringLiteral("anything"), true},
        {kAbcHash, QStringLiteral("abc"), true},
        {kAbcHash.toUpper(), QStringLiteral("abc"), true},
        {kAbcHash, QStringLiteral("ABC"), false},
        {kAbcHash, QStringLiteral("abc "), false},
        {kAbcHash, QString(), false},
        {QStringLiteral("abc"), QStringLiteral("abc"), false},  // plain text is not a hash
    };
    for (const PasswordCase& c : cases) {
        UserAccount user;
        user.Password = c.stored;
        EXPECT_EQ(PasswordMatches(user, c.typed), c.accepted)
            << c.stored.toStdString() << " / " << c.typed.toStdString();
    }
}

class LoginTest : public test::ContextTest {
protected:
    int addAccount(const QString& userName, const QString& password, int active) {
        return static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblUser (UserName, FullName, Password, PositionID, "
                           "EmployeeID, IsActive) values (?, ?, ?, ?, ?, ?) RETURNING ID"),
            {userName, QStringLiteral("کاربر ") + userName, password, 4, 31, active}));
    }
};

TEST_P(LoginTest, RefusesAWrongPasswordAndAcceptsTheRightOne) {
    const int cashier = addAccount(QStringLiteral("sandogh"), kAbcHash, 1);
    LoginLogic logic;
    ASSERT_TRUE(logic.connect(database->connectionString())) << logic.error().toStdString();

    LoginResult wrong = logic.login(cashier, QStringLiteral("abd"));
    EXPECT_FALSE(wrong.ok());
    EXPECT_EQ(wrong.error, kWrongPasswordMessage);
    EXPECT_FALSE(logic.login(cashier, QString()).ok());

    LoginResult right = logic.login(cashier, QStringLiteral("abc"));
    ASSERT_TRUE(right.ok()) << right.error.toStdString();
    EXPECT_EQ(right.user->ID, cashier);
    EXPECT_EQ(right.user->PositionID, 4);
    EXPECT_EQ(right.user->EmployeeID, 31);
    EXPECT_EQ(right.user->FullName, QStringLiteral("کاربر sandogh"));
}

TEST_P(LoginTest, OnlyActiveUsersAreListedAndMayLogIn) {
    const int active = addAccount(QStringLiteral("forosh"), QString(), 1);
    const int inactive = addAccount(QStringLiteral("old"), QString(), 0);
    LoginLogic logic;
    ASSERT_TRUE(logic.connect(database->connectionString()));
    QList<int> listed;
    for (const UserAccount& u : logic.users())
        listed << u.ID;
    EXPECT_TRUE(listed.contains(active));
    EXPECT_FALSE(listed.contains(inactive));
    EXPECT_TRUE(logic.login(active, QStringLiteral("whatever")).ok());  // no password stored
    EXPECT_EQ(logic.login(inactive, QString()).error, kUnknownUserMessage);
    EXPECT_EQ(logic.loginWithoutPassword(inactive).error, kUnknownUserMessage);
    EXPECT_FALSE(logic.login(inactive + 100, QString()).ok());
}

TEST(LoginConnectTest, AMissingDatabaseFileIsRefusedAndNotCreated) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("missing.sqlite"));
    LoginLogic logic;
    EXPECT_FALSE(logic.connect(QStringLiteral("Provider=SQLite;Data Source=") + file));
    EXPECT_FALSE(logic.error().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_FALSE(logic.login(1, QString()).ok());
    EXPECT_FALSE(logic.connect(QStringLiteral("Provider=Oracle;Data Source=x")));
}

// --- the control's events ------------------------------------------------------------------------

class HostEventsTest : public test::ContextTest {
protected:
    void SetUp() override {
        ContextTest::SetUp();
        control = std::make_unique<comSaleInvoice1>(components, procedures);
        control->showForms = false;
        control->context().clock = [this] { return now; };
        LoginLogic login;
        ASSERT_TRUE(login.connect(database->connectionString()));
        const LoginResult user = login.loginWithoutPassword(ctx.globals.CurrentUserID);
        ASSERT_TRUE(user.ok());
        ApplyLogin(*control, database->connectionString(), *user.user);
        control->ClearShow();
        ASSERT_NE(control->myFrm(), nullptr);
        events = std::make_unique<HostEvents>(*control, outbox);
        events->showError = [this](const QString& message) { errors << message; };
        events->showRelationships = [this](FormRef form, const std::vector<RelatedFormRow>& rows) {
            shownFor = form;
            shown = rows;
        };
    }
    void TearDown() override {
        events.reset();
        control.reset();
        ContextTest::TearDown();
    }
    FormMainLogic& form() { return control->myFrm()->logic(); }
    int relatedFormRows() {
        return db().scalar(QStringLiteral("select count(*) from tblZelorRelatedForms")).toInt();
    }
    void answerRelatedForm(std::optional<FormRef> answer) {
        events->askRelatedForm = [this, answer](FormRef form) {
            askedFor = form;
            return answer;
        };
    }

    Outbox outbox;
    std::unique_ptr<comSaleInvoice1> control;
    std::unique_ptr<HostEvents> events;
    QStringList errors;
    FormRef askedFor;
    FormRef shownFor;
    std::vector<RelatedFormRow> shown;
};

TEST_P(HostEventsTest, LoginGivesTheControlItsSession) {
    const SessionGlobals& g = control->context().globals;
    EXPECT_EQ(g.CurrentUserID, ctx.globals.CurrentUserID);
    EXPECT_EQ(g.CurrentConnectionString, database->connectionString());
    EXPECT_EQ(g.CurrentUserFullName, QStringLiteral("مدير سيستم"));
}

// The menu's new invoice is ready for entry: a new invoice, the focus on the goods grid at the
// barcode cell where the first scanned code goes.
TEST_P(HostEventsTest, TheMenusNewSaleIsReadyForTheFirstScan) {
    FormMain* form = StartNewSale(*control);
    ASSERT_NE(form, nullptr);
    form->activateWindow();
    EXPECT_EQ(form->logic().FormMode(), kModeNew);
    const QWidget* focus = form->focusWidget();
    ASSERT_NE(focus, nullptr);
    EXPECT_EQ(focus->objectName(), QStringLiteral("flexDetail"));
    const auto* grid = qobject_cast<const QTableView*>(focus);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->currentIndex().row(), 0);
    EXPECT_EQ(grid->currentIndex().column(), Col::BarCode);
    form->close();
}

TEST_P(HostEventsTest, ViewOfANumberThatNamesNoInvoiceIsRefusedByTheHost) {
    const int id = test::AddInvoice(db(), test::InvoiceRow{});
    EXPECT_EQ(ViewRefusal(db(), id), std::nullopt);
    const auto refusal = ViewRefusal(db(), id + 1);
    ASSERT_TRUE(refusal.has_value());
    EXPECT_TRUE(refusal->contains(QString::number(id + 1)));
}

TEST_P(HostEventsTest, SendSmsLandsInTheOutboxInOrder) {
    outbox.clock = [] { return QDateTime(QDate(2026, 3, 21), QTime(9, 5, 7)); };
    Q_EMIT form().SendSMS(QStringLiteral("09121234567"), QStringLiteral("فاکتور شما ثبت شد"));
    Q_EMIT form().SendSMS(QStringLiteral("09350000000"), QStringLiteral("دوم"));
    ASSERT_EQ(outbox.rowCount(), 2);
    EXPECT_EQ(outbox.index(0, Outbox::Phone).data().toString(), QStringLiteral("09121234567"));
    EXPECT_EQ(outbox.index(0, Outbox::Message).data().toString(),
              QStringLiteral("فاکتور شما ثبت شد"));
    EXPECT_EQ(outbox.index(1, Outbox::Phone).data().toString(), QStringLiteral("09350000000"));
    // 21 March 2026 is Nowruz, 1405/01/01.
    EXPECT_EQ(outbox.index(0, Outbox::Time).data().toString(),
              QStringLiteral("1405/01/01 09:05:07"));
}

TEST_P(HostEventsTest, PrintByDotNetShowsWhatItWasHandedAndChangesNothing) {
    std::optional<PrintRequest> seen;
    events->showPrintRequest = [&](const PrintRequest& r) { seen = r; };
    QString file = QStringLiteral("/reports/SaleInvoice.rpt");
    QString connection = control->OLEConnectionString();
    QString formulas = QStringLiteral("fmlCompanyName='شرکت & پخش'&fmlTotal=1250000");
    QString sql = QStringLiteral("{tblSaleInvoice.ID} = 12");
    bool preview = true;
    Q_EMIT form().PrintByDotNet(file, connection, formulas, sql, preview);
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->templateFileName, file);
    EXPECT_EQ(seen->connectionString, control->OLEConnectionString());
    EXPECT_EQ(seen->formulas, formulas);
    EXPECT_EQ(seen->sqlQuery, sql);
    EXPECT_TRUE(seen->preview);
    EXPECT_EQ(file, QStringLiteral("/reports/SaleInvoice.rpt"));  // nothing written back
    EXPECT_TRUE(preview);
}

TEST_P(HostEventsTest, NewRelationshipAddsARowFromTheEventsForm) {
    answerRelatedForm(FormRef{802, 7});
    Q_EMIT form().CreateNewRelationship(901, 15);
    EXPECT_EQ(askedFor, (FormRef{901, 15}));
    EXPECT_TRUE(errors.isEmpty()) << errors.join(' ').toStdString();
    auto row = db().first(QStringLiteral(
        "select ReferenceFormTypeID, ReferenceFormID, RelatedFormTypeID, RelatedFormID, "
        "CreatorID, FarsiCreateDate from tblZelorRelatedForms"));
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(row->toInt(u"ReferenceFormTypeID"), 901);
    EXPECT_EQ(row->toInt(u"ReferenceFormID"), 15);
    EXPECT_EQ(row->toInt(u"RelatedFormTypeID"), 802);
    EXPECT_EQ(row->toInt(u"RelatedFormID"), 7);
    EXPECT_EQ(row->toInt(u"CreatorID"), ctx.globals.CurrentUserID);
    EXPECT_EQ(row->text(u"FarsiCreateDate"), getFarsiDate(now.date()));
}

TEST_P(HostEventsTest, RefusedOrCancelledLinksAddNothing) {
    answerRelatedForm(std::nullopt);
    Q_EMIT form().CreateNewRelationship(901, 15);
    EXPECT_EQ(relatedFormRows(), 0);
    EXPECT_TRUE(errors.isEmpty());

    answerRelatedForm(FormRef{802, 7});
    Q_EMIT form().CreateNewRelationship(901, 15);
    ASSERT_EQ(relatedFormRows(), 1);
    const struct {
        FormRef from;
        FormRef to;
    } refused[] = {{{901, 15}, {802, 7}},   // the same link again
                   {{802, 7}, {901, 15}},   // and the other way round
                   {{901, 15}, {901, 15}},  // a form to itself
                   {{901, 15}, {0, 7}}};
    for (const auto& r : refused) {
        answerRelatedForm(r.to);
        errors.clear();
        Q_EMIT form().CreateNewRelationship(r.from.typeId, r.from.formId);
        EXPECT_EQ(errors.size(), 1) << r.from.typeId << "/" << r.to.typeId;
    }
    EXPECT_EQ(relatedFormRows(), 1);
}

TEST_P(HostEventsTest, ShowRelationshipsListsTheFormOnEitherSide) {
    db().exec(QStringLiteral("insert into tblZelorFormType (ID, Name) values (?, ?)"),
              {901, QStringLiteral("فاکتور فروش")});
    Session& s = db();
    ASSERT_TRUE(AddRelationship(s, {901, 15}, {802, 7}, 1).error.isEmpty());
    ASSERT_TRUE(AddRelationship(s, {205, 3}, {901, 15}, 1).error.isEmpty());
    ASSERT_TRUE(AddRelationship(s, {901, 16}, {802, 7}, 1).error.isEmpty());  // not form 15's
    ASSERT_TRUE(AddRelationship(s, {802, 15}, {205, 4}, 1).error.isEmpty());  // same number only

    Q_EMIT form().ShowRelationships(901, 15);
    EXPECT_EQ(shownFor, (FormRef{901, 15}));
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].related, (FormRef{802, 7}));
    EXPECT_EQ(shown[1].reference, (FormRef{205, 3}));

    RelationshipsModel model(shown);
    EXPECT_EQ(model.index(0, RelationshipsModel::ReferenceType).data().toString(),
              QStringLiteral("فاکتور فروش (901)"));
    EXPECT_EQ(model.index(0, RelationshipsModel::RelatedType).data().toString(),
              QStringLiteral("802"));
    EXPECT_EQ(model.index(1, RelationshipsModel::ReferenceForm).data().toInt(), 3);

    Q_EMIT form().ShowRelationships(802, 7);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].reference, (FormRef{901, 15}));
    EXPECT_EQ(shown[1].reference, (FormRef{901, 16}));

    Q_EMIT form().ShowRelationships(903, 1);
    EXPECT_TRUE(shown.empty());
}

TEST_P(HostEventsTest, ClosingTheWindowClosesTheFormsAndWritesTheBag) {
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("bag.conf")), QSettings::IniFormat);
    SettingsPropertyBag bag(settings);
    HostWindow window(components, procedures);
    window.control().showForms = false;
    window.control().setOLEConnectionString(database->connectionString());
    window.control().setUserID(static_cast<short>(ctx.globals.CurrentUserID));
    window.onExit = [&] { window.control().WriteProperties(bag); };
    window.show();
    window.control().ClearShow();
    FormMain* invoice = window.control().myFrm();
    ASSERT_TRUE(invoice->isVisible());
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(invoice->isVisible());
    EXPECT_EQ(settings.value(QStringLiteral("comSaleInvoice1/UserID")).toInt(),
              ctx.globals.CurrentUserID);
    EXPECT_EQ(settings.value(QStringLiteral("comSaleInvoice1/OLEConnectionString")).toString(),
              database->connectionString());
}

SI_INSTANTIATE_BACKENDS(LoginTest);
SI_INSTANTIATE_BACKENDS(HostEventsTest);

// --- what the print-request dialog shows ---------------------------------------------------------

struct FormulaCase {
    QString list;
    QStringList expected;  // "number name=value"
};

TEST(PrintRequestTest, FormulaListSplitsAsTheReportComponentNumbersIt) {
    const FormulaCase cases[] = {
        {QString(), {}},
        {QStringLiteral("a=1"), {QStringLiteral("1 a=1")}},
        {QStringLiteral("a='x'&b=2"), {QStringLiteral("1 a=x"), QStringLiteral("2 b=2")}},
        {QStringLiteral("&a='x'& &b=2&"), {QStringLiteral("1 a=x"), QStringLiteral("2 b=2")}},
        {QStringLiteral("fmlName='شرکت & پخش'&fmlEq='a=b'"),
         {QStringLiteral("1 fmlName=شرکت & پخش"), QStringLiteral("2 fmlEq=a=b")}},
        {QStringLiteral("fmlQ='O''Neil & co'&n=3"),
         {QStringLiteral("1 fmlQ=O'Neil & co"), QStringLiteral("2 n=3")}},
        {QStringLiteral(" fmlMessage = '   خوش آمديد    ' "),
         {QStringLiteral("1 fmlMessage=   خوش آمديد    ")}},
        {QStringLiteral("bare"), {QStringLiteral("1 bare=")}},
    };
    for (const FormulaCase& c : cases) {
        QStringList got;
        for (const Formula& f : SplitFormulas(c.list))
            got << QStringLiteral("%1 %2=%3").arg(f.number).arg(f.name, f.value);
        EXPECT_EQ(got, c.expected) << c.list.toStdString();
    }
}

TEST(PrintRequestTest, TheHostSaysWhichFormatItCannotPrint) {
    EXPECT_EQ(NoEngineNote(QStringLiteral("C:/Reports/SaleInvoice.rpt")),
              QStringLiteral("موتور گزارشي براي قالبهاي «.rpt» نصب نشده است؛ مقادير درخواست "
                             "چاپ در زير آمده است."));
    EXPECT_TRUE(
        NoEngineNote(QStringLiteral("templates/NoSuffix")).contains(QStringLiteral("اين قالب")));
}

TEST(PrintRequestTest, DescriptionHidesThePasswordAndListsEachFormula) {
    PrintRequest r;
    r.templateFileName = QStringLiteral("/reports/SaleInvoice.rpt");
    r.connectionString = QStringLiteral(
        "Provider=PostgreSQL;Server=h;Database=erp;User ID=u;password=s3cret;Port=5433");
    r.formulas = QStringLiteral("fmlA='1'&fmlB=2");
    r.sqlQuery = QStringLiteral("{tblSaleInvoice.ID} = 5");
    r.preview = false;
    const auto rows = DescribePrintRequest(r);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0].value, r.templateFileName);
    EXPECT_EQ(rows[1].value,
              QStringLiteral(
                  "Provider=PostgreSQL;Server=h;Database=erp;User ID=u;password=****;Port=5433"));
    EXPECT_EQ(rows[2].value, r.sqlQuery);
    EXPECT_TRUE(rows[0].technical && rows[1].technical && rows[2].technical);
    EXPECT_EQ(rows[3].value, QStringLiteral("خير"));
    EXPECT_EQ(rows[4],
              (PrintRequestRow{QStringLiteral("فرمول 1: fmlA"), QStringLiteral("1"), false}));
    EXPECT_EQ(rows[5],
              (PrintRequestRow{QStringLiteral("فرمول 2: fmlB"), QStringLiteral("2"), false}));
    r.preview = true;
    EXPECT_EQ(DescribePrintRequest(r)[3].value, QStringLiteral("بله"));
}

}  // namespace
}  // namespace si::host
