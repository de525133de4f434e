#pragma once
// Customer credit control: the constraints of the customer's degree, credit and document credit
// held against the customer's statistics, the promoter's outstanding sales, and the credit
// fields of the header. Its constructor takes over the LoadCustomerCreditUsage seam.

#include "invoice/InvoiceServices.h"

namespace si {

class CreditLogic {
public:
    explicit CreditLogic(InvoiceServices& services);

private:
    InvoiceServices& services_;
};

}  // namespace si
