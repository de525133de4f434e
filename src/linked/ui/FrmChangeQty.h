#pragma once
// frmChangeQty: one line of a distribution sheet's invoice (barcode, goods, quantity now and as
// first ordered), the new quantity (txtQty) and its reason (cmbReason, the reasons' sequences as
// item data). OK writes the change and closes; a refusal leaves the dialog open.

#include <QDialog>

#include "linked/ChangeQty.h"

class QComboBox;
class QLineEdit;

namespace si {

class FrmChangeQty : public QDialog {
    Q_OBJECT
public:
    FrmChangeQty(Context& ctx, const QtyChangeLine& line, const QString& goodName,
                 QWidget* parent = nullptr);

    QLineEdit* txtQty() const { return txtQty_; }
    QComboBox* cmbReason() const { return cmbReason_; }

    void cmdOK_Click();

private:
    ChangeQtyCommand command_;
    QtyChangeLine line_;
    QLineEdit* txtQty_;
    QComboBox* cmbReason_;
};

}  // namespace si
