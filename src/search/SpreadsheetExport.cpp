#include "search/SpreadsheetExport.h"

#include <xlsxwriter.h>

#include <QFile>
#include <algorithm>
#include <memory>
#include <vector>

#include "common/Money.h"

namespace si {

namespace {

constexpr double kMinimumWidth = 6;
constexpr double kMaximumWidth = 50;
// The widths are measured over the first rows only: a long note further down does not widen
// every column of a large result, and the measure costs nothing on a million rows.
constexpr int kMeasuredRows = 500;

struct WorkbookCloser {
    void operator()(lxw_workbook* workbook) const {
        if (workbook) workbook_close(workbook);
    }
};
using Workbook = std::unique_ptr<lxw_workbook, WorkbookCloser>;

class SheetWriter {
public:
    SheetWriter(lxw_workbook* workbook, const std::vector<ResultColumn>& columns)
        : sheet_(workbook_add_worksheet(workbook, "Sheet1")),
          columns_(columns),
          widths_(columns.size(), kMinimumWidth) {
        header_ = workbook_add_format(workbook);
        format_set_bold(header_);
        amount_ = workbook_add_format(workbook);
        format_set_num_format(amount_, "#,##0");
        worksheet_right_to_left(sheet_);
        worksheet_freeze_panes(sheet_, 1, 0);
    }

    void headers() {
        for (size_t c = 0; c < columns_.size(); ++c) {
            const QString caption = columns_[c].header.trimmed();
            if (!caption.isEmpty()) text(0, c, caption, header_);
        }
    }

    void row(int row, const QVariantList& values) {
        const auto sheetRow = static_cast<lxw_row_t>(row + 1);
        measuring_ = row < kMeasuredRows;
        for (size_t c = 0; c < columns_.size(); ++c) {
            if (columns_[c].format == ColumnFormat::RowNumber) {
                number(sheetRow, c, row + 1, nullptr);
                continue;
            }
            const QVariant& value = values[static_cast<qsizetype>(c)];
            const int type = value.metaType().id();
            if (value.isNull()) continue;
            if (value.metaType() == QMetaType::fromType<Money>())
                number(sheetRow, c, value.value<Money>().toDouble(), amount_);
            else if (type == QMetaType::LongLong || type == QMetaType::Double)
                number(sheetRow, c, value.toDouble(), nullptr);
            else if (!value.toString().isEmpty())
                text(sheetRow, c, value.toString(), nullptr);
        }
    }

    void sizeColumns() {
        for (size_t c = 0; c < columns_.size(); ++c) {
            const auto col = static_cast<lxw_col_t>(c);
            worksheet_set_column(sheet_, col, col, std::min(widths_[c], kMaximumWidth), nullptr);
        }
    }

private:
    void text(lxw_row_t row, size_t c, const QString& value, lxw_format* format) {
        const QByteArray utf8 = value.toUtf8();
        worksheet_write_string(sheet_, row, static_cast<lxw_col_t>(c), utf8.constData(), format);
        widen(c, value.size());
    }
    void number(lxw_row_t row, size_t c, double value, lxw_format* format) {
        worksheet_write_number(sheet_, row, static_cast<lxw_col_t>(c), value, format);
        // Grouped digits take a third more room than the digits.
        widen(c, QString::number(value, 'f', 0).size() * 4 / 3);
    }
    void widen(size_t c, qsizetype characters) {
        if (measuring_) widths_[c] = std::max(widths_[c], static_cast<double>(characters) + 2);
    }

    lxw_worksheet* sheet_;
    const std::vector<ResultColumn>& columns_;
    std::vector<double> widths_;
    lxw_format* header_ = nullptr;
    lxw_format* amount_ = nullptr;
    bool measuring_ = true;
};

}  // namespace

int WriteResultSpreadsheet(InvoiceResultModel& result, const QString& file) {
    const QByteArray path = QFile::encodeName(file);
    lxw_workbook* workbook = workbook_new(path.constData());
    if (!workbook) throw SpreadsheetError(QStringLiteral("حافظه كافي نيست."));
    Workbook owned(workbook);
    SheetWriter sheet(workbook, result.columns());
    sheet.headers();
    int row = 0;
    const int rows =
        result.forEachValueRow([&](const QVariantList& values) { sheet.row(row++, values); });
    sheet.sizeColumns();
    const lxw_error error = workbook_close(owned.release());
    if (error != LXW_NO_ERROR) throw SpreadsheetError(QString::fromUtf8(lxw_strerror(error)));
    return rows;
}

}  // namespace si
