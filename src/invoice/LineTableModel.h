#pragma once
// The goods grid flexDetail (and the free-goods grid flexEch) as a table model: one InvoiceLine
// per row and, always, one empty row at the end for the next entry. Column numbers and titles are
// the grid's. Cells are shown with FormatAmount for amounts; hidden columns have width 0.
//
// The model does not judge edits: a cell typed into the view is handed to editRequested(), and
// the line logic validates it and writes the line back (lines are recomputed by RecomputeRowSum
// only).

#include <QAbstractTableModel>
#include <QVector>

#include "invoice/InvoiceLine.h"

namespace si {

class LineTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit LineTableModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    static QString columnTitle(int col);
    // The text a cell shows (what the original grid held).
    QString cellText(int row, int col) const;

    // Rows, the trailing empty row included.
    int rows() const { return static_cast<int>(rows_.size()); }
    const InvoiceLine& line(int row) const { return rows_[row]; }
    InvoiceLine& line(int row) { return rows_[row]; }
    const QVector<InvoiceLine>& allRows() const { return rows_; }
    // Rows whose barcode is filled, in grid order.
    QVector<int> filledRows() const;
    int filledCount() const;
    bool isLastRow(int row) const { return row == rows() - 1; }

    // Tell the view a line changed after the logic edited it in place.
    void lineChanged(int row);
    void replaceLine(int row, const InvoiceLine& line);
    // Appends a line before the trailing empty row; returns its row.
    int appendLine(const InvoiceLine& line);
    // Adds an empty row at the end (the original AddNewLine); the trailing row stays empty.
    void AddNewLine();
    void DeleteLine(int row);
    void clear();
    // Keeps exactly one empty row at the end.
    void ensureTrailingEmptyRow();
    void setLines(const QVector<InvoiceLine>& lines);

    // Column widths (0 hides a column), in the original grid's twips-like units.
    int columnWidth(int col) const { return widths_[col]; }
    void setColumnWidth(int col, int width);
    bool isColumnHidden(int col) const { return widths_[col] == 0; }

    // The editable-columns mask: one character per column; DoEditableCol sets a column's
    // editable flag and its second flag (amount cells that accept grouping).
    void setEditable(bool editable) { editable_ = editable; }
    bool isEditable() const { return editable_; }
    void padEditableMask(int columns);
    void DoEditableCol(int col, bool editable, bool secondFlag);
    bool isColumnEditable(int col) const;
    bool columnSecondFlag(int col) const;
    const QString& editableMask() const { return mask_; }
    void setEditableMask(const QString& mask) { mask_ = mask; }

    // The rows, widths and editable mask, to be put back after a command failed.
    struct State {
        QVector<InvoiceLine> rows;
        QVector<int> widths;
        QString mask, second;
        bool editable = false;
    };
    State state() const { return {rows_, widths_, mask_, second_, editable_}; }
    void restore(const State& state);

Q_SIGNALS:
    // The clerk typed text into a cell; the line logic decides.
    void editRequested(int row, int col, const QString& text);
    void widthsChanged();

private:
    QVector<InvoiceLine> rows_;
    QVector<int> widths_;
    QString mask_;
    QString second_;
    bool editable_ = false;
};

}  // namespace si
