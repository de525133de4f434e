#include "assembly/InvoiceModule.h"

#include "posting/AccountingDocument.h"

namespace si {

InvoiceModule::InvoiceModule(InvoiceEditor& editor, std::unique_ptr<SaveFront> front)
    : editor_(editor),
      front_(std::move(front)),
      save_(editor.services(), *front_),
      cashTurn_(editor.ctx(), editor.doc()),
      cashDisplay_(editor.ctx()),
      sms_(editor.ctx(), editor.doc()),
      printing_(editor.services()),
      launchers_(editor.ctx()),
      backToTemp_(editor.ctx()),
      turnover_(editor.ctx()),
      deletion_(editor.ctx()) {
    installSaveSeams();
    installSms();
}

void InvoiceModule::installSaveSeams() {
    SaveSeams& seams = save_.seams;
    seams.CheckCashTurn = [this] { return cashTurn_.CheckCashTurn(); };
    seams.SaveCashTurnDetail = [this] { return cashTurn_.SaveCashTurnDetail(); };
    seams.NotifyCashDisplay = [this](int cashId, int invoiceId) {
        cashDisplay_.NotifyCashDisplay(cashId, invoiceId);
    };
}

InvoiceModule::~InvoiceModule() = default;

void InvoiceModule::useAccountChooser(std::unique_ptr<AccountChooser> chooser) {
    accountChooser_ = std::move(chooser);
    turnover_.setChooser(accountChooser_.get());
}

void InvoiceModule::useDeleteReasonChooser(std::unique_ptr<DeleteReasonChooser> chooser) {
    reasonChooser_ = std::move(chooser);
    deletion_.setChooser(reasonChooser_.get());
}

void InvoiceModule::RepostDocument() {
    RepostShownInvoice(editor_.ctx(), editor_.doc());
}

bool InvoiceModule::BackToTemp() {
    const InvoiceDocument& doc = editor_.doc();
    return backToTemp_.Run(doc.invoiceID(), doc.hasCode());
}

// The save's SMS seams reach this module's notices, on a form and in a job alike.
void InvoiceModule::installSms() {
    save_.seams.SendCustomerSms = [this](int customer, Money) { sms_.SendCustomerSms(customer); };
    save_.seams.SendPromoterSms = [this](int promoter, Money total) {
        sms_.SendPromoterSms(promoter, total);
    };
}

// The form's print commands, with the new print count shown after a print.
void InvoiceModule::installPrinting(FormMainLogic& form) {
    QObject::connect(&printing_, &ReportPrinter::PrintByDotNet, &form,
                     &FormMainLogic::PrintByDotNet, Qt::DirectConnection);
    form.seams.Print = [this, &form](bool preview) {
        printing_.Print(preview);
        if (form.ui()) form.ui()->refreshView();
    };
    form.seams.Lottery = [this] { printing_.cmdLottery_Click(); };
    form.seams.CustomerPrint = [this] { printing_.cmdCprint_Click(); };
}

std::unique_ptr<InvoiceModule> InstallModule(FormMainLogic& form) {
    std::unique_ptr<InvoiceModule> module(
        new InvoiceModule(form.editor(), std::make_unique<FormSaveFront>(form)));
    InvoiceModule* m = module.get();
    QObject::connect(&m->sms(), &SmsNotices::SendSMS, &form, &FormMainLogic::SendSMS);
    form.seams.SaveInvoice = [m](bool isFinal) { m->save().SaveInvoice(isFinal); };
    form.seams.SaveAccDoc = [m, &form] {
        m->RepostDocument();
        if (form.ui()) form.ui()->refreshView();
    };
    form.seams.BackToTemp = [m, &form] {
        const int id = form.doc().invoiceID();
        if (m->BackToTemp()) form.ShowInvoiceByID(id);
    };
    // A deleted invoice leaves the form cleared; a refused or failed one stays shown.
    form.seams.Delete = [m, &form] {
        if (m->deletion().cmdDelete_Click(InvoiceToDeleteOf(form.doc()))) form.StartNewInvoice();
    };
    m->installPrinting(form);
    InstallLaunchers(form, m->launchers());
    InstallAccountTurnover(form, m->accountTurnover());
    return module;
}

std::unique_ptr<InvoiceModule> InstallModule(InvoiceEditor& editor) {
    return std::unique_ptr<InvoiceModule>(
        new InvoiceModule(editor, std::make_unique<HeadlessSaveFront>(editor.ctx().params)));
}

}  // namespace si
