#include "assembly/ui/InvoiceModuleUi.h"

#include "invoice/ui/FormMain.h"
#include "posting/ui/FrmDispatchView.h"

namespace si {

std::unique_ptr<InvoiceModule> InstallModule(FormMain& form) {
    FormMainLogic& logic = form.logic();
    auto module = InstallModule(logic);
    logic.seams.InvExit = [&logic, &form] { cmdInvExit_Click(logic.services(), &form); };
    return module;
}

}  // namespace si
