#pragma once
// The goods lines: loading a stored invoice's lines, resolving a typed code or barcode into a
// priced line (FillFlexOneRow), stock limits, whole-number units, the cell validation table,
// deleting a row, the grid's keys and the data of the unit and description dialogs.
//
// Amounts of a line are recomputed by TotalsLogic::RecomputeRowSum only.

#include <QString>
#include <QVector>

#include "invoice/InvoiceServices.h"

namespace si {

// How a text reached FillFlexOneRow.
inline constexpr int kByGoodCode = 1;
inline constexpr int kByBarcode = 2;

// What a key pressed in the grid asks of the view (the dialogs are the view's).
enum class GridAction {
    None,                 // the key is not the grid's, or not available now
    Handled,              // done by the logic itself (an empty last row removed, ...)
    ChooseUnit,           // F2: frmSelUnit
    ChooseServicedGoods,  // F3 in column 5: the goods picker
    ChoosePricingMethod,  // F4: FormPricingMethod
    ChoosePromoter,       // Ctrl+B: FormPromoter
    EditDescription,      // F6: frmDescription
    ShowStockTrace,       // F7
};

struct UnitChoice {
    int id = -1;
    QString name;
    double factor = 1;
};

struct StockTraceRow {
    QDate date;
    QString farsiDate;
    QString document;  // receipt or dispatch, with its code
    double received = 0;
    double dispatched = 0;
    double balance = 0;
};

class LinesLogic {
public:
    explicit LinesLogic(InvoiceServices& services);

    // Loads the stored lines (free goods go to flexEch); true when a quantity was cut to stock.
    bool FillInvoiceDetailData(int invoiceId);
    // Resolves the goods of a row; false when refused (the row keeps its old content).
    bool FillFlexOneRow(const QString& text, int row, int kind, bool silent, double& qty);
    bool IsForSale(const QString& barcode, int inventory);
    // The quantity of the barcode in the other rows, in base units.
    double SelectedQty(const QString& barcode, int excludedRow) const;
    // Stock on hand of the barcode in the invoice's inventory, this invoice excluded, as of the
    // invoice date (today when empty).
    double StockOnHand(const QString& barcode);
    // Whether the stock rule applies to the chosen inventory (parameter 13 and CheckExistance).
    bool stockChecked() const;
    // The quantity of the barcode in temporary invoices (column 36).
    double TempInvoiceQty(const QString& barcode);

    // A cell typed by the clerk: validated by the table of rules; refused edits keep the old value.
    bool commitCell(int row, int col, const QString& text);
    // Fractional quantity in a whole-number unit; the row number is put into the message when
    // withRow is set. False after the message.
    bool checkIntegerUnit(int row, bool withRow);
    // Deleting a row (Ctrl+Del, mnuDelGood): vehicle check, then the question.
    bool DeleteRow(int row);
    // Keys inside the grid (F2, F3, F4, Ctrl+B, F6, F7, Up), only in modes 1 and 2.
    GridAction handleKey(int key, Qt::KeyboardModifiers modifiers, int row, int col);
    // F3: the serviced goods of column 5, looked up by barcode; false when not found.
    bool setServicedGoods(int row, const QString& barcode);

    // Columns hidden or locked by the parameters at form load (and shop mode).
    void configureColumns();
    // Recomputes column 35 of every row for the inventory (after it changed).
    void RecomputeStockColumn();

    // frmSelUnit: the units allowed for the row's goods; OK with a new unit.
    QVector<UnitChoice> unitsOf(const QString& barcode);
    bool changeUnit(int row, int unitId);
    // frmDescription: a new description for the row.
    bool changeDescription(int row, const QString& text);
    // F7: receipts and dispatches of the goods in the inventory up to the invoice date.
    QVector<StockTraceRow> stockTrace(const QString& barcode);

private:
    InvoiceServices& services_;
};

}  // namespace si
