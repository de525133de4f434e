#pragma once
// frmStockTrace: the stock trace of one goods line (F7 in the grid): every receipt and dispatch
// of the goods in the invoice's inventory up to the invoice date, in base units, with the running
// balance; the last balance is the stock on hand the line sees.

#include <QDialog>

#include "invoice/InvoiceServices.h"

namespace si {

class FrmStockTrace : public QDialog {
    Q_OBJECT
public:
    FrmStockTrace(InvoiceServices& services, int row, QWidget* parent = nullptr);
    // Shows the trace of the row's goods (modal).
    static void view(QWidget* parent, InvoiceServices& services, int row);
};

}  // namespace si
