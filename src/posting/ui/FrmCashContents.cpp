#include "posting/ui/FrmCashContents.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "common/Codes.h"
#include "common/Messages.h"
#include "invoice/InvoiceDocument.h"
#include "posting/CashTurnBooking.h"

namespace si {

FrmCashContents::FrmCashContents(Context& ctx, int cashId, int turn, const QString& cashName,
                                 QWidget* parent)
    : QDialog(parent), ctx_(ctx), cashName_(cashName) {
    setObjectName(QStringLiteral("frmCashContents"));
    setWindowTitle(QStringLiteral("محتويات صندوق"));
    setLayoutDirection(Qt::RightToLeft);
    cmbCashTurn_ = new QComboBox(this);
    cmbCashTurn_->setObjectName(QStringLiteral("cmbCashTurn"));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("نوبت صندوق:"), this), 0, 0);
    grid->addWidget(cmbCashTurn_, 0, 1, 1, 3);
    const std::tuple<const char*, const char*> fields[] = {
        {"lblCashID", "شماره نوبت"},          {"lblCreator", "صندوقدار"},
        {"lblOpenDate", "تاريخ باز شدن"},     {"lblCloseDate", "تاريخ بسته شدن"},
        {"lblReceive", "جمع دريافتها"},       {"lblPay", "جمع پرداختها"},
        {"lblInvoicesNum", "تعداد فاكتورها"}, {"lblTotalValue", "مبلغ فاكتورها"},
        {"lblDiscount", "تخفيف فاكتورها"},    {"lblTotalRecValue", "دريافتي فاكتورها"},
        {"lblReturnsNum", "تعداد برگشتيها"},  {"lblTotalReturnValue", "مبلغ برگشتيها"},
        {"lblRemNum", "تعداد خالص"},          {"lblTotalRemValue", "مانده خالص"}};
    int i = 0;
    for (const auto& [name, text] : fields) {
        addLabel(grid, 1 + i / 2, (i % 2) * 2, name, QString::fromUtf8(text));
        ++i;
    }
    auto* ok = new QPushButton(QStringLiteral("چاپ"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    auto* cancel = new QPushButton(QStringLiteral("انصراف"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    // The print checks the right itself, on the form and on the command line alike.
    connect(ok, &QPushButton::clicked, this, [this] {
        if (print) print(*this);
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* box = new QVBoxLayout(this);
    box->addLayout(grid);
    box->addLayout(buttons);
    QTimer::singleShot(0, ok, [this, ok] { ok->setVisible(static_cast<bool>(print)); });

    entries_ = OwnCashTurns(ctx_.db(), ctx_.globals.CurrentUserID);
    int given = -1;
    for (size_t e = 0; e < entries_.size(); ++e) {
        cmbCashTurn_->addItem(entries_[e].text, entries_[e].turnId);
        if (entries_[e].cashId == cashId && entries_[e].turn == turn) given = static_cast<int>(e);
    }
    cmbCashTurn_->setCurrentIndex(given);
    cmbCashTurn_Click(given);
    connect(cmbCashTurn_, &QComboBox::currentIndexChanged, this,
            &FrmCashContents::cmbCashTurn_Click);
}

void FrmCashContents::addLabel(QGridLayout* grid, int row, int col, const char* name,
                               const QString& text) {
    auto* value = new QLabel(this);
    value->setObjectName(QString::fromLatin1(name));
    value->setStyleSheet(QStringLiteral("font-weight: bold;"));
    grid->addWidget(new QLabel(text + QLatin1Char(':'), this), row, col);
    grid->addWidget(value, row, col + 1);
    labels_.insert(value->objectName(), value);
}

QString FrmCashContents::label(const QString& name) const {
    const QLabel* l = labels_.value(name);
    return l ? l->text() : QString();
}

QHash<QString, QString> FrmCashContents::labelTexts() const {
    QHash<QString, QString> texts;
    for (auto it = labels_.cbegin(); it != labels_.cend(); ++it)
        texts.insert(it.key(), it.value()->text());
    return texts;
}

void FrmCashContents::clearFigures() {
    for (QLabel* l : std::as_const(labels_))
        l->clear();
}

void FrmCashContents::cmbCashTurn_Click(int index) {
    clearFigures();
    if (index < 0 || index >= static_cast<int>(entries_.size())) return;
    const CashTurnEntry& entry = entries_[static_cast<size_t>(index)];
    cashName_ = CashNameOfEntry(entry.text);
    const auto c =
        ReadCashTurnContents(ctx_.db(), ctx_.globals.CurrentUserID, entry.cashId, entry.turn);
    if (!c) {
        ShowMessage(ctx_, kErrorCaption,
                    QStringLiteral("چنين نوبت صندوقي براي اين كاربر وجود ندارد."));
        return;
    }
    for (const auto& [name, text] : CashContentsLabels(*c))
        labels_.value(name)->setText(text);
}

// A turn the user does not own (one he was only admitted to) has nothing to show here.
void FrmCashContents::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() &&
        label(QStringLiteral("lblCashID")).isEmpty())
        QTimer::singleShot(0, this, &QDialog::reject);
}

void cmdCashTurnPrint_Click(Context& ctx, const InvoiceDocument& doc, QWidget* parent,
                            std::function<void(FrmCashContents&)> print) {
    if (!HasRight(ctx, Right::CashTurnContents)) {
        ShowMessage(ctx, kErrorCaption, kNoRightMessage);
        return;
    }
    if (doc.CashID == -1 || doc.Turn == -1) return;
    FrmCashContents form(ctx, doc.CashID, doc.Turn, CashNameOfEntry(doc.cashTurnDescription),
                         parent);
    form.print = std::move(print);
    form.exec();
}

}  // namespace si
