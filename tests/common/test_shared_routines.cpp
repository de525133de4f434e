// Shared routines that read the database: rights, the session, messages through the component,
// the active period, unit look-ups, report templates, back-to-temp hand-over and stock through a
// chain of parent inventories.

#include <gtest/gtest.h>

#include "common/Lookups.h"
#include "common/Messages.h"
#include "common/Period.h"
#include "common/Stock.h"
#include "erpdb/Schema.h"
#include "support/ContextTest.h"

namespace si {
namespace {

class SharedRoutinesTest : public test::ContextTest {
protected:
    void addPeriod(const QDate& begin, const QDate& end, bool active) {
        db().exec(QStringLiteral(
                      "insert into tblAccountPeriod (Name, BeginDate, FarsiBeginDate, EndDate, "
                      "FarsiEndDate, IsActive) values (?,?,?,?,?,?)"),
                  {QStringLiteral("سال مالي 1405"), begin, QStringLiteral("1405/01/01"), end,
                   QStringLiteral("1405/12/29"), active ? 1 : 0});
    }
    int addInventory(const QString& name, int parent = -1) {
        return static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblInventory (Name, ParentID) values (?, ?) RETURNING ID"),
            {name, parent > 0 ? QVariant(parent) : QVariant()}));
    }
    void addParent(int ancestor, int child, int level) {
        db().exec(
            QStringLiteral("insert into tblInventoryParent (ID, ChildID, NoLevel) values (?,?,?)"),
            {ancestor, child, level});
    }
    void receive(int inventory, const QString& barcode, double qty, const QDate& date,
                 int scale = -1) {
        const qint64 receipt = db().insertReturningId(
            QStringLiteral(
                "insert into tblInventoryReceipt (InventoryID, ReceiveDate, FarsiReceiveDate) "
                "values (?, ?, ?) RETURNING ID"),
            {inventory, date, QString()});
        db().exec(QStringLiteral(
                      "insert into tblInventoryReceiptDetail (ReceiptID, Barcode, Qty, ScaleID) "
                      "values (?,?,?,?)"),
                  {receipt, barcode, qty, scale > 0 ? QVariant(scale) : QVariant()});
    }
    void dispatch(int inventory, const QString& barcode, double qty, const QDate& date,
                  int invoice = -1) {
        const qint64 d = db().insertReturningId(
            QStringLiteral(
                "insert into tblInventoryDispatch (InventoryID, ReceiveDate, FormTypeID, FormID) "
                "values (?, ?, ?, ?) RETURNING ID"),
            {inventory, date, invoice > 0 ? QVariant(901) : QVariant(),
             invoice > 0 ? QVariant(invoice) : QVariant()});
        db().exec(
            QStringLiteral(
                "insert into tblInventoryDispatchDetail (DispatchID, Barcode, Qty) values (?,?,?)"),
            {d, barcode, qty});
    }
    // A wholesale invoice type used by an invoice of the inventory marks it as a selling parent.
    void sellWholesaleFrom(int inventory) {
        const qint64 type = db().insertReturningId(
            QStringLiteral("insert into tblSaleInvoiceType (Name, GenerateSaleAssignment) values "
                           "(?, 1) RETURNING ID"),
            {QStringLiteral("عمده")});
        db().exec(QStringLiteral("insert into tblSaleInvoice (TypeID, InventoryID) values (?, ?)"),
                  {type, inventory});
    }
};

TEST_P(SharedRoutinesTest, RightsComeFromUserPositionOrAdministrator) {
    EXPECT_TRUE(HasRight(ctx, 90103));  // the fixture's user is an administrator
    const int clerk = addUser(QStringLiteral("صندوقدار"), false, {90105});
    ctx.globals.CurrentUserID = clerk;
    EXPECT_TRUE(HasRight(ctx, 90105));
    EXPECT_FALSE(HasRight(ctx, 90106));
    const qint64 position = db().insertReturningId(
        QStringLiteral("insert into tblPosition (Name) values (?) RETURNING ID"),
        {QStringLiteral("فروشنده")});
    db().exec(QStringLiteral("update tblUser set PositionID = ? where ID = ?"), {position, clerk});
    db().exec(
        QStringLiteral(
            "insert into tblZelorPositionPermission (PositionID, PermissionID) values (?, 90106)"),
        {position});
    EXPECT_TRUE(HasRight(ctx, 90106));
    db().exec(QStringLiteral("update tblUser set IsActive = 0 where ID = ?"), {clerk});
    EXPECT_FALSE(HasRight(ctx, 90105));
}

