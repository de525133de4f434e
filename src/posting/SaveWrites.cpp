// The writing of SaveInvoice: the header through spSaleInsertInvoice or
// spSaleUpdateInvoice and two further statements, the lines and free goods with their discount
// kinds and traces, and the surcharges and deductions. Runs inside the save's transaction. The
// statements do not grow with the lines: the lines are one multi-row insert (a few for a very
// long invoice), and so are their discount kinds.

#include "common/Codes.h"
#include "common/Jalali.h"
#include "common/Numbers.h"
#include "common/RowInserts.h"
#include "invoice/DiscountLogic.h"
#include "invoice/FormMainLogic.h"
#include "invoice/TotalsLogic.h"
#include "posting/SaveRun.h"

namespace si {

namespace {
constexpr int kEventInvoiceEdited = 90101;

QVariant idOrNull(const SelectorModel& s) {
    return s.IsEmpty() ? QVariant() : QVariant(s.ID());
}
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
// A null QString would reach SQL as NULL; line descriptions are never NULL.
QString text(const QString& s) {
    return s.isNull() ? QStringLiteral("") : s;
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
    WriteHeader();
    if (afterHeaderWritten) afterHeaderWritten();
    WriteHeaderDetails();
    WriteLines();
    services_.totals->SaveSurcharges(invoiceID());
    services_.totals->SaveDeductions(invoiceID());
    if (IsFinal_) PostFinal();
}

// @CreateDate ... @PromoterID, @InvoiceType, @IsPaidByCash: the values both header procedures
// take, in their order (the insert adds @Code and @CSOrderID in between).
Params SaveRun::headerValues() const {
    const InvoiceTotals& t = doc_.totals;
    const Money value = t.GrandTotal - t.Added - t.Tax;
    return {doc_.datCreateDate,
            getFarsiDate(doc_.datCreateDate),
            idOrNull(doc_.sltCustomer),
            ctx_.globals.CurrentUserID,
            doc_.txtNotes.trimmed().left(2000),
            doc_.cmbMessage.trimmed().left(200),
            doc_.masterDiscountKind == MasterDiscountKind::Value ? 4 : 3,
            t.MasterDiscountPercent,
            money(t.MasterDiscountValue),
            money(t.SuCharge),
            money(value),
            money(value),
            idOrNull(doc_.sltPromoter),
            1,
            IsCashSale()};
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
               QVariantList{kEventInvoiceEdited, id, FormType::SaleInvoice,
                            QStringLiteral("فاكتور فروش كالا به شماره رايانهاي ") +
                                QString::number(id) + QStringLiteral(" اصلاح شد."),
                            ctx_.globals.CurrentUserID, doc_.datCreateDate,
                            getFarsiDate(doc_.datCreateDate),
                            now.time().hour() * 60 + now.time().minute()});
        return;
    }
    // @Code -1 and @CSOrderID -1 after @DiscountValue and @Value; then @IsFromDispatch and the
    // output ID.
    QVariantList args = h.mid(0, 9) + QVariantList{-1} + h.mid(9, 2) + QVariantList{-1} +
                        h.mid(11) + QVariantList{false, QVariant()};
    s.call(QStringLiteral("spSaleInsertInvoice"), args);
    doc_.txtID = QString::number(args.last().toInt());
    if (doc_.sltCreatorEmployee.IsEmpty())
        doc_.sltCreatorEmployee.setID(ctx_.globals.CurrentEmployeeID);
}

