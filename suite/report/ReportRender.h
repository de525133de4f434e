#pragma once
// A laid-out report on Qt's paged devices: the page size set on the device (a roll page as long
// as its content, no device margins: the template's margins are the report's own), then every
// page painted right to left. The engine under the report component; tests and benchmarks call
// it directly.

#include <QString>

#include "suite/report/ReportLayout.h"

class QPagedPaintDevice;
class QPainter;

namespace si::suite::report {

// Gives the device the report's page; call before a painter opens on it.
void ApplyPage(QPagedPaintDevice& device, const LaidOutReport& report);
void PaintPage(QPainter& painter, const LaidOutReport& report, int page);
// Every page, a new device page between them.
void PaintPages(QPainter& painter, QPagedPaintDevice& device, const LaidOutReport& report);

// Lays out for the device, gives it the page and paints; the number of pages.
int Render(const ReportTemplate& tmpl, const ReportContent& content, QPagedPaintDevice& device);
// Writes a PDF (real text, fonts embedded); the number of pages. Throws ReportError when the
// file cannot be written.
int RenderPdf(const ReportTemplate& tmpl, const ReportContent& content, const QString& file);

}  // namespace si::suite::report
