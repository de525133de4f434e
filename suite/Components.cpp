#include "suite/Components.h"

#include "suite/BoxTurnComponent.h"
#include "suite/InventoryTrace.h"
#include "suite/MessageBoxComponent.h"
#include "suite/report/ReportComponent.h"

namespace si::suite {

void RegisterComponents(ComponentRegistry& registry) {
    registry.add(QStringLiteral("comMessage.comMSG"),
                 [] { return std::make_unique<MessageBoxComponent>(); });
    registry.add(QStringLiteral("vorInvTrace.vorInvTracePpt1"),
                 [] { return std::make_unique<InventoryTrace>(); });
    registry.add(QStringLiteral("comBoxTurn.comBoxTurn1"),
                 [] { return std::make_unique<BoxTurnComponent>(); });
    registry.add(QStringLiteral("comCrystalReport.comCrystalRpt"),
                 [] { return std::make_unique<ReportComponent>(); });
}

}  // namespace si::suite
