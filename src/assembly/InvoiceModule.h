#pragma once
// Every part of the module that a form or a headless job needs, owned for one form: the save
// (cmdTempSave, cmdFinalSave) and the re-post of the accounting document (cmdSaveAccDoc). Later
// parts (cash turn, SMS, printing, payment, delete) are owned and installed here too, so the
// component, the command line, tests and benchmarks get the same module from InstallModule and
// no seam is left at its neutral default by accident.
//
// Ownership: the form's seams call into the module and the module works on the form, so the
// module lives at most as long as the form and the form runs no command after the module is gone.

#include <memory>

#include "invoice/FormMainLogic.h"
#include "posting/SaveFront.h"
#include "posting/SaveLogic.h"

namespace si {

class InvoiceModule {
public:
    InvoiceModule(const InvoiceModule&) = delete;
    InvoiceModule& operator=(const InvoiceModule&) = delete;
    ~InvoiceModule();

    SaveLogic& save() { return save_; }

private:
    friend std::unique_ptr<InvoiceModule> InstallModule(FormMainLogic& form);
    explicit InvoiceModule(FormMainLogic& form);

    void install();
    // cmdSaveAccDoc: posts the stored invoice's document again and shows its new number.
    void RepostDocument();

    FormMainLogic& form_;
    FormSaveFront front_;
    SaveLogic save_;
};

// Creates the module for this form and installs every part into its seams. The widget-only
// commands (the dispatch viewer) are added by the form-level InstallModule of assembly/ui.
std::unique_ptr<InvoiceModule> InstallModule(FormMainLogic& form);

}  // namespace si
