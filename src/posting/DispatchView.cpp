#include "posting/DispatchView.h"

namespace si {

std::optional<DispatchViewData> LoadDispatchView(Session& s, int dispatchId) {
    auto header = s.first(
        QStringLiteral("select d.ID, d.Code, d.FarsiReceiveDate, d.Notes, i.Name as "
                       "InventoryName, t.Name as TypeName from tblInventoryDispatch d left join "
                       "tblInventory i on i.ID = d.InventoryID left join "
                       "tblInventoryDispatchType t on t.ID = d.TypeID where d.ID = ?"),
        {dispatchId});
    if (!header) return std::nullopt;
    DispatchViewData data;
    data.id = header->toInt(u"ID");
    data.code = header->text(u"Code");
    data.inventoryName = header->text(u"InventoryName");
    data.typeName = header->text(u"TypeName");
    data.farsiReceiveDate = header->text(u"FarsiReceiveDate");
    data.notes = header->text(u"Notes");
    for (const Row& r : s.query(
             QStringLiteral("select x.Barcode, g.Name as GoodName, u.Name as UnitName, x.Qty, "
                            "x.Description from tblInventoryDispatchDetail x left join tblGood g "
                            "on g.Barcode = x.Barcode left join tblGoodScale u on u.ID = "
                            "x.ScaleID where x.DispatchID = ? order by x.Barcode, x.ScaleID, "
                            "x.ID"),
             {dispatchId}))
        data.lines.append({r.text(u"Barcode"), r.text(u"GoodName"), r.text(u"UnitName"),
                           r.toDouble(u"Qty"), r.text(u"Description")});
    return data;
}

}  // namespace si
