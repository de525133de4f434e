#pragma once
// The goods picker of the invoice form: a search over the goods of the invoice's inventory by
// code, barcode or name, typed with either keyboard (the fold of look-ups), each found goods item
// with its unit, the price a new line of it would get and its stock in the inventory. Picking
// enters the goods into a row exactly as typing its barcode there would, or makes it the row's
// serviced goods.
//
// A search reads at most `limit` goods of each kind of match: the code, barcode and name
// prefixes through their indexes, and a name that contains the text only when the prefixes left
// room and kContainsFrom characters or more, not a number, were typed. The prices and the stock of
// what was found are asked together.

#include <QString>
#include <QVector>

#include "common/Money.h"
#include "invoice/InvoiceServices.h"

namespace si {

struct PickerRow {
    QString barcode;
    QString code;
    QString name;
    QString unitName;
    Money price;       // of the sale unit, as a new line would get it
    double stock = 0;  // on hand in the invoice's inventory, base units
};

class GoodsPicker {
public:
    static constexpr int kRows = 50;

    explicit GoodsPicker(InvoiceServices& services) : services_(services) {}

    QVector<PickerRow> search(const QString& typed, int limit = kRows);
    // The row's goods, as if its barcode were typed into column 1; false when refused.
    bool pick(int row, const QString& barcode);
    // The row's serviced goods (F3 in column 5); false when the row is empty or no such goods.
    bool pickServiced(int row, const QString& barcode);

private:
    int inventoryId() const;

    InvoiceServices& services_;
};

}  // namespace si
