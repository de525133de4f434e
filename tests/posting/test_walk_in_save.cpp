// The walk-in buyer is part of the invoice: the save writes it in its own transaction, opening
// the stored invoice brings it back, saving again keeps it, changing or clearing it replaces or
// removes the one stored row, and a save that fails leaves the stored buyer as it was.

#include "PostingTestSupport.h"
#include "invoice/InvoiceStore.h"

namespace si::test {
namespace {

class WalkInSaveTest : public PostingTest {
protected:
    const WalkInBuyer buyer{QStringLiteral("فاطمه نوري"), QStringLiteral("+989351234567")};

    std::optional<Invoice> stored(int id) { return InvoiceStore(db()).read(id); }
    int storedRows(int id) {
        return db()
            .scalar(QStringLiteral("select count(*) from tblSaleInvoiceWalkIn where "
                                   "InvoiceID = ?"),
                    {id})
            .toInt();
    }
    // The stored invoice opened for editing, as the clerk does with Edit.
    void openForEdit(int id) {
        form->ShowInvoiceByID(id);
        form->cmdEdit_Click();
        ASSERT_EQ(form->FormMode(), kModeEdit);
    }
};

TEST_P(WalkInSaveTest, SavedLoadedAndSavedAgainTheBuyerStays) {
    newInvoice();
    form->doc().walkIn = buyer;
    ASSERT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
    const int id = savedID();
    EXPECT_TRUE(form->doc().walkInStored);
    ASSERT_TRUE(stored(id));
    EXPECT_TRUE(stored(id)->walkIn == buyer);
    EXPECT_EQ(storedRows(id), 1);

    form->ShowInvoiceByID(id);  // opened afresh
    EXPECT_TRUE(form->doc().walkIn == buyer);
    form->cmdEdit_Click();
    ASSERT_EQ(form->FormMode(), kModeEdit);
    EXPECT_TRUE(form->doc().walkIn == buyer);
    ASSERT_TRUE(save->SaveInvoice(true)) << messages.texts().join(u'\n').toStdString();
    EXPECT_TRUE(stored(id)->walkIn == buyer);
    EXPECT_EQ(storedRows(id), 1);
    EXPECT_TRUE(stored(id)->isFinal());
}

TEST_P(WalkInSaveTest, AChangedBuyerReplacesTheRowAndAClearedOneRemovesIt) {
    newInvoice();
    form->doc().walkIn = buyer;
    ASSERT_TRUE(save->SaveInvoice(false));
    const int id = savedID();
    newInvoice();  // another invoice's buyer stays untouched throughout
    form->doc().walkIn = {QStringLiteral("ديگري"), QString()};
    ASSERT_TRUE(save->SaveInvoice(false));
    const int other = savedID();

    openForEdit(id);
    const WalkInBuyer changed{QStringLiteral("فاطمه نوري"), QStringLiteral("02188776655")};
    form->doc().walkIn = changed;
    ASSERT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
    EXPECT_TRUE(stored(id)->walkIn == changed);
    EXPECT_EQ(storedRows(id), 1);

    openForEdit(id);
    form->doc().walkIn = {};
    ASSERT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
    EXPECT_FALSE(form->doc().walkInStored);
    EXPECT_TRUE(stored(id)->walkIn.isEmpty());
    EXPECT_EQ(storedRows(id), 0);
    EXPECT_TRUE(stored(other)->walkIn == (WalkInBuyer{QStringLiteral("ديگري"), QString()}));
}

// A buyer that the dialog would refuse stops the save before anything is written; a save that
// fails after writing rolls the buyer back with the rest.
TEST_P(WalkInSaveTest, ARefusedOrFailedSaveKeepsTheStoredBuyer) {
    newInvoice();
    form->doc().walkIn = {QString(), QStringLiteral("09121234567")};
    const int invoices = count(QStringLiteral("tblSaleInvoice"));
    EXPECT_FALSE(save->SaveInvoice(false));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("«نام خريدار» را هم وارد كنيد؛ تلفن بدون نام خريدار ثبت نمي شود."));
    EXPECT_EQ(count(QStringLiteral("tblSaleInvoice")), invoices);
    EXPECT_EQ(count(QStringLiteral("tblSaleInvoiceWalkIn")), 0);

    form->doc().walkIn = buyer;
    ASSERT_TRUE(save->SaveInvoice(false));
    const int id = savedID();
    openForEdit(id);
    form->doc().walkIn = {};
    save->afterHeaderWritten = [] { throw std::runtime_error("قطع ارتباط"); };
    messages.clear();
    EXPECT_FALSE(save->SaveInvoice(false));
    save->afterHeaderWritten = nullptr;
    EXPECT_TRUE(stored(id)->walkIn == buyer);
    EXPECT_EQ(storedRows(id), 1);
    EXPECT_TRUE(form->doc().walkInStored);
}

SI_INSTANTIATE_BACKENDS(WalkInSaveTest);

}  // namespace
}  // namespace si::test
