#pragma once
// Invoices and formulas for the report tests and benchmarks: a long invoice made of the demo's
// past lines, and the formulas the invoice print gives the report component.

#include <QMap>
#include <QString>

#include "common/Session.h"

namespace si::test {

// The newest final invoice of the demo.
qint64 NewestFinalInvoice(Session& db);

// A temporary invoice of the newest final invoice's customer with `lines` lines taken in turn
// from the demo's past lines, its total the sum of its lines. Returns its ID.
qint64 AddInvoiceWithLines(Session& db, int lines);

// The formulas of an invoice as the print routine numbers them (fmlSLSInvoiceID first): the
// company, the customer, the amount in words, the print date and the total.
QMap<int, QString> InvoicePrintFormulas(Session& db, qint64 invoiceId);

// "name='text'" with a quote inside doubled, as the print routine writes a text formula.
QString TextFormula(const QString& name, const QString& value);

}  // namespace si::test
