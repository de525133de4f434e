#pragma once
// Whom an invoice bills: the customer and the header's two accounting objects with their classes.
// Each place that picks one of them follows a rule of its own; each rule is stated once here
// and named after the place that asks it.

#include <optional>

namespace si {

class InvoiceDocument;

namespace ObjectClass {
// The accounting-object class of organisations (customers).
inline constexpr int Organization = 7;
// Employees: people rather than organisations.
inline constexpr int Employee = 9;
}  // namespace ObjectClass

struct AccountingObject {
    int classId = -1;
    int id = -1;  // -1 when the field is empty

    bool filled() const { return id != -1; }
    bool isOrganization() const { return classId == ObjectClass::Organization; }
    bool operator==(const AccountingObject&) const = default;
};

struct BilledParties {
    int customerId = -1;  // -1 when the field is empty
    // The customer field stands for an accounting object (the invoice type's account has one).
    bool customerInUse = true;
    bool object1InUse = false;
    AccountingObject object1;
    AccountingObject object2;

    static BilledParties of(const InvoiceDocument& doc);
};

// The organisation the save and the credit checks bill: the customer, else the first accounting
// object of class organisation (object 1 before object 2); -1 when none.
int BilledOrganization(const BilledParties& p);

// The customer whose card and birthday discounts apply: the customer when its field is in use,
// else object 1 when it is an organisation; -1 when none.
int DiscountCustomer(const BilledParties& p);

// The customer the invoice's text message goes to: the customer, else (with accounting objects)
// object 1 when filled, else object 2.
int SmsRecipient(const BilledParties& p, bool accountObjects);

// The customer a promoter's text message names: object 1 with accounting objects, else the
// customer.
int PromoterSmsCustomer(const BilledParties& p, bool accountObjects);

// The customer a printed invoice and the credit printout name: object 1 with accounting objects,
// else the customer (an organisation).
AccountingObject PrintedCustomer(const BilledParties& p, bool accountObjects);

// The object whose closed state the final save checks with accounting objects: object 2 when it
// is an organisation, else object 1.
AccountingObject ClosedStateObject(const BilledParties& p);

// The object of the debit ceiling with accounting objects. Asking (the clerk may go on): object 2
// when object 1 is an organisation, else object 1. Refusing (without the right): object 2 when
// object 2 is an organisation, else object 1.
enum class CeilingUse { Ask, Refuse };
AccountingObject DebitCeilingObject(const BilledParties& p, CeilingUse use);

// The related party of the inventory dispatch: object 1 when filled and not an organisation,
// else object 2 when filled and of a class, else the customer; none when all are empty.
std::optional<AccountingObject> DispatchRelatedParty(const BilledParties& p);

}  // namespace si
