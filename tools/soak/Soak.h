#pragma once
// The whole soak: prepare each database, run the loads side by side (restarting the PostgreSQL
// server once half-way), check the invariants and print the figures.
// Exit code: 0 no invariant violated, 1 violations, 3 the soak could not run.

#include <QTextStream>

#include "SoakOptions.h"

namespace si::soak {

int RunSoak(const SoakOptions& options, QTextStream& out);

}  // namespace si::soak
