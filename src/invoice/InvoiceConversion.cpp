// InvoiceDocument::toInvoice: the one place where the form's fields become the typed invoice.

#include "common/Numbers.h"
#include "invoice/InvoiceDocument.h"

namespace si {

namespace {

const QString kNoCode = QStringLiteral("ندارد");
constexpr int kNotPaidByCash = 2;
constexpr int kNotesLength = 2000;
constexpr int kMessageLength = 200;

int idOf(const SelectorModel& s) {
    return s.IsEmpty() ? -1 : s.ID();
}
int idOf(int id) {
    return id > 0 ? id : -1;
}
QString notNull(const QString& s) {
    return s.isNull() ? QStringLiteral("") : s;
}

// txtCode: empty while temporary, "ندارد" for a final invoice without a code.
std::optional<int> codeOf(const QString& text) {
    const QString code = text.trimmed();
    if (code.isEmpty()) return std::nullopt;
    if (code == kNoCode) return -1;
    return ToInt32(ToNumber(code));
}

std::optional<qint64> cardNoOf(const QString& text) {
    bool isNumber = false;
    const qint64 card = text.trimmed().toLongLong(&isNumber);
    return isNumber ? std::optional<qint64>(card) : std::nullopt;
}

// A line's own pricing method and promoter, else the header's.
InvoiceLineItem lineItemOf(const InvoiceLine& l, int rowNumber, bool freeGoods,
                           const InvoiceDocument& doc, bool keepsInitialQty) {
    InvoiceLineItem item;
    item.rowNumber = rowNumber;
    item.freeGoods = freeGoods;
    item.barcode = l.BarCode.trimmed();
    item.description = notNull(l.Description);
    item.scaleId = idOf(l.ScaleID);
    item.qty = l.Qty;
    item.unitPrice = l.UnitPrice;
    item.discountKind = l.DiscountKind;
    item.discountPercent = l.DiscountPercent;
    item.discountValue = l.DiscountValue;
    item.servicedBarcode = l.ServicedBarCode.trimmed();
    if (keepsInitialQty && !l.InitialQty.trimmed().isEmpty()) {
        item.initialQty = ToNumber(l.InitialQty);
        item.initialScaleId = idOf(l.InitialScaleID);
        if (!l.ChangeReason.trimmed().isEmpty())
            item.changeReason = ToInt32(ToNumber(l.ChangeReason));
    }
    item.pricingMethodId = l.PricingMethodID > 0 ? l.PricingMethodID : idOf(doc.sltPricingMethod);
    item.promoterId = l.PromoterID > 0 ? l.PromoterID : idOf(doc.sltPromoter);
    if (freeGoods) return item;  // free goods carry no wage, profit, commission, tax or duty
    item.wagePercent = l.WagePercent;
    item.wagePerWeight = l.WagePerWeight;
    item.profitPercent = l.ProfitPercent;
    item.commission = l.Commission;
    item.tax = l.Tax;
    item.duty = l.Duty;
    return item;
}

StoredTotals totalsOf(const InvoiceDocument& doc) {
    const InvoiceTotals& t = doc.totals;
    StoredTotals s;
    s.discountTypeId = doc.masterDiscountKind == MasterDiscountKind::Value
                           ? kMasterDiscountAsValue
                           : kMasterDiscountAsPercent;
    s.discountPercent = t.MasterDiscountPercent;
    s.discountValue = t.MasterDiscountValue;
    s.suchargeValue = t.SuCharge;
    s.shortageValue = t.Decs;
    s.value = t.GrandTotal - t.Added - t.Tax;
    s.totalValue = t.GrandTotal;
    s.pureTotalValue = s.value;
    return s;
}

}  // namespace

Invoice InvoiceDocument::toInvoice() const {
    const Context& c = *ctx_;
    Invoice invoice;
    InvoiceHeader& h = invoice.header;
    h.id = idOf(invoiceID());
    h.code = codeOf(txtCode);
    h.manualCode = txtGhabz.trimmed();
    h.typeId = idOf(sltType);
    h.customerId = idOf(sltCustomer);
    h.inventoryId = idOf(sltInventory);
    h.branchId = idOf(sltBranch);
    h.contractId = idOf(sltContract);
    h.deliverTypeId = idOf(sltDeliverType);
    h.introductionTypeId = idOf(sltIntroductionType);
    h.pricingMethodId = idOf(sltPricingMethod);
    h.preConditionId = idOf(sltPreCond);
    h.objectId1 = idOf(sltObject1);
    h.objectId2 = idOf(sltObject2);
    h.promoterId = idOf(sltPromoter);
    h.promoterId2 = idOf(sltPromoter2);
    h.achieverId = idOf(sltAchiever);
    h.distributerId = idOf(sltDistributer);
    h.creatorId = idOf(c.globals.CurrentUserID);
    h.creatorEmployeeId = idOf(sltCreatorEmployee);
    h.distributionInvoiceId = idOf(txtDistID.trimmed().toInt());
    h.cardNo = cardNoOf(txtCardNo);
    h.createDate = datCreateDate;
    h.deliverDate = gdpDeliverDate;
    h.clearDate = dtpClearDate;
    h.isPaidByCash = sltPaidByCash.ID() != kNotPaidByCash;
    h.isFormal = chkIsFormal;
    h.isCheckEchantillon = chkCheckEchantillon;
    h.shouldSmsSend = chkShouldSMSSend;
    if (c.params.number(P::CreditCashBox) > 0) {
        h.usedCredit = ParseAmount(txtUsedCredit);
        h.remCredit = ParseAmount(txtRemCredit);
        h.creditDays = ToInt32(ToNumber(txtRemCreditTag));
    }
    h.notes = txtNotes.trimmed().left(kNotesLength);
    h.customerMessage = cmbMessage.trimmed().left(kMessageLength);
    invoice.totals = totalsOf(*this);
    invoice.walkIn = walkIn;

    const bool keepsInitialQty = !c.params.flag(P::ShopMode);
    for (int row : flexDetail.filledRows())
        invoice.lines.append(
            lineItemOf(flexDetail.line(row), row + 1, false, *this, keepsInitialQty));
    for (int row : flexEch.filledRows())
        invoice.lines.append(lineItemOf(flexEch.line(row), row + 1, true, *this, keepsInitialQty));
    for (const SurchargeRow& r : surcharges)
        if (!r.Value.isZero()) invoice.surcharges.append({r.SuchargeTypeID, r.Value});
    for (const DeductionRow& r : deductions)
        if (!r.Value.isZero())
            invoice.deductions.append({r.ShortageTypeID, r.Value, r.ShortagePercent});
    invoice.rowVersion = storedRowVersion;
    return invoice;
}

}  // namespace si
