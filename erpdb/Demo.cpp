#include "erpdb/Demo.h"

#include <stdexcept>

#include "erpdb/Schema.h"
#include "erpdb/demo/DemoModel.h"

namespace si::erpdb {

namespace demo {

DemoData::DemoData(Session& s, const DemoOptions& o)
    : session(s), options(o), calendar(o.today.isValid() ? o.today : QDate::currentDate()) {
    historyStart = calendar.daysAgo(std::max(1, options.historyDays));
}

void DemoData::progress(const QString& step) const {
    if (options.progress) options.progress(step);
}

}  // namespace demo

namespace {

// Tables that any company, demo or not, fills first; the demo is written only into a
// database that has none of them.
const char* const kCompanyTables[] = {
    "tblUser",      "tblGood",        "tblOrganization",         "tblAccount",
    "tblInventory", "tblSaleInvoice", "tblZelorSystemParameters"};

bool hasRows(Session& s, const QString& table) {
    return !s.query(QStringLiteral("SELECT 1 FROM ") + table + QStringLiteral(" LIMIT 1")).empty();
}

bool isEmptyCompany(Session& s) {
    for (const char* table : kCompanyTables)
        if (hasRows(s, QString::fromLatin1(table))) return false;
    return true;
}

void checkOptions(const DemoOptions& o) {
    if (o.goods < 1 || o.customers < 0 || o.invoices < 0 || o.linesPerInvoice < 1 ||
        o.historyDays < 1)
        throw std::invalid_argument(
            "اندازه شرکت نمونه نادرست است: دست کم يک کالا، يک سطر در فاکتور و يک روز سابقه لازم "
            "است.");
}

// SQLite settings for the bulk writes: a large page cache (the index pages stay in memory) and
// the rollback journal in memory instead of the write-ahead log, which would write every page
// twice. The demo is written into an empty company only, so a crash in the middle leaves
// nothing of value to protect; a rollback still undoes everything. Afterwards the connection
// gets the settings Session opens it with: SQLite's default cache and the write-ahead log.
class SqliteBulkMode {
public:
    explicit SqliteBulkMode(Session& s) : s_(s) {
        if (!s_.isSqlite()) return;
        tryPragma(QStringLiteral("PRAGMA cache_size=-262144"));
        // Another connection on the file keeps the log; the demo is then only slower.
        tryPragma(QStringLiteral("PRAGMA journal_mode=MEMORY"));
    }
    ~SqliteBulkMode() {
        if (!s_.isSqlite()) return;
        tryPragma(QStringLiteral("PRAGMA cache_size=-2000"));
        tryPragma(QStringLiteral("PRAGMA journal_mode=WAL"));
    }
    SqliteBulkMode(const SqliteBulkMode&) = delete;
    SqliteBulkMode& operator=(const SqliteBulkMode&) = delete;

private:
    void tryPragma(const QString& pragma) {
        try {
            s_.exec(pragma);
        } catch (const SqlError&) {
            // These settings only tune speed.
        }
    }
    Session& s_;
};

}  // namespace

DemoOptions SmallDemo() {
    return DemoOptions{};
}

DemoOptions DemoOfSize(int goods, int invoices) {
    DemoOptions o;
    o.goods = goods;
    o.customers = std::max(50, goods / 10);
    o.invoices = invoices < 0 ? goods : invoices;
    return o;
}

bool HasDemoData(Session& session) {
    if (!session.tableExists(QStringLiteral("tblUser")) ||
        !session.tableExists(QStringLiteral("tblGood")))
        return false;
    return !session.query(QStringLiteral("SELECT ID FROM tblUser WHERE ID = ?"), {kDemoAdminUserId})
                .empty() &&
           hasRows(session, QStringLiteral("tblGood"));
}

void FillDemoData(Session& session, const DemoOptions& options) {
    checkOptions(options);
    if (InstalledSchemaVersion(session) == 0)
        throw std::runtime_error(
            "ساختار پايگاه داده نصب نشده است؛ ابتدا پايگاه داده را آماده کنيد.");
    if (HasDemoData(session))
        throw std::runtime_error("اطلاعات شرکت نمونه قبلا در اين پايگاه داده ثبت شده است.");
    if (!isEmptyCompany(session))
        throw std::runtime_error(
            "پايگاه داده خالي نيست؛ شرکت نمونه فقط در پايگاه داده خالي ساخته مي شود.");
    SqliteBulkMode bulkMode(session);
    Transaction transaction = session.transaction();
    demo::DemoData d(session, options);
    demo::FillLedger(d);
    demo::FillSystem(d);
    demo::FillSaleSetup(d);
    demo::FillGoods(d);
    demo::FillGoodsPricing(d);
    demo::FillPeople(d);
    demo::FillCustomers(d);
    demo::FillCash(d);
    demo::FillInventories(d);
    demo::FillPromotions(d);
    demo::FillInvoices(d);
    demo::FillInvoiceDocuments(d);
    demo::FillStockReceipts(d);
    demo::MoveIdentityCounters(session);
    transaction.commit();
    // The planner's statistics of the bulk load: without them a list filtered by a common value
    // reads it by that value's index and sorts, where reading by date and stopping is quicker.
    session.execScript(QStringLiteral("ANALYZE"));
    d.progress(QStringLiteral("شرکت نمونه ثبت شد"));
}

}  // namespace si::erpdb
