#include "suite/report/ReportTemplate.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>
#include <optional>

namespace si::suite::report {

namespace {

QString where(const QXmlStreamReader& xml, const QString& name) {
    return QStringLiteral("قالب گزارش «%1»، سطر %2: ").arg(name).arg(xml.lineNumber());
}

class Parser {
public:
    Parser(const QByteArray& text, QString name) : xml_(text), name_(std::move(name)) {}

    ReportTemplate parse() {
        ReportTemplate t;
        t.name = name_;
        if (!nextElement()) fail(QStringLiteral("عنصر report پيدا نشد."));
        if (xml_.name() != u"report") fail(QStringLiteral("ريشه قالب بايد report باشد."));
        readRoot(t);
        return t;
    }

private:
    [[noreturn]] void fail(const QString& reason) const {
        throw TemplateError(where(xml_, name_) + reason);
    }
    [[noreturn]] void failXml() const {
        fail(QStringLiteral("متن XML نادرست است (%1)").arg(xml_.errorString()));
    }

    // The next start element among the children of the current one; false at its end.
    bool nextElement() {
        while (!xml_.atEnd()) {
            const auto token = xml_.readNext();
            if (token == QXmlStreamReader::StartElement) return true;
            if (token == QXmlStreamReader::EndElement) return false;
            if (token == QXmlStreamReader::Characters && !xml_.isWhitespace())
                fail(QStringLiteral("متن «%1» بيرون از عنصرهاي متني آمده است.")
                         .arg(xml_.text().toString().trimmed()));
        }
        if (xml_.hasError()) failXml();
        return false;
    }

    std::optional<QString> attribute(QStringView attr) const {
        const auto attrs = xml_.attributes();
        const QString name = attr.toString();
        if (!attrs.hasAttribute(name)) return std::nullopt;
        return attrs.value(name).toString().trimmed();
    }
    QString text(QStringView attr, const QString& fallback = {}) const {
        return attribute(attr).value_or(fallback);
    }
    [[noreturn]] void badValue(QStringView attr, const QString& value) const {
        fail(QStringLiteral("مقدار «%1» براي «%2» درست نيست.").arg(value, attr.toString()));
    }
    double number(QStringView attr, double fallback, double min = 0) const {
        const auto value = attribute(attr);
        if (!value) return fallback;
        bool ok = false;
        const double n = value->toDouble(&ok);
        if (!ok || n < min) badValue(attr, *value);
        return n;
    }
    bool flag(QStringView attr, bool fallback) const {
        const auto value = attribute(attr);
        if (!value) return fallback;
        if (*value == u"1" || *value == u"true" || *value == u"yes") return true;
        if (*value == u"0" || *value == u"false" || *value == u"no") return false;
        badValue(attr, *value);
    }
    Width width(QStringView attr) const {
        const auto value = attribute(attr);
        if (!value || value->isEmpty() || *value == u"*") return {};
        QString digits = *value;
        const bool percent = digits.endsWith(QLatin1Char('%'));
        if (percent) digits.chop(1);
        bool ok = false;
        const double n = digits.trimmed().toDouble(&ok);
        if (!ok || n <= 0) badValue(attr, *value);
        return {n, percent};
    }

    Style style(Style s) const {
        s.family = text(u"font", s.family);
        s.size = number(u"size", s.size, 1);
        s.bold = flag(u"bold", s.bold);
        if (const auto a = attribute(u"align")) s.align = align(*a);
        if (const auto v = attribute(u"valign")) s.valign = valign(*v);
        if (const auto d = attribute(u"digits")) {
            if (*d != u"persian" && *d != u"latin") badValue(u"digits", *d);
            s.persianDigits = *d == u"persian";
        }
        return s;
    }
    Align align(const QString& value) const {
        if (value == u"start" || value == u"right") return Align::Start;
        if (value == u"end" || value == u"left") return Align::End;
        if (value == u"center") return Align::Center;
        if (value == u"justify") return Align::Justify;
        badValue(u"align", value);
    }
    VAlign valign(const QString& value) const {
        if (value == u"top") return VAlign::Top;
        if (value == u"center") return VAlign::Center;
        if (value == u"bottom") return VAlign::Bottom;
        badValue(u"valign", value);
    }

