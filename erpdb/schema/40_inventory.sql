-- Inventories, their users and goods settings, and the documents that move stock: receipts
-- (goods in) and dispatches (goods out). Stock of a barcode in an inventory up to a date is the
-- sum of vwInventoryStockMovement.BaseQty.

-- StatusTypeID 3 is a closed inventory; CheckExistance switches the stock check on for it.
CREATE TABLE IF NOT EXISTS tblInventory (
    ID IDENTITY,
    Code VARCHAR(50),
    Name VARCHAR(200),
    ParentID INTEGER,
    StatusTypeID INTEGER,
    ResponsibleID INTEGER,
    CheckExistance FLAG,
    BranchID INTEGER,
    IsActive FLAG DEFAULT 1
);
CREATE INDEX IF NOT EXISTS ix_tblInventory_ParentID ON tblInventory (ParentID);

-- Ancestor closure of the inventory tree (ID ancestor, ChildID descendant).
CREATE TABLE IF NOT EXISTS tblInventoryParent (
    ID INTEGER NOT NULL,
    ChildID INTEGER NOT NULL,
    NoLevel INTEGER,
    PRIMARY KEY (ID, ChildID)
);
CREATE INDEX IF NOT EXISTS ix_tblInventoryParent_ChildID ON tblInventoryParent (ChildID, NoLevel);

CREATE TABLE IF NOT EXISTS tblInventoryUser (
    UserID INTEGER NOT NULL,
    InventoryID INTEGER NOT NULL,
    IsPrimary FLAG DEFAULT 0,
    PRIMARY KEY (UserID, InventoryID)
);

CREATE TABLE IF NOT EXISTS tblInventoryGoodInfo (
    ID IDENTITY,
    InventoryID INTEGER NOT NULL,
    Barcode VARCHAR(50) NOT NULL,
    NotForSale FLAG,
    MinQty MONEY,
    MaxQty MONEY
);
CREATE UNIQUE INDEX IF NOT EXISTS ux_tblInventoryGoodInfo_Barcode ON tblInventoryGoodInfo (Barcode, InventoryID);

CREATE TABLE IF NOT EXISTS tblInventoryDispatchType (
    ID IDENTITY,
    Code VARCHAR(50),
    Name VARCHAR(200) NOT NULL
);

-- An exit sheet. Code is numbered per inventory in ReceiveDate order; (FormTypeID, FormID) is
-- the document it was issued for (901 and the invoice ID for a sale).
CREATE TABLE IF NOT EXISTS tblInventoryDispatch (
    ID IDENTITY,
    Code INTEGER,
    InventoryID INTEGER,
    CreatorID INTEGER,
    ReceiveDate DATETIME,
    FarsiReceiveDate FARSIDATE,
    SenderEmployeeID INTEGER,
    ReceiverEmployeeID INTEGER,
    RelatedClassID INTEGER,
    RelatedOrganizationID INTEGER,
    TypeID INTEGER,
    FormID INTEGER,
    FormTypeID INTEGER,
    CreateDate DATETIME,
    FarsiCreateDate FARSIDATE,
    Notes VARCHAR(4000),
    ContractID INTEGER,
    BranchID INTEGER
);
CREATE INDEX IF NOT EXISTS ix_tblInventoryDispatch_Form ON tblInventoryDispatch (FormTypeID, FormID);
CREATE INDEX IF NOT EXISTS ix_tblInventoryDispatch_Inventory ON tblInventoryDispatch (InventoryID, ReceiveDate);
CREATE INDEX IF NOT EXISTS ix_tblInventoryDispatch_Code ON tblInventoryDispatch (Code, InventoryID);

-- Qty and ScaleQty are in the unit ScaleID.
CREATE TABLE IF NOT EXISTS tblInventoryDispatchDetail (
    ID IDENTITY,
    DispatchID INTEGER NOT NULL,
    RowNumber INTEGER,
    Barcode VARCHAR(50) NOT NULL,
    Qty MONEY,
    ScaleID INTEGER,
    ScaleQty MONEY,
    Description VARCHAR(500) DEFAULT ''
);
CREATE INDEX IF NOT EXISTS ix_tblInventoryDispatchDetail_DispatchID ON tblInventoryDispatchDetail (DispatchID);
CREATE INDEX IF NOT EXISTS ix_tblInventoryDispatchDetail_Barcode ON tblInventoryDispatchDetail (Barcode, DispatchID);

CREATE TABLE IF NOT EXISTS tblInventoryDispatchDetailTrace (
    ID IDENTITY,
    DispatchID INTEGER NOT NULL,
    Barcode VARCHAR(50) NOT NULL,
    ScaleID INTEGER,
    TracePropertyTypeID1 INTEGER,
    TracePropertyTypeID2 INTEGER,
    TracePropertyTypeID3 INTEGER,
    TracePropertyTypeID4 INTEGER,
    Qty MONEY,
    ScaleQty MONEY,
    Sequence INTEGER
);
CREATE INDEX IF NOT EXISTS ix_tblInventoryDispatchDetailTrace_DispatchID ON tblInventoryDispatchDetailTrace (DispatchID);

-- A receipt sheet (goods into an inventory: purchases, transfers in, opening stock of a period).
-- (FormTypeID, FormID) is the document it was issued for, if any.
CREATE TABLE IF NOT EXISTS tblInventoryReceipt (
    ID IDENTITY,
    Code INTEGER,
    InventoryID INTEGER NOT NULL,
    TypeID INTEGER,
    CreatorID INTEGER,
    ReceiveDate DATETIME,
    FarsiReceiveDate FARSIDATE,
    CreateDate DATETIME,
    FarsiCreateDate FARSIDATE,
    RelatedOrganizationID INTEGER,
    FormID INTEGER,
    FormTypeID INTEGER,
    BranchID INTEGER,
    Notes VARCHAR(4000)
);
CREATE INDEX IF NOT EXISTS ix_tblInventoryReceipt_Inventory ON tblInventoryReceipt (InventoryID, ReceiveDate);
CREATE INDEX IF NOT EXISTS ix_tblInventoryReceipt_Form ON tblInventoryReceipt (FormTypeID, FormID);

-- Qty and ScaleQty are in the unit ScaleID.
CREATE TABLE IF NOT EXISTS tblInventoryReceiptDetail (
    ID IDENTITY,
    ReceiptID INTEGER NOT NULL,
    RowNumber INTEGER,
    Barcode VARCHAR(50) NOT NULL,
    Qty MONEY,
    ScaleID INTEGER,
    ScaleQty MONEY,
    Description VARCHAR(500) DEFAULT ''
);
CREATE INDEX IF NOT EXISTS ix_tblInventoryReceiptDetail_ReceiptID ON tblInventoryReceiptDetail (ReceiptID);
CREATE INDEX IF NOT EXISTS ix_tblInventoryReceiptDetail_Barcode ON tblInventoryReceiptDetail (Barcode, ReceiptID);
