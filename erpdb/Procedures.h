#pragma once
// The stored procedures of the ERP database that the module calls, written in C++ over the
// caller's session (so they take part in its transaction).

#include "common/ProcedureRegistry.h"

namespace si::erpdb {

void RegisterProcedures(ProcedureRegistry& registry);

}  // namespace si::erpdb
