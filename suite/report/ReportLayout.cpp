#include "suite/report/ReportLayout.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPageSize>
#include <QPaintDevice>
#include <algorithm>
#include <iterator>
#include <limits>

namespace si::suite::report {

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kFrameMm = 0.2;

// Laid-out content starting at 0, placed later at its final height on a page.
struct Piece {
    double height = 0;
    std::vector<DrawItem> items;
};

// One cell of a line of cells: its right edge (the report runs right to left) and its width.
struct Span {
    double right = 0;
    double width = 0;
    QString text;
    Style style;
    QString fill;
    bool frame = false;
};

QSizeF PageSizeOf(const PageSetup& page) {
    if (page.isRoll()) return {page.rollWidth, 0};
    const QSizeF size = QPageSize(page.size == PageSetup::Size::A5 ? QPageSize::A5 : QPageSize::A4)
                            .size(QPageSize::Millimeter);
    return page.landscape ? size.transposed() : size;
}

int FlagsOf(const Style& s) {
    int flags = Qt::TextWordWrap | Qt::AlignAbsolute;
    switch (s.align) {
        case Align::Start:
            flags |= Qt::AlignRight;
            break;
        case Align::End:
            flags |= Qt::AlignLeft;
            break;
        case Align::Center:
            flags |= Qt::AlignHCenter;
            break;
        case Align::Justify:
            flags |= Qt::AlignJustify;
            break;
    }
    switch (s.valign) {
        case VAlign::Top:
            flags |= Qt::AlignTop;
            break;
        case VAlign::Center:
            flags |= Qt::AlignVCenter;
            break;
        case VAlign::Bottom:
            flags |= Qt::AlignBottom;
            break;
    }
    return flags;
}

QColor ColorOf(const QString& name) {
    return name.isEmpty() ? QColor() : QColor::fromString(name);
}

void Shift(std::vector<DrawItem>& items, double dy, std::vector<DrawItem>& into) {
    for (DrawItem& item : items) {
        item.rect.translate(0, dy);
        into.push_back(std::move(item));
    }
}

class Layouter {
public:
    Layouter(const ReportTemplate& tmpl, const ReportContent& content, const QPaintDevice& device)
        : t_(tmpl), values_(content), content_(content), device_(device) {
        out_.dpi = device.logicalDpiY();
        out_.pageSize = PageSizeOf(tmpl.page);
        out_.roll = tmpl.page.isRoll();
    }

    LaidOutReport run() {
        const QMarginsF& m = t_.page.margins;
        left_ = px(m.left());
        width_ = px(out_.pageSize.width() - m.left() - m.right());
        const Place measuring{nullptr, 0, 1, 1};
        const double headerHeight = flow(t_.pageHeader, measuring).height;
        const double footerHeight = flow(t_.pageFooter, measuring).height;
        bodyTop_ = px(m.top()) + headerHeight;
        bodyBottom_ = t_.page.isRoll() ? std::numeric_limits<double>::max()
                                       : px(out_.pageSize.height() - m.bottom()) - footerHeight;
        newPage();
        for (const Block& block : t_.body) {
            if (const auto* table = std::get_if<TableBlock>(&block))
                flowTable(*table);
            else
                place(piece(block, {}));
        }
        if (t_.page.isRoll()) out_.pageSize.setHeight(mm(y_) + m.bottom());
        stampHeaderAndFooter(footerHeight);
        return std::move(out_);
    }

private:
    double px(double mm) const { return mm * out_.dpi / kMmPerInch; }
    double mm(double px) const { return px * kMmPerInch / out_.dpi; }

    int font(const Style& s) {
        const QString key = s.family + QLatin1Char('|') + QString::number(s.size) +
                            (s.bold ? QLatin1String("|b") : QLatin1String("|"));
        if (const auto found = fontIndex_.constFind(key); found != fontIndex_.cend()) return *found;
        QFont f(s.family);
        f.setPointSizeF(s.size);
        f.setBold(s.bold);
        out_.fonts.emplace_back(f, &device_);
        metrics_.emplace_back(out_.fonts.back(), &device_);
        const int index = static_cast<int>(out_.fonts.size()) - 1;
        fontIndex_.insert(key, index);
        return index;
    }

    static QString shown(const QString& text, const Style& s) {
        return NumbersLeftToRight(s.persianDigits ? PersianDigits(text) : text);
    }

    // The height of a text wrapped to the width; one line at least.
    double textHeight(const QString& text, int f, double width) const {
        const QFontMetricsF& fm = metrics_[static_cast<size_t>(f)];
        if (text.isEmpty()) return fm.height();
        return std::max(fm.height(),
                        fm.boundingRect(QRectF(0, 0, width, 1e9), Qt::TextWordWrap, text).height());
    }

