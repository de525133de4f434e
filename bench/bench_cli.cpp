// Importing JSON invoices through the command line into the 100,000-goods demo, finally: 1,000
// invoices of 20 lines each, every one entered, checked and saved with its postings as the form
// does it. In-process runs show the module's own cost; one program start per invoice adds what
// an integration calling the program pays; one `invoice import` of all the files shows what a
// session kept for the whole import saves.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "BenchSupport.h"
#include "apps/cli/Cli.h"
#include "apps/cli/InvoiceEntry.h"
#include "common/Jalali.h"
#include "erpdb/Procedures.h"
#include "support/ScriptedMessages.h"

namespace {

using si::test::Backend;
constexpr int kGoods = 100000;
constexpr int kInvoices = 1000;
constexpr int kProcessInvoices = 100;
constexpr int kLinesPerInvoice = 20;

// Goods received into the main inventory in the largest quantities, for sale and without
// attached goods, so that a thousand invoices do not run out of stock.
QStringList stockedGoods(si::Session& s, int count) {
    const si::RowSet rows = s.query(
        QStringLiteral(
            "select d.Barcode, sum(d.Qty) as Received from tblInventoryReceiptDetail d inner join "
            "tblInventoryReceipt r on r.ID = d.ReceiptID where r.InventoryID = ? and not exists "
            "(select 1 from tblInventoryGoodInfo i where i.Barcode = d.Barcode and i.InventoryID "
            "= r.InventoryID and coalesce(i.NotForSale, 0) = 1) and not exists (select 1 from "
            "tblGoodAttachedGoods a inner join tblGood g on g.ID in (a.GoodID, a.AttachedGoodID) "
            "where g.Barcode = d.Barcode) group by d.Barcode order by sum(d.Qty) desc, d.Barcode "
            "limit ?"),
        {si::erpdb::kDemoMainInventoryId, count});
    QStringList list;
    for (const si::Row& r : rows)
        list << r.text(u"Barcode");
    return list;
}

QVector<int> regularCustomers(si::Session& s, int count) {
    const si::RowSet rows =
        s.query(QStringLiteral("select distinct CustomerID from tblSaleInvoice where Code is not "
                               "null and CustomerID is not null order by CustomerID limit ?"),
                {count});
    QVector<int> list;
    for (const si::Row& r : rows)
        list << r.toInt(u"CustomerID");
    return list;
}

// A purchase of plenty of each goods into the main inventory yesterday, so that a thousand
// invoices never run short of stock.
void Replenish(si::Session& s, const QStringList& goods) {
    const QDate day = QDate::currentDate().addDays(-1);
    si::Transaction t = s.transaction();
    const qint64 receipt = s.insertReturningId(
        QStringLiteral("insert into tblInventoryReceipt (Code, InventoryID, TypeID, CreatorID, "
                       "ReceiveDate, FarsiReceiveDate, CreateDate, FarsiCreateDate, Notes) values "
                       "(?, ?, 1, ?, ?, ?, ?, ?, ?) RETURNING ID"),
        {900000, si::erpdb::kDemoMainInventoryId, si::erpdb::kDemoAdminUserId, day,
         si::getFarsiDate(day), day, si::getFarsiDate(day), QStringLiteral("خريد براي آزمون")});
    int row = 0;
    for (const QString& barcode : goods)
        s.exec(
            QStringLiteral("insert into tblInventoryReceiptDetail (ReceiptID, RowNumber, Barcode, "
                           "Qty, ScaleID, ScaleQty) select ?, ?, Barcode, ?, ScaleID, ? from "
                           "tblGood where Barcode = ?"),
            {receipt, ++row, QVariant::fromValue(si::Money::fromRials(100000)),
             QVariant::fromValue(si::Money::fromRials(100000)), barcode});
    t.commit();
}

struct Import {
    explicit Import(const Backend& backend, int invoices)
        : connection(si::bench::demoConnection(backend, kGoods)) {
        auto s = si::Session::open(connection);
        const QStringList goods = stockedGoods(*s, 2000);
        Replenish(*s, goods);
        const QVector<int> customers = regularCustomers(*s, 200);
        QRandomGenerator random(20261206);
        for (int i = 0; i < invoices && !goods.isEmpty() && !customers.isEmpty(); ++i)
            files << write(i, invoiceJson(goods, customers, random));
    }

    static QJsonObject invoiceJson(const QStringList& goods, const QVector<int>& customers,
                                   QRandomGenerator& random) {
        QJsonArray lines;
        const int first = random.bounded(goods.size() - kLinesPerInvoice);
        for (int l = 0; l < kLinesPerInvoice; ++l)
            lines.append(QJsonObject{{QStringLiteral("barcode"), goods[first + l]},
                                     {QStringLiteral("qty"), 1 + random.bounded(3)}});
        return QJsonObject{
            {QStringLiteral("customer"), customers[random.bounded(customers.size())]},
            {QStringLiteral("inventory"), si::erpdb::kDemoMainInventoryId},
            {QStringLiteral("lines"), lines}};
    }

    QString write(int i, const QJsonObject& invoice) {
        const QString path = dir.filePath(QStringLiteral("invoice%1.json").arg(i));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(QJsonDocument(invoice).toJson());
        return path;
    }

