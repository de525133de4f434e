#pragma once
// cmdReadFromBeepFile: the clerk picks a portable scanner's text file, and its cards and barcodes
// are read into the invoice (ScaleInput::ReadBeepLines), with a progress dialog that appears
// when the reading takes a while and can stop it.

#include "invoice/InvoiceServices.h"

class QWidget;

namespace si {

class FrmBeepFile {
public:
    FrmBeepFile() = delete;
    // Returns the number of goods lines the grid gained; 0 when no file was chosen.
    static int read(QWidget* parent, InvoiceServices& services);
};

}  // namespace si
