// Costs of the database foundation on each back-end: opening a session and loading the system
// parameters as the invoice form does at start, and building the demo company in bulk.
// PostgreSQL runs when SALEINVOICE_TEST_PG names a server (./x bench starts one).

#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <map>
#include <memory>

#include "BenchSupport.h"
#include "common/Context.h"
#include "erpdb/Demo.h"
#include "erpdb/Procedures.h"
#include "erpdb/Schema.h"
#include "support/TestDatabase.h"

namespace {

using si::Session;
using si::test::Backend;
using si::test::ScratchDatabase;

qint64 totalRows(Session& s) {
    qint64 rows = 0;
    for (const QString& table : si::erpdb::TableNames())
        rows += s.scalar(QStringLiteral("SELECT count(*) FROM ") + table).toLongLong();
    return rows;
}

// Databases holding the small demo, one per back-end, made on first use and dropped before
// the application object goes (dropping a PostgreSQL database needs the driver plugin).
std::map<QString, std::unique_ptr<ScratchDatabase>>& smallDemos() {
    static std::map<QString, std::unique_ptr<ScratchDatabase>> databases;
    return databases;
}

const QString& smallDemoConnection(const Backend& backend) {
    auto& db = smallDemos()[backend.name];
    if (!db) {
        db = std::make_unique<ScratchDatabase>(backend);
        auto s = Session::open(db->connectionString());
        si::erpdb::InstallSchema(*s);
        si::erpdb::FillDemoData(*s, si::erpdb::SmallDemo());
    }
    return db->connectionString();
}

void BM_OpenSessionAndLoadParameters(benchmark::State& state, const Backend& backend) {
    si::ProcedureRegistry procedures;
    si::erpdb::RegisterProcedures(procedures);
    si::Context ctx(nullptr, &procedures);
    ctx.globals.CurrentConnectionString = smallDemoConnection(backend);
    ctx.globals.CurrentUserID = si::erpdb::kDemoCashierUserId;
    for (auto _ : state) {
        si::OpenSession(ctx);
        si::LoadSystemParameters(ctx);
        benchmark::DoNotOptimize(ctx.params.number(si::P::StockRule));
    }
    if (ctx.params.number(si::P::StockRule) != 1) state.SkipWithError("demo parameters not loaded");
}

// The demo scaled to state.range(0) goods; only the fill itself is timed, not making and
// removing the empty database around it.
void BM_BuildDemo(benchmark::State& state, const Backend& backend) {
    const si::erpdb::DemoOptions options = si::erpdb::DemoOfSize(static_cast<int>(state.range(0)));
    qint64 rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto db = std::make_unique<ScratchDatabase>(backend);
        auto s = Session::open(db->connectionString());
        si::erpdb::InstallSchema(*s);
        state.ResumeTiming();
        si::erpdb::FillDemoData(*s, options);
        state.PauseTiming();
        rows += totalRows(*s);
        s.reset();
        db.reset();
        state.ResumeTiming();
    }
    using benchmark::Counter;
    const auto runs = static_cast<double>(state.iterations());
    state.counters["rows"] = Counter(double(rows) / runs);
    state.counters["rows_per_s"] = Counter(double(rows), Counter::kIsRate);
    state.counters["goods_per_s"] = Counter(options.goods * runs, Counter::kIsRate);
    state.counters["invoices_per_s"] = Counter(options.invoices * runs, Counter::kIsRate);
}

void registerBenchmarks() {
    for (const Backend& backend : si::test::Backends()) {
        const std::string name = backend.name.toStdString();
        benchmark::RegisterBenchmark(("BM_OpenSessionAndLoadParameters/" + name).c_str(),
                                     BM_OpenSessionAndLoadParameters, backend)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("BM_BuildDemo/" + name).c_str(), BM_BuildDemo, backend)
            ->Arg(100000)
            ->Iterations(1)
            ->Unit(benchmark::kSecond)
            ->UseRealTime();
    }
}

}  // namespace

int main(int argc, char** argv) {
    return si::bench::RunBenchmarks(argc, argv, registerBenchmarks, [] { smallDemos().clear(); });
}
