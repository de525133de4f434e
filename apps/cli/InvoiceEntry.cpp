#include "InvoiceEntry.h"

#include <algorithm>

#include "common/Jalali.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "common/SmsOutbox.h"
#include "common/TextLimits.h"
#include "invoice/HeaderLogic.h"
#include "invoice/LineLookups.h"
#include "invoice/LinesLogic.h"
#include "invoice/PricingLogic.h"
#include "invoice/TotalsLogic.h"
#include "invoice/WalkInBuyer.h"

namespace si::cli {

namespace {

const QString kProblem = QStringLiteral("اشکال");
constexpr int kCashNoticeMilliseconds = 5000;

QString number(double v) {
    return QString::number(v, 'g', 15);
}

QString fieldOf(const char* key) {
    return QStringLiteral("فيلد «") + QString::fromLatin1(key) + QStringLiteral("»");
}

}  // namespace

InvoiceEntry::InvoiceEntry(Context& ctx)
    : ctx_(ctx), form_(std::make_unique<FormMainLogic>(ctx)), module_(InstallModule(*form_)) {
    QObject::connect(form_.get(), &FormMainLogic::SendSMS, form_.get(),
                     [this](const QString& phone, const QString& text) { queueSms(phone, text); });
}

// The command line has no gateway of its own: the message waits in the outbox, which a host of
// the company sends.
void InvoiceEntry::queueSms(const QString& phone, const QString& text) {
    try {
        EnqueueSms(ctx_.db(), phone, text);
        ShowMessage(
            ctx_, QStringLiteral("پيامك"),
            QStringLiteral("پيامك براي ") + phone + QStringLiteral(" در صف ارسال قرار گرفت."));
    } catch (const SmsRefused& r) {
        ShowMessage(ctx_, QStringLiteral("پيامك"), r.text());
    }
}

InvoiceEntry::~InvoiceEntry() = default;

bool InvoiceEntry::refuse(const QString& text) {
    ShowMessage(ctx_, kProblem, text);
    return false;
}

// A field the form would not let the clerk touch is refused here too.
bool InvoiceEntry::enabled(const char* control, const QString& what) {
    if (form_->availability().isEnabled(QString::fromLatin1(control))) return true;
    return refuse(QStringLiteral("«") + what +
                  QStringLiteral("» در اين حالت يا براي اين كاربر قابل تغيير نيست."));
}

bool InvoiceEntry::select(SelectorModel& selector, const char* control, const Given<int>& value,
                          const QString& what) {
    if (!value.present) return true;
    if (!enabled(control, what)) return false;
    if (!value.value) {
        selector.Clear();
        return true;
    }
    const int id = *value.value;
    if (!selector.isListed(id))
        return refuse(what + QStringLiteral(" «") + QString::number(id) +
                      QStringLiteral("» در فهرست قابل انتخاب نيست."));
    selector.setID(id);
    if (selector.ID() != id) return false;  // the change handler refused it (its message was shown)
    return true;
}

bool InvoiceEntry::setDate(const Given<QString>& date) {
    if (!date.present || !date.value) return true;
    if (!enabled("datCreateDate", QStringLiteral("تاريخ"))) return false;
    return form_->services().header->SetCreateDate(getEnglishDate(*date.value));
}

bool InvoiceEntry::setFlags(const JsonInvoice& inv) {
    InvoiceDocument& d = form_->doc();
    const std::tuple<const Given<bool>*, bool*, const char*, QString> flags[] = {
        {&inv.formal, &d.chkIsFormal, "chkIsFormal", QStringLiteral("فاكتور رسمي")},
        {&inv.checkEchantillon, &d.chkCheckEchantillon, "chkCheckEchantillon",
         QStringLiteral("بررسي اشانتيون")},
        {&inv.sendSms, &d.chkShouldSMSSend, "chkShouldSMSSend", QStringLiteral("ارسال پيامك")}};
    for (const auto& [given, field, control, what] : flags) {
        if (!given->present || !given->value || *given->value == *field) continue;
        if (!enabled(control, what)) return false;
        *field = *given->value;
        if (field == &d.chkIsFormal) form_->services().header->chkIsFormal_Click();
        if (field == &d.chkCheckEchantillon) form_->services().header->chkCheckEchantillon_Click();
    }
    return setText(d.txtNotes, TextField::Notes, inv.notes, "notes") &&
           setText(d.cmbMessage, TextField::CustomerMessage, inv.message, "message") &&
           setText(d.txtGhabz, TextField::ManualCode, inv.manualCode, "manualCode");
}

// A text that the save could not store as given is refused at once, naming the field of the file.
bool InvoiceEntry::acceptText(TextField field, const QString& text, const QString& where) {
    const QString problem = TextProblem(field, text);
    return problem.isEmpty() || refuse(where + QStringLiteral(": ") + problem);
}

bool InvoiceEntry::setText(QString& target, TextField field, const Given<QString>& text,
                           const char* key) {
    if (!text.value) return true;
    if (!acceptText(field, *text.value, fieldOf(key))) return false;
    target = *text.value;
    return true;
}

// The buyer as the cashier types them with cmdCustomerName; a field not given keeps what the
// invoice holds, null clears it.
bool InvoiceEntry::walkInBuyer(const JsonInvoice& inv) {
    if (!inv.walkInName.present && !inv.walkInPhone.present) return true;
    if (!enabled("cmdCustomerName", QStringLiteral("نام مشتري"))) return false;
    const WalkInBuyer& held = form_->doc().walkIn;
    const QString name =
        inv.walkInName.present ? inv.walkInName.value.value_or(QString()) : held.name;
    const QString phone =
        inv.walkInPhone.present ? inv.walkInPhone.value.value_or(QString()) : held.phone;
    const WalkInEntry entry = ReadWalkInBuyer(name, phone);
    if (!entry.ok()) return refuse(entry.problem);
    form_->doc().walkIn = entry.buyer;
    return true;
}

// The order a clerk fills the header: the type first (it may reset the customer), the customer
// before the pricing method (the customer brings its own method).
bool InvoiceEntry::header(const JsonInvoice& inv) {
    InvoiceDocument& d = form_->doc();
    return setDate(inv.date) &&
           select(d.sltType, "sltType", inv.type, QStringLiteral("نوع فاكتور")) &&
           select(d.sltBranch, "sltBranch", inv.branch, QStringLiteral("شعبه")) &&
           select(d.sltCustomer, "sltCustomer", inv.customer, QStringLiteral("مشتري")) &&
           select(d.sltInventory, "sltInventory", inv.inventory, QStringLiteral("انبار")) &&
           select(d.sltPricingMethod, "sltPricingMethod", inv.pricingMethod,
                  QStringLiteral("نوع قيمتگذاري")) &&
           select(d.sltPaidByCash, "sltPaidByCash", inv.paidByCash, QStringLiteral("نوع پرداخت")) &&
           select(d.sltPromoter, "sltPromoter", inv.promoter, QStringLiteral("بازارياب")) &&
           select(d.sltPromoter2, "sltPromoter2", inv.promoter2, QStringLiteral("بازارياب 2")) &&
           select(d.sltContract, "sltContract", inv.contract, QStringLiteral("قرارداد")) &&
           select(d.sltPreCond, "sltPreCond", inv.preCondition, QStringLiteral("پيش شرط")) &&
           setFlags(inv) && walkInBuyer(inv) && cashTurn(inv);
}

// The turn is chosen among those the form's selector offers the user: open, and his own or one
// he was admitted to.
bool InvoiceEntry::cashTurn(const JsonInvoice& inv) {
    if (!inv.cashTurn) return true;
    if (!form_->ctx().params.flag(P::ShopMode))
        return refuse(QStringLiteral("«cashTurn» فقط در نسخه فروشگاهي به كار مي رود."));
    CashTurnSelector& turns = form_->editor().cashTurns();
    const auto& entries = turns.entries();
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].cashId == inv.cashTurn->first && entries[i].turn == inv.cashTurn->second) {
            turns.Select(static_cast<int>(i));
            return true;
        }
    return refuse(QStringLiteral("نوبت %1 صندوق %2 براي اين كاربر باز نيست.")
                      .arg(inv.cashTurn->second)
                      .arg(inv.cashTurn->first));
}

