#pragma once
// The formula list an invoice template reads, fmlSLSInvoiceID to fmlTotalPriceLock in the order
// the templates number them, from the invoice the form holds and what the database tells of its
// company, customer, surcharges, promoter, sale order and balance. It reads only.
//
// Identifiers and amounts are numbers; names, dates and other texts are text items. The ten cost
// items are text, so that a slot without a surcharge is sent empty.

#include "invoice/InvoiceServices.h"
#include "printing/ReportHandOver.h"

namespace si {

FormulaList InvoiceFormulas(InvoiceServices& services);

}  // namespace si
