#pragma once
// FormPromoter: the promoter of one goods line (Ctrl+B in the grid), chosen from the promoter
// list; OK needs right 90139 and a leaf of the promoter tree.

#include <QDialog>

#include "controls/SelectorModel.h"
#include "invoice/InvoiceServices.h"

namespace si {

class FormPromoter : public QDialog {
    Q_OBJECT
public:
    FormPromoter(InvoiceServices& services, int row, QWidget* parent = nullptr);
    // Shows the dialog for the row; true when OK changed the line's promoter.
    static bool choose(QWidget* parent, InvoiceServices& services, int row);

    SelectorModel& promoter() { return promoter_; }

    void accept() override;

private:
    InvoiceServices& services_;
    int row_;
    SelectorModel promoter_;
};

}  // namespace si
