#pragma once
// The invariants a sale-invoice database keeps whatever its workstations did to it (killed in the
// middle of a save, racing each other, cut off from the server): codes unique and gap-free per
// numbering range, balanced accounting documents, postings that match each invoice's state and
// kind exactly once, stock never sold below zero where the stock rule holds, and no orphan rows.
// Every statement runs on SQLite and PostgreSQL with bound parameters.

#include <QDate>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include "StockLevels.h"
#include "common/Session.h"

namespace si::soak {

// What the soak knows beyond the database itself.
struct CheckScope {
    // Invoices from this ID on were made by the load; their postings are held to their kind.
    qint64 firstLoadInvoice = 1;
    // Stock before the load: a level that was already below zero is not the load's doing.
    StockLevels stockBefore;
    // The lowest stock seen while the load ran, where the load looked (deliveries that came
    // later would hide a level that went below zero).
    StockLevels lowestSeen;
    // Invoices whose save said why no accounting document could be made.
    QSet<qint64> postingMessageGiven;
    // Stock is counted up to the end of this day (the load's invoice date).
    QDate day;
};

// One invariant: how many rows it looked at and one line per row that breaks it.
struct Invariant {
    Invariant() = default;
    explicit Invariant(QString n, qint64 c = 0, QStringList v = {})
        : name(std::move(n)), checked(c), violations(std::move(v)) {}
    QString name;
    qint64 checked = 0;
    QStringList violations;
};

// A count that is no violation but tells what the data holds.
struct Figure {
    QString name;
    qint64 value = 0;
};

struct CheckResult {
    QVector<Invariant> invariants;
    QVector<Figure> figures;
    qint64 violationCount() const;
};

CheckResult CheckInvariants(Session& s, const CheckScope& scope);

}  // namespace si::soak
