// The installed schema on both databases: what the installer creates and keeps, that every
// view runs, that the statements the module composes find the columns they name, and that the
// computed columns of the invoice and stock views add up.

#include <gtest/gtest.h>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>

#include "erpdb/Schema.h"
#include "support/TestDatabase.h"

namespace si::erpdb {
namespace {

using test::Backend;

// Inserts one row and returns its new identity; the column names are this file's own.
qint64 insertRow(Session& s, const QString& table, const QStringList& columns,
                 const Params& values) {
    QStringList marks;
    for (int i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    return s.insertReturningId(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING ID")
                                   .arg(table, columns.join(u','), marks.join(u',')),
                               values);
}

QStringList scriptViewNames() {
    QFile f(QStringLiteral(":/erpdb/schema/90_views.sql"));
    if (!f.open(QIODevice::ReadOnly)) return {};
    static const QRegularExpression createView(QStringLiteral("^CREATE VIEW (\\w+)"),
                                               QRegularExpression::MultilineOption);
    QStringList names;
    for (auto it = createView.globalMatch(QString::fromUtf8(f.readAll())); it.hasNext();)
        names << it.next().captured(1);
    return names;
}

int versionRows(Session& s) {
    return s.scalar(QStringLiteral("SELECT count(*) FROM tblZelorSchemaVersion")).toInt();
}

class SchemaInstall : public ::testing::TestWithParam<Backend> {};

TEST_P(SchemaInstall, EmptyDatabaseGetsEveryTableAtTheCurrentVersion) {
    test::ScratchDatabase db(GetParam());
    auto s = Session::open(db.connectionString());
    EXPECT_EQ(InstalledSchemaVersion(*s), 0);

    InstallSchema(*s);

    EXPECT_EQ(InstalledSchemaVersion(*s), CurrentSchemaVersion());
    EXPECT_EQ(versionRows(*s), CurrentSchemaVersion());
    const QStringList tables = TableNames();
    // A name created twice would leave the second definition silently unused.
    EXPECT_EQ(QSet<QString>(tables.begin(), tables.end()).size(), tables.size());
    for (const QString& table : tables)
        EXPECT_TRUE(s->tableExists(table)) << table.toStdString();
    for (const QString& view : scriptViewNames())
        EXPECT_TRUE(s->tableExists(view)) << view.toStdString();
}

bool indexExists(Session& s, const QString& name) {
    const QString sql = s.dialect() == Dialect::SQLite
                            ? QStringLiteral(
                                  "SELECT count(*) FROM sqlite_master WHERE type = "
                                  "'index' AND name = ?")
                            : QStringLiteral(
                                  "SELECT count(*) FROM pg_indexes WHERE indexname = "
                                  "lower(?)");
    return s.scalar(sql, {name}).toInt() > 0;
}

// A database of the first version (as installed before the later steps existed) gets them.
TEST_P(SchemaInstall, OlderDatabaseIsUpgradedByTheLaterSteps) {
    test::ScratchDatabase db(GetParam());
    auto s = Session::open(db.connectionString());
    InstallSchema(*s);
    s->execScript(QStringLiteral("DROP INDEX ix_tblSaleInvoice_CreditUse"));
    s->exec(QStringLiteral("DELETE FROM tblZelorSchemaVersion WHERE Version > 1"));
    ASSERT_EQ(InstalledSchemaVersion(*s), 1);

    InstallSchema(*s);

    EXPECT_EQ(InstalledSchemaVersion(*s), CurrentSchemaVersion());
    EXPECT_TRUE(indexExists(*s, QStringLiteral("ix_tblSaleInvoice_CreditUse")));
}

// Invoices stored before the row version existed get it, starting from 0, and keep their rows.
TEST_P(SchemaInstall, InvoicesOfAnOlderDatabaseGetTheirRowVersion) {
    test::ScratchDatabase db(GetParam());
    auto s = Session::open(db.connectionString());
    InstallSchema(*s);
    s->execScript(QStringLiteral("ALTER TABLE tblSaleInvoice DROP COLUMN RowVersion"));
    s->exec(QStringLiteral("DELETE FROM tblZelorSchemaVersion WHERE Version > 2"));
    const qint64 invoice = insertRow(*s, QStringLiteral("tblSaleInvoice"),
                                     {QStringLiteral("Notes")}, {QStringLiteral("قديمي")});

    InstallSchema(*s);

    EXPECT_EQ(InstalledSchemaVersion(*s), CurrentSchemaVersion());
    EXPECT_EQ(
        s->scalar(QStringLiteral("SELECT RowVersion FROM tblSaleInvoice WHERE ID = ?"), {invoice})
            .toInt(),
        0);
}

TEST_P(SchemaInstall, InstallingAgainKeepsVersionAndRows) {
    test::ScratchDatabase db(GetParam());
    auto s = Session::open(db.connectionString());
    InstallSchema(*s);
    const qint64 invoice = insertRow(*s, QStringLiteral("tblSaleInvoice"),
                                     {QStringLiteral("Notes")}, {QStringLiteral("یادداشت")});
    s->exec(QStringLiteral(
        "INSERT INTO tblZelorSystemParameters (ID, SystemID, Value) VALUES (3, 9, '1')"));

    InstallSchema(*s);

    EXPECT_EQ(InstalledSchemaVersion(*s), CurrentSchemaVersion());
    EXPECT_EQ(versionRows(*s), CurrentSchemaVersion());
    EXPECT_EQ(s->scalar(QStringLiteral("SELECT Notes FROM tblSaleInvoice WHERE ID = ?"), {invoice})
                  .toString(),
              QStringLiteral("یادداشت"));
    EXPECT_EQ(s->scalar(QStringLiteral("SELECT Value FROM tblZelorSystemParameters WHERE ID = 3"))
                  .toString(),
              QStringLiteral("1"));
    // The views came back, reading the kept row.
    EXPECT_EQ(
        s->scalar(QStringLiteral("SELECT Code FROM vwSaleInvoiceSearch WHERE ID = ?"), {invoice})
            .toInt(),
        -1);
}

// A database written by a newer program is left as it is.
TEST_P(SchemaInstall, NewerDatabaseIsRefusedUntouched) {
    test::ScratchDatabase db(GetParam());
    auto s = Session::open(db.connectionString());
    InstallSchema(*s);
    s->exec(QStringLiteral("INSERT INTO tblZelorSchemaVersion (Version) VALUES (?)"),
            {CurrentSchemaVersion() + 1});

    EXPECT_THROW(InstallSchema(*s), std::runtime_error);

    EXPECT_EQ(InstalledSchemaVersion(*s), CurrentSchemaVersion() + 1);
    EXPECT_TRUE(s->tableExists(QStringLiteral("vwSaleInvoiceSearch")));
}

const QStringList kUpdateColumns = {QStringLiteral("UpdaterID"), QStringLiteral("UpdateDate"),
                                    QStringLiteral("FarsiUpdateDate")};

bool hasUpdateColumns(Session& s) {
    return std::all_of(kUpdateColumns.begin(), kUpdateColumns.end(), [&s](const QString& column) {
        return s.columnExists(QStringLiteral("tblSaleInvoice"), column);
    });
}

// Back to a database of version 2, installed before the schema created the update columns; with
// formAddedThem, the invoice form had added them since, as it did then.
void backToVersionTwo(Session& s, bool formAddedThem) {
    const QStringList views = scriptViewNames();
    for (auto it = views.crbegin(); it != views.crend(); ++it)
        s.execScript(QStringLiteral("DROP VIEW IF EXISTS ") + *it);
    if (!formAddedThem)
        for (const QString& column : kUpdateColumns)
            s.execScript(QStringLiteral("ALTER TABLE tblSaleInvoice DROP COLUMN ") + column);
    s.exec(QStringLiteral("DELETE FROM tblZelorSchemaVersion WHERE Version > 2"));
}

// The schema creates the update columns, so that opening a database never has to change it; an
// older database gets them from the upgrade, and keeps those the form added.
TEST_P(SchemaInstall, UpdateColumnsComeWithTheSchemaAndWithTheUpgrade) {
    test::ScratchDatabase db(GetParam());
    auto s = Session::open(db.connectionString());
    InstallSchema(*s);
    EXPECT_TRUE(hasUpdateColumns(*s));

    for (const bool formAddedThem : {false, true}) {
        SCOPED_TRACE(formAddedThem ? "added by the form" : "missing");
        backToVersionTwo(*s, formAddedThem);
        ASSERT_EQ(InstalledSchemaVersion(*s), 2);
        EXPECT_EQ(hasUpdateColumns(*s), formAddedThem);

        InstallSchema(*s);

        EXPECT_EQ(InstalledSchemaVersion(*s), CurrentSchemaVersion());
        EXPECT_TRUE(hasUpdateColumns(*s));
        EXPECT_NO_THROW(s->query(QStringLiteral("SELECT * FROM vwSaleInvoiceSearch LIMIT 1")));
    }
}

SI_INSTANTIATE_BACKENDS(SchemaInstall);

class SchemaViews : public ::testing::TestWithParam<Backend> {
protected:
    test::TestDatabase db_{GetParam()};
    std::unique_ptr<Session> s_ = db_.open();
};

// SQLite accepts a view that names a missing column and fails only when it is read.
TEST_P(SchemaViews, EveryViewCanBeRead) {
    const QStringList views = scriptViewNames();
    ASSERT_GT(views.size(), 50);
    for (const QString& view : views)
        EXPECT_NO_THROW(
            s_->query(QStringLiteral("SELECT * FROM ") + view + QStringLiteral(" LIMIT 1")))
            << view.toStdString();
}

SI_INSTANTIATE_BACKENDS(SchemaViews);

// Statements of the module, in the common dialect, that join tables and views and name their
// columns bare or select "*": each runs only when every column it names exists exactly once
// among the tables it reads.
struct ModuleStatement {
    const char* name;
    const char* sql;
    int params;  // each bound as 1
};

const ModuleStatement kModuleStatements[] = {
    {"object classes of an account",
     "Select ViewMajor,ViewMinor,Sequence,Name,ID from tblAccountRelatedClasses Inner Join "
     "tblAccountClass On ClassID=ID and AccountID=?",
     1},
    {"open cash turns of a user",
     "select vwRecPayCashUsers.ID as CashID,vwRecPayCashUsers.Name as "
     "CashDesc,tblRecPayCashTurn.Turn,"
     "FarsiOpenDate from vwRecPayCashUsers ,tblRecPayCashTurn Where "
     "vwRecPayCashUsers.ID=tblRecPayCashTurn.CashID and CashPermitUserID=? and IsOpen = 1 And "
     "(UserID =? Or ? in (select x.UserID from tblRecPayCashTurnUser x Where "
     "x.CashTurnID=tblRecPayCashTurn.ID)) Order By vwRecPayCashUsers.ID",
     3},
    {"turns of the contents form",
     "select vwRecPayCashUsers.ID as CashID,vwRecPayCashUsers.Name as "
     "CashDesc,tblRecPayCashTurn.Turn "
     "from vwRecPayCashUsers ,tblRecPayCashTurn Where "
     "vwRecPayCashUsers.ID=tblRecPayCashTurn.CashID "
     "and CashPermitUserID=? And UserID =? Order By tblRecPayCashTurn.Turn Desc",
     2},
    {"stored lines of an invoice",
     "Select sd.*,tblGood.Code,tblGood.Name,tblGoodScale.Name as "
     "ScaleName,coalesce(tblGoodScale.ID,-1) "
     "as SaleScaleID, coalesce(tblGoodScale.ScaleToBaseParent,1) as Cof, ServicedBarCode, (Select "
     "x.Name from tblGood x Where x.Barcode=ServicedBarCode) as ServicedGoodName, (Select x.Name "
     "from "
     "tblSalePricingMethod x Where x.ID=sd.PricingMethodID) as PricingMethodName, (Select x.Name "
     "from "
     "vwSalePromoterMajor x Where x.ID=coalesce(sd.PromoterID, s.PromoterID)) as PromoterName, "
     "s.PromoterID as MainPromoterID, tblGood.GoodGroupID from tblSaleInvoiceDetail sd inner join "
     "tblSaleInvoice s on sd.InvoiceID=s.ID INNER JOIN tblGood On sd.Barcode = tblGood.Barcode "
     "Left "
     "Outer Join tblGoodScale On sd.ScaleID = tblGoodScale.ID where InvoiceID=? Order By "
     "sd.rowNumber",
     1},
    {"promotions valid on a date",
     "Select * from tblSalePromotion p inner join tblSalePromotionDetail pd on p.ID=pd.PromotionID "
     "Where 1=1 and '1403/01/01' between p.FarsiBeginDate and p.FarsiEndDate order by "
     "p.FarsiBeginDate desc, PriorityNo desc, pd.Sequence desc",
     0},
    {"customer's open leaf account",
     "Select coalesce(tblAccountRelatedObjects.AccountID,-1) as CustAccountID,(Select Title from "
     "tblAccount Where ID=tblAccountRelatedObjects.AccountID) as CustAccountTitle,(Select Code "
     "from "
     "tblAccount Where ID=tblAccountRelatedObjects.AccountID) as code from "
     "tblAccountAutomaticDocFormat,tblAccountRelatedObjects Where "
     "tblAccountRelatedObjects.AccountID in "
     "(Select ID from tblAccount where IsClosed=0) and not exists (Select * from tblAccount where "
     "ParentID =tblAccountRelatedObjects.AccountID) and "
     "tblAccountAutomaticDocFormat.AccountGroupID=tblAccountRelatedObjects.AccountGroupID and "
     "tblAccountRelatedObjects.RelatedClassID=7 and tblAccountAutomaticDocFormat.ClassID=7 and "
     "AutomaticEventID=201 and AccountNatureID=0 and RelatedObjectID=?",
     1},
    {"object of a document row",
     "insert into tblAccountDocumentObjects (DocumentID, RowNumber, Sequence, ClassID, ObjectID) "
     "Select ?, ?, Sequence, ?, ? from tblAccountRelatedClasses ac Where ac.AccountID=? and "
     "ac.ClassID=? and not Exists(Select x.* from tblAccountDocumentObjects x where x.ClassID=? "
     "and "
     "x.DocumentID=? and x.RowNumber=?)",
     9},
    {"dispatch lines from the invoice",
     "insert into tblInventoryDispatchDetail (DispatchID,barcode,qty,ScaleID,ScaleQty,Description) "
     "Select ?, sd.Barcode, sum(Qty)as Qty, ScaleID, sum(Qty)as Qty, "
     "coalesce(max(coalesce(Description,'')),'') from tblSaleInvoiceDetail sd where sd.InvoiceID=? "
     "Group By sd.Barcode,sd.ScaleID",
     2},
    {"dispatch traces from the invoice",
     "insert into tblInventoryDispatchDetailTrace (DispatchID, Barcode, ScaleID, "
     "TracePropertyTypeID1, "
     "TracePropertyTypeID2, TracePropertyTypeID3, TracePropertyTypeID4, Qty, ScaleQty, Sequence) "
     "select ?, Barcode, ScaleID, Max(TracePropertyTypeID1), Max(TracePropertyTypeID2), "
     "Max(TracePropertyTypeID3), Max(TracePropertyTypeID4), sum(Qty), sum(ScaleQty), Max(Sequence) "
     "From tblSaleInvoiceDetailTrace Where InvoiceID = ? Group by Barcode, ScaleID",
     2},
    {"invoice lines from a dispatch",
     "Insert Into tblSaleInvoiceDetail "
     "(Qty,InvoiceID,BarCode,Description,DiscountPercent,RetailPrice,"
     "RowNumber,ScaleID) select sum(tblInventoryDispatchDetail.ScaleQty),?,"
     "tblInventoryDispatchDetail.Barcode,'',max(coalesce(StandardDiscountPercent,0)),"
     "max(coalesce(RetailPrice,0)),min(tblInventoryDispatchDetail.RowNumber),"
     "tblInventoryDispatchDetail.ScaleID from tblInventoryDispatchDetail,tblGood Where "
     "tblInventoryDispatchDetail.Barcode=tblGood.Barcode and "
     "tblInventoryDispatchDetail.DispatchID=? "
     "Group By tblInventoryDispatchDetail.Barcode,tblInventoryDispatchDetail.ScaleID",
     2},
    {"card discount of the nearest ancestor group",
     "Select gd.DiscountPercent from tblCRMGoodDiscount gd inner join tblGoodGroupParent p on "
     "gd.GoodGroupID=p.ID Where p.ChildID in (Select x.GoodGroupID from tblGood x Where x.Barcode "
     "like '1') and CardTypeID=? order by p.NoLevel",
     1},
    {"settlement term and price under a method",
     "Select coalesce((Select LoanExpireDuration From tblGoodSaleInfo Where "
     "Barcode=tblGood.Barcode and "
     "PricingMethodID=?),LoanExpireDuration) as LoanExpireDuration, coalesce((Select RetailPrice "
     "From "
     "tblGoodSaleInfo Where Barcode=tblGood.Barcode and PricingMethodID=?),RetailPrice) as "
     "RetailPrice "
     "From tblGood Where Barcode = '1'",
     2},
    {"free goods of a promotion",
     "select tblGood.*, tblGoodScale.Name as ScaleName, coalesce(tblGoodScale.ID,-1) as "
     "SaleScaleID, "
     "coalesce(tblGoodScale.ScaleToBaseParent,1) as Cof, GoodGroupID from tblGood, tblGoodScale "
     "where "
     "tblGoodScale.ID=? and Barcode in ('-1', '1')",
     1},
    {"surcharges printed on the invoice",
     "Select tblZelorSuchargeType.Name,tblSaleInvoiceSucharge.Value From "
     "tblZelorSuchargeType,tblSaleInvoiceSucharge Where "
     "tblZelorSuchargeType.ID=tblSaleInvoiceSucharge.SuchargeTypeID and Value>0 and InvoiceID=? "
     "limit 5",
     1},
    {"surcharges posted with their accounts",
     "select *, (Select x.ID from tblAccount x Where x.Code in (Select s.AccountCode from "
     "tblZelorSuchargeType s Where s.ID=SuchargeTypeID)) as SuchargeAccountID, (Select "
     "s.AccountCode "
     "from tblZelorSuchargeType s Where s.ID=SuchargeTypeID) as AccountCode, (Select x.Name from "
     "vwZelorSuchargeTypeMajor x Where x.ID=SuchargeTypeID) as SuchargeName from "
     "tblSaleInvoiceSucharge "
     "Where coalesce(value,0)>0 and InvoiceID=?",
     1},
    {"temporary list with branch and position limits",
     "Select * From vwSaleInvoiceSearch Where Code =-1 and vwSaleInvoiceSearch.CustomerID in "
     "(Select "
     "RelatedObjectID from tblAccountRelatedObjects Where RelatedClassID = 7 and AccountID in "
     "(select "
     "AccountID from vwAccountSecurePositions Where PositionID = ?)) and "
     "(vwSaleInvoiceSearch.BranchID "
     "is null or (Select u.BranchID from tblUser u Where u.ID = ?) is null or "
     "vwSaleInvoiceSearch.BranchID in (Select p.ChildID as BranchID from tblAccountBranchParent p "
     "Where "
     "p.ID = (Select coalesce(u.BranchID,-1) from tblUser u Where u.ID = ?) union Select "
     "u.BranchID "
     "from tblUser u Where u.ID = ?)) order By CreateDate desc, id desc limit 1000",
     4},
    {"batch registration within the position's credit level",
     "Update tblSaleInvoice Set Code = ID Where ID in (Select s.ID from vwSaleInvoiceSearch s "
     "where "
     "s.Code=-1 and s.ID in ('-1') and s.TotalValue <= coalesce((Select x.UpToValue from "
     "tblSaleCreditLevel x Where x.ID in (select p.SaleCreditLevelID from tblPosition p Where "
     "p.ID=?) "
     "Order by x.UpToValue desc limit 1), TotalValue))",
     1},
    {"search filters",
     "Select * From vwSaleInvoiceSearch Where ID>-1 and SLSOrderCode = ? and ManualCode like '%1%' "
     "and "
     "IsPaidByCash=1 and IsFormal=1 and TypeID in (3,4) and ObjectID1 = ? and PromoterID2 = ? and "
     "PricingMethodID = ? and PreConditionID = ? and FarsiClearDate >= '1400/01/01' and "
     "DiscountPercent >= ? and SuCharge <= ? and Value >= ? and PureTotalValue <= ? and Notes Like "
     "'%x%' and Code <> -1 and DistributionInvoiceID is not null and SumQty >= ? and (ContractID "
     "=? Or "
     "ContractID in (Select ChildID from tblAccountContractProjectParent Where ContractID = ?)) "
     "and "
     "(PromoterID in (Select x.EmployeeID from tblDistributionPathPromoters x Where x.PathID in "
     "(Select ? Union select c.ChildID from vwDistributionPathMinor c Where c.ID=?))) and ID in "
     "(select InvoiceID from tblSaleInvoiceDetail where barcode in(select barcode from tblGood "
     "where "
     "GoodGroupID in (select ID from tblGoodGroup where ID=?) or GoodGroupID in (Select ChildID "
     "from "
     "tblGoodGroupParent where ID = ?))) and ID in (Select s.ID from tblSaleInvoice s Where "
     "s.CardNo>=?)",
     17},
    {"second header statement",
     "Update tblSaleInvoice Set AchieverID=?, DistributerID=?, RemCredit=?, UsedCredit=?, "
     "CreditDays=?, "
     "ObjectID1=?, ObjectID2=?, ShouldSMSSend=?, CreatorEmployeeID=?, PromoterID2=?, CardNo=?, "
     "IsFormal=?, IsCheckEchantillon=? Where ID=?",
     14},
    {"third header statement",
     "Update tblSaleInvoice Set Code=?, ShortageValue=?, ClearDate=NULL, FarsiClearDate=NULL, "
     "ContractID=?, BranchID=?, DeliverTypeID=?, IntroductionTypeID=?, ManualCode='', "
     "PricingMethodID=?, PreConditionID=?, TypeID=?, DeliverDate=NULL, FarsiDeliverDate=NULL Where "
     "ID=?",
     10},
    {"line settings",
     "Update tblSaleInvoiceDetail set ServicedBarcode=NULL, PricingMethodID=?, PromoterID=?, "
     "IsEchantillon=0, ConstructionFeePercent=?, ConstructionFeeValue=?, ProfitPercent=?, "
     "WorkFee=?, "
     "AddedValue=?, TaxValue=?, InitialQty=?, InitialScaleID=?, ChangeReasonSequence=? Where "
     "InvoiceID "
     "= ? and Barcode='1' and ScaleID=? and Description like ''",
     13},
    {"card payment into the cash turn",
     "Insert Into tblRecPayCashTurnDetail (CashTurnID, Code, TransactionDate, "
     "FarsiTransactionDate, "
     "Description, ReceivedValue, PayedValue, RelatedAccountID, FormID, FormTypeID, UserID, "
     "BranchID, "
     "ClassID1, ObjectID1, ClassID2, ObjectID2, ClassID3, ObjectID3) Values (?, ?, NULL, '', '', "
     "0, ?, "
     "?, NULL, 205, ?, ?, ?, ?, ?, ?, ?, ?)",
     12},
    {"terminal transaction",
     "Insert Into tblRecPayPosTransaction (ReasonCode, SerialTransaction, AccountNo, Bin, Pan, "
     "TerminalNo, TraceNumber, TransactionDate, FarsiTransactionDate, FormTypeID, FormID, UserID) "
     "Values ('0','0','0','0','0','0','0','1403/01/01','',205,?,?)",
     2},
    {"terminal definition",
     "insert into tblRecPayPos (Name, COMPort, BaudRate, AccountID, ObjectID1, ObjectID2, "
     "ObjectID3, "
     "UserID, TypeID, IP, IPPORT) values ('x', 'COM1', 9600, ?, NULL, NULL, NULL, ?, ?, '', 8888)",
     3},
    {"lottery print record",
     "Update tblSaleInvoice Set LotteryPrintCount = coalesce(LotteryPrintCount,0)+1, "
     "LastLotteryPrintUserID=?, LastLotteryPrintDate=NULL, FarsiLastLotteryPrintDate='1403/01/01' "
     "Where ID=?",
     2},
    {"credit constraint of the customer's degree",
     "Select * from tblOrganizationCreditConstraintDetail where OrgCreditConstraintID in (Select "
     "x.ID "
     "from tblOrganizationCreditConstraint x Where '1403/01/01' between x.FarsiBeginDate and "
     "x.FarsiEndDate) and CustomerDegreeID in (Select o.CustomerDegreeID from tblOrganization o "
     "where "
     "o.ID=?)",
     1},
    {"open temporary invoices",
     "select sum(v.CalcTotalValue) as TotalValue from vwSaleInvoiceSummary v inner join "
     "tblSaleInvoice "
     "s on v.ID=s.ID Where s.Code is null and s.ID<>?",
     1},
    {"promoter's outstanding sales",
     "with t as (Select coalesce(s.TotalValue,0) as TotalValue, coalesce((Select "
     "coalesce(Sum(coalesce(rf.AssignedValue, 0)),0) from tblZelorRelatedForms rf Where "
     "((rf.ReferenceFormID = s.ID and rf.ReferenceFormTypeID = 901) or (rf.RelatedformID = s.ID "
     "and "
     "rf.RelatedFormTypeID = 901))),0) as Achieved from tblSaleInvoice s Where S.Code Is Not Null "
     "and "
     "s.PromoterID=?) select sum(TotalValue - Achieved) as NonAchieved from t",
     1},
    {"repayments of the customer in the credit cash box",
     "Select ReceivedValue,PayedValue,TransactionDate from tblRecPayCashTurnDetail Where "
     "RelatedAccountID in (Select AccountID from tblAccountRelatedObjects Where RelatedClassID = 7 "
     "and "
     "RelatedObjectID = ?) and Code is not null and CashTurnID in (Select ID from "
     "tblRecPayCashTurn "
     "Where CashID = ?)",
     2},
    {"accounts of a customer with their parents",
     "Select a.id as id,coalesce(a.Code,'') as AccountCode,coalesce(a.Title,'') as "
     "AccountTitle,coalesce(b.Title,'') as MotherTitle,coalesce(b.Code,'') as MotherCode from "
     "tblAccountRelatedObjects,tblAccount a,tblAccount b Where tblAccountRelatedObjects.AccountID "
     "= "
     "a.ID and a.ParentID=b.ID and RelatedObjectID= ? and RelatedClassID=7 Order By AccountTitle",
     1},
    {"customer's store, path and region",
     "Select d.StoreName, p.Name as PathName, r.Name as RegionName from "
     "tblDistributionOrganization d "
     "left join tblDistributionPath p on p.ID = d.PathID left join tblDistributionRegion r on r.ID "
     "= "
     "p.RegionID Where d.OrganizationID = ?",
     1},
    {"customer's card for the SMS",
     "Select TotalValue, TotalGrade, (Select x.Name from tblCRMCardType x Where x.ID=CardTypeID) "
     "as "
     "CardName from vwCRMOrganizationFinalCard Where OrganizationID=?",
     1},
    {"invoice lines in print order",
     "Select * from vwSaleInvoicePrint Where InvoiceID = ? order by vwSaleInvoicePrint.RowNumber",
     1},
    {"delete reasons",
     "Select Sequence,coalesce(Description,'') as DeleteReason From tblZelorFormEventReasonType "
     "Where "
     "EventTypeID = 90102 Order by Sequence",
     0},
    {"distribution removed lines",
     "Insert Into tblDistributionRemovedInvoiceDetail (DistributionInvoiceID,SaleInvoiceID,Barcode,"
     "ScaleID,Qty) Select ?,InvoiceID,Barcode,ScaleID,Qty from tblSaleInvoiceDetail Where "
     "InvoiceID=?",
     2},
    {"temporary invoice to delete with its order",
     "Select coalesce(SaleOrderID,0) as SaleOrderID from tblSaleInvoice Where Code is NULL and "
     "DistributionInvoiceID is NULL and ID = ?",
     1},
    {"lines of a sale order", "Delete from tblSaleOrderDetail where OrderID = ?", 1},
    {"quantity held in temporary invoices",
     "Select coalesce(sum(coalesce(Qty,0)),0) as TotalQty From tblSaleInvoiceDetail Where "
     "InvoiceID in "
     "(Select ID From tblSaleInvoice Where Code IS NULL and InventoryID=?) and Barcode='1' and "
     "InvoiceID <> ?",
     2},
    {"parent inventory of wholesale types",
     "Select p.ID from tblInventoryParent p where p.ChildID=? and p.ID in (Select s.InventoryID "
     "from "
     "tblSaleInvoice s where s.TypeID in (Select t.ID from tblSaleInvoiceType t Where "
     "coalesce(t.GenerateSaleAssignment, 0)=1)) Order by p.NoLevel desc",
     1},
    {"promoter card of a number",
     "select * from tblSalePromoterCard Where ? between CardNoFrom and CardNoTo limit 1", 1},
    {"tax percentages of a day",
     "Select coalesce(TaxPercent,0) as taxPercent,coalesce(AddedPercent,0) as AddedPercent from "
     "tblSaleTaxCostsConfiguration Where BeginDate<='2024-03-01 00:00:00' and EndDate>='2024-03-01 "
     "00:00:00'",
     0},
    {"goods' own tax of a day",
     "select * from tblGoodTaxAddedInfo where Barcode ='1' and BeginDate<='2024-03-01 00:00:00' "
     "and "
     "EndDate>='2024-03-01 00:00:00'",
     0},
    {"cash turn an invoice was booked to",
     "Select CashName || '_' || CAST(Turn AS VARCHAR(20)) as CashDesc from vwRecPayCashTurn Where "
     "ID in "
     "(Select CashTurnID From tblRecPayCashTurnDetail Where FormID=? and FormTypeID=901)",
     1},
    {"invoices of a cash turn",
     "Select count(ID) as TotalQty,coalesce(sum(coalesce(DiscountValue,0)),0) as "
     "TotalDiscountValue,coalesce(sum(coalesce(PureTotalValue,0)+coalesce(DiscountValue,0)),0) as "
     "TotalValue,coalesce(sum(coalesce(PureTotalValue,0)),0) as TotalReceivedValue from "
     "tblSaleInvoice "
     "where Code is not null and ID in (Select FormID from tblRecPayCashTurnDetail where "
     "FormTypeID = "
     "901 and CashTurnID = (Select ID from tblRecPayCashTurn Where Turn=? and CashID = ?))",
     2},
    {"returns of a cash turn",
     "Select count(ID) as TotalQty,coalesce(sum(coalesce(PureTotalValue,0)),0) as TotalPayedValue "
     "from "
     "tblSaleReturn where Code is not null and ID in (Select FormID from tblRecPayCashTurnDetail "
     "where "
     "FormTypeID=903 and CashTurnID = (Select ID from tblRecPayCashTurn Where Turn=? and CashID = "
     "?))",
     2},
    {"day number of a document",
     "Update tblAccountDocument set Code=0, DayNo = coalesce((Select "
     "coalesce(max(coalesce(DayNo,0)),0) "
     "from tblAccountDocument a Where a.DocumentDate = tblAccountDocument.DocumentDate),0) + 1 "
     "Where "
     "ID = ?",
     1},
    {"dispatch of an invoice",
     "insert into tblInventoryDispatch (code,inventoryid,creatorid,ReceiveDate,FarsiReceiveDate, "
     "SenderEmployeeID,ReceiverEmployeeID,RelatedClassID,RelatedOrganizationID,TypeID,FormID,"
     "FormTypeID,"
     "createdate,FarsiCreateDate,Notes,ContractID,BranchID) Select 1,?,?,'2024-03-01 "
     "00:00:00','1402/12/11',?,?,?,?,?,?,901,'2024-03-01 00:00:00','1402/12/11','x',?,? Where not "
     "exists(Select x.ID from tblInventoryDispatch x Where x.FormTypeID=901 and x.FormID=?)",
     11},
    {"dispatch linked to the invoice made from it",
     "Update tblInventoryDispatch set FormID=?, FormTypeID=901, Notes=substr(coalesce(Notes,'') || "
     "'x', "
     "1, 1000) Where ID=?",
     2},
    {"customer access",
     "Select * from tblZelorAllowablePosition Where SecureUserID=? and FormTypeID=102 and FormID=?",
     2},
    {"closed accounting object",
     "Select * from tblAccountClosedObjects Where ClassID =? and ObjectID = ?", 2},
    {"promoter for the SMS",
     "Select IncomingSalePercent,Phone,coalesce(FirstName,'')||' '||coalesce(SureName,'') as "
     "PromoterName from tblEmployee Where ID=?",
     1},
    {"customer on the printed invoice",
     "Select coalesce(FirstName, '') || ' ' || coalesce(Name, '') AS Name, Phone1, Address, Email, "
     "Code, "
     "Fax, BossDescription from tblOrganization where ID=?",
     1},
    {"dependent accounts of a customer",
     "Select * from tblOrganizationDependentAccounts Where OrganizationID =?", 1},
};

class SchemaStatements : public ::testing::TestWithParam<Backend> {
protected:
    test::TestDatabase db_{GetParam()};
    std::unique_ptr<Session> s_ = db_.open();
};

TEST_P(SchemaStatements, ModuleStatementsFindTheirColumns) {
    for (const ModuleStatement& statement : kModuleStatements) {
        Params params;
        for (int i = 0; i < statement.params; ++i)
            params << 1;
        EXPECT_NO_THROW(s_->exec(QString::fromUtf8(statement.sql), params)) << statement.name;
    }
}

SI_INSTANTIATE_BACKENDS(SchemaStatements);

Money money(const char* text) {
    return *Money::parse(QString::fromLatin1(text));
}
QVariant amount(const char* text) {
    return QVariant::fromValue(money(text));
}

// One stored line and what the line grid makes of it.
struct Line {
    const char* qty;
    const char* price;
    const char* discount;
    double feePercent;
    const char* feePerUnit;
    double profitPercent;
    const char* workFee;
    const char* tax;
    const char* added;
    bool free;
};

// The line grid's arithmetic (without its truncations): net after the discount, never below 0;
// wage on the gross; profit on net and wage; then commission, tax and duty.
double ReferenceRowTotal(const Line& l) {
    const double gross = money(l.qty).toDouble() * money(l.price).toDouble();
    const double net = std::max(0.0, gross - money(l.discount).toDouble());
    const double wage =
        gross * l.feePercent / 100 + money(l.feePerUnit).toDouble() * money(l.qty).toDouble();
    const double profit = (net + wage) * l.profitPercent / 100;
    return net + wage + profit + money(l.workFee).toDouble() + money(l.tax).toDouble() +
           money(l.added).toDouble();
}

class SchemaTotals : public ::testing::TestWithParam<Backend> {
protected:
    qint64 addInvoice(const QVariant& code, const char* masterDiscount, const char* surcharge,
                      const char* deduction) {
        return insertRow(
            *s_, QStringLiteral("tblSaleInvoice"),
            {QStringLiteral("Code"), QStringLiteral("CustomerID"), QStringLiteral("PromoterID"),
             QStringLiteral("PricingMethodID"), QStringLiteral("CreateDate"),
             QStringLiteral("FarsiCreateDate"), QStringLiteral("DiscountValue"),
             QStringLiteral("SuchargeValue"), QStringLiteral("ShortageValue")},
            {code, customer_, promoter_, method_, QDate(2024, 3, 1), QStringLiteral("1402/12/11"),
             amount(masterDiscount), amount(surcharge), amount(deduction)});
    }
    qint64 addLine(qint64 invoice, const QString& barcode, const Line& l) {
        return insertRow(
            *s_, QStringLiteral("tblSaleInvoiceDetail"),
            {QStringLiteral("InvoiceID"), QStringLiteral("Barcode"), QStringLiteral("Qty"),
             QStringLiteral("RetailPrice"), QStringLiteral("DiscountValue"),
             QStringLiteral("ConstructionFeePercent"), QStringLiteral("ConstructionFeeValue"),
             QStringLiteral("ProfitPercent"), QStringLiteral("WorkFee"), QStringLiteral("TaxValue"),
             QStringLiteral("AddedValue"), QStringLiteral("IsEchantillon")},
            {invoice, barcode, amount(l.qty), amount(l.price), amount(l.discount), l.feePercent,
             amount(l.feePerUnit), l.profitPercent, amount(l.workFee), amount(l.tax),
             amount(l.added), l.free});
    }

    test::TestDatabase db_{GetParam()};
    std::unique_ptr<Session> s_ = db_.open();
    qint64 customer_ =
        insertRow(*s_, QStringLiteral("tblOrganization"),
                  {QStringLiteral("Code"), QStringLiteral("FirstName"), QStringLiteral("Name")},
                  {QStringLiteral("C-7"), QStringLiteral("علی"), QStringLiteral("رضایی")});
    qint64 promoter_ = insertRow(*s_, QStringLiteral("tblEmployee"),
                                 {QStringLiteral("FirstName"), QStringLiteral("SureName")},
                                 {QStringLiteral("مریم"), QStringLiteral("احمدی")});
    qint64 method_ = insertRow(*s_, QStringLiteral("tblSalePricingMethod"),
                               {QStringLiteral("Name")}, {QStringLiteral("عمده")});
};

TEST_P(SchemaTotals, LineAmountsFollowTheLineGrid) {
    const Line lines[] = {
        {"3", "1000", "300", 0, "0", 0, "0", "81", "27", false},   // ordinary, with tax and duty
        {"2.5", "1999.5", "0", 0, "0", 0, "0", "0", "0", false},   // fractional quantity and price
        {"1", "5000", "9000", 0, "0", 0, "0", "0", "0", false},    // discount above the gross
        {"2", "5000", "0", 10, "25", 5, "100", "30", "0", false},  // precious metal
        {"1.5", "3000", "450", 2.5, "0", 12.5, "0", "0", "0", false},  // fractional percentages
    };
    const qint64 invoice = addInvoice(QVariant(), "0", "0", "0");
    for (const Line& line : lines) {
        const qint64 id = addLine(invoice, QStringLiteral("1001"), line);
        const auto row =
            s_->first(QStringLiteral("SELECT * FROM vwSaleInvoiceDetailValue WHERE ID = ?"), {id});
        ASSERT_TRUE(row);
        EXPECT_EQ(row->money(u"RowTotalValue"), Money::fromDouble(ReferenceRowTotal(line)))
            << line.qty << " x " << line.price;
        EXPECT_GE(row->money(u"NetValue"), Money());
    }
}

TEST_P(SchemaTotals, InvoiceRowsShowCountsAndTotalsOfTheirLines) {
    const Line paid1{"3", "1000", "300", 0, "0", 0, "0", "81", "27", false};
    const Line paid2{"2.5", "2000", "0", 0, "0", 0, "0", "0", "0", false};
    const Line freeGoods{"1", "500", "0", 0, "0", 0, "0", "0", "0", true};
    const qint64 temp = addInvoice(QVariant(), "500", "1000", "200");
    addLine(temp, QStringLiteral("1001"), paid1);
    addLine(temp, QStringLiteral("1002"), paid2);
    addLine(temp, QStringLiteral("1003"), freeGoods);
    addLine(temp, QStringLiteral("1001"), paid1);  // the same goods on a second line
    for (const char* value : {"600", "400"})
        insertRow(*s_, QStringLiteral("tblSaleInvoiceSucharge"),
                  {QStringLiteral("InvoiceID"), QStringLiteral("SuchargeTypeID"),
                   QStringLiteral("Value")},
                  {temp, 1, amount(value)});
    const qint64 final = addInvoice(7, "0", "0", "0");

    const auto row =
        s_->first(QStringLiteral("SELECT * FROM vwSaleInvoiceSearch WHERE ID = ?"), {temp});
    ASSERT_TRUE(row);
    EXPECT_EQ(row->toInt(u"Code"), -1);
    EXPECT_EQ(row->toInt(u"TitlesNum"), 3);
    EXPECT_EQ(row->money(u"SumQty"), money("9.5"));
    EXPECT_EQ(row->money(u"RowDiscountValue"), money("600"));
    EXPECT_EQ(row->money(u"SuCharge"), money("1000"));
    const double expected =
        2 * ReferenceRowTotal(paid1) + ReferenceRowTotal(paid2) + 1000 - 500 - 200;
    EXPECT_EQ(row->money(u"CalcTotalValue"), Money::fromDouble(expected));
    EXPECT_EQ(row->text(u"CustomerName"), QStringLiteral("علی رضایی"));
    EXPECT_EQ(row->text(u"CustomerCode"), QStringLiteral("C-7"));
    EXPECT_EQ(row->text(u"PromoterName"), QStringLiteral("مریم احمدی"));
    EXPECT_EQ(row->text(u"PricingGroup"), QStringLiteral("عمده"));
    EXPECT_EQ(row->toInt(u"IsPaidByCash"), 1);

    const auto summary =
        s_->first(QStringLiteral("SELECT * FROM vwSaleInvoiceSummary WHERE ID = ?"), {temp});
    ASSERT_TRUE(summary);
    EXPECT_EQ(summary->money(u"CalcTotalValue"), Money::fromDouble(expected));

    // An invoice without lines has zero counts and totals, not NULLs.
    const auto empty =
        s_->first(QStringLiteral("SELECT * FROM vwSaleInvoiceSearch WHERE ID = ?"), {final});
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->toInt(u"Code"), 7);
    EXPECT_FALSE(empty->isNull(u"SumQty"));
    EXPECT_EQ(empty->toInt(u"TitlesNum"), 0);
    EXPECT_EQ(empty->money(u"CalcTotalValue"), Money());

    // The two lists split by state.
    const RowSet temps =
        s_->query(QStringLiteral("SELECT ID FROM vwSaleInvoiceSearch WHERE Code = -1 ORDER BY "
                                 "CreateDate DESC, ID DESC LIMIT 1000"));
    ASSERT_EQ(temps.size(), 1);
    EXPECT_EQ(temps.first().toInt64(u"ID"), temp);
    const RowSet finals =
        s_->query(QStringLiteral("SELECT ID FROM vwSaleInvoiceSearch WHERE Code <> -1"));
    ASSERT_EQ(finals.size(), 1);
    EXPECT_EQ(finals.first().toInt64(u"ID"), final);
}

SI_INSTANTIATE_BACKENDS(SchemaTotals);

class SchemaStock : public ::testing::TestWithParam<Backend> {
protected:
    qint64 addDocument(const QString& table, int inventory, const QDate& date,
                       const QVariant& formType, const QVariant& form) {
        return insertRow(*s_, table,
                         {QStringLiteral("InventoryID"), QStringLiteral("ReceiveDate"),
                          QStringLiteral("FormTypeID"), QStringLiteral("FormID")},
                         {inventory, date, formType, form});
    }
    void addDetail(const QString& table, const QString& header, qint64 document,
                   const QString& barcode, const char* qty, const QVariant& scale) {
        insertRow(*s_, table,
                  {header, QStringLiteral("Barcode"), QStringLiteral("Qty"),
                   QStringLiteral("ScaleID"), QStringLiteral("ScaleQty")},
                  {document, barcode, amount(qty), scale, amount(qty)});
    }
    void receive(int inventory, const QDate& date, const QString& barcode, const char* qty,
                 const QVariant& scale) {
        const qint64 id = addDocument(QStringLiteral("tblInventoryReceipt"), inventory, date,
                                      QVariant(), QVariant());
        addDetail(QStringLiteral("tblInventoryReceiptDetail"), QStringLiteral("ReceiptID"), id,
                  barcode, qty, scale);
    }
    void dispatch(int inventory, const QDate& date, int invoice, const QString& barcode,
                  const char* qty, const QVariant& scale) {
        const QVariant formType = invoice > 0 ? QVariant(901) : QVariant();
        const QVariant form = invoice > 0 ? QVariant(invoice) : QVariant();
        const qint64 id =
            addDocument(QStringLiteral("tblInventoryDispatch"), inventory, date, formType, form);
        addDetail(QStringLiteral("tblInventoryDispatchDetail"), QStringLiteral("DispatchID"), id,
                  barcode, qty, scale);
    }
    Money stock(int inventory, const QString& barcode, const QDate& asOf, int excludedInvoice) {
        return Money::fromVariant(s_->scalar(
            QStringLiteral(
                "SELECT coalesce(sum(BaseQty), 0) FROM vwInventoryStockMovement WHERE InventoryID "
                "= ? "
                "AND Barcode = ? AND MoveDate < ? AND NOT (coalesce(DispatchFormTypeID, 0) = 901 "
                "AND coalesce(DispatchFormID, 0) = ?)"),
            {inventory, barcode, asOf.addDays(1), excludedInvoice}));
    }

