// The commands of the invoice form and its keyboard shortcuts.

#include <QDate>

#include "common/Codes.h"
#include "common/CommandGuard.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "common/ScopedFlag.h"
#include "common/TextLimits.h"
#include "invoice/CustomerInfo.h"
#include "invoice/DiscountLogic.h"
#include "invoice/FormMainLogic.h"
#include "invoice/HeaderLogic.h"
#include "invoice/LinesTexts.h"

namespace si {

namespace {

const QString kAreYouSure = QStringLiteral("آيا مطمئن هستيد؟");

// The commands of the Ctrl shortcuts (besides Ctrl+1 to Ctrl+4, the payment presets).
const QHash<int, QString>& controlKeyCommands() {
    static const QHash<int, QString> commands = {
        {Qt::Key_N, QStringLiteral("cmdNew")},       {Qt::Key_E, QStringLiteral("cmdEdit")},
        {Qt::Key_D, QStringLiteral("cmdDelete")},    {Qt::Key_T, QStringLiteral("cmdTempSave")},
        {Qt::Key_S, QStringLiteral("cmdFinalSave")}, {Qt::Key_R, QStringLiteral("cmdBackToTemp")},
        {Qt::Key_F, QStringLiteral("cmdSearch")},    {Qt::Key_P, QStringLiteral("cmdView")},
        {Qt::Key_X, QStringLiteral("cmdExit")},      {Qt::Key_K, QStringLiteral("cmdCashTurn")},
        {Qt::Key_L, QStringLiteral("cmdCashFlow")}};
    return commands;
}

bool isPaymentPresetKey(int key) {
    return key >= Qt::Key_1 && key <= Qt::Key_4;
}

// Ctrl combinations count only with Ctrl alone.
Qt::KeyboardModifiers relevantModifiers(Qt::KeyboardModifiers modifiers) {
    return modifiers & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
}

}  // namespace

void FormMainLogic::cmdNew_Click() {
    if (!HasRight(*ctx_, Right::NewInvoice)) {
        ShowMessage(*ctx_, kErrorCaption, kNoRightMessage);
        return;
    }
    StartNewEntry();
}

bool FormMainLogic::editChecksPass() {
    if (!HasRight(*ctx_, Right::EditInvoice)) {
        ShowMessage(*ctx_, kErrorCaption, kNoRightMessage);
        return false;
    }
    const int ageLimit = ctx_->params.number(P::AgeLimitDays);
    if (ageLimit >= 0 && !HasRight(*ctx_, Right::EditPastAgeLimit) &&
        doc_.datCreateDate.isValid() &&
        std::abs(doc_.datCreateDate.daysTo(ctx_->db().today())) > ageLimit) {
        ShowMessage(*ctx_, kErrorCaption,
                    QStringLiteral("مدت زمان مجاز براي تغيير فاکتور سپري شده است. بنابراين امکان "
                                   "تغيير در اين فاکتور وجود ندارد."));
        return false;
    }
    const int dist = static_cast<int>(ToNumber(doc_.txtDistID));
    if (dist != 0 && dist != -1) {
        if (!HasRight(*ctx_, Right::EditInDistribution)) {
            ShowMessage(*ctx_, kErrorCaption,
                        QStringLiteral("شما مجاز به اصلاح فاکتور فروش موجود در حواله پخش نيستيد."));
            return false;
        }
        if (ctx_->db().first(
                QStringLiteral("Select Code, IsReturnGoodReceived  From tblDistributionReturn "
                               " Where DistributionInvoiceID = ?"),
                {dist})) {
            ShowMessage(
                *ctx_, kErrorCaption,
                QStringLiteral(
                    "از روي حواله توزيع مربوط به اين فاکتور، يک برگشت از حواله ثبت شده است. "
                    "بنابراين امکان تغيير در اين فاکتور وجود ندارد."));
            return false;
        }
    }
    return true;
}

// Edit in new or edit mode reloads or clears the invoice: what the clerk entered since is not
// dropped without a question.
bool FormMainLogic::discardAsked() {
    if (!hasUnsavedChanges()) return true;
    return AskYesNo(
               *ctx_, kAreYouSure,
               QStringLiteral("تغييرات ثبت نشده فاکتور از بين خواهد رفت. آيا ادامه مي دهيد؟")) ==
           kAnswerYes;
}

void FormMainLogic::cmdEdit_Click() {
    if (!editChecksPass()) return;
    const int id = doc_.invoiceID();
    const int dist = static_cast<int>(ToNumber(doc_.txtDistID));
    if (ctx_->db().first(
            QStringLiteral("Select * From tblDistributionReturn Where DistributionInvoiceID = ?"),
            {dist}))
        return;
    if (!discardAsked()) return;
    // Edit is offered for an invoice shown without a code; another workstation may have
    // finalised it since it was shown, which the reload tells.
    const bool shownFinal = doc_.hasCode();
    StartEditInvoice(id);
    if (!shownFinal && doc_.hasCode()) {
        ShowInvoiceByID(id);
        ShowMessage(*ctx_, kErrorCaption,
                    QStringLiteral("اين فاكتور پس از نمايش، در ايستگاه ديگري نهايي شده است و "
                                   "ديگر قابل اصلاح نيست."));
        refreshUi();
        return;
    }
    if (ctx_->db().first(
            QStringLiteral("Select * from tblSaleInvoiceScaleBarcode Where InvoiceID=?"), {id}))
        ShowMessage(*ctx_, QStringLiteral("هشدار"),
                    QStringLiteral("اين فاکتور از روي بارکدهاي ترازو توليد شده است، اصلاح کالاهاي "
                                   "داخل جدول ممکن نيست."));
    refreshUi();
}

void FormMainLogic::cmdCancel_Click() {
    if (AskYesNo(*ctx_, kAreYouSure, QStringLiteral("انصراف از ثبت ") + formTitle()) != kAnswerYes)
        return;
    if (doc_.FormMode == kModeNew)
        StartNewInvoice();
    else
        ShowInvoiceByID(doc_.invoiceID());
    refreshUi();
}

void FormMainLogic::cmdExit_Click() {
    if (doc_.FormMode == kModeEdit || doc_.FormMode == kModeNew) {
        cmdCancel_Click();
        return;
    }
    if (isAvailable(QStringLiteral("cmdCancel")) &&
        AskYesNo(*ctx_, kAreYouSure, QStringLiteral("خروج از ") + formTitle()) != kAnswerYes)
        return;
    if (ui_) ui_->unloadForm();
}

void FormMainLogic::cmdSearch_Click() {
    if (!HasRight(*ctx_, Right::Search)) {
        ShowMessage(*ctx_, kErrorCaption, kNoRightMessage);
        return;
    }
    const int id = ui_ ? ui_->runSearch() : 0;
    if (id > 0) ShowInvoiceByID(id);
    refreshUi();
}

void FormMainLogic::cmdTempSave_Click() {
    if (seams.SaveInvoice) seams.SaveInvoice(false);
    refreshUi();
}

void FormMainLogic::cmdFinalSave_Click() {
    if (seams.SaveInvoice) seams.SaveInvoice(true);
    refreshUi();
}

void FormMainLogic::cmdPrint_Click() {
    if (!seams.Print) return notAvailable();
    seams.Print(false);
}

void FormMainLogic::cmdView_Click() {
    if (!seams.Print) return notAvailable();
    seams.Print(true);
}

void FormMainLogic::cmdDelete_Click() {
    if (!seams.Delete) return notAvailable();
    seams.Delete();
    refreshUi();
}

void FormMainLogic::cmdBackToTemp_Click() {
    if (!seams.BackToTemp) return notAvailable();
    seams.BackToTemp();
    refreshUi();
}

void FormMainLogic::cmdGrandTotal_Click() {
    if (!seams.Payment) return notAvailable();
    seams.Payment(doc_.paymentPreset);
}

void FormMainLogic::cmdNewRelationship_Click() {
    Q_EMIT CreateNewRelationship(FormType::SaleInvoice, static_cast<int>(ToNumber(doc_.txtID)));
}

void FormMainLogic::cmdRelatedForms_Click() {
    Q_EMIT ShowRelationships(FormType::SaleInvoice, static_cast<int>(ToNumber(doc_.txtID)));
}

void FormMainLogic::cmdShouldSMSSend_Click() {
    if (!seams.EditText) return notAvailable();
    seams.EditText(
        QStringLiteral("متن پيامك"), StoredParameterText(ctx_->db(), P::SmsCustomerTemplate),
        [this](const QString& text) {
            bool stored = false;
            return Guarded(*ctx_, [&] { stored = storeCustomerSmsTemplate(text); }) && stored;
        });
}

// The description dialog's own rule refuses an empty text; a text the column cannot hold is
// refused as well, so the template is stored whole or not at all.
bool FormMainLogic::storeCustomerSmsTemplate(const QString& text) {
    if (text.trimmed().isEmpty()) {
        ShowMessage(*ctx_, lines::kProblemCaption, lines::kNoDescription);
        return false;
    }
    const QString problem = TextProblem(TextField::SmsTemplate, text);
    if (!problem.isEmpty()) {
        ShowMessage(*ctx_, lines::kProblemCaption, problem);
        return false;
    }
    constexpr int kSaleSystem = 9;
    constexpr int kEveryUser = -1;
    StoreParameterText(
        ctx_->db(), {P::SmsCustomerTemplate, kSaleSystem, StoredText(TextField::SmsTemplate, text),
                     kEveryUser, QStringLiteral("متن پيامك در فاكتور فروش")});
    return true;
}

bool FormMainLogic::runCommand(const QString& control) {
    if (!isAvailable(control)) return false;
    const QHash<QString, void (FormMainLogic::*)()> commands = {
        {QStringLiteral("cmdNew"), &FormMainLogic::cmdNew_Click},
        {QStringLiteral("cmdEdit"), &FormMainLogic::cmdEdit_Click},
        {QStringLiteral("cmdCancel"), &FormMainLogic::cmdCancel_Click},
        {QStringLiteral("cmdExit"), &FormMainLogic::cmdExit_Click},
        {QStringLiteral("cmdSearch"), &FormMainLogic::cmdSearch_Click},
        {QStringLiteral("cmdTempSave"), &FormMainLogic::cmdTempSave_Click},
        {QStringLiteral("cmdFinalSave"), &FormMainLogic::cmdFinalSave_Click},
        {QStringLiteral("cmdPrint"), &FormMainLogic::cmdPrint_Click},
        {QStringLiteral("cmdView"), &FormMainLogic::cmdView_Click},
        {QStringLiteral("cmdDelete"), &FormMainLogic::cmdDelete_Click},
        {QStringLiteral("cmdBackToTemp"), &FormMainLogic::cmdBackToTemp_Click},
        {QStringLiteral("cmdGrandTotal"), &FormMainLogic::cmdGrandTotal_Click},
        {QStringLiteral("cmdNewRelationship"), &FormMainLogic::cmdNewRelationship_Click},
        {QStringLiteral("cmdRelatedForms"), &FormMainLogic::cmdRelatedForms_Click},
        {QStringLiteral("cmdShouldSMSSend"), &FormMainLogic::cmdShouldSMSSend_Click},
    };
    auto it = commands.constFind(control);
    if (it != commands.constEnd()) {
        (this->*it.value())();
        return true;
    }
    if (control == QLatin1String("cmdRefreshEchantillon")) {
        services_->discounts->cmdRefreshEchantillon_Click();
        if (ui_) ui_->refreshView();
        return true;
    }
    const QHash<QString, std::function<void()>*> seamCommands = {
        {QStringLiteral("cmdCustomerName"), &seams.CustomerName},
        {QStringLiteral("cmdCashTurn"), &seams.CashTurn},
        {QStringLiteral("cmdCashFlow"), &seams.CashFlow},
        {QStringLiteral("cmdCashTurnPrint"), &seams.CashTurnPrint},
        {QStringLiteral("cmdCashPay"), &seams.CashPay},
        {QStringLiteral("cmdLottery"), &seams.Lottery},
        {QStringLiteral("cmdCustomerPrint"), &seams.CustomerPrint},
        {QStringLiteral("cmdCost"), &seams.Surcharges},
        {QStringLiteral("cmdDecs"), &seams.Deductions},
        {QStringLiteral("cmdShowEch"), &seams.ShowPromotions},
        {QStringLiteral("cmdReadFromBeepFile"), &seams.ReadBeepFile},
        {QStringLiteral("cmdSaveAccDoc"), &seams.SaveAccDoc},
        {QStringLiteral("cmdInvExit"), &seams.InvExit}};
    auto seam = seamCommands.constFind(control);
    if (seam != seamCommands.constEnd()) {
        if (*seam.value())
            (*seam.value())();
        else
            notAvailable();
        return true;
    }
    if (kLinkedCommands.contains(control)) {
        const auto linked = seams.linkedCommands.constFind(control);
        if (linked != seams.linkedCommands.constEnd() && *linked)
            (*linked)();
        else
            notAvailable();
        return true;
    }
    return runCustomerCommand(control);
}

// Commands the original names without defining: each does what a clerk looks for there.
bool FormMainLogic::runCustomerCommand(const QString& control) {
    const int customer = doc_.sltCustomer.IsEmpty() ? -1 : doc_.sltCustomer.ID();
    if (control == QLatin1String("cmdDebitInfo") ||
        control == QLatin1String("cmdCustomerDebitInfo")) {
        ShowMessage(*ctx_, QStringLiteral("اطلاعات بدهي مشتري"),
                    CustomerDebitText(ctx_->db(), customer));
        return true;
    }
    // The staff card reader types the card's tag; the promoter is then found by it.
    if (control == QLatin1String("cmdRFID")) {
        if (seams.ReadCardTag) doc_.rfidTag = seams.ReadCardTag();
        if (!doc_.rfidTag.isEmpty()) services_->header->lblPromoter_Click();
        refreshUi();
        return true;
    }
    if (kLaterCommands.contains(control)) {
        notAvailable();
        return true;
    }
    return false;
}

void FormMainLogic::notAvailable() {
    ShowMessage(*ctx_, QStringLiteral("اطلاع"),
                QStringLiteral("اين فرمان در اين نسخه هنوز فراهم نشده است."));
}

void FormMainLogic::runF10() {
    if (!isAvailable(QStringLiteral("cmdFinalSave")) || !f10Guard_) return;
    const ScopedFlag lowered(f10Guard_, false);
    cmdFinalSave_Click();
    if (seams.Print && isAvailable(QStringLiteral("cmdPrint"))) cmdPrint_Click();
}

bool FormMainLogic::routeControlKey(int key) {
    if (isPaymentPresetKey(key)) {
        if (!isAvailable(QStringLiteral("cmdGrandTotal"))) return true;
        doc_.paymentPreset = key - Qt::Key_1 + 1;
        cmdGrandTotal_Click();
        doc_.paymentPreset = -1;
        return true;
    }
    auto it = controlKeyCommands().constFind(key);
    if (it == controlKeyCommands().constEnd()) return false;
    runCommand(it.value());
    return true;
}

bool FormMainLogic::IsFormKey(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers relevant = relevantModifiers(modifiers);
    if (relevant == Qt::ControlModifier)
        return isPaymentPresetKey(key) || controlKeyCommands().contains(key);
    return relevant == Qt::NoModifier &&
           (key == Qt::Key_F1 || (key >= Qt::Key_F8 && key <= Qt::Key_F12));
}

bool FormMainLogic::RouteKeys(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers relevant = relevantModifiers(modifiers);
    if (relevant == Qt::ControlModifier) return routeControlKey(key);
    if (relevant != Qt::NoModifier) return false;
    switch (key) {
        case Qt::Key_F1:
            if (ui_) ui_->showKeyMap();
            return true;
        case Qt::Key_F8:
            runCommand(QStringLiteral("cmdTempSave"));
            return true;
        case Qt::Key_F9:
            runCommand(QStringLiteral("cmdFinalSave"));
            return true;
        case Qt::Key_F10:
            runF10();
            return true;
        case Qt::Key_F11:
            runCommand(QStringLiteral("cmdNew"));
            return true;
        case Qt::Key_F12:
            runCommand(QStringLiteral("cmdCustomerName"));
            return true;
        default:
            return false;
    }
}

void FormMainLogic::Form_Unload() {
    Q_EMIT unloaded();
}

}  // namespace si

namespace si {

void FormMainLogic::txtTempCustomerCash_Enter() {
    const Money cash = ParseAmount(doc_.txtTempCustomerCash);
    const Money total = doc_.totals.GrandTotal;
    if (cash >= total) doc_.txtTempCustomerCashReturn = FormatAmount(cash - total);
    if (ui_) ui_->refreshView();
}

void FormMainLogic::cmbCashTurn_Click(int index) {
    editor_.cashTurns().Select(index);
}

void FormMainLogic::RefillCashTurns() {
    editor_.cashTurns().Fill(ctx_->db(), ctx_->globals.CurrentUserID);
    if (ui_) ui_->refreshView();
}

}  // namespace si
