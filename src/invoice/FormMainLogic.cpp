#include "invoice/FormMainLogic.h"

#include "common/CommandGuard.h"
#include "common/Jalali.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "common/Period.h"
#include "common/ScopedFlag.h"
#include "common/UpdateColumns.h"
#include "invoice/HeaderLogic.h"
#include "invoice/LinesLogic.h"
#include "invoice/PricingLogic.h"
#include "invoice/TotalsLogic.h"

namespace si {

FormMainLogic::FormMainLogic(Context& ctx, QObject* parent)
    : QObject(parent),
      ctx_(&ctx),
      editor_(ctx),
      doc_(editor_.doc()),
      services_(&editor_.services()) {}

FormMainLogic::~FormMainLogic() = default;

QString InvoiceFormTitle(const SystemParameters& params) {
    return params.flag(P::ShopMode) ? QStringLiteral("فاکتور فروش - فروشگاهي")
                                    : QStringLiteral("فاکتور فروش");
}

QString FormMainLogic::formTitle() const {
    return InvoiceFormTitle(ctx_->params);
}

void FormMainLogic::Form_Load() {
    editor_.prepare();
}

bool FormMainLogic::ViewInvoice(int id) {
    Form_Load();
    ShowInvoiceByID(id);
    refreshUi();
    return false;
}

bool FormMainLogic::ClearShow() {
    Form_Load();
    StartNewInvoice();
    refreshUi();
    return false;
}

bool FormMainLogic::ShowInvoiceByID(int id) {
    if (editor_.openForView(id)) {
        ApplyMode();
        return true;
    }
    StartNewInvoice();
    return false;
}

void FormMainLogic::StartNewInvoice() {
    doc_.FormMode = kModeCleared;
    ApplyMode();
    ResetForm();
}

// The focus goes to the line grid, where the first code is scanned, as in edit mode.
void FormMainLogic::StartNewEntry() {
    doc_.FormMode = kModeNew;
    ApplyMode();
    {
        const ScopedFlag loading(doc_.loading);
        ResetForm();
    }
    markEntryStart();
    if (ui_) ui_->focusControl(QStringLiteral("flexDetail"));
}

void FormMainLogic::StartEditInvoice(int id) {
    if (!editor_.openForEdit(id)) {
        ShowInvoiceByID(id);
        return;
    }
    ApplyMode();
    markEntryStart();
    if (ui_) ui_->focusControl(QStringLiteral("flexDetail"));
}

void FormMainLogic::markEntryStart() {
    entryStart_ = doc_.toInvoice();
}

bool FormMainLogic::hasUnsavedChanges() const {
    const bool entry = doc_.FormMode == kModeEdit || doc_.FormMode == kModeNew;
    return entry && (!entryStart_ || doc_.toInvoice() != *entryStart_);
}

void FormMainLogic::ResetForm() {
    editor_.reset();
}

bool FormMainLogic::guarded(const std::function<void()>& command) {
    const InvoiceDocument::Snapshot document = doc_.snapshot();
    const Availability availability = availability_;
    const bool masterDiscountRight = masterDiscountRight_;
    const std::optional<Invoice> entryStart = entryStart_;
    return Guarded(*ctx_, command, [&] {
        doc_.restore(document);
        availability_ = availability;
        masterDiscountRight_ = masterDiscountRight;
        entryStart_ = entryStart;
        refreshUi();
    });
}

void FormMainLogic::refreshUi() {
    if (ui_) ui_->refreshView();
}

}  // namespace si
