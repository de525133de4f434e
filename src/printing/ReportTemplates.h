#pragma once
// Which template a print uses: the template chooser (frmReport on a form, a given or the first
// template without one), the first template of a form type, the base path put before a path that
// names no file, and the file of a second copy.

#include <QString>
#include <QVector>

#include "common/Lookups.h"

namespace si {

// Form types of tblZelorReportTemplate.
namespace TemplateFormType {
inline constexpr int SaleInvoice = 901;
inline constexpr int CashContents = 904;
}  // namespace TemplateFormType

// The chooser of a template among those of a form type.
class ReportChooser {
public:
    virtual ~ReportChooser() = default;
    // Lists the templates of the form type (FillReportTemplates); false when there is none.
    virtual bool fill(int formTypeId) = 0;
    // Lets the user choose (the caption is its print button's); the chosen template's file path,
    // empty when none was chosen.
    virtual QString choose(const QString& buttonCaption) = 0;
};

// The chooser of a job without a form: the given template when the list has it, else the first
// of the list, as the chooser shows it selected.
class HeadlessReportChooser : public ReportChooser, private ReportTemplateList {
public:
    explicit HeadlessReportChooser(Context& ctx) : ctx_(ctx) {}
    // The template to take; 0 takes the first.
    void setTemplateId(int id) { templateId_ = id; }
    bool fill(int formTypeId) override;
    QString choose(const QString& buttonCaption) override;

private:
    int formTypeId() const override { return formTypeId_; }
    void addTemplate(const QString& title, int id) override;
    int templateCount() const override { return static_cast<int>(listed_.size()); }
    void selectFirst() override { selected_ = 0; }

    Context& ctx_;
    int formTypeId_ = 0;
    int templateId_ = 0;
    QVector<int> listed_;
    int selected_ = -1;
};

// The FilePath of the form type's first template by ID; empty when it has none.
QString FirstTemplatePath(Session& s, int formTypeId);

// The path itself when a file is there, else the base path put in front of it.
QString WithBasePath(const QString& path, const QString& basePath);
bool IsFile(const QString& path);

// The second copy's template: the same name with "2" before its extension
// (SaleInvoiceShop.xml gives SaleInvoiceShop2.xml, Invoice.rpt gives Invoice2.rpt).
QString SecondCopyPath(const QString& path);

// The record selection of a template that prints an invoice's lines in rows of their own
// ("SplitRow" in its path); empty for any other template.
QString SplitRowSelection(const QString& path, int invoiceId);
// The selection of one invoice.
QString InvoiceSelection(int invoiceId);

}  // namespace si
