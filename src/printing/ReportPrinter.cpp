#include "printing/ReportPrinter.h"

namespace si {

ReportPrinter::ReportPrinter(Context& ctx, QObject* parent)
    : QObject(parent), ctx_(ctx), headless_(ctx) {}

ReportPrinter::~ReportPrinter() = default;

std::unique_ptr<QObject> ReportPrinter::component() {
    return CreateReportComponent(ctx_, this);
}

QString ReportPrinter::nextFile() {
    ++outputs_;
    if (outputs_ == 1) return output_.file;
    const QString& file = output_.file;
    const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
    const qsizetype folder = file.lastIndexOf(QLatin1Char('/'));
    const QString suffix = QStringLiteral("-%1").arg(outputs_);
    return dot > folder ? file.left(dot) + suffix + file.mid(dot) : file + suffix;
}

// A job without a form has no screen to preview on: it writes what the form would print.
bool ReportPrinter::output(QObject& component, ReportJob job) {
    const bool toFile = output_.destination == ReportDestination::PdfFile;
    if (output_.destination) {
        job.destination = output_.destination;
        job.preview = false;
    }
    if (toFile) job.file = nextFile();
    const bool done = PrintReport(ctx_, component, job);
    if (done && toFile) written_ << job.file;
    return done;
}

}  // namespace si
