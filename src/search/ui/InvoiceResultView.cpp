#include "search/ui/InvoiceResultView.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyledItemDelegate>

#include "controls/ui/WrappingHeaderView.h"

namespace si {

namespace {

// A marked row stays yellow when it is the current one too, a deeper yellow, so that a click that
// marks a row shows the mark at once.
class MarkedRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (!index.data(Qt::BackgroundRole).isValid() || !(option->state & QStyle::State_Selected))
            return;
        option->state &= ~QStyle::State_Selected;
        option->backgroundBrush = QColor(245, 200, 0);
    }
};

}  // namespace

WaitCursor::WaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}
WaitCursor::~WaitCursor() {
    QApplication::restoreOverrideCursor();
}

InvoiceResultView::InvoiceResultView(InvoiceResultModel& model, QWidget* parent)
    : QTableView(parent), model_(&model) {
    setHorizontalHeader(new WrappingHeaderView(this));
    setItemDelegate(new MarkedRowDelegate(this));
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

// Wide enough for what a column usually holds, and for its title on two lines.
void InvoiceResultView::sizeColumns() {
    const QFontMetrics metrics = fontMetrics();
    const auto sample = [](const ResultColumn& c) {
        switch (c.format) {
            case ColumnFormat::RowNumber:
                return QStringLiteral("99999");
            case ColumnFormat::State:
                return QStringLiteral("نهايي");
            case ColumnFormat::Whole:
                return QStringLiteral("9999999");
            case ColumnFormat::Amount:
                return QStringLiteral("999/999/999");
            case ColumnFormat::Percent:
                return QStringLiteral("99.9");
            default:
                return QLatin1String(c.field).contains(QLatin1String("Date"))
                           ? QStringLiteral("1405/09/15")
                           : QStringLiteral("محمدرضا عبداللهي");
        }
    };
    const auto& columns = model_->columns();
    for (int column = 0; column < static_cast<int>(columns.size()); ++column) {
        const ResultColumn& c = columns[static_cast<size_t>(column)];
        const int content = metrics.horizontalAdvance(sample(c));
        int title = metrics.horizontalAdvance(c.header) / 2;  // two lines
        for (const QString& word : c.header.split(QLatin1Char(' ')))
            title = std::max(title, metrics.horizontalAdvance(word));
        setColumnWidth(column, std::max(content, title) + 16);
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
