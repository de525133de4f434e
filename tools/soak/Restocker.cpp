#include "Restocker.h"

#include <algorithm>
#include <cmath>

#include "common/Jalali.h"
#include "common/Stock.h"

namespace si::soak {

namespace {

// Pieces of the goods held by temporary invoices of the inventory, in base units: the line entry
// counts them as sold (parameter 88).
double heldByTemporaries(Session& s, int inventory, const QString& barcode) {
    return s
        .scalar(QStringLiteral("SELECT coalesce(sum(coalesce(d.Qty, 0) * "
                               "coalesce(sc.ScaleToBaseParent, 1)), 0) FROM tblSaleInvoiceDetail d "
                               "JOIN tblSaleInvoice i ON i.ID = d.InvoiceID LEFT JOIN tblGoodScale "
                               "sc ON sc.ID = d.ScaleID WHERE i.Code IS NULL AND i.InventoryID = ? "
                               "AND d.Barcode = ?"),
                {inventory, barcode})
        .toDouble();
}

}  // namespace

Restocker::Restocker(SoakDatabase& db, quint32 seed) : db_(db), random_(seed) {
    connect(&timer_, &QTimer::timeout, this, &Restocker::deliver);
}

void Restocker::deliver() {
    const Catalogue& c = db_.catalogue;
    try {
        auto s = Session::open(db_.connection);
        const QDate day = db_.scope.day;
        auto tx = s->writerTransaction();
        QVector<QPair<QString, int>> lots;
        for (const QString& barcode : c.scarceGoods) {
            const double onHand =
                InventoryStock(*s, StockQuery{c.inventory, barcode, day, -1, QDate()});
            const StockKey key{c.inventory, barcode};
            if (!db_.scope.lowestSeen.contains(key) || onHand < db_.scope.lowestSeen.value(key))
                db_.scope.lowestSeen.insert(key, onHand);
            const double free = onHand - heldByTemporaries(*s, c.inventory, barcode);
            if (free >= 1) continue;
            // Back to 2..10 pieces free for sale, on top of what temporary invoices hold.
            lots.append({barcode, static_cast<int>(std::ceil(std::max(0.0, -free))) + 2 +
                                      static_cast<int>(random_.bounded(9))});
        }
        if (lots.isEmpty()) return;
        const qint64 receipt = s->insertReturningId(
            QStringLiteral("INSERT INTO tblInventoryReceipt (InventoryID, CreatorID, ReceiveDate, "
                           "FarsiReceiveDate, CreateDate, FarsiCreateDate, Notes) VALUES "
                           "(?, ?, ?, ?, ?, ?, ?) RETURNING ID"),
            {c.inventory, c.adminUser, day, getFarsiDate(day), day, getFarsiDate(day),
             QStringLiteral("رسيد كالا")});
        int row = 0;
        for (const auto& [barcode, pieces] : lots)
            s->exec(QStringLiteral("INSERT INTO tblInventoryReceiptDetail (ReceiptID, RowNumber, "
                                   "Barcode, Qty, ScaleID, ScaleQty, Description) SELECT ?, ?, "
                                   "Barcode, ?, ScaleID, ?, ? FROM tblGood WHERE Barcode = ?"),
                    {receipt, ++row, pieces, pieces, QStringLiteral(""), barcode});
        tx.commit();
        ++deliveries_.receipts;
        for (const auto& lot : lots)
            deliveries_.pieces += lot.second;
    } catch (const std::exception&) {
        ++deliveries_.failed;
    }
}

}  // namespace si::soak
