#pragma once
// Small look-ups every form shares: unit factors, whole-number units, leaf employees, report
// templates of a form type, and the hand-over to the back-to-temp component.

#include <QString>
#include <QVector>

#include "common/Context.h"

namespace si {

// Units of the base unit in one of this unit; 1 when the unit is unknown or has no factor.
Money ScaleToBaseParent(Session& s, int scaleId);
// Whether quantities in the unit must be whole; true when unknown or unset.
bool IsScaleInteger(Session& s, int scaleId);
// The employee has no subordinate.
bool IsLeafEmployee(Session& s, int employeeId);

struct ReportTemplate {
    int id = 0;
    QString title;
};
// The form's side of the report chooser: its form type and its template list.
class ReportTemplateList {
public:
    virtual ~ReportTemplateList() = default;
    virtual int formTypeId() const = 0;
    virtual void addTemplate(const QString& title, int id) = 0;
    virtual int templateCount() const = 0;
    virtual void selectFirst() = 0;
};
QVector<ReportTemplate> ReportTemplatesOf(Session& s, int formTypeId);
// Lists the templates of the chooser's form type; true when there was at least one.
bool FillReportTemplates(Context& ctx, ReportTemplateList& chooser);
// The FilePath of a template; empty when there is no such template.
QString ReportTemplatePath(Session& s, int templateId);

// The installation's base path (vwZelorBasePath): put before a template path that names no file.
QString InstallationBasePath(Session& s);

inline const QString kBackToTempProgId = QStringLiteral("comBackToTempState.comBackToTemp");
// Hands an invoice to the back-to-temp component; refuses when it is not installed. False when
// the component is missing or reported a refusal or failure (shown here).
bool OpenBackToTemp(Context& ctx, int& formId, int& formTypeId);

}  // namespace si
