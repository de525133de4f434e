#pragma once
// The terminal grid (flexPOS): one row per terminal of the listed user, newest first, in the
// columns "ش.ر.", "نوع دستگاه", "نام", "درگاه", "نرخ انتقال", "حساب".

#include <QAbstractTableModel>
#include <QVector>

#include "payment/PosStore.h"

namespace si {

class PosGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    static const QStringList& headers();

    void setRows(QVector<PosListRow> rows);
    const QVector<PosListRow>& rows() const { return rows_; }
    // The row of a terminal, -1 when it is not listed.
    int rowOf(int id) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QVector<PosListRow> rows_;
};

}  // namespace si
