#include "linked/AccountTurnover.h"

#include "common/Codes.h"
#include "common/Messages.h"
#include "invoice/FormMainLogic.h"
#include "invoice/InvoiceDocument.h"
#include "linked/SiblingLauncher.h"

namespace si {

namespace {
constexpr int kOrganizationClass = 7;
}

QVector<CustomerAccount> CustomerAccounts(Session& db, int customerId) {
    const RowSet rows = db.query(
        QStringLiteral(
            "Select a.id as id,coalesce(a.Code,'') as AccountCode,coalesce(a.Title,'') as "
            "AccountTitle,coalesce(b.Title,'') as MotherTitle,coalesce(b.Code,'') as MotherCode "
            "from tblAccountRelatedObjects,tblAccount a,tblAccount b Where "
            "tblAccountRelatedObjects.AccountID = a.ID and a.ParentID=b.ID and RelatedObjectID= ? "
            "and RelatedClassID=7 Order By AccountTitle"),
        {customerId});
    QVector<CustomerAccount> accounts;
    for (const Row& r : rows)
        accounts.append({r.toInt(u"id"), r.text(u"AccountCode"), r.text(u"AccountTitle"),
                         r.text(u"MotherCode"), r.text(u"MotherTitle")});
    return accounts;
}

bool AccountsOpenToPosition(Session& db, int positionId, int customerId) {
    return db
        .first(QStringLiteral("Select * from vwAccountSecurePositions Where PositionID = ? and "
                              "AccountID in (Select AccountID from tblAccountRelatedObjects Where "
                              "RelatedClassID = 7 and RelatedObjectID = ?)"),
               {positionId, customerId})
        .has_value();
}

TurnoverSubject TurnoverSubjectOf(const InvoiceDocument& doc) {
    return {doc.sltCustomer.ID(), doc.Object1ClassID, doc.sltObject1.ID(), doc.Object2ClassID,
            doc.sltObject2.ID()};
}

AccountTurnoverCommand::~AccountTurnoverCommand() = default;

void AccountTurnoverCommand::cmdViewAccountDetails_Click(const TurnoverSubject& subject) {
    if (refused(subject)) return;
    if (ctx_.params.flag(P::AccountObjects)) {
        showObjects(subject);
        return;
    }
    const QVector<CustomerAccount> accounts = CustomerAccounts(ctx_.db(), subject.customerId);
    if (accounts.size() == 1) {
        showAccount(accounts.first().id);
        return;
    }
    if (accounts.isEmpty() || !chooser_) return;
    const int chosen = chooser_->chooseAccount(
        accounts, customerName(subject.customerId) + kSeveralAccountsSuffix);
    if (chosen > 0) showAccount(chosen);
}

bool AccountTurnoverCommand::refused(const TurnoverSubject& subject) {
    if (!HasRight(ctx_, Right::AccountTurnover)) {
        ShowMessage(ctx_, kErrorCaption, kNoRightMessage);
        return true;
    }
    const bool confidential =
        ctx_.params.flag(P::PositionCustomersOnly) && !ctx_.params.flag(P::AccountObjects);
    if (confidential &&
        !AccountsOpenToPosition(ctx_.db(), ctx_.globals.CurrentPositionID, subject.customerId)) {
        ShowMessage(ctx_, kErrorCaption, kAccountNotOpenToPosition);
        return true;
    }
    return false;
}

QString AccountTurnoverCommand::customerName(int customerId) {
    return ctx_.db()
        .scalar(QStringLiteral("select Name from vwOrganizationMajor where ID = ?"), {customerId})
        .toString();
}

QObject* AccountTurnoverCommand::detailControl() {
    if (!detail_) {
        detail_ = ctx_.components->create(kAccountDetailProgId);
        if (!detail_) ShowMessage(ctx_, kErrorCaption, kAccountDetailMissing);
    }
    return detail_.get();
}

// The session is handed over on every use: an entry method may have changed it since.
void AccountTurnoverCommand::showAccount(int accountId) {
    if (QObject* control = detailControl())
        CallSibling(ctx_, *control, kAccountDetailProgId,
                    {SessionProperties(ctx_), "ShowAccount", {accountId}});
}

void AccountTurnoverCommand::showObjects(const TurnoverSubject& s) {
    if (QObject* control = detailControl())
        CallSibling(ctx_, *control, kAccountDetailProgId,
                    {SessionProperties(ctx_),
                     "ShowObjectTurnover",
                     {s.class1, s.object1, s.class2, s.object2}});
}

void InstallAccountTurnover(FormMainLogic& form, AccountTurnoverCommand& command) {
    form.seams.linkedCommands[QStringLiteral("cmdViewAccountDetails")] = [&form, &command] {
        command.cmdViewAccountDetails_Click(TurnoverSubjectOf(form.doc()));
    };
}

}  // namespace si
