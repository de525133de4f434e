#pragma once
// Registers the suite's sibling components under their ProgIDs.

#include "common/ComponentRegistry.h"

namespace si::suite {

void RegisterComponents(ComponentRegistry& registry);

}  // namespace si::suite