    static DrawItem box(const QRectF& r, const QColor& fill, bool frame, double pen) {
        DrawItem item;
        item.kind = DrawItem::Kind::Box;
        item.rect = r;
        item.fill = fill;
        item.frame = frame;
        item.pen = pen;
        return item;
    }

    // A framed or filled area with its text inside the padding.
    void cell(Piece& p, const QRectF& r, const QString& text, const Style& s, int f,
              const QString& fill, bool frame, double padding) {
        const QColor color = ColorOf(fill);
        if (color.isValid() || frame) p.items.push_back(box(r, color, frame, px(kFrameMm)));
        if (text.isEmpty()) return;
        DrawItem item;
        item.rect = r.adjusted(padding, padding, -padding, -padding);
        item.text = text;
        item.font = f;
        item.flags = FlagsOf(s);
        p.items.push_back(std::move(item));
    }

    Piece piece(const Block& block, const Place& where) {
        if (const auto* b = std::get_if<TextBlock>(&block)) return textPiece(*b, where);
        if (const auto* b = std::get_if<RowBlock>(&block)) return rowPiece(*b, where);
        if (const auto* b = std::get_if<SpacerBlock>(&block)) return Piece{px(b->height), {}};
        if (const auto* b = std::get_if<LineBlock>(&block)) return linePiece(*b);
        return {};
    }

    // Blocks one under another (a page header or footer); tables do not occur there.
    Piece flow(const std::vector<Block>& blocks, const Place& where) {
        Piece all;
        for (const Block& block : blocks) {
            Piece p = piece(block, where);
            Shift(p.items, all.height, all.items);
            all.height += p.height;
        }
        return all;
    }

    Piece textPiece(const TextBlock& b, const Place& where) {
        if (!b.condition.isEmpty() && !values_.holds(b.condition, where)) return {};
        const QString text = shown(values_.expand(b.text, where), b.style);
        const int f = font(b.style);
        const double pad = px(b.padding);
        Piece p;
        p.height = std::max(px(b.minHeight), textHeight(text, f, width_ - 2 * pad) + 2 * pad);
        cell(p, QRectF(left_, 0, width_, p.height), text, b.style, f, b.fill, b.border, pad);
        return p;
    }

    // Widths in pixels of cells that share the line: millimetres and per cents as given, the
    // rest shared alike; widths that are all given are stretched or shrunk to the line.
    std::vector<double> widths(const std::vector<Width>& given) const {
        std::vector<double> out;
        double fixed = 0;
        int shared = 0;
        for (const Width& w : given) {
            const double v = w.value <= 0 ? 0 : w.percent ? width_ * w.value / 100 : px(w.value);
            out.push_back(v);
            fixed += v;
            shared += v <= 0 ? 1 : 0;
        }
        if (shared > 0) {
            const double each = std::max(0.0, width_ - fixed) / shared;
            for (double& v : out)
                if (v <= 0) v = each;
        } else if (fixed > 0) {
            for (double& v : out)
                v *= width_ / fixed;
        }
        return out;
    }

    // Cells of these widths from the right edge of the line.
    std::vector<Span> spans(const std::vector<double>& w) const {
        std::vector<Span> out;
        double right = left_ + width_;
        for (double each : w) {
            Span s;
            s.right = right;
            s.width = each;
            out.push_back(s);
            right -= each;
        }
        return out;
    }

    // Cells side by side, as high as the highest (and at least minHeight).
    Piece line(const std::vector<Span>& cells, double padding, double minHeight = 0) {
        Piece p{minHeight, {}};
        std::vector<int> fonts;
        for (const Span& c : cells) {
            fonts.push_back(font(c.style));
            p.height = std::max(
                p.height, textHeight(c.text, fonts.back(), c.width - 2 * padding) + 2 * padding);
        }
        for (size_t i = 0; i < cells.size(); ++i) {
            const Span& c = cells[i];
            cell(p, QRectF(c.right - c.width, 0, c.width, p.height), c.text, c.style, fonts[i],
                 c.fill, c.frame, padding);
        }
        return p;
    }

    // A line of a table: every cell framed alike and filled alike.
    Piece tableLine(std::vector<Span> cells, const TableBlock& table, const QString& fill) {
        for (Span& c : cells) {
            c.fill = fill;
            c.frame = table.border;
        }
        return line(cells, px(table.padding));
    }

    Piece rowPiece(const RowBlock& r, const Place& where) {
        if (!r.condition.isEmpty() && !values_.holds(r.condition, where)) return {};
        std::vector<Width> given;
        for (const Cell& c : r.cells)
            given.push_back(c.width);
        std::vector<Span> cells = spans(widths(given));
        for (size_t i = 0; i < cells.size(); ++i) {
            const Cell& c = r.cells[i];
            cells[i].style = c.style;
            cells[i].text = shown(values_.expand(c.text, where), c.style);
            cells[i].fill = c.fill;
            cells[i].frame = c.border;
        }
        return line(cells, px(r.padding), px(r.minHeight));
    }