    void readRoot(ReportTemplate& t) {
        readPage(t.page);
        t.base = style(t.base);
        if (const auto view = attribute(u"view")) {
            t.view = *view;
            t.readsData = true;
        }
        t.key = text(u"key", t.key);
        if (const auto order = attribute(u"order")) {
            t.order.clear();
            for (const QString& column : order->split(QLatin1Char(','), Qt::SkipEmptyParts))
                t.order << column.trimmed();
        }
        while (nextElement()) {
            const auto name = xml_.name();
            if (name == u"pageheader")
                readBlocks(t, t.pageHeader, style(t.base));
            else if (name == u"pagefooter")
                readBlocks(t, t.pageFooter, style(t.base));
            else
                readBlock(t, t.body, t.base);
        }
        if (xml_.hasError()) failXml();
        if (t.page.isRoll() && !(t.pageHeader.empty() && t.pageFooter.empty()))
            fail(QStringLiteral("برگه رول يک صفحه است و سرصفحه و پاصفحه ندارد."));
    }

    void readPage(PageSetup& page) {
        const QString size = text(u"page", QStringLiteral("A4"));
        if (size == u"A4")
            page.size = PageSetup::Size::A4;
        else if (size == u"A5")
            page.size = PageSetup::Size::A5;
        else if (size == u"roll")
            page.size = PageSetup::Size::Roll;
        else
            badValue(u"page", size);
        page.rollWidth = number(u"width", page.rollWidth, 20);
        const QString orientation = text(u"orientation", QStringLiteral("portrait"));
        if (orientation != u"portrait" && orientation != u"landscape")
            badValue(u"orientation", orientation);
        page.landscape = orientation == u"landscape";
        if (const auto margins = attribute(u"margins")) page.margins = readMargins(*margins);
    }

    // "all", "vertical horizontal" or "top right bottom left", in mm.
    QMarginsF readMargins(const QString& value) const {
        std::vector<double> n;
        for (const QString& part : value.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            bool ok = false;
            n.push_back(part.toDouble(&ok));
            if (!ok || n.back() < 0) badValue(u"margins", value);
        }
        if (n.size() == 1) return {n[0], n[0], n[0], n[0]};
        if (n.size() == 2) return {n[1], n[0], n[1], n[0]};
        if (n.size() == 4) return {n[3], n[0], n[1], n[2]};
        badValue(u"margins", value);
    }

    void readBlocks(ReportTemplate& t, std::vector<Block>& blocks, const Style& inherited) {
        while (nextElement())
            readBlock(t, blocks, inherited);
    }

    void readBlock(ReportTemplate& t, std::vector<Block>& blocks, const Style& inherited) {
        const auto name = xml_.name();
        if (name == u"text")
            blocks.emplace_back(readText(inherited));
        else if (name == u"row")
            blocks.emplace_back(readRow(inherited));
        else if (name == u"table") {
            if (&blocks != &t.body) fail(QStringLiteral("جدول فقط در بدنه گزارش مي آيد."));
            blocks.emplace_back(readTable(inherited));
            t.readsData = true;
        } else if (name == u"spacer") {
            blocks.emplace_back(SpacerBlock{number(u"height", 3)});
            skipEmpty();
        } else if (name == u"line") {
            blocks.emplace_back(LineBlock{number(u"thickness", 0.3), flag(u"dashed", false)});
            skipEmpty();
        } else
            fail(QStringLiteral("عنصر «%1» در اين جا شناخته نيست.").arg(name.toString()));
    }

    void skipEmpty() {
        if (nextElement())
            fail(QStringLiteral("عنصر «%1» در اين جا شناخته نيست.").arg(xml_.name().toString()));
    }

    // The element's text, blanks folded as in HTML; <br/> breaks the line.
    QString readContent() {
        QString raw;
        while (!xml_.atEnd()) {
            const auto token = xml_.readNext();
            if (token == QXmlStreamReader::Characters) {
                raw += xml_.text();
            } else if (token == QXmlStreamReader::StartElement) {
                if (xml_.name() != u"br")
                    fail(QStringLiteral("در متن فقط <br/> مي آيد، نه «%1».")
                             .arg(xml_.name().toString()));
                raw += QChar(QChar::LineSeparator);
                skipEmpty();
            } else if (token == QXmlStreamReader::EndElement) {
                break;
            }
        }
        if (xml_.hasError()) failXml();
        QStringList lines = raw.split(QChar(QChar::LineSeparator));
        for (QString& line : lines)
            line = line.simplified();
        return lines.join(QLatin1Char('\n'));
    }

