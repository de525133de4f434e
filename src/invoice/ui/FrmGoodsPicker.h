#pragma once
// frmGoodsPicker: the goods picker's window over GoodsPicker. Keyboard first: typing searches
// after a short pause, Up and Down (and Page Up/Down) move in the list while the text keeps the
// keyboard, Enter picks the current goods, Esc closes with nothing picked. Right to left, as the
// form. It only chooses: what the choice does to the invoice is the caller's.

#include <QDialog>
#include <QTimer>

#include "invoice/GoodsPicker.h"

class QLineEdit;
class QTableView;
class QStandardItemModel;

namespace si {

class FrmGoodsPicker : public QDialog {
    Q_OBJECT
public:
    explicit FrmGoodsPicker(InvoiceServices& services, QWidget* parent = nullptr);
    // Shows the window with the text already typed; the barcode picked, empty when cancelled.
    static QString choose(QWidget* parent, InvoiceServices& services, const QString& typed = {});

    void setSearchText(const QString& typed);
    // Runs a search still waiting for the pause in typing.
    void searchNow();
    void setSearchDelay(int ms) { delay_.setInterval(ms); }
    QString pickedBarcode() const { return picked_; }
    const QVector<PickerRow>& found() const { return found_; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void search();
    void showRows();
    void moveCurrent(int key);
    void makeCurrent(int row);

    InvoiceServices& services_;
    GoodsPicker picker_;
    QLineEdit* txtSearch_;
    QTableView* flexGoods_;
    QStandardItemModel* rows_;
    QTimer delay_;
    QVector<PickerRow> found_;
    QString picked_;
};

}  // namespace si
