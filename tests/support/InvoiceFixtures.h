#pragma once
// Rows that invoice tests build on: customers, goods with units and prices, inventories, types
// and stored invoices. Each returns the new ID.

#include <QDate>
#include <QString>

#include "common/Session.h"

namespace si::test {

struct InvoiceRow {
    QDate date = QDate(2026, 12, 6);
    int customer = -1;
    int inventory = -1;
    int type = -1;
    QVariant code;  // null: temporary
    int distributionInvoice = -1;
    QString notes;
};

int AddCustomer(Session& s, const QString& name, const QString& code = QString());
int AddInventory(Session& s, const QString& name, bool checkStock = false);
int AddInvoiceType(Session& s, const QString& name, bool wholesale = false,
                   bool preciousMetal = false);
int AddUnit(Session& s, const QString& name, double factor, bool integer);
// A goods item sold in the unit, at the base-unit price.
int AddGood(Session& s, const QString& barcode, const QString& code, const QString& name,
            qint64 price, int unit);
int AddInvoice(Session& s, const InvoiceRow& row);
void AddInvoiceLine(Session& s, int invoice, const QString& barcode, double qty, qint64 unitPrice,
                    int unit, int rowNumber);
void Receive(Session& s, int inventory, const QString& barcode, double qty, const QDate& date);
void GrantInventory(Session& s, int user, int inventory, bool primary = false);
void GrantInvoiceType(Session& s, int user, int type);

}  // namespace si::test
