#pragma once
// The read-only windows of the accounting and sale modules' viewers: one accounting document, one
// sale assignment, and the turnover view of the account-detail control.

#include <QDialog>
#include <QWidget>
#include <optional>

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
// rows with their running balance, and the totals at the foot. The rows come a page at a time as
// the grid is scrolled towards its end.
class TurnoverView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPageRows = kTurnoverPageRows;

    explicit TurnoverView(QWidget* parent = nullptr);
    void showTurnover(TurnoverReader reader);

private:
    void appendPage();
    void appendRows(const QVector<TurnoverRow>& rows);

    std::optional<TurnoverReader> reader_;
    QLabel* title_;
    QTableWidget* grid_;
    QLabel* totalDebit_;
    QLabel* totalCredit_;
    QLabel* balance_;
};

}  // namespace si::suite
