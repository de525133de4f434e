// Reading a portable scanner's file: the lines are classified by a few grouped statements
// first (employee cards, customer cards, goods barcodes), then taken in the file's order, so a
// card read between barcodes applies to the goods after it, as when the clerk scans by hand.

#include <QFile>
#include <QHash>
#include <QSet>
#include <QStringDecoder>

#include "invoice/LineLookups.h"
#include "invoice/LinesLogic.h"
#include "invoice/ScaleInput.h"

namespace si {

namespace {

// Placeholders per grouped statement; a short slice repeats its last value, so every slice
// runs the same prepared statement.
constexpr int kValuesPerStatement = 250;

// A customer card: the last six digits of the card print date (none when the organisation has
// no print date), then the organisation's identifier in six digits.
constexpr int kCardDateDigits = 6;
constexpr int kCardIdDigits = 6;
constexpr int kCardIdModulus = 1000000;

QString placeholders() {
    return QStringList(kValuesPerStatement, QStringLiteral("?")).join(QLatin1Char(','));
}

// Runs `sql` (whose "%1" stands for the placeholders) once per slice of the values.
template <typename OnRow>
void forEachSlice(Session& s, const QString& sql, const QVariantList& values, OnRow onRow) {
    const QString statement = sql.arg(placeholders());
    for (qsizetype i = 0; i < values.size(); i += kValuesPerStatement) {
        QVariantList slice = values.mid(i, kValuesPerStatement);
        while (slice.size() < kValuesPerStatement)
            slice << slice.last();
        for (const Row& r : s.query(statement, slice))
            onRow(r);
    }
}

bool isDigits(const QString& text) {
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return !text.isEmpty();
}

QString cardDatePart(const QString& farsiCardPrintDate) {
    return QString(farsiCardPrintDate).remove(QLatin1Char('/')).right(kCardDateDigits);
}

bool mayBeCustomerCard(const QString& line) {
    return line.size() >= kCardIdDigits && line.size() <= kCardDateDigits + kCardIdDigits &&
           isDigits(line);
}

QString gridKey(const QString& barcode) {
    return barcode.trimmed().toLower();
}

}  // namespace

// What each distinct line of a file stands for; a line may be found in several tables, and
// the first test that finds it wins.
struct ScaleInput::BeepLineKinds {
    QHash<QString, int> employees;  // by the lower-case tag
    QHash<QString, int> customers;  // by the card number
    QSet<QString> goods;            // barcodes of tblGood
};

// Tags are compared without regard to case, as the suite's database compares text; barcodes
// exactly, as the goods look-up of the grid does.
ScaleInput::BeepLineKinds ScaleInput::classifyBeepLines(const QStringList& distinctLines) {
    Session& s = services_.ctx.db();
    BeepLineKinds kinds;
    QVariantList lowered;
    QVariantList barcodes;
    QVariantList cardIds;
    for (const QString& line : distinctLines) {
        lowered << line.toLower();
        barcodes << line;
        if (mayBeCustomerCard(line)) cardIds << line.right(kCardIdDigits).toInt();
    }
    forEachSlice(s, QStringLiteral("select ID, Tag from tblEmployee where lower(Tag) in (%1)"),
                 lowered, [&](const Row& r) {
                     const QString tag = r.text(u"Tag").toLower();
                     if (!kinds.employees.contains(tag))
                         kinds.employees.insert(tag, r.toInt(u"ID"));
                 });
    if (!cardIds.isEmpty())
        forEachSlice(s,
                     QStringLiteral("select ID, FarsiCardPrintDate from tblOrganization where "
                                    "ID % 1000000 in (%1) order by ID"),
                     cardIds, [&](const Row& r) {
                         const int id = r.toInt(u"ID");
                         const QString card =
                             cardDatePart(r.text(u"FarsiCardPrintDate")) +
                             QStringLiteral("%1").arg(id % kCardIdModulus, kCardIdDigits, 10,
                                                      QLatin1Char('0'));
                         if (!kinds.customers.contains(card)) kinds.customers.insert(card, id);
                     });
    forEachSlice(s, QStringLiteral("select Barcode from tblGood where Barcode in (%1)"), barcodes,
                 [&](const Row& r) { kinds.goods.insert(r.text(u"Barcode")); });
    return kinds;
}

int ScaleInput::ReadBeepLines(const QStringList& fileLines, const Progress& progress) {
    InvoiceDocument& doc = services_.doc;
    if (doc.FormMode != kModeEdit && doc.FormMode != kModeNew) return 0;
    QStringList lines;
    QStringList distinct;
    QSet<QString> seen;
    for (const QString& raw : fileLines) {
        const QString line = raw.trimmed();
        lines << line;
        if (!line.isEmpty() && !seen.contains(line)) {
            seen.insert(line);
            distinct << line;
        }
    }
    const BeepLineKinds kinds = classifyBeepLines(distinct);
    QSet<QString> inGrid;
    for (const InvoiceLine& l : doc.flexDetail.allRows())
        if (l.isFilled()) inGrid.insert(gridKey(l.BarCode));
    QStringList goods;
    for (const QString& line : distinct)
        if (kinds.goods.contains(line)) goods << line;
    const LineLookups::Batch batch(*services_.lookups, goods);
    const int filledBefore = doc.flexDetail.filledCount();
    const int total = static_cast<int>(lines.size());
    for (int i = 0; i < total; ++i) {
        takeBeepLine(lines[i], kinds, inGrid);
        if (progress && !progress(i + 1, total)) break;
    }
    return doc.flexDetail.filledCount() - filledBefore;
}

void ScaleInput::takeBeepLine(const QString& line, const BeepLineKinds& kinds,
                              QSet<QString>& inGrid) {
    if (line.isEmpty()) return;
    InvoiceDocument& doc = services_.doc;
    if (const int employee = kinds.employees.value(line.toLower()); employee > 0)
        doc.sltPromoter.setID(employee);
    else if (const int customer = kinds.customers.value(line); customer > 0)
        doc.sltCustomer.setID(customer);
    else if (kinds.goods.contains(line))
        addScannedBarcode(line, inGrid);
}

// Typed into the last, empty row and committed as the clerk's typing would be. A barcode is
// tried once: the rows it brought (attached goods too) and a refused barcode count as done.
void ScaleInput::addScannedBarcode(const QString& barcode, QSet<QString>& inGrid) {
    if (inGrid.contains(gridKey(barcode))) return;
    inGrid.insert(gridKey(barcode));
    LineTableModel& grid = services_.doc.flexDetail;
    grid.ensureTrailingEmptyRow();
    const int row = grid.rows() - 1;
    services_.lines->commitCell(row, Col::BarCode, barcode);
    for (int r = row; r < grid.rows(); ++r)
        if (grid.line(r).isFilled()) inGrid.insert(gridKey(grid.line(r).BarCode));
}

QStringList ScaleInput::ReadBeepFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) text = QString::fromLocal8Bit(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

}  // namespace si
