#pragma once
// The turn manager's windows. A refusal is shown in the window's own message line, so the
// cashier reads it where he acted and nothing is written.

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace si::suite {

class BoxTurnComponent;

class BoxTurnWindow : public QDialog {
    Q_OBJECT
public:
    explicit BoxTurnWindow(BoxTurnComponent& component, QWidget* parent = nullptr);

    void openTurn();
    void closeTurn();
    void admitUser();
    void reload();

private:
    qint64 selectedTurn() const;
    void attempt(const std::function<void()>& action);

    BoxTurnComponent& component_;
    QTableWidget* turns_;
    QComboBox* boxes_;
    QComboBox* users_;
    QLabel* message_;
};

class CashPayWindow : public QDialog {
    Q_OBJECT
public:
    explicit CashPayWindow(BoxTurnComponent& component, QWidget* parent = nullptr);

    // False with the reason in the message line; the window stays open.
    bool pay();

private:
    BoxTurnComponent& component_;
    QLineEdit* amount_;
    QLineEdit* description_;
    QLabel* balance_;
    QLabel* message_;
};

}  // namespace si::suite
