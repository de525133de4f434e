// The weighing station's sale copied into an invoice by its station barcode: a new invoice or
// one that is being filled, the barcode kept, and every refusal leaving the data as it was.

#include <gtest/gtest.h>

#include "support/ContextTest.h"
#include "support/InvoiceFixtures.h"
#include "support/InvoiceSumsCheck.h"

namespace si {
namespace {

class ScaleProcedureTest : public test::ContextTest {
protected:
    void SetUp() override {
        ContextTest::SetUp();
        kilo = test::AddUnit(db(), QStringLiteral("كيلوگرم"), 1, false);
        piece = test::AddUnit(db(), QStringLiteral("عدد"), 1, true);
        customer = test::AddCustomer(db(), QStringLiteral("مشتري ترازو"));
        inventory = test::AddInventory(db(), QStringLiteral("انبار"));
        station = stationSale();
    }

    // A station sale: two weighed goods, a free good and a split discount on the first line.
    int stationSale() {
        test::InvoiceRow r;
        r.customer = customer;
        r.inventory = inventory;
        const int id = test::AddInvoice(db(), r);
        db().exec(QStringLiteral("update tblSaleInvoice set PromoterID = 41, PricingMethodID = 3, "
                                 "Value = 2500, TotalValue = 2600, PureTotalValue = 2500 "
                                 "where ID = ?"),
                  {id});
        test::AddInvoiceLine(db(), id, QStringLiteral("5001"), 1.25, 1000, kilo, 1);
        test::AddInvoiceLine(db(), id, QStringLiteral("5002"), 0.75, 2000, kilo, 2);
        test::AddInvoiceLine(db(), id, QStringLiteral("5003"), 1, 0, piece, 3);
        db().exec(QStringLiteral("update tblSaleInvoiceDetail set IsEchantillon = 1 where "
                                 "InvoiceID = ? and Barcode = '5003'"),
                  {id});
        db().exec(QStringLiteral("insert into tblSaleInvoiceDetailDiscount (InvoiceID, Barcode, "
                                 "Description, ScaleID, DiscountTypeID, DiscountPercent) values "
                                 "(?, '5001', '', ?, 2, 5)"),
                  {id, kilo});
        return id;
    }

    static QString barcodeOf(int id) {
        return QStringLiteral("/%1/").arg(id, 11, 10, QLatin1Char('0'));
    }

    struct Result {
        int invoice;
        QString message;
    };
    Result copy(int invoice, const QString& barcode) {
        QVariantList args{invoice, barcode, ctx.globals.CurrentUserID};
        const int id = db().call(QStringLiteral("dbo.spSaleInvoiceCopyFromScale"), args).toInt();
        return {id, args.value(3).toString()};
    }

    int count(const char* table) {
        return db()
            .scalar(QStringLiteral("select count(*) from ") + QString::fromLatin1(table))
            .toInt();
    }
    // Everything a copy writes, to tell that a refusal wrote nothing.
    QList<int> footprint() {
        return {count("tblSaleInvoice"), count("tblSaleInvoiceDetail"),
                count("tblSaleInvoiceDetailDiscount"), count("tblSaleInvoiceScaleBarcode")};
    }
    double qtyOf(int invoice, const char* barcode) {
        return db()
            .scalar(QStringLiteral("select Qty from tblSaleInvoiceDetail where InvoiceID = ? and "
                                   "Barcode = ?"),
                    {invoice, QString::fromLatin1(barcode)})
            .toDouble();
    }

