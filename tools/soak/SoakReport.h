#pragma once
// The figures of a soak, per database: the operations by kind and how their processes ended,
// the kills and server restarts, the goods with little stock before and after, and each
// invariant with the rows that break it.

#include <QTextStream>

#include "Invariants.h"
#include "SoakLoad.h"

namespace si::soak {

struct LoadReport {
    const SoakDatabase& db;
    const SoakOptions& options;
    const LoadStats& stats;
    const Deliveries& deliveries;
    int serverRestarts = 0;
    QString restartFailure;
};

void PrintLoad(QTextStream& out, const LoadReport& report);
void PrintScarceGoods(QTextStream& out, const Catalogue& catalogue, const StockLevels& before,
                      const StockLevels& after);
void PrintInvariants(QTextStream& out, const CheckResult& result);

}  // namespace si::soak