bool InvoiceEntry::cell(int row, int col, const QString& text, int index, const QString& what) {
    LineTableModel& grid = form_->doc().flexDetail;
    if (!grid.isColumnEditable(col))
        return refuse(QStringLiteral("«") + what + QStringLiteral("» سطر ") +
                      QString::number(index + 1) +
                      QStringLiteral(" براي اين كاربر قابل تغيير نيست."));
    return form_->services().lines->commitCell(row, col, text);
}

bool InvoiceEntry::line(const JsonLine& l, int index) {
    LineTableModel& grid = form_->doc().flexDetail;
    const int row = grid.rows() - 1;
    const int before = grid.filledCount();
    bool ok = false;
    if (!l.code.isEmpty())
        ok = cell(row, Col::GoodCode, l.code, index, QStringLiteral("كد كالا"));
    else
        ok = cell(row, Col::BarCode, l.barcode.isEmpty() ? l.scaleBarcode : l.barcode, index,
                  QStringLiteral("كد ميلهاي"));
    if (!ok || grid.filledCount() == before) return false;
    return lineDetails(l, row, index);
}

bool InvoiceEntry::lineDetails(const JsonLine& l, int row, int index) {
    InvoiceServices& s = form_->services();
    LineTableModel& grid = form_->doc().flexDetail;
    if (l.unit && *l.unit != grid.line(row).ScaleID && !s.lines->changeUnit(row, *l.unit))
        return false;
    if (l.qty && *l.qty != grid.line(row).Qty &&
        !cell(row, Col::Qty, number(*l.qty), index, QStringLiteral("تعداد")))
        return false;
    if (l.description && (!acceptText(TextField::LineDescription, *l.description,
                                      QStringLiteral("سطر ") + QString::number(index + 1) +
                                          QStringLiteral("، ") + fieldOf("description")) ||
                          !s.lines->changeDescription(row, *l.description)))
        return false;
    if (l.pricingMethod && *l.pricingMethod != grid.line(row).PricingMethodID) {
        const QString barcode = grid.line(row).BarCode;
        if (!s.pricing->applyLineMethod(row, *l.pricingMethod,
                                        s.pricing->methodName(*l.pricingMethod),
                                        s.pricing->methodPrice(barcode, *l.pricingMethod)))
            return false;
    }
    if (l.price && *l.price != l.price->fix())
        return refuse(QStringLiteral("قيمت واحد سطر ") + QString::number(index + 1) +
                      QStringLiteral(" بايد مبلغي به ريال و بدون اعشار باشد."));
    if (l.price &&
        !cell(row, Col::UnitPrice, l.price->toString(), index, QStringLiteral("قيمت واحد")))
        return false;
    if (l.discountPercent && !cell(row, Col::DiscountPercent, number(*l.discountPercent), index,
                                   QStringLiteral("درصد تخفيف")))
        return false;
    if (l.discountValue && !cell(row, Col::DiscountValue, l.discountValue->toString(), index,
                                 QStringLiteral("مبلغ تخفيف")))
        return false;
    if (l.promoter &&
        !s.pricing->applyLinePromoter(row, *l.promoter, s.pricing->promoterName(*l.promoter)))
        return false;
    return true;
}

