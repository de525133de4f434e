#pragma once
// The goods lines: loading a stored invoice's lines, resolving a typed code or barcode into a
// priced line (FillFlexOneRow), stock limits, whole-number units, the cell validation table,
// deleting a row, the grid's keys and the data of the unit and description dialogs.
//
// Amounts of a line are recomputed by TotalsLogic::RecomputeRowSum only. Quantities compared with
// the stock are in base units (quantity x the unit's ScaleToBaseParent); column 35 holds the
// stock in base units. Every refused edit leaves the line as it was.
//
// What a line asks about its goods goes through the form's LineLookups, which answers a batch of
// lines known beforehand (a JSON invoice, a scanner file) with grouped statements.
//
// The view keeps the goods picker: when it holds a barcode, the view passes that barcode to
// FillFlexOneRow (kind 2) and empties the picker afterwards.

#include <QHash>
#include <QString>
#include <QVector>
#include <functional>

#include "invoice/GoodsLookups.h"
#include "invoice/InvoiceServices.h"

namespace si {

// How a text reached FillFlexOneRow.
inline constexpr int kByGoodCode = 1;
inline constexpr int kByBarcode = 2;

// What a key pressed in the grid asks of the view (the dialogs are the view's).
enum class GridAction {
    None,                 // the key is not the grid's, or not available now
    Handled,              // done by the logic itself (an empty last row removed, a row deleted)
    ChooseUnit,           // F2: frmSelUnit
    ChooseGoods,          // F3 in the goods columns (1 to 3): the goods picker
    ChooseServicedGoods,  // F3 in column 5: the goods picker
    ChoosePricingMethod,  // F4: FormPricingMethod
    ChoosePromoter,       // Ctrl+B: FormPromoter
    EditDescription,      // F6: frmDescription
    ShowStockTrace,       // F7
};

class LinesLogic {
public:
    explicit LinesLogic(InvoiceServices& services);

    // A weighing-label barcode typed into the grid: true with the goods barcode and the weight
    // when the text is one. The scale-barcode logic installs it; by default nothing is a label.
    std::function<bool(const QString& text, QString& barcode, double& weight)> IsScaleBarcode;

    // Loads the stored lines (free goods go to flexEch); true when a quantity was cut to stock.
    bool FillInvoiceDetailData(int invoiceId);
    // The same with the invoice's row of tblSaleInvoice already read.
    bool FillInvoiceDetailData(int invoiceId, const std::optional<Row>& header);
    // Resolves the goods of a row; false when refused (the row keeps its old content). qty is
    // the requested quantity in the goods' sale unit, and the quantity taken on return.
    bool FillFlexOneRow(const QString& text, int row, int kind, bool silent, double& qty);
    bool IsForSale(const QString& barcode, int inventory);
    // The quantity of the barcode in the other rows, in base units.
    double SelectedQty(const QString& barcode, int excludedRow) const;
    // Stock on hand of the barcode in the invoice's inventory, this invoice excluded, as of the
    // invoice date (today when empty).
    double StockOnHand(const QString& barcode);
    // Whether the stock rule applies to the chosen inventory (parameter 13 and CheckExistance).
    bool stockChecked() const;
    // The quantity of the barcode in temporary invoices (column 36), in base units.
    double TempInvoiceQty(const QString& barcode);
    // The quantity reserved by sale orders and not yet invoiced (column 27), in base units.
    double ReservedQty(const QString& barcode);
    // What may still be sold of the barcode besides the row, in base units: the stock on hand
    // less the other rows (and, with parameter 88, less the temporary invoices).
    double AvailableQty(const QString& barcode, int row);

    // A cell typed by the clerk: validated by the table of rules; refused edits keep the old value.
    bool commitCell(int row, int col, const QString& text);
    // Fractional quantity in a whole-number unit; the row number is put into the message when
    // withRow is set. False after the message.
    bool checkIntegerUnit(int row, bool withRow);
    // Deleting a row (Ctrl+Del, mnuDelGood): vehicle check, then the question.
    bool DeleteRow(int row);
    // Keys inside the grid (F2, F3, F4, Ctrl+B, F6, F7, Up, Ctrl+Del), only in modes 1 and 2.
    GridAction handleKey(int key, Qt::KeyboardModifiers modifiers, int row, int col);
    // F3: the serviced goods of column 5, looked up by barcode; false when not found.
    bool setServicedGoods(int row, const QString& barcode);
    // The goods picker's choice for a row: entered exactly as its barcode typed into column 1
    // (the same checks, messages, price and discounts); false when refused or when goods cannot
    // be entered now.
    bool enterPickedGoods(int row, const QString& barcode);
    // The unit price a new line of the goods gets now: the header's pricing method, else the
    // goods' own price, in the line's unit with parameter 24.
    Money PriceOf(const GoodInfo& good);
    // The row the grid moves to after a goods item was resolved or a row removed.
    int currentRow() const { return currentRow_; }

