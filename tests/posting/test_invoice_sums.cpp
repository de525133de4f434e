// The sums the invoice lists read stored on the invoice follow every save: a new invoice, lines
// removed, added and changed, a changed surcharge, deduction and master discount, and the final
// save, each compared with the sums computed afresh from the stored lines.

#include "PostingTestSupport.h"
#include "support/InvoiceSumsCheck.h"

namespace si::test {
namespace {

class InvoiceSumsTest : public PostingTest {
protected:
    void SetUp() override {
        PostingTest::SetUp();
        AddGood(db(), QStringLiteral("1003"), QStringLiteral("1003"), QStringLiteral("كالا 1003"),
                1000, unit);
        Receive(db(), inventory, QStringLiteral("1003"), 1000, QDate(2026, 1, 1));
    }

    // Two sold lines, one with a line discount, a free-goods line of the first goods, a
    // surcharge, a deduction and a master discount.
    void fillInvoice() {
        InvoiceLine discounted = line(QStringLiteral("1001"), 2, 1500);
        discounted.DiscountValue = Money::fromRials(300);
        discounted.NetAmount = Money::fromRials(2700);
        discounted.LineTotal = discounted.NetAmount;
        InvoiceLine weighed = line(QStringLiteral("1002"), 1.5, 700);
        weighed.ScaleID = AddUnit(db(), QStringLiteral("كيلوگرم"), 1, false);
        newInvoice({discounted, weighed});
        InvoiceLine free = line(QStringLiteral("1001"), 1, 1500);
        free.IsEchantillon = true;
        InvoiceDocument& d = form->doc();
        d.flexEch.appendLine(free);
        d.surcharges = {{1, QString(), Money::fromRials(400)}};
        d.deductions = {{1, QString(), Money::fromRials(100), 2.5}};
        d.masterDiscountKind = MasterDiscountKind::Value;
        d.totals.MasterDiscountValue = Money::fromRials(250);
        d.totals.SuCharge = Money::fromRials(400);
        d.totals.Decs = Money::fromRials(100);
    }

    void saveAndExpectFreshSums(bool final, const char* step) {
        ASSERT_TRUE(save->SaveInvoice(final))
            << step << ": " << messages.texts().join(u'\n').toStdString();
        EXPECT_EQ(StaleInvoiceSums(db()), QStringList()) << step;
    }

    Row stored() {
        return *db().first(QStringLiteral("select * from tblSaleInvoice where ID = ?"),
                           {savedID()});
    }
};

TEST_P(InvoiceSumsTest, EverySaveLeavesTheSumsOfWhatItStored) {
    fillInvoice();
    saveAndExpectFreshSums(false, "create");
    // Checked against fixed figures once, so that a wrong reference could not hide a fault:
    // 2 + 1.5 + 1 pieces of two goods; 2700 + 1050 + 400 - 250 - 100.
    EXPECT_EQ(stored().money(u"SumQty"), Money::fromRaw(45000));
    EXPECT_EQ(stored().toInt(u"TitlesNum"), 2);
    EXPECT_EQ(stored().money(u"RowDiscountValue"), Money::fromRials(300));
    EXPECT_EQ(stored().money(u"SuCharge"), Money::fromRials(400));
    EXPECT_EQ(stored().money(u"CalcTotalValue"), Money::fromRials(3800));

    form->cmdEdit_Click();
    form->doc().flexDetail.DeleteLine(0);
    saveAndExpectFreshSums(false, "a line removed");
    EXPECT_EQ(stored().toInt(u"TitlesNum"), 2);  // the free goods still count

    form->cmdEdit_Click();
    form->doc().flexDetail.appendLine(line(QStringLiteral("1003"), 4, 900));
    form->doc().flexDetail.line(0).Qty = 6;
    saveAndExpectFreshSums(false, "a line added and a quantity changed");
    EXPECT_EQ(stored().toInt(u"TitlesNum"), 3);

    form->cmdEdit_Click();
    InvoiceDocument& d = form->doc();
    d.surcharges = {{1, QString(), Money::fromRials(1250)}, {2, QString(), Money::fromRials(50)}};
    d.totals.SuCharge = Money::fromRials(1300);
    d.deductions.clear();
    d.totals.Decs = Money();
    d.totals.MasterDiscountValue = Money::fromRials(75);
    saveAndExpectFreshSums(false, "surcharges, deduction and master discount changed");
    EXPECT_EQ(stored().money(u"SuCharge"), Money::fromRials(1300));

    form->cmdEdit_Click();
    saveAndExpectFreshSums(true, "final");
}

// The one-line procedure keeps the sums of its invoice itself.
TEST_P(InvoiceSumsTest, ALineInsertedByItsProcedureCounts) {
    InvoiceRow r;
    r.customer = customer;
    r.inventory = inventory;
    const int invoice = AddInvoice(db(), r);
    for (const char* barcode : {"1001", "1002", "1001"})
        db().call(
            QStringLiteral("spSaleInsertInvoiceDetail"),
            QVariantList{QVariant::fromValue(Money::fromRaw(12500)), QString::fromLatin1(barcode),
                         QString(), invoice, 2, QVariant::fromValue(Money::fromRials(20)), 0.0,
                         QVariant::fromValue(Money::fromRials(800)), 1, unit});
    EXPECT_EQ(StaleInvoiceSums(db(), invoice), QStringList());
    const auto sums = db().first(
        QStringLiteral("select SumQty, TitlesNum from tblSaleInvoice where ID = ?"), {invoice});
    EXPECT_EQ(sums->money(u"SumQty"), Money::fromRaw(37500));
    EXPECT_EQ(sums->toInt(u"TitlesNum"), 2);
}

SI_INSTANTIATE_BACKENDS(InvoiceSumsTest);

}  // namespace
}  // namespace si::test
