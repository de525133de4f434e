#pragma once
// frmDescription: the description of one goods line (F6 in the grid, column 4). OK with an empty
// text is refused by the line logic and keeps the dialog open.

#include <QDialog>

#include "invoice/InvoiceServices.h"

class QLineEdit;

namespace si {

class FrmDescription : public QDialog {
    Q_OBJECT
public:
    FrmDescription(InvoiceServices& services, int row, QWidget* parent = nullptr);
    // Shows the dialog for the row; true when the line took the new description.
    static bool edit(QWidget* parent, InvoiceServices& services, int row);

    void accept() override;

private:
    InvoiceServices& services_;
    int row_;
    QLineEdit* txtDescription_;
};

}  // namespace si
