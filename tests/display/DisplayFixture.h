#pragma once
// A database with a cash box and two invoices of known grand totals, for the display's tests.

#include <QString>

#include "common/Money.h"
#include "support/ContextTest.h"
#include "support/InvoiceFixtures.h"

namespace si::test {

class DisplayTest : public ContextTest {
protected:
    void SetUp() override {
        ContextTest::SetUp();
        cashBox = static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblRecPayCash (Name) values (?) RETURNING ID"),
            {QStringLiteral("صندوق يك")}));
        firstInvoice = invoiceOf(34411000);
        secondInvoice = invoiceOf(1250000);
    }
    // A final invoice saved with this grand total.
    int invoiceOf(qint64 grandTotal) {
        InvoiceRow row;
        row.code = ++lastCode;
        const int id = AddInvoice(db(), row);
        db().exec(QStringLiteral("update tblSaleInvoice set TotalValue = ? where ID = ?"),
                  {QVariant::fromValue(Money::fromRials(grandTotal)), id});
        return id;
    }
    QByteArray lineOf(int cash, int invoice) const {
        return QByteArray::number(cash) + ',' + QByteArray::number(invoice);
    }

    int cashBox = 0;
    int firstInvoice = 0;
    int secondInvoice = 0;
    int lastCode = 0;
};

}  // namespace si::test