// The form's boxes change an out-of-range discount where the clerk sees it; a file gets no such
// look, so what the boxes would change is refused instead.
bool InvoiceEntry::masterDiscount(const JsonInvoice& inv) {
    TotalsLogic& totals = *form_->services().totals;
    if (inv.masterDiscountPercent) {
        if (!enabled("txtMasterDiscountPercent", QStringLiteral("تخفيف كلي"))) return false;
        if (const auto refusal = totals.MasterDiscountPercentRefusal(*inv.masterDiscountPercent))
            return refuse(*refusal);
        totals.SetMasterDiscountKind(MasterDiscountKind::Percent);
        totals.MasterDiscountPercentTyped(*inv.masterDiscountPercent);
    } else if (inv.masterDiscountValue) {
        if (!enabled("txtMasterDiscountValue", QStringLiteral("تخفيف كلي"))) return false;
        if (const auto refusal = totals.MasterDiscountValueRefusal(*inv.masterDiscountValue))
            return refuse(*refusal);
        totals.SetMasterDiscountKind(MasterDiscountKind::Value);
        totals.MasterDiscountValueTyped(*inv.masterDiscountValue);
    }
    return true;
}

bool InvoiceEntry::surcharges(const JsonInvoice& inv) {
    if (inv.surcharges.isEmpty()) return true;
    TotalsLogic& totals = *form_->services().totals;
    if (!enabled("cmdCost", QStringLiteral("هزينه ها")) || !totals.CanEditSurcharges())
        return false;
    QVector<SurchargeRow> rows = totals.SurchargeRowsForDialog();
    for (const JsonCharge& c : inv.surcharges) {
        auto it = std::find_if(rows.begin(), rows.end(),
                               [&c](const SurchargeRow& r) { return r.SuchargeTypeID == c.type; });
        if (it == rows.end())
            return refuse(QStringLiteral("نوع هزينه «") + QString::number(c.type) +
                          QStringLiteral("» تعريف نشده است."));
        if (!totals.SurchargeValueTyped(*it, *c.value)) return false;
    }
    return totals.ApplySurcharges(rows);
}

