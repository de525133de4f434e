#pragma once
// The read-only windows of the accounting and sale modules' viewers: one accounting document, one
// sale assignment, and the turnover view of the account-detail control.

#include <QDialog>
#include <QWidget>

#include "suite/AccountLedger.h"
#include "suite/SaleAssignmentView.h"

class QLabel;
class QTableWidget;

namespace si::suite {

// A balance with its side: "1/500 بدهكار", "200 بستانكار", "0".
QString BalanceText(Money balance);

class AccountDocumentWindow : public QDialog {
    Q_OBJECT
public:
    explicit AccountDocumentWindow(const AccountDocumentView& document, QWidget* parent = nullptr);
};

class SaleAssignmentWindow : public QDialog {
    Q_OBJECT
public:
    explicit SaleAssignmentWindow(const SaleAssignmentView& assignment, QWidget* parent = nullptr);
};

// The turnover of an account or of objects: the balance brought forward as the first row, the
// rows with their running balance, and the totals at the foot.
class TurnoverView : public QWidget {
    Q_OBJECT
public:
    explicit TurnoverView(QWidget* parent = nullptr);
    void showTurnover(const Turnover& turnover);

private:
    QLabel* title_;
    QTableWidget* grid_;
    QLabel* totalDebit_;
    QLabel* totalCredit_;
    QLabel* balance_;
};

}  // namespace si::suite
