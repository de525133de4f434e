#pragma once
// frmSelDeleteReason: the reasons of a deletion in cmbDeleteReason (item data: the reason's
// sequence), OK and Cancel (cmdOK, cmdCancel). Modal over the invoice form.

#include <QDialog>
#include <functional>
#include <optional>

#include "posting/InvoiceDeletion.h"

class QComboBox;

namespace si {

class FrmSelDeleteReason : public QDialog {
    Q_OBJECT
public:
    FrmSelDeleteReason(const QVector<DeleteReason>& reasons, QWidget* parent = nullptr);

    // The sequence of the reason OK confirmed; nullopt after Cancel or before either.
    std::optional<int> chosen() const { return chosen_; }

private:
    QComboBox* cmbDeleteReason_;
    std::optional<int> chosen_;
};

// The chooser the form shows. Tests set present to drive the dialog instead of its modal loop.
class DialogDeleteReasonChooser : public DeleteReasonChooser {
public:
    explicit DialogDeleteReasonChooser(QWidget* parent) : parent_(parent) {}
    std::optional<int> chooseReason(const QVector<DeleteReason>& reasons) override;

    std::function<void(FrmSelDeleteReason&)> present;

private:
    QWidget* parent_;
};

}  // namespace si
