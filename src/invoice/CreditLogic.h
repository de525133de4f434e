#pragma once
// Customer credit control: the constraints of the customer's degree, credit and document credit
// held against the customer's statistics, the promoter's outstanding sales, and the credit
// fields of the header. Its constructor takes over the LoadCustomerCreditUsage seam.
//
// The checks only read; each failing one shows its own message and returns false, and the save
// stops. The statistics come from the database procedure spOrganizationGetAccountInfo_New.

#include <QVariantList>

#include "invoice/InvoiceServices.h"

namespace si {

// Positions of the outputs of spOrganizationGetAccountInfo_New; argument 0 is @OrgID.
namespace AccountInfo {
enum : int {
    Credit = 1,
    DocumentCredit,
    RemainedValue,
    NonPaidDocumentValue,
    NonPaidDocumentQty,
    ReturnedDocumentValue,
    ReturnedDocumentQty,
    RemainedCreditValue,
    RemainedCreditWithTempInvoiceValue,
    SumOfSaleInvoiceValue,
    SumOfSaleInvoiceQty,
    LastSaleInvoiceValue,
    LastSaleInvoiceFarsiDate,
    SumOf2MonthSaleValue,
    SumOf2MonthSaleQty,
    SumOf12MonthSaleValue,
    SumOf12MonthSaleQty,
    SumOf2MonthSaleReturnValue,
    SumOf2MonthSaleReturnQty,
    SumOf12MonthSaleReturnValue,
    SumOf12MonthSaleReturnQty,
    SumOf2MonthDistributionReturnValue,
    SumOf2MonthDistributionReturnQty,
    SumOf12MonthDistributionReturnValue,
    SumOf12MonthDistributionReturnQty,
    SumOfSaleOrderValue,
    SumOfSaleOrderQty,
    SumOfInvoicedOrderValue,
    SumOfInvoicedOrderQty,
    NotInvoicedVisitNo,
    DebitAge,
    SumOfNonPaidSaleInvoiceValue,
    SumOfNonPaidSaleInvoiceQty,
    ReturnChequeAge,
    ReturnedChequeValue,
    ReturnedChequeQty,
    DailyInvoiceValue,
    DailyInvoiceQty,
    SaleReturnValue,
    SaleReturnQty,
    Count  // the argument list's length
};
}  // namespace AccountInfo

// The customer's statistics as the procedure returned them, read by AccountInfo position.
class AccountStatistics {
public:
    static AccountStatistics read(Session& session, int organization);
    Money amount(int output) const { return Money::fromVariant(args_.value(output)); }
    qint64 count(int output) const { return args_.value(output).toLongLong(); }
    QString text(int output) const { return args_.value(output).toString(); }

private:
    QVariantList args_;
};

// The credit amounts of the customer's distribution row as the credit checks use them.
struct DistributionCredit {
    bool EnableCredit = false;
    bool EnableDocumentCredit = false;
    Money Credit;          // with the extra credit when it applies to it
    Money DocumentCredit;  // likewise
};

class CreditLogic {
public:
    explicit CreditLogic(InvoiceServices& services);

    // The save's credit check. OrgID is the organisation checked: when it comes in above 0 it
    // is used as given, otherwise it is resolved (the customer, else object 1, else object 2 of
    // class 7) and written back; -1 means none and passes.
    bool CheckCustomerCreditConstraints(int& OrgID, int ObjectID1, int ObjectID2, int CustomerID,
                                        bool IsObject1Class7, bool IsObject2Class7,
                                        bool IsCustomerEmpty, Money GrandTotal);
    // The promoter's final invoices not yet settled by receipts, plus Amount, against the
    // promoter's threshold. True to go on.
    bool CheckPromoterNonAchieved(int PromoterID, Money Amount);
    // Fills txtRemCredit (and its tag, the credit days), txtUsedCredit and txtCreditPeriod from
    // the customer's last credit invoice and the repayments since.
    void LoadCustomerCreditUsage(int CustomerID);

    DistributionCredit ReadDistributionCredit(int organization);
    // The grand totals of every temporary invoice but this one.
    Money OpenTemporaryInvoices();

private:
    bool IsDistributionInvoice();
    bool ChecksOrganizationCredit(int organization);
    bool CheckConstraints(int organization, const AccountStatistics& stats);
    bool CheckCredit(const DistributionCredit& credit, const AccountStatistics& stats,
                     Money grandTotal);
    void ClearCreditUsage();

    InvoiceServices& services_;
    Context& ctx_;
    InvoiceDocument& doc_;
    // The maximum term this look-up last put into txtLoanExpireTag; withdrawn when the next
    // look-up gives none, while a maximum the pre-condition put there stays.
    QString creditTermTag_;
};

}  // namespace si
