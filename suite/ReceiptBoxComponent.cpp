#include "suite/ReceiptBoxComponent.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Numbers.h"
#include "common/Session.h"
#include "suite/ReceiptBox.h"

namespace si::suite {

ReceiptBoxComponent::ReceiptBoxComponent(QString name, QString title)
    : name_(std::move(name)), title_(std::move(title)) {}

void ReceiptBoxComponent::ClearShow() {
    open();
}

void ReceiptBoxComponent::View(int formId) {
    formId_ = formId;
    open();
}

void ReceiptBoxComponent::open() {
    attempt([this] {
        ReceiptWindow window(*this);
        window.setObjectName(name_);
        present(window);
    });
}

ReceiptWindow::ReceiptWindow(ReceiptBoxComponent& component, QWidget* parent)
    : QDialog(parent), component_(component) {
    setWindowTitle(component.title());
    setLayoutDirection(Qt::RightToLeft);
    Session& db = component.session();
    boxes_ = new QComboBox(this);
    boxes_->setObjectName(QStringLiteral("cmbCash"));
    for (const CashBoxChoice& box : UserCashBoxes(db, component.userId()))
        boxes_->addItem(box.name, box.id);
    accounts_ = new QComboBox(this);
    accounts_->setObjectName(QStringLiteral("cmbAccount"));
    for (const AccountChoice& account : CustomerAccountChoices(db))
        accounts_->addItem(account.text, account.id);
    accounts_->setCurrentIndex(accounts_->findData(component.accountId()));
    amount_ = new QLineEdit(this);
    amount_->setObjectName(QStringLiteral("txtAmount"));
    if (component.sumValue() > Money()) amount_->setText(FormatAmount(component.sumValue()));
    description_ =
        new QLineEdit(ReceiptDescription(component.formTypeId(), component.formId()), this);
    description_->setObjectName(QStringLiteral("txtDescription"));
    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("lblMessage"));
    message_->setStyleSheet(QStringLiteral("color: #b00020; font-weight: bold;"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("صندوق:"), boxes_);
    form->addRow(QStringLiteral("دريافت از حساب:"), accounts_);
    form->addRow(QStringLiteral("مبلغ (ريال):"), amount_);
    form->addRow(QStringLiteral("شرح:"), description_);
    auto* save = new QPushButton(QStringLiteral("ثبت"), this);
    save->setObjectName(QStringLiteral("cmdSave"));
    auto* exit = new QPushButton(QStringLiteral("خروج"), this);
    exit->setObjectName(QStringLiteral("cmdExit"));
    connect(save, &QPushButton::clicked, this, &ReceiptWindow::save);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(exit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(message_);
    layout->addLayout(buttons);
}

bool ReceiptWindow::save() {
    ReceiptEntry e;
    e.userId = component_.userId();
    e.cashId = boxes_->currentIndex() < 0 ? -1 : boxes_->currentData().toInt();
    e.accountId = accounts_->currentIndex() < 0 ? -1 : accounts_->currentData().toInt();
    e.amount = ParseAmount(amount_->text());
    e.description = description_->text().trimmed();
    e.formTypeId = component_.formTypeId();
    e.formId = component_.formId();
    Session& db = component_.session();
    const QString problem = ReceiptProblem(db, e);
    if (!problem.isEmpty()) {
        message_->setText(problem);
        return false;
    }
    try {
        documentId_ = RecordReceipt(db, e);
    } catch (const std::exception& error) {
        message_->setText(QString::fromUtf8(error.what()));
        return false;
    }
    accept();
    return true;
}

}  // namespace si::suite
