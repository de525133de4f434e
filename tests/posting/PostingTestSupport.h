#pragma once
// A form on a test database with what a save needs: a customer, an inventory with stock, an
// invoice type, a unit and two goods; the module installed into the form; and helpers that put a
// new invoice with lines into the form and read back what was stored.

#include <QStringList>
#include <memory>

#include "assembly/InvoiceModule.h"
#include "invoice/FormTestSupport.h"
#include "suite/Components.h"
#include "support/InvoiceFixtures.h"

namespace si::test {

class PostingTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        suite::RegisterComponents(components);
        messages.install(components);  // the scripted box replaces the desktop one
        unit = AddUnit(db(), QStringLiteral("عدد"), 1, true);
        customer = AddCustomer(db(), QStringLiteral("مشتري نمونه"), QStringLiteral("C1"));
        inventory = AddInventory(db(), QStringLiteral("انبار مركزي"));
        type = AddInvoiceType(db(), QStringLiteral("فروش عادي"));
        for (const QString& barcode : {QStringLiteral("1001"), QStringLiteral("1002")}) {
            AddGood(db(), barcode, barcode, QStringLiteral("كالا ") + barcode, 1000, unit);
            Receive(db(), inventory, barcode, 1000, QDate(2026, 1, 1));
        }
        GrantInventory(db(), ctx.globals.CurrentUserID, inventory, true);
        GrantInvoiceType(db(), ctx.globals.CurrentUserID, type);
        installSave();
    }
    void TearDown() override {
        save = nullptr;
        module.reset();
        FormTest::TearDown();
    }
    // A fresh form and save (after parameters or rights changed).
    void installSave() {
        save = nullptr;
        module.reset();  // it works on the form that newForm replaces
        newForm();
        module = InstallModule(*form);
        save = &module->save();
        form->ClearShow();
    }

    // A sales account on the type and a leaf account for the customer: final saves then post
    // a document of the sales and customer rows.
    void enablePosting() {
        db().exec(QStringLiteral("update tblSaleInvoiceType set CreditAccountID = ? where ID = ?"),
                  {account("6101"), type});
        db().exec(QStringLiteral("insert into tblAccountRelatedObjects (AccountID, "
                                 "RelatedClassID, RelatedObjectID) values (?, 7, ?)"),
                  {account("1101"), customer});
    }
    // An open ledger account with the code.
    int account(const char* code) {
        return static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblAccount (Code, Title, IsClosed) values (?, ?, 0) "
                           "RETURNING ID"),
            {QString::fromLatin1(code), QStringLiteral("حساب ") + QString::fromLatin1(code)}));
    }

    // A line of the goods grid as the line logic leaves it after entry.
    InvoiceLine line(const QString& barcode, double qty, qint64 price) const {
        InvoiceLine l;
        l.BarCode = barcode;
        l.GoodCode = barcode;
        l.GoodName = QStringLiteral("كالا ") + barcode;
        l.Qty = qty;
        l.BaseQty = qty;
        l.ScaleID = unit;
        l.UnitPrice = Money::fromRials(price);
        l.BaseUnitPrice = l.UnitPrice;
        l.NetAmount = l.UnitPrice.times(qty);
        l.LineTotal = l.NetAmount;
        return l;
    }

    // cmdNew, the header filled and the lines entered; the grand total is the lines' sum.
    void newInvoice(const QVector<InvoiceLine>& lines, const QDate& date = QDate(2026, 12, 6)) {
        form->cmdNew_Click();
        InvoiceDocument& d = form->doc();
        d.sltType.setID(type);
        d.sltCustomer.setID(customer);
        d.sltInventory.setID(inventory);
        // The handlers may clear a field they judge unfit for the user; the fixture's user is
        // the administrator, so the fields are put back as chosen.
        if (d.sltType.ID() != type) d.sltType.setIDQuietly(type, QString());
        if (d.sltInventory.ID() != inventory) d.sltInventory.setIDQuietly(inventory, QString());
        if (d.sltCustomer.ID() != customer) d.sltCustomer.setIDQuietly(customer, QString());
        d.sltPaidByCash.setID(1);
        d.datCreateDate = date;
        Money total;
        for (const InvoiceLine& l : lines) {
            d.flexDetail.appendLine(l);
            total += l.LineTotal;
        }
        d.totals.shown = true;
        d.totals.TotalPrice = total;
        d.totals.TotalPurePrice = total;
        d.totals.GrandTotal = total;
        d.totals.PureTotalValue = total;
    }
    void newInvoice(qint64 grandTotal = 5000, const QDate& date = QDate(2026, 12, 6)) {
        newInvoice({line(QStringLiteral("1001"), 1, grandTotal)}, date);
    }

    // The stored invoice's Code (null while temporary).
    QVariant storedCode(int id) {
        return db().scalar(QStringLiteral("select Code from tblSaleInvoice where ID = ?"), {id});
    }
    int savedID() { return form->doc().txtID.toInt(); }
    int count(const QString& table) {
        return db().scalar(QStringLiteral("select count(*) from ") + table).toInt();
    }

    int unit = -1;
    int customer = -1;
    int inventory = -1;
    int type = -1;
    std::unique_ptr<InvoiceModule> module;
    SaveLogic* save = nullptr;
};

}  // namespace si::test
