#include "assembly/ui/InvoiceModuleUi.h"

#include <QTimer>

#include "common/ComponentRegistry.h"
#include "common/Messages.h"
#include "invoice/ui/FormMain.h"
#include "linked/ui/FrmSelectAccount.h"
#include "linked/ui/LinkedDialogs.h"
#include "payment/PosWorkstation.h"
#include "payment/WorkstationPayment.h"
#include "payment/ui/FormPosConfig.h"
#include "payment/ui/PayByCard.h"
#include "posting/CashTurnBooking.h"
#include "posting/ui/FrmCashContents.h"
#include "posting/ui/FrmCashFlow.h"
#include "posting/ui/FrmSelDeleteReason.h"
#include "printing/CashContentsPrint.h"
#include "printing/ui/FrmReport.h"

namespace si {

namespace {

const QString kBoxTurnProgId = QStringLiteral("comBoxTurn.comBoxTurn1");

// The cash-box module's turn manager, given the user and the connection; its messages go out as
// the form's own. Nothing when the module is not installed.
std::unique_ptr<QObject> boxTurn(FormMainLogic& logic) {
    Context& ctx = logic.ctx();
    auto component = ctx.components->create(kBoxTurnProgId);
    if (!component) {
        ShowMessage(ctx, kErrorCaption, QStringLiteral("ماژول نوبت صندوق نصب نشده است."));
        return nullptr;
    }
    SetProperties(*component, {{"UserID", ctx.globals.CurrentUserID},
                               {"PositionID", ctx.globals.CurrentPositionID},
                               {"EmployeeID", ctx.globals.CurrentEmployeeID},
                               {"OLEConnectionString", ctx.globals.CurrentConnectionString},
                               {"SystemID", 1}});
    QObject::connect(component.get(), SIGNAL(SendSMS(QString, QString)), &logic,
                     SIGNAL(SendSMS(QString, QString)));
    return component;
}

void installCashTurn(FormMainLogic& logic, FormMain& form, ReportPrinter& printer) {
    logic.seams.CashTurn = [&logic] {
        if (auto component = boxTurn(logic)) {
            Invoke(*component, "Show");
            logic.RefillCashTurns();
        }
    };
    logic.seams.CashPay = [&logic] {
        const InvoiceDocument& doc = logic.doc();
        if (doc.CashID == -1 || doc.Turn == -1) {
            ShowMessage(logic.ctx(), kErrorCaption, kNoOpenCashTurn);
            return;
        }
        if (auto component = boxTurn(logic)) {
            SetProperties(*component, {{"CashID", doc.CashID}, {"Turn", doc.Turn}});
            Invoke(*component, "ShowPay");
        }
    };
    logic.seams.CashTurnPrint = [&logic, &form, &printer] {
        cmdCashTurnPrint_Click(
            logic.ctx(), logic.doc(), &form, [&printer](FrmCashContents& contents) {
                PrintCashContents(printer, {contents.cashName(), contents.labelTexts()});
            });
    };
    logic.seams.CashFlow = [&logic, &form] { cmdCashFlow_Click(logic.ctx(), logic.doc(), &form); };
}

// cmdGrandTotal and Ctrl+1 to Ctrl+4: the card payment on the user's terminal; a terminal the
// workstation has not settled is chosen in the terminal configuration.
void installCardPayment(FormMainLogic& logic, FormMain& form, PaymentJournal& journal) {
    logic.seams.Payment = [&logic, &form, &journal](int) {
        const auto settings = OpenWorkstationSettings();
        QSettings& workstation = *settings;
        PayByCard(logic, journal,
                  WorkstationCardPayment(logic.ctx(), workstation,
                                         [&logic, &form, &workstation](PosConfigLogic&) {
                                             FormPosConfig config(logic.ctx(), workstation, &form);
                                             config.showSetting();
                                             return config.result() == QDialog::Accepted;
                                         }),
                  &form);
    };
    // Approvals a stopped workstation left in the journal are written when the form is up.
    QTimer::singleShot(0, &form,
                       [&logic, &journal] { RecoverJournaledPayments(logic.ctx(), journal); });
}

}  // namespace

std::unique_ptr<InvoiceModule> InstallModule(FormMain& form) {
    FormMainLogic& logic = form.logic();
    auto module = InstallModule(logic);
    InstallLinkedDialogs(logic, form);
    // One chooser for the form, keeping its last form type and choice between prints.
    module->printing().setChooser(new FrmReport(logic.ctx(), &form));
    installCashTurn(logic, form, module->printing());
    installCardPayment(logic, form, module->cardJournal());
    module->useAccountChooser(std::make_unique<DialogAccountChooser>(logic.ctx(), &form));
    module->useDeleteReasonChooser(std::make_unique<DialogDeleteReasonChooser>(&form));
    return module;
}

}  // namespace si
