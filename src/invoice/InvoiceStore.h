#pragma once
// Reads a stored sale invoice into the typed Invoice: one statement per table (the header with
// its postings, all lines at once, the line discounts, surcharges and deductions), whatever the
// number of lines.

#include <optional>

#include "common/Row.h"
#include "common/Session.h"
#include "invoice/Invoice.h"

namespace si {

class InvoiceStore {
public:
    explicit InvoiceStore(Session& session) : session_(session) {}

    // nullopt when no invoice has this ID.
    std::optional<Invoice> read(int invoiceId);
    // The stored header as it is, every column of tblSaleInvoice, with the IDs of its postings
    // (PostedDocumentID, PostedCashTurnDetailID, PostedDispatchID; NULL when none) and its walk-in
    // buyer (WalkInName, WalkInPhone; NULL when none): what the form loads its fields from.
    std::optional<Row> readHeaderRow(int invoiceId);

private:
    QVector<InvoiceLineItem> readLines(int invoiceId);
    QVector<LineDiscount> readLineDiscounts(int invoiceId);
    QVector<InvoiceSurcharge> readSurcharges(int invoiceId);
    QVector<InvoiceDeduction> readDeductions(int invoiceId);

    Session& session_;
};

}  // namespace si
