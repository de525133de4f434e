#include "printing/ui/FrmReport.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Messages.h"
#include "printing/PrintTexts.h"

namespace si {

FrmReport::FrmReport(Context& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmReport"));
    setWindowTitle(QStringLiteral("انتخاب قالب گزارش"));
    setLayoutDirection(Qt::RightToLeft);
    cmbReport_ = new QComboBox(this);
    cmbReport_->setObjectName(QStringLiteral("cmbReport"));
    cmdPrint_ = new QPushButton(print::kViewCaption, this);
    cmdPrint_->setObjectName(QStringLiteral("cmdPrint"));
    auto* ok = new QPushButton(QStringLiteral("تاييد"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(cmdPrint_, &QPushButton::clicked, this, &FrmReport::cmdPrint_Click);
    connect(ok, &QPushButton::clicked, this, &FrmReport::cmdPrint_Click);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdPrint_);
    buttons->addWidget(ok);
    auto* box = new QVBoxLayout(this);
    box->addWidget(cmbReport_);
    box->addLayout(buttons);
    resize(420, 110);
}

bool FrmReport::fill(int formTypeId) {
    formTypeId_ = formTypeId;
    cmbReport_->clear();
    return FillReportTemplates(ctx_, *this);
}

void FrmReport::addTemplate(const QString& title, int id) {
    cmbReport_->addItem(title, id);
}

int FrmReport::templateCount() const {
    return cmbReport_->count();
}

void FrmReport::selectFirst() {
    cmbReport_->setCurrentIndex(0);
}

QString FrmReport::choose(const QString& buttonCaption) {
    cmdPrint_->setText(buttonCaption);
    chosenPath_.clear();
    exec();
    return chosenPath_;
}

void FrmReport::cmdPrint_Click() {
    if (cmbReport_->currentIndex() < 0) {
        ShowMessage(ctx_, kErrorCaption, print::kNoTemplateChosen);
        return;
    }
    chosenId_ = cmbReport_->currentData().toInt();
    chosenPath_ = ReportTemplatePath(ctx_.db(), chosenId_);
    accept();
}

}  // namespace si
