#pragma once
// Stock on hand of a goods item in an inventory, in base units.
//
// Definition: the receipts (tblInventoryReceiptDetail) minus the dispatches
// (tblInventoryDispatchDetail) of the barcode in the inventory, each quantity times its unit's
// ScaleToBaseParent, dated from the start of the range up to and including the given day, leaving
// out the dispatch that belongs to the invoice being edited (so an invoice never competes with
// its own goods). The range is the whole history, or the active accounting period with
// parameter 78 (a period opens with receipts carrying the stock over).
//
// An inventory whose ancestor (tblInventoryParent) serves wholesale invoice types holds no stock
// of its own for sale: its stock is the ancestor's, found by GetParentInventoryStock, and that
// ancestor may in turn defer to its own ancestor, so a chain is followed upward.

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>

#include "common/Context.h"

namespace si {

struct StockQuery {
    int inventoryId = -1;
    QString barcode;
    QDate asOf;                 // included
    int excludeInvoiceId = -1;  // its dispatch is left out
    QDate from;                 // invalid: the whole history
};

// The stock computation, the parent rule included.
double InventoryStock(Session& s, const StockQuery& query);
// With the range of parameter 78 taken from the context.
double InventoryStock(Context& ctx, int inventoryId, const QString& barcode, const QDate& asOf,
                      int excludeInvoiceId);
// The stock of many barcodes at once (a stored invoice's goods), with the same definition:
// one grouped statement per few hundred barcodes. Barcodes without movements are absent (0).
QHash<QString, double> InventoryStocks(Context& ctx, int inventoryId, const QStringList& barcodes,
                                       const QDate& asOf, int excludeInvoiceId);
// The inventory whose movements make the stock of inventoryId: its farthest ancestor used by
// wholesale invoice types, else the inventory itself.
int StockInventoryID(Session& s, int inventoryId);
// The first day the stock counts, by parameter 78; invalid for the whole history.
QDate StockRangeStart(Context& ctx);
// When the inventory has an ancestor used by wholesale invoice types, the stock computation for
// the farthest such ancestor goes into stock and the result is true.
bool GetParentInventoryStock(Session& s, const StockQuery& query, double& stock);

}  // namespace si
