#include "invoice/ui/FormPromoter.h"
#include "invoice/ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/ui/SelectorWidget.h"
#include "invoice/PricingLogic.h"

namespace si {

FormPromoter::FormPromoter(InvoiceServices& services, int row, QWidget* parent)
    : QDialog(parent), services_(services), row_(row), promoter_(services.ctx) {
    setObjectName(QStringLiteral("FormPromoter"));
    setWindowTitle(QStringLiteral("بازارياب كالا"));
    setLayoutDirection(Qt::RightToLeft);
    const InvoiceLine& line = services.doc.flexDetail.line(row);
    const bool entry = services.doc.FormMode == kModeEdit || services.doc.FormMode == kModeNew;
    promoter_.setViews(QStringLiteral("vwSalePromoterMajor"),
                       QStringLiteral("vwSalePromoterMinor"));
    promoter_.setCaption(QStringLiteral("بازارياب"));
    const int preset = services.pricing->defaultLinePromoter(row);
    if (preset > 0) promoter_.setID(preset);

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    const std::pair<const char*, QString> goods[] = {{"txtBarcode", line.BarCode},
                                                     {"txtGoodCode", line.GoodCode},
                                                     {"txtGoodName", line.GoodName}};
    const QString titles[] = {QStringLiteral("بارکد"), QStringLiteral("کد کالا"),
                              QStringLiteral("نام کالا")};
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(goods[i].second, this);
        label->setObjectName(QString::fromLatin1(goods[i].first));
        label->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
        form->addRow(titles[i], label);
    }
    auto* selector = new SelectorWidget(promoter_, this);
    selector->setObjectName(QStringLiteral("sltPromoter"));
    selector->setEnabled(entry);
    form->addRow(promoter_.caption(), selector);
    layout->addLayout(form);

    const DialogButtons b = OkCancelButtons(this);
    b.ok->setEnabled(entry);
    layout->addWidget(b.box);
    resize(420, 200);
}

void FormPromoter::accept() {
    const int id = promoter_.IsEmpty() ? -1 : promoter_.ID();
    bool applied = false;
    GuardedEdit(services_.doc, [&] {
        const QString name = id > 0 ? services_.pricing->promoterName(id) : QString();
        applied = services_.pricing->applyLinePromoter(row_, id, name);
    });
    if (applied) QDialog::accept();
}

bool FormPromoter::choose(QWidget* parent, InvoiceServices& services, int row) {
    if (row < 0 || row >= services.doc.flexDetail.rows()) return false;
    FormPromoter dialog(services, row, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace si
