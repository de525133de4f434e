#pragma once
// frmCostTypel: the invoice's surcharges, one row per surcharge type with its amount (only the
// amount is typed). OK hands the rows to TotalsLogic, which sets txtSuCharge and the grand total.

#include <QDialog>
#include <QVector>

#include "invoice/InvoiceServices.h"

class QTableWidget;
class QTableWidgetItem;

namespace si {

class FrmCostTypel : public QDialog {
    Q_OBJECT
public:
    FrmCostTypel(InvoiceServices& services, QWidget* parent = nullptr);
    // cmdCost: right 90136, then the dialog; true when OK applied the surcharges.
    static bool edit(QWidget* parent, InvoiceServices& services);

    // The rows as typed so far.
    QVector<SurchargeRow> rows() const { return rows_; }

    void accept() override;

private:
    void fill();
    void onItemChanged(QTableWidgetItem* item);

    InvoiceServices& services_;
    QVector<SurchargeRow> rows_;
    QTableWidget* grid_;
    bool filling_ = false;
};

}  // namespace si
