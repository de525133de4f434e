// The form's dialogs: the grid's, opened for the keys the line logic recognised, the surcharge
// and deduction lists behind cmdCost and cmdDecs, the walk-in buyer behind cmdCustomerName, and
// the free text of cmdShouldSMSSend.

#include "invoice/LinesLogic.h"
#include "invoice/ui/FormMain.h"
#include "invoice/ui/FormPricingMethod.h"
#include "invoice/ui/FormPromoter.h"
#include "invoice/ui/FrmBeepFile.h"
#include "invoice/ui/FrmCostTypel.h"
#include "invoice/ui/FrmCustomerName.h"
#include "invoice/ui/FrmDesTypel.h"
#include "invoice/ui/FrmDescription.h"
#include "invoice/ui/FrmGoodsPicker.h"
#include "invoice/ui/FrmPromotions.h"
#include "invoice/ui/FrmSelUnit.h"
#include "invoice/ui/FrmStockTrace.h"

#include <QInputDialog>

namespace si {

void FormMain::connectDialogs() {
    InvoiceServices& s = logic_->services();
    logic_->seams.Surcharges = [this, &s] {
        FrmCostTypel::edit(this, s);
        refreshView();
    };
    logic_->seams.Deductions = [this, &s] {
        FrmDesTypel::edit(this, s);
        refreshView();
    };
    // The original leaves cmdCustomerName undefined: here it takes this invoice's walk-in buyer.
    logic_->seams.CustomerName = [this, &s] {
        if (FrmCustomerName::edit(this, s.doc)) refreshView();
    };
    logic_->seams.ShowPromotions = [this, &s] { FrmPromotions::show(this, s); };
    logic_->seams.ReadCardTag = [this] {
        return QInputDialog::getText(this, QStringLiteral("کارت RFID"),
                                     QStringLiteral("کارت کارمند را به دستگاه نزديک کنيد:"))
            .trimmed();
    };
    logic_->seams.EditText = [this](const QString& title, const QString& text,
                                    const FrmDescription::Accept& accept) {
        FrmDescription::editText(this, title, text, accept);
    };
    logic_->seams.ReadBeepFile = [this, &s] {
        FrmBeepFile::read(this, s);
        refreshView();
    };
}

void FormMain::openGridDialog(GridAction action, int row) {
    InvoiceServices& s = logic_->services();
    switch (action) {
        case GridAction::ChoosePricingMethod:
            FormPricingMethod::choose(this, s, row);
            break;
        case GridAction::ChoosePromoter:
            FormPromoter::choose(this, s, row);
            break;
        case GridAction::ChooseUnit:
            FrmSelUnit::choose(this, s, row);
            break;
        case GridAction::EditDescription:
            FrmDescription::edit(this, s, row);
            break;
        case GridAction::ShowStockTrace:
            FrmStockTrace::view(this, s, row);
            break;
        case GridAction::ChooseGoods:
            pickGoods(row, {});
            break;
        case GridAction::ChooseServicedGoods: {
            const QString barcode = FrmGoodsPicker::choose(this, s);
            if (!barcode.isEmpty())
                GuardedEdit(s.doc, [&] { GoodsPicker(s).pickServiced(row, barcode); });
            break;
        }
        default:
            break;
    }
}

}  // namespace si
