-- Version 10: the search's filters by contract and by the related order's code.
CREATE INDEX IF NOT EXISTS ix_tblSaleInvoice_ContractID ON tblSaleInvoice (ContractID);
CREATE INDEX IF NOT EXISTS ix_tblSaleOrder_Code ON tblSaleOrder (Code);
