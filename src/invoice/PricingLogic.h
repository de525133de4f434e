#pragma once
// Pricing methods: the methods a user may choose, the user's default, the price look-up of a
// goods item under a method, re-pricing the lines when the header's method changes, the per-line
// choice of method (FormPricingMethod) and promoter (FormPromoter), and the check on saving.

#include <QMetaObject>
#include <QString>

#include "common/SqlCondition.h"
#include "invoice/GoodsLookups.h"
#include "invoice/InvoiceServices.h"

namespace si {

class PricingLogic {
public:
    // Runs sltPricingMethod_Change whenever the header's method selector changes.
    explicit PricingLogic(InvoiceServices& services);
    ~PricingLogic();
    PricingLogic(const PricingLogic&) = delete;
    PricingLogic& operator=(const PricingLogic&) = delete;

    // The user's default method (IsDefault first, then Sequence; nulls count 0 and 999); 0 when
    // none.
    int getUserPricingMethodID(int userId);
    static SqlCondition userMethodFilter(int userId);
    PriceLookup lookupPrice(const QString& barcode, int method);

    // sltPricingMethod changed: only in modes 1 and 2 once the form is loaded, with a method and
    // goods lines; asks once, then re-prices every line not yet on the method.
    void sltPricingMethod_Change();
    // The re-pricing itself, without the question (the header method taken from a customer's or
    // an employee's own method). Returns the number of lines changed.
    int ApplyMethodToLines(int method);
    // The method's name (column 40); empty when it does not exist.
    QString methodName(int method);

    // FormPricingMethod for a line: the methods that have a price for the goods and that the
    // user may use, the price of one, and OK (right 90139, a method chosen). False after the
    // refusal message.
    SqlCondition lineMethodFilter(const QString& barcode) const;
    Money methodPrice(const QString& barcode, int method);
    bool applyLineMethod(int row, int method, const QString& name, Money shownPrice);

    // FormPromoter for a line: OK needs right 90139, a promoter, and a leaf promoter.
    int defaultLinePromoter(int row) const;
    // The promoter's name as the promoter list shows it (column 42).
    QString promoterName(int promoter);
    bool applyLinePromoter(int row, int promoter, const QString& promoterName);

    // The save-time check of the header's and the lines' methods; false after its message.
    bool CheckPricingMethods();

private:
    bool repriceLine(int row, int method, const QString& name);

    InvoiceServices& services_;
    QMetaObject::Connection methodChanged_;
};

}  // namespace si
