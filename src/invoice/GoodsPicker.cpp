#include "invoice/GoodsPicker.h"

#include "invoice/GoodsLookups.h"
#include "invoice/LineLookups.h"
#include "invoice/LinesLogic.h"

namespace si {

int GoodsPicker::inventoryId() const {
    const SelectorModel& inventory = services_.doc.sltInventory;
    return inventory.IsEmpty() ? -1 : inventory.ID();
}

QVector<PickerRow> GoodsPicker::search(const QString& typed, int limit) {
    const QVector<GoodInfo> goods = SearchGoods(services_.ctx.db(), typed, inventoryId(), limit);
    QStringList barcodes;
    for (const GoodInfo& good : goods)
        barcodes << good.BarCode;
    // Priced and counted as the grid does, the found goods asked together.
    const LineLookups::Batch batch(*services_.lookups, barcodes);
    LinesLogic& lines = *services_.lines;
    QVector<PickerRow> rows;
    rows.reserve(goods.size());
    for (const GoodInfo& good : goods)
        rows.push_back({good.BarCode, good.Code, good.Name, good.UnitName, lines.PriceOf(good),
                        inventoryId() > 0 ? lines.StockOnHand(good.BarCode) : 0});
    return rows;
}

bool GoodsPicker::pick(int row, const QString& barcode) {
    return services_.lines->enterPickedGoods(row, barcode);
}

bool GoodsPicker::pickServiced(int row, const QString& barcode) {
    return services_.lines->setServicedGoods(row, barcode);
}

}  // namespace si
