#include "invoice/ui/FormPricingMethod.h"
#include "invoice/ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Numbers.h"
#include "controls/ui/SelectorWidget.h"
#include "invoice/PricingLogic.h"

namespace si {

namespace {

QLabel* field(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    // Codes and amounts are left-to-right text; keep them beside their captions.
    label->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    return label;
}

}  // namespace

FormPricingMethod::FormPricingMethod(InvoiceServices& services, int row, QWidget* parent)
    : QDialog(parent), services_(services), row_(row), method_(services.ctx) {
    setObjectName(QStringLiteral("FormPricingMethod"));
    setWindowTitle(QStringLiteral("نوع قيمتگذاري كالا"));
    setLayoutDirection(Qt::RightToLeft);
    const InvoiceLine& line = services.doc.flexDetail.line(row);
    const bool entry = services.doc.FormMode == kModeEdit || services.doc.FormMode == kModeNew;
    method_.setViews(QStringLiteral("vwSalePricingMethodMajor"),
                     QStringLiteral("vwSalePricingMethodMinor"));
    method_.setCaption(QStringLiteral("نوع قيمتگذاري"));
    method_.setListFilter(services.pricing->lineMethodFilter(line.BarCode));
    if (line.PricingMethodID > 0)
        method_.setIDQuietly(line.PricingMethodID, line.PricingMethodName);
    price_ = line.UnitPrice;

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("بارکد"), field(QStringLiteral("txtBarcode"), line.BarCode, this));
    form->addRow(QStringLiteral("کد کالا"),
                 field(QStringLiteral("txtGoodCode"), line.GoodCode, this));
    form->addRow(QStringLiteral("نام کالا"),
                 field(QStringLiteral("txtGoodName"), line.GoodName, this));
    auto* selector = new SelectorWidget(method_, this);
    selector->setObjectName(QStringLiteral("sltPricingMethod"));
    selector->setEnabled(entry);
    form->addRow(method_.caption(), selector);
    txtPrice_ = field(QStringLiteral("txtPrice"), FormatAmount(price_), this);
    form->addRow(QStringLiteral("قيمت"), txtPrice_);
    layout->addLayout(form);

    const DialogButtons b = OkCancelButtons(this);
    b.ok->setEnabled(entry);
    layout->addWidget(b.box);
    connect(&method_, &SelectorModel::changed, this, &FormPricingMethod::onMethodChanged);
    resize(420, 220);
}

void FormPricingMethod::onMethodChanged() {
    const InvoiceLine& line = services_.doc.flexDetail.line(row_);
    price_ =
        method_.IsEmpty() ? Money() : services_.pricing->methodPrice(line.BarCode, method_.ID());
    txtPrice_->setText(FormatAmount(price_));
}

void FormPricingMethod::accept() {
    const int id = method_.IsEmpty() ? -1 : method_.ID();
    bool applied = false;
    GuardedEdit(services_.doc, [&] {
        const QString name = id > 0 ? services_.pricing->methodName(id) : QString();
        applied = services_.pricing->applyLineMethod(row_, id, name, price_);
    });
    if (applied) QDialog::accept();
}

bool FormPricingMethod::choose(QWidget* parent, InvoiceServices& services, int row) {
    if (row < 0 || row >= services.doc.flexDetail.rows()) return false;
    FormPricingMethod dialog(services, row, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace si
