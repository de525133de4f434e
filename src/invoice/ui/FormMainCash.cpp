// The shop's cash turn on the form: the turn selector and the change the cashier hands back.

#include <QComboBox>
#include <QLineEdit>
#include <QTimer>

#include "invoice/ui/FormMain.h"

namespace si {

void FormMain::connectCashTurn() {
    // Only the cashier's choice selects: a refill of the list never reads as one.
    connect(cmbCashTurn_, &QComboBox::activated, this,
            [this](int index) { run([this, index] { logic_->cmbCashTurn_Click(index); }); });
    QLineEdit* cash = texts_.value(QStringLiteral("txtTempCustomerCash"));
    connect(cash, &QLineEdit::textEdited, this,
            [this](const QString& text) { logic_->doc().txtTempCustomerCash = text; });
    connect(cash, &QLineEdit::returnPressed, this,
            [this] { run([this] { logic_->txtTempCustomerCash_Enter(); }); });
}

void FormMain::showCashTurn() {
    const CashTurnSelector& turns = logic_->editor().cashTurns();
    const auto& entries = turns.entries();
    bool same = cmbCashTurn_->count() == static_cast<int>(entries.size());
    for (int i = 0; same && i < cmbCashTurn_->count(); ++i)
        same = cmbCashTurn_->itemData(i).toLongLong() == entries[static_cast<size_t>(i)].turnId &&
               cmbCashTurn_->itemText(i) == entries[static_cast<size_t>(i)].text;
    if (!same) {
        cmbCashTurn_->clear();
        for (const CashTurnEntry& e : entries)
            cmbCashTurn_->addItem(e.text, e.turnId);
    }
    cmbCashTurn_->setCurrentIndex(turns.currentIndex());
    const InvoiceDocument& d = logic_->doc();
    texts_.value(QStringLiteral("txtTempCustomerCash"))->setText(d.txtTempCustomerCash);
    texts_.value(QStringLiteral("txtTempCustomerCashReturn"))->setText(d.txtTempCustomerCashReturn);
}

// Entering either cash field selects its whole text, ready to be typed over; entering the change
// also selects the cash handed over, the next amount the cashier types.
void FormMain::selectCashOnEntry(QWidget* entered) {
    QLineEdit* cash = texts_.value(QStringLiteral("txtTempCustomerCash"));
    QLineEdit* change = texts_.value(QStringLiteral("txtTempCustomerCashReturn"));
    if (entered != cash && entered != change) return;
    QTimer::singleShot(0, this, [cash, change, entered] {
        static_cast<QLineEdit*>(entered)->selectAll();
        if (entered == change) cash->selectAll();
    });
}

}  // namespace si
