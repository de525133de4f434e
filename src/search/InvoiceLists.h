#pragma once
// The list panel's two lists: the newest 1,000 temporary or final invoices, narrowed by the host's
// WhereClause and the user's access. The WhereClause is the one SQL fragment taken from outside:
// the host program writes it (with its own leading " and "), never a user.

#include <QString>

#include "common/Context.h"
#include "search/InvoiceResultModel.h"

namespace si {

enum class InvoiceList { Temp, Final };

inline constexpr int kListNewest = 1000;

InvoiceResultSource InvoiceListSource(const Context& ctx, InvoiceList list,
                                      const QString& whereClause);
// The batch commands belong to a temp list that the host limited by total.
bool ListOffersBatchFinal(InvoiceList list, const QString& whereClause);

}  // namespace si
