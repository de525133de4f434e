#pragma once
// The form's linked commands that open a dialog of their own: cmdFromDispatch (a new invoice from
// an inventory dispatch, then loaded for editing), cmdChangeQty (frmChangeQty for the current line
// of a distribution sheet's invoice, which is shown again after the change) and cmdInvExit (the
// invoice's dispatch, chosen in FormFormIDs when there are several).

#include <QWidget>

#include "invoice/FormMainLogic.h"
#include "linked/FormFormIDs.h"

namespace si {

// cmdInvExit: the chosen dispatch of the invoice in the dispatch viewer (modal).
void ShowInvoiceDispatch(InvoiceServices& services, QWidget* parent, FormIdChooser& chooser);

void InstallLinkedDialogs(FormMainLogic& logic, QWidget& form);

}  // namespace si