    int kilo = -1;
    int piece = -1;
    int customer = -1;
    int inventory = -1;
    int station = -1;
};

TEST_P(ScaleProcedureTest, ANewInvoiceTakesTheStationSaleAndKeepsTheBarcode) {
    const Result r = copy(-1, barcodeOf(station));
    ASSERT_GT(r.invoice, station);
    EXPECT_TRUE(r.message.isEmpty()) << r.message.toStdString();

    const auto header =
        db().first(QStringLiteral("select * from tblSaleInvoice where ID = ?"), {r.invoice});
    ASSERT_TRUE(header);
    EXPECT_TRUE(header->isNull(u"Code"));
    EXPECT_EQ(header->toInt(u"CustomerID"), customer);
    EXPECT_EQ(header->toInt(u"InventoryID"), inventory);
    EXPECT_EQ(header->toInt(u"PromoterID"), 41);
    EXPECT_EQ(header->toInt(u"CreatorID"), ctx.globals.CurrentUserID);
    EXPECT_EQ(header->dateTime(u"CreateDate"), now);
    EXPECT_EQ(header->text(u"FarsiCreateDate"), QStringLiteral("1405/09/15"));
    EXPECT_EQ(header->money(u"TotalValue"), Money::fromRials(2600));

    const RowSet lines = db().query(
        QStringLiteral("select * from tblSaleInvoiceDetail where InvoiceID = ? order by RowNumber"),
        {r.invoice});
    ASSERT_EQ(lines.size(), 2);  // the free good is given again by the promotion pass
    EXPECT_EQ(lines[0].text(u"Barcode"), QStringLiteral("5001"));
    EXPECT_DOUBLE_EQ(lines[0].toDouble(u"Qty"), 1.25);
    EXPECT_EQ(lines[0].money(u"RetailPrice"), Money::fromRials(1000));
    EXPECT_EQ(lines[0].toInt(u"PromoterID"), 41);
    EXPECT_EQ(lines[0].toInt(u"PricingMethodID"), 3);
    EXPECT_EQ(lines[1].text(u"Barcode"), QStringLiteral("5002"));
    EXPECT_EQ(lines[1].toInt(u"RowNumber"), 2);
    EXPECT_EQ(db().scalar(QStringLiteral("select DiscountPercent from "
                                         "tblSaleInvoiceDetailDiscount where InvoiceID = ?"),
                          {r.invoice})
                  .toDouble(),
              5);

    const auto kept =
        db().first(QStringLiteral("select * from tblSaleInvoiceScaleBarcode where InvoiceID = ?"),
                   {r.invoice});
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->text(u"ScaleBarcode"), barcodeOf(station));
    EXPECT_EQ(kept->toInt(u"CreatorID"), ctx.globals.CurrentUserID);
    EXPECT_EQ(kept->dateTime(u"CreateDate"), now);
    EXPECT_EQ(kept->text(u"FarsiCreateDate"), QStringLiteral("1405/09/15"));
    // The station's own sale is left as it was.
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from tblSaleInvoiceDetail where "
                                         "InvoiceID = ?"),
                          {station})
                  .toInt(),
              3);
}

TEST_P(ScaleProcedureTest, AnOpenTemporaryInvoiceGainsTheLinesAfterItsOwn) {
    test::InvoiceRow r;
    r.inventory = inventory;
    const int invoice = test::AddInvoice(db(), r);
    test::AddInvoiceLine(db(), invoice, QStringLiteral("5002"), 2, 2000, kilo, 1);
    test::AddInvoiceLine(db(), invoice, QStringLiteral("7000"), 3, 500, piece, 2);
    db().exec(QStringLiteral("update tblSaleInvoice set TotalValue = 100 where ID = ?"), {invoice});

    const Result result = copy(invoice, barcodeOf(station));
    EXPECT_EQ(result.invoice, invoice);
    EXPECT_TRUE(result.message.isEmpty());
    EXPECT_DOUBLE_EQ(qtyOf(invoice, "5002"), 2.75);  // one line per barcode and unit
    EXPECT_DOUBLE_EQ(qtyOf(invoice, "5001"), 1.25);
    EXPECT_EQ(db().scalar(QStringLiteral("select RowNumber from tblSaleInvoiceDetail where "
                                         "InvoiceID = ? and Barcode = '5001'"),
                          {invoice})
                  .toInt(),
              3);
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from tblSaleInvoiceDetail where "
                                         "InvoiceID = ?"),
                          {invoice})
                  .toInt(),
              3);
    const auto header =
        db().first(QStringLiteral("select CustomerID, TotalValue from tblSaleInvoice where ID = ?"),
                   {invoice});
    EXPECT_TRUE(header->isNull(u"CustomerID"));  // the open invoice keeps its header
    EXPECT_EQ(header->money(u"TotalValue"), Money::fromRials(2700));
}

