// System parameters: every kind's conversion, the special rules of 5, 4409 and 4412, the crossed
// per-user overrides, the shop-mode rule, and the statements that fail or find no table.

#include <gtest/gtest.h>

#include "common/SystemParameters.h"
#include "support/ContextTest.h"

namespace si {
namespace {

class SystemParametersTest : public test::ContextTest {
protected:
    SystemParameters load() {
        SystemParameters p;
        LoadSystemParameters(db(), ctx.globals.CurrentUserID, p);
        return p;
    }
};

TEST_P(SystemParametersTest, WithoutRowsEveryDefaultHolds) {
    const SystemParameters p = load();
    EXPECT_TRUE(p.flag(P::EditResetsDate));
    EXPECT_TRUE(p.flag(P::SmsRule));
    EXPECT_FALSE(p.flag(P::ShopMode));
    EXPECT_EQ(p.number(P::MaxPrintCount), 9999);
    EXPECT_EQ(p.number(P::DefaultDays), 45);
    EXPECT_EQ(p.number(P::AgeLimitDays), -1);
    EXPECT_EQ(p.number(P::MaxLineDiscountPercent), 100);
    EXPECT_EQ(p.number(P::MaxMasterDiscountPercent), 100);
    EXPECT_EQ(p.amount(P::MaxLineDiscountValue), Money::fromRials(-1));
    EXPECT_EQ(p.amount(P::MaxMasterDiscountValue), Money::fromRials(-1));
    for (int id : {P::DefaultInvoiceType, P::DefaultCustomer, P::DefaultPromoter,
                   P::DefaultPromoter2, P::DefaultLinePromoter, P::CreditCashBox})
        EXPECT_EQ(p.number(id), -1) << id;
    for (int id : {P::DefaultSampleGoods, P::DefaultFormal, P::DefaultSendSms})
        EXPECT_EQ(p.number(id), 1) << id;
    EXPECT_EQ(p.roundingStep(), 0);
    EXPECT_EQ(p.roundingDirection(), -1);
    EXPECT_EQ(p.number(P::CardNumberUsed), 0);
}

struct KindCase {
    int id;
    const char* value;
    QVariant expected;
};

TEST_P(SystemParametersTest, EachKindConvertsItsText) {
    const KindCase cases[] = {
        {P::MaxLineDiscountPercent, "", 100},
        {P::MaxMasterDiscountPercent, "-5", 100},
        {P::MaxLineDiscountPercent, "12", 12},
        {P::ShopMode, " 1", false},
        {P::ShowBaseQty, " 1", true},
        {P::AccountObjects, "True", false},
        {P::ScaleLayoutList, "True", true},
        {P::ScaleLayoutList, "1", true},
        {P::AgeLimitDays, "3.6", 4},
        {P::AgeLimitDays, "abc", 0},
        {P::StockRule, "2 (inventories)", 2},
        {P::CustomerAccessRule, "2", 2},
        {P::CreditControl, "abc", 0},
        {P::DefaultCustomer, "", -1},
        {P::DefaultCustomer, "1/2", 12},
        {P::MaxPrintCount, "3x", 3},
        {P::MaxPrintCount, "", 0},
        {P::CardNumberUsed, " 1 ", -1},
        {P::CardNumberUsed, "2", 0},
        {P::ScaleLayout1, " 21CCCCCNNFFF", QStringLiteral(" 21CCCCCNNFFF")},
        {P::CashTurnEndpoint, " host:3001 ", QStringLiteral("host:3001")},
    };
    for (const KindCase& c : cases) {
        setParameter(c.id, QString::fromUtf8(c.value));
        const SystemParameters p = load();
        const QVariant got = c.expected.typeId() == QMetaType::Bool      ? QVariant(p.flag(c.id))
                             : c.expected.typeId() == QMetaType::QString ? QVariant(p.text(c.id))
                                                                         : QVariant(p.number(c.id));
        EXPECT_EQ(got, c.expected) << c.id << " <- '" << c.value << "'";
    }
    setParameter(P::MaxLineDiscountValue, QStringLiteral("25/000"));
    EXPECT_EQ(load().amount(P::MaxLineDiscountValue), Money::fromRials(25000));
}

TEST_P(SystemParametersTest, RoundingTakesStepAndDirection) {
    const struct {
        const char* value;
        int step;
        int direction;
    } cases[] = {{"+500", 500, 1}, {"-1000", -1000, -1}, {"100", 100, 0},
                 {"3-", 3, -1},    {"3+", 3, 1},         {"0", 0, 0}};
    for (const auto& c : cases) {
        setParameter(P::GrandTotalRounding, QString::fromLatin1(c.value));
        const SystemParameters p = load();
        EXPECT_EQ(p.roundingStep(), c.step) << c.value;
        EXPECT_EQ(p.roundingDirection(), c.direction) << c.value;
    }
}

TEST_P(SystemParametersTest, CreditCashBoxMustExist) {
    setParameter(P::CreditCashBox, QStringLiteral("7"));
    EXPECT_EQ(load().number(P::CreditCashBox), -1);
    db().exec(QStringLiteral("insert into tblRecPayCash (ID, Name) values (7, ?)"),
              {QStringLiteral("صندوق")});
    EXPECT_EQ(load().number(P::CreditCashBox), 7);
}

TEST_P(SystemParametersTest, OnlyTheLoadedSystemsAndRangesAreRead) {
    setParameter(P::DefaultDays, QStringLiteral("30"), /*systemId=*/5);
    setParameter(P::DefaultInvoiceType, QStringLiteral("4"), /*systemId=*/5);  // read by its ID
    const SystemParameters p = load();
    EXPECT_EQ(p.number(P::DefaultDays), 45);
    EXPECT_EQ(p.number(P::DefaultInvoiceType), 4);
}

TEST_P(SystemParametersTest, PerUserRowsOverrideAndCrossAsWritten) {
    const int user = ctx.globals.CurrentUserID;
    setParameter(P::DefaultPromoter, QStringLiteral("10"));
    setParameter(P::DefaultPromoter2, QStringLiteral("20"));
    setParameter(P::DefaultInvoiceType, QStringLiteral("3"));
    setUserParameter(user, P::DefaultPromoter2, QStringLiteral("11"));  // sets the default promoter
    setUserParameter(user, P::DefaultInvoiceType,
                     QStringLiteral("21"));                 // sets the second promoter
    setUserParameter(user, P::DefaultCustomer, QString());  // empty gives 0, not -1
    setUserParameter(user, P::MaxLineDiscountPercent, QStringLiteral("-3"));
    setUserParameter(user, P::ShowStock, QStringLiteral("1"));
    setUserParameter(user + 100, P::ShowBaseQty, QStringLiteral("1"));  // another user's row
    const SystemParameters p = load();
    EXPECT_EQ(p.number(P::DefaultPromoter), 11);
    EXPECT_EQ(p.number(P::DefaultPromoter2), 21);
    EXPECT_EQ(p.number(P::DefaultInvoiceType), 3);
    EXPECT_EQ(p.number(P::DefaultCustomer), 0);
    EXPECT_EQ(p.number(P::MaxLineDiscountPercent), 100);
    EXPECT_TRUE(p.flag(P::ShowStock));
    EXPECT_FALSE(p.flag(P::ShowBaseQty));
}

TEST_P(SystemParametersTest, ShopModeOverridesItsParameters) {
    for (int id : {P::ShowTempQty, P::BaseUnitPrice, P::RepeatGoods, P::AskLastInvoice,
                   P::WarnNoOpenAccount, P::PositionCustomersOnly})
        setParameter(id, QStringLiteral("1"));
    setParameter(P::LineDescription, QStringLiteral("1"));
    setParameter(P::PromoterRule, QStringLiteral("1"));
    setParameter(P::CustomerAccessRule, QStringLiteral("2"));
    setParameter(P::ShowStock, QStringLiteral("1"));
    setUserParameter(ctx.globals.CurrentUserID, P::ShopMode, QStringLiteral("1"));
    const SystemParameters p = load();
    EXPECT_TRUE(p.flag(P::ShopMode));
    EXPECT_TRUE(p.flag(P::DefaultPaidByCash));
    for (int id :
         {P::ShowTempQty, P::BaseUnitPrice, P::RepeatGoods, P::AskLastInvoice, P::WarnNoOpenAccount,
          P::PositionCustomersOnly, P::LineDescription, P::PromoterRule})
        EXPECT_FALSE(p.flag(id)) << id;
    EXPECT_EQ(p.number(P::CustomerAccessRule), 0);
    EXPECT_TRUE(p.flag(P::ShowStock));  // not one of the shop-mode parameters
}

TEST_P(SystemParametersTest, MissingTablesLeaveDefaultsAndRunsRestoreThem) {
    setParameter(P::DefaultDays, QStringLiteral("30"));
    SystemParameters p = load();
    EXPECT_EQ(p.number(P::DefaultDays), 30);
    db().exec(QStringLiteral("delete from tblZelorSystemParameters"));
    LoadSystemParameters(db(), ctx.globals.CurrentUserID, p);
    EXPECT_EQ(p.number(P::DefaultDays), 45);  // a deleted row takes effect at the next run

    setParameter(P::DefaultDays, QStringLiteral("30"));
    // The tables are dropped inside a transaction that is rolled back: the database is shared
    // by the other tests of this program.
    Transaction keepSchema = db().transaction();
    db().exec(QStringLiteral("DROP TABLE tblZelorSystemParametersUser"));
    EXPECT_EQ(load().number(P::DefaultDays), 30);
    db().exec(QStringLiteral("DROP TABLE tblZelorSystemParameters"));
    EXPECT_EQ(load().number(P::DefaultDays), 45);
}

SI_INSTANTIATE_BACKENDS(SystemParametersTest);

}  // namespace
}  // namespace si
