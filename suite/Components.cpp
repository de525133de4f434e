#include "suite/Components.h"

#include "suite/InventoryTrace.h"
#include "suite/MessageBoxComponent.h"

namespace si::suite {

void RegisterComponents(ComponentRegistry& registry) {
    registry.add(QStringLiteral("comMessage.comMSG"),
                 [] { return std::make_unique<MessageBoxComponent>(); });
    registry.add(QStringLiteral("vorInvTrace.vorInvTracePpt1"),
                 [] { return std::make_unique<InventoryTrace>(); });
}

}  // namespace si::suite
