// cmdCustomerPrint of InvoicePrinting: the customer's credit figures on an invoice template.

#include "common/Messages.h"
#include "common/Numbers.h"
#include "invoice/CreditLogic.h"
#include "printing/InvoicePrinting.h"
#include "printing/PrintSources.h"
#include "printing/PrintTexts.h"

namespace si {

namespace {

// The customer's own account of the sale's automatic posting (its debit side).
int CustomerAccount(Session& s, int customer) {
    const auto row = s.first(
        QStringLiteral(
            "Select coalesce(r.AccountID, -1) as CustAccountID from tblAccountAutomaticDocFormat "
            "f, tblAccountRelatedObjects r Where f.AccountGroupID = r.AccountGroupID and "
            "r.RelatedClassID = 7 and f.ClassID = 7 and f.AutomaticEventID = 201 and "
            "f.AccountNatureID = 0 and r.RelatedObjectID = ? order by r.ID limit 1"),
        {customer});
    return row ? row->toInt(u"CustAccountID", -1) : -1;
}

// The figures as the clerk reads them: ages in days, amounts grouped by "/". The credit is the
// most the customer may owe; the remaining credit is shown before and after the customer's
// temporary invoices.
QStringList CreditFormulas(const QString& customerName, const AccountStatistics& stats) {
    const auto amount = [&stats](int output) { return FormatAmount(stats.amount(output)); };
    const std::pair<const char*, QString> figures[] = {
        {"fmlCompanyName", customerName},
        {"fmlStrDebitAge", QString::number(stats.count(AccountInfo::DebitAge))},
        {"fmlStrMaxDebit", amount(AccountInfo::Credit)},
        {"fmlStrPrevAccValue", amount(AccountInfo::RemainedValue)},
        {"fmlStrRecvalue", amount(AccountInfo::NonPaidDocumentValue)},
        {"fmlStrRegInvoice", amount(AccountInfo::SumOfNonPaidSaleInvoiceValue)},
        {"fmlStrUnRPDRemained", amount(AccountInfo::RemainedCreditWithTempInvoiceValue)},
        {"fmlStrPrevRPDValue", amount(AccountInfo::RemainedCreditValue)}};
    QStringList items;
    for (const auto& [name, value] : figures)
        items << QString::fromLatin1(name) + QStringLiteral("= ") + QuotedText(value);
    return items;
}

}  // namespace

bool InvoicePrinting::cmdCprint_Click() {
    Context& c = ctx();
    Session& s = c.db();
    const AccountingObject customer =
        PrintedCustomer(BilledParties::of(doc_), c.params.flag(P::AccountObjects));
    if (customer.id < 1) {
        ShowMessage(c, print::kCreditCaption, print::kNoCustomerChosen);
        return false;
    }
    if (CustomerAccount(s, customer.id) < 1) {
        ShowMessage(c, print::kCreditCaption, print::kCustomerHasNoAccount);
        return false;
    }
    const AccountStatistics stats = AccountStatistics::read(s, customer.id);
    if (!chooser().fill(TemplateFormType::SaleInvoice)) return false;
    const QString chosen = chooser().choose(print::kViewCaption);
    if (chosen.isEmpty()) return false;
    const auto component = this->component();
    if (!component) return false;
    const ReportJob job{WithBasePath(chosen, doc_.basePath),
                        NumberedFormulas(CreditFormulas(ReadCustomer(s, customer).name, stats)),
                        {},
                        std::nullopt,
                        {},
                        true};
    return output(*component, job);
}

}  // namespace si
