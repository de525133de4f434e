#include "printing/InvoiceFormulas.h"

#include "common/Jalali.h"
#include "common/Numbers.h"
#include "invoice/FormMainLogic.h"
#include "invoice/TotalsLogic.h"
#include "printing/PrintSources.h"

namespace si {

namespace {

constexpr int kCostSlots = 5;

// The print message stands apart from the text around it on the template.
QString paddedMessage(const QString& message) {
    return QStringLiteral("   ") + message + QStringLiteral("    ");
}

void addCompany(FormulaList& f, const CompanyDetails& c) {
    f.text(QStringLiteral("fmlCompanyName"), c.name);
    f.text(QStringLiteral("fmlCompanyAddress"), c.address);
    f.text(QStringLiteral("fmlCompanyPhone"), c.phone);
    f.text(QStringLiteral("fmlCompanyFax"), c.fax);
    f.text(QStringLiteral("fmlCompanyEmail"), c.email);
}

void addCustomer(FormulaList& f, const CustomerDetails& c) {
    f.text(QStringLiteral("fmlCustomerName"), c.name);
    f.text(QStringLiteral("fmlCustomerAddress"), c.address);
    f.text(QStringLiteral("fmlCustomerPhone"), c.phone);
    f.text(QStringLiteral("fmlCustomerFax"), c.fax);
    f.text(QStringLiteral("fmlCustomerEmail"), c.email);
    f.text(QStringLiteral("fmlBossDescription"), c.bossDescription);
    f.text(QStringLiteral("fmlCustomerCode"), c.code);
}

// Five name and amount slots, those without a surcharge empty.
void addCosts(FormulaList& f, const QVector<std::pair<QString, Money>>& surcharges) {
    QStringList names(kCostSlots), values(kCostSlots);
    for (int k = 0; k < kCostSlots && k < surcharges.size(); ++k) {
        names[k] = QLatin1Char(':') + surcharges[k].first;
        values[k] = surcharges[k].second.toString();
    }
    for (int k = 0; k < kCostSlots; ++k)
        f.text(QStringLiteral("fmlCostName%1").arg(k + 1), names[k]);
    for (int k = 0; k < kCostSlots; ++k)
        f.text(QStringLiteral("fmlCostVal%1").arg(k + 1), values[k]);
}

}  // namespace

FormulaList InvoiceFormulas(InvoiceServices& services) {
    Context& ctx = services.ctx;
    Session& s = ctx.db();
    const InvoiceDocument& doc = services.doc;
    const int id = doc.invoiceID();
    const InvoiceTotals& totals = doc.totals;
    const AccountingObject customer =
        PrintedCustomer(BilledParties::of(doc), ctx.params.flag(P::AccountObjects));
    const QDate invoiceDate = doc.datCreateDate.isValid() ? doc.datCreateDate : s.today();
    const Money balance = CustomerBalance(s, customer, invoiceDate, id);

    FormulaList f;
    f.number(QStringLiteral("fmlSLSInvoiceID"), qint64(id));
    f.number(QStringLiteral("fmlID"), qint64(id));
    f.text(QStringLiteral("Alphabet"), AmountInWords(totals.GrandTotal) + QStringLiteral(" ريال"));
    f.text(QStringLiteral("Title"), InvoiceFormTitle(ctx.params));
    f.text(QStringLiteral("fmlMessage"), paddedMessage(doc.cmbMessage));
    addCompany(f, ReadCompany(s));
    addCustomer(f, ReadCustomer(s, customer));
    f.text(QStringLiteral("fmlPrintDate"), getFarsiDate(s.today()));
    f.number(QStringLiteral("fmlRemainedValue"), balance);
    f.text(QStringLiteral("CreatorName"), ReadUserFullName(s, doc.sltCreator.ID()));
    f.text(QStringLiteral("fmlCash"), doc.lblAccountIDVal);
    addCosts(f, ReadPrintedSurcharges(s, id));
    const PromoterDetails promoter = ReadPromoter(s, doc.sltPromoter.ID());
    f.text(QStringLiteral("fmlPromoter"), promoter.name);
    f.text(QStringLiteral("fmlPromoterCode"), promoter.code);
    f.text(QStringLiteral("fmlExpireDate"), getFarsiDate(doc.dtpClearDate));
    const StoreDetails store = ReadStore(s, customer);
    f.text(QStringLiteral("fmlStoreName"), store.storeName);
    f.text(QStringLiteral("fmlPathName"), store.pathName);
    f.text(QStringLiteral("fmlRegionName"), store.regionName);
    f.text(QStringLiteral("fmlLoanExpire"), doc.txtLoanExpire);
    f.text(QStringLiteral("fmlPreCondition"), ReadPreConditionName(s, doc.sltPreCond.ID()));
    // The invoice is the customer's debt: the balance after it is the balance before it less it.
    f.number(QStringLiteral("fmlTotalRemainedValue"), balance - totals.GrandTotal);
    f.number(QStringLiteral("fmlTotalValue"), totals.GrandTotal);
    f.number(QStringLiteral("fmlCalcTotalValue"), totals.PureTotalValue);
    const OrderDetails order = ReadSaleOrder(s, id);
    f.text(QStringLiteral("fmlOrderNotes"), order.notes);
    f.text(QStringLiteral("fmlOrderManualCode"), order.manualCode);
    f.text(QStringLiteral("fmlOrderDate"), order.farsiDate);
    f.number(QStringLiteral("fmlBenefit"), services.totals->CalculateBenefit());
    // The lines' amounts before the invoice's own discount, surcharges and deductions.
    f.number(QStringLiteral("fmlTotalPriceLock"), totals.TotalPrice);
    return f;
}

}  // namespace si
