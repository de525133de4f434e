#pragma once
// The inventory-dispatch viewer of cmdInvExit: the header of one dispatch and its lines, right to
// left and read-only. cmdInvExit_Click finds the invoice's dispatches (the clerk picks one when
// there are several) and shows it.

#include <QDialog>

#include "invoice/InvoiceServices.h"
#include "posting/DispatchView.h"

namespace si {

class FrmDispatchView : public QDialog {
    Q_OBJECT
public:
    explicit FrmDispatchView(const DispatchViewData& data, QWidget* parent = nullptr);
};

// cmdInvExit: shows the dispatch issued for the invoice the form holds (modal).
void cmdInvExit_Click(InvoiceServices& services, QWidget* parent);

}  // namespace si
