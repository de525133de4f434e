#include "invoice/ui/FrmCustomerName.h"
#include "invoice/ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include "common/Messages.h"
#include "common/TextLimits.h"
#include "invoice/WalkInBuyer.h"

namespace si {

FrmCustomerName::FrmCustomerName(InvoiceDocument& doc, QWidget* parent)
    : QDialog(parent), doc_(doc), editable_(WalkInBuyerEditable(doc.FormMode)) {
    setObjectName(QStringLiteral("frmCustomerName"));
    setWindowTitle(QStringLiteral("نام مشتري"));
    setLayoutDirection(Qt::RightToLeft);
    auto* form = new QFormLayout(this);
    txtName_ = addField("txtName", doc.walkIn.name, LimitOf(TextField::WalkInName).length);
    txtPhone_ = addField("txtPhone", doc.walkIn.phone, LimitOf(TextField::WalkInPhone).length);
    // A leading "+" stays before the digits, as the number is written.
    txtPhone_->setLayoutDirection(Qt::LeftToRight);
    form->addRow(QStringLiteral("نام خريدار:"), txtName_);
    form->addRow(QStringLiteral("تلفن:"), txtPhone_);

    const DialogButtons b = OkCancelButtons(this, true);
    b.cancel->setVisible(editable_);
    form->addRow(b.box);
    txtName_->setFocus();
    resize(360, 120);
}

QLineEdit* FrmCustomerName::addField(const char* name, const QString& text, int maxLength) {
    auto* field = new QLineEdit(text, this);
    field->setObjectName(QString::fromLatin1(name));
    field->setMaxLength(maxLength);
    field->setReadOnly(!editable_);
    return field;
}

void FrmCustomerName::accept() {
    if (!editable_) {
        QDialog::accept();
        return;
    }
    const WalkInEntry entry = ReadWalkInBuyer(txtName_->text(), txtPhone_->text());
    if (!entry.ok()) {
        ShowMessage(doc_.ctx(), kErrorCaption, entry.problem);
        QLineEdit* atFault = entry.phoneAtFault ? txtPhone_ : txtName_;
        atFault->setFocus();
        atFault->selectAll();
        return;
    }
    if (entry.buyer != doc_.walkIn) {
        doc_.walkIn = entry.buyer;
        changed_ = true;
        Q_EMIT doc_.headerChanged();
    }
    QDialog::accept();
}

bool FrmCustomerName::edit(QWidget* parent, InvoiceDocument& doc) {
    FrmCustomerName dialog(doc, parent);
    return dialog.exec() == QDialog::Accepted && dialog.changed();
}

}  // namespace si
