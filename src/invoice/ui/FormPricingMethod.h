#pragma once
// FormPricingMethod: the pricing method of one goods line (F4 in the grid). The selector lists
// the methods that price the goods and that the user may use; choosing one shows its price, and
// OK (modes 1 and 2, right 90139) gives the line that method and price.

#include <QDialog>

#include "controls/SelectorModel.h"
#include "invoice/InvoiceServices.h"

class QLabel;
class QPushButton;

namespace si {

class FormPricingMethod : public QDialog {
    Q_OBJECT
public:
    FormPricingMethod(InvoiceServices& services, int row, QWidget* parent = nullptr);
    // Shows the dialog for the row; true when OK changed the line.
    static bool choose(QWidget* parent, InvoiceServices& services, int row);

    SelectorModel& method() { return method_; }
    Money shownPrice() const { return price_; }

    void accept() override;

private:
    void onMethodChanged();

    InvoiceServices& services_;
    int row_;
    SelectorModel method_;
    Money price_;
    QLabel* txtPrice_;
};

}  // namespace si
