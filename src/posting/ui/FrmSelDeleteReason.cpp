#include "posting/ui/FrmSelDeleteReason.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace si {

FrmSelDeleteReason::FrmSelDeleteReason(const QVector<DeleteReason>& reasons, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmSelDeleteReason"));
    setWindowTitle(QStringLiteral("علت حذف"));
    setLayoutDirection(Qt::RightToLeft);
    setModal(true);
    cmbDeleteReason_ = new QComboBox(this);
    cmbDeleteReason_->setObjectName(QStringLiteral("cmbDeleteReason"));
    for (const DeleteReason& r : reasons)
        cmbDeleteReason_->addItem(r.description, r.sequence);
    auto* ok = new QPushButton(QStringLiteral("تاييد"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("انصراف"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(ok, &QPushButton::clicked, this, [this] {
        if (cmbDeleteReason_->currentIndex() < 0) return;
        chosen_ = cmbDeleteReason_->currentData().toInt();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("علت حذف فاكتور را انتخاب كنيد:"), this));
    layout->addWidget(cmbDeleteReason_);
    layout->addLayout(buttons);
}

std::optional<int> DialogDeleteReasonChooser::chooseReason(const QVector<DeleteReason>& reasons) {
    FrmSelDeleteReason dialog(reasons, parent_);
    if (present)
        present(dialog);
    else
        dialog.exec();
    return dialog.chosen();
}

}  // namespace si
