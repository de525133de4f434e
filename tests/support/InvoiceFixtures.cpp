#include "support/InvoiceFixtures.h"

#include "common/Jalali.h"
#include "common/Money.h"

namespace si::test {

namespace {
int insert(Session& s, const QString& sql, const Params& params) {
    return static_cast<int>(s.insertReturningId(sql, params));
}
}  // namespace

int AddCustomer(Session& s, const QString& name, const QString& code) {
    return insert(
        s, QStringLiteral("insert into tblOrganization (Name, Code) values (?, ?) RETURNING ID"),
        {name, code});
}

int AddInventory(Session& s, const QString& name, bool checkStock) {
    return insert(s,
                  QStringLiteral("insert into tblInventory (Name, CheckExistance, StatusTypeID) "
                                 "values (?, ?, 1) RETURNING ID"),
                  {name, checkStock ? 1 : 0});
}

int AddInvoiceType(Session& s, const QString& name, bool wholesale, bool preciousMetal) {
    return insert(
        s,
        QStringLiteral(
            "insert into tblSaleInvoiceType (Name, GenerateSaleAssignment, IsGoldSilverPlatinum) "
            "values (?, ?, ?) RETURNING ID"),
        {name, wholesale ? 1 : 0, preciousMetal ? 1 : 0});
}

int AddUnit(Session& s, const QString& name, double factor, bool integer) {
    return insert(s,
                  QStringLiteral("insert into tblGoodScale (Name, ScaleToBaseParent, IsInteger) "
                                 "values (?, ?, ?) RETURNING ID"),
                  {name, factor, integer ? 1 : 0});
}

int AddGood(Session& s, const QString& barcode, const QString& code, const QString& name,
            qint64 price, int unit) {
    const int id =
        insert(s,
               QStringLiteral("insert into tblGood (Barcode, Code, Name, RetailPrice, ScaleID, "
                              "SaleScaleID) values (?,?,?,?,?,?) "
                              "RETURNING ID"),
               {barcode, code, name, QVariant::fromValue(Money::fromRials(price)), unit, unit});
    s.exec(QStringLiteral("insert into tblGoodSaleScale (Barcode, ScaleID) values (?, ?)"),
           {barcode, unit});
    return id;
}

int AddInvoice(Session& s, const InvoiceRow& r) {
    auto orNull = [](int v) { return v > 0 ? QVariant(v) : QVariant(); };
    return insert(s,
                  QStringLiteral("insert into tblSaleInvoice (CreateDate, FarsiCreateDate, "
                                 "CustomerID, InventoryID, TypeID, "
                                 "Code, DistributionInvoiceID, Notes, IsPaidByCash) values "
                                 "(?,?,?,?,?,?,?,?,1) RETURNING ID"),
                  {r.date, getFarsiDate(r.date), orNull(r.customer), orNull(r.inventory),
                   orNull(r.type), r.code, orNull(r.distributionInvoice), r.notes});
}

void AddInvoiceLine(Session& s, int invoice, const QString& barcode, double qty, qint64 unitPrice,
                    int unit, int rowNumber) {
    s.exec(
        QStringLiteral("insert into tblSaleInvoiceDetail (InvoiceID, Barcode, Qty, RetailPrice, "
                       "ScaleID, rowNumber, "
                       "Description, DiscountTypeID, DiscountPercent, DiscountValue) values "
                       "(?,?,?,?,?,?,'',1,0,0)"),
        {invoice, barcode, qty, QVariant::fromValue(Money::fromRials(unitPrice)), unit, rowNumber});
}

void Receive(Session& s, int inventory, const QString& barcode, double qty, const QDate& date) {
    const int receipt =
        insert(s,
               QStringLiteral(
                   "insert into tblInventoryReceipt (InventoryID, ReceiveDate, FarsiReceiveDate) "
                   "values (?,?,?) RETURNING ID"),
               {inventory, date, getFarsiDate(date)});
    s.exec(QStringLiteral(
               "insert into tblInventoryReceiptDetail (ReceiptID, Barcode, Qty) values (?,?,?)"),
           {receipt, barcode, qty});
}

void GrantInventory(Session& s, int user, int inventory, bool primary) {
    s.exec(QStringLiteral(
               "insert into tblInventoryUser (UserID, InventoryID, IsPrimary) values (?,?,?)"),
           {user, inventory, primary ? 1 : 0});
}

void GrantInvoiceType(Session& s, int user, int type) {
    s.exec(
        QStringLiteral("insert into tblUserSaleInvoiceType (UserID, InvoiceTypeID) values (?,?)"),
        {user, type});
}

}  // namespace si::test
