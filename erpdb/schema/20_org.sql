-- Organisations (customers), their hierarchy, credit constraints and dependent accounts, and the
-- employees (promoters, collectors, distributors, preparers).

-- A person is stored with FirstName and Name (the surname); a company with Name alone.
-- The customer-card number is the last six digits of FarsiCardPrintDate and the ID.
CREATE TABLE IF NOT EXISTS tblOrganization (
    ID IDENTITY,
    Code VARCHAR(50),
    Name VARCHAR(300),
    FirstName VARCHAR(200),
    IsPerson FLAG DEFAULT 0,
    Phone1 VARCHAR(100),
    CellPhone VARCHAR(50),
    Fax VARCHAR(100),
    Email VARCHAR(200),
    Address VARCHAR(1000),
    BossDescription VARCHAR(500),
    NationalCode VARCHAR(50),
    EconomicCode VARCHAR(50),
    IntroductionTypeID INTEGER,
    WorkActivityID INTEGER,
    CustomerDegreeID INTEGER,
    BranchID INTEGER,
    BirthDate DATETIME,
    FarsiBirthDate FARSIDATE,
    CardPrintDate DATETIME,
    FarsiCardPrintDate FARSIDATE,
    CreateDate DATETIME,
    FarsiCreateDate FARSIDATE,
    Notes VARCHAR(2000),
    IsActive FLAG DEFAULT 1
);
CREATE INDEX IF NOT EXISTS ix_tblOrganization_Code ON tblOrganization (Code);
CREATE INDEX IF NOT EXISTS ix_tblOrganization_Name ON tblOrganization (Name);
CREATE INDEX IF NOT EXISTS ix_tblOrganization_WorkActivityID ON tblOrganization (WorkActivityID);
CREATE INDEX IF NOT EXISTS ix_tblOrganization_BranchID ON tblOrganization (BranchID);

-- Ancestor closure of the organisation tree: ID is the ancestor, ChildID every descendant,
-- NoLevel the distance.
CREATE TABLE IF NOT EXISTS tblOrganizationParent (
    ID INTEGER NOT NULL,
    ChildID INTEGER NOT NULL,
    NoLevel INTEGER,
    PRIMARY KEY (ID, ChildID)
);
CREATE INDEX IF NOT EXISTS ix_tblOrganizationParent_ChildID ON tblOrganizationParent (ChildID);

-- Further branches an organisation is served by, besides its own BranchID.
CREATE TABLE IF NOT EXISTS tblOrganizationBranch (
    OrganizationID INTEGER NOT NULL,
    BranchID INTEGER NOT NULL,
    PRIMARY KEY (OrganizationID, BranchID)
);
CREATE INDEX IF NOT EXISTS ix_tblOrganizationBranch_BranchID ON tblOrganizationBranch (BranchID);

CREATE TABLE IF NOT EXISTS tblOrganizationIntroductionType (
    ID IDENTITY,
    Code VARCHAR(50),
    Name VARCHAR(200) NOT NULL
);

CREATE TABLE IF NOT EXISTS tblOrganizationCustomerDegree (
    ID IDENTITY,
    Code VARCHAR(50),
    Name VARCHAR(200) NOT NULL
);

-- Credit constraints per customer degree, valid between two Jalali dates. A null threshold
-- means no limit.
CREATE TABLE IF NOT EXISTS tblOrganizationCreditConstraint (
    ID IDENTITY,
    Name VARCHAR(200),
    BeginDate DATETIME,
    FarsiBeginDate FARSIDATE,
    EndDate DATETIME,
    FarsiEndDate FARSIDATE
);
CREATE INDEX IF NOT EXISTS ix_tblOrganizationCreditConstraint_Dates ON tblOrganizationCreditConstraint (FarsiBeginDate, FarsiEndDate);

CREATE TABLE IF NOT EXISTS tblOrganizationCreditConstraintDetail (
    ID IDENTITY,
    OrgCreditConstraintID INTEGER NOT NULL,
    CustomerDegreeID INTEGER NOT NULL,
    MaxReturnedChequeQty INTEGER,
    MaxReturnedChequeValue MONEY,
    MaxSaleInvoicePerDayValue MONEY,
    MaxSaleInvoicePerDayQty INTEGER,
    MaxSaleReturnValue MONEY,
    MaxSaleReturnQty INTEGER,
    MaxReturnedChequeAge INTEGER,
    MaxNotPaidDocumentQty INTEGER,
    MaxNotPaidDocumentValue MONEY,
    MaxDebitAge INTEGER,
    MaxNotApprovedInvoiceQty INTEGER,
    MaxFreeDebitValue MONEY,
    MaxNotApprovedChequeQty INTEGER,
    MaxNotApprovedChequeValue MONEY
);
CREATE INDEX IF NOT EXISTS ix_tblOrganizationCreditConstraintDetail_Degree ON tblOrganizationCreditConstraintDetail (CustomerDegreeID, OrgCreditConstraintID);

-- Accounts of organisations that share in a customer's sales (credited on posting).
CREATE TABLE IF NOT EXISTS tblOrganizationDependentAccounts (
    ID IDENTITY,
    OrganizationID INTEGER NOT NULL,
    DependentOrganizationID INTEGER,
    AccountID INTEGER NOT NULL,
    SharePercent PERCENT,
    ShareValue MONEY
);
CREATE INDEX IF NOT EXISTS ix_tblOrganizationDependentAccounts_Org ON tblOrganizationDependentAccounts (OrganizationID);

-- ParentID builds the promoter tree (a promoter on an invoice must be a leaf); Tag is the RFID
-- card of the employee; PricingMethodID the employee's own pricing method.
CREATE TABLE IF NOT EXISTS tblEmployee (
    ID IDENTITY,
    Code VARCHAR(50),
    FirstName VARCHAR(200),
    SureName VARCHAR(200),
    ParentID INTEGER,
    UserID INTEGER,
    BranchID INTEGER,
    Tag VARCHAR(100),
    PricingMethodID INTEGER,
    Phone VARCHAR(50),
    Address VARCHAR(1000),
    Email VARCHAR(200),
    IncomingSalePercent PERCENT,
    IsActive FLAG DEFAULT 1
);
CREATE INDEX IF NOT EXISTS ix_tblEmployee_ParentID ON tblEmployee (ParentID);
CREATE INDEX IF NOT EXISTS ix_tblEmployee_UserID ON tblEmployee (UserID);
CREATE INDEX IF NOT EXISTS ix_tblEmployee_Tag ON tblEmployee (Tag);
CREATE INDEX IF NOT EXISTS ix_tblEmployee_Code ON tblEmployee (Code);

-- Further branches an employee works for, besides the own BranchID.
CREATE TABLE IF NOT EXISTS tblEmployeeBranch (
    EmployeeID INTEGER NOT NULL,
    BranchID INTEGER NOT NULL,
    PRIMARY KEY (EmployeeID, BranchID)
);
CREATE INDEX IF NOT EXISTS ix_tblEmployeeBranch_BranchID ON tblEmployeeBranch (BranchID);
