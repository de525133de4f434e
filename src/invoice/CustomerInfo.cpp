#include "invoice/CustomerInfo.h"

#include "common/Money.h"
#include "common/Numbers.h"
#include "common/Session.h"

namespace si {

namespace {

// The customer's accounts, as the credit look-up relates them (class 7: organisations).
const QString kCustomerAccounts = QStringLiteral(
    "select AccountID from tblAccountRelatedObjects where RelatedClassID = 7 and "
    "RelatedObjectID = ?");

QString balanceLine(Money balance) {
    if (balance == Money()) return QStringLiteral("مانده حساب مشتري: صفر");
    const QString side = balance > Money() ? QStringLiteral("بدهکار") : QStringLiteral("بستانکار");
    const Money amount = balance > Money() ? balance : Money() - balance;
    return QStringLiteral("مانده حساب مشتري: %1 ريال %2").arg(FormatAmount(amount), side);
}

}  // namespace

QString CustomerDebitText(Session& db, int customerId) {
    if (customerId <= 0) return QStringLiteral("مشتري انتخاب نشده است.");
    const auto balance = db.first(
        QStringLiteral("select coalesce(sum(DebitValue), 0) - coalesce(sum(CreditValue), 0) as "
                       "Balance from tblAccountDocumentDetail where AccountID in (") +
            kCustomerAccounts + QStringLiteral(")"),
        {customerId});
    const auto temporary =
        db.first(QStringLiteral("select count(*) as Invoices, coalesce(sum(TotalValue), 0) as "
                                "Total from tblSaleInvoice where CustomerID = ? and Code is null"),
                 {customerId});
    QString text = balanceLine(balance ? balance->money(u"Balance") : Money());
    const int open = temporary ? temporary->toInt(u"Invoices") : 0;
    if (open > 0)
        text +=
            QStringLiteral("\nفاكتورهاي موقت (هنوز ثبت حسابداري نشده): %1 فاكتور به مبلغ %2 ريال")
                .arg(open)
                .arg(FormatAmount(temporary->money(u"Total")));
    return text;
}

QString CustomerCrmCardText(Session& db, int customerId) {
    const auto card = db.first(
        QStringLiteral("select t.Name as TypeName, c.TotalGrade, c.TotalValue, c.FarsiIssueDate "
                       "from tblCRMOrganizationCard c left join tblCRMCardType t on t.ID = "
                       "c.CardTypeID where c.OrganizationID = ? order by c.ID desc limit 1"),
        {customerId});
    if (!card) return QStringLiteral("كارت مشتري: براي اين مشتري كارتي صادر نشده است.");
    return QStringLiteral("كارت مشتري: %1، امتياز %2، جمع خريد %3 ريال، صادر شده در %4")
        .arg(card->text(u"TypeName"), FormatAmount(card->money(u"TotalGrade")),
             FormatAmount(card->money(u"TotalValue")), card->text(u"FarsiIssueDate"));
}

}  // namespace si
