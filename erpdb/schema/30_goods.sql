-- Goods, their groups and units, prices per pricing method, attached goods and tax settings.

-- Prices are per base unit (ScaleID); SaleScaleID is the unit a line starts in. EsTreshold is the
-- quantity from which the customer may be given free goods. BuyPrice feeds the approximate
-- profit of a line.
CREATE TABLE IF NOT EXISTS tblGood (
    ID IDENTITY,
    Barcode VARCHAR(50) NOT NULL,
    Code VARCHAR(50),
    Name VARCHAR(300),
    GoodGroupID INTEGER,
    ScaleID INTEGER,
    SaleScaleID INTEGER,
    RetailPrice MONEY,
    BuyPrice MONEY,
    StandardDiscountPercent PERCENT,
    StandardDiscountValue MONEY,
    EsTreshold MONEY,
    HasTax FLAG,
    HasAdded FLAG,
    LoanExpireDuration INTEGER,
    IsActive FLAG DEFAULT 1
);
CREATE UNIQUE INDEX IF NOT EXISTS ux_tblGood_Barcode ON tblGood (Barcode);
CREATE INDEX IF NOT EXISTS ix_tblGood_Code ON tblGood (Code);
CREATE INDEX IF NOT EXISTS ix_tblGood_Name ON tblGood (Name);
CREATE INDEX IF NOT EXISTS ix_tblGood_GoodGroupID ON tblGood (GoodGroupID);

CREATE TABLE IF NOT EXISTS tblGoodGroup (
    ID IDENTITY,
    Code VARCHAR(50),
    Name VARCHAR(200),
    ParentID INTEGER
);
CREATE INDEX IF NOT EXISTS ix_tblGoodGroup_ParentID ON tblGoodGroup (ParentID);

-- Ancestor closure of the goods-group tree (ID ancestor, ChildID descendant).
CREATE TABLE IF NOT EXISTS tblGoodGroupParent (
    ID INTEGER NOT NULL,
    ChildID INTEGER NOT NULL,
    NoLevel INTEGER,
    PRIMARY KEY (ID, ChildID)
);
CREATE INDEX IF NOT EXISTS ix_tblGoodGroupParent_ChildID ON tblGoodGroupParent (ChildID, NoLevel);

-- ScaleToBaseParent: base units in one of this unit (null counts as 1).
CREATE TABLE IF NOT EXISTS tblGoodScale (
    ID IDENTITY,
    Code VARCHAR(50),
    Name VARCHAR(100),
    ParentID INTEGER,
    ScaleToBaseParent MONEY,
    IsInteger FLAG
);

-- Units a barcode may be sold in.
CREATE TABLE IF NOT EXISTS tblGoodSaleScale (
    Barcode VARCHAR(50) NOT NULL,
    ScaleID INTEGER NOT NULL,
    PRIMARY KEY (Barcode, ScaleID)
);

-- A goods item's price and default discount under one pricing method; null price means the
-- price of tblGood, null IsDiscountInPercent counts as 1.
CREATE TABLE IF NOT EXISTS tblGoodSaleInfo (
    ID IDENTITY,
    Barcode VARCHAR(50) NOT NULL,
    PricingMethodID INTEGER NOT NULL,
    RetailPrice MONEY,
    IsDiscountInPercent FLAG,
    DiscountPercent PERCENT,
    DiscountValue MONEY,
    LoanExpireDuration INTEGER
);
CREATE UNIQUE INDEX IF NOT EXISTS ux_tblGoodSaleInfo_Barcode_Method ON tblGoodSaleInfo (Barcode, PricingMethodID);
CREATE INDEX IF NOT EXISTS ix_tblGoodSaleInfo_Method ON tblGoodSaleInfo (PricingMethodID);

-- Goods added to an invoice together with a goods item.
CREATE TABLE IF NOT EXISTS tblGoodAttachedGoods (
    ID IDENTITY,
    GoodID INTEGER NOT NULL,
    AttachedGoodID INTEGER NOT NULL
);
CREATE INDEX IF NOT EXISTS ix_tblGoodAttachedGoods_GoodID ON tblGoodAttachedGoods (GoodID);

-- A goods item's own tax and duty over a date range; replaces the general percentages.
CREATE TABLE IF NOT EXISTS tblGoodTaxAddedInfo (
    ID IDENTITY,
    Barcode VARCHAR(50) NOT NULL,
    BeginDate DATETIME,
    FarsiBeginDate FARSIDATE,
    EndDate DATETIME,
    FarsiEndDate FARSIDATE,
    HasTax FLAG,
    HasAdded FLAG,
    TaxPercent PERCENT,
    AddedPercent PERCENT
);
CREATE INDEX IF NOT EXISTS ix_tblGoodTaxAddedInfo_Barcode ON tblGoodTaxAddedInfo (Barcode, BeginDate);
