#include "erpdb/Procedures.h"

#include "erpdb/procedures/ProcedureSupport.h"

namespace si::erpdb {

void RegisterProcedures(ProcedureRegistry& registry) {
    RegisterCoreProcedures(registry);
    RegisterCreditProcedures(registry);
    RegisterScaleProcedures(registry);
    RegisterSaleProcedures(registry);
    RegisterAccountProcedures(registry);
    RegisterDocumentProcedures(registry);
}

}  // namespace si::erpdb
