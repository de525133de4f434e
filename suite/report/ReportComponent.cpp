#include "suite/report/ReportComponent.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>

#include "common/Session.h"
#include "suite/report/ReportData.h"
#include "suite/report/ReportRender.h"

namespace si::suite {

using report::ReportContent;
using report::ReportTemplate;

ReportComponent::ReportComponent() = default;
ReportComponent::~ReportComponent() = default;

void ReportComponent::SetFormula(int number, const QString& item) {
    if (number < 1) return;
    if (item.trimmed().isEmpty())
        formulas_.remove(number);
    else
        formulas_.insert(number, item);
}

void ReportComponent::ClearFormulas() {
    formulas_.clear();
}

bool ReportComponent::PrintReport(int preview) {
    error_.clear();
    const bool onScreen = preview == 1 || destination_ == 0;
    if (reportFileName_.trimmed().isEmpty() || !QFileInfo(reportFileName_).isFile()) {
        error_ = QStringLiteral("فايل قالب گزارش «%1» پيدا نشد.").arg(reportFileName_);
        return false;
    }
    if (!report::IsOwnTemplate(reportFileName_)) {
        handToHost(onScreen);
        return true;
    }
    try {
        return output(onScreen);
    } catch (const report::ReportError& e) {
        error_ = e.message();
    } catch (const SqlError& e) {
        error_ = e.connectionLost()
                     ? kConnectionLostMessage
                     : QStringLiteral("اطلاعات گزارش از پايگاه داده خوانده نشد: ") + e.driverText();
    } catch (const std::exception& e) {
        error_ = QStringLiteral("گزارش چاپ نشد: ") + QString::fromUtf8(e.what());
    }
    return false;
}

bool ReportComponent::output(bool onScreen) {
    if (!onScreen && destination_ == 2 && printFileName_.trimmed().isEmpty()) {
        error_ = QStringLiteral("نام فايل PDF گزارش داده نشده است.");
        return false;
    }
    const ReportTemplate tmpl = report::LoadTemplate(reportFileName_);
    // Without a connection the engine says what is missing, after the invoice it needs.
    Session* db = tmpl.readsData && !connect_.trimmed().isEmpty() ? &session() : nullptr;
    const ReportContent content =
        report::LoadContent(db, tmpl, report::ParseFormulas(formulas_), selectionFormula_);
    if (onScreen) return preview(tmpl, content);
    if (destination_ == 2) {
        report::RenderPdf(tmpl, content, printFileName_);
        return true;
    }
    return print(tmpl, content);
}

// The old reports are the host's engine's: the same five values, the formulas as one list.
void ReportComponent::handToHost(bool onScreen) {
    QString file = reportFileName_;
    QString connection = connect_;
    QString formulas = QStringList(formulas_.values()).join(QLatin1Char('&'));
    QString sql = selectionFormula_;
    bool doPreview = onScreen;
    Q_EMIT PrintByDotNet(file, connection, formulas, sql, doPreview);
}

bool ReportComponent::preview(const ReportTemplate& tmpl, const ReportContent& content) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(tmpl.name);
    report::LaidOutReport laidOut = report::LayOut(tmpl, content, printer);
    report::ApplyPage(printer, laidOut);
    QPrintPreviewDialog dialog(&printer);
    dialog.setWindowTitle(QStringLiteral("پيش نمايش چاپ"));
    dialog.setLayoutDirection(Qt::RightToLeft);
    // Most of the screen: a whole page read at a glance on a small laptop screen too.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        dialog.resize(screen->availableGeometry().size() * 0.92);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* target) {
        // A printer chosen in the preview may have another resolution: measure again for it.
        if (target->logicalDpiY() != laidOut.dpi) laidOut = report::LayOut(tmpl, content, *target);
        QPainter painter(target);
        report::PaintPages(painter, *target, laidOut);
    });
    if (showPreview)
        showPreview(dialog);
    else
        dialog.exec();
    return true;
}

bool ReportComponent::print(const ReportTemplate& tmpl, const ReportContent& content) {
    const QPrinterInfo info = defaultPrinter ? defaultPrinter() : QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        error_ = QStringLiteral("چاپگر پيش فرضي روي اين سيستم تعريف نشده است؛ گزارش چاپ نشد.");
        return false;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(tmpl.name);
    printer.setCopyCount(std::max(1, copies_));
    report::Render(tmpl, content, printer);
    return true;
}

Session& ReportComponent::session() {
    if (!session_ || sessionConnect_ != connect_) {
        session_.reset();
        session_ = Session::openExisting(connect_);
        sessionConnect_ = connect_;
    }
    return *session_;
}

}  // namespace si::suite
