#include "linked/ui/LinkedDialogs.h"

#include "common/Messages.h"
#include "invoice/InvoiceDocument.h"
#include "invoice/InvoiceServices.h"
#include "invoice/LinesLogic.h"
#include "linked/ChangeQty.h"
#include "linked/ui/FormFormIDs.h"
#include "linked/ui/FormFromInventoryDispatch.h"
#include "linked/ui/FrmChangeQty.h"
#include "posting/ui/FrmDispatchView.h"

namespace si {

namespace {

void cmdFromDispatch_Click(FormMainLogic& logic, QWidget& form) {
    int invoiceId = 0;
    if (CreateInvoiceFromDispatch(logic.ctx(), &form, invoiceId)) logic.StartEditInvoice(invoiceId);
}

void cmdChangeQty_Click(FormMainLogic& logic, QWidget& form) {
    InvoiceDocument& doc = logic.doc();
    const int invoiceId = doc.invoiceID();
    ChangeQtyCommand command(logic.ctx());
    if (const std::optional<QString> refused = command.refusal(invoiceId)) {
        ShowMessage(logic.ctx(), kErrorCaption, *refused);
        return;
    }
    const int row = logic.services().lines->currentRow();
    if (row < 0 || row >= doc.flexDetail.rowCount() || !doc.flexDetail.line(row).isFilled()) {
        ShowMessage(logic.ctx(), kErrorCaption, kChangeQtyNoLine);
        return;
    }
    const InvoiceLine& l = doc.flexDetail.line(row);
    FrmChangeQty dialog(logic.ctx(), {invoiceId, l.BarCode, l.ScaleID, l.Description}, l.GoodName,
                        &form);
    if (dialog.exec() == QDialog::Accepted) logic.ShowInvoiceByID(invoiceId);
}

}  // namespace

void ShowInvoiceDispatch(InvoiceServices& services, QWidget* parent, FormIdChooser& chooser) {
    const int id =
        ChooseFormID(InvoiceDispatchChoices(services.ctx, services.doc.invoiceID()), &chooser);
    if (id < 1) return;
    const std::optional<DispatchViewData> data = LoadDispatchView(services.ctx.db(), id);
    if (!data) return;
    FrmDispatchView dialog(*data, parent);
    dialog.exec();
}

void InstallLinkedDialogs(FormMainLogic& logic, QWidget& form) {
    logic.seams.linkedCommands[QStringLiteral("cmdFromDispatch")] = [&logic, &form] {
        cmdFromDispatch_Click(logic, form);
    };
    logic.seams.linkedCommands[QStringLiteral("cmdChangeQty")] = [&logic, &form] {
        cmdChangeQty_Click(logic, form);
    };
    logic.seams.InvExit = [&logic, &form] {
        DialogFormIdChooser chooser(&form);
        ShowInvoiceDispatch(logic.services(), &form, chooser);
    };
}

}  // namespace si
