#include "apps/host/HostDialogs.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <limits>

namespace si::host {

namespace {

QDialogButtonBox* closeButton(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("بستن"));
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QTableView* tableOver(QAbstractItemModel* model, QWidget* parent) {
    auto* view = new QTableView(parent);
    view->setModel(model);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setStretchLastSection(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->resizeColumnsToContents();
    return view;
}

QString formText(FormRef form) {
    return QStringLiteral("نوع فرم %1، شماره %2").arg(form.typeId).arg(form.formId);
}

}  // namespace

PrintRequestDialog::PrintRequestDialog(const PrintRequest& request, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("PrintRequestDialog"));
    setWindowTitle(QStringLiteral("درخواست چاپ"));
    setLayoutDirection(Qt::RightToLeft);
    const auto rows = DescribePrintRequest(request);
    auto* table = new QTableWidget(static_cast<int>(rows.size()), 2, this);
    table->setHorizontalHeaderLabels({QStringLiteral("عنوان"), QStringLiteral("مقدار")});
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const PrintRequestRow& row = rows[static_cast<size_t>(i)];
        table->setItem(i, 0, new QTableWidgetItem(row.caption));
        table->setItem(
            i, 1, new QTableWidgetItem(row.technical ? LeftToRightText(row.value) : row.value));
    }
    table->resizeColumnToContents(0);
    auto* note = new QLabel(NoEngineNote(request.templateFileName), this);
    note->setWordWrap(true);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(note);
    outer->addWidget(table, 1);
    outer->addWidget(closeButton(this));
    resize(720, 420);
}

NewRelationshipDialog::NewRelationshipDialog(FormRef form, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("NewRelationshipDialog"));
    setWindowTitle(QStringLiteral("ارتباط جديد"));
    setLayoutDirection(Qt::RightToLeft);
    txtRelatedFormTypeID_ = new QSpinBox(this);
    txtRelatedFormTypeID_->setObjectName(QStringLiteral("txtRelatedFormTypeID"));
    txtRelatedFormTypeID_->setRange(1, std::numeric_limits<int>::max());
    txtRelatedFormTypeID_->setValue(802);
    txtRelatedFormID_ = new QSpinBox(this);
    txtRelatedFormID_->setObjectName(QStringLiteral("txtRelatedFormID"));
    txtRelatedFormID_->setRange(1, std::numeric_limits<int>::max());
    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("فرم مرجع:"), new QLabel(formText(form), this));
    layout->addRow(QStringLiteral("نوع فرم مرتبط:"), txtRelatedFormTypeID_);
    layout->addRow(QStringLiteral("شماره فرم مرتبط:"), txtRelatedFormID_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("ثبت"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("انصراف"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addRow(buttons);
}

FormRef NewRelationshipDialog::related() const {
    return {txtRelatedFormTypeID_->value(), txtRelatedFormID_->value()};
}

std::optional<FormRef> NewRelationshipDialog::ask(FormRef form, QWidget* parent) {
    NewRelationshipDialog dialog(form, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.related();
}

RelationshipsDialog::RelationshipsDialog(FormRef form, std::vector<RelatedFormRow> rows,
                                         QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("RelationshipsDialog"));
    setWindowTitle(QStringLiteral("فرمهاي مرتبط"));
    setLayoutDirection(Qt::RightToLeft);
    const bool none = rows.empty();
    auto* model = new RelationshipsModel(std::move(rows), this);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(new QLabel(formText(form), this));
    if (none) outer->addWidget(new QLabel(QStringLiteral("فرم مرتبطی ثبت نشده است."), this));
    outer->addWidget(tableOver(model, this), 1);
    outer->addWidget(closeButton(this));
    resize(720, 360);
}

OutboxWindow::OutboxWindow(Outbox& outbox, QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("OutboxWindow"));
    setWindowTitle(kOutboxTitle);
    setLayoutDirection(Qt::RightToLeft);
    QTableView* view = tableOver(&outbox, this);
    view->setObjectName(QStringLiteral("flexOutbox"));
    connect(&outbox, &QAbstractItemModel::modelReset, view,
            [view] { view->resizeColumnsToContents(); });
    lblSmsGateway_ = new QLabel(this);
    lblSmsGateway_->setObjectName(QStringLiteral("lblSmsGateway"));
    lblSmsGateway_->setWordWrap(true);
    auto* gateway = new QPushButton(QStringLiteral("درگاه پيامك..."), this);
    gateway->setObjectName(QStringLiteral("cmdSmsGateway"));
    connect(gateway, &QPushButton::clicked, this, &OutboxWindow::gatewayEditRequested);
    auto* status = new QHBoxLayout;
    status->addWidget(lblSmsGateway_, 1);
    status->addWidget(gateway);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(status);
    outer->addWidget(view);
    resize(900, 400);
}

void OutboxWindow::showStatus(const QString& text) {
    lblSmsGateway_->setText(text);
}

}  // namespace si::host
