#include "invoice/InvoiceDocument.h"

#include "common/CommandGuard.h"
#include "common/Numbers.h"
#include "common/ScopedFlag.h"

namespace si {

InvoiceDocument::InvoiceDocument(Context& ctx, QObject* parent)
    : QObject(parent),
      sltPricingMethod(ctx),
      sltCRMCardType(ctx),
      sltPaidByCash(ctx),
      sltCreatorEmployee(ctx),
      sltCreator(ctx),
      sltType(ctx),
      sltPromoter(ctx),
      sltPromoter2(ctx),
      sltCustomer(ctx),
      sltInventory(ctx),
      sltBranch(ctx),
      sltContract(ctx),
      sltDeliverType(ctx),
      sltIntroductionType(ctx),
      sltPreCond(ctx),
      sltObject1(ctx),
      sltObject2(ctx),
      sltAchiever(ctx),
      sltDistributer(ctx),
      ctx_(&ctx) {}

QVector<SelectorModel*> InvoiceDocument::selectors() {
    return {
        &sltPricingMethod, &sltCRMCardType, &sltPaidByCash,  &sltCreatorEmployee,  &sltCreator,
        &sltType,          &sltPromoter,    &sltPromoter2,   &sltCustomer,         &sltInventory,
        &sltBranch,        &sltContract,    &sltDeliverType, &sltIntroductionType, &sltPreCond,
        &sltObject1,       &sltObject2,     &sltAchiever,    &sltDistributer};
}

bool InvoiceDocument::isSticky(const SelectorModel* s) const {
    return s == &sltType || s == &sltInventory || s == &sltCreatorEmployee || s == &sltPromoter ||
           s == &sltPromoter2;
}

int InvoiceDocument::invoiceID() const {
    return static_cast<int>(ToNumber(txtID));
}

void InvoiceDocument::clear() {
    {
        const ScopedFlag raised(loading);
        clearFields();
    }
    Q_EMIT headerChanged();
    Q_EMIT totalsChanged();
}

void InvoiceDocument::clearFields() {
    // The invoice type, inventory, preparer and promoters stay for the next invoice.
    for (SelectorModel* s : selectors())
        if (!isSticky(s)) s->Clear();
    txtID.clear();
    txtCode.clear();
    txtTempCustomerCash.clear();
    txtTempCustomerCashReturn.clear();
    txtGhabz.clear();
    txtNotes.clear();
    txtCardNo.clear();
    txtDistID.clear();
    txtTime.clear();
    txtLoanExpire.clear();
    txtLoanExpireTag.clear();
    txtUsedCredit.clear();
    txtRemCredit.clear();
    txtRemCreditTag.clear();
    txtCreditPeriod.clear();
    txtPrintCount.clear();
    txtGrade.clear();
    lblAccountIDVal.clear();
    lblErrMessage.clear();
    gbSaleTitle = QStringLiteral("فروش");
    distributerPathTag.clear();
    achieverPathTag.clear();
    datCreateDate = QDate();
    gdpDeliverDate = QDate();
    dtpClearDate = QDate();
    dtpTempDate = QDate();
    cmbMessage.clear();
    chkIsPrimaryMessage = Qt::Unchecked;
    scaleBarcodes.clear();
    masterDiscountKind = MasterDiscountKind::Percent;
    masterDiscountLocked = false;
    totals = InvoiceTotals();
    surcharges.clear();
    deductions.clear();
    walkIn = {};
    walkInStored = false;
    flexDetail.clear();
    flexEch.clear();
}

InvoiceDocument::Snapshot InvoiceDocument::snapshot() {
    Snapshot s{*this, {}, flexDetail.state(), flexEch.state()};
    for (const SelectorModel* selector : selectors())
        s.selectors.push_back(selector->state());
    return s;
}

void InvoiceDocument::restore(const Snapshot& snapshot) {
    static_cast<InvoiceDocumentFields&>(*this) = snapshot.fields;
    const QVector<SelectorModel*> all = selectors();
    for (int i = 0; i < all.size(); ++i)
        all[i]->restore(snapshot.selectors[i]);
    flexDetail.restore(snapshot.detail);
    flexEch.restore(snapshot.ech);
    Q_EMIT headerChanged();
    Q_EMIT totalsChanged();
}

bool GuardedEdit(InvoiceDocument& doc, const std::function<void()>& command) {
    const InvoiceDocument::Snapshot before = doc.snapshot();
    return Guarded(doc.ctx(), command, [&doc, &before] { doc.restore(before); });
}

}  // namespace si
