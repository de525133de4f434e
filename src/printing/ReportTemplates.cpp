#include "printing/ReportTemplates.h"

#include <QFileInfo>
#include <algorithm>

#include "common/Messages.h"
#include "printing/PrintTexts.h"

namespace si {

// The list is read afresh at every fill, so a template added meanwhile is offered.
bool HeadlessReportChooser::fill(int formTypeId) {
    formTypeId_ = formTypeId;
    listed_.clear();
    selected_ = -1;
    return FillReportTemplates(ctx_, *this);
}

void HeadlessReportChooser::addTemplate(const QString&, int id) {
    listed_ << id;
}

QString HeadlessReportChooser::choose(const QString&) {
    const int chosen = templateId_ > 0 ? static_cast<int>(listed_.indexOf(templateId_)) : selected_;
    if (chosen < 0) {
        ShowMessage(ctx_, kErrorCaption, print::kNoTemplateChosen);
        return {};
    }
    return ReportTemplatePath(ctx_.db(), listed_[chosen]);
}

QString FirstTemplatePath(Session& s, int formTypeId) {
    return s
        .scalar(QStringLiteral("Select FilePath From tblZelorReportTemplate Where FormTypeID = ? "
                               "order by ID limit 1"),
                {formTypeId})
        .toString();
}

bool IsFile(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

// A base path without a separator at its end still leads into its folder.
QString WithBasePath(const QString& path, const QString& basePath) {
    if (IsFile(path) || basePath.isEmpty()) return path;
    const bool separated = basePath.endsWith(QLatin1Char('/')) ||
                           basePath.endsWith(QLatin1Char('\\')) ||
                           path.startsWith(QLatin1Char('/')) || path.startsWith(QLatin1Char('\\'));
    return separated ? basePath + path : basePath + QLatin1Char('/') + path;
}

QString SecondCopyPath(const QString& path) {
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const qsizetype folder =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    if (dot <= folder) return path + QLatin1Char('2');
    return path.left(dot) + QLatin1Char('2') + path.mid(dot);
}

QString InvoiceSelection(int invoiceId) {
    return QStringLiteral("{tblSaleInvoice.ID}=") + QString::number(invoiceId);
}

QString SplitRowSelection(const QString& path, int invoiceId) {
    return path.contains(QLatin1String("SplitRow")) ? InvoiceSelection(invoiceId) : QString();
}

}  // namespace si
