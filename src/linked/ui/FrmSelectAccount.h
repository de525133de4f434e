#pragma once
// frmSelectAccount: the customer's accounts in FlexAccount, the message above them, OK and
// Cancel (cmdVisOK, cmdVisCancel), and below them the chooser's own account-detail control,
// which shows the turnover of the selected row. Modal.

#include <QDialog>
#include <functional>

#include "linked/SelectAccountLogic.h"

class QLabel;
class QTableWidget;

namespace si {

class FrmSelectAccount : public QDialog {
    Q_OBJECT
public:
    FrmSelectAccount(Context& ctx, const QVector<CustomerAccount>& accounts, const QString& message,
                     QWidget* parent = nullptr);
    ~FrmSelectAccount() override;

    SelectAccountLogic& logic() { return logic_; }
    int choice() const { return logic_.choice(); }

private:
    void fillGrid();
    void placeDetailControl(QObject* control);

    SelectAccountLogic logic_;
    QTableWidget* flexAccount_;
    QLabel* message_;
};

// The chooser the form shows: frmSelectAccount, modal over the form. Tests set present to drive
// the dialog instead of its modal loop.
class DialogAccountChooser : public AccountChooser {
public:
    DialogAccountChooser(Context& ctx, QWidget* parent) : ctx_(ctx), parent_(parent) {}
    int chooseAccount(const QVector<CustomerAccount>& accounts, const QString& message) override;

    std::function<void(FrmSelectAccount&)> present;

private:
    Context& ctx_;
    QWidget* parent_;
};

}  // namespace si
