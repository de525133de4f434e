#pragma once
// The first sheet of an .xlsx file read back for a test: unzipped with minizip (the library
// libxlsxwriter itself links), each cell's value with its type and its number format, and
// whether the sheet runs right to left.

#include <QHash>
#include <QString>
#include <optional>

namespace si::test {

struct XlsxCell {
    bool isNumber = false;
    QString value;  // a text, or a number as written
    QString numberFormat;
};

class XlsxSheet {
public:
    // Reads the file; error() says why when it could not.
    explicit XlsxSheet(const QString& file);

    const QString& error() const { return error_; }
    bool rightToLeft() const { return rightToLeft_; }
    // Row and column from 0; nullptr for an empty cell.
    const XlsxCell* cell(int row, int column) const;
    QString text(int row, int column) const;
    std::optional<double> number(int row, int column) const;
    int rowCount() const { return rows_; }
    // The widths set for the columns, from 0; 0 when none was set.
    double columnWidth(int column) const { return widths_.value(column); }

private:
    QHash<QString, XlsxCell> cells_;  // by reference ("B3")
    QHash<int, double> widths_;
    QString error_;
    bool rightToLeft_ = false;
    int rows_ = 0;
};

}  // namespace si::test
