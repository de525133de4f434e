#include "posting/ui/FrmDispatchView.h"

#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace si {

namespace {

QTableWidgetItem* cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QLabel* field(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QTableWidget* linesGrid(const QVector<DispatchViewLine>& lines, QWidget* parent) {
    auto* grid = new QTableWidget(static_cast<int>(lines.size()), 6, parent);
    grid->setObjectName(QStringLiteral("flexDispatch"));
    grid->setHorizontalHeaderLabels({QStringLiteral("رديف"), QStringLiteral("كد ميله اي"),
                                     QStringLiteral("نام كالا"), QStringLiteral("واحد"),
                                     QStringLiteral("تعداد"), QStringLiteral("شرح")});
    grid->verticalHeader()->hide();
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int r = 0; r < lines.size(); ++r) {
        const DispatchViewLine& l = lines[r];
        grid->setItem(r, 0, cell(QString::number(r + 1)));
        grid->setItem(r, 1, cell(l.barcode));
        grid->setItem(r, 2, cell(l.goodName));
        grid->setItem(r, 3, cell(l.unitName));
        grid->setItem(r, 4, cell(QString::number(l.qty, 'g', 15)));
        grid->setItem(r, 5, cell(l.description));
    }
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    return grid;
}

}  // namespace

FrmDispatchView::FrmDispatchView(const DispatchViewData& data, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmDispatchView"));
    setWindowTitle(QStringLiteral("برگ خروج كالا از انبار"));
    setLayoutDirection(Qt::RightToLeft);
    auto* layout = new QVBoxLayout(this);
    auto* header = new QFormLayout;
    header->addRow(QStringLiteral("شماره:"), field(QStringLiteral("lblCode"), data.code, this));
    header->addRow(QStringLiteral("شماره رايانهاي:"),
                   field(QStringLiteral("lblID"), QString::number(data.id), this));
    header->addRow(QStringLiteral("انبار:"),
                   field(QStringLiteral("lblInventory"), data.inventoryName, this));
    header->addRow(QStringLiteral("نوع خروج:"),
                   field(QStringLiteral("lblType"), data.typeName, this));
    header->addRow(QStringLiteral("تاريخ:"),
                   field(QStringLiteral("lblDate"), data.farsiReceiveDate, this));
    header->addRow(QStringLiteral("ملاحظات:"), field(QStringLiteral("lblNotes"), data.notes, this));
    layout->addLayout(header);
    layout->addWidget(linesGrid(data.lines, this));
    auto* exit = new QPushButton(QStringLiteral("خروج"), this);
    exit->setObjectName(QStringLiteral("cmdExit"));
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(exit);
    resize(720, 460);
}

}  // namespace si
