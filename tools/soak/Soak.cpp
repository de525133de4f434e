#include "Soak.h"

#include <QEventLoop>
#include <memory>
#include <vector>

#include "ServerRestart.h"
#include "SoakLoad.h"
#include "SoakReport.h"

namespace si::soak {

namespace {

constexpr int kExitViolations = 1;
constexpr int kExitCannotRun = 3;
// The server goes down a little before half-way, so that the load runs on after it is back.
constexpr int kRestartAtPercent = 45;

std::vector<SoakDatabase> prepare(const SoakOptions& o, QTextStream& out) {
    std::vector<SoakDatabase> dbs;
    if (!o.sqliteFile.isEmpty()) {
        out << "preparing SQLite (demo company, goods with little stock) ..." << Qt::endl;
        dbs.push_back(PrepareSqlite(o.sqliteFile, o.saleinvoice));
    }
    if (!o.pgServer.isEmpty()) {
        out << "preparing PostgreSQL (demo company, goods with little stock) ..." << Qt::endl;
        dbs.push_back(PreparePostgres(o.pgServer, o.saleinvoice));
    }
    return dbs;
}

bool hasPostgres(const std::vector<SoakDatabase>& dbs) {
    for (const SoakDatabase& db : dbs)
        if (db.name == QLatin1String("PostgreSQL")) return true;
    return false;
}

// The loads side by side until each has run its time; a restart under way is waited for.
void runLoads(std::vector<std::unique_ptr<Load>>& loads, ServerRestart& restart) {
    QEventLoop loop;
    const auto maybeQuit = [&] {
        for (const auto& l : loads)
            if (!l->finished()) return;
        restart.cancel();
        if (!restart.busy()) loop.quit();
    };
    for (const auto& l : loads)
        QObject::connect(l.get(), &Load::done, &loop, maybeQuit, Qt::QueuedConnection);
    QObject::connect(&restart, &ServerRestart::done, &loop, maybeQuit, Qt::QueuedConnection);
    for (const auto& l : loads)
        l->start();
    loop.exec();
}

// Returns the violations found, or -1 when the database could not be checked.
qint64 checkAndReport(const SoakDatabase& db, const LoadReport& report, QTextStream& out) {
    PrintLoad(out, report);
    try {
        auto s = Session::open(db.connection);
        const StockLevels after = CheckedStockLevels(*s, db.scope.day);
        PrintScarceGoods(out, db.catalogue, db.scope.stockBefore, after);
        CheckResult result = CheckInvariants(*s, db.scope);
        result.invariants << Invariant{
            QStringLiteral("same invoice finalised by one racing workstation only"),
            report.stats.races, report.stats.racesWonTwice};
        PrintInvariants(out, result);
        return result.violationCount();
    } catch (const std::exception& e) {
        out << "the invariants could not be checked: " << e.what() << "\n";
        return -1;
    }
}

}  // namespace

int RunSoak(const SoakOptions& o, QTextStream& out) {
    std::vector<SoakDatabase> dbs;
    try {
        dbs = prepare(o, out);
    } catch (const std::exception& e) {
        out << "the soak could not prepare its databases: " << e.what() << Qt::endl;
        return kExitCannotRun;
    }
    out << "load: " << o.seconds << " s, " << o.clients << " workstations per database, seed "
        << o.seed << Qt::endl;
    std::vector<std::unique_ptr<Load>> loads;
    for (size_t i = 0; i < dbs.size(); ++i)
        loads.push_back(std::make_unique<Load>(dbs[i], o, o.seed + static_cast<quint32>(i)));
    ServerRestart restart(o);
    if (hasPostgres(dbs) && o.restartsServer()) restart.arm(o.seconds * 10 * kRestartAtPercent);
    runLoads(loads, restart);

    qint64 violations = 0;
    bool checked = true;
    for (size_t i = 0; i < dbs.size(); ++i) {
        const bool pg = dbs[i].name == QLatin1String("PostgreSQL");
        const LoadReport report{dbs[i],
                                o,
                                loads[i]->stats(),
                                loads[i]->deliveries(),
                                pg ? restart.restarts() : 0,
                                pg ? restart.failure() : QString()};
        const qint64 found = checkAndReport(dbs[i], report, out);
        if (found < 0)
            checked = false;
        else
            violations += found;
    }
    out << "\nsoak: " << violations << " invariant violation(s) in " << dbs.size() << " database(s)"
        << Qt::endl;
    if (!checked) return kExitCannotRun;
    return violations > 0 ? kExitViolations : 0;
}

}  // namespace si::soak
