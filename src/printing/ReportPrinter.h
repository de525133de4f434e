#pragma once
// What every print of the module shares: the template chooser, where the outputs go, and the
// relay of the report component's PrintByDotNet. On a form the chooser is frmReport and the
// outputs go to the screen or the printer; a job without a form chooses the given or the first
// template and writes PDF files.
//
// Ownership: the chooser set from outside outlives the printer (the form owns both).

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

#include "printing/ReportHandOver.h"
#include "printing/ReportTemplates.h"

namespace si {

class ReportPrinter : public QObject {
    Q_OBJECT
public:
    explicit ReportPrinter(Context& ctx, QObject* parent = nullptr);
    ~ReportPrinter() override;

    Context& ctx() { return ctx_; }
    // frmReport on a form; nullptr goes back to the headless chooser.
    void setChooser(ReportChooser* chooser) { chooser_ = chooser; }
    ReportChooser& chooser() { return chooser_ ? *chooser_ : headless_; }
    HeadlessReportChooser& headlessChooser() { return headless_; }

    // Every output to a PDF file instead of the screen or the printer: the first to the file,
    // each further one to the same name with "-2", "-3", ... before its extension.
    void setOutput(const ReportOutput& output) { output_ = output; }
    // The files written so far, in order.
    const QStringList& writtenFiles() const { return written_; }

    // The report component with its PrintByDotNet relayed here; nullptr after the message when
    // it is not installed.
    std::unique_ptr<QObject> component();
    // PrintReport of the job, sent where the outputs go; true when it was output.
    bool output(QObject& component, ReportJob job);

Q_SIGNALS:
    void PrintByDotNet(QString& outTemplateFileName, QString& outOLEConnectionString,
                       QString& outFormulas, QString& outSQLQuery, bool& DoPreview);

private:
    QString nextFile();

    Context& ctx_;
    HeadlessReportChooser headless_;
    ReportChooser* chooser_ = nullptr;
    ReportOutput output_;
    int outputs_ = 0;
    QStringList written_;
};

}  // namespace si
