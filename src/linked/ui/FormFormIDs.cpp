#include "linked/ui/FormFormIDs.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "invoice/ui/DialogButtons.h"

namespace si {

namespace {

QTableWidgetItem* cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

}  // namespace

FormFormIDs::FormFormIDs(const QVector<FormIdChoice>& choices, QWidget* parent)
    : QDialog(parent), choices_(choices) {
    setObjectName(QStringLiteral("FormFormIDs"));
    setWindowTitle(QStringLiteral("انتخاب سند"));
    setLayoutDirection(Qt::RightToLeft);
    list_ = new QTableWidget(static_cast<int>(choices.size()), 4, this);
    list_->setObjectName(QStringLiteral("lstFormIDs"));
    list_->setHorizontalHeaderLabels({QStringLiteral("شماره رايانه اي"), QStringLiteral("شماره"),
                                      QStringLiteral("تاريخ"), QStringLiteral("ملاحظات")});
    list_->verticalHeader()->hide();
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int r = 0; r < choices.size(); ++r) {
        const FormIdChoice& c = choices[r];
        list_->setItem(r, 0, cell(QString::number(c.id)));
        list_->setItem(r, 1, cell(c.code));
        list_->setItem(r, 2, cell(c.farsiDate));
        list_->setItem(r, 3, cell(c.notes.simplified()));
    }
    list_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list_->horizontalHeader()->setStretchLastSection(true);
    if (!choices.isEmpty()) list_->setCurrentCell(0, 0);
    connect(list_, &QTableWidget::cellDoubleClicked, this, &FormFormIDs::cmdOK_Click);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    const DialogButtons b = OkCancelButtons(this, true);
    disconnect(b.box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(b.ok, &QPushButton::clicked, this, &FormFormIDs::cmdOK_Click);
    layout->addWidget(b.box);
    resize(560, 320);
}

void FormFormIDs::cmdOK_Click() {
    const int row = list_->currentRow();
    if (row < 0 || row >= choices_.size()) return;
    choice_ = choices_[row].id;
    accept();
}

int DialogFormIdChooser::chooseFormID(const QVector<FormIdChoice>& choices) {
    FormFormIDs dialog(choices, parent_);
    if (present)
        present(dialog);
    else
        dialog.exec();
    return dialog.choice();
}

}  // namespace si
