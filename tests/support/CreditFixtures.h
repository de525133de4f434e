#pragma once
// Rows behind a customer's credit: ledger accounts and postings, final invoices with the receipts
// assigned to them, returns, orders, cash boxes with their receipts, and credit constraints.
// Each returns the new ID.

#include <QDate>
#include <QDateTime>
#include <QString>

#include "common/Session.h"

namespace si::test {

// An account of the organisation (tblAccountRelatedObjects, class 7).
int AddCustomerAccount(Session& s, int organization);
// One posted row (a document of its own); a pre-document stays outside the balances.
void PostToAccount(Session& s, int account, qint64 debit, qint64 credit, const QDate& date,
                   bool preDocument = false);

struct FinalInvoice {
    int customer = -1;
    QDate date;
    qint64 total = 0;
    int promoter = -1;
    int saleOrder = -1;
    int distributionInvoice = -1;
    bool temporary = false;
};
int AddFinalInvoice(Session& s, const FinalInvoice& invoice);
// A receipt assigned to the invoice, on the reference side of the link or the related one.
void AssignReceipt(Session& s, int invoice, qint64 value, bool invoiceIsReference = true);

int AddSaleReturn(Session& s, int customer, int invoice, const QDate& date, qint64 total);
int AddSaleOrder(Session& s, int customer);
void AddSaleOrderLine(Session& s, int order, double qty, double price);

int AddCashBox(Session& s, const QString& name);
// A movement of the cash box for the account; registered movements carry a code.
void AddCashMovement(Session& s, int cashBox, int account, const QDateTime& when, qint64 received,
                     qint64 payed, bool registered = true);

// A work activity whose organisations' credit is checked or not, and a customer of it with the
// degree.
int AddCheckedCustomer(Session& s, const QString& name, int degree, bool checkCredit = true);
int AddCustomerDegree(Session& s, const QString& name);
// A credit constraint between two Jalali dates; returns its ID for the details.
int AddCreditConstraint(Session& s, const QString& farsiBegin, const QString& farsiEnd);
// A detail row of the constraint for the degree, all thresholds null.
int AddConstraintDetail(Session& s, int constraint, int degree);

}  // namespace si::test
