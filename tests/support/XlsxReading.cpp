#include "support/XlsxReading.h"

#include <unzip.h>

#include <QFile>
#include <QStringList>
#include <QXmlStreamReader>

namespace si::test {

namespace {

// One member of the archive; empty when it is not there.
QByteArray member(unzFile zip, const char* name) {
    if (unzLocateFile(zip, name, 0) != UNZ_OK || unzOpenCurrentFile(zip) != UNZ_OK) return {};
    QByteArray data;
    char buffer[65536];
    int read = 0;
    while ((read = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0)
        data.append(buffer, read);
    unzCloseCurrentFile(zip);
    return data;
}

QStringList sharedStrings(const QByteArray& xml) {
    QStringList strings;
    QXmlStreamReader r(xml);
    QString current;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == u"si") current.clear();
        if (r.isStartElement() && r.name() == u"t") current += r.readElementText();
        if (r.isEndElement() && r.name() == u"si") strings << current;
    }
    return strings;
}

// The format code of each cell style: the built-in ones a writer uses by number, the others
// from numFmts.
QStringList styleFormats(const QByteArray& xml) {
    QHash<int, QString> codes{{0, QStringLiteral("General")},
                              {3, QStringLiteral("#,##0")},
                              {4, QStringLiteral("#,##0.00")}};
    QStringList formats;
    QXmlStreamReader r(xml);
    bool inCellXfs = false;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == u"numFmt")
            codes.insert(r.attributes().value(QLatin1String("numFmtId")).toInt(),
                         r.attributes().value(QLatin1String("formatCode")).toString());
        if (r.name() == u"cellXfs") inCellXfs = r.isStartElement();
        if (inCellXfs && r.isStartElement() && r.name() == u"xf")
            formats << codes.value(r.attributes().value(QLatin1String("numFmtId")).toInt());
    }
    return formats;
}

QString reference(int row, int column) {
    QString letters;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        letters.prepend(QChar(u'A' + (c - 1) % 26));
    return letters + QString::number(row + 1);
}

}  // namespace

XlsxSheet::XlsxSheet(const QString& file) {
    unzFile zip = unzOpen(QFile::encodeName(file).constData());
    if (!zip) {
        error_ = QStringLiteral("not a zip archive: ") + file;
        return;
    }
    const QByteArray sheet = member(zip, "xl/worksheets/sheet1.xml");
    const QStringList strings = sharedStrings(member(zip, "xl/sharedStrings.xml"));
    const QStringList formats = styleFormats(member(zip, "xl/styles.xml"));
    unzClose(zip);
    if (sheet.isEmpty()) {
        error_ = QStringLiteral("no first sheet in ") + file;
        return;
    }
    QXmlStreamReader r(sheet);
    while (!r.atEnd()) {
        r.readNext();
        if (!r.isStartElement()) continue;
        const auto a = r.attributes();
        if (r.name() == u"sheetView") rightToLeft_ = a.value(QLatin1String("rightToLeft")) == u"1";
        if (r.name() == u"col")
            for (int c = a.value(QLatin1String("min")).toInt();
                 c <= a.value(QLatin1String("max")).toInt(); ++c)
                widths_.insert(c - 1, a.value(QLatin1String("width")).toDouble());
        if (r.name() == u"row") rows_ = std::max(rows_, a.value(QLatin1String("r")).toInt());
        if (r.name() != u"c") continue;
        const QString ref = a.value(QLatin1String("r")).toString();
        const QString type = a.value(QLatin1String("t")).toString();
        XlsxCell cell;
        cell.numberFormat = formats.value(a.value(QLatin1String("s")).toInt());
        cell.isNumber = type.isEmpty() || type == u"n";
        while (r.readNextStartElement()) {
            const QString text = r.readElementText(QXmlStreamReader::IncludeChildElements);
            if (r.name() == u"v" || r.name() == u"is") cell.value = text;
        }
        if (type == u"s") cell.value = strings.value(cell.value.toInt());
        cells_.insert(ref, cell);
    }
    if (r.hasError()) error_ = r.errorString();
}

const XlsxCell* XlsxSheet::cell(int row, int column) const {
    const auto it = cells_.constFind(reference(row, column));
    return it == cells_.cend() ? nullptr : &*it;
}

QString XlsxSheet::text(int row, int column) const {
    const XlsxCell* c = cell(row, column);
    return c && !c->isNumber ? c->value : QString();
}

std::optional<double> XlsxSheet::number(int row, int column) const {
    const XlsxCell* c = cell(row, column);
    if (!c || !c->isNumber) return std::nullopt;
    return c->value.toDouble();
}

}  // namespace si::test
