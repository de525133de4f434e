-- Version 6: the goods' folded keys. Typed codes, barcodes and names are compared folded
-- (FoldedText, created by version 5 on PostgreSQL and registered by the session on SQLite), in
-- code-point order so that a prefix is a range on both databases.
CREATE INDEX IF NOT EXISTS ix_tblGood_FoldedBarcode ON tblGood (FoldedText(Barcode) COLLATE "C");
CREATE INDEX IF NOT EXISTS ix_tblGood_FoldedCode ON tblGood (FoldedText(Code) COLLATE "C");
CREATE INDEX IF NOT EXISTS ix_tblGood_FoldedName ON tblGood (FoldedText(Name) COLLATE "C");
