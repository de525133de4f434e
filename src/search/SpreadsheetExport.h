#pragma once
// The result grid as an .xlsx workbook (libxlsxwriter): one sheet, right to left, the grid's
// column captions in its first row and every row of the result under them. Amounts are numbers
// shown grouped, numbers are numbers, and every other cell (Jalali dates among them) is the text
// the grid shows, so a spreadsheet neither reads a date as a sum nor loses a leading zero.

#include <QString>
#include <stdexcept>

#include "search/InvoiceResultModel.h"

namespace si {

// The file could not be written; the reason is the library's, in its words.
class SpreadsheetError : public std::runtime_error {
public:
    explicit SpreadsheetError(const QString& reason)
        : std::runtime_error(reason.toStdString()), reason_(reason) {}
    const QString& reason() const { return reason_; }

private:
    QString reason_;
};

// Writes every row of the result, read apart from the pages the view holds; throws
// SpreadsheetError. Returns the number of invoice rows written.
int WriteResultSpreadsheet(InvoiceResultModel& result, const QString& file);

}  // namespace si
