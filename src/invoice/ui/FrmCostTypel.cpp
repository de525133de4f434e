#include "invoice/ui/FrmCostTypel.h"
#include "invoice/ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "common/Numbers.h"
#include "invoice/TotalsLogic.h"

namespace si {

namespace {

enum Column { kRow = 0, kType = 1, kAmount = 2, kTypeId = 3, kColumns = 4 };

QTableWidgetItem* cell(const QString& text, bool editable) {
    auto* item = new QTableWidgetItem(text);
    if (!editable) item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

}  // namespace

FrmCostTypel::FrmCostTypel(InvoiceServices& services, QWidget* parent)
    : QDialog(parent), services_(services), grid_(new QTableWidget(this)) {
    setObjectName(QStringLiteral("frmCostTypel"));
    setWindowTitle(QStringLiteral("اضافات فاکتور"));
    setLayoutDirection(Qt::RightToLeft);
    auto* layout = new QVBoxLayout(this);
    grid_->setObjectName(QStringLiteral("flexSucharges"));
    grid_->setColumnCount(kColumns);
    grid_->setHorizontalHeaderLabels({QStringLiteral("رديف"), QStringLiteral("نوع اضافات"),
                                      QStringLiteral("مبلغ"), QStringLiteral("شماره رايانه اي")});
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setSectionResizeMode(kType, QHeaderView::Stretch);
    layout->addWidget(grid_);
    const DialogButtons b = OkCancelButtons(this);
    layout->addWidget(b.box);
    connect(grid_, &QTableWidget::itemChanged, this, &FrmCostTypel::onItemChanged);
    rows_ = services_.totals->SurchargeRowsForDialog();
    fill();
    resize(520, 360);
}

void FrmCostTypel::fill() {
    filling_ = true;
    grid_->setRowCount(static_cast<int>(rows_.size()));
    for (int r = 0; r < rows_.size(); ++r) {
        const SurchargeRow& s = rows_[r];
        grid_->setItem(r, kRow, cell(QString::number(r + 1), false));
        grid_->setItem(r, kType, cell(s.Name, false));
        grid_->setItem(r, kAmount,
                       cell(s.Value.isZero() ? QString() : FormatAmount(s.Value), true));
        grid_->setItem(r, kTypeId, cell(QString::number(s.SuchargeTypeID), false));
    }
    filling_ = false;
}

// A refused amount restores the cell and keeps it in edit.
void FrmCostTypel::onItemChanged(QTableWidgetItem* item) {
    if (filling_ || item->column() != kAmount) return;
    const int r = item->row();
    bool accepted = false;
    GuardedEdit(services_.doc, [&] {
        accepted = services_.totals->SurchargeValueTyped(rows_[r], ParseAmount(item->text()));
    });
    filling_ = true;
    item->setText(rows_[r].Value.isZero() ? QString() : FormatAmount(rows_[r].Value));
    filling_ = false;
    if (!accepted) QTimer::singleShot(0, grid_, [this, item] { grid_->editItem(item); });
}

void FrmCostTypel::accept() {
    bool applied = false;
    GuardedEdit(services_.doc, [&] { applied = services_.totals->ApplySurcharges(rows_); });
    if (applied) QDialog::accept();
}

bool FrmCostTypel::edit(QWidget* parent, InvoiceServices& services) {
    if (!services.totals->CanEditSurcharges()) return false;
    FrmCostTypel dialog(services, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace si
