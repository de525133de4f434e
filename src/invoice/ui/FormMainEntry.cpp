// What the clerk types into the form reaches the logic here: grid cells and keys, header fields
// with change handlers, and the master discount boxes.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTableView>

#include "common/Numbers.h"
#include "controls/ui/JalaliDateEdit.h"
#include "controls/ui/SelectorWidget.h"
#include "invoice/HeaderLogic.h"
#include "invoice/LinesLogic.h"
#include "invoice/ScaleInput.h"
#include "invoice/TotalsLogic.h"
#include "invoice/ui/FormMain.h"
#include "invoice/ui/FrmGoodsPicker.h"
#include "invoice/ui/ScanCatcher.h"

namespace si {

namespace {

// A label that reports clicks (the staff-card labels).
class ClickFilter : public QObject {
public:
    ClickFilter(QObject* parent, std::function<void()> onClick)
        : QObject(parent), onClick_(std::move(onClick)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease) onClick_();
        return false;
    }

private:
    std::function<void()> onClick_;
};

}  // namespace

// The grid's context menu: mnuDelGood deletes the row under the pointer, with the question of
// Ctrl+Del.
void FormMain::connectGridMenu() {
    flexDetail_->setContextMenuPolicy(Qt::CustomContextMenu);
    mnuDelGood_ = new QAction(QStringLiteral("حذف كالا از فاكتور"), this);
    mnuDelGood_->setObjectName(QStringLiteral("mnuDelGood"));
    connect(flexDetail_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = flexDetail_->indexAt(at);
        const bool deletable = logic_->availability().gridEditable && index.isValid() &&
                               logic_->doc().flexDetail.line(index.row()).isFilled();
        if (!deletable) return;
        QMenu menu(this);
        menu.addAction(mnuDelGood_);
        if (menu.exec(flexDetail_->viewport()->mapToGlobal(at)) == mnuDelGood_)
            deleteGridRow(index.row());
    });
}

void FormMain::deleteGridRow(int row) {
    run([this, row] { logic_->services().lines->DeleteRow(row); });
    refreshView();
    returnToTheGrid();
}

void FormMain::connectEntry() {
    connectGridMenu();
    InvoiceServices& s = logic_->services();
    connect(&logic_->doc().flexDetail, &LineTableModel::editRequested, this,
            [this, &s](int row, int col, const QString& text) {
                enterLine([&] { s.lines->commitCell(row, col, text); });
            });
    // The form's goods picker fills the grid's current row; it is emptied once it was used.
    connect(txtGoodsPicker_, &QLineEdit::returnPressed, this, [this] {
        const QModelIndex current = flexDetail_->currentIndex();
        const int row = current.isValid() ? current.row() : logic_->doc().flexDetail.rows() - 1;
        pickGoods(row, txtGoodsPicker_->text());
        txtGoodsPicker_->clear();
    });
    // A weighing station's barcode brings its prepared sale into the invoice the form then opens.
    // It acts on the change, as its last character arrives (a scanner sends no Enter), and the
    // box takes the focus back for the next barcode. Enter adds nothing to the list.
    cmbScaleBarcode_->setInsertPolicy(QComboBox::NoInsert);
    connect(cmbScaleBarcode_->lineEdit(), &QLineEdit::textEdited, this,
            [this, &s](const QString& text) {
                run([this, &s, &text] {
                    const int invoice = s.scale->cmbScaleBarcode_Change(text);
                    if (invoice <= 0) return;
                    logic_->ShowInvoiceByID(invoice);
                    refreshView();
                    focusControl(QStringLiteral("cmbScaleBarcode"));
                });
            });
    connect(texts_.value(QStringLiteral("txtCardNo")), &QLineEdit::returnPressed, this, [this, &s] {
        run([this, &s] {
            logic_->doc().txtCardNo = texts_.value(QStringLiteral("txtCardNo"))->text();
            s.header->txtCardNo_Enter();
        });
    });
    connect(texts_.value(QStringLiteral("txtLoanExpire")), &QLineEdit::editingFinished, this,
            [this, &s] {
                run([this, &s] {
                    s.header->txtLoanExpire_Change();
                    refreshView();
                });
            });
    // The header logic judges the date; a refused one is shown back as the invoice keeps it.
    connect(dates_.value(QStringLiteral("datCreateDate")), &JalaliDateEdit::dateChanged, this,
            [this, &s](const QDate& date) {
                if (showing_) return;
                run([&] {
                    s.header->SetCreateDate(date);
                    refreshView();
                });
            });
    connect(checks_.value(QStringLiteral("chkIsFormal")), &QCheckBox::clicked, this,
            [this, &s] { run([&s] { s.header->chkIsFormal_Click(); }); });
    connect(checks_.value(QStringLiteral("chkCheckEchantillon")), &QCheckBox::clicked, this,
            [this, &s] { run([&s] { s.header->chkCheckEchantillon_Click(); }); });
    connectMasterDiscount();
    for (const auto& [label, handler] :
         {std::pair{"lblPromoter", &HeaderLogic::lblPromoter_Click},
          std::pair{"lblCreatorEmployee", &HeaderLogic::lblCreatorEmployee_Click}})
        if (auto* l = findChild<QLabel*>(QString::fromLatin1(label)))
            l->installEventFilter(new ClickFilter(l, [this, &s, handler = handler] {
                run([&s, handler] { (s.header.get()->*handler)(); });
            }));
    for (auto* selector : findChildren<SelectorWidget*>())
        selector->setCommandRunner(
            [this](const std::function<void()>& command) { return run(command); });
}

