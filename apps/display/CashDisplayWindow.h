#pragma once
// The customer's side of the till: the amount payable in digits as large as the window allows,
// its caption above and the cash box below, right to left, light on dark.

#include <QWidget>

class QLabel;

namespace si::display {

class CashDisplayState;

class CashDisplayWindow : public QWidget {
public:
    // The state outlives the window.
    explicit CashDisplayWindow(const CashDisplayState& state, QWidget* parent = nullptr);

    // Shows the state's texts.
    void refresh();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitAmount();

    const CashDisplayState& state_;
    QLabel* caption_;
    QLabel* amount_;
    QLabel* cashName_;
};

}  // namespace si::display
