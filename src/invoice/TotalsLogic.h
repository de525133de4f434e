#pragma once
// Line amounts and invoice totals: RecomputeRowSum for one line, ComputeGrandTotal over all lines
// (ComputeGrandTotalQuickly from the header boxes alone), tax and duty by date and goods, the
// master discount boxes with their limits, the rounding of the grand total, and the surcharge and
// deduction lists behind frmCostTypel and frmDesTypel.
//
// Totals never read the database per line: the tax configuration and each goods item's tax flags
// are cached per invoice date, so refreshing a 1,000-line invoice stays instant.

#include <QHash>
#include <QString>
#include <QVector>

#include "invoice/InvoiceServices.h"

namespace si {

class TotalsLogic {
public:
    explicit TotalsLogic(InvoiceServices& services);

    // Columns 15, 17, 21, 23, 24, 33 and 34 of one line of the grid (flexDetail or flexEch).
    void RecomputeRowSum(int row, LineTableModel& grid);
    void RecomputeRowSum(int row) { RecomputeRowSum(row, services_.doc.flexDetail); }
    // Sum over the lines of RoundHalfUp(column 20, 0).
    Money ComputeTotalDiscount() const;
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
    // Forget the cached tax settings (after the date or formality changed).
    void invalidateTaxCache();

    // The line-discount synchroniser: keeps columns 19, 20 and 29 of a line consistent after the
    // discount was entered as a percent (kDiscountAsPercent) or as an amount (kDiscountAsValue).
    void SyncLineDiscount(int row, int enteredAs, LineTableModel& grid);

    // The master discount boxes, as typed by the clerk.
    void MasterDiscountPercentTyped(double percent);
    void MasterDiscountValueTyped(Money value);
    void SetMasterDiscountKind(MasterDiscountKind kind);

    // frmCostTypel: right 90136; every surcharge type with its amount for the invoice.
    bool CanEditSurcharges();
    QVector<SurchargeRow> SurchargeRowsForDialog();
    void ApplySurcharges(const QVector<SurchargeRow>& rows);
    void LoadSurcharges(int invoiceId);
    // frmDesTypel: right 90135; every deduction type with its amount and percent.
    bool CanEditDeductions();
    QVector<DeductionRow> DeductionRowsForDialog();
    // A percent typed into the deduction grid gives the amount (refused above 100), an amount
    // gives the percent (refused when it would exceed 100); false after the message.
    bool DeductionPercentTyped(DeductionRow& row, double percent);
    bool DeductionValueTyped(DeductionRow& row, Money value);
    // OK of the dialog: refused when the total exceeds the payable amount.
    bool ApplyDeductions(const QVector<DeductionRow>& rows);
    void LoadDeductions(int invoiceId);

private:
    InvoiceServices& services_;
};

}  // namespace si
