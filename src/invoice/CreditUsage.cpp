// The header's credit fields (the customer's remaining credit after the repayments since the
// last credit invoice) and the promoter's outstanding sales.
//
// How the credit is carried from invoice to invoice: a final invoice stores RemCredit, the
// credit the customer had when it was saved, UsedCredit, the part of it this invoice took (the
// clerk enters it), and CreditDays. The look-up starts from the latest such invoice that used
// credit: its RemCredit is the starting credit (InitialCredit) and RemCredit - UsedCredit what
// was left. Each receipt since then in the repayment cash box (parameter 5), net of payments,
// gives credit back in date order, never above the starting credit (a negative one takes
// credit away). The credit days are the receipts' mean distance in days from that invoice,
// weighted by their net amounts (only receipts that brought money in), or the last invoice's
// own credit days when none did. A customer without such an invoice starts from the credit of
// its distribution row (when switched on), with nothing used and no credit days. The used
// credit of the new invoice starts at 0.

#include <algorithm>
#include <cmath>

#include "common/Codes.h"
#include "common/Jalali.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "invoice/CreditLogic.h"
#include "invoice/CreditTexts.h"

namespace si {

namespace T = credit_texts;

namespace {

struct CreditStart {
    bool found = false;
    Money InitialCredit;
    Money RemCredit;
    int CreditDays = 0;
    QDateTime CreateDate;
};

struct Repayment {
    Money net;
    qint64 days = 0;
};

struct CreditUsage {
    Money RemCredit;
    int CreditDays = 0;
};

CreditUsage Apply(const CreditStart& start, const QVector<Repayment>& repayments) {
    CreditUsage usage{start.RemCredit, start.CreditDays};
    double weighted = 0;
    double received = 0;
    for (const Repayment& r : repayments) {
        usage.RemCredit = std::min(start.InitialCredit, usage.RemCredit + r.net);
        if (r.net <= Money()) continue;
        weighted += r.net.toDouble() * static_cast<double>(r.days);
        received += r.net.toDouble();
    }
    if (received > 0)
        usage.CreditDays = static_cast<int>(RoundHalfUpPercent(weighted / received, 0));
    return usage;
}

}  // namespace

void CreditLogic::ClearCreditUsage() {
    doc_.txtUsedCredit.clear();
    doc_.txtRemCredit.clear();
    doc_.txtRemCreditTag.clear();
    doc_.txtCreditPeriod.clear();
}

void CreditLogic::LoadCustomerCreditUsage(int CustomerID) {
    ClearCreditUsage();
    const int cashBox = ctx_.params.number(P::CreditCashBox);
    int term = 0;
    if (cashBox >= 1 && doc_.datCreateDate.isValid() && CustomerID > 0) {
        Session& s = ctx_.db();
        const QDate day = doc_.datCreateDate;
        const int id = doc_.invoiceID();
        // Before this invoice: an earlier day, or the same day and a smaller ID when it is stored.
        const auto last = s.first(
            QStringLiteral(
                "Select coalesce(RemCredit, 0) as InitialCredit, CreditDays, coalesce(RemCredit, "
                "0) - coalesce(UsedCredit, 0) as RemCredit, CreateDate from tblSaleInvoice Where "
                "Code is not Null and CustomerID = ? and coalesce(UsedCredit, 0) > 0 and "
                "(CreateDate < ? or (CreateDate < ? and ID < ?)) Order By CreateDate Desc, ID "
                "Desc limit 1"),
            {CustomerID, id > 0 ? day : day.addDays(1), day.addDays(1), id});
        CreditStart start;
        if (last) {
            start = {true, last->money(u"InitialCredit"), last->money(u"RemCredit"),
                     last->toInt(u"CreditDays"), last->dateTime(u"CreateDate")};
        } else {
            const DistributionCredit granted = ReadDistributionCredit(CustomerID);
            start.InitialCredit =
                granted.EnableCredit ? std::max(granted.Credit, Money()) : Money();
            start.RemCredit = start.InitialCredit;
        }
        // Receipts up to the end of the invoice's day.
        const RowSet rows = s.query(
            QStringLiteral(
                "Select ReceivedValue, PayedValue, TransactionDate from tblRecPayCashTurnDetail "
                "Where RelatedAccountID in (Select AccountID from tblAccountRelatedObjects Where "
                "RelatedClassID = 7 and RelatedObjectID = ?) and Code is not null and CashTurnID "
                "in (Select ID from tblRecPayCashTurn Where CashID = ?) and TransactionDate > ? "
                "and TransactionDate < ? Order By TransactionDate, ID"),
            {CustomerID, cashBox,
             start.found ? QVariant(start.CreateDate) : QVariant(QDate(1900, 1, 1)),
             day.addDays(1)});
        QVector<Repayment> repayments;
        for (const Row& r : rows) {
            const QDate paid = r.date(u"TransactionDate");
            repayments.append({r.money(u"ReceivedValue") - r.money(u"PayedValue"),
                               start.found ? std::abs(start.CreateDate.date().daysTo(paid)) : 0});
        }
        const CreditUsage usage = Apply(start, repayments);
        term = static_cast<int>(RoundHalfEven(usage.CreditDays * 5.0 / 6.0));
        doc_.txtRemCredit = FormatAmount(usage.RemCredit);
        doc_.txtRemCreditTag = QString::number(usage.CreditDays);
        doc_.txtUsedCredit = FormatAmount(Money());
        doc_.txtCreditPeriod = QString::number(term) + T::kDays;
    }
    // The credit period is the longest settlement term the customer gets.
    if (term > 0) {
        creditTermTag_ = QString::number(term);
        doc_.txtLoanExpireTag = creditTermTag_;
    } else if (!creditTermTag_.isEmpty() && doc_.txtLoanExpireTag == creditTermTag_) {
        doc_.txtLoanExpireTag.clear();
        creditTermTag_.clear();
    }
    Q_EMIT doc_.headerChanged();
}

// A promoter without a threshold (no path row, or none above 0) is not limited: the check is
// switched on for the whole company, and an unset threshold must not stop every sale.
bool CreditLogic::CheckPromoterNonAchieved(int PromoterID, Money Amount) {
    if (PromoterID <= 0) return true;
    Session& s = ctx_.db();
    const Money threshold = Money::fromVariant(
        s.scalar(QStringLiteral("Select min(NonAchievedMaxValue) from tblDistributionPathPromoters "
                                "Where EmployeeID=? and NonAchievedMaxValue > 0"),
                 {PromoterID}));
    if (threshold <= Money()) return true;
    // Final invoices of the promoter less what receipts assigned to them (form type 901 on
    // either side of the link; a link of an invoice to itself counts once).
    const Money outstanding = Money::fromVariant(s.scalar(
        QStringLiteral(
            "with inv as (select ID, coalesce(TotalValue, 0) as TotalValue from tblSaleInvoice "
            "where Code is not null and PromoterID = ?) "
            "select (select coalesce(sum(TotalValue), 0) from inv) "
            "- (select coalesce(sum(coalesce(rf.AssignedValue, 0)), 0) from tblZelorRelatedForms "
            "rf where rf.ReferenceFormTypeID = ? and rf.ReferenceFormID in (select ID from inv)) "
            "- (select coalesce(sum(coalesce(rf.AssignedValue, 0)), 0) from tblZelorRelatedForms "
            "rf where rf.RelatedFormTypeID = ? and rf.RelatedFormID in (select ID from inv) and "
            "not (rf.ReferenceFormTypeID = ? and rf.ReferenceFormID = rf.RelatedFormID)) as "
            "NonAchieved"),
        {PromoterID, FormType::SaleInvoice, FormType::SaleInvoice, FormType::SaleInvoice}));
    const Money sum = outstanding + Amount;
    if (sum <= threshold) return true;
    if (HasRight(ctx_, Right::PromoterOverThreshold))
        return AskedYes(ctx_, T::kWarning,
                        T::kPromoterAsk + FormatAmount(sum) + T::kPromoterAskEnd);
    ShowMessage(ctx_, T::kError, T::kPromoterRefuse + FormatAmount(sum) + T::kPromoterRefuseEnd);
    return false;
}

}  // namespace si
