#include "SoakDatabase.h"

#include <QFile>
#include <QProcess>
#include <algorithm>
#include <stdexcept>

#include "common/ConnectionString.h"
#include "common/Jalali.h"
#include "common/SystemParameters.h"

namespace si::soak {

namespace {

const QString kSoakDatabase = QStringLiteral("saleinvoice_soak");
constexpr int kPlentyGoods = 12;
constexpr int kScarceGoods = 6;
constexpr double kCandidateStock = 12;
// More than the longest load sells.
constexpr double kPlentyTopUp = 1000000;
constexpr int kCustomers = 20;

[[noreturn]] void fail(const QString& text) {
    throw std::runtime_error(text.toStdString());
}

void initDemo(const QString& program, const QString& connection) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, {QStringLiteral("--db"), connection, QStringLiteral("db"),
                      QStringLiteral("init"), QStringLiteral("--demo"), QStringLiteral("small")});
    if (!p.waitForStarted()) fail(QStringLiteral("cannot start ") + program);
    p.waitForFinished(15 * 60 * 1000);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        fail(QStringLiteral("db init --demo small failed: ") + QString::fromUtf8(p.readAll()));
}

// Goods the demo has sold from the inventory, in a whole unit of one base piece, not marked as
// not for sale there: their price, unit and sale-ability are known to work.
QStringList sellableGoods(Session& s, int inventory) {
    QStringList barcodes;
    for (const Row& r : s.query(
             QStringLiteral(
                 "SELECT g.Barcode FROM tblGood g JOIN tblGoodScale sc "
                 "ON sc.ID = coalesce(g.SaleScaleID, g.ScaleID) "
                 "WHERE coalesce(sc.ScaleToBaseParent, 1) = 1 AND coalesce(sc.IsInteger, 0) = 1 "
                 "AND coalesce(g.IsActive, 1) = 1 AND coalesce(g.RetailPrice, 0) > 0 "
                 "AND EXISTS (SELECT 1 FROM tblSaleInvoiceDetail d JOIN tblSaleInvoice i "
                 "ON i.ID = d.InvoiceID WHERE d.Barcode = g.Barcode AND i.InventoryID = ?) "
                 "AND NOT EXISTS (SELECT 1 FROM tblInventoryGoodInfo n WHERE n.Barcode = "
                 "g.Barcode AND n.InventoryID = ? AND coalesce(n.NotForSale, 0) = 1) "
                 "ORDER BY g.Barcode"),
             {inventory, inventory}))
        barcodes << r.text(u"Barcode");
    return barcodes;
}

void pickGoods(Session& s, Catalogue& c, const StockLevels& stock) {
    QStringList goods = sellableGoods(s, c.inventory);
    const auto level = [&](const QString& b) { return stock.value({c.inventory, b}, 0); };
    std::stable_sort(goods.begin(), goods.end(),
                     [&](const QString& a, const QString& b) { return level(a) > level(b); });
    for (const QString& b : goods) {
        if (level(b) < kCandidateStock) break;
        if (c.plentyGoods.size() < kPlentyGoods)
            c.plentyGoods << b;
        else if (c.scarceGoods.size() < kScarceGoods)
            c.scarceGoods << b;
    }
    if (c.plentyGoods.isEmpty() || c.scarceGoods.isEmpty())
        fail(QStringLiteral("the demo has too few goods in stock for the load"));
}

