#include "invoice/ui/FrmSelUnit.h"
#include "invoice/ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "invoice/LinesLogic.h"

namespace si {

FrmSelUnit::FrmSelUnit(InvoiceServices& services, int row, QWidget* parent)
    : QDialog(parent), services_(services), row_(row) {
    setObjectName(QStringLiteral("frmSelUnit"));
    setWindowTitle(QStringLiteral("انتخاب واحد كالا"));
    setLayoutDirection(Qt::RightToLeft);
    const InvoiceLine& line = services.doc.flexDetail.line(row);
    auto* layout = new QVBoxLayout(this);
    auto* goods =
        new QLabel(line.GoodName + QStringLiteral(" (") + line.BarCode + QStringLiteral(")"), this);
    goods->setObjectName(QStringLiteral("lblGood"));
    layout->addWidget(goods);
    auto* current = new QLabel(QStringLiteral("واحد فعلي: ") + line.UnitName, this);
    current->setObjectName(QStringLiteral("lblCurrentUnit"));
    layout->addWidget(current);

    lstUnit_ = new QListWidget(this);
    lstUnit_->setObjectName(QStringLiteral("lstUnit"));
    for (const UnitChoice& unit : services.lines->unitsOf(line.BarCode)) {
        auto* item = new QListWidgetItem(unit.name + QStringLiteral("  (") +
                                             QString::number(unit.factor, 'g', 15) +
                                             QStringLiteral(" واحد پايه)"),
                                         lstUnit_);
        item->setData(Qt::UserRole, unit.id);
        if (unit.id == line.ScaleID) lstUnit_->setCurrentItem(item);
    }
    connect(lstUnit_, &QListWidget::itemDoubleClicked, this, &FrmSelUnit::accept);
    layout->addWidget(lstUnit_);

    const DialogButtons b = OkCancelButtons(this, true);
    layout->addWidget(b.box);
    resize(320, 300);
}

void FrmSelUnit::accept() {
    const QListWidgetItem* item = lstUnit_->currentItem();
    const int unit = item ? item->data(Qt::UserRole).toInt() : -1;
    bool changed = false;
    GuardedEdit(services_.doc, [&] { changed = services_.lines->changeUnit(row_, unit); });
    if (changed) QDialog::accept();
}

bool FrmSelUnit::choose(QWidget* parent, InvoiceServices& services, int row) {
    const LineTableModel& grid = services.doc.flexDetail;
    if (row < 0 || row >= grid.rows() || !grid.line(row).isFilled()) return false;
    FrmSelUnit dialog(services, row, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace si