    QString connection;
    QTemporaryDir dir;
    QStringList files;
};

QStringList createArgs(const QString& connection, const QString& file) {
    return {QStringLiteral("--db"),   connection, QStringLiteral("invoice"),
            QStringLiteral("create"), file,       QStringLiteral("--final")};
}

void report(benchmark::State& state, int saved, int refused) {
    state.counters["invoices"] = saved;
    state.counters["refused"] = refused;
    state.counters["invoices/s"] = benchmark::Counter(saved, benchmark::Counter::kIsRate);
}

void BM_ImportInProcess(benchmark::State& state, const Backend& backend) {
    Import import(backend, kInvoices);
    int saved = 0, refused = 0;
    for (auto _ : state) {
        for (const QString& file : import.files) {
            QString out;
            QTextStream stream(&out);
            si::cli::Run(createArgs(import.connection, file), stream) == 0 ? ++saved : ++refused;
        }
    }
    report(state, saved, refused);
}

// The same files through one `invoice import`: one session serves them all.
void BM_ImportOneCommand(benchmark::State& state, const Backend& backend) {
    Import import(backend, kInvoices);
    int saved = 0, refused = 0;
    for (auto _ : state) {
        QString out;
        QTextStream stream(&out);
        si::cli::Run(
            QStringList{QStringLiteral("--db"), import.connection, QStringLiteral("invoice"),
                        QStringLiteral("import"), QStringLiteral("--final")} +
                import.files,
            stream);
        stream.flush();
        for (const QString& line : out.split(u'\n', Qt::SkipEmptyParts))
            line.count(u'\t') == 2 ? ++saved : ++refused;
    }
    report(state, saved, refused);
}

void BM_ImportOneProgramPerInvoice(benchmark::State& state, const Backend& backend) {
    Import import(backend, kProcessInvoices);
    int saved = 0, refused = 0;
    for (auto _ : state) {
        for (const QString& file : import.files) {
            QProcess p;
            p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            p.start(QStringLiteral(SALEINVOICE_EXE), createArgs(import.connection, file));
            p.waitForFinished(60000);
            p.exitCode() == 0 ? ++saved : ++refused;
        }
    }
    report(state, saved, refused);
}

// A context on the demo as the program opens it for the administrator.
struct Workstation {
    explicit Workstation(const QString& connection) {
        si::erpdb::RegisterProcedures(procedures);
        messages.install(components);
        messages.alwaysAnswer(true);
        ctx.globals.CurrentUserID = si::erpdb::kDemoAdminUserId;
        ctx.globals.CurrentConnectionString = connection;
        si::OpenSession(ctx);
        si::LoadSystemParameters(ctx);
    }
    si::ComponentRegistry components;
    si::ProcedureRegistry procedures;
    si::test::MessageScript messages;
    si::Context ctx{&components, &procedures};
};

// The statements of one final create of a 20-line and of a 200-line invoice: the entry of the
// lines, and the entry with the save. The time is that of the 200-line create.
void BM_CreateStatements(benchmark::State& state, const Backend& backend) {
    const QString connection = si::bench::demoConnection(backend, kGoods);
    Workstation w(connection);
    const QStringList goods = stockedGoods(w.ctx.db(), 200);
    Replenish(w.ctx.db(), goods);
    const int customer = regularCustomers(w.ctx.db(), 1).value(0, -1);
    const auto invoiceOf = [&](int lines) {
        QJsonArray list;
        for (const QString& barcode : goods.mid(0, lines))
            list.append(
                QJsonObject{{QStringLiteral("barcode"), barcode}, {QStringLiteral("qty"), 1}});
        return si::cli::ParseInvoice(
            QJsonDocument(
                QJsonObject{{QStringLiteral("customer"), customer},
                            {QStringLiteral("inventory"), si::erpdb::kDemoMainInventoryId},
                            {QStringLiteral("lines"), list}})
                .toJson());
    };
    si::cli::InvoiceEntry entry(w.ctx);
    const auto statementsOf = [&](const std::function<bool()>& run) {
        const qint64 before = w.ctx.db().statementCount();
        if (!run()) state.SkipWithError("the invoice was refused");
        return static_cast<double>(w.ctx.db().statementCount() - before);
    };
    const auto small = invoiceOf(kLinesPerInvoice);
    const auto large = invoiceOf(200);
    entry.enter(small);  // what every entry reads once
    state.counters["entry20"] = statementsOf([&] { return entry.enter(small); });
    state.counters["entry200"] = statementsOf([&] { return entry.enter(large); });
    state.counters["create20"] = statementsOf([&] { return entry.create(small, true); });
    for (auto _ : state)
        state.counters["create200"] = statementsOf([&] { return entry.create(large, true); });
}

void registerBenchmarks() {
    si::bench::RegisterPerBackend("BM_CreateStatements", BM_CreateStatements, 1, 1);
    si::bench::RegisterPerBackend("BM_ImportInProcess", BM_ImportInProcess, 1, 1);
    si::bench::RegisterPerBackend("BM_ImportOneCommand", BM_ImportOneCommand, 1, 1);
    si::bench::RegisterPerBackend("BM_ImportOneProgramPerInvoice", BM_ImportOneProgramPerInvoice, 1,
                                  1);
}

}  // namespace

int main(int argc, char** argv) {
    return si::bench::RunBenchmarks(argc, argv, registerBenchmarks);
}
