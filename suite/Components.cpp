#include "suite/Components.h"

#include "suite/MessageBoxComponent.h"

namespace si::suite {

void RegisterComponents(ComponentRegistry& registry) {
    registry.add(QStringLiteral("comMessage.comMSG"),
                 [] { return std::make_unique<MessageBoxComponent>(); });
}

}  // namespace si::suite
