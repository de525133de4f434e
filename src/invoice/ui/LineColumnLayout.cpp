#include "invoice/ui/LineColumnLayout.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QTableView>

#include "invoice/InvoiceLine.h"
#include "invoice/LineTableModel.h"

namespace si {

namespace {

constexpr int kFirstColumns[] = {
    Col::Row,       Col::BarCode,    Col::GoodCode,  Col::GoodName,        Col::Description,
    Col::Qty,       Col::UnitName,   Col::UnitPrice, Col::DiscountPercent, Col::DiscountValue,
    Col::NetAmount, Col::TaxAndDuty, Col::LineTotal, Col::ApproxProfit};

bool isAmount(int col) {
    switch (col) {
        case Col::UnitPrice:
        case Col::BaseUnitPrice:
        case Col::ApproxProfit:
        case Col::TotalWage:
        case Col::TotalProfit:
        case Col::Commission:
        case Col::DiscountValue:
        case Col::NetAmount:
        case Col::TaxAndDuty:
        case Col::LineTotal:
        case Col::Tax:
        case Col::Duty:
            return true;
        default:
            return false;
    }
}

bool isQuantity(int col) {
    switch (col) {
        case Col::Qty:
        case Col::BaseQty:
        case Col::StoredQty:
        case Col::ReservedQty:
        case Col::BlockedQty:
        case Col::InitialQty:
        case Col::Stock:
        case Col::TempQty:
            return true;
        default:
            return false;
    }
}

// Pixels the cell's own margins and the grid line take.
constexpr int kCellPadding = 14;

int widthOf(const QFontMetrics& metrics, const char* sample) {
    return metrics.horizontalAdvance(QString::fromLatin1(sample)) + kCellPadding;
}

}  // namespace

QVector<int> CashierColumnOrder() {
    QVector<int> order(std::begin(kFirstColumns), std::end(kFirstColumns));
    for (int c = 0; c < Col::Count; ++c)
        if (!order.contains(c)) order.append(c);
    return order;
}

void ApplyCashierColumnOrder(QHeaderView& header) {
    const QVector<int> order = CashierColumnOrder();
    for (int visual = 0; visual < order.size(); ++visual)
        header.moveSection(header.visualIndex(order[visual]), visual);
}

int LineColumnWidth(const QFontMetrics& metrics, int col, int originalWidth) {
    // The original's widths are in twips, fifteen to a pixel.
    const int original = originalWidth / 15;
    if (col == Col::BarCode || col == Col::ServicedBarCode)
        return widthOf(metrics, "0000000000000");
    if (col == Col::Row) return widthOf(metrics, "0000");
    if (col == Col::GoodCode) return widthOf(metrics, "00000000");
    if (col == Col::GoodName) return std::max(original, metrics.averageCharWidth() * 30);
    if (isAmount(col)) return widthOf(metrics, "0/000/000/000");
    if (isQuantity(col)) return widthOf(metrics, "00000.000");
    if (col == Col::DiscountPercent || col == Col::BirthdayPercent || col == Col::CardPercent)
        return widthOf(metrics, "00.00");
    return original;
}

void SizeLineColumns(QTableView& view, const LineTableModel& model) {
    for (int c = 0; c < Col::Count; ++c) {
        view.setColumnHidden(c, model.isColumnHidden(c));
        if (!model.isColumnHidden(c))
            view.setColumnWidth(c, LineColumnWidth(view.fontMetrics(), c, model.columnWidth(c)));
    }
}

}  // namespace si
