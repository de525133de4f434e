// What the display shows for each line it receives: the invoice's grand total in Persian digits
// and the cash box, and nothing new for a line that is not "CashID,InvoiceID" of an invoice.

#include "DisplayFixture.h"
#include "apps/display/CashDisplayState.h"

namespace si::test {
namespace {

using display::CashDisplayState;
using Outcome = CashDisplayState::Outcome;

class DisplayStateTest : public DisplayTest {};

TEST_P(DisplayStateTest, ShowsTheGrandTotalInPersianDigitsAndTheCashBox) {
    CashDisplayState state(db());
    EXPECT_FALSE(state.hasAmount());
    EXPECT_EQ(state.amountText(), QStringLiteral("خوش آمديد"));
    EXPECT_EQ(state.caption(), QString());

    ASSERT_EQ(state.receive(lineOf(cashBox, firstInvoice)), Outcome::Shown);
    EXPECT_EQ(state.caption(), QStringLiteral("مبلغ قابل پرداخت"));
    EXPECT_EQ(state.amountText(), QStringLiteral("۳۴/۴۱۱/۰۰۰ ريال"));
    EXPECT_EQ(state.cashName(), QStringLiteral("صندوق يك"));
    // A line end or blanks around the line do not matter.
    ASSERT_EQ(state.receive(" " + lineOf(cashBox, secondInvoice) + "\r\n"), Outcome::Shown);
    EXPECT_EQ(state.amountText(), QStringLiteral("۱/۲۵۰/۰۰۰ ريال"));
}

TEST_P(DisplayStateTest, MalformedLinesLeaveTheLastAmount) {
    CashDisplayState state(db());
    ASSERT_EQ(state.receive(lineOf(cashBox, firstInvoice)), Outcome::Shown);
    const QByteArray invoice = QByteArray::number(secondInvoice);
    const QList<QByteArray> lines = {QByteArray(),
                                     "   ",
                                     invoice,
                                     "1," + invoice + ",3",
                                     "1;" + invoice,
                                     "1, " + invoice,
                                     "x," + invoice,
                                     "1," + invoice + "x",
                                     "1,-" + invoice,
                                     "1,0",
                                     "1,",
                                     "," + invoice,
                                     "1,99999999999999999999",
                                     "-1," + invoice};
    for (const QByteArray& line : lines) {
        EXPECT_EQ(state.receive(line), Outcome::Malformed) << line.toStdString();
        EXPECT_EQ(state.amountText(), QStringLiteral("۳۴/۴۱۱/۰۰۰ ريال")) << line.toStdString();
        EXPECT_EQ(state.cashName(), QStringLiteral("صندوق يك"));
    }
}

TEST_P(DisplayStateTest, UnknownInvoiceLeavesTheLastAmountAndUnknownCashBoxHasNoName) {
    CashDisplayState state(db());
    ASSERT_EQ(state.receive(lineOf(cashBox, firstInvoice)), Outcome::Shown);
    EXPECT_EQ(state.receive(lineOf(cashBox, secondInvoice + 100)), Outcome::UnknownInvoice);
    EXPECT_EQ(state.amountText(), QStringLiteral("۳۴/۴۱۱/۰۰۰ ريال"));

    EXPECT_EQ(state.receive(lineOf(cashBox + 100, secondInvoice)), Outcome::Shown);
    EXPECT_EQ(state.amountText(), QStringLiteral("۱/۲۵۰/۰۰۰ ريال"));
    EXPECT_EQ(state.cashName(), QString());
}

SI_INSTANTIATE_BACKENDS(DisplayStateTest);

}  // namespace
}  // namespace si::test
