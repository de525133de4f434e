-- Version 2: indexes for look-ups that are slow in a large company.

-- The header's credit look-up reads the customer's latest final invoice that used credit. The
-- walk-in customer holds most invoices and none of them used credit, so only those that did are
-- indexed (the look-up's condition is written the same way, for both databases to use it).
CREATE INDEX IF NOT EXISTS ix_tblSaleInvoice_CreditUse ON tblSaleInvoice (CustomerID, CreateDate, ID) WHERE coalesce(UsedCredit, 0) > 0;