    Piece linePiece(const LineBlock& b) {
        const double gap = px(1);
        DrawItem item;
        item.kind = DrawItem::Kind::Line;
        item.rect = QRectF(left_, gap, width_, 0);
        item.pen = px(b.thickness);
        item.dashed = b.dashed;
        return Piece{2 * gap, {item}};
    }

    void flowTable(const TableBlock& table) {
        std::vector<Width> given;
        for (const Column& c : table.columns)
            given.push_back(c.width);
        const std::vector<Span> columns = spans(widths(given));
        std::vector<Span> cells = columns;
        for (size_t i = 0; i < cells.size(); ++i) {
            cells[i].style = table.headerStyle;
            cells[i].text = shown(table.columns[i].title, table.headerStyle);
        }
        const Piece header = tableLine(cells, table, table.headerFill);
        bool headerPlaced = false;
        for (int r = 0; r < content_.rows.size(); ++r) {
            const Place where{&content_.rows[r], r + 1, 0, 0};
            for (size_t i = 0; i < cells.size(); ++i) {
                cells[i].style = table.columns[i].style;
                cells[i].text =
                    shown(values_.expand(table.columns[i].value, where), cells[i].style);
            }
            const bool stripe = !table.stripeFill.isEmpty() && r % 2 == 1;
            Piece row = tableLine(cells, table, stripe ? table.stripeFill : QString());
            if (!headerPlaced || !fits(row.height)) {
                if (!fits(header.height + row.height) && y_ > bodyTop_) newPage();
                place(Piece(header));
                headerPlaced = true;
            }
            place(std::move(row));
        }
        if (!headerPlaced) place(Piece(header));
        placeTotals(table, columns, header);
    }

    // The sums under the table; the label spans the columns before the first sum.
    void placeTotals(const TableBlock& table, const std::vector<Span>& columns,
                     const Piece& header) {
        const auto first = std::find_if(table.columns.begin(), table.columns.end(),
                                        [](const Column& c) { return c.total; });
        if (first == table.columns.end()) return;
        const size_t firstTotal = static_cast<size_t>(first - table.columns.begin());
        std::vector<Span> cells;
        if (firstTotal > 0) {
            Span label = columns[0];
            label.width =
                columns[0].right - columns[firstTotal - 1].right + columns[firstTotal - 1].width;
            label.style = table.totalStyle;
            label.text = shown(table.totalLabel, label.style);
            cells.push_back(label);
        }
        for (size_t i = firstTotal; i < columns.size(); ++i) {
            Span c = columns[i];
            const Column& column = table.columns[i];
            c.style = column.style;
            c.style.bold = true;
            if (column.total)
                c.text =
                    shown(ValueSource::format(values_.sum(column.field).toString(), column.format),
                          c.style);
            cells.push_back(c);
        }
        Piece totals = tableLine(cells, table, table.headerFill);
        if (!fits(totals.height)) {
            newPage();
            place(Piece(header));
        }
        place(std::move(totals));
    }

    bool fits(double height) const { return y_ + height <= bodyBottom_ + 0.5; }

    void newPage() {
        out_.pages.emplace_back();
        y_ = bodyTop_;
    }

    // At the cursor; on a new page when it does not fit and the page has anything on it.
    void place(Piece p) {
        if (!fits(p.height) && y_ > bodyTop_) newPage();
        Shift(p.items, y_, out_.pages.back().items);
        y_ += p.height;
    }

    void stampHeaderAndFooter(double footerHeight) {
        const int pages = static_cast<int>(out_.pages.size());
        const double top = px(t_.page.margins.top());
        const double footerTop =
            px(out_.pageSize.height() - t_.page.margins.bottom()) - footerHeight;
        for (int i = 0; i < pages; ++i) {
            const Place where{nullptr, 0, i + 1, pages};
            auto& body = out_.pages[static_cast<size_t>(i)].items;
            // In reading order, so that a PDF's text reads header, body, footer.
            std::vector<DrawItem> items;
            Piece header = flow(t_.pageHeader, where);
            Shift(header.items, top, items);
            std::move(body.begin(), body.end(), std::back_inserter(items));
            Piece footer = flow(t_.pageFooter, where);
            Shift(footer.items, footerTop, items);
            body = std::move(items);
        }
    }

    const ReportTemplate& t_;
    ValueSource values_;
    const ReportContent& content_;
    const QPaintDevice& device_;
    LaidOutReport out_;
    QHash<QString, int> fontIndex_;
    std::vector<QFontMetricsF> metrics_;
    double left_ = 0, width_ = 0, bodyTop_ = 0, bodyBottom_ = 0, y_ = 0;
};

}  // namespace

LaidOutReport LayOut(const ReportTemplate& tmpl, const ReportContent& content,
                     const QPaintDevice& device) {
    return Layouter(tmpl, content, device).run();
}

}  // namespace si::suite::report