    // Columns hidden or locked by the parameters at form load (and shop mode), and the editable
    // columns of modes 1 and 2.
    void configureColumns();
    // Recomputes column 35 of every row for the inventory (after it changed).
    void RecomputeStockColumn();

    // frmSelUnit: the units allowed for the row's goods; OK with a new unit (false after a
    // refusal message or a declined stock question).
    QVector<UnitChoice> unitsOf(const QString& barcode);
    bool changeUnit(int row, int unitId);
    // frmDescription: a new description for the row.
    bool changeDescription(int row, const QString& text);
    // F7: receipts and dispatches of the goods in the inventory up to the invoice date.
    QVector<StockTraceRow> stockTrace(const QString& barcode);

private:
    struct Refusal {
        QString caption;
        QString text;
    };

    Context& ctx() const { return services_.ctx; }
    InvoiceDocument& doc() const { return services_.doc; }
    LineTableModel& grid() const { return services_.doc.flexDetail; }
    Session& db() const { return services_.ctx.db(); }
    LineLookups& lookups() const { return *services_.lookups; }
    QDate invoiceDate() const;
    int inventoryId() const;
    bool entryMode() const;
    bool vehicleMoved() const;
    void refuse(bool silent, const QString& caption, const QString& text);
    void show(const Refusal& refusal) { refuse(false, refusal.caption, refusal.text); }
    // A refusal of what was typed into a cell: silent in shop mode, where a scanner types.
    void refuseEntry(const Refusal& refusal);
    // Text typed into a cell of figures that is not a number: refused, never dropped unseen.
    void refuseNotANumber(const QString& text);
    QString methodName(int method);
    QString promoterName(int promoter);

    // FillFlexOneRow's steps.
    bool isDuplicate(const QString& text, int row, int kind) const;
    struct Holdings {
        double stock = 0;  // on hand
        double temp = 0;   // in temporary invoices
    };
    Holdings holdingsOf(const QString& barcode);
    double availableOf(const QString& barcode, int row, const Holdings& held) const;
    bool takeStock(const GoodInfo& good, int row, bool silent, const Holdings& held, double& qty);
    InvoiceLine lineFor(const GoodInfo& good, double qty, const Holdings& held);
    void priceLine(InvoiceLine& line, const GoodInfo& good);
    void placeLine(int row, const InvoiceLine& line);
    void addAttachedGoods(const QString& barcode, bool silent);

    // Loading.
    InvoiceLine storedLine(const Row& r) const;
    void cutToStock(InvoiceLine& line, double& available, bool integerUnit) const;
    bool holdLinesToStock(QVector<InvoiceLine>& lines);
    void showLines(const QVector<InvoiceLine>& lines, LineTableModel& target);
    void fillQuantitiesElsewhere(QVector<InvoiceLine>& lines, int inventory, const QDate& asOf,
                                 int invoiceId);

    // The cell table.
    bool commitGoods(int row, int kind, const QString& text);
    bool commitQuantity(int row, const QString& text);
    bool commitPrice(int row, const QString& text);
    bool commitDiscountPercent(int row, const QString& text);
    bool commitDiscountValue(int row, const QString& text);
    bool commitPreciousMetal(int row, int col, const QString& text);
    std::optional<Refusal> stockRefusal(int row, double qty, double factor);
    std::optional<Refusal> integerRefusal(int scaleId, double qty, int row, bool withRow);
    void noticeFreeGoodsThreshold(int row, double baseQtyBefore);
    bool confirmUnitStock(int row, const UnitChoice& unit, double& qty);
    bool removeEmptyLastRow(int row);
    void lineAmountsChanged(int row, bool discountFollows);

    InvoiceServices& services_;
    int currentRow_ = 0;
    QStringList resolving_;  // barcodes whose attached goods are being added (cycle guard)
    QHash<int, QString> methodNames_;
    QHash<int, QString> promoterNames_;
};

}  // namespace si
