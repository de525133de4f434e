#pragma once
// The module installed into a form on screen: everything InstallModule(FormMainLogic&) installs,
// plus the commands that open a window of their own (cmdInvExit's dispatch viewer, the invoice
// from a dispatch, the quantity change).

#include <memory>

#include "assembly/InvoiceModule.h"

namespace si {

class FormMain;

std::unique_ptr<InvoiceModule> InstallModule(FormMain& form);

}  // namespace si
