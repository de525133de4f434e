#pragma once
// FormFromInventoryDispatch: the dispatch asked by computer number (optID) or code (optCode), the
// warehouse that narrows a code (sltInventory) and the new invoice's date (dtpCreateDate). OK runs
// InvoiceFromDispatch and closes on success; a refusal leaves the dialog open.

#include <QDialog>
#include <functional>
#include <optional>

#include "controls/SelectorModel.h"
#include "linked/InvoiceFromDispatch.h"

class QLineEdit;
class QRadioButton;

namespace si {

class JalaliDateEdit;

class FormFromInventoryDispatch : public QDialog {
    Q_OBJECT
public:
    explicit FormFromInventoryDispatch(Context& ctx, QWidget* parent = nullptr);

    DispatchLookup lookup() const;
    std::optional<int> createdInvoice() const { return created_; }
    SelectorModel& sltInventory() { return inventory_; }

    void cmdOK_Click();

private:
    InvoiceFromDispatch logic_;
    SelectorModel inventory_;
    QRadioButton* optID_;
    QRadioButton* optCode_;
    QLineEdit* txtIDCode_;
    JalaliDateEdit* dtpCreateDate_;
    std::optional<int> created_;
};

// Shows the dialog modally; true, with the new invoice's ID in invoiceId, when one was created.
// Tests give present to drive the dialog instead of its modal loop.
bool CreateInvoiceFromDispatch(Context& ctx, QWidget* parent, int& invoiceId,
                               const std::function<void(FormFromInventoryDispatch&)>& present = {});

}  // namespace si
