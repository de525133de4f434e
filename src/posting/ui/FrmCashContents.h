#pragma once
// frmCashContents: the figures of one of the user's cash turns (its movements, its invoices and
// returns and what remains), chosen in its own list of the user's turns, open and closed. The
// print of the figures belongs to the report component; cmdOK shows only when print is set.

#include <QDialog>
#include <QHash>
#include <functional>

#include "common/Context.h"
#include "invoice/CashTurnSelector.h"

class QComboBox;
class QGridLayout;
class QLabel;

namespace si {

class FrmCashContents : public QDialog {
    Q_OBJECT
public:
    FrmCashContents(Context& ctx, int cashId, int turn, const QString& cashName,
                    QWidget* parent = nullptr);

    // Shows the figures of the list's entry; -1 clears them.
    void cmbCashTurn_Click(int index);
    QString label(const QString& name) const;
    // Every label's text by its name.
    QHash<QString, QString> labelTexts() const;
    // The cash box of the turn shown: the entry's text before its first "_".
    const QString& cashName() const { return cashName_; }
    // cmdOK: prints what the labels show (the report's formulas read them).
    std::function<void(FrmCashContents&)> print;

protected:
    void changeEvent(QEvent* event) override;

private:
    void addLabel(QGridLayout* grid, int row, int col, const char* name, const QString& text);
    void clearFigures();

    Context& ctx_;
    QString cashName_;
    std::vector<CashTurnEntry> entries_;
    QComboBox* cmbCashTurn_;
    QHash<QString, QLabel*> labels_;
};

// cmdCashTurnPrint: right 20804, then the contents of the form's selected turn (modal), printed by
// print when it is given.
void cmdCashTurnPrint_Click(Context& ctx, const InvoiceDocument& doc, QWidget* parent,
                            std::function<void(FrmCashContents&)> print = {});

}  // namespace si