void FormMain::connectMasterDiscount() {
    TotalsLogic& totals = *logic_->services().totals;
    connect(texts_.value(QStringLiteral("txtMasterDiscountPercent")), &QLineEdit::editingFinished,
            this, [this, &totals] {
                if (showing_) return;
                run([this, &totals] {
                    totals.MasterDiscountPercentTyped(
                        ToNumber(texts_.value(QStringLiteral("txtMasterDiscountPercent"))->text()));
                    refreshView();
                });
            });
    connect(texts_.value(QStringLiteral("txtMasterDiscountValue")), &QLineEdit::editingFinished,
            this, [this, &totals] {
                if (showing_) return;
                run([this, &totals] {
                    totals.MasterDiscountValueTyped(ParseAmount(
                        texts_.value(QStringLiteral("txtMasterDiscountValue"))->text()));
                    refreshView();
                });
            });
    connect(optPercent_, &QRadioButton::clicked, this, [this, &totals] {
        run([&totals] { totals.SetMasterDiscountKind(MasterDiscountKind::Percent); });
    });
    connect(optValue_, &QRadioButton::clicked, this, [this, &totals] {
        run([&totals] { totals.SetMasterDiscountKind(MasterDiscountKind::Value); });
    });
}

void FormMain::enterLine(const std::function<void()>& entry) {
    ScanCatcher catcher;
    const bool done = run(entry);
    const QString scannedMeanwhile = catcher.takeCode();
    if (done) {
        refreshView();
        // After a resolved goods item the grid moves on to the row the logic names.
        flexDetail_->setCurrentIndex(
            logic_->doc().flexDetail.index(logic_->services().lines->currentRow(), Col::BarCode));
        returnToTheGrid();
    }
    if (!scannedMeanwhile.isEmpty()) enterScannedCode(scannedMeanwhile);
}

void FormMain::pickGoods(int row, const QString& typed) {
    InvoiceServices& s = logic_->services();
    const QString barcode = FrmGoodsPicker::choose(this, s, typed);
    if (barcode.isEmpty()) {
        returnToTheGrid();
        return;
    }
    enterLine([&] { GoodsPicker(s).pick(row, barcode); });
}

bool FormMain::gridKey(QKeyEvent* event) {
    const QModelIndex current = flexDetail_->currentIndex();
    const int row = current.isValid() ? current.row() : 0;
    const int col = current.isValid() ? current.column() : Col::BarCode;
    InvoiceServices& s = logic_->services();
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::ControlModifier) {
        if (logic_->availability().gridEditable) s.lines->DeleteRow(row);
        return true;
    }
    const GridAction action = s.lines->handleKey(event->key(), event->modifiers(), row, col);
    if (action == GridAction::None) return false;
    runGridAction(action, row);
    refreshView();
    return true;
}

}  // namespace si

namespace si {

void FormMain::runGridAction(GridAction action, int row) {
    switch (action) {
        case GridAction::None:
        case GridAction::Handled:
            return;
        default:
            openGridDialog(action, row);
    }
}

}  // namespace si