// OpenSession reads the user's full name, keeps a session on the same database and opens a new
// one for another database.
TEST_P(SharedRoutinesTest, OpenSessionReadsTheUsersFullNameAndKeepsItsConnection) {
    EXPECT_EQ(ctx.globals.CurrentUserFullName, QStringLiteral("مدير سيستم"));
    Session* first = ctx.session.get();
    const int admin = ctx.globals.CurrentUserID;
    ctx.globals.CurrentUserID = addUser(QStringLiteral("زهرا احمدي"), false);
    ctx.formFlag1 = 1;
    OpenSession(ctx);
    EXPECT_EQ(ctx.session.get(), first);
    EXPECT_EQ(ctx.globals.CurrentUserFullName, QStringLiteral("زهرا احمدي"));
    EXPECT_EQ(ctx.formFlag1, 0);

    test::ScratchDatabase other(GetParam());
    erpdb::InstallSchema(*Session::open(other.connectionString()));
    ctx.globals.CurrentUserID = admin;
    ctx.globals.CurrentConnectionString = other.connectionString();
    OpenSession(ctx);
    EXPECT_EQ(ctx.session->connectionString(), other.connectionString());
}

TEST_P(SharedRoutinesTest, MessagesGoThroughTheComponentOrNowhere) {
    messages.answerYes();
    messages.answerNo();
    EXPECT_EQ(AskYesNo(ctx, QStringLiteral("پرسش"), QStringLiteral("ادامه؟")), kAnswerYes);
    EXPECT_EQ(AskYesNo(ctx, QStringLiteral("پرسش"), QStringLiteral("ادامه؟")), kAnswerNo);
    ShowMessage(ctx, QStringLiteral("خطا"), QStringLiteral("پيام"));
    ASSERT_EQ(messages.shown().size(), 3u);
    EXPECT_EQ(messages.shown()[0].formType, 1);
    EXPECT_EQ(messages.last().caption, QStringLiteral("خطا"));
    EXPECT_EQ(messages.last().formType, 0);

    components.remove(kMessageProgId);  // a machine without the component
    ShowMessage(ctx, QStringLiteral("خطا"), QStringLiteral("پيام"));
    EXPECT_EQ(AskYesNo(ctx, QStringLiteral("پرسش"), QStringLiteral("ادامه؟")), kAnswerNone);
    EXPECT_EQ(messages.shown().size(), 3u);
}

TEST_P(SharedRoutinesTest, PeriodDatesFollowParameter78) {
    addPeriod(QDate(2026, 3, 21), QDate(2027, 3, 20), true);
    QString from, to;
    GetActivePeriodDates(ctx, from, to);
    EXPECT_EQ(from, QStringLiteral("1300/01/01"));
    EXPECT_EQ(to, QStringLiteral("1500/01/01"));
    useParameter(P::PeriodDates, QStringLiteral("1"));
    GetActivePeriodDates(ctx, from, to);
    EXPECT_EQ(from, QStringLiteral("1405/01/01"));
    EXPECT_EQ(to, QStringLiteral("1405/12/29"));
    db().exec(QStringLiteral("update tblAccountPeriod set IsActive = 0"));
    GetActivePeriodDates(ctx, from, to);
    EXPECT_EQ(from, QStringLiteral("1300/01/01"));
    EXPECT_EQ(GetActivePeriodID(ctx), 0);
}

TEST_P(SharedRoutinesTest, ActivePeriodReplacesTheWideDefault) {
    LoadActivePeriod(ctx);
    EXPECT_TRUE(ctx.period.name.isEmpty());
    EXPECT_EQ(ctx.period.beginDate, now.date().addDays(-10950));
    EXPECT_EQ(ctx.period.endDate, now.date().addDays(10950));
    addPeriod(QDate(2026, 3, 21), QDate(2027, 3, 20), true);
    LoadActivePeriod(ctx);
    EXPECT_EQ(ctx.period.name, QStringLiteral("سال مالي 1405"));
    EXPECT_EQ(ctx.period.beginDate, QDate(2026, 3, 21));
    EXPECT_EQ(ctx.period.endDate, QDate(2027, 3, 20));
    EXPECT_GT(GetActivePeriodID(ctx), 0);
}

