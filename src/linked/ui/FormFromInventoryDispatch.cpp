#include "linked/ui/FormFromInventoryDispatch.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "controls/ui/JalaliDateEdit.h"
#include "controls/ui/SelectorWidget.h"
#include "invoice/ui/DialogButtons.h"

namespace si {

FormFromInventoryDispatch::FormFromInventoryDispatch(Context& ctx, QWidget* parent)
    : QDialog(parent), logic_(ctx), inventory_(ctx) {
    setObjectName(QStringLiteral("FormFromInventoryDispatch"));
    setWindowTitle(QStringLiteral("صدور فاكتور فروش از روي برگه خروج"));
    setLayoutDirection(Qt::RightToLeft);
    inventory_.setViews(QStringLiteral("vwInventoryMajor"), QStringLiteral("vwInventoryMinor"));
    inventory_.setCaption(QStringLiteral("انبارها"));

    optID_ = new QRadioButton(QStringLiteral("شماره رايانه اي"), this);
    optID_->setObjectName(QStringLiteral("optID"));
    optCode_ = new QRadioButton(QStringLiteral("شماره برگه"), this);
    optCode_->setObjectName(QStringLiteral("optCode"));
    optCode_->setChecked(true);
    txtIDCode_ = new QLineEdit(this);
    txtIDCode_->setObjectName(QStringLiteral("txtIDCode"));
    auto* selector = new SelectorWidget(inventory_, this);
    selector->setObjectName(QStringLiteral("sltInventory"));
    dtpCreateDate_ = new JalaliDateEdit(this);
    dtpCreateDate_->setObjectName(QStringLiteral("dtpCreateDate"));
    dtpCreateDate_->setDate(ctx.db().today());

    auto* kinds = new QHBoxLayout;
    kinds->addWidget(optCode_);
    kinds->addWidget(optID_);
    auto* form = new QFormLayout;
    form->addRow(QString(), kinds);
    form->addRow(QStringLiteral("شماره:"), txtIDCode_);
    form->addRow(inventory_.caption() + QLatin1Char(':'), selector);
    form->addRow(QStringLiteral("تاريخ فاكتور:"), dtpCreateDate_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    const DialogButtons b = OkCancelButtons(this, true);
    // OK runs the creation; the box's own accept would close the dialog on a refusal too.
    disconnect(b.box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(b.ok, &QPushButton::clicked, this, &FormFromInventoryDispatch::cmdOK_Click);
    layout->addWidget(b.box);
    resize(420, 220);
}

DispatchLookup FormFromInventoryDispatch::lookup() const {
    DispatchLookup l;
    l.byCode = optCode_->isChecked();
    l.number = txtIDCode_->text();
    l.inventoryId = inventory_.IsEmpty() ? -1 : inventory_.ID();
    l.createDate = dtpCreateDate_->date();
    return l;
}

void FormFromInventoryDispatch::cmdOK_Click() {
    created_ = logic_.cmdOK(lookup());
    if (!created_) return;
    if (logic_.dispatchInventory() > 0) inventory_.setID(logic_.dispatchInventory(), true);
    accept();
}

bool CreateInvoiceFromDispatch(Context& ctx, QWidget* parent, int& invoiceId,
                               const std::function<void(FormFromInventoryDispatch&)>& present) {
    FormFromInventoryDispatch dialog(ctx, parent);
    if (present)
        present(dialog);
    else
        dialog.exec();
    if (!dialog.createdInvoice()) return false;
    invoiceId = *dialog.createdInvoice();
    return true;
}

}  // namespace si
