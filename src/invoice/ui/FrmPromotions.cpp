#include "invoice/ui/FrmPromotions.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "invoice/DiscountLogic.h"
#include "invoice/DiscountTexts.h"

namespace si {

namespace {

QTableWidgetItem* cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QString rowsText(const QVector<int>& rows) {
    QStringList numbers;
    for (int r : rows)
        numbers << QString::number(r);
    return numbers.join(QStringLiteral(", "));
}

}  // namespace

FrmPromotions::FrmPromotions(InvoiceServices& services, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPromotions"));
    setWindowTitle(QStringLiteral("پروموشنها"));
    setLayoutDirection(Qt::RightToLeft);
    auto* layout = new QVBoxLayout(this);
    const QVector<PromotionDisplayRow> rows = services.discounts->PromotionDisplay();
    auto* grid = new QTableWidget(static_cast<int>(rows.size()),
                                  static_cast<int>(discounts::kPromotionTitles.size()), this);
    grid->setObjectName(QStringLiteral("flexPromotion"));
    grid->setHorizontalHeaderLabels(discounts::kPromotionTitles);
    grid->verticalHeader()->hide();
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int r = 0; r < rows.size(); ++r) {
        const PromotionDisplayRow& p = rows[r];
        grid->setItem(r, 0, cell(QString::number(p.ID)));
        grid->setItem(r, 1, cell(QString::number(p.Sequence)));
        grid->setItem(r, 2, cell(QString::number(p.PriorityNo)));
        grid->setItem(r, 3, cell(p.Notes));
        grid->setItem(r, 4, cell(rowsText(p.goodsRows)));
        grid->setItem(r, 5, cell(rowsText(p.freeRows)));
    }
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grid->horizontalHeader()->setSectionResizeMode(3, QHeaderView::Stretch);
    layout->addWidget(grid);
    auto* exit = new QPushButton(QStringLiteral("خروج"), this);
    exit->setObjectName(QStringLiteral("cmdExit"));
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(exit);
    resize(720, 400);
}

void FrmPromotions::show(QWidget* parent, InvoiceServices& services) {
    FrmPromotions dialog(services, parent);
    dialog.exec();
}

}  // namespace si
