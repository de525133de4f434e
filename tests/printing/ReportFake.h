#pragma once
// A report component with the interface of comCrystalReport.comCrystalRpt that records every
// output it is started for (the properties and the numbered formulas at that moment) instead of
// rendering. A template ending in ".rpt" is handed on through PrintByDotNet, as the component
// does for the host's engine.

#include <QMap>
#include <QObject>
#include <QString>
#include <memory>
#include <vector>

#include "common/ComponentRegistry.h"

namespace si::test {

struct RecordedOutput {
    QString file;
    QString connect;
    QString selection;
    int destination = -1;
    QString printFile;
    int preview = -1;
    QMap<int, QString> formulas;
};

struct ReportLog {
    std::vector<RecordedOutput> outputs;
    int created = 0;
    // When set, PrintReport outputs nothing and reports this.
    QString failWith;

    const RecordedOutput& last() const { return outputs.back(); }
    // The value of the formula named so in an output; a null string when it has none.
    static QString value(const RecordedOutput& output, const QString& name);
};

class ReportFake : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString ReportFileName MEMBER file_)
    Q_PROPERTY(QString Connect MEMBER connect_)
    Q_PROPERTY(QString SelectionFormula MEMBER selection_)
    Q_PROPERTY(int Destination MEMBER destination_)
    Q_PROPERTY(QString PrintFileName MEMBER printFile_)
    Q_PROPERTY(int CopiesToPrinter MEMBER copies_)
    Q_PROPERTY(QString ErrorMessage READ errorMessage)
public:
    explicit ReportFake(std::shared_ptr<ReportLog> log) : log_(std::move(log)) {}

    Q_INVOKABLE void SetFormula(int number, const QString& item);
    Q_INVOKABLE void ClearFormulas() { formulas_.clear(); }
    Q_INVOKABLE bool PrintReport(int preview);
    QString errorMessage() const { return error_; }

Q_SIGNALS:
    void PrintByDotNet(QString& outTemplateFileName, QString& outOLEConnectionString,
                       QString& outFormulas, QString& outSQLQuery, bool& DoPreview);

private:
    std::shared_ptr<ReportLog> log_;
    QString file_, connect_, selection_, printFile_, error_;
    int destination_ = 1;
    int copies_ = 1;
    QMap<int, QString> formulas_;
};

// Registers the fake under the component's ProgID; every instance records into the log.
std::shared_ptr<ReportLog> InstallReportFake(ComponentRegistry& components);

}  // namespace si::test
