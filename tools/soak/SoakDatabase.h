#pragma once
// One database under load: made fresh, filled with the small demo company by the command line
// itself, given a few goods with little stock (so that concurrent sales compete for the last
// pieces) and a cashier who works in shop mode (so that cash sales go to the open cash turn), and
// its state before the load recorded for the invariant checker.

#include <QString>
#include <QStringList>
#include <QVector>

#include "Invariants.h"

namespace si::soak {

// What the load sells, from where, to whom and as whom.
struct Catalogue {
    int inventory = 1;
    int adminUser = 1;
    int cashierUser = 2;
    QStringList plentyGoods;  // stock enough for the whole load
    QStringList scarceGoods;  // 2..10 pieces each
    QVector<int> customers;   // each with an open leaf account, so a credit sale can be posted
};

struct SoakDatabase {
    QString name;  // "SQLite" or "PostgreSQL"
    QString connection;
    Catalogue catalogue;
    CheckScope scope;
};

// Both throw std::runtime_error when the database cannot be made.
SoakDatabase PrepareSqlite(const QString& file, const QString& program);
SoakDatabase PreparePostgres(const QString& server, const QString& program);

}  // namespace si::soak
