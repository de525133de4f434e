// The look-ups of the invoice on a freshly installed database that holds no goods, stock,
// invoices, promotions or settings: each runs its own statements on both databases, so every
// column they name exists where they look, and each finds nothing.

#include <gtest/gtest.h>
#include <algorithm>
#include <memory>

#include "common/Jalali.h"
#include "common/Numbers.h"
#include "common/Stock.h"
#include "invoice/CreditLogic.h"
#include "invoice/DiscountRates.h"
#include "invoice/GoodsLookups.h"
#include "invoice/InvoiceServices.h"
#include "invoice/Promotions.h"
#include "invoice/TotalsLogic.h"
#include "support/ContextTest.h"

namespace si::test {
namespace {

const QString kBarcode = QStringLiteral("1001");
constexpr int kId = 1;

// More barcodes than PostgreSQL's stock look-up lists in one IN list, so that its per-barcode
// statement runs as well.
QStringList manyBarcodes() {
    QStringList barcodes;
    for (int i = 0; i < 50; ++i)
        barcodes << QString::number(2000 + i);
    return barcodes;
}

// What a look-up is called with: the context on the bare database and a new invoice's services.
struct Bare {
    Context& ctx;
    InvoiceDocument& doc;
    InvoiceServices& services;
    Session& db() { return ctx.db(); }
    QDate today() const { return doc.datCreateDate; }
};

struct Lookup {
    const char* name;
    bool (*findsNothing)(Bare&);
};

bool noTaxFlags(const GoodTaxFlags& flags) {
    return !flags.hasTax && !flags.hasAdded && !flags.ownTaxPercent && !flags.ownAddedPercent;
}

// Look-ups of a session: goods, units, quantities elsewhere, stock, discounts and promotions.
const Lookup kSessionLookups[] = {
    {"goods by code", [](Bare& b) { return !GoodByCode(b.db(), QStringLiteral("C1001")); }},
    {"goods by barcode", [](Bare& b) { return !GoodByBarcode(b.db(), kBarcode); }},
    {"goods' name", [](Bare& b) { return !GoodNameOf(b.db(), kBarcode); }},
    {"not for sale in the inventory", [](Bare& b) { return !IsNotForSale(b.db(), kBarcode, kId); }},
    {"whole-number unit", [](Bare& b) { return !IsIntegerUnit(b.db(), kId); }},
    {"unit factor", [](Bare& b) { return UnitFactor(b.db(), kId) == 1; }},
    {"sale units", [](Bare& b) { return SaleUnitsOf(b.db(), kBarcode).isEmpty(); }},
    {"attached goods", [](Bare& b) { return AttachedBarcodes(b.db(), kBarcode).isEmpty(); }},
    {"vehicle of the sheet has left", [](Bare& b) { return !IsVehicleMoved(b.db(), kId); }},
    {"free-goods threshold", [](Bare& b) { return !FreeGoodsThreshold(b.db(), kBarcode); }},
    {"held by temporary invoices of the inventory",
     [](Bare& b) { return TempInvoiceQuantities(b.db(), {kBarcode}, kId, kId).isEmpty(); }},
    {"held by temporary invoices of every inventory",
     [](Bare& b) { return TempInvoiceQuantities(b.db(), {kBarcode}, -1, kId).isEmpty(); }},
    {"reserved by sale orders",
     [](Bare& b) { return ReservedQuantities(b.db(), {kBarcode}, kId, kId).isEmpty(); }},
    {"stock movements",
     [](Bare& b) {
         return StockMovements(b.db(), kId, kBarcode, QDate(), b.today(), kId).isEmpty();
     }},
    {"stock of a goods item",
     [](Bare& b) { return InventoryStock(b.ctx, kId, kBarcode, b.today(), kId) == 0; }},
    {"stock of many goods",
     [](Bare& b) {
         const QHash<QString, double> stocks =
             InventoryStocks(b.ctx, kId, manyBarcodes(), b.today(), kId);
         return std::all_of(stocks.cbegin(), stocks.cend(), [](double q) { return q == 0; });
     }},
    {"inventory that keeps the stock",
     [](Bare& b) { return StockInventoryID(b.db(), kId) == kId; }},
    {"stock of a wholesale parent",
     [](Bare& b) {
         double stock = 0;
         return !GetParentInventoryStock(b.db(), {kId, kBarcode, b.today(), kId, {}}, stock);
     }},
    {"birthday discount days", [](Bare& b) { return BirthdayDiscountDays(b.db()) == -1; }},
    {"customer's birthday",
     [](Bare& b) { return !CustomerHadBirthday(b.db(), kId, b.today(), 30); }},
    {"card, birthday and standard discounts",
     [](Bare& b) {
         const GoodDiscountRates rates(b.db(), {{kBarcode}, kId, true, true});
         return rates.cardPercent(kBarcode) == 0 && rates.birthdayPercent(kBarcode) == 0 &&
                !rates.hasStandardDiscounts(kBarcode, kId);
     }},
    {"promotions of the day",
     [](Bare& b) { return LoadPromotions(b.db(), getFarsiDate(b.today())).isEmpty(); }},
};

// Look-ups of the invoice's services: credit and tax.
const Lookup kServiceLookups[] = {
    {"open temporary invoices",
     [](Bare& b) { return b.services.credit->OpenTemporaryInvoices().isZero(); }},
    {"distribution credit",
     [](Bare& b) {
         const DistributionCredit credit = b.services.credit->ReadDistributionCredit(kId);
         return !credit.EnableCredit && !credit.EnableDocumentCredit;
     }},
    {"credit left after the repayments",
     [](Bare& b) {
         b.services.credit->LoadCustomerCreditUsage(kId);
         return b.doc.txtRemCredit == FormatAmount(Money()) &&
                b.doc.txtRemCreditTag == QStringLiteral("0");
     }},
    {"tax percentages of the day",
     [](Bare& b) {
         b.doc.TaxPercent = 9;
         b.doc.AddedPercent = 3;
         b.services.totals->ReadTaxPercents();
         return b.doc.TaxPercent == 0 && b.doc.AddedPercent == 0;
     }},
    {"tax flags of a goods item",
     [](Bare& b) { return noTaxFlags(b.services.totals->taxFlagsOf(kBarcode)); }},
    {"tax flags of many goods",
     [](Bare& b) {
         const QStringList barcodes = manyBarcodes();
         b.services.totals->prefetchTaxFlags(barcodes);
         return noTaxFlags(b.services.totals->taxFlagsOf(barcodes.last()));
     }},
};

class BareSchemaLookups : public ContextTest {
protected:
    void SetUp() override {
        ContextTest::SetUp();
        doc = std::make_unique<InvoiceDocument>(ctx);
        services = std::make_unique<InvoiceServices>(ctx, *doc);
        doc->datCreateDate = now.date();
        doc->chkIsFormal = true;  // taxes are read for a formal invoice only
        // The credit look-up reads the repayments only with a repayment cash box.
        ctx.params.setNumber(P::CreditCashBox, kId);
    }
    void TearDown() override {
        services.reset();
        doc.reset();
        ContextTest::TearDown();
    }

    template <std::size_t N>
    void expectEachFindsNothing(const Lookup (&lookups)[N]) {
        Bare bare{ctx, *doc, *services};
        for (const Lookup& lookup : lookups) {
            try {
                EXPECT_TRUE(lookup.findsNothing(bare)) << lookup.name;
            } catch (const std::exception& e) {
                ADD_FAILURE() << lookup.name << ": " << e.what();
            }
        }
        EXPECT_TRUE(messages.empty()) << messages.texts().join(u'\n').toStdString();
    }

    std::unique_ptr<InvoiceDocument> doc;
    std::unique_ptr<InvoiceServices> services;
};

TEST_P(BareSchemaLookups, SessionLookupsRunAndFindNothing) {
    expectEachFindsNothing(kSessionLookups);
}

TEST_P(BareSchemaLookups, ServiceLookupsRunAndFindNothing) {
    expectEachFindsNothing(kServiceLookups);
}

SI_INSTANTIATE_BACKENDS(BareSchemaLookups);

}  // namespace
}  // namespace si::test
