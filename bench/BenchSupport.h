#pragma once
// Demo databases for the benchmarks, one per back-end and size, made on first use and dropped
// before the application object goes.

#include <map>
#include <memory>
#include <utility>

#include "common/Session.h"
#include "erpdb/Demo.h"
#include "erpdb/Schema.h"
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

}  // namespace si::bench
