// The save's customer credit check: who is checked, when the checks run, the constraints of the
// customer's degree, and the credit and document credit.

#include "invoice/CreditLogic.h"
#include "common/Codes.h"

#include <algorithm>

#include "common/Jalali.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "invoice/BilledParty.h"
#include "invoice/CreditTexts.h"

namespace si {

namespace T = credit_texts;

namespace {
constexpr int kCreditSale = 2;  // sltPaidByCash

enum class Kind { Count, Amount };

// One threshold of tblOrganizationCreditConstraintDetail and the statistic it limits.
struct ConstraintRule {
    const char16_t* column;
    Kind kind;
    int statistic;
    const QString& subject;
};

const ConstraintRule kReturnedChequeQty{u"MaxReturnedChequeQty", Kind::Count,
                                        AccountInfo::ReturnedChequeQty, T::kReturnedChequeQty};
const ConstraintRule kReturnedChequeValue{u"MaxReturnedChequeValue", Kind::Amount,
                                          AccountInfo::ReturnedChequeValue,
                                          T::kReturnedChequeValue};

// Always held.
const ConstraintRule kFirstGroup[] = {
    kReturnedChequeQty,
    kReturnedChequeValue,
    {u"MaxSaleInvoicePerDayValue", Kind::Amount, AccountInfo::DailyInvoiceValue,
     T::kInvoicePerDayValue},
    {u"MaxSaleInvoicePerDayQty", Kind::Count, AccountInfo::DailyInvoiceQty, T::kInvoicePerDayQty},
    {u"MaxSaleReturnValue", Kind::Amount, AccountInfo::SaleReturnValue, T::kSaleReturnValue},
    {u"MaxSaleReturnQty", Kind::Count, AccountInfo::SaleReturnQty, T::kSaleReturnQty},
};

// Held only while the open balance is above the free-debit allowance.
const ConstraintRule kSecondGroup[] = {
    kReturnedChequeQty,
    kReturnedChequeValue,
    {u"MaxReturnedChequeAge", Kind::Count, AccountInfo::ReturnChequeAge, T::kReturnedChequeAge},
    {u"MaxNotPaidDocumentQty", Kind::Count, AccountInfo::NonPaidDocumentQty,
     T::kNotPaidDocumentQty},
    {u"MaxNotPaidDocumentValue", Kind::Amount, AccountInfo::NonPaidDocumentValue,
     T::kNotPaidDocumentValue},
    {u"MaxDebitAge", Kind::Count, AccountInfo::DebitAge, T::kDebitAge},
    {u"MaxNotApprovedInvoiceQty", Kind::Count, AccountInfo::SumOfNonPaidSaleInvoiceQty,
     T::kNotPaidInvoiceQty},
};

// A null threshold reads as -1, and any threshold below 0 leaves its statistic free. Amounts
// are compared exactly, counts and days as whole numbers.
struct Breach {
    QString statistic;
    QString threshold;
};

std::optional<Breach> Broken(const ConstraintRule& rule, const Row& limits,
                             const AccountStatistics& stats) {
    if (limits.isNull(rule.column)) return std::nullopt;
    if (rule.kind == Kind::Amount) {
        const Money limit = limits.money(rule.column);
        const Money value = stats.amount(rule.statistic);
        if (limit < Money() || value <= limit) return std::nullopt;
        return Breach{value.toString(), limit.toString()};
    }
    const double limit = ToNumber(limits.value(rule.column));
    const qint64 value = stats.count(rule.statistic);
    if (limit < 0 || static_cast<double>(value) <= limit) return std::nullopt;
    return Breach{QString::number(value), QString::number(static_cast<qint64>(limit))};
}

template <size_t N>
bool HoldsAll(Context& ctx, const ConstraintRule (&rules)[N], const Row& limits,
              const AccountStatistics& stats) {
    for (const ConstraintRule& rule : rules) {
        const auto breach = Broken(rule, limits, stats);
        if (!breach) continue;
        ShowMessage(ctx, T::kProblem,
                    rule.subject + T::kCustomer + breach->statistic + T::kThreshold + rule.subject +
                        T::kOpen + breach->threshold + T::kExceeded);
        return false;
    }
    return true;
}

// An extra-credit bound: the Gregorian column, else its Jalali twin; invalid when both are null
// (that side is open).
QDate Bound(const Row& r, const char16_t* column, const char16_t* farsiColumn) {
    const QDate date = r.date(column);
    return date.isValid() ? date : getEnglishDate(r.text(farsiColumn));
}

// ToNumber of an amount column: a null counts as -1 Rial.
Money AmountOrMinusOne(const Row& r, const char16_t* column) {
    return r.isNull(column) ? Money::fromRials(-1) : r.money(column);
}

}  // namespace

AccountStatistics AccountStatistics::read(Session& session, int organization) {
    AccountStatistics stats;
    stats.args_.resize(AccountInfo::Count);
    stats.args_[0] = organization;
    session.call(QStringLiteral("dbo.spOrganizationGetAccountInfo_New"), stats.args_);
    return stats;
}

CreditLogic::CreditLogic(InvoiceServices& services)
    : services_(services), ctx_(services.ctx), doc_(services.doc) {
    services_.LoadCustomerCreditUsage = [this](int customer) { LoadCustomerCreditUsage(customer); };
}

bool CreditLogic::CheckCustomerCreditConstraints(int& OrgID, int ObjectID1, int ObjectID2,
                                                 int CustomerID, bool IsObject1Class7,
                                                 bool IsObject2Class7, bool IsCustomerEmpty,
                                                 Money GrandTotal) {
    if (OrgID <= 0) {
        BilledParties parties;
        parties.customerId = IsCustomerEmpty ? -1 : CustomerID;
        parties.object1 = {IsObject1Class7 ? ObjectClass::Organization : -1, ObjectID1};
        parties.object2 = {IsObject2Class7 ? ObjectClass::Organization : -1, ObjectID2};
        OrgID = BilledOrganization(parties);
    }
    if (OrgID <= 0) return true;
    if (IsDistributionInvoice()) return true;
    // The credit checks run only where the constraints do: an organisation whose work activity
    // is not checked, or credit control switched off (parameter 93 = 0), is never refused here.
    if (!ChecksOrganizationCredit(OrgID)) return true;
    const int rule = ctx_.params.number(P::CreditControl);
    if (rule == 0) return true;
    if ((rule == 1 || rule == 2) && HasRight(ctx_, Right::SkipCreditConstraints)) return true;
    // A shop's cash sale passes; asked before the statistics, which it does not need.
    if (ctx_.params.flag(P::ShopMode) && doc_.sltPaidByCash.ID() != kCreditSale) return true;
    const AccountStatistics stats = AccountStatistics::read(ctx_.db(), OrgID);
    if (!CheckConstraints(OrgID, stats)) return false;
    return CheckCredit(ReadDistributionCredit(OrgID), stats, GrandTotal);
}

// An invoice of a distribution sheet is settled on the sheet, not against the customer.
bool CreditLogic::IsDistributionInvoice() {
    if (ToNumber(doc_.txtDistID.trimmed()) >= 1) return true;
    const int id = doc_.invoiceID();
    if (id <= 0) return false;
    const QVariant sheet = ctx_.db().scalar(
        QStringLiteral("Select DistributionInvoiceID from tblSaleInvoice Where ID=?"), {id});
    return ToNumber(sheet) >= 1;
}

bool CreditLogic::ChecksOrganizationCredit(int organization) {
    const auto activity = ctx_.db().first(
        QStringLiteral("Select IsCheckOrganizationCredit from tblZelorWorkActivity where ID in "
                       "(Select x.WorkActivityID from tblOrganization x Where x.ID=?)"),
        {organization});
    return activity && activity->toBool(u"IsCheckOrganizationCredit");
}

// The constraint of the customer's degree that is valid today (by the Jalali dates).
bool CreditLogic::CheckConstraints(int organization, const AccountStatistics& stats) {
    const QString today = getFarsiDate(ctx_.db().today());
    const auto limits = ctx_.db().first(
        QStringLiteral("Select * from tblOrganizationCreditConstraintDetail where "
                       "OrgCreditConstraintID in (Select x.ID from "
                       "tblOrganizationCreditConstraint x Where x.FarsiBeginDate <= ? and "
                       "x.FarsiEndDate >= ?) and CustomerDegreeID in (Select o.CustomerDegreeID "
                       "from tblOrganization o where o.ID=?) order by ID limit 1"),
        {today, today, organization});
    if (!limits) return true;
    if (!HoldsAll(ctx_, kFirstGroup, *limits, stats)) return false;
    const Money freeDebit = limits->isNull(u"MaxFreeDebitValue")
                                ? Money()
                                : std::max(limits->money(u"MaxFreeDebitValue"), Money());
    if (stats.amount(AccountInfo::RemainedValue) <= freeDebit) return true;
    return HoldsAll(ctx_, kSecondGroup, *limits, stats);
}

// The extra credit, while today is inside its dates, raises the credit; only when the credit
// check is off does it raise the document credit, so that it is never granted twice.
DistributionCredit CreditLogic::ReadDistributionCredit(int organization) {
    DistributionCredit credit;
    const auto r = ctx_.db().first(QStringLiteral("select * from tblDistributionOrganization "
                                                  "where OrganizationID=? order by ID limit 1"),
                                   {organization});
    if (!r) return credit;
    credit.EnableCredit = r->toBool(u"EnableCredit");
    credit.EnableDocumentCredit = r->toBool(u"EnableDocumentCredit");
    credit.Credit = AmountOrMinusOne(*r, u"Credit");
    credit.DocumentCredit = AmountOrMinusOne(*r, u"DocumentCredit");
    const QDate today = ctx_.db().today();
    const QDate begin = Bound(*r, u"ExtraCreditBeginDate", u"FarsiExtraCreditBeginDate");
    const QDate end = Bound(*r, u"ExtraCreditEndDate", u"FarsiExtraCreditEndDate");
    const bool inDates = (!begin.isValid() || begin <= today) && (!end.isValid() || today <= end);
    if (!r->toBool(u"EnableExtraCredit") || !inDates) return credit;
    const Money extra = AmountOrMinusOne(*r, u"ExtraCredit");
    if (credit.EnableCredit)
        credit.Credit += extra;
    else if (credit.EnableDocumentCredit)
        credit.DocumentCredit += extra;
    return credit;
}

// Every temporary invoice counts, whoever its customer, as the suite always summed them.
Money CreditLogic::OpenTemporaryInvoices() {
    return Money::fromVariant(ctx_.db().scalar(
        QStringLiteral("select sum(v.CalcTotalValue) as TotalValue from vwSaleInvoiceSummary v "
                       "inner join tblSaleInvoice s on v.ID=s.ID Where s.Code is null and "
                       "s.ID<>?"),
        {doc_.invoiceID()}));
}

bool CreditLogic::CheckCredit(const DistributionCredit& credit, const AccountStatistics& stats,
                              Money grandTotal) {
    if (!credit.EnableCredit && !credit.EnableDocumentCredit) return true;
    const Money remained = stats.amount(AccountInfo::RemainedValue);
    const Money open = grandTotal + OpenTemporaryInvoices();
    const QChar br = QLatin1Char('\n');
    if (credit.EnableCredit) {
        const Money shortfall = credit.Credit - (remained + open);
        if (shortfall < Money()) {
            ShowMessage(ctx_, T::kProblem,
                        T::kShortBy + FormatAmount(shortfall.abs()) + T::kNoCredit + br +
                            T::kCreditLine + FormatAmount(credit.Credit) + br + T::kBalanceLine +
                            FormatAmount(remained) + br + T::kOpenInvoicesLine +
                            FormatAmount(open));
            return false;
        }
    }
    if (credit.EnableDocumentCredit) {
        const Money notCollected = stats.amount(AccountInfo::NonPaidDocumentValue);
        const Money shortfall = credit.DocumentCredit - (notCollected + remained + open);
        if (shortfall < Money()) {
            ShowMessage(ctx_, T::kProblem,
                        T::kShortBy + FormatAmount(shortfall.abs()) + T::kNoDocumentCredit + br +
                            T::kDocumentCreditLine + FormatAmount(credit.DocumentCredit) + br +
                            T::kNotCollectedLine + FormatAmount(notCollected) + br +
                            T::kBalanceLine + FormatAmount(remained) + br + T::kOpenInvoicesLine +
                            FormatAmount(open));
            return false;
        }
    }
    return true;
}

}  // namespace si
