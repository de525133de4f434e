#include "invoice/BilledParty.h"

#include "invoice/InvoiceDocument.h"

namespace si {

namespace {

int idOf(const SelectorModel& field) {
    return field.IsEmpty() ? -1 : field.ID();
}

}  // namespace

BilledParties BilledParties::of(const InvoiceDocument& doc) {
    BilledParties p;
    p.customerId = idOf(doc.sltCustomer);
    p.customerInUse = doc.sltCustomer.objectInUse();
    p.object1InUse = doc.sltObject1.objectInUse();
    p.object1 = {doc.Object1ClassID, idOf(doc.sltObject1)};
    p.object2 = {doc.Object2ClassID, idOf(doc.sltObject2)};
    return p;
}

int BilledOrganization(const BilledParties& p) {
    if (p.customerId > 0) return p.customerId;
    for (const AccountingObject& o : {p.object1, p.object2})
        if (o.isOrganization() && o.id > 0) return o.id;
    return -1;
}

int DiscountCustomer(const BilledParties& p) {
    if (p.customerInUse) return p.customerId;
    if (p.object1InUse && p.object1.isOrganization() && p.object1.filled()) return p.object1.id;
    return -1;
}

int SmsRecipient(const BilledParties& p, bool accountObjects) {
    if (p.customerId != -1 || !accountObjects) return p.customerId;
    return p.object1.filled() ? p.object1.id : p.object2.id;
}

int PromoterSmsCustomer(const BilledParties& p, bool accountObjects) {
    return accountObjects ? p.object1.id : p.customerId;
}

AccountingObject PrintedCustomer(const BilledParties& p, bool accountObjects) {
    if (accountObjects) return p.object1;
    return {ObjectClass::Organization, p.customerId};
}

AccountingObject ClosedStateObject(const BilledParties& p) {
    return p.object2.isOrganization() ? p.object2 : p.object1;
}

AccountingObject DebitCeilingObject(const BilledParties& p, CeilingUse use) {
    const bool second =
        use == CeilingUse::Ask ? p.object1.isOrganization() : p.object2.isOrganization();
    return second ? p.object2 : p.object1;
}

std::optional<AccountingObject> DispatchRelatedParty(const BilledParties& p) {
    if (p.object1.filled() && p.object1.classId > 0 && !p.object1.isOrganization())
        return p.object1;
    if (p.object2.filled() && p.object2.classId > 0) return p.object2;
    if (p.customerId != -1) return AccountingObject{ObjectClass::Organization, p.customerId};
    return std::nullopt;
}

}  // namespace si
