#pragma once
// Stored invoices with something in every table a delete touches, and a footprint of those tables
// to show that a refused or failed delete changed nothing.

#include "common/Codes.h"
#include "posting/DispatchNotes.h"
#include "posting/DocumentTestSupport.h"

namespace si::test {

// The tables a delete may touch, counted whole: a statement that reaches past its invoice shows.
inline const QStringList kRemovalTables = {QStringLiteral("tblSaleInvoice"),
                                           QStringLiteral("tblSaleInvoiceDetail"),
                                           QStringLiteral("tblSaleInvoiceSucharge"),
                                           QStringLiteral("tblSaleInvoiceShortage"),
                                           QStringLiteral("tblSaleInvoiceDetailDiscount"),
                                           QStringLiteral("tblSaleInvoiceDetailTrace"),
                                           QStringLiteral("tblSaleInvoiceScaleBarcode"),
                                           QStringLiteral("tblInventoryDispatch"),
                                           QStringLiteral("tblInventoryDispatchDetail"),
                                           QStringLiteral("tblInventoryDispatchDetailTrace"),
                                           QStringLiteral("tblZelorRelatedForms"),
                                           QStringLiteral("tblZelorFormEvent"),
                                           QStringLiteral("tblSaleOrder"),
                                           QStringLiteral("tblSaleOrderDetail")};

class RemovalFixture : public PostingFixture {
protected:
    // A temporary invoice with one row in every dependant table and links on both sides.
    int temporaryInvoice() {
        const int kind = addSurchargeType(QStringLiteral("حمل"), QStringLiteral("6201"), false);
        const int id = storeInvoice(
            {.lines = {{QStringLiteral("1001"), 2, 1000}, {QStringLiteral("1002"), 1, 1000}},
             .surcharges = {{kind, 500}},
             .deductions = 200});
        db().exec(QStringLiteral("update tblSaleInvoice set Code = null where ID = ?"), {id});
        db().exec(QStringLiteral("insert into tblSaleInvoiceDetailDiscount (InvoiceID, Barcode, "
                                 "DiscountTypeID, DiscountValue) values (?, '1001', 2, 100)"),
                  {id});
        addTrace(id);
        db().exec(QStringLiteral("insert into tblSaleInvoiceScaleBarcode (InvoiceID, ScaleBarcode) "
                                 "values (?, ?)"),
                  {id, QStringLiteral("2100100020005")});
        link(id, FormType::SaleInvoice, 77, FormType::InventoryDispatch);
        link(88, FormType::SaleReturn, id, FormType::SaleInvoice);
        return id;
    }
    void addTrace(int invoice) {
        db().exec(
            QStringLiteral("insert into tblSaleInvoiceDetailTrace (InvoiceID, Barcode, "
                           "ScaleID, Qty, ScaleQty, Sequence) values (?, '1001', ?, 2, 2, 1)"),
            {invoice, unit});
    }
    void link(int reference, int referenceType, int related, int relatedType) {
        db().exec(QStringLiteral("insert into tblZelorRelatedForms (ReferenceFormID, "
                                 "ReferenceFormTypeID, RelatedFormID, RelatedFormTypeID) values "
                                 "(?, ?, ?, ?)"),
                  {reference, referenceType, related, relatedType});
    }
    // The dispatch the invoice was made from, noted and linked as the dialog and the final save
    // leave it; its notes also hold the note of invoice otherInvoice.
    int dispatchMadeFrom(int invoice, int otherInvoice) {
        db().exec(QStringLiteral("update tblSaleInvoice set IsFromDispatch = 1 where ID = ?"),
                  {invoice});
        const int id = static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblInventoryDispatch (Code, InventoryID, FormID, "
                           "FormTypeID, Notes) values (7, ?, ?, ?, ?) RETURNING ID"),
            {inventory, invoice, FormType::SaleInvoice,
             QStringLiteral("يادداشت انبار") + DispatchInvoiceNote(otherInvoice) +
                 DispatchLinkNote(invoice) + DispatchInvoiceNote(invoice)}));
        for (const char* barcode : {"1001", "1002"})
            db().exec(QStringLiteral("insert into tblInventoryDispatchDetail (DispatchID, "
                                     "Barcode, Qty) values (?, ?, 3)"),
                      {id, QString::fromLatin1(barcode)});
        return id;
    }
    int rowsOf(const QString& table, const QString& condition, const Params& params) {
        return count(table + QStringLiteral(" where ") + condition, params);
    }
    // The rows of every table a delete may touch, and the dispatches' links and notes.
    QString footprint() {
        QString all;
        for (const QString& table : kRemovalTables)
            all += table + QLatin1Char('=') + QString::number(count(table)) + QLatin1Char(' ');
        for (const Row& r : db().query(QStringLiteral("select ID, FormID, FormTypeID, Notes from "
                                                      "tblInventoryDispatch order by ID")))
            all += r.text(u"ID") + QLatin1Char('/') + r.text(u"FormID") + QLatin1Char('/') +
                   r.text(u"FormTypeID") + QLatin1Char('/') + r.text(u"Notes") + QLatin1Char(' ');
        return all;
    }
    std::optional<Row> lastEvent() {
        return db().first(
            QStringLiteral("select EventTypeID, FormCode, FormTypeID, Description, "
                           "UserID, EventDate, FarsiEventDate, EventTime, "
                           "ReasonSequence from tblZelorFormEvent order by ID desc "
                           "limit 1"));
    }
    int saleOrder() {
        const int order = static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblSaleOrder (Code, CustomerID) values (1, ?) RETURNING "
                           "ID"),
            {customer}));
        db().exec(QStringLiteral("insert into tblSaleOrderDetail (OrderID, Barcode, Qty) values "
                                 "(?, '1001', 2)"),
                  {order});
        return order;
    }
    int distributionSheet(bool moved) {
        return static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblDistributionInvoice (Code, IsMoved) values (1, ?) "
                           "RETURNING ID"),
            {moved ? 1 : 0}));
    }
};

}  // namespace si::test
