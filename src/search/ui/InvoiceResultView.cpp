#include "search/ui/InvoiceResultView.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>

#include "controls/ui/WrappingHeaderView.h"

namespace si {

WaitCursor::WaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}
WaitCursor::~WaitCursor() {
    QApplication::restoreOverrideCursor();
}

InvoiceResultView::InvoiceResultView(InvoiceResultModel& model, QWidget* parent)
    : QTableView(parent), model_(&model) {
    setHorizontalHeader(new WrappingHeaderView(this));
    setModel(&model);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    horizontalHeader()->setSectionsClickable(true);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        const WaitCursor wait;
        model_->sortBy(column);
    });
    connect(this, &QTableView::clicked, this,
            [this](const QModelIndex& index) { Q_EMIT rowClicked(index.row()); });
    connect(this, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { openRow(index.row()); });
    connect(&model, &QAbstractItemModel::modelReset, this, &InvoiceResultView::sizeColumns);
    sizeColumns();
}

void InvoiceResultView::sizeColumns() {
    const QFontMetrics metrics = fontMetrics();
    const int digit = metrics.horizontalAdvance(QLatin1Char('0'));
    for (int column = 0; column < model_->columnCount(); ++column) {
        const QString title = model_->headerData(column, Qt::Horizontal).toString();
        int width = std::max(digit * 8, metrics.horizontalAdvance(title) / 2 + 16);
        if (column == 0) width = digit * 6;
        if (column == 7 || column == 10) width = digit * 22;
        if (column == 8) width = digit * 16;  // the original's 1500 twips
        setColumnWidth(column, width);
    }
}

void InvoiceResultView::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        currentIndex().isValid()) {
        openRow(currentIndex().row());
        return;
    }
    QTableView::keyPressEvent(event);
}

void InvoiceResultView::openRow(int row) {
    const qint64 id = model_->invoiceId(row);
    if (id > 0) Q_EMIT invoiceOpened(id);
}

}  // namespace si
