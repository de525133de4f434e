// The writing of SaveInvoice: the header through spSaleInsertInvoice or
// spSaleUpdateInvoice and two further statements, the lines and free goods with their discount
// kinds and traces, and the surcharges and deductions. Runs inside the save's transaction.

#include "common/Codes.h"
#include "common/Jalali.h"
#include "common/Numbers.h"
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
}  // namespace

void SaveRun::WriteAndPost(const std::function<void()>& afterHeaderWritten) {
    ClaimStoredInvoice();
    RecheckStock();
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
    s.exec(QStringLiteral(
               "Update tblSaleInvoice Set AchieverID = ?, DistributerID = ?, RemCredit = ?, "
               "UsedCredit = ?, CreditDays = ?, ObjectID1 = ?, ObjectID2 = ?, ShouldSMSSend = ?, "
               "UpdaterID = ?, UpdateDate = ?, FarsiUpdateDate = ?, CreatorEmployeeID = ?, "
               "PromoterID2 = ?, CardNo = ?, IsFormal = ?, IsCheckEchantillon = ?, TotalValue = ? "
               "Where ID = ?"),
           {idOrNull(doc_.sltAchiever), idOrNull(doc_.sltDistributer),
            credit ? money(ParseAmount(doc_.txtRemCredit)) : QVariant(),
            credit ? money(ParseAmount(doc_.txtUsedCredit)) : QVariant(),
            credit ? QVariant(ToInt32(ToNumber(doc_.txtRemCreditTag))) : QVariant(),
            idOrNull(doc_.sltObject1), idOrNull(doc_.sltObject2), doc_.chkShouldSMSSend,
            ctx_.globals.CurrentUserID, now, getFarsiDate(now.date()),
            idOrNull(doc_.sltCreatorEmployee), idOrNull(doc_.sltPromoter2),
            cardIsNumber ? QVariant(cardNo) : QVariant(), doc_.chkIsFormal,
            doc_.chkCheckEchantillon, money(doc_.totals.GrandTotal), id});
    doc_.txtTime = fnZelorGetTime(now);
    s.exec(QStringLiteral(
               "Update tblSaleInvoice Set Code = ?, ShortageValue = ?, ClearDate = ?, "
               "FarsiClearDate = ?, ContractID = ?, BranchID = ?, DeliverTypeID = ?, "
               "IntroductionTypeID = ?, ManualCode = ?, PricingMethodID = ?, PreConditionID = ?, "
               "TypeID = ?, DeliverDate = ?, FarsiDeliverDate = ? Where ID = ?"),
           {IsFinal_ ? QVariant(newCode_) : QVariant(), money(doc_.totals.Decs),
            dateOrNull(doc_.dtpClearDate), farsiOrNull(doc_.dtpClearDate),
            idOrNull(doc_.sltContract), idOrNull(doc_.sltBranch), idOrNull(doc_.sltDeliverType),
            idOrNull(doc_.sltIntroductionType), doc_.txtGhabz.trimmed(),
            idOrNull(doc_.sltPricingMethod), idOrNull(doc_.sltPreCond), idOrNull(doc_.sltType),
            dateOrNull(doc_.gdpDeliverDate), farsiOrNull(doc_.gdpDeliverDate), id});
    if (!doc_.sltInventory.IsEmpty())
        s.exec(QStringLiteral("Update tblSaleInvoice Set InventoryID = ? Where ID = ?"),
               {doc_.sltInventory.ID(), id});
}

// The lines of flexDetail, then the free goods of flexEch.
void SaveRun::WriteLines() {
    const QVector<int> rows = doc_.flexDetail.filledRows();
    for (int i = 0; i < rows.size(); ++i)
        WriteLine(doc_.flexDetail.line(rows[i]), rows[i] + 1, false, rows[i]);
    const QVector<int> freeRows = doc_.flexEch.filledRows();
    for (int i = 0; i < freeRows.size(); ++i)
        WriteLine(doc_.flexEch.line(freeRows[i]), freeRows[i] + 1, true, -1);
}

// One line. Its later statements complete the row just inserted, by its ID: the original found
// it by barcode, unit and description, which would also change a sold line that a free-goods line
// of the same goods shares them with (marking the sold goods free).
void SaveRun::WriteLine(const InvoiceLine& l, int rowNumber, bool freeGoods, int gridRow) {
    Session& s = ctx_.db();
    const int id = invoiceID();
    const QString barcode = l.BarCode.trimmed();
    const int lineId = s.call(QStringLiteral("spSaleInsertInvoiceDetail"),
                              QVariantList{l.Qty, barcode, text(l.Description), id, l.DiscountKind,
                                           money(l.DiscountValue), l.DiscountPercent,
                                           money(l.UnitPrice), rowNumber, idOrNull(l.ScaleID)})
                           .toInt();
    if (!shopMode() && !l.InitialQty.trimmed().isEmpty())
        s.exec(QStringLiteral("Update tblSaleInvoiceDetail set InitialQty = ?, InitialScaleID = ?, "
                              "ChangeReasonSequence = ? Where ID = ?"),
               {ToNumber(l.InitialQty), idOrNull(l.InitialScaleID),
                l.ChangeReason.trimmed().isEmpty() ? QVariant()
                                                   : QVariant(ToInt32(ToNumber(l.ChangeReason))),
                lineId});
    const QVariant serviced =
        l.ServicedBarCode.trimmed().isEmpty() ? QVariant() : QVariant(l.ServicedBarCode.trimmed());
    const QVariant method =
        l.PricingMethodID > 0 ? QVariant(l.PricingMethodID) : idOrNull(doc_.sltPricingMethod);
    const QVariant promoter =
        l.PromoterID > 0 ? QVariant(l.PromoterID) : idOrNull(doc_.sltPromoter);
    if (freeGoods) {
        s.exec(
            QStringLiteral("Update tblSaleInvoiceDetail set ServicedBarcode = ?, "
                           "PricingMethodID = ?, PromoterID = ?, IsEchantillon = 1 Where ID = ?"),
            {serviced, method, promoter, lineId});
        return;
    }
    s.exec(
        QStringLiteral("Update tblSaleInvoiceDetail set ServicedBarcode = ?, PricingMethodID = ?, "
                       "PromoterID = ?, IsEchantillon = 0, ConstructionFeePercent = ?, "
                       "ConstructionFeeValue = ?, ProfitPercent = ?, WorkFee = ?, AddedValue = ?, "
                       "TaxValue = ? Where ID = ?"),
        {serviced, method, promoter, l.WagePercent, money(l.WagePerWeight), l.ProfitPercent,
         money(l.Commission), money(l.Duty), money(l.Tax), lineId});
    services_.discounts->InsertDetailDiscount(id, gridRow);
    if (trace())
        QMetaObject::invokeMethod(trace_.get(), "SaveRow", Q_ARG(int, FormType::SaleInvoice),
                                  Q_ARG(int, id), Q_ARG(QString, barcode), Q_ARG(int, l.ScaleID),
                                  Q_ARG(double, l.Qty), Q_ARG(int, rowNumber));
}

}  // namespace si
