#include "invoice/PricingLogic.h"

namespace si {

PricingLogic::PricingLogic(InvoiceServices& services) : services_(services) {}

SqlCondition PricingLogic::userMethodFilter(int userId) {
    return {QStringLiteral(
                "ID in (Select x.PricingMethodID from tblSalePricingMethodUser x Where x.UserID=?)"
                " and ID in (Select x.ID from tblSalePricingMethod x where "
                "coalesce(x.MakeVisibleInSelection,1) = 1)"),
            {userId}};
}

int PricingLogic::getUserPricingMethodID(int userId) {
    const QVariant id = services_.ctx.db().scalar(
        QStringLiteral("Select PricingMethodID from tblSalePricingMethodUser Where UserID=? "
                       "Order by coalesce(IsDefault,0) desc, coalesce(Sequence,999)"),
        {userId});
    return id.isNull() ? 0 : id.toInt();
}

PriceLookup PricingLogic::lookupPrice(const QString& barcode, int method) {
    PriceLookup p;
    auto row = services_.ctx.db().first(
        QStringLiteral("select coalesce(a.RetailPrice, (select g.RetailPrice from tblGood g Where "
                       "g.Barcode=a.Barcode)) as RetailPrice "
                       ", coalesce(a.IsDiscountInPercent,1) as IsDiscountInPercent"
                       ", coalesce(a.DiscountPercent,0) as DiscountPercent"
                       ", coalesce(a.DiscountValue,0) as DiscountValue "
                       " from tblGoodSaleInfo a  where a.Barcode=? and a.PricingMethodID=?"),
        {barcode, method});
    if (!row) return p;
    p.found = true;
    p.RetailPrice = row->money(u"RetailPrice");
    p.IsDiscountInPercent = row->toBool(u"IsDiscountInPercent");
    p.DiscountPercent = row->toDouble(u"DiscountPercent");
    p.DiscountValue = row->money(u"DiscountValue");
    return p;
}

void PricingLogic::sltPricingMethod_Change() {}
SqlCondition PricingLogic::lineMethodFilter(const QString&) const {
    return {};
}
Money PricingLogic::methodPrice(const QString&, int) {
    return {};
}
bool PricingLogic::applyLineMethod(int, int, const QString&, Money) {
    return false;
}
int PricingLogic::defaultLinePromoter(int) const {
    return -1;
}
bool PricingLogic::applyLinePromoter(int, int, const QString&) {
    return false;
}
bool PricingLogic::CheckPricingMethods() {
    return true;
}

}  // namespace si