// A stock count the day before the load: the plentiful goods get more than the load can sell,
// one receipt of no purchase; the scarce goods go down to 2..10 pieces, one dispatch of no
// invoice. Quantities are in each goods item's base unit.
void countStock(Session& s, const Catalogue& c, const StockLevels& stock) {
    const QDate day = s.today().addDays(-1);
    const Params dated{c.inventory,
                       c.adminUser,
                       day,
                       getFarsiDate(day),
                       day,
                       getFarsiDate(day),
                       QStringLiteral("شمارش موجودي")};
    const QString columns = QStringLiteral(
        " (InventoryID, CreatorID, ReceiveDate, FarsiReceiveDate, CreateDate, FarsiCreateDate, "
        "Notes) VALUES (?, ?, ?, ?, ?, ?, ?) RETURNING ID");
    const QString detail = QStringLiteral(
        " (%1, RowNumber, Barcode, Qty, ScaleID, ScaleQty, Description) SELECT ?, ?, Barcode, ?, "
        "ScaleID, ?, ? FROM tblGood WHERE Barcode = ?");
    auto tx = s.transaction();
    const qint64 receipt =
        s.insertReturningId(QStringLiteral("INSERT INTO tblInventoryReceipt") + columns, dated);
    for (int i = 0; i < c.plentyGoods.size(); ++i)
        s.exec(QStringLiteral("INSERT INTO tblInventoryReceiptDetail") +
                   detail.arg(QStringLiteral("ReceiptID")),
               {receipt, i + 1, kPlentyTopUp, kPlentyTopUp, QStringLiteral(""), c.plentyGoods[i]});
    const qint64 dispatch =
        s.insertReturningId(QStringLiteral("INSERT INTO tblInventoryDispatch") + columns, dated);
    for (int i = 0; i < c.scarceGoods.size(); ++i) {
        const QString& barcode = c.scarceGoods[i];
        const double out = stock.value({c.inventory, barcode}) - (2 + (i * 3) % 9);
        s.exec(QStringLiteral("INSERT INTO tblInventoryDispatchDetail") +
                   detail.arg(QStringLiteral("DispatchID")),
               {dispatch, i + 1, out, out, QStringLiteral(""), barcode});
    }
    tx.commit();
}

// The cashier's own setting: shop mode, so a final cash sale is booked into the cash turn.
void cashierInShopMode(Session& s, const Catalogue& c) {
    s.exec(QStringLiteral("INSERT INTO tblZelorSystemParametersUser (UserID, SystemParameterID, "
                          "Value) VALUES (?, ?, ?)"),
           {c.cashierUser, P::ShopMode, QStringLiteral("1")});
}

QVector<int> customersWithAccounts(Session& s, int inventory) {
    QVector<int> customers;
    for (const Row& r :
         s.query(QStringLiteral(
                     "SELECT DISTINCT i.CustomerID FROM tblSaleInvoice i WHERE i.InventoryID = ? "
                     "AND i.Code IS NOT NULL AND EXISTS (SELECT 1 FROM tblAccountRelatedObjects r "
                     "JOIN tblAccount a ON a.ID = r.AccountID WHERE r.RelatedClassID = ? AND "
                     "r.RelatedObjectID = i.CustomerID AND coalesce(a.IsClosed, 0) = 0 AND NOT "
                     "EXISTS (SELECT 1 FROM tblAccount x WHERE x.ParentID = a.ID)) "
                     "ORDER BY i.CustomerID LIMIT ?"),
                 {inventory, 7, kCustomers}))
        customers << r.toInt(u"CustomerID");
    if (customers.isEmpty()) fail(QStringLiteral("the demo has no customer with an open account"));
    return customers;
}

void fill(SoakDatabase& db, const QString& program) {
    initDemo(program, db.connection);
    auto s = Session::open(db.connection);
    Catalogue& c = db.catalogue;
    const StockLevels demoStock = CheckedStockLevels(*s, s->today());
    pickGoods(*s, c, demoStock);
    countStock(*s, c, demoStock);
    cashierInShopMode(*s, c);
    c.customers = customersWithAccounts(*s, c.inventory);
    db.scope.day = s->today();
    db.scope.firstLoadInvoice =
        s->scalar(QStringLiteral("SELECT coalesce(max(ID), 0) + 1 FROM tblSaleInvoice"))
            .toLongLong();
    db.scope.stockBefore = CheckedStockLevels(*s, db.scope.day);
}

}  // namespace

SoakDatabase PrepareSqlite(const QString& file, const QString& program) {
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::remove(file + suffix);
    SoakDatabase db;
    db.name = QStringLiteral("SQLite");
    db.connection = QStringLiteral("Provider=SQLite;Data Source=") + file;
    fill(db, program);
    return db;
}

SoakDatabase PreparePostgres(const QString& server, const QString& program) {
    {
        auto admin = Session::open(server);
        admin->execScript(QStringLiteral("DROP DATABASE IF EXISTS ") + kSoakDatabase +
                          QStringLiteral(" WITH (FORCE)"));
        admin->execScript(QStringLiteral("CREATE DATABASE ") + kSoakDatabase);
    }
    ConnectionString cs = ConnectionString::parse(server);
    cs.database = kSoakDatabase;
    SoakDatabase db;
    db.name = QStringLiteral("PostgreSQL");
    db.connection = cs.toString();
    fill(db, program);
    return db;
}

}  // namespace si::soak