    test::TestDatabase db_{GetParam()};
    std::unique_ptr<Session> s_ = db_.open();
    qint64 carton_ = insertRow(*s_, QStringLiteral("tblGoodScale"),
                               {QStringLiteral("Name"), QStringLiteral("ScaleToBaseParent")},
                               {QStringLiteral("كارتن"), 12});
    qint64 piece_ = insertRow(*s_, QStringLiteral("tblGoodScale"), {QStringLiteral("Name")},
                              {QStringLiteral("عدد")});  // no factor: 1
};

TEST_P(SchemaStock, StockIsReceiptsLessDispatchesInBaseUnits) {
    const QString goods = QStringLiteral("1001");
    receive(1, QDate(2024, 1, 10), goods, "10", carton_);                 // +120
    receive(1, QDate(2024, 3, 1), goods, "5", piece_);                    // +5, later
    receive(2, QDate(2024, 1, 10), goods, "50", piece_);                  // another inventory
    receive(1, QDate(2024, 1, 10), QStringLiteral("1002"), "7", piece_);  // other goods
    dispatch(1, QDate(2024, 2, 1), 55, goods, "2", carton_);              // -24, invoice 55
    dispatch(1, QDate(2024, 2, 5), 0, goods, "5", QVariant());            // -5, no unit
    dispatch(1, QDate(2024, 2, 15), 56, goods, "0.5", carton_);           // -6, on the day itself

    struct Case {
        QDate asOf;
        int excludedInvoice;
        const char* expected;
    };
    const Case cases[] = {
        {QDate(2024, 1, 9), -1, "0"},    {QDate(2024, 1, 10), -1, "120"},
        {QDate(2024, 2, 14), -1, "91"},   // 120 - 24 - 5
        {QDate(2024, 2, 15), -1, "85"},   // the day's own dispatch counts
        {QDate(2024, 2, 15), 55, "109"},  // the invoice's own dispatch left out
        {QDate(2024, 3, 31), 56, "96"},   // 120 - 24 - 5 + 5
    };
    for (const Case& c : cases)
        EXPECT_EQ(stock(1, goods, c.asOf, c.excludedInvoice), money(c.expected))
            << c.asOf.toString(Qt::ISODate).toStdString() << " without " << c.excludedInvoice;
}

SI_INSTANTIATE_BACKENDS(SchemaStock);

}  // namespace
}  // namespace si::erpdb
