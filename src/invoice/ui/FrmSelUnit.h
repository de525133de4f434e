#pragma once
// frmSelUnit: another sale unit for one goods line (F2 in the grid). Lists the units the goods may
// be sold in; OK hands the choice to the line logic, which checks it (a pricing method, a unit
// other than the current one, whole units, the stock) and converts quantity and price. A refused
// choice keeps the dialog open.

#include <QDialog>

#include "invoice/InvoiceServices.h"

class QListWidget;

namespace si {

class FrmSelUnit : public QDialog {
    Q_OBJECT
public:
    FrmSelUnit(InvoiceServices& services, int row, QWidget* parent = nullptr);
    // Shows the dialog for the row; true when the line took a new unit.
    static bool choose(QWidget* parent, InvoiceServices& services, int row);

    void accept() override;

private:
    InvoiceServices& services_;
    int row_;
    QListWidget* lstUnit_;
};

}  // namespace si
