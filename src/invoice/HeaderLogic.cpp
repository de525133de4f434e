#include "invoice/HeaderLogic.h"

#include "common/Jalali.h"
#include "common/Numbers.h"
#include "invoice/LinesLogic.h"
#include "invoice/PricingLogic.h"

namespace si {

namespace {

int idOf(const Row& r, const char16_t* column) {
    return static_cast<int>(ToNumber(r.value(column)));
}

}  // namespace

HeaderLogic::HeaderLogic(InvoiceServices& services, QObject* parent)
    : QObject(parent), services_(services), ctx_(services.ctx), doc_(services.doc) {}

void HeaderLogic::configure(SelectorModel& s, const char* major, const char* minor,
                            const QString& caption) {
    s.setViews(QString::fromLatin1(major), QString::fromLatin1(minor));
    s.setCaption(caption);
}

void HeaderLogic::initialize() {
    const bool positionCustomers = ctx_.params.flag(P::PositionCustomersOnly);
    const bool withAddress = ctx_.params.flag(P::CustomerListWithAddress);
    configure(doc_.sltCustomer,
              positionCustomers
                  ? "vwOrganizations"
                  : (withAddress ? "vwOrganizationCodeAddressMajor" : "vwOrganizationMajor"),
              "vwOrganizationMinor", QStringLiteral("مشتري"));
    configure(doc_.sltInventory, "vwInventoryMajor", "vwInventoryMinor", QStringLiteral("انبار"));
    configure(doc_.sltBranch, "vwAccountBranchMajor", "vwAccountBranchMinor",
              QStringLiteral("شعبه"));
    configure(doc_.sltContract, "vwAccountContractProject", "vwAccountContractProjectMinor",
              QStringLiteral("قرارداد"));
    configure(doc_.sltDeliverType, "vwSaleDeliverTypeMajor", "vwSaleDeliverTypeMinor",
              QStringLiteral("نحوه تحويل"));
    configure(doc_.sltIntroductionType, "vwOrganizationIntroductionTypeMajor",
              "vwOrganizationIntroductionTypeMinor", QStringLiteral("نحوه آشنايي"));
    configure(doc_.sltPreCond, "vwSalePreConditionMajor", "vwSalePreConditionMinor",
              QStringLiteral("پيش شرط"));
    configure(doc_.sltPromoter2, "vwSalePromoterMajor", "vwSalePromoterMinor",
              QStringLiteral("بازارياب 2"));
    configure(doc_.sltAchiever, "vwSalePromoterMajor", "vwSalePromoterMinor",
              QStringLiteral("وصول كننده"));
    configure(doc_.sltDistributer, "vwSalePromoterMajor", "vwSalePromoterMinor",
              QStringLiteral("توزيع كننده"));
    doc_.sltObject1.setObjectInUse(false);
    doc_.sltObject2.setObjectInUse(false);
    loadMessages();
    doc_.defaultCustomerID = ctx_.params.number(P::DefaultCustomer);
    if (doc_.defaultCustomerID == -1) {
        const QVariant id =
            ctx_.db().scalar(QStringLiteral("Select coalesce(ID,-1) as DefaultCustomerID from "
                                            "tblOrganization where Name ='مشتريان'"));
        doc_.defaultCustomerID = id.isNull() ? -1 : id.toInt();
    }
}

void HeaderLogic::loadMessages() {
    doc_.messages.clear();
    doc_.defaultMessageIndex = -1;
    const RowSet rows = ctx_.db().query(QStringLiteral("Select * from tblSaleMessage Order by ID"));
    for (const Row& r : rows) {
        if (r.toBool(u"IsPrimary") && doc_.defaultMessageIndex < 0)
            doc_.defaultMessageIndex = static_cast<int>(doc_.messages.size());
        doc_.messages << r.text(u"Message");
    }
}

QString HeaderLogic::codeText(const QVariant& code) {
    if (code.isNull() || !code.isValid()) return {};
    const double n = ToNumber(code);
    if (n == -1) return QStringLiteral("ندارد");
    return QString::number(static_cast<qint64>(n));
}

bool HeaderLogic::FillData(int invoiceId) {
    doc_.sltPricingMethod.clearListFilters();
    auto row =
        ctx_.db().first(QStringLiteral("Select * from tblSaleInvoice where ID=?"), {invoiceId});
    if (!row) return false;
    const bool wasLoading = doc_.loading;
    doc_.loading = true;
    loadRecord(*row);
    doc_.loading = wasLoading;
    services_.lines->FillInvoiceDetailData(invoiceId);
    Q_EMIT doc_.headerChanged();
    return true;
}

// Columns move into the fields in the stored order: a handler fired on the way may overwrite
// fields set before it, and the columns read after it win.
void HeaderLogic::loadRecord(const Row& r) {
    doc_.txtID = r.text(u"ID");
    doc_.sltCreatorEmployee.setID(idOf(r, u"CreatorEmployeeID"));
    doc_.chkShouldSMSSend = r.isNull(u"ShouldSMSSend") ? ctx_.params.number(P::DefaultSendSms) == 1
                                                       : r.toBool(u"ShouldSMSSend");
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
    if (doc_.dtpClearDate.isValid() && doc_.datCreateDate.isValid())
        doc_.txtLoanExpire = QString::number(doc_.datCreateDate.daysTo(doc_.dtpClearDate));
    doc_.chkIsFormal =
        r.isNull(u"IsFormal") ? ctx_.params.number(P::DefaultFormal) == 1 : r.toBool(u"IsFormal");
    doc_.chkCheckEchantillon = r.isNull(u"IsCheckEchantillon")
                                   ? ctx_.params.number(P::DefaultSampleGoods) == 1
                                   : r.toBool(u"IsCheckEchantillon");
    doc_.txtCode = codeText(r.value(u"Code"));
    doc_.txtUsedCredit = r.isNull(u"UsedCredit") ? QString() : FormatAmount(r.money(u"UsedCredit"));
    doc_.txtRemCredit = r.isNull(u"RemCredit") ? QString() : FormatAmount(r.money(u"RemCredit"));
    doc_.sltObject1.setID(idOf(r, u"ObjectID1"));
    doc_.sltObject2.setID(idOf(r, u"ObjectID2"));
    doc_.sltCustomer.setID(idOf(r, u"CustomerID"), true);
    doc_.sltPaidByCash.setID(r.isNull(u"IsPaidByCash") || r.toBool(u"IsPaidByCash") ? 1 : 2);
    doc_.sltPromoter.Clear();
    doc_.sltPromoter.setID(idOf(r, u"PromoterID"), true);
    doc_.sltPromoter2.setID(idOf(r, u"PromoterID2"));
    doc_.txtCardNo = r.text(u"CardNo");
    doc_.sltAchiever.setID(idOf(r, u"AchieverID"), true);
    doc_.sltDistributer.setID(idOf(r, u"DistributerID"), true);
    doc_.sltCreator.setID(idOf(r, u"CreatorID"));
    doc_.txtNotes = r.text(u"Notes");
    doc_.cmbMessage =
        doc_.messages.contains(r.text(u"CustomerMessage")) ? r.text(u"CustomerMessage") : QString();
    if (doc_.cmbMessage.isEmpty()) doc_.chkIsPrimaryMessage = Qt::PartiallyChecked;
    doc_.totals.MasterDiscountPercent = r.toDouble(u"DiscountPercent");
    doc_.totals.MasterDiscountValue = r.money(u"DiscountValue");
    doc_.totals.SuCharge = r.money(u"SuchargeValue");
    doc_.totals.Decs = r.money(u"ShortageValue");
    doc_.totals.GrandTotal = r.money(u"TotalValue");
    doc_.totals.PureTotalValue = r.money(u"PureTotalValue");
    doc_.masterDiscountKind = r.toInt(u"DiscountTypeID", -1) == 3 ? MasterDiscountKind::Percent
                                                                  : MasterDiscountKind::Value;
    if (r.isNull(u"CreditDays")) {
        doc_.txtRemCreditTag.clear();
        doc_.txtCreditPeriod.clear();
    } else {
        doc_.txtRemCreditTag = r.text(u"CreditDays");
        doc_.txtCreditPeriod =
            QString::number(qRound(r.toDouble(u"CreditDays") * 5 / 6)) + QStringLiteral(" روز");
    }
    doc_.txtPrintCount = QString::number(r.toInt(u"PrintCount", 0));
}

void HeaderLogic::FillDefaults() {
    doc_.datCreateDate = ctx_.db().today();
    doc_.txtTime = fnZelorGetTime(ctx_.db().now());
    if (doc_.defaultCustomerID < 1)
        doc_.sltCustomer.Clear();
    else
        doc_.sltCustomer.setID(doc_.defaultCustomerID, true);
    const int days = ctx_.params.number(P::DefaultDays);
    doc_.txtLoanExpire = days >= 1 ? QString::number(days) : QString();
    doc_.sltPricingMethod.setListFilter(PricingLogic::userMethodFilter(ctx_.globals.CurrentUserID));
    const int method = services_.pricing->getUserPricingMethodID(ctx_.globals.CurrentUserID);
    if (method > 0) doc_.sltPricingMethod.setID(method, true);
    if (doc_.sltType.IsEmpty()) {
        const int top = doc_.sltType.topID();
        if (top > 0) doc_.sltType.setID(top, true);
    }
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
