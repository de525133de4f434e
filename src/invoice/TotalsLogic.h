#pragma once
// Line amounts and invoice totals: RecomputeRowSum for one line, ComputeGrandTotal over all lines
// (ComputeGrandTotalQuickly from the header boxes alone), tax and duty by date and goods, the
// master discount boxes with their limits, the rounding of the grand total, and the surcharge and
// deduction lists behind frmCostTypel and frmDesTypel.
//
// Totals never read the database per line: the tax configuration and each goods item's tax flags
// are cached per invoice date, so refreshing a 1,000-line invoice stays instant. ComputeGrandTotal
// reads only the lines; RecomputeRowSum reads the database on a cache miss only.

#include <QDate>
#include <QHash>
#include <QString>
#include <QVector>
#include <optional>

#include "invoice/InvoiceServices.h"

namespace si {

// The tax and duty of one goods item on one date (tblGoodTaxAddedInfo, else vwGoodInfo).
struct GoodTaxFlags {
    bool hasTax = false;
    bool hasAdded = false;
    std::optional<double> ownTaxPercent;  // set when the item's own row replaces the percentages
    std::optional<double> ownAddedPercent;
};

class TotalsLogic {
public:
    explicit TotalsLogic(InvoiceServices& services);

    // Columns 15, 17, 21, 23, 24, 33 and 34 of one line of the grid (flexDetail or flexEch).
    void RecomputeRowSum(int row, LineTableModel& grid);
    void RecomputeRowSum(int row) { RecomputeRowSum(row, services_.doc.flexDetail); }
    // Every goods line again, then the totals: the tax and duty of the lines follow the
    // invoice's date and formality.
    void RecomputeAllLines();
    // Sum over the lines of RoundHalfUp(column 20, 0).
    Money ComputeTotalDiscount() const;
    // The invoice's approximate profit: the sum of its lines' (column 12).
    Money CalculateBenefit() const;
    // txtTax and txtAdded from the lines.
    void ComputeTotalTaxAdded();
    // Every header total from the lines; the grand total is returned and kept in the document.
    Money ComputeGrandTotal();
    // Steps 6 and 7 over the header boxes only (after a master discount, surcharge or deduction).
    Money ComputeGrandTotalQuickly();
    // The rounding of parameter 4409; sets txtRoundDown.
    Money RoundGrandTotal(Money amount);

    // TaxPercent and AddedPercent for the invoice date (0 unless the invoice is formal).
    void ReadTaxPercents();
    // Forget the cached tax settings (after the tax tables changed, or a stored invoice loads).
    void invalidateTaxCache();
    // Fills the tax-flag cache for many goods at once (before the lines of a stored invoice are
    // recomputed), with two statements per slice of barcodes instead of two per line.
    void prefetchTaxFlags(const QStringList& barcodes);
    // The tax flags of a goods item on the invoice date (cached).
    GoodTaxFlags taxFlagsOf(const QString& barcode);

    // The line-discount synchroniser: keeps columns 19, 20 and 29 of a line consistent after the
    // discount was entered as a percent (kDiscountAsPercent) or as an amount (kDiscountAsValue).
    void SyncLineDiscount(int row, int enteredAs, LineTableModel& grid);
    void SyncLineDiscount(int row, int enteredAs) {
        SyncLineDiscount(row, enteredAs, services_.doc.flexDetail);
    }

    // The master discount boxes, as typed by the clerk.
    void MasterDiscountPercentTyped(double percent);
    void MasterDiscountValueTyped(Money value);
    // Why a master discount cannot stand as typed, naming the limit it passes: below 0, above
    // 100 %, above the user's ceiling (parameters 2830, 2831) or above txtTotalPriceLock. The
    // boxes make such a discount positive or reset it to 0 where the clerk sees them; a caller
    // that does not see them refuses it with this text. nullopt when it stands.
    std::optional<QString> MasterDiscountPercentRefusal(double percent) const;
    std::optional<QString> MasterDiscountValueRefusal(Money value) const;
    void SetMasterDiscountKind(MasterDiscountKind kind);

    // frmCostTypel: right 90136; every surcharge type with its amount for the invoice.
    bool CanEditSurcharges();
    QVector<SurchargeRow> SurchargeRowsForDialog();
    // An amount typed into the surcharge grid; a negative one is refused (false after the
    // message, the row unchanged).
    bool SurchargeValueTyped(SurchargeRow& row, Money value);
    // OK of the dialog: refused when an amount is negative.
    bool ApplySurcharges(const QVector<SurchargeRow>& rows);
    void LoadSurcharges(int invoiceId);
    // Replaces the invoice's stored surcharges by those with an amount (part of the save).
    void SaveSurcharges(int invoiceId);

    // frmDesTypel: right 90135; every deduction type with its amount and percent.
    bool CanEditDeductions();
    QVector<DeductionRow> DeductionRowsForDialog();
    // The base of the deduction percents (txtTotalPriceLock); the percent column is editable only
    // while it is positive.
    Money DeductionBase() const { return services_.doc.totals.TotalPrice; }
    bool DeductionPercentEditable() const { return DeductionBase() > Money(); }
    // What the customer pays before deductions; the deductions may not exceed it.
    Money PayableBeforeDeductions() const;
    // A percent typed into the deduction grid gives the amount (refused below 0 or above 100), an
    // amount gives the percent (refused below 0 or when the percent would exceed 100); false
    // after the message.
    bool DeductionPercentTyped(DeductionRow& row, double percent);
    bool DeductionValueTyped(DeductionRow& row, Money value);
    // OK of the dialog: refused when an amount is negative or the total exceeds the payable
    // amount.
    bool ApplyDeductions(const QVector<DeductionRow>& rows);
    void LoadDeductions(int invoiceId);
    // Replaces the invoice's stored deductions by those with an amount (part of the save).
    void SaveDeductions(int invoiceId);

private:
    struct TaxRates {
        double tax = 0;
        double added = 0;
    };
    QDate invoiceDate();
    void applyTaxes(InvoiceLine& line, Money wage, Money profit);
    void applyMasterDiscount();
    Money grandTotalFromBoxes();
    bool hasRightOrSay(int right);
    QVector<SurchargeRow> mergedSurcharges(const QVector<SurchargeRow>& amounts);
    QVector<DeductionRow> mergedDeductions(const QVector<DeductionRow>& amounts);

    InvoiceServices& services_;
    QDate today_;  // the server's day, read once, for an invoice without a date
    QHash<QDate, TaxRates> ratesByDate_;
    QHash<QString, GoodTaxFlags> flagsByBarcodeAndDate_;
};

}  // namespace si
