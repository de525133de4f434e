#include "search/InvoiceLists.h"

#include "search/InvoiceAccess.h"

namespace si {

InvoiceResultSource InvoiceListSource(const Context& ctx, InvoiceList list,
                                      const QString& whereClause) {
    const QString state =
        list == InvoiceList::Temp ? QStringLiteral("Code =-1 ") : QStringLiteral("Code <>-1");
    const SqlCondition listed{state + whereClause, {}};
    return {listed && InvoiceAccessRestriction(ctx), kListNewest};
}

bool ListOffersBatchFinal(InvoiceList list, const QString& whereClause) {
    return list == InvoiceList::Temp && whereClause.contains(QStringLiteral("TotalValue <="));
}

}  // namespace si
