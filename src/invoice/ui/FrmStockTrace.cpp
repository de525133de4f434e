#include "invoice/ui/FrmStockTrace.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "invoice/LinesLogic.h"

namespace si {

namespace {

QString quantity(double value) {
    return value == 0 ? QString() : QString::number(value, 'g', 15);
}

QTableWidgetItem* cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

}  // namespace

FrmStockTrace::FrmStockTrace(InvoiceServices& services, int row, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmStockTrace"));
    setWindowTitle(QStringLiteral("گردش موجودي كالا"));
    setLayoutDirection(Qt::RightToLeft);
    const InvoiceLine& line = services.doc.flexDetail.line(row);
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(line.GoodName + QStringLiteral(" (") + line.BarCode +
                                 QStringLiteral(")  -  ") + services.doc.gbSaleTitle,
                             this);
    title->setObjectName(QStringLiteral("lblGood"));
    layout->addWidget(title);

    const QVector<StockTraceRow> trace = services.lines->stockTrace(line.BarCode);
    auto* grid = new QTableWidget(static_cast<int>(trace.size()), 6, this);
    grid->setObjectName(QStringLiteral("flexTrace"));
    grid->setHorizontalHeaderLabels({QStringLiteral("رديف"), QStringLiteral("تاريخ"),
                                     QStringLiteral("سند"), QStringLiteral("وارده"),
                                     QStringLiteral("صادره"), QStringLiteral("مانده")});
    grid->verticalHeader()->hide();
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int r = 0; r < trace.size(); ++r) {
        const StockTraceRow& t = trace[r];
        grid->setItem(r, 0, cell(QString::number(r + 1)));
        grid->setItem(r, 1, cell(t.farsiDate));
        grid->setItem(r, 2, cell(t.document));
        grid->setItem(r, 3, cell(quantity(t.received)));
        grid->setItem(r, 4, cell(quantity(t.dispatched)));
        grid->setItem(r, 5, cell(QString::number(t.balance, 'g', 15)));
    }
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    layout->addWidget(grid);

    const double balance = trace.isEmpty() ? 0 : trace.last().balance;
    auto* total = new QLabel(QStringLiteral("موجودي: ") + QString::number(balance, 'g', 15) +
                                 QStringLiteral(" واحد پايه"),
                             this);
    total->setObjectName(QStringLiteral("lblBalance"));
    layout->addWidget(total);
    auto* exit = new QPushButton(QStringLiteral("خروج"), this);
    exit->setObjectName(QStringLiteral("cmdExit"));
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(exit);
    resize(640, 420);
}

void FrmStockTrace::view(QWidget* parent, InvoiceServices& services, int row) {
    const LineTableModel& grid = services.doc.flexDetail;
    if (row < 0 || row >= grid.rows() || !grid.line(row).isFilled()) return;
    FrmStockTrace dialog(services, row, parent);
    dialog.exec();
}

}  // namespace si
