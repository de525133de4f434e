#include "invoice/ui/FrmKeyMap.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace si {

std::vector<std::pair<QString, QString>> FrmKeyMap::rows() {
    return {{QStringLiteral("F1"), QStringLiteral("راهنمايي صفحه کليد")},
            {QStringLiteral("Ctrl+N يا F7"), QStringLiteral("فاکتور جديد")},
            {QStringLiteral("Ctrl+E"), QStringLiteral("اصلاح فاکتور")},
            {QStringLiteral("Ctrl+D"), QStringLiteral("حذف فاکتور")},
            {QStringLiteral("Ctrl+T يا F8"), QStringLiteral("ثبت موقت فاکتور")},
            {QStringLiteral("Ctrl+S يا F9"), QStringLiteral("ثبت نهايي فاکتور")},
            {QStringLiteral("Ctrl+R"), QStringLiteral("بازگشت به حالت موقت")},
            {QStringLiteral("Ctrl+F"), QStringLiteral("جستجو")},
            {QStringLiteral("Ctrl+P"), QStringLiteral("مشاهده/چاپ فاکتور")},
            {QStringLiteral("F10"), QStringLiteral("ثبت نهايي و چاپ")},
            {QStringLiteral("Ctrl+X"), QStringLiteral("انصراف/خروج")},
            {QStringLiteral("Ctrl+Del"), QStringLiteral("حذف سطر")},
            {QStringLiteral("Ctrl+K"), QStringLiteral("نوبت صندوق")},
            {QStringLiteral("Ctrl+L"), QStringLiteral("گردش صندوق")}};
}

FrmKeyMap::FrmKeyMap(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmKeyMap"));
    setWindowTitle(QStringLiteral("راهنمايي صفحه کليد"));
    setLayoutDirection(Qt::RightToLeft);
    auto* layout = new QVBoxLayout(this);
    const auto list = rows();
    auto* grid = new QTableWidget(static_cast<int>(list.size()), 3, this);
    grid->setObjectName(QStringLiteral("flexKeys"));
    grid->setHorizontalHeaderLabels(
        {QStringLiteral("رديف"), QStringLiteral("کليد"), QStringLiteral("شرح")});
    grid->verticalHeader()->hide();
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int r = 0; r < static_cast<int>(list.size()); ++r) {
        grid->setItem(r, 0, new QTableWidgetItem(QString::number(r + 1)));
        grid->setItem(r, 1, new QTableWidgetItem(list[r].first));
        grid->setItem(r, 2, new QTableWidgetItem(list[r].second));
    }
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->resizeColumnsToContents();
    layout->addWidget(grid);
    auto* exit = new QPushButton(QStringLiteral("خروج"), this);
    exit->setObjectName(QStringLiteral("cmdExit"));
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(exit);
    resize(420, 480);
}

}  // namespace si
