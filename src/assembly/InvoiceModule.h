#pragma once
// Every part of the module that a form or a headless job needs, owned for one invoice editor: the
// save (cmdTempSave, cmdFinalSave) and the re-post of the accounting document (cmdSaveAccDoc).
// Later parts (cash turn, SMS, printing, payment, delete) are owned and installed here too, so the
// component, the command line, jobs without a form, tests and benchmarks get the same module from
// InstallModule and no seam is left at its neutral default by accident.
//
// Ownership: the form's seams call into the module and the module works on the editor, so the
// module lives at most as long as the editor (and its form), and no command runs after the module
// is gone.

#include <memory>

#include "invoice/FormMainLogic.h"
#include "linked/AccountTurnover.h"
#include "linked/Launchers.h"
#include "payment/PaymentJournal.h"
#include "posting/BackToTemp.h"
#include "posting/CashDisplay.h"
#include "posting/CashTurnBooking.h"
#include "posting/InvoiceDeletion.h"
#include "posting/SaveFront.h"
#include "posting/SaveLogic.h"
#include "posting/SmsNotices.h"
#include "printing/InvoicePrinting.h"

namespace si {

class InvoiceModule {
public:
    InvoiceModule(const InvoiceModule&) = delete;
    InvoiceModule& operator=(const InvoiceModule&) = delete;
    ~InvoiceModule();

    SaveLogic& save() { return save_; }
    // The notices of cash bookings; a job that ends right after its save waits for them here.
    CashDisplayNotifier& cashDisplay() { return cashDisplay_; }
    // The SMS notices of a final save. On a form its SendSMS is the form's; a job without a form
    // connects to it to receive the messages.
    SmsNotices& sms() { return sms_; }
    // The workstation's journal of card payments, written once each after a crash.
    PaymentJournal& cardJournal() { return cardJournal_; }
    // cmdView, cmdPrint, cmdLottery, cmdCustomerPrint and the cash-turn contents. On a form its
    // PrintByDotNet is the form's; a job without a form chooses the template and the output file
    // here.
    InvoicePrinting& printing() { return printing_; }
    // cmdSaveAccDoc: posts the stored invoice's document again and shows its new number.
    void RepostDocument();
    // cmdBackToTemp on the stored invoice shown: the checks, then the back-to-temp component;
    // true when the invoice went back to temp. The form reloads it then.
    bool BackToTemp();
    // The buttons that open other modules' windows about the invoice.
    SiblingLaunchers& launchers() { return launchers_; }
    // cmdViewAccountDetails; a form with widgets gives it the chooser of accounts.
    AccountTurnoverCommand& accountTurnover() { return turnover_; }
    void useAccountChooser(std::unique_ptr<AccountChooser> chooser);
    // cmdDelete; a form with widgets gives it frmSelDeleteReason.
    InvoiceDeletion& deletion() { return deletion_; }
    void useDeleteReasonChooser(std::unique_ptr<DeleteReasonChooser> chooser);

private:
    friend std::unique_ptr<InvoiceModule> InstallModule(FormMainLogic& form);
    friend std::unique_ptr<InvoiceModule> InstallModule(InvoiceEditor& editor);
    InvoiceModule(InvoiceEditor& editor, std::unique_ptr<SaveFront> front);
    void installSaveSeams();
    void installSms();
    void installPrinting(FormMainLogic& form);

    InvoiceEditor& editor_;
    std::unique_ptr<SaveFront> front_;
    SaveLogic save_;
    CashTurnBooking cashTurn_;
    CashDisplayNotifier cashDisplay_;
    SmsNotices sms_;
    PaymentJournal cardJournal_;
    InvoicePrinting printing_;
    SiblingLaunchers launchers_;
    BackToTempCommand backToTemp_;
    std::unique_ptr<AccountChooser> accountChooser_;
    AccountTurnoverCommand turnover_;
    std::unique_ptr<DeleteReasonChooser> reasonChooser_;
    InvoiceDeletion deletion_;
};

// Creates the module for this form and installs every part into its seams. The widget-only
// commands (the dispatch viewer) are added by the form-level InstallModule of assembly/ui.
std::unique_ptr<InvoiceModule> InstallModule(FormMainLogic& form);

// The module for a job without a form: the same parts, the fields counted as shown as the system's
// parameters show them on a form, and no focus to move.
std::unique_ptr<InvoiceModule> InstallModule(InvoiceEditor& editor);

}  // namespace si