// The header's further fields, its code (NULL while temporary) and inventory. The grand total shown
// is stored too (TotalValue), as the header reads it back from there.
void SaveRun::WriteHeaderDetails() {
    Session& s = ctx_.db();
    const int id = invoiceID();
    const bool credit = ctx_.params.number(P::CreditCashBox) > 0;
    const QString card = doc_.txtCardNo.trimmed();
    bool cardIsNumber = false;
    const qlonglong cardNo = card.toLongLong(&cardIsNumber);
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
           {idOrNull(doc_.sltAchiever),
            idOrNull(doc_.sltDistributer),
            credit ? money(ParseAmount(doc_.txtRemCredit)) : QVariant(),
            credit ? money(ParseAmount(doc_.txtUsedCredit)) : QVariant(),
            credit ? QVariant(ToInt32(ToNumber(doc_.txtRemCreditTag))) : QVariant(),
            idOrNull(doc_.sltObject1),
            idOrNull(doc_.sltObject2),
            doc_.chkShouldSMSSend,
            ctx_.globals.CurrentUserID,
            now,
            getFarsiDate(now.date()),
            idOrNull(doc_.sltCreatorEmployee),
            idOrNull(doc_.sltPromoter2),
            cardIsNumber ? QVariant(cardNo) : QVariant(),
            doc_.chkIsFormal,
            doc_.chkCheckEchantillon,
            money(doc_.totals.GrandTotal),
            IsFinal_ ? QVariant(newCode_) : QVariant(),
            money(doc_.totals.Decs),
            dateOrNull(doc_.dtpClearDate),
            farsiOrNull(doc_.dtpClearDate),
            idOrNull(doc_.sltContract),
            idOrNull(doc_.sltBranch),
            idOrNull(doc_.sltDeliverType),
            idOrNull(doc_.sltIntroductionType),
            doc_.txtGhabz.trimmed(),
            idOrNull(doc_.sltPricingMethod),
            idOrNull(doc_.sltPreCond),
            idOrNull(doc_.sltType),
            dateOrNull(doc_.gdpDeliverDate),
            farsiOrNull(doc_.gdpDeliverDate),
            idOrNull(doc_.sltInventory),
            id});
    doc_.txtTime = fnZelorGetTime(now);
}

// The lines of flexDetail, then the free goods of flexEch, in grid order, each one row with all
// its columns: completing a row afterwards by barcode, unit and description, as the original
// did, would also change a sold line that a free-goods line of the same goods shares them with.
// Then the goods lines' discount kinds and trace rows, each asked and written for all lines at
// once.
void SaveRun::WriteLines() {
    RowInserts lines(kLineInsert, kLineValues);
    const QVector<int> rows = doc_.flexDetail.filledRows();
    for (int row : rows)
        lines.add(lineValues(doc_.flexDetail.line(row), row + 1, false));
    for (int row : doc_.flexEch.filledRows())
        lines.add(lineValues(doc_.flexEch.line(row), row + 1, true));
    lines.exec(ctx_.db());
    services_.discounts->InsertDetailDiscounts(invoiceID(), rows);
    SaveTraces(rows);
}

// The values of kLineInsert for one line. The initial quantity is kept outside the store version
// only; free goods carry no wage, profit, commission, duty or tax.
Params SaveRun::lineValues(const InvoiceLine& l, int rowNumber, bool freeGoods) const {
    const bool initial = !shopMode() && !l.InitialQty.trimmed().isEmpty();
    const QString serviced = l.ServicedBarCode.trimmed();
    Params values{
        invoiceID(),
        rowNumber,
        l.BarCode.trimmed(),
        text(l.Description),
        idOrNull(l.ScaleID),
        money(Money::fromVariant(QVariant(l.Qty))),
        money(l.UnitPrice),
        l.DiscountKind,
        l.DiscountPercent,
        money(l.DiscountValue),
        serviced.isEmpty() ? QVariant() : QVariant(serviced),
        initial ? QVariant(ToNumber(l.InitialQty)) : QVariant(),
        initial ? idOrNull(l.InitialScaleID) : QVariant(),
        initial && !l.ChangeReason.trimmed().isEmpty() ? QVariant(ToInt32(ToNumber(l.ChangeReason)))
                                                       : QVariant(),
        l.PricingMethodID > 0 ? QVariant(l.PricingMethodID) : idOrNull(doc_.sltPricingMethod),
        l.PromoterID > 0 ? QVariant(l.PromoterID) : idOrNull(doc_.sltPromoter),
        freeGoods ? 1 : 0};
    if (freeGoods) {
        values.resize(kLineValues);
        return values;
    }
    return values << l.WagePercent << money(l.WagePerWeight) << l.ProfitPercent
                  << money(l.Commission) << money(l.Duty) << money(l.Tax);
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
