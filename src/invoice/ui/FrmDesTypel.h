#pragma once
// frmDesTypel: the invoice's deductions, one row per deduction type with its amount and its
// percent of txtTotalPriceLock. The percent is typed only while that base is positive; each typed
// cell is checked and converted by TotalsLogic, and OK is refused above the payable amount.

#include <QDialog>
#include <QVector>

#include "invoice/InvoiceServices.h"

class QTableWidget;
class QTableWidgetItem;

namespace si {

class FrmDesTypel : public QDialog {
    Q_OBJECT
public:
    // The grid's layout: row, deduction type, amount, type ID, percent ("^" centres a column).
    static const QString kFormatString;

    FrmDesTypel(InvoiceServices& services, QWidget* parent = nullptr);
    // cmdDecs: right 90135, then the dialog; true when OK applied the deductions.
    static bool edit(QWidget* parent, InvoiceServices& services);

    QVector<DeductionRow> rows() const { return rows_; }

    void accept() override;

private:
    void setUpColumns();
    void fill();
    void showRow(int r);
    void onItemChanged(QTableWidgetItem* item);

    InvoiceServices& services_;
    QVector<DeductionRow> rows_;
    QTableWidget* grid_;
    bool percentEditable_;
    bool filling_ = false;
};

}  // namespace si
