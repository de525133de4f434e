// The invoice store reads back what the save wrote: every field of the stored invoice equals the
// form's typed invoice, on each database (money, quantities and dates come back as each driver
// returns them).

#include "PostingTestSupport.h"
#include "invoice/InvoiceStore.h"

namespace si::test {
namespace {

class InvoiceStoreTest : public PostingTest {
protected:
    // Two sold lines (one with its own discount and a description, one with a fractional
    // quantity, tax and duty), a free-goods line, a surcharge, a deduction, a master discount
    // as an amount and the header's further fields.
    void fillInvoice() {
        InvoiceLine discounted = line(QStringLiteral("1001"), 2, 1500);
        discounted.Description = QStringLiteral("با جعبه");
        discounted.DiscountPercent = 10;
        discounted.DiscountValue = Money::fromRials(300);
        discounted.NetAmount = Money::fromRials(2700);
        discounted.LineTotal = discounted.NetAmount;
        InvoiceLine taxed = line(QStringLiteral("1002"), 1.5, 700);
        taxed.ScaleID = AddUnit(db(), QStringLiteral("كيلوگرم"), 1, false);
        taxed.Tax = Money::fromRials(50);
        taxed.Duty = Money::fromRials(20);
        taxed.LineTotal = Money::fromRials(1120);
        newInvoice({discounted, taxed});
        InvoiceLine free = line(QStringLiteral("1001"), 1, 1500);
        free.IsEchantillon = true;
        InvoiceDocument& d = form->doc();
        d.flexEch.appendLine(free);
        d.surcharges = {{1, QString(), Money::fromRials(400)}, {2, QString(), Money()}};
        d.deductions = {{1, QString(), Money::fromRials(100), 2.5}};
        d.masterDiscountKind = MasterDiscountKind::Value;
        InvoiceTotals& t = d.totals;
        t.MasterDiscountValue = Money::fromRials(250);
        t.SuCharge = Money::fromRials(400);
        t.Decs = Money::fromRials(100);
        t.Tax = Money::fromRials(50);
        t.Added = Money::fromRials(20);
        t.GrandTotal = Money::fromRials(2700 + 1120 + 400 - 100 - 250);
        d.txtNotes = QStringLiteral("  تحويل در انبار شماره ۲  ");
        d.txtGhabz = QStringLiteral("م-12");
        d.txtCardNo = QStringLiteral("6037991234567890");
        d.gdpDeliverDate = QDate(2026, 12, 20);
        d.dtpClearDate = QDate(2027, 1, 5);
        d.chkIsFormal = false;
    }

    std::optional<Invoice> stored() { return InvoiceStore(db()).read(savedID()); }

    // Equal part by part, so that a failure names the part; the postings and the line
    // discounts, which the save derives, are checked by the callers.
    static void expectSameInvoice(Invoice expected, const Invoice& actual) {
        expected.postings = actual.postings;
        expected.lineDiscounts = actual.lineDiscounts;
        EXPECT_TRUE(expected.header == actual.header);
        EXPECT_TRUE(expected.totals == actual.totals);
        ASSERT_EQ(expected.lines.size(), actual.lines.size());
        for (int i = 0; i < expected.lines.size(); ++i)
            EXPECT_TRUE(expected.lines[i] == actual.lines[i]) << "line " << i;
        EXPECT_TRUE(expected.surcharges == actual.surcharges);
        EXPECT_TRUE(expected.deductions == actual.deductions);
        EXPECT_EQ(expected.rowVersion, actual.rowVersion);
        EXPECT_TRUE(expected == actual);
    }

    void expectOwnLineDiscount(const Invoice& invoice) {
        const QVector<LineDiscount> own{{QStringLiteral("1001"), QStringLiteral("با جعبه"), unit,
                                         kLineDiscountOwn, 10, Money::fromRials(300)}};
        EXPECT_TRUE(invoice.lineDiscounts == own);
    }
};

TEST_P(InvoiceStoreTest, TemporaryInvoiceReadsBackAsTheFormHoldsIt) {
    fillInvoice();
    ASSERT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
    const std::optional<Invoice> invoice = stored();
    ASSERT_TRUE(invoice);
    expectSameInvoice(form->doc().toInvoice(), *invoice);

    const InvoiceHeader& h = invoice->header;
    EXPECT_EQ(h.id, savedID());
    EXPECT_FALSE(h.code);
    EXPECT_EQ(h.customerId, customer);
    EXPECT_EQ(h.createDate, QDate(2026, 12, 6));
    EXPECT_EQ(h.clearDate, QDate(2027, 1, 5));
    EXPECT_EQ(h.cardNo, 6037991234567890LL);
    EXPECT_EQ(h.notes, QStringLiteral("تحويل در انبار شماره ۲"));
    EXPECT_EQ(invoice->totals.discountTypeId, kMasterDiscountAsValue);
    EXPECT_EQ(invoice->totals.totalValue, Money::fromRials(3870));
    EXPECT_EQ(invoice->totals.value, Money::fromRials(3800));
    ASSERT_EQ(invoice->lines.size(), 3);
    EXPECT_EQ(invoice->lines[1].qty, 1.5);
    EXPECT_EQ(invoice->lines[1].duty, Money::fromRials(20));
    EXPECT_TRUE(invoice->lines[2].freeGoods);
    EXPECT_EQ(invoice->lines[2].rowNumber, 1);
    ASSERT_EQ(invoice->surcharges.size(), 1);  // the zero surcharge is not kept
    EXPECT_EQ(invoice->deductions.value(0).percent, 2.5);
    expectOwnLineDiscount(*invoice);
    EXPECT_TRUE(invoice->postings == InvoicePostings{});
}

// Saved temporary, then edited and registered final: the update path, the code and the postings.
TEST_P(InvoiceStoreTest, FinalInvoiceReadsBackWithCodeAndPostings) {
    enablePosting();
    fillInvoice();
    ASSERT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
    form->cmdEdit_Click();
    form->doc().flexDetail.line(0).Qty = 3;
    ASSERT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    const std::optional<Invoice> invoice = stored();
    ASSERT_TRUE(invoice);
    expectSameInvoice(form->doc().toInvoice(), *invoice);

    EXPECT_TRUE(invoice->isFinal());
    EXPECT_EQ(invoice->header.code, form->doc().txtCode.toInt());
    EXPECT_EQ(invoice->lines[0].qty, 3);
    EXPECT_GT(invoice->rowVersion, 0);
    const QString shownDocument = form->doc().lblAccountIDVal;
    EXPECT_EQ(invoice->postings.accountingDocumentId,
              shownDocument.isEmpty() ? -1 : shownDocument.toInt());
    EXPECT_GT(invoice->postings.dispatchId, 0);
    EXPECT_EQ(invoice->postings.cashTurnDetailId, -1);
    expectOwnLineDiscount(*invoice);
}

TEST_P(InvoiceStoreTest, MissingInvoiceReadsAsNothing) {
    newInvoice();
    ASSERT_TRUE(save->SaveInvoice(false));
    InvoiceStore store(db());
    EXPECT_TRUE(store.read(savedID()));
    EXPECT_FALSE(store.read(savedID() + 1));
    EXPECT_FALSE(store.read(-1));
}

}  // namespace

SI_INSTANTIATE_BACKENDS(InvoiceStoreTest);

}  // namespace si::test
