-- The buyer of a sale to the general walk-in customer account, as the cashier typed them for this
-- one invoice: a name and, when given, a phone of Latin digits with an optional leading "+". At
-- most one row per invoice; it goes with its invoice.
CREATE TABLE IF NOT EXISTS tblSaleInvoiceWalkIn (
    InvoiceID INTEGER NOT NULL PRIMARY KEY REFERENCES tblSaleInvoice (ID) ON DELETE CASCADE,
    Name VARCHAR(100) NOT NULL,
    Phone VARCHAR(16)
);
