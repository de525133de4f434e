-- Distribution: regions and paths with their promoters, the customers on them with their credit,
-- distribution sheets and their returns. CRM: loyalty card types, the cards of customers, and
-- card and birthday discounts.

CREATE TABLE IF NOT EXISTS tblDistributionRegion (
    ID IDENTITY,
    Code VARCHAR(50),
    Name VARCHAR(200),
    ParentID INTEGER
);

CREATE TABLE IF NOT EXISTS tblDistributionPath (
    ID IDENTITY,
    Code VARCHAR(50),
    Name VARCHAR(200),
    RegionID INTEGER,
    ParentID INTEGER
);

-- Ancestor closure of the path tree (ID ancestor, ChildID descendant).
CREATE TABLE IF NOT EXISTS tblDistributionPathParent (
    ID INTEGER NOT NULL,
    ChildID INTEGER NOT NULL,
    NoLevel INTEGER,
    PRIMARY KEY (ID, ChildID)
);

-- The employees serving a path (promoters, distributors, collectors), by PriorityNo; a
-- promoter's outstanding sales may not exceed NonAchievedMaxValue.
CREATE TABLE IF NOT EXISTS tblDistributionPathPromoters (
    ID IDENTITY,
    PathID INTEGER NOT NULL,
    EmployeeID INTEGER NOT NULL,
    PriorityNo INTEGER,
    NonAchievedMaxValue MONEY
);
CREATE INDEX IF NOT EXISTS ix_tblDistributionPathPromoters_PathID ON tblDistributionPathPromoters (PathID, PriorityNo);
CREATE INDEX IF NOT EXISTS ix_tblDistributionPathPromoters_EmployeeID ON tblDistributionPathPromoters (EmployeeID);

-- A customer on the distribution paths, with its own pricing method and its credit.
CREATE TABLE IF NOT EXISTS tblDistributionOrganization (
    ID IDENTITY,
    OrganizationID INTEGER NOT NULL,
    PathID INTEGER,
    DistributerPathID INTEGER,
    AchieverPathID INTEGER,
    PricingMethodID INTEGER,
    ContractProjectID INTEGER,
    StoreName VARCHAR(300),
    EnableCredit FLAG,
    Credit MONEY,
    EnableDocumentCredit FLAG,
    DocumentCredit MONEY,
    EnableExtraCredit FLAG,
    ExtraCredit MONEY,
    ExtraCreditBeginDate DATETIME,
    FarsiExtraCreditBeginDate FARSIDATE,
    ExtraCreditEndDate DATETIME,
    FarsiExtraCreditEndDate FARSIDATE
);
CREATE INDEX IF NOT EXISTS ix_tblDistributionOrganization_OrganizationID ON tblDistributionOrganization (OrganizationID);
CREATE INDEX IF NOT EXISTS ix_tblDistributionOrganization_PathID ON tblDistributionOrganization (PathID);
CREATE INDEX IF NOT EXISTS ix_tblDistributionOrganization_ContractProjectID ON tblDistributionOrganization (ContractProjectID);

-- A distribution sheet; once its vehicle has left (IsMoved) its invoices are fixed.
CREATE TABLE IF NOT EXISTS tblDistributionInvoice (
    ID IDENTITY,
    Code INTEGER,
    PathID INTEGER,
    DistributerID INTEGER,
    InventoryID INTEGER,
    IsMoved FLAG DEFAULT 0,
    CreateDate DATETIME,
    FarsiCreateDate FARSIDATE,
    MoveDate DATETIME,
    FarsiMoveDate FARSIDATE
);

CREATE TABLE IF NOT EXISTS tblDistributionReturn (
    ID IDENTITY,
    Code INTEGER,
    DistributionInvoiceID INTEGER NOT NULL,
    IsReturnGoodReceived FLAG,
    CreateDate DATETIME,
    FarsiCreateDate FARSIDATE
);
CREATE INDEX IF NOT EXISTS ix_tblDistributionReturn_Invoice ON tblDistributionReturn (DistributionInvoiceID);

-- Goods of a sheet's invoices as they stood when the invoice was finalised.
CREATE TABLE IF NOT EXISTS tblDistributionRemovedInvoiceDetail (
    ID IDENTITY,
    DistributionInvoiceID INTEGER NOT NULL,
    SaleInvoiceID INTEGER NOT NULL,
    Barcode VARCHAR(50),
    ScaleID INTEGER,
    Qty MONEY
);
CREATE INDEX IF NOT EXISTS ix_tblDistributionRemovedInvoiceDetail_Invoice ON tblDistributionRemovedInvoiceDetail (DistributionInvoiceID, SaleInvoiceID);

CREATE TABLE IF NOT EXISTS tblCRMCardType (
    ID IDENTITY,
    Code VARCHAR(50),
    Name VARCHAR(200) NOT NULL,
    MinGrade MONEY
);

-- The loyalty cards issued to an organisation; the latest is the one in force.
CREATE TABLE IF NOT EXISTS tblCRMOrganizationCard (
    ID IDENTITY,
    OrganizationID INTEGER NOT NULL,
    CardTypeID INTEGER,
    TotalGrade MONEY,
    TotalValue MONEY,
    IssueDate DATETIME,
    FarsiIssueDate FARSIDATE
);
CREATE INDEX IF NOT EXISTS ix_tblCRMOrganizationCard_OrganizationID ON tblCRMOrganizationCard (OrganizationID, ID);

-- Card discount per goods item or goods group and card type.
CREATE TABLE IF NOT EXISTS tblCRMGoodDiscount (
    ID IDENTITY,
    Barcode VARCHAR(50),
    GoodGroupID INTEGER,
    CardTypeID INTEGER NOT NULL,
    DiscountPercent PERCENT
);
CREATE INDEX IF NOT EXISTS ix_tblCRMGoodDiscount_Barcode ON tblCRMGoodDiscount (Barcode, CardTypeID);
CREATE INDEX IF NOT EXISTS ix_tblCRMGoodDiscount_Group ON tblCRMGoodDiscount (GoodGroupID, CardTypeID);

-- Birthday discount per goods item or goods group and card type.
CREATE TABLE IF NOT EXISTS tblCRMBirthDayGoodDiscount (
    ID IDENTITY,
    Barcode VARCHAR(50),
    GoodGroupID INTEGER,
    CardTypeID INTEGER NOT NULL,
    DiscountPercent PERCENT
);
CREATE INDEX IF NOT EXISTS ix_tblCRMBirthDayGoodDiscount_Barcode ON tblCRMBirthDayGoodDiscount (Barcode, CardTypeID);
CREATE INDEX IF NOT EXISTS ix_tblCRMBirthDayGoodDiscount_Group ON tblCRMBirthDayGoodDiscount (GoodGroupID, CardTypeID);
