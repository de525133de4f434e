#include "suite/BackToTempComponent.h"

#include "common/Codes.h"
#include "common/Session.h"
#include "erpdb/Procedures.h"
#include "suite/BackToTempState.h"

namespace si::suite {

namespace {

// The ERP database's procedures, for the component's own connection.
const ProcedureRegistry& ErpProcedures() {
    static const ProcedureRegistry registry = [] {
        ProcedureRegistry r;
        erpdb::RegisterProcedures(r);
        return r;
    }();
    return registry;
}

const QString kFailed = QStringLiteral("بازگشت به حالت موقت انجام نشد و چيزي تغيير نكرد. علت: ");

}  // namespace

void BackToTempComponent::ClearShow() {
    attempt([this] {
        try {
            returnToTemp();
        } catch (const SqlError& e) {
            refuse(kFailed + (e.connectionLost() ? kConnectionLostMessage : e.driverText()));
        }
    });
}

void BackToTempComponent::returnToTemp() {
    if (formTypeId_ != FormType::SaleInvoice) {
        refuse(QStringLiteral("بازگشت اين نوع فرم به حالت موقت پشتيباني نمي شود."));
        return;
    }
    Session& s = session();
    s.setProcedures(&ErpProcedures());
    const QString reason = ReturnSaleInvoiceToTemp(s, formId_, userId());
    if (!reason.isEmpty()) refuse(reason);
}

}  // namespace si::suite
