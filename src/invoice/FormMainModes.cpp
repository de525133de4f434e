// ApplyMode, the refresh timer and what the form shows at load: the availability of every
// command and field by mode, code, rights and parameters.

#include "common/Codes.h"
#include "common/Numbers.h"
#include "invoice/FormMainLogic.h"

namespace si {

namespace {

const char* const kHeaderFields[] = {
    "sltCustomer",   "sltInventory", "sltContract",    "sltDeliverType", "sltIntroductionType",
    "sltPreCond",    "sltType",      "sltDistributer", "txtGhabz",       "gdpDeliverDate",
    "txtLoanExpire", "dtpClearDate", "sltPromoter",    "txtNotes",       "sltPaidByCash",
    "cmdCalcAvgDate"};
const char* const kEntryCommands[] = {
    "sltPromoter2", "cmdReadFromBeepFile", "cmdRefreshEchantillon", "cmdShowEch", "txtUsedCredit",
    "sltAchiever",  "cmbCashTurn"};
const char* const kMasterDiscount[] = {"txtMasterDiscountValue", "txtMasterDiscountPercent",
                                       "optMasterDiscountValue", "optMasterDiscountPercent"};

void setAll(Availability& a, std::initializer_list<const char*> names, bool on) {
    for (const char* n : names)
        a.enable(QString::fromLatin1(n), on);
}
template <size_t N>
void setAll(Availability& a, const char* const (&names)[N], bool on) {
    for (const char* n : names)
        a.enable(QString::fromLatin1(n), on);
}

}  // namespace

void FormMainLogic::applyModeAvailability(bool code, Availability& a) {
    const int mode = doc_.FormMode;
    const bool view = mode == kModeView;
    const bool entry = mode == kModeEdit || mode == kModeNew;
    const bool cleared = mode == kModeCleared;
    a.enable(QStringLiteral("cmdNew"), view || cleared);
    a.enable(QStringLiteral("cmdEdit"), (view && !code) || entry || cleared);
    a.enable(QStringLiteral("cmdDelete"), view && !code);
    setAll(a, {"cmdTempSave", "cmdFinalSave"}, entry);
    setAll(a, {"cmdBackToTemp", "cmdGrandTotal", "cmdSaveAccDoc", "cmdInvExit"}, view && code);
    a.enable(QStringLiteral("cmdCancel"), entry);
    setAll(a, {"cmdView", "cmdPrint", "cmdLottery"}, view);
    a.enable(QStringLiteral("cmdExit"), true);
    a.enable(QStringLiteral("cmdCustomerName"), view || entry);
    setAll(a, {"cmdCost", "cmdDecs"}, entry || cleared);
    setAll(a, kEntryCommands, entry);
    setAll(a, kHeaderFields, entry);
    setAll(a, {"txtSuCharge", "txtDecs"}, false);
    // Other modules' documents about the invoice need a stored one; the boxes open empty.
    setAll(a, {"cmdAccTrans", "cmdAssignment", "cmdBoxReceiveGroup", "cmdRPDGenRec"}, view);
    setAll(a, {"cmdBoxReceive", "cmdReceive", "cmdRPDRecieve", "cmdRPDCashRec", "cmdRPDRecDiv"},
           true);
    a.enable(QStringLiteral("txtPureTotalValue"), entry);
    // A new invoice from a dispatch replaces what the form shows, as cmdNew does.
    a.enable(QStringLiteral("cmdFromDispatch"), view || cleared);
    // Quantities of a distribution sheet's invoice change while it is temporary.
    a.enable(QStringLiteral("cmdChangeQty"), view && !code && doc_.txtDistID.toInt() > 0);
    // The lines of an invoice made from weighing-station barcodes are the station's: locked.
    a.gridEditable = entry && doc_.scaleBarcodes.isEmpty();
}

// The rights are asked together, once per apply, not once per control.
void FormMainLogic::applyRightsAvailability(Availability& a) {
    const int mode = doc_.FormMode;
    const bool view = mode == kModeView;
    const bool entry = mode == kModeEdit || mode == kModeNew;
    masterDiscountRight_ = false;
    if (!view && !entry) {
        setAll(a,
               {"cmbScaleBarcode", "chkShouldSMSSend", "cmdShouldSMSSend", "chkCheckEchantillon",
                "chkIsFormal", "sltPricingMethod", "datCreateDate"},
               false);
        return;
    }
    if (view) {
        a.enable(QStringLiteral("cmbScaleBarcode"), HasRight(*ctx_, Right::ScaleBarcodeLayout));
        setAll(a,
               {"chkShouldSMSSend", "cmdShouldSMSSend", "chkCheckEchantillon", "chkIsFormal",
                "sltPricingMethod", "datCreateDate"},
               false);
        return;
    }
    const QSet<int> held =
        HeldRights(*ctx_, {Right::ScaleBarcodeLayout, Right::SendSms, Right::SampleGoodsCheck,
                           Right::FormalInvoice, Right::PricingMethod, Right::InvoiceDate,
                           Right::MasterDiscount});
    a.enable(QStringLiteral("cmbScaleBarcode"), held.contains(Right::ScaleBarcodeLayout));
    setAll(a, {"chkShouldSMSSend", "cmdShouldSMSSend"}, held.contains(Right::SendSms));
    a.enable(QStringLiteral("chkCheckEchantillon"), held.contains(Right::SampleGoodsCheck));
    a.enable(QStringLiteral("chkIsFormal"), held.contains(Right::FormalInvoice));
    a.enable(QStringLiteral("sltPricingMethod"), held.contains(Right::PricingMethod));
    a.enable(QStringLiteral("datCreateDate"), held.contains(Right::InvoiceDate));
    masterDiscountRight_ = held.contains(Right::MasterDiscount);
}

void FormMainLogic::applyLoadVisibility(Availability& a) const {
    ApplyParameterVisibility(ctx_->params, a);
}

// Temp and final save need a customer (or the account objects) and a first line with goods, and
// the customer's turnover a customer; the relationship commands exist only for a stored invoice
// outside shop mode.
void FormMainLogic::applyRefreshRule(Availability& a) const {
    const bool customer = !doc_.sltCustomer.IsEmpty() || ctx_->params.flag(P::AccountObjects);
    const bool firstLine =
        doc_.flexDetail.rows() > 0 && !doc_.flexDetail.line(0).GoodName.trimmed().isEmpty();
    const bool canSave = doc_.FormMode != kModeView && customer && firstLine;
    a.enable(QStringLiteral("cmdTempSave"), canSave);
    a.enable(QStringLiteral("cmdFinalSave"), canSave);
    a.enable(QStringLiteral("cmdViewAccountDetails"), customer);
    // An automatic discount by invoice value holds the master discount boxes.
    setAll(a, kMasterDiscount, masterDiscountRight_ && !doc_.masterDiscountLocked);
    const bool relations = doc_.FormMode == kModeView && !ctx_->params.flag(P::ShopMode);
    for (const char* c : {"cmdNewRelationship", "cmdRelatedForms", "cmdMedia"})
        a.enable(QString::fromLatin1(c), relations);
}

void FormMainLogic::ApplyMode() {
    Availability a;
    a.title = formTitle();
    switch (doc_.FormMode) {
        case kModeView:
            a.title += QStringLiteral(" (مشاهده)");
            break;
        case kModeEdit:
            a.title += QStringLiteral(" (اصلاح)");
            break;
        case kModeNew:
            a.title += QStringLiteral(" (جديد)");
            break;
        default:
            break;
    }
    setAll(a, {"txtID", "txtDistID", "sltCreator"}, false);
    setAll(a, kMasterDiscount, false);
    applyModeAvailability(doc_.hasCode(), a);
    applyRightsAvailability(a);
    if (doc_.FormMode == kModeCleared) {
        a.enable(QStringLiteral("sltPromoter"), !ctx_->params.flag(P::PromoterByRfid));
        setAll(a, {"sltCRMCardType", "sltCreatorEmployee"}, false);
    }
    applyLoadVisibility(a);
    applyRefreshRule(a);
    doc_.flexDetail.setEditable(a.gridEditable);
    availability_ = a;
    Q_EMIT modeApplied();
    refreshUi();
}

void FormMainLogic::RefreshTimer_Timer() {
    Availability a = availability_;
    applyRefreshRule(a);
    if (a.enabled() == availability_.enabled()) return;
    availability_ = a;
    refreshUi();
}

QString FormMainLogic::exitFocusTarget() const {
    const QString related = QStringLiteral("cmdRelatedForms");
    if (availability_.isShown(related) && isAvailable(related)) return related;
    if (isAvailable(QStringLiteral("sltType"))) return QStringLiteral("sltType");
    return QStringLiteral("cmdNewCustomer");
}

QString FormMainLogic::activationFocus() const {
    if (ctx_->params.flag(P::ScaleLayoutList)) return QStringLiteral("cmbScaleBarcode");
    if (!doc_.txtID.trimmed().isEmpty()) return QStringLiteral("cmdEdit");
    if (isAvailable(QStringLiteral("cmdNew"))) return QStringLiteral("cmdNew");
    return {};
}

}  // namespace si
