#pragma once
// The dialog of cmdCustomerName (F12): the walk-in buyer's name and phone for this invoice, typed
// from the keyboard (Enter is OK, Esc cancels). While the invoice is entered or edited, OK gives
// them to the invoice under the rules of ReadWalkInBuyer; a refusal shows its message and keeps
// the dialog open on the field at fault. A stored invoice only shows them.

#include <QDialog>

#include "invoice/InvoiceDocument.h"

class QLineEdit;

namespace si {

class FrmCustomerName : public QDialog {
    Q_OBJECT
public:
    explicit FrmCustomerName(InvoiceDocument& doc, QWidget* parent = nullptr);
    // Shows the dialog; true when the invoice took a changed buyer.
    static bool edit(QWidget* parent, InvoiceDocument& doc);

    void accept() override;
    bool changed() const { return changed_; }

private:
    QLineEdit* addField(const char* name, const QString& text, int maxLength);

    InvoiceDocument& doc_;
    bool editable_;
    bool changed_ = false;
    QLineEdit* txtName_;
    QLineEdit* txtPhone_;
};

}  // namespace si
