// Header commands: the settlement term from the goods, the promoter card, staff cards and the
// customer's last invoice.

#include "common/Jalali.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "invoice/HeaderLogic.h"

namespace si {

namespace {
const QString kProblem = QStringLiteral("اشکال");
}  // namespace

void HeaderLogic::cmdCalcAvgDate_Click() {
    if (!AskedYes(
            ctx_, QStringLiteral("هشدار"),
            QStringLiteral("آيا مطمئنيد محاسبه بر اساس راس گيري مهلت تسويه كالاها انجام شود؟")))
        return;
    const int defaultTerm =
        doc_.sltPreCond.IsEmpty() ? -1 : GetPreConditionClearDays(doc_.sltPreCond.ID());
    if (defaultTerm >= 0) doc_.txtLoanExpire = QString::number(defaultTerm);
    const int method = doc_.sltPricingMethod.ID();
    double weighted = 0;
    Money prices;
    for (int row : doc_.flexDetail.filledRows()) {
        auto r =
            ctx_.db().first(QStringLiteral("Select coalesce((Select LoanExpireDuration From "
                                           "tblGoodSaleInfo Where Barcode=tblGood.Barcode "
                                           "and PricingMethodID=?),LoanExpireDuration) as "
                                           "LoanExpireDuration, coalesce((Select RetailPrice "
                                           "From tblGoodSaleInfo Where Barcode=tblGood.Barcode and "
                                           "PricingMethodID=?),RetailPrice) as "
                                           "RetailPrice From tblGood Where Barcode = ?"),
                            {method, method, doc_.flexDetail.line(row).BarCode});
        if (!r) continue;
        const double term =
            r->isNull(u"LoanExpireDuration") ? defaultTerm : r->toDouble(u"LoanExpireDuration");
        weighted += term * r->money(u"RetailPrice").toDouble();
        prices += r->money(u"RetailPrice");
    }
    if (!prices.isZero()) {
        doc_.txtLoanExpire = QString::number(RoundHalfEven(weighted / prices.toDouble()));
        doc_.txtLoanExpireTag = doc_.txtLoanExpire;
        txtLoanExpire_Change();
    }
    Q_EMIT doc_.headerChanged();
}

void HeaderLogic::txtCardNo_Enter() {
    Session& s = ctx_.db();
    bool ok = false;
    const qint64 card = doc_.txtCardNo.trimmed().toLongLong(&ok);
    if (!ok) return;
    if (ctx_.params.number(P::CardNumberUsed) == 0) {
        if (auto used =
                s.first(QStringLiteral("select ID from tblSaleInvoice Where CardNo=?"), {card})) {
            ShowMessage(ctx_, kProblem,
                        QStringLiteral("کارت مورد نظر، قبلا در فاکتور فروش ش.ر. «") +
                            used->text(u"ID") + QStringLiteral("» استفاده شده است."));
            return;
        }
    }
    const QString today = getFarsiDate(s.today());
    auto row = s.first(
        QStringLiteral(
            "select * from tblSalePromoterCard Where ? between CardNoFrom and CardNoTo limit 1"),
        {card});
    if (!row) {
        ShowMessage(ctx_, kProblem, QStringLiteral("اين کارت تعريف نشده است."));
        return;
    }
    const QString expires = row->text(u"FarsiExpireDate");
    if (!expires.isEmpty() && today > expires) {
        ShowMessage(ctx_, kProblem,
                    QStringLiteral("اعتبار کارت تا تاريخ «") + expires +
                        QStringLiteral("» است و در حال حاضر کارت منقضي شده است."));
        return;
    }
    doc_.sltPromoter2.setID(row->toInt(u"PromoterID2", -1));
    if (row->toInt(u"PromoterID1", -1) > 0) doc_.sltPromoter.setID(row->toInt(u"PromoterID1"));
    Q_EMIT doc_.headerChanged();
}

void HeaderLogic::selectByCard(SelectorModel& selector, const QString& notFound) {
    auto row = ctx_.db().first(QStringLiteral("Select ID from tblEmployee Where Tag like ?"),
                               {doc_.rfidTag});
    if (row) {
        selector.setID(row->toInt(u"ID"));
        return;
    }
    selector.Clear();
    ShowMessage(ctx_, kProblem, notFound);
}

void HeaderLogic::lblCreatorEmployee_Click() {
    if (ctx_.params.flag(P::PromoterByRfid)) {
        selectByCard(doc_.sltCreatorEmployee,
                     QStringLiteral("تهيه کننده فيش از طريق کارت، يافت نشد."));
        return;
    }
    if (auto row = ctx_.db().first(QStringLiteral("Select ID from tblEmployee Where UserID =?"),
                                   {ctx_.globals.CurrentUserID}))
        doc_.sltCreatorEmployee.setID(row->toInt(u"ID"));
}

void HeaderLogic::lblPromoter_Click() {
    if (ctx_.params.flag(P::PromoterByRfid))
        selectByCard(doc_.sltPromoter, QStringLiteral("بازارياب از طريق کارت يافت نشد."));
}

void HeaderLogic::LoadLastInvoiceOfCustomer() {
    if (doc_.FormMode != kModeNew || doc_.sltCustomer.IsEmpty() ||
        !ctx_.params.flag(P::AskLastInvoice))
        return;
    if (!AskedYes(ctx_, QStringLiteral("نمايش اطلاعات آخرين فاكتور"),
                  QStringLiteral("آيا اطلاعات آخرين فاكتور مربوط به ") + doc_.sltCustomer.text() +
                      QStringLiteral(" نمايش داده شود؟")))
        return;
    auto row = ctx_.db().first(
        QStringLiteral("Select * from tblSaleInvoice Where CustomerID=? Order By ID desc limit 1"),
        {doc_.sltCustomer.ID()});
    if (row) copyLastInvoice(*row);
}

void HeaderLogic::copyLastInvoice(const Row& r) {
    auto id = [&r](const char16_t* column) { return static_cast<int>(ToNumber(r.value(column))); };
    doc_.sltInventory.setID(
        r.isNull(u"InventoryID") ? doc_.userPrimaryInventoryID : id(u"InventoryID"), true);
    doc_.sltContract.setID(id(u"ContractID"));
    doc_.sltBranch.setID(id(u"BranchID"));
    doc_.sltDeliverType.setID(id(u"DeliverTypeID"));
    doc_.sltIntroductionType.setID(id(u"IntroductionTypeID"));
    doc_.txtGhabz = r.text(u"ManualCode");
    doc_.chkIsFormal =
        r.isNull(u"IsFormal") ? ctx_.params.number(P::DefaultFormal) == 1 : r.toBool(u"IsFormal");
    doc_.chkCheckEchantillon = r.isNull(u"IsCheckEchantillon")
                                   ? ctx_.params.number(P::DefaultSampleGoods) == 1
                                   : r.toBool(u"IsCheckEchantillon");
    doc_.dtpClearDate = r.date(u"ClearDate");
    doc_.txtLoanExpire = doc_.dtpClearDate.isValid() && r.date(u"CreateDate").isValid()
                             ? QString::number(r.date(u"CreateDate").daysTo(doc_.dtpClearDate))
                             : QString();
    doc_.sltPricingMethod.setID(id(u"PricingMethodID"), true);
    doc_.sltPaidByCash.setID(r.isNull(u"IsPaidByCash") || r.toBool(u"IsPaidByCash") ? 1 : 2);
    doc_.sltPromoter.Clear();
    doc_.sltPromoter.setID(id(u"PromoterID"));
    doc_.sltPromoter2.setID(id(u"PromoterID2"));
    doc_.txtNotes = r.text(u"Notes");
}

}  // namespace si
