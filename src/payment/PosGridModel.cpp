#include "payment/PosGridModel.h"

namespace si {

const QStringList& PosGridModel::headers() {
    static const QStringList names{QStringLiteral("ش.ر."),       QStringLiteral("نوع دستگاه"),
                                   QStringLiteral("نام"),        QStringLiteral("درگاه"),
                                   QStringLiteral("نرخ انتقال"), QStringLiteral("حساب")};
    return names;
}

void PosGridModel::setRows(QVector<PosListRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int PosGridModel::rowOf(int id) const {
    for (int i = 0; i < rows_.size(); ++i)
        if (rows_[i].id == id) return i;
    return -1;
}

int PosGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int PosGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(headers().size());
}

QVariant PosGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_.size()) return {};
    if (role != Qt::DisplayRole) return {};
    const PosListRow& r = rows_[index.row()];
    switch (index.column()) {
        case 0:
            return r.id;
        case 1:
            return r.typeName;
        case 2:
            return r.name;
        case 3:
            return r.comPort;
        case 4:
            return r.baudRate > 0 ? QVariant(r.baudRate) : QVariant();
        case 5:
            return r.accountTitle;
        default:
            return {};
    }
}

QVariant PosGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return headers().value(section);
}

}  // namespace si
