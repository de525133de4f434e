#include "invoice/ui/FrmGoodsPicker.h"

#include <algorithm>

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include "common/CommandGuard.h"
#include "common/Numbers.h"

namespace si {

namespace {

const QStringList kTitles = {QStringLiteral("كد كالا"), QStringLiteral("عنوان"),
                             QStringLiteral("واحد"), QStringLiteral("قيمت واحد"),
                             QStringLiteral("موجودي")};

QStandardItem* cell(const QString& text, bool number = false) {
    auto* item = new QStandardItem(text);
    item->setEditable(false);
    if (number) item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return item;
}

}  // namespace

FrmGoodsPicker::FrmGoodsPicker(InvoiceServices& services, QWidget* parent)
    : QDialog(parent), services_(services), picker_(services) {
    setObjectName(QStringLiteral("frmGoodsPicker"));
    setWindowTitle(QStringLiteral("انتخاب كالا"));
    setLayoutDirection(Qt::RightToLeft);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("كد، كد ميله اي يا نام كالا:"), this);
    layout->addWidget(label);
    txtSearch_ = new QLineEdit(this);
    txtSearch_->setObjectName(QStringLiteral("txtSearch"));
    txtSearch_->installEventFilter(this);
    label->setBuddy(txtSearch_);
    layout->addWidget(txtSearch_);

    rows_ = new QStandardItemModel(0, kTitles.size(), this);
    rows_->setHorizontalHeaderLabels(kTitles);
    flexGoods_ = new QTableView(this);
    flexGoods_->setObjectName(QStringLiteral("flexGoods"));
    flexGoods_->setModel(rows_);
    flexGoods_->setSelectionBehavior(QAbstractItemView::SelectRows);
    flexGoods_->setSelectionMode(QAbstractItemView::SingleSelection);
    flexGoods_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    flexGoods_->setFocusPolicy(Qt::NoFocus);  // the text keeps the keyboard
    flexGoods_->verticalHeader()->hide();
    flexGoods_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    connect(flexGoods_, &QTableView::doubleClicked, this, &FrmGoodsPicker::accept);
    layout->addWidget(flexGoods_);

    delay_.setSingleShot(true);
    delay_.setInterval(150);
    connect(&delay_, &QTimer::timeout, this, &FrmGoodsPicker::search);
    connect(txtSearch_, &QLineEdit::textEdited, this, [this] { delay_.start(); });
    resize(640, 420);
}

void FrmGoodsPicker::setSearchText(const QString& typed) {
    txtSearch_->setText(typed);
    delay_.start();
}

void FrmGoodsPicker::searchNow() {
    if (!delay_.isActive()) return;
    delay_.stop();
    search();
}

void FrmGoodsPicker::search() {
    QVector<PickerRow> found;
    if (!Guarded(services_.ctx, [&] { found = picker_.search(txtSearch_->text()); })) return;
    found_ = std::move(found);
    showRows();
}

void FrmGoodsPicker::showRows() {
    rows_->removeRows(0, rows_->rowCount());
    for (const PickerRow& r : found_)
        rows_->appendRow({cell(r.code), cell(r.name), cell(r.unitName),
                          cell(FormatAmount(r.price), true),
                          cell(QString::number(r.stock, 'g', 15), true)});
    if (!found_.isEmpty()) makeCurrent(0);
}

// Set through the selection model: the view's own selectRow needs a laid out header.
void FrmGoodsPicker::makeCurrent(int row) {
    const QModelIndex index = rows_->index(row, 0);
    flexGoods_->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    flexGoods_->scrollTo(index);
}

void FrmGoodsPicker::moveCurrent(int key) {
    if (found_.isEmpty()) return;
    const int current = flexGoods_->currentIndex().isValid() ? flexGoods_->currentIndex().row() : 0;
    const int page = 10;
    int next = current;
    if (key == Qt::Key_Down) next = current + 1;
    if (key == Qt::Key_Up) next = current - 1;
    if (key == Qt::Key_PageDown) next = current + page;
    if (key == Qt::Key_PageUp) next = current - page;
    makeCurrent(std::clamp(next, 0, static_cast<int>(found_.size()) - 1));
}

bool FrmGoodsPicker::eventFilter(QObject* watched, QEvent* event) {
    if (watched != txtSearch_ || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    switch (key) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            searchNow();
            moveCurrent(key);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            accept();
            return true;
        case Qt::Key_Escape:
            reject();
            return true;
        default:
            return QDialog::eventFilter(watched, event);
    }
}

// Enter picks what the typed text lists, the search still waiting included.
void FrmGoodsPicker::accept() {
    searchNow();
    const QModelIndex current = flexGoods_->currentIndex();
    if (!current.isValid() || current.row() >= found_.size()) return;
    picked_ = found_[current.row()].barcode;
    QDialog::accept();
}

QString FrmGoodsPicker::choose(QWidget* parent, InvoiceServices& services, const QString& typed) {
    FrmGoodsPicker dialog(services, parent);
    dialog.setSearchText(typed);
    dialog.searchNow();
    return dialog.exec() == QDialog::Accepted ? dialog.pickedBarcode() : QString();
}

}  // namespace si
