#include "linked/ui/FrmChangeQty.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "invoice/ui/DialogButtons.h"

namespace si {

namespace {

QLabel* field(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QString quantityText(double qty) {
    return QString::number(qty, 'g', 15);
}

}  // namespace

FrmChangeQty::FrmChangeQty(Context& ctx, const QtyChangeLine& line, const QString& goodName,
                           QWidget* parent)
    : QDialog(parent), command_(ctx), line_(line) {
    setObjectName(QStringLiteral("frmChangeQty"));
    setWindowTitle(QStringLiteral("تغيير تعداد كالا"));
    setLayoutDirection(Qt::RightToLeft);
    const std::optional<QtyChangeState> state = command_.lineState(line);
    txtQty_ = new QLineEdit(this);
    txtQty_->setObjectName(QStringLiteral("txtQty"));
    cmbReason_ = new QComboBox(this);
    cmbReason_->setObjectName(QStringLiteral("cmbReason"));
    for (const QtyChangeReason& r : command_.reasons())
        cmbReason_->addItem(r.description, r.sequence);
    cmbReason_->setCurrentIndex(-1);
    if (state) {
        txtQty_->setText(quantityText(state->qty));
        if (state->reasonSequence)
            cmbReason_->setCurrentIndex(cmbReason_->findData(*state->reasonSequence));
    }
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("كد ميله اي:"),
                 field(QStringLiteral("lblBarcode"), line.barcode, this));
    form->addRow(QStringLiteral("نام كالا:"), field(QStringLiteral("lblGoodName"), goodName, this));
    form->addRow(
        QStringLiteral("تعداد سفارش:"),
        field(QStringLiteral("lblInitialQty"),
              state ? quantityText(state->initialQty.value_or(state->qty)) : QString(), this));
    form->addRow(QStringLiteral("تعداد جديد:"), txtQty_);
    form->addRow(QStringLiteral("علت تغيير:"), cmbReason_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    const DialogButtons b = OkCancelButtons(this, true);
    disconnect(b.box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(b.ok, &QPushButton::clicked, this, &FrmChangeQty::cmdOK_Click);
    layout->addWidget(b.box);
    resize(380, 220);
}

void FrmChangeQty::cmdOK_Click() {
    bool numeric = false;
    const double qty = txtQty_->text().trimmed().remove(u'/').toDouble(&numeric);
    QtyChange change;
    change.qty = numeric ? qty : -1;
    change.reasonSequence = cmbReason_->currentIndex() < 0 ? -1 : cmbReason_->currentData().toInt();
    if (command_.change(line_, change)) accept();
}

}  // namespace si
