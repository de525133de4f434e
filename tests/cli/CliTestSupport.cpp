#include "cli/CliTestSupport.h"

#include <QJsonDocument>
#include <QProcess>
#include <map>

#include "erpdb/Procedures.h"
#include "suite/Components.h"

namespace si::test {

namespace {

// One demo company per back-end for the whole program: filling it is the slow part.
struct Demo {
    std::unique_ptr<ScratchDatabase> database;
    std::unique_ptr<Session> session;
};

std::map<QString, Demo>& demos() {
    static std::map<QString, Demo> all;
    return all;
}

// The demo companies go while the application object and the drivers still exist.
class DropDemos : public ::testing::Environment {
public:
    void TearDown() override { demos().clear(); }
};
const auto* const kDropDemos = ::testing::AddGlobalTestEnvironment(new DropDemos);

}  // namespace

CliResult RunProgram(const QStringList& args, const QByteArray& input) {
    QProcess p;
    p.start(QStringLiteral(SALEINVOICE_EXE), args);
    if (!p.waitForStarted()) return {};
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(120000);
    return ResultOf(p);
}

CliResult ResultOf(QProcess& finished) {
    CliResult r;
    r.exitCode = finished.exitStatus() == QProcess::NormalExit ? finished.exitCode() : -1;
    r.out = finished.readAllStandardOutput();
    r.err = QString::fromUtf8(finished.readAllStandardError());
    return r;
}

QJsonObject CliResult::json() const {
    return QJsonDocument::fromJson(out).object();
}

Workstation::Workstation(const QString& connection, bool suiteComponents) {
    erpdb::RegisterProcedures(procedures);
    if (suiteComponents) suite::RegisterComponents(components);
    messages.install(components);  // the scripted box replaces the suite's
    ctx.globals.CurrentUserID = 1;
    ctx.globals.CurrentConnectionString = connection;
    OpenSession(ctx);
    LoadSystemParameters(ctx);
}

void CliTest::SetUp() {
    Demo& demo = demos()[GetParam().name];
    if (demo.database) return;
    demo.database = std::make_unique<ScratchDatabase>(GetParam());
    const CliResult init =
        RunProgram({QStringLiteral("--db"), demo.database->connectionString(), QStringLiteral("db"),
                    QStringLiteral("init"), QStringLiteral("--demo"), QStringLiteral("small")},
                   {});
    ASSERT_EQ(init.exitCode, 0) << init.err.toStdString();
    demo.session = Session::open(demo.database->connectionString());
}

QString CliTest::connection() const {
    return demos().at(GetParam().name).database->connectionString();
}

Session& CliTest::db() {
    return *demos().at(GetParam().name).session;
}

CliResult CliTest::run(const QStringList& args, const QByteArray& input) const {
    return RunProgram(QStringList{QStringLiteral("--db"), connection()} + args, input);
}

CliResult CliTest::create(const QJsonObject& invoice, const QStringList& extra) const {
    QStringList args = extra;
    args << QStringLiteral("invoice") << QStringLiteral("create") << QStringLiteral("-");
    return run(args, QJsonDocument(invoice).toJson());
}

QString CliTest::footprint() {
    const char* tables[] = {"tblSaleInvoice",
                            "tblSaleInvoiceDetail",
                            "tblSaleInvoiceDiscount",
                            "tblAccountDocument",
                            "tblAccountDocumentDetail",
                            "tblInventoryDispatch",
                            "tblInventoryDispatchDetail",
                            "tblZelorFormAction"};
    QStringList counts;
    for (const char* t : tables) {
        const QString table = QString::fromLatin1(t);
        if (!db().tableExists(table)) continue;
        counts << table + QLatin1Char('=') +
                      db().scalar(QStringLiteral("SELECT count(*) FROM ") + table).toString();
    }
    return counts.join(QLatin1Char(' '));
}

// Goods whose every sale in the demo's past invoices came from inventory 1 and that are still
// for sale; the last sold ones first, so their stock is known to be there.
QStringList CliTest::stockedBarcodes(int count) {
    const RowSet rows = db().query(
        QStringLiteral("SELECT d.Barcode FROM tblSaleInvoiceDetail d "
                       "JOIN tblSaleInvoice i ON i.ID = d.InvoiceID "
                       "WHERE i.InventoryID = 1 GROUP BY d.Barcode ORDER BY max(d.ID) DESC "
                       "LIMIT ?"),
        {count});
    QStringList barcodes;
    for (const Row& r : rows)
        barcodes << r.value(u"Barcode").toString();
    return barcodes;
}

int CliTest::plainCustomer() {
    return db()
        .scalar(QStringLiteral("SELECT min(CustomerID) FROM tblSaleInvoice WHERE Code IS "
                               "NOT NULL AND InventoryID = 1"))
        .toInt();
}

OwnCashBox::OwnCashBox(Session& db, const QString& name)
    : db_(db),
      id_(db.insertReturningId(
          QStringLiteral("insert into tblRecPayCash (Name) values (?) RETURNING ID"), {name})) {
    db_.exec(QStringLiteral("insert into tblRecPayCashUser (CashID, UserID) values (?, 1)"), {id_});
}

OwnCashBox::~OwnCashBox() {
    db_.exec(QStringLiteral("delete from tblRecPayCashTurn where CashID = ?"), {id_});
    db_.exec(QStringLiteral("delete from tblRecPayCashUser where CashID = ?"), {id_});
    db_.exec(QStringLiteral("delete from tblRecPayCash where ID = ?"), {id_});
}

}  // namespace si::test
