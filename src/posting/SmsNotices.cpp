#include "posting/SmsNotices.h"

#include "common/Context.h"
#include "common/Int128.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "invoice/BilledParty.h"
#include "invoice/InvoiceDocument.h"
#include "invoice/TotalsMath.h"

namespace si {

namespace {

const QString kSmsCaption = QStringLiteral("اشکال در پيامک");
const QString kProblemCaption = QStringLiteral("اشكال");

// An identity as the messages write it; none gives an empty text rather than -1.
QString idText(int id) {
    return id > 0 ? QString::number(id) : QString();
}

}  // namespace

Money PromoterShare(Money amount, double percent) {
    const Int128 product = amount.times(percent).raw();
    const Int128 magnitude = product < 0 ? -product : product;
    const Int128 rials = totals::halfEvenQuotient(magnitude, Money::kScale * 100);
    const auto whole = static_cast<std::int64_t>(product < 0 ? -rials : rials);
    // A whole number of Rials over 1000, exactly: raw units are ten-thousandths.
    const Money thousands = RoundHalfUp(Money::fromRaw(whole * (Money::kScale / 1000)), 0);
    return thousands * 1000;
}

SmsNotices::SmsNotices(Context& ctx, const InvoiceDocument& invoice, QObject* parent)
    : QObject(parent), ctx_(ctx), invoice_(invoice) {}

bool SmsNotices::SendCustomerSms(int customer) {
    if (ctx_.params.number(P::SmsMode) == 0) return false;
    if (boughtTooLongAgo()) return false;
    const QString text = StoredParameterText(ctx_.db(), P::SmsCustomerTemplate);
    const Customer c = readCustomer(customer);
    if (text.trimmed().isEmpty()) {
        ShowMessage(ctx_, kSmsCaption, QStringLiteral("متن پيامک در پايگاه داده تنظيم نشده است!"));
        return false;
    }
    if (c.cellPhone.isEmpty()) {
        ShowMessage(ctx_, kSmsCaption,
                    QStringLiteral("شماره موبايل  مشتري در اطلاعات مشتري، وارد نشده است!"));
        return false;
    }
    Q_EMIT SendSMS(c.cellPhone, customerText(text, customer, c));
    return true;
}

Money SmsNotices::SendPromoterSms(int promoter, Money amount) {
    if (ctx_.params.number(P::SmsMode) == 0 || !ctx_.params.flag(P::SmsRule) || amount <= Money())
        return {};
    const QString text = StoredParameterText(ctx_.db(), P::SmsPromoterTemplate);
    const Promoter p = readPromoter(promoter);
    if (text.trimmed().isEmpty()) {
        ShowMessage(
            ctx_, kProblemCaption,
            QStringLiteral("پيام بازارياب تنظيم نشده است. شماره پيكربندي 5006. پيامك ارسال نشد!"));
        return {};
    }
    if (p.percent < 1 || p.percent > 100) {
        ShowMessage(ctx_, kProblemCaption,
                    QStringLiteral("درصد بازياب از فروش مشخص نيست. پيامك بازارياب ارسال نشد!"));
        return {};
    }
    const Money share = PromoterShare(amount, p.percent);
    if (promoterCanReceive(p, share))
        Q_EMIT SendSMS(p.phone, promoterText(text, promoter, p, share));
    return share;
}

// Each missing piece is told, in this order, even when an earlier one already stops the message.
bool SmsNotices::promoterCanReceive(const Promoter& p, Money share) {
    if (p.phone.isEmpty())
        ShowMessage(ctx_, kSmsCaption,
                    QStringLiteral("شماره موبايل در اطلاعات بازارياب، وارد نشده است!"));
    if (share <= Money())
        ShowMessage(ctx_, kProblemCaption,
                    QStringLiteral("مبلغ بازارياب «") + share.toString() +
                        QStringLiteral("» است. ارسال پيامك براي وي ممكن نيست!"));
    if (p.phone.isEmpty())
        ShowMessage(ctx_, kProblemCaption,
                    QStringLiteral("موبايل بازارياب در اطلاعات بازارياب وارد نشده است. ارسال "
                                   "پيامك براي وي ممكن نيست!"));
    return !p.phone.isEmpty() && share > Money();
}

bool SmsNotices::boughtTooLongAgo() {
    const int limit = ctx_.params.number(P::SmsCountLimit);
    return limit > 0 && daysSincePreviousInvoice() >= limit;
}

// Calendar days from the customer's latest other invoice dated no later than this one to now;
// 0 without one.
int SmsNotices::daysSincePreviousInvoice() {
    const std::optional<Row> previous = ctx_.db().first(
        QStringLiteral(
            "select coalesce(x.UpdateDate, x.CreateDate) as PreviousDate from tblSaleInvoice x, "
            "tblSaleInvoice s where s.ID = ? and coalesce(x.CustomerID, x.ObjectID1) = "
            "coalesce(s.CustomerID, s.ObjectID1) and coalesce(x.UpdateDate, x.CreateDate) <= "
            "coalesce(s.UpdateDate, s.CreateDate) and x.ID <> s.ID order by "
            "coalesce(x.UpdateDate, x.CreateDate) desc, x.ID desc limit 1"),
        {invoice_.invoiceID()});
    if (!previous) return 0;
    const QDateTime date = previous->dateTime(u"PreviousDate");
    return date.isValid() ? static_cast<int>(date.date().daysTo(ctx_.db().today())) : 0;
}

SmsNotices::Customer SmsNotices::readCustomer(int customer) {
    const std::optional<Row> r = ctx_.db().first(
        QStringLiteral("select CellPhone, FirstName, Name from tblOrganization where ID = ?"),
        {customer});
    if (!r) return {};
    return {r->text(u"CellPhone").trimmed(), r->text(u"FirstName"), r->text(u"Name")};
}

std::optional<SmsNotices::Promoter> SmsNotices::findPromoter(int promoter) {
    const std::optional<Row> r = ctx_.db().first(
        QStringLiteral("select IncomingSalePercent, Phone, coalesce(FirstName, '') || ' ' || "
                       "coalesce(SureName, '') as PromoterName from tblEmployee where ID = ?"),
        {promoter});
    if (!r) return std::nullopt;
    return Promoter{r->toDouble(u"IncomingSalePercent"), r->text(u"Phone").trimmed(),
                    r->text(u"PromoterName")};
}

// A promoter without a row is told about and then judged as one without phone or percentage.
SmsNotices::Promoter SmsNotices::readPromoter(int promoter) {
    std::optional<Promoter> p = findPromoter(promoter);
    if (!p)
        ShowMessage(ctx_, kProblemCaption,
                    QStringLiteral("تلفن بازياب براي ارسال پيامك مشخص نشده است!"));
    return p.value_or(Promoter{});
}

QString SmsNotices::branchName() {
    const int branch = invoice_.sltBranch.IsEmpty() ? -1 : invoice_.sltBranch.ID();
    return ctx_.db()
        .scalar(QStringLiteral("select Name from tblAccountBranch where ID = ?"), {branch})
        .toString();
}

QString SmsNotices::fillCommon(QString text, int customer, int promoterId,
                               const QString& promoterName, const Customer& c) const {
    const std::pair<const char*, QString> fields[] = {
        {"@ID", idText(invoice_.invoiceID())}, {"@CustomerID", idText(customer)},
        {"@PromoterID", idText(promoterId)},   {"@CustomerName", c.name},
        {"@CustomerFirstName", c.firstName},   {"@PromoterName", promoterName}};
    for (const auto& [placeholder, value] : fields)
        text.replace(QString::fromLatin1(placeholder), value, Qt::CaseInsensitive);
    return text;
}

QString SmsNotices::customerText(const QString& text, int customer, const Customer& c) {
    const int firstPromoter = invoice_.sltPromoter.IsEmpty() ? -1 : invoice_.sltPromoter.ID();
    const QString promoterName =
        firstPromoter > 0 ? findPromoter(firstPromoter).value_or(Promoter{}).name : QString();
    const std::optional<Row> card = ctx_.db().first(
        QStringLiteral("select c.TotalValue, c.TotalGrade, (select x.Name from tblCRMCardType x "
                       "where x.ID = c.CardTypeID) as CardName from vwCRMOrganizationFinalCard c "
                       "where c.OrganizationID = ?"),
        {customer});
    const QString cardName = card ? card->text(u"CardName") : QString();
    const QString grade =
        card && !card->isNull(u"TotalGrade") ? card->money(u"TotalGrade").toString() : QString();
    return fillCommon(text, customer, firstPromoter, promoterName, c)
        .replace(QStringLiteral("@OrgCard"), cardName, Qt::CaseSensitive)
        .replace(QStringLiteral("@OrgGrade"), grade, Qt::CaseSensitive);
}

QString SmsNotices::promoterText(const QString& text, int promoter, const Promoter& p,
                                 Money share) {
    const int customer =
        PromoterSmsCustomer(BilledParties::of(invoice_), ctx_.params.flag(P::AccountObjects));
    return fillCommon(text, customer, promoter, p.name, readCustomer(customer))
        .replace(QStringLiteral("@Value"), share.toString(), Qt::CaseSensitive)
        .replace(QStringLiteral("@Branch"), branchName(), Qt::CaseSensitive)
        .replace(QStringLiteral("@Promoter"), p.name, Qt::CaseSensitive);
}

}  // namespace si
