#pragma once
// Line discounts beyond the price list: the customer's card and birthday discounts, the clerk's
// minimum, splitting a stored line's discount into its kinds, the master discount by invoice
// value, and the promotion pass that sets promotion percents and adds free goods (flexEch).
// Its constructor takes over the discount seams of InvoiceServices.

#include "invoice/InvoiceServices.h"

namespace si {

class DiscountLogic {
public:
    explicit DiscountLogic(InvoiceServices& services);

private:
    InvoiceServices& services_;
};

}  // namespace si
