#pragma once
// Entering a JSON invoice as a clerk would: a new invoice with its defaults, then the header
// fields (each firing its change handler and held to the same rights as on the form), each line
// typed into the grid, the master discount, surcharges and deductions, and the save. Every
// refusal is the form's own message; the first one stops the entry and nothing is written.

#include <QString>
#include <memory>

#include "InvoiceJson.h"
#include "assembly/InvoiceModule.h"
#include "common/TextLimits.h"
#include "invoice/FormMainLogic.h"

namespace si::cli {

class InvoiceEntry {
public:
    explicit InvoiceEntry(Context& ctx);
    ~InvoiceEntry();

    FormMainLogic& form() { return *form_; }
    SaveLogic& save() { return module_->save(); }
    InvoiceModule& module() { return *module_; }

    // Enters and saves; true when the invoice was stored. A refusal returns false after its
    // message (standard error through the console message box).
    bool create(const JsonInvoice& invoice, bool final);
    // A new invoice filled as create fills it, not saved; false after a refusal's message.
    bool enter(const JsonInvoice& invoice);
    // Opens a stored temporary invoice for editing and saves it finally.
    bool finalize(int invoiceId);
    // Loads a stored invoice as the form shows it; false when it does not exist.
    bool show(int invoiceId);

private:
    bool saveInvoice(bool final);
    bool refuse(const QString& text);
    void queueSms(const QString& phone, const QString& text);
    bool header(const JsonInvoice& inv);
    bool select(SelectorModel& selector, const char* control, const Given<int>& value,
                const QString& what);
    bool setDate(const Given<QString>& date);
    bool setFlags(const JsonInvoice& inv);
    bool acceptText(TextField field, const QString& text, const QString& where);
    bool setText(QString& target, TextField field, const Given<QString>& text, const char* key);
    bool walkInBuyer(const JsonInvoice& inv);
    bool cashTurn(const JsonInvoice& inv);
    bool lines(const JsonInvoice& inv);
    bool line(const JsonLine& l, int index);
    bool lineDetails(const JsonLine& l, int row, int index);
    bool cell(int row, int col, const QString& text, int index, const QString& what);
    bool masterDiscount(const JsonInvoice& inv);
    bool surcharges(const JsonInvoice& inv);
    bool deductions(const JsonInvoice& inv);
    bool enabled(const char* control, const QString& what);

    Context& ctx_;
    std::unique_ptr<FormMainLogic> form_;
    std::unique_ptr<InvoiceModule> module_;
};

}  // namespace si::cli
