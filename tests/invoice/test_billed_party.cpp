// Whom each step of the invoice bills, for the combinations of customer and accounting objects
// that a clerk can leave in the header.

#include <gtest/gtest.h>

#include "invoice/BilledParty.h"

namespace si {
namespace {

constexpr int kOrg = ObjectClass::Organization;
constexpr int kBank = 3;  // any other class of accounting object
constexpr AccountingObject kNone{};

struct Header {
    const char* what;
    int customer;
    AccountingObject object1;
    AccountingObject object2;
};

BilledParties partiesOf(const Header& h) {
    BilledParties p;
    p.customerId = h.customer;
    p.object1 = h.object1;
    p.object2 = h.object2;
    p.object1InUse = h.object1.classId != -1;
    return p;
}

struct Expected {
    int billed;
    int sms;
    AccountingObject closed;
    AccountingObject ceilingAsk;
    AccountingObject ceilingRefuse;
    std::optional<AccountingObject> dispatch;
};

TEST(BilledParty, EachStepBillsWhomItsRuleNames) {
    const AccountingObject org1{kOrg, 11}, org2{kOrg, 12}, bank1{kBank, 21}, bank2{kBank, 22};
    const std::pair<Header, Expected> cases[] = {
        {{"a customer alone", 5, kNone, kNone},
         {5, 5, kNone, kNone, kNone, AccountingObject{kOrg, 5}}},
        {{"nobody", -1, kNone, kNone}, {-1, -1, kNone, kNone, kNone, std::nullopt}},
        {{"customer and objects: the customer is billed", 5, org1, bank2},
         {5, 5, org1, bank2, org1, bank2}},
        {{"an organisation as object 1", -1, org1, bank2}, {11, 11, org1, bank2, org1, bank2}},
        {{"an organisation as object 2", -1, bank1, org2}, {12, 21, org2, bank1, org2, bank1}},
        {{"two organisations: object 1 first", -1, org1, org2}, {11, 11, org2, org2, org2, org2}},
        {{"no organisation among the objects", -1, bank1, bank2},
         {-1, 21, bank1, bank1, bank1, bank1}},
        {{"object 1 of class organisation left empty", -1, {kOrg, -1}, org2},
         {12, 12, org2, org2, org2, org2}},
    };
    for (const auto& [header, expected] : cases) {
        SCOPED_TRACE(header.what);
        const BilledParties p = partiesOf(header);
        EXPECT_EQ(BilledOrganization(p), expected.billed);
        EXPECT_EQ(SmsRecipient(p, true), expected.sms);
        EXPECT_EQ(SmsRecipient(p, false), header.customer);
        EXPECT_EQ(ClosedStateObject(p), expected.closed);
        EXPECT_EQ(DebitCeilingObject(p, CeilingUse::Ask), expected.ceilingAsk);
        EXPECT_EQ(DebitCeilingObject(p, CeilingUse::Refuse), expected.ceilingRefuse);
        EXPECT_EQ(DispatchRelatedParty(p), expected.dispatch);
    }
}

// The discounts follow the customer field when the type shows it, else only object 1.
TEST(BilledParty, DiscountsFollowTheCustomerFieldOrObjectOne) {
    BilledParties p;
    p.customerId = -1;
    p.object1 = {kOrg, 11};
    p.object2 = {kOrg, 12};
    p.object1InUse = true;
    EXPECT_EQ(DiscountCustomer(p), -1);  // the field is in use, and empty
    p.customerInUse = false;
    EXPECT_EQ(DiscountCustomer(p), 11);
    p.object1 = {kBank, 21};
    EXPECT_EQ(DiscountCustomer(p), -1);  // object 2 never counts
    p.customerInUse = true;
    p.customerId = 5;
    EXPECT_EQ(DiscountCustomer(p), 5);
}

}  // namespace
}  // namespace si
