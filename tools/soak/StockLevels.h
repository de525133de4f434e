#pragma once
// Stock on hand per inventory and barcode, in base units, for the inventories whose sales the
// stock rule holds (parameter 13: 1 every inventory, 2 those with CheckExistance). Counted as the
// save counts it: receipts minus dispatches from the start of the range (the active period with
// parameter 78, else the whole history) to the end of a day. An inventory that takes its stock
// from a wholesale ancestor is left out: its own movements are not what its sales are held to.

#include <QDate>
#include <QHash>
#include <QPair>
#include <QString>

#include "common/Session.h"

namespace si::soak {

using StockKey = QPair<int, QString>;  // inventory, barcode
using StockLevels = QHash<StockKey, double>;

StockLevels CheckedStockLevels(Session& s, const QDate& asOf);

// A system parameter as the invoice form reads it for the user (the user's own row wins).
int ParameterNumber(Session& s, int parameter, int user);
bool ParameterFlag(Session& s, int parameter, int user);

}  // namespace si::soak