bool InvoiceEntry::deductions(const JsonInvoice& inv) {
    if (inv.deductions.isEmpty()) return true;
    TotalsLogic& totals = *form_->services().totals;
    if (!enabled("cmdDecs", QStringLiteral("كسورات")) || !totals.CanEditDeductions()) return false;
    QVector<DeductionRow> rows = totals.DeductionRowsForDialog();
    for (const JsonCharge& c : inv.deductions) {
        auto it = std::find_if(rows.begin(), rows.end(),
                               [&c](const DeductionRow& r) { return r.ShortageTypeID == c.type; });
        if (it == rows.end())
            return refuse(QStringLiteral("نوع كسورات «") + QString::number(c.type) +
                          QStringLiteral("» تعريف نشده است."));
        if (c.value ? !totals.DeductionValueTyped(*it, *c.value)
                    : !totals.DeductionPercentTyped(*it, *c.percent))
            return false;
    }
    return totals.ApplyDeductions(rows);
}

// The goods of all lines are looked up together, as they are all known before the first.
bool InvoiceEntry::lines(const JsonInvoice& inv) {
    QStringList barcodes;
    QStringList codes;
    for (const JsonLine& l : inv.lines) {
        if (!l.code.isEmpty())
            codes << l.code;
        else
            barcodes << (l.barcode.isEmpty() ? l.scaleBarcode : l.barcode);
    }
    const LineLookups::Batch batch(*form_->services().lookups, barcodes, codes);
    for (int i = 0; i < inv.lines.size(); ++i)
        if (!line(inv.lines[i], i)) return false;
    return true;
}

bool InvoiceEntry::enter(const JsonInvoice& inv) {
    form_->ClearShow();
    form_->cmdNew_Click();
    if (form_->FormMode() != kModeNew) return false;
    return header(inv) && lines(inv) && masterDiscount(inv) && surcharges(inv) && deductions(inv);
}

bool InvoiceEntry::create(const JsonInvoice& inv, bool final) {
    if (!enter(inv)) return false;
    form_->RefreshTimer_Timer();
    // No look at the buttons: the save's own checks refuse with the form's messages.
    return saveInvoice(final);
}

bool InvoiceEntry::finalize(int invoiceId) {
    form_->ViewInvoice(invoiceId);
    if (form_->FormMode() != kModeView)
        return refuse(QStringLiteral("فاكتور «") + QString::number(invoiceId) +
                      QStringLiteral("» يافت نشد."));
    if (form_->doc().hasCode())
        return refuse(QStringLiteral("فاكتور «") + QString::number(invoiceId) +
                      QStringLiteral("» نهايي است."));
    form_->cmdEdit_Click();
    if (form_->FormMode() != kModeEdit) return false;
    form_->RefreshTimer_Timer();
    return saveInvoice(true);
}

// The process ends soon after the save, so the cash display's notice is delivered (or its
// failure shown) before the save counts as done.
bool InvoiceEntry::saveInvoice(bool final) {
    const bool stored = module_->save().SaveInvoice(final);
    module_->cashDisplay().waitForAll(kCashNoticeMilliseconds);
    return stored;
}

bool InvoiceEntry::show(int invoiceId) {
    form_->ViewInvoice(invoiceId);
    return form_->FormMode() == kModeView;
}

}  // namespace si::cli
