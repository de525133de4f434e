#include "ReportFake.h"

#include <QStringList>

#include "printing/ReportHandOver.h"

namespace si::test {

QString ReportLog::value(const RecordedOutput& output, const QString& name) {
    const QString prefix = name + QLatin1Char('=');
    for (const QString& item : output.formulas)
        if (item.startsWith(prefix)) return item.mid(prefix.size());
    return {};
}

void ReportFake::SetFormula(int number, const QString& item) {
    if (item.isEmpty())
        formulas_.remove(number);
    else
        formulas_.insert(number, item);
}

bool ReportFake::PrintReport(int preview) {
    error_.clear();
    if (!log_->failWith.isEmpty()) {
        error_ = log_->failWith;
        return false;
    }
    log_->outputs.push_back(
        {file_, connect_, selection_, destination_, printFile_, preview, formulas_});
    if (file_.endsWith(QLatin1String(".rpt"))) {
        QString file = file_, connection = connect_,
                list = QStringList(formulas_.values()).join(u'&'), sql = selection_;
        bool doPreview = preview == 1;
        Q_EMIT PrintByDotNet(file, connection, list, sql, doPreview);
    }
    return true;
}

std::shared_ptr<ReportLog> InstallReportFake(ComponentRegistry& components) {
    auto log = std::make_shared<ReportLog>();
    components.add(kReportProgId, [log] {
        ++log->created;
        return std::make_unique<ReportFake>(log);
    });
    return log;
}

}  // namespace si::test
