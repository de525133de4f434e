#pragma once

#include <QVector>

class QFontMetrics;
class QHeaderView;
class QTableView;

namespace si {

class LineTableModel;

// The visual order of the lines grid: the columns a cashier reads (goods, quantity, unit, price,
// discount, line amounts) come first so they show without scrolling on a till screen; the rest
// follow in their own order. Column numbers stay the original's; only where they show moves.
QVector<int> CashierColumnOrder();
void ApplyCashierColumnOrder(QHeaderView& header);

// The width a column gets when it shows: wide enough for what it holds (a whole barcode, a
// grouped amount), the original width for texts.
int LineColumnWidth(const QFontMetrics& metrics, int col, int originalWidth);
// Every column of the view shown or hidden as the model says, at the width above.
void SizeLineColumns(QTableView& view, const LineTableModel& model);

}  // namespace si
