// The debit ceiling of a customer's account, asked by a final credit sale.
//
// spAccountGetAccountMaxDebit     @AccountID, @Value, @Message (out)
// spAccountMaxDebit_NewAccount    @AccountID, @ClassID, @ObjectID, @Value, @Message (out)
//
// The rule: an account's maximum debit is the credit granted to the customer it belongs to
// (tblDistributionOrganization.Credit with EnableCredit set; of several customers sharing the
// account the highest). Its balance is the debit minus the credit of every posted row (drafts,
// IsPreDocument, left out). When the balance plus @Value exceeds the maximum, @Message says so;
// it stays empty when the ceiling holds or the customer has no credit switched on (no ceiling).
// With accounting objects (the second procedure) the customer is the object itself (class 7 or
// 33) and only the account's rows that carry that object count towards the balance.

#include "common/Session.h"
#include "erpdb/procedures/ProcedureSupport.h"

namespace si::erpdb {

namespace {

struct Ceiling {
    bool limited = false;
    Money maximum;
};

Ceiling creditOf(Session& s, const QString& organizations, const Params& params) {
    const auto row =
        s.first(QStringLiteral("select max(Credit) as MaxDebit, count(*) as Limited "
                               "from tblDistributionOrganization where "
                               "coalesce(EnableCredit, 0) = 1 and OrganizationID in (") +
                    organizations + QStringLiteral(")"),
                params);
    Ceiling c;
    c.limited = row && row->toInt(u"Limited") > 0;
    if (c.limited) c.maximum = row->money(u"MaxDebit");
    return c;
}

QString accountTitle(Session& s, int account) {
    return s
        .scalar(QStringLiteral("select coalesce(Title, '') from tblAccount where ID = ?"),
                {account})
        .toString();
}

QString ceilingMessage(const QString& title, Money balance, Money maximum) {
    return QStringLiteral("مانده بدهي حساب «") + title + QStringLiteral("» با احتساب اين فاكتور ") +
           balance.toString() + QStringLiteral(" ريال مي شود كه از سقف بدهي آن (") +
           maximum.toString() + QStringLiteral(" ريال) بيشتر است.");
}

QVariant spAccountGetAccountMaxDebit(Session& s, QVariantList& args) {
    const int account = ArgInt(args, 0, -1);
    const Ceiling c = creditOf(s,
                               QStringLiteral("select r.RelatedObjectID from "
                                              "tblAccountRelatedObjects r where r.AccountID = ? "
                                              "and r.RelatedClassID = 7"),
                               {account});
    QString message;
    if (c.limited) {
        const Money balance =
            Money::fromVariant(s.scalar(
                QStringLiteral("select coalesce(sum(coalesce(d.DebitValue, 0) - "
                               "coalesce(d.CreditValue, 0)), 0) from tblAccountDocumentDetail d "
                               "inner join tblAccountDocument h on h.ID = d.DocumentID where "
                               "d.AccountID = ? and coalesce(h.IsPreDocument, 0) = 0"),
                {account})) +
            ArgMoney(args, 1);
        if (balance > c.maximum)
            message = ceilingMessage(accountTitle(s, account), balance, c.maximum);
    }
    SetOut(args, 2, message);
    return 0;
}

QVariant spAccountMaxDebit_NewAccount(Session& s, QVariantList& args) {
    const int account = ArgInt(args, 0, -1);
    const int classId = ArgInt(args, 1, -1);
    const int object = ArgInt(args, 2, -1);
    QString message;
    if (classId == 7 || classId == 33) {
        const Ceiling c = creditOf(s, QStringLiteral("?"), {object});
        if (c.limited) {
            const Money balance =
                Money::fromVariant(s.scalar(
                    QStringLiteral(
                        "select coalesce(sum(coalesce(d.DebitValue, 0) - coalesce(d.CreditValue, "
                        "0)), 0) from tblAccountDocumentDetail d inner join tblAccountDocument h "
                        "on h.ID = d.DocumentID where d.AccountID = ? and "
                        "coalesce(h.IsPreDocument, 0) = 0 and exists (select 1 from "
                        "tblAccountDocumentObjects o where o.DocumentID = d.DocumentID and "
                        "o.RowNumber = d.RowNumber and o.ClassID = ? and o.ObjectID = ?)"),
                    {account, classId, object})) +
                ArgMoney(args, 3);
            if (balance > c.maximum)
                message = ceilingMessage(accountTitle(s, account), balance, c.maximum);
        }
    }
    SetOut(args, 4, message);
    return 0;
}

}  // namespace

void RegisterAccountProcedures(ProcedureRegistry& registry) {
    registry.add(QStringLiteral("spAccountGetAccountMaxDebit"), spAccountGetAccountMaxDebit);
    registry.add(QStringLiteral("spAccountMaxDebit_NewAccount"), spAccountMaxDebit_NewAccount);
}

}  // namespace si::erpdb