// The receiving invoice's stored sums count the copied lines, new and merged alike.
TEST_P(ScaleProcedureTest, TheReceivingInvoiceSumsFollowTheCopiedLines) {
    const Result fresh = copy(-1, barcodeOf(station));
    ASSERT_GT(fresh.invoice, 0) << fresh.message.toStdString();
    EXPECT_EQ(test::StaleInvoiceSums(db(), fresh.invoice), QStringList());
    EXPECT_EQ(db().scalar(QStringLiteral("select TitlesNum from tblSaleInvoice where ID = ?"),
                          {fresh.invoice})
                  .toInt(),
              2);

    test::InvoiceRow r;
    r.inventory = inventory;
    const int open = test::AddInvoice(db(), r);
    test::AddInvoiceLine(db(), open, QStringLiteral("5002"), 2, 2000, kilo, 1);
    const Result merged = copy(open, barcodeOf(stationSale()));
    ASSERT_EQ(merged.invoice, open) << merged.message.toStdString();
    EXPECT_EQ(test::StaleInvoiceSums(db(), open), QStringList());
}

TEST_P(ScaleProcedureTest, RefusalsExplainThemselvesAndWriteNothing) {
    test::InvoiceRow finalRow;
    finalRow.code = 12;
    const int finalInvoice = test::AddInvoice(db(), finalRow);
    test::AddInvoiceLine(db(), finalInvoice, QStringLiteral("5001"), 1, 1000, kilo, 1);
    const int emptyStation = test::AddInvoice(db(), test::InvoiceRow());

    ASSERT_GT(copy(-1, barcodeOf(station)).invoice, 0);
    const QList<int> before = footprint();
    struct Case {
        const char* what;
        int invoice;
        QString barcode;
        QString message;
    };
    const Case cases[] = {
        {"used before", -1, barcodeOf(station), QStringLiteral("قبلا")},
        {"used before, other padding", -1, QStringLiteral("/0000000000%1/").arg(station),
         QStringLiteral("قبلا")},
        {"final invoice", finalInvoice, barcodeOf(emptyStation + 100), QStringLiteral("قطعي")},
        {"missing invoice", 9999, barcodeOf(emptyStation + 100), QStringLiteral("پيدا نشد")},
        {"no such station sale", -1, barcodeOf(emptyStation + 100), QStringLiteral("پيدا نشد")},
        {"final station sale", -1, barcodeOf(finalInvoice), QStringLiteral("پيدا نشد")},
        {"station sale without goods", -1, barcodeOf(emptyStation), QStringLiteral("کالايي")},
        {"into itself", emptyStation, barcodeOf(emptyStation), QStringLiteral("همين")},
        {"not digits", -1, QStringLiteral("/0000000001A/"), QStringLiteral("معتبر")},
        {"no slashes", -1, QStringLiteral("00000000001"), QStringLiteral("معتبر")},
    };
    for (const Case& c : cases) {
        const Result r = copy(c.invoice, c.barcode);
        EXPECT_EQ(r.invoice, 0) << c.what;
        EXPECT_TRUE(r.message.contains(c.message)) << c.what << ": " << r.message.toStdString();
        EXPECT_EQ(footprint(), before) << c.what;
    }
    EXPECT_DOUBLE_EQ(qtyOf(finalInvoice, "5001"), 1);
}

SI_INSTANTIATE_BACKENDS(ScaleProcedureTest);

}  // namespace
}  // namespace si
