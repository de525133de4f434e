#include "erpdb/Procedures.h"

#include "erpdb/procedures/ProcedureSupport.h"

namespace si::erpdb {

void RegisterProcedures(ProcedureRegistry& registry) {
    RegisterCoreProcedures(registry);
    RegisterCreditProcedures(registry);
    RegisterScaleProcedures(registry);
    RegisterDocumentProcedures(registry);
}

}  // namespace si::erpdb
