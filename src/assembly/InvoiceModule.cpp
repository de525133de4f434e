#include "assembly/InvoiceModule.h"

#include "posting/AccountingDocument.h"

namespace si {

InvoiceModule::InvoiceModule(FormMainLogic& form)
    : form_(form), front_(form), save_(form.services(), front_) {}

InvoiceModule::~InvoiceModule() = default;

void InvoiceModule::install() {
    form_.seams.SaveInvoice = [this](bool isFinal) { save_.SaveInvoice(isFinal); };
    form_.seams.SaveAccDoc = [this] { RepostDocument(); };
}

void InvoiceModule::RepostDocument() {
    RepostShownInvoice(form_.ctx(), form_.doc());
    if (form_.ui()) form_.ui()->refreshView();
}

std::unique_ptr<InvoiceModule> InstallModule(FormMainLogic& form) {
    std::unique_ptr<InvoiceModule> module(new InvoiceModule(form));
    module->install();
    return module;
}

}  // namespace si
