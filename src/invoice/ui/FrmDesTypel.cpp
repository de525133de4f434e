#include "invoice/ui/FrmDesTypel.h"
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

enum Column { kRow = 0, kType = 1, kAmount = 2, kTypeId = 3, kPercent = 4 };

QString percentText(double percent) {
    return percent == 0 ? QString() : QString::number(percent);
}

}  // namespace

const QString FrmDesTypel::kFormatString = QStringLiteral(
    "^  رديف|^       نوع كسورات                        |^مبلغ        |^شماره رايانه اي       "
    "|^مبلغ به درصد    ");

FrmDesTypel::FrmDesTypel(InvoiceServices& services, QWidget* parent)
    : QDialog(parent),
      services_(services),
      grid_(new QTableWidget(this)),
      percentEditable_(services.totals->DeductionPercentEditable()) {
    setObjectName(QStringLiteral("frmDesTypel"));
    setWindowTitle(QStringLiteral("كسورات فاکتور"));
    setLayoutDirection(Qt::RightToLeft);
    auto* layout = new QVBoxLayout(this);
    grid_->setObjectName(QStringLiteral("flexDescTypel"));
    setUpColumns();
    layout->addWidget(grid_);
    const DialogButtons b = OkCancelButtons(this);
    layout->addWidget(b.box);
    connect(grid_, &QTableWidget::itemChanged, this, &FrmDesTypel::onItemChanged);
    rows_ = services_.totals->DeductionRowsForDialog();
    fill();
    resize(640, 360);
}

// Titles and relative widths come from the format string, as the grid's FormatString gave them.
void FrmDesTypel::setUpColumns() {
    const QStringList sections = kFormatString.split(QLatin1Char('|'));
    grid_->setColumnCount(static_cast<int>(sections.size()));
    QStringList titles;
    for (const QString& section : sections)
        titles << (section.startsWith(QLatin1Char('^')) ? section.mid(1) : section);
    QStringList trimmed;
    for (const QString& t : titles)
        trimmed << t.trimmed();
    grid_->setHorizontalHeaderLabels(trimmed);
    grid_->horizontalHeader()->setMinimumSectionSize(24);
    for (int c = 0; c < titles.size(); ++c)
        grid_->setColumnWidth(c, grid_->fontMetrics().horizontalAdvance(titles[c]) + 16);
    grid_->verticalHeader()->hide();
}

void FrmDesTypel::fill() {
    filling_ = true;
    grid_->setRowCount(static_cast<int>(rows_.size()));
    for (int r = 0; r < rows_.size(); ++r) {
        for (int c = kRow; c <= kPercent; ++c) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            const bool editable = c == kAmount || (c == kPercent && percentEditable_);
            if (!editable) item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            grid_->setItem(r, c, item);
        }
        showRow(r);
    }
    filling_ = false;
}

void FrmDesTypel::showRow(int r) {
    const bool was = filling_;
    filling_ = true;
    const DeductionRow& d = rows_[r];
    grid_->item(r, kRow)->setText(QString::number(r + 1));
    grid_->item(r, kType)->setText(d.Name);
    grid_->item(r, kAmount)->setText(d.Value.isZero() ? QString() : FormatAmount(d.Value));
    grid_->item(r, kTypeId)->setText(QString::number(d.ShortageTypeID));
    grid_->item(r, kPercent)->setText(percentText(d.ShortagePercent));
    filling_ = was;
}

// A refused entry restores the row and keeps the cell in edit.
void FrmDesTypel::onItemChanged(QTableWidgetItem* item) {
    if (filling_) return;
    const int r = item->row();
    bool accepted = false;
    GuardedEdit(services_.doc, [&] {
        if (item->column() == kAmount)
            accepted = services_.totals->DeductionValueTyped(rows_[r], ParseAmount(item->text()));
        else if (item->column() == kPercent)
            accepted = services_.totals->DeductionPercentTyped(rows_[r], Val(item->text()));
        else
            accepted = true;
    });
    showRow(r);
    if (!accepted) QTimer::singleShot(0, grid_, [this, item] { grid_->editItem(item); });
}

void FrmDesTypel::accept() {
    bool applied = false;
    GuardedEdit(services_.doc, [&] { applied = services_.totals->ApplyDeductions(rows_); });
    if (applied) QDialog::accept();
}

bool FrmDesTypel::edit(QWidget* parent, InvoiceServices& services) {
    if (!services.totals->CanEditDeductions()) return false;
    FrmDesTypel dialog(services, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace si
