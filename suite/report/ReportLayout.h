#pragma once
// Lays a report out into pages of positioned texts, boxes and lines, measured with the fonts of
// the device it will be painted on (a PDF writer, a printer or a preview). The body flows from
// page to page; a block never splits, a table splits between its lines and repeats its header
// row on every page; the page header and footer are laid out on every page once the number of
// pages is known. A roll has one page, as long as its content.
//
// Coordinates are the device's pixels from the page's top-left corner.

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <vector>

#include "suite/report/ReportTemplate.h"
#include "suite/report/ReportValues.h"

class QPaintDevice;

namespace si::suite::report {

struct DrawItem {
    enum class Kind { Text, Box, Line };
    Kind kind = Kind::Text;
    QRectF rect;  // a line runs from the rect's top-left to its top-right
    QString text;
    int font = 0;   // index into LaidOutReport::fonts
    int flags = 0;  // Qt::AlignmentFlag | Qt::TextFlag, absolute alignment
    QColor fill;    // a box's background; invalid for none
    bool frame = false;
    double pen = 0;  // a frame's or a line's width
    bool dashed = false;
};

struct LaidOutPage {
    std::vector<DrawItem> items;
};

struct LaidOutReport {
    QSizeF pageSize;  // mm, portrait or landscape as laid out
    bool roll = false;
    double dpi = 0;
    std::vector<QFont> fonts;
    std::vector<LaidOutPage> pages;
};

LaidOutReport LayOut(const ReportTemplate& tmpl, const ReportContent& content,
                     const QPaintDevice& device);

}  // namespace si::suite::report
