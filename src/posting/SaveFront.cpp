#include "posting/SaveFront.h"

#include "invoice/FormMainLogic.h"

namespace si {

bool FormSaveFront::isShown(const QString& control) const {
    return form_.availability().isShown(control);
}

void FormSaveFront::focus(const QString& control) {
    if (form_.ui()) form_.ui()->focusControl(control);
}

void FormSaveFront::modeChanged() {
    form_.ApplyMode();
}

HeadlessSaveFront::HeadlessSaveFront(const SystemParameters& params) {
    ApplyParameterVisibility(params, shown_);
}

}  // namespace si