    TextBlock readText(const Style& inherited) {
        TextBlock b;
        b.style = style(inherited);
        b.condition = text(u"if");
        b.fill = text(u"fill");
        b.border = flag(u"border", false);
        b.padding = number(u"padding", b.border || !b.fill.isEmpty() ? 1 : 0);
        b.minHeight = number(u"height", 0);
        b.text = readContent();
        return b;
    }

    RowBlock readRow(const Style& inherited) {
        RowBlock r;
        const Style rowStyle = style(inherited);
        r.condition = text(u"if");
        const bool border = flag(u"border", false);
        r.padding = number(u"padding", border ? 1 : 0.3);
        r.minHeight = number(u"height", 0);
        const QString rowFill = text(u"fill");
        while (nextElement()) {
            if (xml_.name() != u"cell")
                fail(
                    QStringLiteral("در row فقط cell مي آيد، نه «%1».").arg(xml_.name().toString()));
            Cell c;
            c.style = style(rowStyle);
            c.width = width(u"width");
            c.fill = text(u"fill", rowFill);
            c.border = flag(u"border", border);
            c.text = readContent();
            r.cells.push_back(std::move(c));
        }
        if (r.cells.empty()) fail(QStringLiteral("row بدون cell است."));
        return r;
    }

    TableBlock readTable(const Style& inherited) {
        TableBlock t;
        const Style cells = style(inherited);
        t.border = flag(u"border", true);
        t.padding = number(u"padding", t.padding);
        t.headerFill = text(u"header-fill", t.headerFill);
        t.stripeFill = text(u"stripe", t.stripeFill);
        t.totalLabel = text(u"total-label", QStringLiteral("جمع"));
        t.headerStyle = cells;
        t.headerStyle.bold = flag(u"header-bold", true);
        t.headerStyle.size = number(u"header-size", cells.size, 1);
        t.headerStyle.align = Align::Center;
        t.headerStyle.valign = VAlign::Center;
        t.totalStyle = cells;
        t.totalStyle.bold = true;
        while (nextElement()) {
            if (xml_.name() != u"column")
                fail(QStringLiteral("در table فقط column مي آيد، نه «%1».")
                         .arg(xml_.name().toString()));
            t.columns.push_back(readColumn(cells));
        }
        if (t.columns.empty()) fail(QStringLiteral("جدول بدون ستون است."));
        return t;
    }

    Column readColumn(Style cells) {
        cells.valign = VAlign::Center;
        Column c;
        c.style = style(cells);
        c.title = text(u"title");
        c.field = text(u"field");
        c.format = text(u"format");
        c.width = width(u"width");
        const QString total = text(u"total");
        if (!total.isEmpty() && total != u"sum") badValue(u"total", total);
        c.total = total == u"sum";
        if (c.total && (c.field.isEmpty() || c.field == u"#"))
            fail(QStringLiteral("ستون «%1» جمع دارد ولي field ندارد.").arg(c.title));
        const QString fieldText =
            c.field.isEmpty() ? QString()
                              : QLatin1Char('{') + c.field +
                                    (c.format.isEmpty() ? QString() : QLatin1Char(':') + c.format) +
                                    QLatin1Char('}');
        c.value = text(u"value", fieldText);
        if (c.value.isEmpty())
            fail(QStringLiteral("ستون «%1» نه field دارد نه value.").arg(c.title));
        skipEmpty();
        return c;
    }

    QXmlStreamReader xml_;
    QString name_;
};

}  // namespace

bool IsOwnTemplate(const QString& path) {
    if (QFileInfo(path).suffix().compare(u"xml", Qt::CaseInsensitive) == 0) return true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd() && !xml.hasError()) {
        if (xml.readNext() == QXmlStreamReader::StartElement) return xml.name() == u"report";
    }
    return false;
}

ReportTemplate LoadTemplate(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TemplateError(QStringLiteral("فايل قالب گزارش «%1» خوانده نشد.").arg(path));
    return ParseTemplate(file.readAll(), QFileInfo(path).fileName());
}

ReportTemplate ParseTemplate(const QByteArray& xml, const QString& name) {
    return Parser(xml, name).parse();
}

}  // namespace si::suite::report
