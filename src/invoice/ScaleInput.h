#pragma once
// Goods from weighing scales and scanners: weighing labels (parameters 3404 and 3405), a
// weighing station's prepared sale copied into the invoice (cmbScaleBarcode), and a scanner's
// text file of barcodes (cmdReadFromBeepFile). Its constructor gives the lines their
// weighing-label recogniser.

#include "invoice/InvoiceServices.h"

namespace si {

class ScaleInput {
public:
    explicit ScaleInput(InvoiceServices& services);

private:
    InvoiceServices& services_;
};

}  // namespace si
