#include "suite/Components.h"

#include "suite/BoxTurnComponent.h"
#include "suite/InventoryTrace.h"
#include "suite/LedgerViewers.h"
#include "suite/MessageBoxComponent.h"

namespace si::suite {

void RegisterComponents(ComponentRegistry& registry) {
    registry.add(QStringLiteral("comMessage.comMSG"),
                 [] { return std::make_unique<MessageBoxComponent>(); });
    registry.add(QStringLiteral("vorInvTrace.vorInvTracePpt1"),
                 [] { return std::make_unique<InventoryTrace>(); });
    registry.add(QStringLiteral("comBoxTurn.comBoxTurn1"),
                 [] { return std::make_unique<BoxTurnComponent>(); });
    registry.add(QStringLiteral("comAccountDoc.comAccountDoc1"),
                 [] { return std::make_unique<AccountDocumentComponent>(); });
    registry.add(QStringLiteral("comSaleAssignment.comSaleAssign"),
                 [] { return std::make_unique<SaleAssignmentComponent>(); });
    registry.add(QStringLiteral("comAccountDetail.comAccountDetail1"),
                 [] { return std::make_unique<AccountDetailComponent>(); });
}

}  // namespace si::suite
