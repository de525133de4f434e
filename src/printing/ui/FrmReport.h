#pragma once
// frmReport: the template chooser. Given a form type it lists the form type's templates
// (cmbReport); cmdPrint, whose caption the caller gives, and cmdOK take the selected template's
// file path and close it. The form keeps its last form type and its chosen template between
// uses; its list is read afresh at every fill.

#include <QDialog>

#include "common/Context.h"
#include "printing/ReportTemplates.h"

class QComboBox;
class QPushButton;

namespace si {

class FrmReport : public QDialog, public ReportChooser, private ReportTemplateList {
    Q_OBJECT
public:
    explicit FrmReport(Context& ctx, QWidget* parent = nullptr);

    bool fill(int formTypeId) override;
    QString choose(const QString& buttonCaption) override;

    // cmdPrint and cmdOK.
    void cmdPrint_Click();
    int chosenTemplateId() const { return chosenId_; }

private:
    int formTypeId() const override { return formTypeId_; }
    void addTemplate(const QString& title, int id) override;
    int templateCount() const override;
    void selectFirst() override;

    Context& ctx_;
    QComboBox* cmbReport_;
    QPushButton* cmdPrint_;
    int formTypeId_ = 0;
    int chosenId_ = -1;
    QString chosenPath_;
};

}  // namespace si
