#pragma once
// A report template of our own XML format (README, "Report templates"): the page, the base
// style, where the detail band's rows come from, and three flows of blocks: the page header and
// footer (repeated on every page) and the body. Styles are resolved while parsing, so every
// block carries its own font, size, weight, alignment and digits.
//
// Texts hold placeholders ({name} or {name:format}) that are expanded when the report is laid
// out; the template itself knows nothing of formulas or rows.

#include <QByteArray>
#include <QMarginsF>
#include <QString>
#include <QStringList>
#include <stdexcept>
#include <variant>
#include <vector>

namespace si::suite::report {

// A report that cannot be output; the message is Persian, for the clerk.
class ReportError : public std::runtime_error {
public:
    explicit ReportError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// A template that cannot be used; the message names the file and the line.
class TemplateError : public ReportError {
public:
    using ReportError::ReportError;
};

// Start is the right edge in a right-to-left report, End the left.
enum class Align { Start, Center, End, Justify };
enum class VAlign { Top, Center, Bottom };

struct Style {
    QString family = QStringLiteral("Noto Sans Arabic");
    double size = 10;  // points
    bool bold = false;
    Align align = Align::Start;
    VAlign valign = VAlign::Top;
    bool persianDigits = false;
};

// A width in millimetres or in per cent of the line; 0 shares what is left.
struct Width {
    double value = 0;
    bool percent = false;
};

struct TextBlock {
    QString text;  // with placeholders; '\n' breaks a line
    Style style;
    QString condition;  // printed only when this expands to a text that is neither empty nor 0
    QString fill;       // background colour, empty for none
    bool border = false;
    double padding = 0;    // mm
    double minHeight = 0;  // mm
};

struct Cell {
    QString text;
    Style style;
    Width width;
    QString fill;
    bool border = false;
};

// Cells side by side, the first at the right edge.
struct RowBlock {
    std::vector<Cell> cells;
    QString condition;
    double padding = 1;    // mm
    double minHeight = 0;  // mm
};

struct Column {
    QString title;
    QString value;  // per row, with placeholders ({GoodName}, {Qty:number}, {#})
    QString field;  // the field summed for the totals row, when total
    QString format;
    bool total = false;
    Width width;
    Style style;
};

// The detail band: one line per row, the header row repeated at the top of every page, a totals
// row at the end when a column asks for its sum.
struct TableBlock {
    std::vector<Column> columns;
    Style headerStyle;
    Style totalStyle;
    QString headerFill = QStringLiteral("#e6e6e6");
    QString totalLabel;
    QString stripeFill;  // every second line's background, empty for none
    bool border = true;
    double padding = 0.8;  // mm
};

struct SpacerBlock {
    double height = 3;  // mm
};

struct LineBlock {
    double thickness = 0.3;  // mm
    bool dashed = false;
};

using Block = std::variant<TextBlock, RowBlock, TableBlock, SpacerBlock, LineBlock>;

struct PageSetup {
    enum class Size { A4, A5, Roll };
    Size size = Size::A4;
    bool landscape = false;
    double rollWidth = 80;              // mm; a roll's page grows with the content
    QMarginsF margins{10, 10, 10, 10};  // mm: left, top, right, bottom
    bool isRoll() const { return size == Size::Roll; }
};

struct ReportTemplate {
    QString name;  // the file name, for messages
    PageSetup page;
    Style base;
    // The detail rows: the view, the column the invoices' IDs select and the columns that
    // order the rows.
    QString view = QStringLiteral("vwSaleInvoicePrint");
    QString key = QStringLiteral("InvoiceID");
    QStringList order{QStringLiteral("InvoiceID"), QStringLiteral("RowNumber")};
    bool readsData = false;  // a table, or a view named on the root
    std::vector<Block> pageHeader, body, pageFooter;
};

// Our format: a .xml file, or any file whose root element is <report>. Anything else (an old
// .rpt report) belongs to the host's engine.
bool IsOwnTemplate(const QString& path);

// Throws TemplateError for a file that cannot be read or is not a valid template.
ReportTemplate LoadTemplate(const QString& path);
ReportTemplate ParseTemplate(const QByteArray& xml, const QString& name);

}  // namespace si::suite::report
