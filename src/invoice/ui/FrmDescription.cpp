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
    : QDialog(parent) {
    const InvoiceLine& line = services.doc.flexDetail.line(row);
    auto* goods = new QLabel(line.GoodName, this);
    goods->setObjectName(QStringLiteral("lblGood"));
    txtDescription_ = build(QStringLiteral("شرح كالا"), line.Description, goods);
    txtDescription_->setMaxLength(LimitOf(TextField::LineDescription).length);
    accept_ = [&services, row](const QString& text) {
        bool changed = false;
        GuardedEdit(services.doc, [&] { changed = services.lines->changeDescription(row, text); });
        return changed;
    };
}

FrmDescription::FrmDescription(const QString& title, const QString& text, Accept accept,
                               QWidget* parent)
    : QDialog(parent), accept_(std::move(accept)) {
    txtDescription_ = build(title, text);
}

QLineEdit* FrmDescription::build(const QString& title, const QString& text, QWidget* above) {
    setObjectName(QStringLiteral("frmDescription"));
    setWindowTitle(title);
    setLayoutDirection(Qt::RightToLeft);
    auto* layout = new QVBoxLayout(this);
    if (above) layout->addWidget(above);
    auto* field = new QLineEdit(text, this);
    field->setObjectName(QStringLiteral("txtDescription"));
    layout->addWidget(field);
    const DialogButtons b = OkCancelButtons(this, true);
    layout->addWidget(b.box);
    resize(380, 140);
    return field;
}

void FrmDescription::accept() {
    if (accept_(txtDescription_->text())) QDialog::accept();
}

bool FrmDescription::edit(QWidget* parent, InvoiceServices& services, int row) {
    const LineTableModel& grid = services.doc.flexDetail;
    if (row < 0 || row >= grid.rows() || !grid.line(row).isFilled()) return false;
    FrmDescription dialog(services, row, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool FrmDescription::editText(QWidget* parent, const QString& title, const QString& text,
                              const Accept& accept) {
    FrmDescription dialog(title, text, accept, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace si
