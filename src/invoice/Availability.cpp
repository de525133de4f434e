#include "invoice/Availability.h"

#include "common/Codes.h"
#include "common/SystemParameters.h"

namespace si {

void ApplyParameterVisibility(const SystemParameters& p, Availability& a) {
    const bool shop = p.flag(P::ShopMode);
    a.show(QStringLiteral("cmdDebitInfo"), p.flag(P::DebitInfoButtons));
    a.show(QStringLiteral("cmdCustomerPrint"), p.flag(P::DebitInfoButtons));
    a.show(QStringLiteral("cmdNewCustomer"), p.flag(P::NewCustomerCommand));
    a.show(QStringLiteral("cmdCustomerDebitInfo"), shop);
    a.show(QStringLiteral("sltObject1"), p.flag(P::AccountObjects));
    a.show(QStringLiteral("sltObject2"), p.flag(P::AccountObjects));
    a.show(QStringLiteral("cmdReadFromBeepFile"), p.flag(P::ReadFromFile));
    a.show(QStringLiteral("cmdRFID"), p.flag(P::PromoterByRfid));
    a.show(QStringLiteral("sltBranch"), p.flag(P::RequireBranch));
    // SMS mode 1 offers the tick and the template's command.
    a.show(QStringLiteral("chkShouldSMSSend"), p.number(P::SmsMode) == 1);
    a.show(QStringLiteral("cmdShouldSMSSend"), p.number(P::SmsMode) == 1);
    for (const char* cash :
         {"cmbCashTurn", "lblCashTurn", "cmdCashTurn", "cmdCashTurnPrint", "cmdCashFlow",
          "cmdCashPay", "txtTempCustomerCash", "txtTempCustomerCashReturn"})
        a.show(QString::fromLatin1(cash), shop);
}

}  // namespace si
