#pragma once
// The line logic on a fresh database: a document and its services in mode 2, one inventory that
// checks stock, three units (piece, kilogram, box of 12), and builders for the rows the line rules
// read (prices under a method, dispatches, distribution sheets, sale orders, attached goods).

#include <gtest/gtest.h>

#include "common/Jalali.h"
#include "invoice/InvoiceDocument.h"
#include "invoice/InvoiceServices.h"
#include "invoice/LinesLogic.h"
#include "support/ContextTest.h"
#include "support/InvoiceFixtures.h"

namespace si::test {

class LinesTest : public ContextTest {
protected:
    void SetUp() override {
        ContextTest::SetUp();
        doc = std::make_unique<InvoiceDocument>(ctx);
        services = std::make_unique<InvoiceServices>(ctx, *doc);
        doc->FormMode = kModeNew;
        doc->datCreateDate = now.date();
        piece = AddUnit(db(), QStringLiteral("عدد"), 1, true);
        kilo = AddUnit(db(), QStringLiteral("كيلوگرم"), 1, false);
        box = AddUnit(db(), QStringLiteral("كارتن"), 12, true);
        inventory = AddInventory(db(), QStringLiteral("انبار مركزي"), true);
        useInventory(inventory, true);
    }
    void TearDown() override {
        services.reset();
        doc.reset();
        ContextTest::TearDown();
    }

    LinesLogic& lines() { return *services->lines; }
    LineTableModel& grid() { return doc->flexDetail; }
    const InvoiceLine& line(int row) { return grid().line(row); }

    void useInventory(int id, bool checkExistance) {
        doc->sltInventory.setIDQuietly(id, QStringLiteral("انبار"));
        doc->inventory.InvCE = checkExistance ? 1 : 0;
    }
    // Parameter 13.
    void stockRule(int rule) { useParameter(P::StockRule, QString::number(rule)); }

    int good(const QString& barcode, qint64 price, int unit) {
        return AddGood(db(), barcode, QStringLiteral("C") + barcode,
                       QStringLiteral("كالا ") + barcode, price, unit);
    }
    void receive(const QString& barcode, double qty, int unit = -1) {
        Receive(db(), inventory, barcode, qty, now.date().addDays(-10));
        if (unit > 0)
            db().exec(QStringLiteral("update tblInventoryReceiptDetail set ScaleID=? where "
                                     "Barcode=? and ScaleID is null"),
                      {unit, barcode});
    }
    // A dispatch of base units (no unit on the line), for the document (formTypeId, formId).
    int dispatch(const QString& barcode, double qty, const QDate& date, int formId = -1,
                 int inventoryId = -1) {
        const int id = static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblInventoryDispatch (InventoryID, ReceiveDate, "
                           "FarsiReceiveDate, FormTypeID, FormID, Code) values (?,?,?,?,?,?) "
                           "RETURNING ID"),
            {inventoryId > 0 ? inventoryId : inventory, date, getFarsiDate(date),
             formId > 0 ? QVariant(901) : QVariant(), formId > 0 ? QVariant(formId) : QVariant(),
             ++documentCode}));
        db().exec(QStringLiteral("insert into tblInventoryDispatchDetail (DispatchID, Barcode, "
                                 "Qty) values (?,?,?)"),
                  {id, barcode, qty});
        return id;
    }
    int method(const QString& name) {
        return static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblSalePricingMethod (Name) values (?) RETURNING ID"),
            {name}));
    }
    void salePrice(const QString& barcode, int pricingMethod, const QVariant& price,
                   const QVariant& inPercent, double percent, qint64 value) {
        db().exec(QStringLiteral("insert into tblGoodSaleInfo (Barcode, PricingMethodID, "
                                 "RetailPrice, IsDiscountInPercent, DiscountPercent, "
                                 "DiscountValue) values (?,?,?,?,?,?)"),
                  {barcode, pricingMethod, price, inPercent, percent,
                   QVariant::fromValue(Money::fromRials(value))});
    }
    int employee(const QString& name) {
        return static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblEmployee (FirstName) values (?) RETURNING ID"), {name}));
    }
    int distributionSheet(bool moved) {
        return static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblDistributionInvoice (Code, IsMoved) values (1, ?) "
                           "RETURNING ID"),
            {moved ? 1 : 0}));
    }
    void attach(int goodId, int attachedId) {
        db().exec(QStringLiteral(
                      "insert into tblGoodAttachedGoods (GoodID, AttachedGoodID) values (?,?)"),
                  {goodId, attachedId});
    }

    // Types a barcode into the trailing empty row.
    bool enter(const QString& barcode, double qty = 1, bool silent = false) {
        double q = qty;
        return lines().FillFlexOneRow(barcode, grid().rows() - 1, kByBarcode, silent, q);
    }
    void editableGrid() {
        grid().setEditable(true);
        lines().configureColumns();
    }

    std::unique_ptr<InvoiceDocument> doc;
    std::unique_ptr<InvoiceServices> services;
    int piece = -1;
    int kilo = -1;
    int box = -1;
    int inventory = -1;
    int documentCode = 0;
};

}  // namespace si::test
