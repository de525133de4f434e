#pragma once
// Demo databases for the benchmarks, one per back-end and size, made on first use and dropped
// before the application object goes.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "common/Session.h"
#include "erpdb/Demo.h"
#include "erpdb/Schema.h"
#include "support/TestAuditKey.h"
#include "support/TestDatabase.h"

namespace si::bench {

inline std::map<std::pair<QString, int>, std::unique_ptr<test::ScratchDatabase>>& demoDatabases() {
    static std::map<std::pair<QString, int>, std::unique_ptr<test::ScratchDatabase>> databases;
    return databases;
}

// A demo company of `goods` goods (customers and past invoices scaled with it).
inline const QString& demoConnection(const test::Backend& backend, int goods, int invoices = -1) {
    auto& db = demoDatabases()[{backend.name, goods}];
    if (!db) {
        db = std::make_unique<test::ScratchDatabase>(backend);
        auto s = Session::open(db->connectionString());
        erpdb::InstallSchema(*s);
        erpdb::FillDemoData(*s, erpdb::DemoOfSize(goods, invoices));
        // Fresh statistics, as a server's autovacuum would have them after a bulk load.
        s->exec(QStringLiteral("ANALYZE"));
    }
    return db->connectionString();
}

// Registers fn(state, backend) as NAME/<back-end> for every back-end, in milliseconds of real
// time; `repetitions` runs with only their aggregates reported, `iterations` fixes the count.
template <typename Fn>
void RegisterPerBackend(const char* name, Fn fn, int repetitions = 5, int iterations = 0) {
    for (const test::Backend& backend : test::Backends()) {
        auto* b = benchmark::RegisterBenchmark(
                      (std::string(name) + "/" + backend.name.toStdString()).c_str(), fn, backend)
                      ->Unit(benchmark::kMillisecond)
                      ->UseRealTime();
        if (iterations > 0) b->Iterations(iterations);
        if (repetitions > 1) b->Repetitions(repetitions)->ReportAggregatesOnly(true);
    }
}

// The main of every benchmark program: Google Benchmark inside a Qt application object; the
// demo databases (and what `cleanup` drops) go before the application object does.
inline int RunBenchmarks(int argc, char** argv, const std::function<void()>& registerBenchmarks,
                         const std::function<void()>& cleanup = {}) {
    QCoreApplication app(argc, argv);
    test::UseTemporaryAuditKey();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    registerBenchmarks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (cleanup) cleanup();
    demoDatabases().clear();
    return 0;
}

}  // namespace si::bench
