#pragma once
// The values a report shows: the formulas it was given, the detail rows read for it, and the
// expansion of a template's placeholders over them.
//
// Placeholders: {name} or {name:format}. The name is looked up, without regard to case, among
// the formulas, then the fields of the current detail row, then those of the header row (the
// first detail row). Special names: {page} and {pages} (page header and footer), {#} (the detail
// line's number), {count} (the number of detail lines) and {sum(Field)} (a field summed over the
// detail lines). Formats: amount (grouped by three with "/"), number (shortest decimal), words
// (Persian words of the integer part), label (the text without a colon at its ends). "{{" is a
// brace.

#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <optional>

#include "common/Money.h"
#include "common/Row.h"

namespace si::suite::report {

// The formulas "name=value" by name (lower case); a value between single quotes loses them and
// a doubled quote inside becomes one. Items without '=' are ignored.
using Formulas = QHash<QString, QString>;
Formulas ParseFormulas(const QMap<int, QString>& numbered);
std::optional<std::pair<QString, QString>> ParseFormulaItem(const QString& item);

// The invoices a selection text names: "{tblSaleInvoice.ID}=17" or
// "{tblSaleInvoice.ID} in [1,2,3]" (round brackets too), or the same of
// {vwSaleInvoiceSearch.ID} as the search result's list names them; empty when it names none.
QList<qint64> SelectedInvoiceIds(const QString& selection);

// The ASCII digits of a text as Persian digits, and a point between digits as the Persian
// decimal separator.
QString PersianDigits(const QString& text);
// Numbers joined by separators ("021-88776655", "1405/09/15") kept left to right inside right-to-
// left text, where the bidirectional algorithm would otherwise show a phone number's parts in
// reverse order.
QString NumbersLeftToRight(const QString& text);

struct ReportContent {
    Formulas formulas;
    RowSet rows;  // the detail band, in order; the first row is the header row
};

// Where a text is expanded: the row of a detail line, and the page it is on.
struct Place {
    const Row* row = nullptr;
    int line = 0;  // 1-based number of the detail line
    int page = 0;
    int pages = 0;
};

class ValueSource {
public:
    explicit ValueSource(const ReportContent& content) : content_(content) {}

    QString expand(const QString& text, const Place& place = {}) const;
    // A condition holds when its expansion is neither blank nor a zero amount.
    bool holds(const QString& condition, const Place& place = {}) const;
    // The sum of a field over the detail rows.
    Money sum(const QString& field) const;
    static QString format(const QVariant& value, QStringView format);

private:
    QVariant value(QStringView name, const Place& place) const;

    const ReportContent& content_;
};

}  // namespace si::suite::report
