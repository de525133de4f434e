#include "invoice/ui/FrmDescription.h"
#include "invoice/ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/TextLimits.h"
#include "invoice/LinesLogic.h"

namespace si {

FrmDescription::FrmDescription(InvoiceServices& services, int row, QWidget* parent)
    : QDialog(parent), services_(services), row_(row) {
    setObjectName(QStringLiteral("frmDescription"));
    setWindowTitle(QStringLiteral("شرح كالا"));
    setLayoutDirection(Qt::RightToLeft);
    const InvoiceLine& line = services.doc.flexDetail.line(row);
    auto* layout = new QVBoxLayout(this);
    auto* goods = new QLabel(line.GoodName, this);
    goods->setObjectName(QStringLiteral("lblGood"));
    layout->addWidget(goods);
    txtDescription_ = new QLineEdit(line.Description, this);
    txtDescription_->setObjectName(QStringLiteral("txtDescription"));
    txtDescription_->setMaxLength(LimitOf(TextField::LineDescription).length);
    layout->addWidget(txtDescription_);

    const DialogButtons b = OkCancelButtons(this, true);
    layout->addWidget(b.box);
    resize(380, 140);
}

void FrmDescription::accept() {
    bool changed = false;
    GuardedEdit(services_.doc, [&] {
        changed = services_.lines->changeDescription(row_, txtDescription_->text());
    });
    if (changed) QDialog::accept();
}

bool FrmDescription::edit(QWidget* parent, InvoiceServices& services, int row) {
    const LineTableModel& grid = services.doc.flexDetail;
    if (row < 0 || row >= grid.rows() || !grid.line(row).isFilled()) return false;
    FrmDescription dialog(services, row, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace si
