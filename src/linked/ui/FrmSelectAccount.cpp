#include "linked/ui/FrmSelectAccount.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace si {

FrmSelectAccount::FrmSelectAccount(Context& ctx, const QVector<CustomerAccount>& accounts,
                                   const QString& message, QWidget* parent)
    : QDialog(parent), logic_(ctx, accounts, message) {
    setObjectName(QStringLiteral("frmSelectAccount"));
    setWindowTitle(QStringLiteral("انتخاب حساب"));
    setLayoutDirection(Qt::RightToLeft);
    message_ = new QLabel(logic_.message(), this);
    message_->setObjectName(QStringLiteral("lblMessage"));
    message_->setWordWrap(true);
    flexAccount_ = new QTableWidget(this);
    flexAccount_->setObjectName(QStringLiteral("FlexAccount"));
    auto* ok = new QPushButton(QStringLiteral("تاييد"), this);
    ok->setObjectName(QStringLiteral("cmdVisOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("انصراف"), this);
    cancel->setObjectName(QStringLiteral("cmdVisCancel"));
    connect(ok, &QPushButton::clicked, this, [this] {
        logic_.cmdVisOK_Click(flexAccount_->currentRow());
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        logic_.cmdVisCancel_Click();
        reject();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(message_);
    layout->addWidget(flexAccount_, 1);
    layout->addLayout(buttons);
    fillGrid();
    placeDetailControl(logic_.Form_Load());
    connect(flexAccount_, &QTableWidget::currentCellChanged, this,
            [this](int row) { logic_.FlexAccount_RowSelected(row); });
    // The grid opens on its first account, as OK would take it.
    if (logic_.rowCount() > 0) flexAccount_->setCurrentCell(0, 0);
    resize(760, 560);
}

// The logic owns the control; it leaves the layout before the logic deletes it.
FrmSelectAccount::~FrmSelectAccount() {
    if (auto* w = qobject_cast<QWidget*>(logic_.detailControl())) w->setParent(nullptr);
}

void FrmSelectAccount::fillGrid() {
    const QStringList& headers = SelectAccountLogic::headers();
    flexAccount_->setColumnCount(static_cast<int>(headers.size()));
    flexAccount_->setRowCount(logic_.rowCount());
    flexAccount_->setHorizontalHeaderLabels(headers);
    flexAccount_->verticalHeader()->hide();
    flexAccount_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    flexAccount_->setSelectionBehavior(QAbstractItemView::SelectRows);
    flexAccount_->setSelectionMode(QAbstractItemView::SingleSelection);
    for (int r = 0; r < logic_.rowCount(); ++r)
        for (int c = 0; c < headers.size(); ++c)
            flexAccount_->setItem(r, c, new QTableWidgetItem(logic_.cell(r, c)));
    flexAccount_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    flexAccount_->horizontalHeader()->setSectionResizeMode(3, QHeaderView::Stretch);
}

// A control that is a widget shows inside the chooser, under the accounts.
void FrmSelectAccount::placeDetailControl(QObject* control) {
    auto* widget = qobject_cast<QWidget*>(control);
    if (!widget) return;
    widget->setParent(this);
    static_cast<QVBoxLayout*>(layout())->insertWidget(2, widget, 2);
}

int DialogAccountChooser::chooseAccount(const QVector<CustomerAccount>& accounts,
                                        const QString& message) {
    FrmSelectAccount chooser(ctx_, accounts, message, parent_);
    if (present)
        present(chooser);
    else
        chooser.exec();
    return chooser.choice();
}

}  // namespace si
