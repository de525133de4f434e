#pragma once
// The invoice being entered or edited, with its logic, apart from any form: what the invoice form
// works on, and all a job without a form (a batch final registration, an import) needs to open a
// stored invoice, change it and hand it to the save.

#include <memory>

#include "invoice/CashTurnSelector.h"
#include "invoice/InvoiceDocument.h"
#include "invoice/InvoiceServices.h"

namespace si {

class InvoiceEditor {
public:
    explicit InvoiceEditor(Context& ctx);
    ~InvoiceEditor();
    InvoiceEditor(const InvoiceEditor&) = delete;
    InvoiceEditor& operator=(const InvoiceEditor&) = delete;

    Context& ctx() { return ctx_; }
    InvoiceDocument& doc() { return doc_; }
    InvoiceServices& services() { return *services_; }
    // The shop's open cash turns; filled by prepare in shop mode.
    CashTurnSelector& cashTurns() { return cashTurns_; }

    // Once per editor: opens the session and reads what every invoice needs (the parameters, the
    // period, the user's branch and primary inventory, the look-up fields' views and the header's
    // defaults).
    void prepare();
    bool isPrepared() const { return prepared_; }

    // The fields cleared and given their defaults (the sticky ones keep their selection).
    void reset();
    // A stored invoice in view mode; false when there is no such invoice (nothing changes then).
    bool openForView(int id);
    // A stored invoice in edit mode; false when it cannot be edited (the reason was shown and the
    // editor holds a cleared invoice).
    bool openForEdit(int id);

private:
    void configureSelectors();
    void readUserFacts();

    Context& ctx_;
    InvoiceDocument doc_;
    std::unique_ptr<InvoiceServices> services_;
    CashTurnSelector cashTurns_{doc_};
    bool prepared_ = false;
};

}  // namespace si
