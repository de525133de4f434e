#pragma once
// A sale invoice as stored: the header of tblSaleInvoice, its lines and free goods
// (tblSaleInvoiceDetail), the lines' discounts by kind, surcharges, deductions, the stored totals
// and the postings made from it. A plain value without widgets or display text, so that jobs
// without a form can read, compare and pass it on.
//
// Identifiers are -1 when there is none (the tables hold NULL). Amounts are Money, percentages
// double, dates QDate (invalid when there is none).

#include <QDate>
#include <QString>
#include <QVector>
#include <optional>

#include "common/Codes.h"
#include "common/Money.h"

namespace si {

// tblSaleInvoice.DiscountTypeID: how the master discount was entered.
inline constexpr int kMasterDiscountAsPercent = 3;
inline constexpr int kMasterDiscountAsValue = 4;

// tblSaleInvoiceDetailDiscount.DiscountTypeID.
inline constexpr int kLineDiscountOwn = 1;
inline constexpr int kLineDiscountCard = 2;
inline constexpr int kLineDiscountBirthday = 3;

// The form type of a sale invoice in the postings' FormTypeID.

struct InvoiceHeader {
    int id = -1;
    std::optional<int> code;  // none while temporary; -1 for a final invoice without a code
    QString manualCode;
    int typeId = -1;
    int customerId = -1;
    int inventoryId = -1;
    int branchId = -1;
    int contractId = -1;
    int deliverTypeId = -1;
    int introductionTypeId = -1;
    int pricingMethodId = -1;
    int preConditionId = -1;
    int objectId1 = -1;
    int objectId2 = -1;
    int promoterId = -1;
    int promoterId2 = -1;
    int achieverId = -1;
    int distributerId = -1;
    int creatorId = -1;  // the user whose save wrote the invoice last
    int creatorEmployeeId = -1;
    int distributionInvoiceId = -1;
    std::optional<qint64> cardNo;
    QDate createDate;
    QDate deliverDate;
    QDate clearDate;
    bool isPaidByCash = true;
    bool isFormal = false;
    bool isCheckEchantillon = false;
    bool shouldSmsSend = false;
    // Kept only while credit goes through the cash box.
    std::optional<Money> usedCredit;
    std::optional<Money> remCredit;
    std::optional<int> creditDays;
    QString notes;
    QString customerMessage;

    bool operator==(const InvoiceHeader&) const = default;
};

// The accounts of an invoice type (tblSaleInvoiceType) its postings go to, each -1 when unset.
struct InvoiceTypeAccounts {
    int CreditAccountID = -1;
    int DebitAccountID = -1;
    int DiscountAccountID = -1;
    int TaxAccountID = -1;
    int AddedAccountID = -1;
    int RoundAccountID = -1;
    int DescAccountID = -1;
    int SuchargeAccountID = -1;
    int TotalDiscountAccountID = -1;
    int StackholderDiscountAccountID = -1;
    int StackholderShareAccountID = -1;
    int AdversDiscountAccountID = -1;
    int AdversShareAccountID = -1;
    int EduDiscountAccountID = -1;
    int EduShareAccountID = -1;
};

// The amounts an invoice's lines and charges come to, as the form's amount boxes show them
// (txtTotalPriceLock ... txtGrandTotalLock); tax, duty, line discounts and the rounding are not
// kept in the header. `shown` is false while the boxes are empty (no totals computed yet).
struct InvoiceTotals {
    bool shown = false;
    Money TotalPrice;                  // txtTotalPriceLock: amounts after line discounts
    Money TotalRowDiscount;            // txtTotalRowDiscount
    Money TotalPurePrice;              // txtTotalPurePriceLock: amounts before line discounts
    double MasterDiscountPercent = 0;  // txtMasterDiscountPercent
    Money MasterDiscountValue;         // txtMasterDiscountValue
    Money TotalDiscountValue;          // txtTotalDiscountValue: line plus master discounts
    Money SuCharge;                    // txtSuCharge
    Money Decs;                        // txtDecs
    Money Tax;                         // txtTax
    Money Added;                       // txtAdded: duty
    Money RoundDown;                   // txtRoundDown
    Money GrandTotal;                  // txtGrandTotalLock
    Money PureTotalValue;              // txtPureTotalValue
};

// The stored totals of the header.
struct StoredTotals {
    int discountTypeId = kMasterDiscountAsPercent;
    double discountPercent = 0;
    Money discountValue;
    Money suchargeValue;
    Money shortageValue;
    Money value;  // the grand total without tax and duty
    Money totalValue;
    Money pureTotalValue;

    bool operator==(const StoredTotals&) const = default;
};

struct InvoiceLineItem {
    int rowNumber = 0;
    bool freeGoods = false;  // IsEchantillon
    QString barcode;
    QString description;
    int scaleId = -1;
    double qty = 0;
    Money unitPrice;
    int discountKind = 1;  // 1 entered as a percent, 2 as an amount
    double discountPercent = 0;
    Money discountValue;
    QString servicedBarcode;
    std::optional<double> initialQty;  // set when a quantity change was recorded
    int initialScaleId = -1;
    std::optional<int> changeReason;
    double wagePercent = 0;
    Money wagePerWeight;
    double profitPercent = 0;
    Money commission;
    Money tax;
    Money duty;
    int pricingMethodId = -1;
    int promoterId = -1;

    bool operator==(const InvoiceLineItem&) const = default;
};

// One row per goods, description, unit and kind: lines sharing them share the row.
struct LineDiscount {
    QString barcode;
    QString description;
    int scaleId = -1;
    int kind = kLineDiscountOwn;
    double percent = 0;
    Money value;

    bool operator==(const LineDiscount&) const = default;
};

struct InvoiceSurcharge {
    int typeId = -1;
    Money value;

    bool operator==(const InvoiceSurcharge&) const = default;
};

struct InvoiceDeduction {
    int typeId = -1;
    Money value;
    double percent = 0;

    bool operator==(const InvoiceDeduction&) const = default;
};

// What a final save posted: the accounting document, or the cash-turn booking of a shop's cash
// sale, and the inventory dispatch.
struct InvoicePostings {
    int accountingDocumentId = -1;
    int cashTurnDetailId = -1;
    int dispatchId = -1;

    bool operator==(const InvoicePostings&) const = default;
};

// The buyer of a sale to the general walk-in customer account, as the cashier typed them for this
// invoice (tblSaleInvoiceWalkIn): a name, and a phone of Latin digits with an optional leading
// "+". Both empty when none was given.
struct WalkInBuyer {
    QString name;
    QString phone;

    bool isEmpty() const { return name.isEmpty() && phone.isEmpty(); }
    bool operator==(const WalkInBuyer&) const = default;
};

struct Invoice {
    InvoiceHeader header;
    WalkInBuyer walkIn;
    StoredTotals totals;
    QVector<InvoiceLineItem> lines;  // goods lines, then free goods, each in row order
    QVector<LineDiscount> lineDiscounts;
    QVector<InvoiceSurcharge> surcharges;  // non-zero ones only
    QVector<InvoiceDeduction> deductions;  // non-zero ones only
    InvoicePostings postings;
    int rowVersion = 0;

    bool isFinal() const { return header.code.has_value(); }
    bool operator==(const Invoice&) const = default;
};

}  // namespace si
