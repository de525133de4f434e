#include "invoice/InvoiceStore.h"
#include "common/Codes.h"

#include "common/Row.h"

namespace si {

namespace {

// The postings are found by the invoice's form ID and type, next to the header; the walk-in buyer
// comes with it, so that reading it costs no statement of its own.
const QString kHeader = QStringLiteral(
    "Select s.*, (Select max(d.DocumentID) from tblAccountDocumentDetail d Where d.FormID = s.ID "
    "and d.FormTypeID = ?) as PostedDocumentID, (Select max(c.ID) from tblRecPayCashTurnDetail c "
    "Where c.FormID = s.ID and c.FormTypeID = ?) as PostedCashTurnDetailID, (Select max(x.ID) "
    "from tblInventoryDispatch x Where x.FormID = s.ID and x.FormTypeID = ?) as PostedDispatchID, "
    "w.Name as WalkInName, w.Phone as WalkInPhone from tblSaleInvoice s left join "
    "tblSaleInvoiceWalkIn w on w.InvoiceID = s.ID Where s.ID = ?");

const QString kLines = QStringLiteral(
    "Select * from tblSaleInvoiceDetail Where InvoiceID = ? Order By coalesce(IsEchantillon, 0), "
    "RowNumber, ID");

const QString kLineDiscounts =
    QStringLiteral("Select * from tblSaleInvoiceDetailDiscount Where InvoiceID = ? Order By ID");

const QString kSurcharges =
    QStringLiteral("Select * from tblSaleInvoiceSucharge Where InvoiceID = ? Order By ID");

const QString kDeductions =
    QStringLiteral("Select * from tblSaleInvoiceShortage Where InvoiceID = ? Order By ID");

int idOf(const Row& r, QStringView column) {
    const int id = r.toInt(column, -1);
    return id > 0 ? id : -1;
}

template <typename T>
std::optional<T> optionalOf(const Row& r, QStringView column,
                            T (Row::*read)(QStringView, T) const) {
    if (r.isNull(column)) return std::nullopt;
    return (r.*read)(column, T{});
}

std::optional<Money> optionalMoney(const Row& r, QStringView column) {
    if (r.isNull(column)) return std::nullopt;
    return r.money(column);
}

InvoiceHeader headerOf(const Row& r) {
    InvoiceHeader h;
    h.id = r.toInt(u"ID");
    h.code = optionalOf<int>(r, u"Code", &Row::toInt);
    h.manualCode = r.text(u"ManualCode");
    h.typeId = idOf(r, u"TypeID");
    h.customerId = idOf(r, u"CustomerID");
    h.inventoryId = idOf(r, u"InventoryID");
    h.branchId = idOf(r, u"BranchID");
    h.contractId = idOf(r, u"ContractID");
    h.deliverTypeId = idOf(r, u"DeliverTypeID");
    h.introductionTypeId = idOf(r, u"IntroductionTypeID");
    h.pricingMethodId = idOf(r, u"PricingMethodID");
    h.preConditionId = idOf(r, u"PreConditionID");
    h.objectId1 = idOf(r, u"ObjectID1");
    h.objectId2 = idOf(r, u"ObjectID2");
    h.promoterId = idOf(r, u"PromoterID");
    h.promoterId2 = idOf(r, u"PromoterID2");
    h.achieverId = idOf(r, u"AchieverID");
    h.distributerId = idOf(r, u"DistributerID");
    h.creatorId = idOf(r, u"CreatorID");
    h.creatorEmployeeId = idOf(r, u"CreatorEmployeeID");
    h.distributionInvoiceId = idOf(r, u"DistributionInvoiceID");
    h.cardNo = optionalOf<qint64>(r, u"CardNo", &Row::toInt64);
    h.createDate = r.date(u"CreateDate");
    h.deliverDate = r.date(u"DeliverDate");
    h.clearDate = r.date(u"ClearDate");
    h.isPaidByCash = r.toBool(u"IsPaidByCash", true);
    h.isFormal = r.toBool(u"IsFormal");
    h.isCheckEchantillon = r.toBool(u"IsCheckEchantillon");
    h.shouldSmsSend = r.toBool(u"ShouldSMSSend");
    h.usedCredit = optionalMoney(r, u"UsedCredit");
    h.remCredit = optionalMoney(r, u"RemCredit");
    h.creditDays = optionalOf<int>(r, u"CreditDays", &Row::toInt);
    h.notes = r.text(u"Notes");
    h.customerMessage = r.text(u"CustomerMessage");
    return h;
}

StoredTotals totalsOf(const Row& r) {
    StoredTotals t;
    t.discountTypeId = r.toInt(u"DiscountTypeID", kMasterDiscountAsPercent);
    t.discountPercent = r.toDouble(u"DiscountPercent");
    t.discountValue = r.money(u"DiscountValue");
    t.suchargeValue = r.money(u"SuchargeValue");
    t.shortageValue = r.money(u"ShortageValue");
    t.value = r.money(u"Value");
    t.totalValue = r.money(u"TotalValue");
    t.pureTotalValue = r.money(u"PureTotalValue");
    return t;
}

InvoicePostings postingsOf(const Row& r) {
    return {idOf(r, u"PostedDocumentID"), idOf(r, u"PostedCashTurnDetailID"),
            idOf(r, u"PostedDispatchID")};
}

WalkInBuyer walkInOf(const Row& r) {
    return {r.text(u"WalkInName"), r.text(u"WalkInPhone")};
}

InvoiceLineItem lineOf(const Row& r) {
    InvoiceLineItem l;
    l.rowNumber = r.toInt(u"RowNumber");
    l.freeGoods = r.toBool(u"IsEchantillon");
    l.barcode = r.text(u"Barcode");
    l.description = r.text(u"Description");
    l.scaleId = idOf(r, u"ScaleID");
    l.qty = r.toDouble(u"Qty");
    l.unitPrice = r.money(u"RetailPrice");
    l.discountKind = r.toInt(u"DiscountTypeID", 1);
    l.discountPercent = r.toDouble(u"DiscountPercent");
    l.discountValue = r.money(u"DiscountValue");
    l.servicedBarcode = r.text(u"ServicedBarCode");
    l.initialQty = optionalOf<double>(r, u"InitialQty", &Row::toDouble);
    l.initialScaleId = idOf(r, u"InitialScaleID");
    l.changeReason = optionalOf<int>(r, u"ChangeReasonSequence", &Row::toInt);
    l.wagePercent = r.toDouble(u"ConstructionFeePercent");
    l.wagePerWeight = r.money(u"ConstructionFeeValue");
    l.profitPercent = r.toDouble(u"ProfitPercent");
    l.commission = r.money(u"WorkFee");
    l.tax = r.money(u"TaxValue");
    l.duty = r.money(u"AddedValue");
    l.pricingMethodId = idOf(r, u"PricingMethodID");
    l.promoterId = idOf(r, u"PromoterID");
    return l;
}

}  // namespace

std::optional<Row> InvoiceStore::readHeaderRow(int invoiceId) {
    return session_.first(
        kHeader, {FormType::SaleInvoice, FormType::SaleInvoice, FormType::SaleInvoice, invoiceId});
}

std::optional<Invoice> InvoiceStore::read(int invoiceId) {
    const std::optional<Row> head = readHeaderRow(invoiceId);
    if (!head) return std::nullopt;
    Invoice invoice;
    invoice.header = headerOf(*head);
    invoice.totals = totalsOf(*head);
    invoice.postings = postingsOf(*head);
    invoice.walkIn = walkInOf(*head);
    invoice.rowVersion = head->has(u"RowVersion") ? head->toInt(u"RowVersion") : 0;
    invoice.lines = readLines(invoiceId);
    invoice.lineDiscounts = readLineDiscounts(invoiceId);
    invoice.surcharges = readSurcharges(invoiceId);
    invoice.deductions = readDeductions(invoiceId);
    return invoice;
}

QVector<InvoiceLineItem> InvoiceStore::readLines(int invoiceId) {
    QVector<InvoiceLineItem> lines;
    for (const Row& r : session_.query(kLines, {invoiceId}))
        lines.append(lineOf(r));
    return lines;
}

QVector<LineDiscount> InvoiceStore::readLineDiscounts(int invoiceId) {
    QVector<LineDiscount> discounts;
    for (const Row& r : session_.query(kLineDiscounts, {invoiceId}))
        discounts.append({r.text(u"Barcode"), r.text(u"Description"), idOf(r, u"ScaleID"),
                          r.toInt(u"DiscountTypeID"), r.toDouble(u"DiscountPercent"),
                          r.money(u"DiscountValue")});
    return discounts;
}

QVector<InvoiceSurcharge> InvoiceStore::readSurcharges(int invoiceId) {
    QVector<InvoiceSurcharge> surcharges;
    for (const Row& r : session_.query(kSurcharges, {invoiceId}))
        surcharges.append({r.toInt(u"SuchargeTypeID"), r.money(u"Value")});
    return surcharges;
}

QVector<InvoiceDeduction> InvoiceStore::readDeductions(int invoiceId) {
    QVector<InvoiceDeduction> deductions;
    for (const Row& r : session_.query(kDeductions, {invoiceId}))
        deductions.append(
            {r.toInt(u"ShortageTypeID"), r.money(u"Value"), r.toDouble(u"ShortagePercent")});
    return deductions;
}

}  // namespace si
