#include "common/Lookups.h"

#include "common/Messages.h"

namespace si {

Money ScaleToBaseParent(Session& s, int scaleId) {
    const QVariant v = s.scalar(
        QStringLiteral("select ScaleToBaseParent from tblGoodScale Where ID=?"), {scaleId});
    if (v.isNull()) return Money::fromRials(1);
    return Money::fromVariant(v);
}

bool IsScaleInteger(Session& s, int scaleId) {
    auto row = s.first(QStringLiteral("select IsInteger from tblGoodScale Where ID=?"), {scaleId});
    if (!row || row->isNull(u"IsInteger")) return true;
    return row->toBool(u"IsInteger");
}

bool IsLeafEmployee(Session& s, int employeeId) {
    return s
        .query(QStringLiteral("Select x.ID from tblEmployee x Where x.ParentID=?"), {employeeId})
        .empty();
}

QVector<ReportTemplate> ReportTemplatesOf(Session& s, int formTypeId) {
    QVector<ReportTemplate> list;
    const RowSet rows = s.query(
        QStringLiteral(
            "Select * from tblZelorReportTemplate where FormTypeID = ? Order by Sequence, ID desc"),
        {formTypeId});
    for (const Row& r : rows)
        list.push_back({r.toInt(u"ID"), r.text(u"Title")});
    return list;
}

bool FillReportTemplates(Context& ctx, ReportTemplateList& chooser) {
    const auto templates = ReportTemplatesOf(ctx.db(), chooser.formTypeId());
    for (const ReportTemplate& t : templates)
        chooser.addTemplate(t.title, t.id);
    if (chooser.templateCount() > 0) chooser.selectFirst();
    return !templates.isEmpty();
}

QString ReportTemplatePath(Session& s, int templateId) {
    return s
        .scalar(QStringLiteral("Select FilePath From tblZelorReportTemplate Where ID = ?"),
                {templateId})
        .toString();
}

QString InstallationBasePath(Session& s) {
    return s.scalar(QStringLiteral("Select coalesce(BasePath,'') as BasePath from vwZelorBasePath"))
        .toString();
}

bool OpenBackToTemp(Context& ctx, int& formId, int& formTypeId) {
    auto component = ctx.components->create(kBackToTempProgId);
    if (!component) {
        ShowMessage(ctx, kErrorCaption, kNoRightMessage);
        return false;
    }
    SetProperties(*component, {{"UserID", ctx.globals.CurrentUserID},
                               {"PositionID", ctx.globals.CurrentPositionID},
                               {"EmployeeID", ctx.globals.CurrentEmployeeID},
                               {"OLEConnectionString", ctx.globals.CurrentConnectionString},
                               {"FormID", formId},
                               {"FormTypeID", formTypeId}});
    if (!Invoke(*component, "ClearShow")) return false;
    // The component keeps its refusal or failure in ErrorMessage rather than showing it.
    const QString problem = component->property("ErrorMessage").toString().trimmed();
    if (problem.isEmpty()) return true;
    ShowMessage(ctx, kErrorCaption, problem);
    return false;
}

}  // namespace si
