// The writing of SaveInvoice: the header through spSaleInsertInvoice or
// spSaleUpdateInvoice with the walk-in buyer and two further statements, the lines and free goods
// with their discount kinds and traces, the surcharges and deductions, and the invoice's stored
// sums of them (one statement, after the last of those writes). Runs inside the save's
// transaction. The statements do not grow with the lines: the lines are one multi-row insert (a
// few for a very long invoice), and so are their discount kinds.

#include "common/Codes.h"
#include "common/InvoiceSums.h"
#include "common/Jalali.h"
#include "common/Numbers.h"
#include "common/RowInserts.h"
#include "invoice/DiscountLogic.h"
#include "invoice/InvoiceServices.h"
#include "invoice/TotalsLogic.h"
#include "posting/SaveFront.h"
#include "posting/SaveRun.h"

namespace si {

namespace {

QVariant idOrNull(int id) {
    return id > 0 ? QVariant(id) : QVariant();
}
QVariant money(Money m) {
    return QVariant::fromValue(m);
}
QVariant dateOrNull(const QDate& d) {
    return d.isValid() ? QVariant(d) : QVariant();
}
QVariant farsiOrNull(const QDate& d) {
    return d.isValid() ? QVariant(getFarsiDate(d)) : QVariant();
}
template <typename T>
QVariant orNull(const std::optional<T>& v) {
    return v ? QVariant::fromValue(*v) : QVariant();
}
QVariant orNull(const std::optional<Money>& v) {
    return v ? money(*v) : QVariant();
}
QVariant textOrNull(const QString& s) {
    return s.isEmpty() ? QVariant() : QVariant(s);
}

const QString kLineInsert = QStringLiteral(
    "insert into tblSaleInvoiceDetail (InvoiceID, RowNumber, Barcode, Description, ScaleID, Qty, "
    "RetailPrice, DiscountTypeID, DiscountPercent, DiscountValue, ServicedBarCode, InitialQty, "
    "InitialScaleID, ChangeReasonSequence, PricingMethodID, PromoterID, IsEchantillon, "
    "ConstructionFeePercent, ConstructionFeeValue, ProfitPercent, WorkFee, AddedValue, "
    "TaxValue)");
constexpr int kLineValues = 23;
}  // namespace

void SaveRun::WriteAndPost(const std::function<void()>& afterHeaderWritten) {
    // Before this save writes anything of its own.
    const QVariant lockMark = ctx_.db().commitMark();
    ClaimStoredInvoice();
    RecheckStock(lockMark);
    RecheckDebitCeiling();
    if (IsFinal_) AssignCode();
    invoice_ = doc_.toInvoice();
    WriteHeader();
    WriteWalkInBuyer();
    if (afterHeaderWritten) afterHeaderWritten();
    WriteHeaderDetails();
    WriteLines();
    services_.totals->SaveSurcharges(invoiceID());
    services_.totals->SaveDeductions(invoiceID());
    RefreshInvoiceSums(ctx_.db(), invoiceID());
    if (IsFinal_) PostFinal();
}

// @CreateDate ... @PromoterID, @InvoiceType, @IsPaidByCash: the values both header procedures
// take, in their order (the insert adds @Code and @CSOrderID in between).
Params SaveRun::headerValues() const {
    const InvoiceHeader& h = invoice_.header;
    const StoredTotals& t = invoice_.totals;
    return {h.createDate,
            getFarsiDate(h.createDate),
            idOrNull(h.customerId),
            ctx_.globals.CurrentUserID,
            h.notes,
            h.customerMessage,
            t.discountTypeId,
            t.discountPercent,
            money(t.discountValue),
            money(t.suchargeValue),
            money(t.value),
            money(t.pureTotalValue),
            idOrNull(h.promoterId),
            1,
            h.isPaidByCash};
}

// The header through its procedure: updated (lines deleted, edit logged) or inserted.
void SaveRun::WriteHeader() {
    Session& s = ctx_.db();
    const int id = invoiceID();
    services_.discounts->DeleteDetailDiscounts(id);
    Params h = headerValues();
    if (doc_.FormMode == kModeEdit && id > 0) {
        s.call(QStringLiteral("spSaleDeleteInvoice"), QVariantList{id});
        // NULL keeps the stored IsFromDispatch: only the dispatch-to-invoice dialog sets it.
        QVariantList args = QVariantList{id} + h + QVariantList{QVariant()};
        s.call(QStringLiteral("spSaleUpdateInvoice"), args);
        const QDateTime now = s.now();
        s.call(QStringLiteral("spZelorInsertFormAction"),
               QVariantList{EventType::InvoiceEdited, id, FormType::SaleInvoice,
                            QStringLiteral("فاكتور فروش كالا به شماره رايانهاي ") +
                                QString::number(id) + QStringLiteral(" اصلاح شد."),
                            ctx_.globals.CurrentUserID, invoice_.header.createDate,
                            getFarsiDate(invoice_.header.createDate),
                            now.time().hour() * 60 + now.time().minute()});
        return;
    }
    // @Code -1 and @CSOrderID -1 after @DiscountValue and @Value; then @IsFromDispatch and the
    // output ID.
    QVariantList args = h.mid(0, 9) + QVariantList{-1} + h.mid(9, 2) + QVariantList{-1} +
                        h.mid(11) + QVariantList{false, QVariant()};
    s.call(QStringLiteral("spSaleInsertInvoice"), args);
    invoice_.header.id = args.last().toInt();
    doc_.txtID = QString::number(invoice_.header.id);
    if (doc_.sltCreatorEmployee.IsEmpty()) {
        doc_.sltCreatorEmployee.setID(ctx_.globals.CurrentEmployeeID);
        invoice_.header.creatorEmployeeId =
            doc_.sltCreatorEmployee.IsEmpty() ? -1 : doc_.sltCreatorEmployee.ID();
    }
}

// The header's further fields, its code (NULL while temporary) and inventory. The grand total shown
// is stored too (TotalValue), as the header reads it back from there.
void SaveRun::WriteHeaderDetails() {
    Session& s = ctx_.db();
    const InvoiceHeader& h = invoice_.header;
    const StoredTotals& t = invoice_.totals;
    const QDateTime now = s.now();
    // One statement; an empty inventory keeps the stored one.
    s.exec(QStringLiteral(
               "Update tblSaleInvoice Set AchieverID = ?, DistributerID = ?, RemCredit = ?, "
               "UsedCredit = ?, CreditDays = ?, ObjectID1 = ?, ObjectID2 = ?, ShouldSMSSend = ?, "
               "UpdaterID = ?, UpdateDate = ?, FarsiUpdateDate = ?, CreatorEmployeeID = ?, "
               "PromoterID2 = ?, CardNo = ?, IsFormal = ?, IsCheckEchantillon = ?, TotalValue = ?, "
               "Code = ?, ShortageValue = ?, ClearDate = ?, FarsiClearDate = ?, ContractID = ?, "
               "BranchID = ?, DeliverTypeID = ?, IntroductionTypeID = ?, ManualCode = ?, "
               "PricingMethodID = ?, PreConditionID = ?, TypeID = ?, DeliverDate = ?, "
               "FarsiDeliverDate = ?, InventoryID = coalesce(?, InventoryID) Where ID = ?"),
           {idOrNull(h.achieverId),
            idOrNull(h.distributerId),
            orNull(h.remCredit),
            orNull(h.usedCredit),
            orNull(h.creditDays),
            idOrNull(h.objectId1),
            idOrNull(h.objectId2),
            h.shouldSmsSend,
            ctx_.globals.CurrentUserID,
            now,
            getFarsiDate(now.date()),
            idOrNull(h.creatorEmployeeId),
            idOrNull(h.promoterId2),
            orNull(h.cardNo),
            h.isFormal,
            h.isCheckEchantillon,
            money(t.totalValue),
            IsFinal_ ? QVariant(newCode_) : QVariant(),
            money(t.shortageValue),
            dateOrNull(h.clearDate),
            farsiOrNull(h.clearDate),
            idOrNull(h.contractId),
            idOrNull(h.branchId),
            idOrNull(h.deliverTypeId),
            idOrNull(h.introductionTypeId),
            h.manualCode,
            idOrNull(h.pricingMethodId),
            idOrNull(h.preConditionId),
            idOrNull(h.typeId),
            dateOrNull(h.deliverDate),
            farsiOrNull(h.deliverDate),
            idOrNull(h.inventoryId),
            invoice_.header.id});
    doc_.txtTime = fnZelorGetTime(now);
}

// The goods lines, then the free goods, in grid order, each one row with all its columns:
// completing a row afterwards by barcode, unit and description, as the original did, would also
// change a sold line that a free-goods line of the same goods shares them with. Then the goods
// lines' discount kinds and trace rows, each asked and written for all lines at once.
void SaveRun::WriteLines() {
    RowInserts lines(kLineInsert, kLineValues);
    for (const InvoiceLineItem& line : invoice_.lines)
        lines.add(lineValues(line));
    lines.exec(ctx_.db());
    const QVector<int> rows = doc_.flexDetail.filledRows();
    services_.discounts->InsertDetailDiscounts(invoiceID(), rows);
    SaveTraces(rows);
}

// The values of kLineInsert for one line; free goods carry no wage, profit, commission, duty or
// tax.
Params SaveRun::lineValues(const InvoiceLineItem& l) const {
    Params values{invoice_.header.id,
                  l.rowNumber,
                  l.barcode,
                  l.description,
                  idOrNull(l.scaleId),
                  money(Money::fromVariant(QVariant(l.qty))),
                  money(l.unitPrice),
                  l.discountKind,
                  l.discountPercent,
                  money(l.discountValue),
                  textOrNull(l.servicedBarcode),
                  orNull(l.initialQty),
                  l.initialQty ? idOrNull(l.initialScaleId) : QVariant(),
                  orNull(l.changeReason),
                  idOrNull(l.pricingMethodId),
                  idOrNull(l.promoterId),
                  l.freeGoods ? 1 : 0};
    if (l.freeGoods) {
        values.resize(kLineValues);
        return values;
    }
    return values << l.wagePercent << money(l.wagePerWeight) << l.profitPercent
                  << money(l.commission) << money(l.duty) << money(l.tax);
}

// One statement when the invoice has a walk-in buyer (written or replaced), one when a stored
// buyer was cleared, none otherwise: most sales have no buyer and pay nothing for it.
void SaveRun::WriteWalkInBuyer() {
    const WalkInBuyer& buyer = invoice_.walkIn;
    if (buyer.isEmpty()) {
        if (doc_.walkInStored)
            ctx_.db().exec(QStringLiteral("DELETE FROM tblSaleInvoiceWalkIn WHERE InvoiceID = ?"),
                           {invoice_.header.id});
        return;
    }
    ctx_.db().exec(QStringLiteral("INSERT INTO tblSaleInvoiceWalkIn (InvoiceID, Name, Phone) "
                                  "VALUES (?, ?, ?) ON CONFLICT (InvoiceID) DO UPDATE SET Name = "
                                  "excluded.Name, Phone = excluded.Phone"),
                   {invoice_.header.id, buyer.name, textOrNull(buyer.phone)});
}

// The trace control keeps the traced goods' rows in their lines' order.
void SaveRun::SaveTraces(const QVector<int>& rows) {
    if (rows.isEmpty() || !trace()) return;
    QStringList barcodes;
    QList<int> units;
    QList<int> rowNumbers;
    for (int row : rows) {
        const InvoiceLine& l = doc_.flexDetail.line(row);
        barcodes << l.BarCode.trimmed();
        units << l.ScaleID;
        rowNumbers << row + 1;
    }
    QMetaObject::invokeMethod(trace_.get(), "SaveRows", Q_ARG(int, FormType::SaleInvoice),
                              Q_ARG(int, invoiceID()), Q_ARG(QStringList, barcodes),
                              Q_ARG(QList<int>, units), Q_ARG(QList<int>, rowNumbers));
}

}  // namespace si
