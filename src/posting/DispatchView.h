#pragma once
// What the dispatch viewer shows of one inventory dispatch: its header with the names of what it
// refers to, and its lines with the goods and unit names. Read-only.

#include <QString>
#include <QVector>
#include <optional>

#include "common/Money.h"
#include "common/Session.h"

namespace si {

struct DispatchViewLine {
    QString barcode;
    QString goodName;
    QString unitName;
    double qty = 0;
    QString description;
};

struct DispatchViewData {
    int id = 0;
    QString code;
    QString inventoryName;
    QString typeName;
    QString farsiReceiveDate;
    QString notes;
    QVector<DispatchViewLine> lines;
};

// The dispatch with its lines in barcode order; nullopt when it is not stored.
std::optional<DispatchViewData> LoadDispatchView(Session& s, int dispatchId);

}  // namespace si
