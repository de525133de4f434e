#include "posting/SaveLogic.h"

namespace si {

SaveLogic::SaveLogic(FormMainLogic& form) : form_(form) {}
SaveLogic::~SaveLogic() = default;

}  // namespace si
