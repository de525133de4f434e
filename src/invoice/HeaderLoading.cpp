// FillData and FillDefaults: a stored invoice into the header, and a new invoice's defaults.

#include "common/Codes.h"
#include "common/Jalali.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "common/ScopedFlag.h"
#include "invoice/BilledParty.h"
#include "invoice/HeaderLogic.h"
#include "invoice/InvoiceStore.h"
#include "invoice/LinesLogic.h"
#include "invoice/PricingLogic.h"
#include "invoice/TotalsLogic.h"

namespace si {

namespace {

int idOf(const Row& r, const char16_t* column) {
    return static_cast<int>(ToNumber(r.value(column)));
}

bool flagOr(const Row& r, const char16_t* column, int defaultParameter, const SystemParameters& p) {
    return r.isNull(column) ? p.number(defaultParameter) == 1 : r.toBool(column);
}

const QString kCutOnLoad = QStringLiteral(
    "براي برخي از کالاها تعداد فروش به دليل کمبود موجودي در انبار به طور خودکار تغيير يافت. لطفا "
    "قبل از ثبت "
    "نهايي، فاکتور را مجددا بررسي نماييد.");

}  // namespace

bool HeaderLogic::FillData(int invoiceId) {
    doc_.sltPricingMethod.clearListFilters();
    const std::optional<Row> row = InvoiceStore(ctx_.db()).readHeaderRow(invoiceId);
    if (!row) return false;
    {
        const ScopedFlag loading(doc_.loading);
        loadRecord(*row);
        loadRecordTail(*row);
        loadAfterRecord(*row);
    }
    if (inEntryMode() && doc_.chkCheckEchantillon) services_.RefreshEchantillon();
    Q_EMIT doc_.headerChanged();
    Q_EMIT doc_.totalsChanged();
    return true;
}

// Columns move into the fields in the stored order: a handler fired on the way may overwrite
// fields set before it, and the columns read after it win.
void HeaderLogic::loadRecord(const Row& r) {
    const SystemParameters& p = ctx_.params;
    doc_.txtID = r.text(u"ID");
    doc_.storedRowVersion = r.has(u"RowVersion") ? r.toInt(u"RowVersion") : 0;
    doc_.sltCreatorEmployee.setID(idOf(r, u"CreatorEmployeeID"));
    doc_.chkShouldSMSSend = flagOr(r, u"ShouldSMSSend", P::DefaultSendSms, p);
    if (idOf(r, u"InventoryID") > 0) doc_.sltInventory.setID(idOf(r, u"InventoryID"), true);
    doc_.txtDistID =
        r.isNull(u"DistributionInvoiceID") ? QString() : r.text(u"DistributionInvoiceID");
    doc_.sltPreCond.setID(idOf(r, u"PreConditionID"));
    doc_.sltContract.setID(idOf(r, u"ContractID"));
    doc_.sltBranch.setID(idOf(r, u"BranchID"));
    doc_.sltDeliverType.setID(idOf(r, u"DeliverTypeID"));
    doc_.sltIntroductionType.setID(idOf(r, u"IntroductionTypeID"));
    doc_.sltPricingMethod.setID(idOf(r, u"PricingMethodID"), true);
    doc_.sltType.setID(idOf(r, u"TypeID"), true);
    doc_.txtGhabz = r.text(u"ManualCode");
    doc_.gdpDeliverDate = r.date(u"DeliverDate");
    doc_.datCreateDate = r.date(u"CreateDate");
    doc_.txtTime = r.has(u"UpdateDate") && !r.isNull(u"UpdateDate")
                       ? fnZelorGetTime(r.dateTime(u"UpdateDate"))
                       : QString();
    doc_.dtpClearDate = r.date(u"ClearDate");
    doc_.txtLoanExpire = doc_.dtpClearDate.isValid() && doc_.datCreateDate.isValid()
                             ? QString::number(doc_.datCreateDate.daysTo(doc_.dtpClearDate))
                             : QString();
    doc_.chkIsFormal = flagOr(r, u"IsFormal", P::DefaultFormal, p);
    doc_.chkCheckEchantillon = flagOr(r, u"IsCheckEchantillon", P::DefaultSampleGoods, p);
    doc_.txtCode = codeText(r.value(u"Code"));
    doc_.txtUsedCredit = r.isNull(u"UsedCredit") ? QString() : FormatAmount(r.money(u"UsedCredit"));
    doc_.txtRemCredit = r.isNull(u"RemCredit") ? QString() : FormatAmount(r.money(u"RemCredit"));
    doc_.sltObject1.setID(idOf(r, u"ObjectID1"));
    doc_.sltObject2.setID(idOf(r, u"ObjectID2"));
    doc_.sltCustomer.setID(idOf(r, u"CustomerID"), true);
}

void HeaderLogic::loadRecordTail(const Row& r) {
    doc_.sltPaidByCash.setID(r.isNull(u"IsPaidByCash") || r.toBool(u"IsPaidByCash") ? 1 : 2);
    doc_.sltPromoter.Clear();
    doc_.sltPromoter.setID(idOf(r, u"PromoterID"), true);
    doc_.sltPromoter2.setID(idOf(r, u"PromoterID2"));
    doc_.txtCardNo = r.text(u"CardNo");
    doc_.sltAchiever.setID(idOf(r, u"AchieverID"), true);
    doc_.sltDistributer.setID(idOf(r, u"DistributerID"), true);
    doc_.sltCreator.setID(idOf(r, u"CreatorID"));
    doc_.txtNotes = r.text(u"Notes");
    InvoiceTotals& t = doc_.totals;
    t.MasterDiscountPercent = r.toDouble(u"DiscountPercent");
    t.MasterDiscountValue = r.money(u"DiscountValue");
    t.SuCharge = r.money(u"SuchargeValue");
    t.Decs = r.money(u"ShortageValue");
    t.GrandTotal = r.money(u"TotalValue");
    t.PureTotalValue = r.money(u"PureTotalValue");
    doc_.masterDiscountKind = r.toInt(u"DiscountTypeID", -1) == 3 ? MasterDiscountKind::Percent
                                                                  : MasterDiscountKind::Value;
    if (r.isNull(u"CreditDays")) {
        doc_.txtRemCreditTag.clear();
        doc_.txtCreditPeriod.clear();
    } else {
        doc_.txtRemCreditTag = r.text(u"CreditDays");
        doc_.txtCreditPeriod = QString::number(RoundHalfEven(r.toDouble(u"CreditDays") * 5 / 6)) +
                               QStringLiteral(" روز");
    }
    doc_.cmbMessage.clear();
    if (!r.isNull(u"CustomerMessage") && doc_.messages.contains(r.text(u"CustomerMessage")))
        doc_.cmbMessage = r.text(u"CustomerMessage");
    if (doc_.cmbMessage.isEmpty()) doc_.chkIsPrimaryMessage = Qt::PartiallyChecked;
    doc_.walkIn = {r.text(u"WalkInName"), r.text(u"WalkInPhone")};
    doc_.walkInStored = !r.isNull(u"WalkInName");
}

// The document the header row names, else the cash-turn booking of a shop's cash sale.
void HeaderLogic::loadDocumentLabel(const Row& record) {
    Session& s = ctx_.db();
    const int invoiceId = record.toInt(u"ID");
    if (!record.isNull(u"PostedDocumentID"))
        doc_.lblAccountIDVal = record.text(u"PostedDocumentID");
    if (auto cash = s.first(
            QStringLiteral(
                "Select CashName || '_' || CAST(Turn AS VARCHAR(20)) as CashDesc from "
                "vwRecPayCashTurn Where ID in (Select CashTurnID From tblRecPayCashTurnDetail "
                "Where FormID=? and FormTypeID=?)"),
            {invoiceId, FormType::SaleInvoice}))
        doc_.lblAccountIDVal = cash->text(u"CashDesc");
}

// The stored totals are shown as stored; the line boxes are summed from the loaded lines.
void HeaderLogic::loadAfterRecord(const Row& record) {
    Session& s = ctx_.db();
    const int invoiceId = record.toInt(u"ID");
    services_.totals->LoadSurcharges(invoiceId);
    services_.totals->LoadDeductions(invoiceId);
    loadDocumentLabel(record);
    services_.totals->ReadTaxPercents();
    doc_.txtPrintCount = record.isNull(u"PrintCount")
                             ? QStringLiteral("0")
                             : QString::number(record.toInt(u"PrintCount"));
    doc_.scaleBarcodes.clear();
    for (const Row& r : s.query(
             QStringLiteral("select * from tblSaleInvoiceScaleBarcode where InvoiceID=? Order by "
                            "CreateDate Desc"),
             {invoiceId}))
        doc_.scaleBarcodes << r.text(u"ScaleBarcode");
    const InvoiceTotals stored = doc_.totals;
    const MasterDiscountKind storedKind = doc_.masterDiscountKind;
    const bool cut = services_.lines->FillInvoiceDetailData(invoiceId, record);
    services_.totals->ComputeGrandTotal();
    InvoiceTotals& t = doc_.totals;
    t.MasterDiscountPercent = stored.MasterDiscountPercent;
    t.MasterDiscountValue = stored.MasterDiscountValue;
    t.SuCharge = stored.SuCharge;
    t.Decs = stored.Decs;
    t.GrandTotal = stored.GrandTotal;
    t.PureTotalValue = stored.PureTotalValue;
    t.TotalDiscountValue = t.TotalRowDiscount + t.MasterDiscountValue;
    doc_.masterDiscountKind = storedKind;
    t.shown = true;
    if (cut) {
        ShowMessage(ctx_, QStringLiteral("هشدار"), kCutOnLoad);
        Q_EMIT stockCutOnLoad();
    }
}

void HeaderLogic::FillDefaults() {
    Session& s = ctx_.db();
    doc_.datCreateDate = s.today();
    doc_.txtTime = fnZelorGetTime(s.now());
    datCreateDate_Change();
    if (doc_.defaultCustomerID < 1) {
        doc_.sltCustomer.Clear();
    } else {
        doc_.sltCustomer.setIDQuietly(doc_.defaultCustomerID, QString());
        doc_.sltCustomer.requery();
        for (SelectorModel* object : {&doc_.sltObject1, &doc_.sltObject2}) {
            const int cls = object == &doc_.sltObject1 ? doc_.Object1ClassID : doc_.Object2ClassID;
            if (object->objectInUse() && cls == ObjectClass::Organization)
                object->setID(doc_.defaultCustomerID, true);
        }
    }
    sltCustomer_Change();
    const int days = ctx_.params.number(P::DefaultDays);
    doc_.txtLoanExpire = days >= 1 ? QString::number(days) : QString();
    txtLoanExpire_Change();
    doc_.sltPricingMethod.setListFilter(PricingLogic::userMethodFilter(ctx_.globals.CurrentUserID));
    const int method = services_.pricing->getUserPricingMethodID(ctx_.globals.CurrentUserID);
    if (method > 0) doc_.sltPricingMethod.setID(method, true);
    if (doc_.sltType.IsEmpty()) setTopID(doc_.sltType);
    if (doc_.sltInventory.IsEmpty() && doc_.userPrimaryInventoryID > 0)
        doc_.sltInventory.setID(doc_.userPrimaryInventoryID, true);
    if (doc_.defaultMessageIndex >= 0 && doc_.defaultMessageIndex < doc_.messages.size())
        doc_.cmbMessage = doc_.messages[doc_.defaultMessageIndex];
    doc_.masterDiscountKind = MasterDiscountKind::Percent;
    if (doc_.sltCreatorEmployee.IsEmpty() && ctx_.globals.CurrentEmployeeID > 0)
        doc_.sltCreatorEmployee.setID(ctx_.globals.CurrentEmployeeID);
    doc_.chkIsFormal = ctx_.params.number(P::DefaultFormal) == 1;
    doc_.chkCheckEchantillon = ctx_.params.number(P::DefaultSampleGoods) == 1;
    doc_.chkShouldSMSSend = ctx_.params.number(P::DefaultSendSms) == 1;
    doc_.sltPaidByCash.setID(ctx_.params.flag(P::DefaultPaidByCash) ? 1 : 2);
    Q_EMIT doc_.headerChanged();
}

}  // namespace si
