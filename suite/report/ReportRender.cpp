#include "suite/report/ReportRender.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace si::suite::report {

namespace {

constexpr int kPdfResolution = 1200;

void PaintItem(QPainter& painter, const DrawItem& item) {
    switch (item.kind) {
        case DrawItem::Kind::Box:
            if (item.fill.isValid()) painter.fillRect(item.rect, item.fill);
            if (item.frame) {
                painter.setPen(QPen(Qt::black, item.pen));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(item.rect);
            }
            break;
        case DrawItem::Kind::Line:
            painter.setPen(QPen(Qt::black, item.pen, item.dashed ? Qt::DashLine : Qt::SolidLine));
            painter.drawLine(item.rect.topLeft(), item.rect.topRight());
            break;
        case DrawItem::Kind::Text:
            painter.setPen(Qt::black);
            painter.drawText(item.rect, item.flags, item.text);
            break;
    }
}

}  // namespace

void ApplyPage(QPagedPaintDevice& device, const LaidOutReport& report) {
    const QSizeF size = report.pageSize;
    const bool landscape = size.width() > size.height();
    // A roll is cut where its content ends, not at the nearest paper size.
    const QPageSize page(landscape ? size.transposed() : size, QPageSize::Millimeter, QString(),
                         report.roll ? QPageSize::ExactMatch : QPageSize::FuzzyMatch);
    if (auto* printer = dynamic_cast<QPrinter*>(&device)) printer->setFullPage(true);
    device.setPageLayout(QPageLayout(page,
                                     landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                     QMarginsF(), QPageLayout::Millimeter));
}

void PaintPage(QPainter& painter, const LaidOutReport& report, int page) {
    painter.setLayoutDirection(Qt::RightToLeft);
    int font = -1;
    for (const DrawItem& item : report.pages[static_cast<size_t>(page)].items) {
        if (item.kind == DrawItem::Kind::Text && item.font != font) {
            font = item.font;
            painter.setFont(report.fonts[static_cast<size_t>(font)]);
        }
        PaintItem(painter, item);
    }
}

void PaintPages(QPainter& painter, QPagedPaintDevice& device, const LaidOutReport& report) {
    for (int i = 0; i < static_cast<int>(report.pages.size()); ++i) {
        if (i > 0) device.newPage();
        PaintPage(painter, report, i);
    }
}

int Render(const ReportTemplate& tmpl, const ReportContent& content, QPagedPaintDevice& device) {
    const LaidOutReport report = LayOut(tmpl, content, device);
    ApplyPage(device, report);
    QPainter painter;
    if (!painter.begin(&device))
        throw ReportError(QStringLiteral("گزارش «%1» روي خروجي رسم نشد.").arg(tmpl.name));
    PaintPages(painter, device, report);
    painter.end();
    return static_cast<int>(report.pages.size());
}

int RenderPdf(const ReportTemplate& tmpl, const ReportContent& content, const QString& file) {
    {
        QFile probe(file);
        if (!probe.open(QIODevice::WriteOnly))
            throw ReportError(
                QStringLiteral("فايل «%1» نوشته نشد: %2").arg(file, probe.errorString()));
    }
    QPdfWriter writer(file);
    writer.setResolution(kPdfResolution);
    writer.setTitle(tmpl.name);
    writer.setCreator(QStringLiteral("saleinvoice"));
    return Render(tmpl, content, writer);
}

}  // namespace si::suite::report
