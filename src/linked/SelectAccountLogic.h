#pragma once
// frmSelectAccount without its widgets: the customer's accounts in the grid FlexAccount, the
// message above them, and the chooser's own account-detail control, which shows the turnover of
// the row the clerk selects. OK keeps the current row's account as the choice, Cancel -1.

#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

#include "common/Context.h"
#include "linked/AccountTurnover.h"

namespace si {

class SelectAccountLogic {
public:
    SelectAccountLogic(Context& ctx, QVector<CustomerAccount> accounts, QString message);
    ~SelectAccountLogic();

    // The headers of FlexAccount, in column order.
    static const QStringList& headers();
    int rowCount() const { return static_cast<int>(accounts_.size()); }
    // A cell of FlexAccount: the row number from 1, then the account's id, code, title, and the
    // parent's code and title.
    QString cell(int row, int column) const;
    const QString& message() const { return message_; }

    // Form_Load: the chooser's own account-detail control, given the session; nullptr when the
    // accounting module is not installed. Owned here.
    QObject* Form_Load();
    QObject* detailControl() const { return detail_.get(); }
    // A row selected in the grid: its account's turnover in the chooser's control.
    void FlexAccount_RowSelected(int row);
    void cmdVisOK_Click(int currentRow);
    void cmdVisCancel_Click() { choice_ = -1; }
    int choice() const { return choice_; }

private:
    Context& ctx_;
    QVector<CustomerAccount> accounts_;
    QString message_;
    std::unique_ptr<QObject> detail_;
    int choice_ = -1;
};

}  // namespace si