TEST_P(SharedRoutinesTest, UnitLookupsDefaultWhenUnknownOrUnset) {
    const qint64 box =
        db().insertReturningId(QStringLiteral("insert into tblGoodScale (Name, ScaleToBaseParent, "
                                              "IsInteger) values (?, 12, 1) RETURNING ID"),
                               {QStringLiteral("بسته")});
    const qint64 kilo =
        db().insertReturningId(QStringLiteral("insert into tblGoodScale (Name, ScaleToBaseParent, "
                                              "IsInteger) values (?, NULL, 0) RETURNING ID"),
                               {QStringLiteral("كيلوگرم")});
    const qint64 loose = db().insertReturningId(
        QStringLiteral("insert into tblGoodScale (Name) values (?) RETURNING ID"),
        {QStringLiteral("عدد")});
    EXPECT_EQ(ScaleToBaseParent(db(), int(box)), Money::fromRials(12));
    EXPECT_EQ(ScaleToBaseParent(db(), int(kilo)), Money::fromRials(1));
    EXPECT_EQ(ScaleToBaseParent(db(), 9999), Money::fromRials(1));
    EXPECT_TRUE(IsScaleInteger(db(), int(box)));
    EXPECT_FALSE(IsScaleInteger(db(), int(kilo)));
    EXPECT_TRUE(IsScaleInteger(db(), int(loose)));
    EXPECT_TRUE(IsScaleInteger(db(), 9999));
}

TEST_P(SharedRoutinesTest, LeafEmployeeHasNoSubordinate) {
    const qint64 boss = db().insertReturningId(
        QStringLiteral("insert into tblEmployee (FirstName) values (?) RETURNING ID"),
        {QStringLiteral("علي")});
    const qint64 clerk = db().insertReturningId(
        QStringLiteral("insert into tblEmployee (FirstName, ParentID) values (?, ?) RETURNING ID"),
        {QStringLiteral("رضا"), boss});
    EXPECT_FALSE(IsLeafEmployee(db(), int(boss)));
    EXPECT_TRUE(IsLeafEmployee(db(), int(clerk)));
}

class ChooserProbe : public ReportTemplateList {
public:
    int formTypeId() const override { return 901; }
    void addTemplate(const QString& title, int id) override { items.push_back({id, title}); }
    int templateCount() const override { return static_cast<int>(items.size()); }
    void selectFirst() override { selected = 0; }
    QVector<ReportTemplate> items;
    int selected = -1;
};

TEST_P(SharedRoutinesTest, ReportTemplatesBySequenceThenNewestFirst) {
    for (const auto& [title, sequence, type] : std::vector<std::tuple<const char*, int, int>>{
             {"B", 2, 901}, {"A", 1, 901}, {"A2", 1, 901}, {"X", 1, 904}})
        db().exec(
            QStringLiteral(
                "insert into tblZelorReportTemplate (FormTypeID, Title, Sequence) values (?,?,?)"),
            {type, QString::fromLatin1(title), sequence});
    ChooserProbe chooser;
    EXPECT_TRUE(FillReportTemplates(ctx, chooser));
    ASSERT_EQ(chooser.items.size(), 3);
    EXPECT_EQ(chooser.items[0].title, QStringLiteral("A2"));
    EXPECT_EQ(chooser.items[1].title, QStringLiteral("A"));
    EXPECT_EQ(chooser.items[2].title, QStringLiteral("B"));
    EXPECT_EQ(chooser.selected, 0);
}

class BackToTempProbe : public QObject {
    Q_OBJECT
    Q_PROPERTY(int UserID MEMBER userId)
    Q_PROPERTY(int PositionID MEMBER positionId)
    Q_PROPERTY(int EmployeeID MEMBER employeeId)
    Q_PROPERTY(QString OLEConnectionString MEMBER connection)
    Q_PROPERTY(int FormID MEMBER formId)
    Q_PROPERTY(int FormTypeID MEMBER formTypeId)
public:
    Q_INVOKABLE void ClearShow() { ++(*shows); }
    int userId = 0, positionId = 0, employeeId = 0, formId = 0, formTypeId = 0;
    QString connection;
    int* shows = nullptr;
};

TEST_P(SharedRoutinesTest, BackToTempIsHandedOverOrRefused) {
    int formId = 77, formType = 901;
    OpenBackToTemp(ctx, formId, formType);
    EXPECT_EQ(messages.last().text, kNoRightMessage);

    int shows = 0;
    BackToTempProbe* last = nullptr;
    components.add(kBackToTempProgId, [&] {
        auto probe = std::make_unique<BackToTempProbe>();
        probe->shows = &shows;
        last = probe.get();
        return probe;
    });
    ctx.globals.CurrentPositionID = 4;
    OpenBackToTemp(ctx, formId, formType);
    EXPECT_EQ(shows, 1);
    (void)last;  // released after the call, as the original did
}

