#include "assembly/InvoiceModule.h"

#include "posting/AccountingDocument.h"

namespace si {

InvoiceModule::InvoiceModule(FormMainLogic& form) : form_(form), save_(form) {}

InvoiceModule::~InvoiceModule() = default;

void InvoiceModule::install() {
    form_.seams.SaveInvoice = [this](bool isFinal) { save_.SaveInvoice(isFinal); };
    form_.seams.SaveAccDoc = [this] { RepostDocument(); };
}

void InvoiceModule::RepostDocument() {
    const int id = AccountingDocument(form_.services()).cmdSaveAccDoc_Click();
    if (id > 0) form_.doc().lblAccountIDVal = QString::number(id);
    if (form_.ui()) form_.ui()->refreshView();
}

std::unique_ptr<InvoiceModule> InstallModule(FormMainLogic& form) {
    std::unique_ptr<InvoiceModule> module(new InvoiceModule(form));
    module->install();
    return module;
}

}  // namespace si
