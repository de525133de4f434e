// The walk-in buyer's rules as the cashier meets them: a phone in Latin, Persian or Arabic-Indic
// digits stored in Latin ones, an optional leading "+", 7 to 15 digits; a phone needs a name; an
// empty pair clears the buyer.

#include <gtest/gtest.h>

#include "invoice/FormTestSupport.h"
#include "invoice/WalkInBuyer.h"

namespace si {
namespace {

const QString kPhoneProblem = QStringLiteral(
    "«تلفن خريدار» بايد 7 تا 15 رقم باشد و جز يك علامت + در ابتداي آن نويسه ديگري نداشته باشد.");

struct PhoneCase {
    const char16_t* typed;
    const char* stored;  // nullptr: refused
};

TEST(WalkInBuyerTest, PhonesAreStoredInLatinDigitsOrRefused) {
    const PhoneCase cases[] = {
        {u"09121234567", "09121234567"},
        {u"۰۹۱۲۱۲۳۴۵۶۷", "09121234567"},            // Persian digits
        {u"٠٩١٢١٢٣٤٥٦٧", "09121234567"},            // Arabic-Indic digits
        {u"+۹۸۹۱۲۱۲۳۴۵۶۷", "+989121234567"},        // a leading plus
        {u"  ۰۲۱٥٥١٢3 ", "02155123"},               // mixed digits, trimmed
        {u"1234567", "1234567"},                    // the fewest digits
        {u"+123456789012345", "+123456789012345"},  // the most, with the plus
        {u"123456", nullptr},                       // one digit short
        {u"+123456", nullptr},                      // the plus is no digit
        {u"1234567890123456", nullptr},             // one digit over
        {u"0912 123 4567", nullptr},                // a blank inside
        {u"0912-123-4567", nullptr},                // a dash
        {u"0912123456+", nullptr},                  // a plus after the first place
        {u"++9891212345", nullptr},
        {u"+", nullptr},
        {u"0912123456x", nullptr},
        {u"०९१२१२३४५६७", nullptr},  // Devanagari digits are not taken
    };
    for (const PhoneCase& c : cases) {
        const QString typed = QString::fromUtf16(c.typed);
        const std::optional<QString> stored = StoredPhone(typed);
        if (!c.stored) {
            EXPECT_FALSE(stored) << typed.toStdString();
            const WalkInEntry entry = ReadWalkInBuyer(QStringLiteral("رضا"), typed);
            EXPECT_EQ(entry.problem, kPhoneProblem) << typed.toStdString();
            EXPECT_TRUE(entry.phoneAtFault);
            EXPECT_TRUE(entry.buyer.isEmpty());
            continue;
        }
        ASSERT_TRUE(stored) << typed.toStdString();
        EXPECT_EQ(*stored, QString::fromLatin1(c.stored));
        const WalkInEntry entry = ReadWalkInBuyer(QStringLiteral(" رضا احمدی "), typed);
        EXPECT_TRUE(entry.ok()) << entry.problem.toStdString();
        EXPECT_EQ(entry.buyer.name, QStringLiteral("رضا احمدی"));
        EXPECT_EQ(entry.buyer.phone, QString::fromLatin1(c.stored));
    }
}

TEST(WalkInBuyerTest, TheNameIsNeededForAPhoneAndHeldToItsLength) {
    const WalkInEntry nameOnly = ReadWalkInBuyer(QStringLiteral("مریم"), QStringLiteral("  "));
    EXPECT_TRUE(nameOnly.ok());
    EXPECT_TRUE(nameOnly.buyer == (WalkInBuyer{QStringLiteral("مریم"), QString()}));

    const WalkInEntry phoneOnly =
        ReadWalkInBuyer(QStringLiteral(" "), QStringLiteral("09121234567"));
    EXPECT_EQ(phoneOnly.problem,
              QStringLiteral("«نام خريدار» را هم وارد كنيد؛ تلفن بدون نام خريدار ثبت نمي شود."));
    EXPECT_FALSE(phoneOnly.phoneAtFault);
    EXPECT_TRUE(phoneOnly.buyer.isEmpty());

    EXPECT_TRUE(ReadWalkInBuyer(QString(100, u'ن'), QString()).ok());
    const WalkInEntry tooLong = ReadWalkInBuyer(QString(101, u'ن'), QStringLiteral("1234567"));
    EXPECT_EQ(tooLong.problem,
              QStringLiteral("طول «نام خريدار» 101 نويسه است و حداكثر 100 نويسه مجاز است."));
    EXPECT_FALSE(tooLong.phoneAtFault);
    EXPECT_TRUE(tooLong.buyer.isEmpty());
}

TEST(WalkInBuyerTest, AnEmptyPairClearsTheBuyer) {
    const WalkInEntry cleared = ReadWalkInBuyer(QStringLiteral("  "), QString());
    EXPECT_TRUE(cleared.ok());
    EXPECT_TRUE(cleared.buyer.isEmpty());
}

// The buyer is typed while the invoice is entered or edited and is part of the invoice the
// form holds, so a changed buyer is a change that Edit asks about; a new invoice starts without.
class WalkInFormTest : public test::FormTest {};

TEST_P(WalkInFormTest, TheBuyerBelongsToTheInvoiceBeingEntered) {
    form->ClearShow();
    EXPECT_FALSE(WalkInBuyerEditable(form->FormMode()));
    form->cmdNew_Click();
    ASSERT_EQ(form->FormMode(), kModeNew);
    EXPECT_TRUE(WalkInBuyerEditable(form->FormMode()));
    form->doc().walkIn = {QStringLiteral("رضا"), QStringLiteral("09121234567")};
    EXPECT_TRUE(form->doc().toInvoice().walkIn == form->doc().walkIn);
    messages.answerNo();
    form->cmdEdit_Click();  // unsaved changes: asked, and kept on no
    EXPECT_EQ(messages.texts().size(), 1);
    EXPECT_EQ(form->doc().walkIn.name, QStringLiteral("رضا"));
    messages.answerYes();
    form->cmdCancel_Click();
    form->cmdNew_Click();
    EXPECT_TRUE(form->doc().walkIn.isEmpty());
    EXPECT_FALSE(form->doc().walkInStored);
}

SI_INSTANTIATE_BACKENDS(WalkInFormTest);

}  // namespace
}  // namespace si