TEST_P(SharedRoutinesTest, StockIsReceiptsLessDispatchesUpToTheDay) {
    const int inv = addInventory(QStringLiteral("انبار فروشگاه"));
    const qint64 pack = db().insertReturningId(
        QStringLiteral(
            "insert into tblGoodScale (Name, ScaleToBaseParent) values (?, 12) RETURNING ID"),
        {QStringLiteral("بسته")});
    receive(inv, QStringLiteral("626001"), 2, QDate(2026, 11, 1), int(pack));  // 24 base units
    receive(inv, QStringLiteral("626001"), 5, QDate(2026, 12, 7));             // after the day
    dispatch(inv, QStringLiteral("626001"), 4, QDate(2026, 12, 6));
    dispatch(inv, QStringLiteral("626001"), 3, QDate(2026, 12, 1), /*invoice=*/55);
    receive(inv + 1, QStringLiteral("626001"), 100, QDate(2026, 11, 1));  // another inventory
    StockQuery q{inv, QStringLiteral("626001"), QDate(2026, 12, 6), -1, QDate()};
    EXPECT_DOUBLE_EQ(InventoryStock(db(), q), 24 - 4 - 3);
    q.excludeInvoiceId = 55;  // the invoice's own dispatch does not count against it
    EXPECT_DOUBLE_EQ(InventoryStock(db(), q), 24 - 4);
    q.from = QDate(2026, 11, 2);
    EXPECT_DOUBLE_EQ(InventoryStock(db(), q), -4);
}

TEST_P(SharedRoutinesTest, StockFollowsAChainOfSellingParents) {
    const int top = addInventory(QStringLiteral("انبار مركزي"));
    const int middle = addInventory(QStringLiteral("انبار منطقه"), top);
    const int shop = addInventory(QStringLiteral("فروشگاه"), middle);
    addParent(middle, shop, 1);
    addParent(top, shop, 2);
    addParent(top, middle, 1);
    receive(top, QStringLiteral("626002"), 50, QDate(2026, 1, 1));
    receive(middle, QStringLiteral("626002"), 20, QDate(2026, 1, 1));
    receive(shop, QStringLiteral("626002"), 5, QDate(2026, 1, 1));
    const StockQuery q{shop, QStringLiteral("626002"), QDate(2026, 12, 6), -1, QDate()};
    double parentStock = -1;
    EXPECT_FALSE(GetParentInventoryStock(db(), q, parentStock));
    EXPECT_DOUBLE_EQ(InventoryStock(db(), q), 5);  // no parent sells: its own stock

    sellWholesaleFrom(middle);
    EXPECT_TRUE(GetParentInventoryStock(db(), q, parentStock));
    EXPECT_DOUBLE_EQ(parentStock, 20);
    sellWholesaleFrom(top);  // the farthest selling ancestor wins, and the middle one defers to it
    EXPECT_DOUBLE_EQ(InventoryStock(db(), q), 50);
    const StockQuery middleQuery{middle, QStringLiteral("626002"), QDate(2026, 12, 6), -1, QDate()};
    EXPECT_DOUBLE_EQ(InventoryStock(db(), middleQuery), 50);
}

TEST_P(SharedRoutinesTest, StockWithParameter78StartsAtThePeriod) {
    const int inv = addInventory(QStringLiteral("انبار"));
    receive(inv, QStringLiteral("626003"), 10, QDate(2026, 1, 1));  // last year
    receive(inv, QStringLiteral("626003"), 3, QDate(2026, 4, 1));
    addPeriod(QDate(2026, 3, 21), QDate(2027, 3, 20), true);
    EXPECT_DOUBLE_EQ(InventoryStock(ctx, inv, QStringLiteral("626003"), QDate(2026, 12, 6), -1),
                     13);
    useParameter(P::PeriodDates, QStringLiteral("1"));
    EXPECT_DOUBLE_EQ(InventoryStock(ctx, inv, QStringLiteral("626003"), QDate(2026, 12, 6), -1), 3);
}

SI_INSTANTIATE_BACKENDS(SharedRoutinesTest);

}  // namespace
}  // namespace si

#include "test_shared_routines.moc"
