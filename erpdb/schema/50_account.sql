-- The ledger: accounts with their object classes, periods, documents with rows and objects,
-- branches, and contracts/projects.

CREATE TABLE IF NOT EXISTS tblAccountGroup (
    ID INTEGER NOT NULL PRIMARY KEY,
    Name VARCHAR(200)
);

-- Only leaf accounts (no child) take postings.
CREATE TABLE IF NOT EXISTS tblAccount (
    ID IDENTITY,
    Code VARCHAR(50),
    Title VARCHAR(300),
    ParentID INTEGER,
    AccountGroupID INTEGER,
    NoLevel INTEGER,
    IsClosed FLAG DEFAULT 0
);
CREATE INDEX IF NOT EXISTS ix_tblAccount_Code ON tblAccount (Code);
CREATE INDEX IF NOT EXISTS ix_tblAccount_ParentID ON tblAccount (ParentID);

-- Classes of accounting objects, fixed numbers: 4 contract/project, 7 organisation, 9 employee,
-- 19 branch, 33 dependent organisation. ViewMajor/ViewMinor list the objects of the class.
CREATE TABLE IF NOT EXISTS tblAccountClass (
    ID INTEGER NOT NULL PRIMARY KEY,
    Name VARCHAR(200),
    ViewMajor VARCHAR(100),
    ViewMinor VARCHAR(100)
);

-- The object classes an account takes on its rows, in Sequence order (1, 2, 3).
CREATE TABLE IF NOT EXISTS tblAccountRelatedClasses (
    AccountID INTEGER NOT NULL,
    ClassID INTEGER NOT NULL,
    Sequence INTEGER NOT NULL,
    PRIMARY KEY (AccountID, ClassID)
);

-- An object's own account (customer 7, employee 9, ...); a row without class and object is a
-- default account of its group.
CREATE TABLE IF NOT EXISTS tblAccountRelatedObjects (
    ID IDENTITY,
    AccountID INTEGER NOT NULL,
    RelatedClassID INTEGER,
    RelatedObjectID INTEGER,
    AccountGroupID INTEGER
);
CREATE INDEX IF NOT EXISTS ix_tblAccountRelatedObjects_Object ON tblAccountRelatedObjects (RelatedClassID, RelatedObjectID);
CREATE INDEX IF NOT EXISTS ix_tblAccountRelatedObjects_AccountID ON tblAccountRelatedObjects (AccountID);

-- Which account group an automatic posting (AutomaticEventID, e.g. 201 sale) uses for a class;
-- AccountNatureID 0 is the debit side.
CREATE TABLE IF NOT EXISTS tblAccountAutomaticDocFormat (
    ID IDENTITY,
    AccountGroupID INTEGER,
    ClassID INTEGER,
    AutomaticEventID INTEGER,
    AccountNatureID INTEGER
);
CREATE INDEX IF NOT EXISTS ix_tblAccountAutomaticDocFormat_Group ON tblAccountAutomaticDocFormat (AccountGroupID, ClassID);

CREATE TABLE IF NOT EXISTS tblAccountClosedObjects (
    ID IDENTITY,
    ClassID INTEGER NOT NULL,
    ObjectID INTEGER NOT NULL,
    CloseDate DATETIME,
    FarsiCloseDate FARSIDATE,
    Notes VARCHAR(2000)
);
CREATE INDEX IF NOT EXISTS ix_tblAccountClosedObjects_Object ON tblAccountClosedObjects (ClassID, ObjectID);

-- Positions allowed to see an account (confidential customer accounts).
CREATE TABLE IF NOT EXISTS tblAccountSecurePosition (
    AccountID INTEGER NOT NULL,
    PositionID INTEGER NOT NULL,
    PRIMARY KEY (AccountID, PositionID)
);
CREATE INDEX IF NOT EXISTS ix_tblAccountSecurePosition_PositionID ON tblAccountSecurePosition (PositionID);

CREATE TABLE IF NOT EXISTS tblAccountManager (
    ID IDENTITY,
    DocumentTypeID INTEGER,
    AccountID INTEGER,
    Name VARCHAR(200)
);

CREATE TABLE IF NOT EXISTS tblAccountPeriod (
    ID IDENTITY,
    Name VARCHAR(200),
    BeginDate DATETIME,
    FarsiBeginDate FARSIDATE,
    EndDate DATETIME,
    FarsiEndDate FARSIDATE,
    IsActive FLAG DEFAULT 0
);

-- Code 0 and DayNo (the number within its day) are given after the insert; a pre-document is a
-- draft outside the balances.
CREATE TABLE IF NOT EXISTS tblAccountDocument (
    ID IDENTITY,
    Code INTEGER,
    DayNo INTEGER,
    CreatorID INTEGER,
    CreateDate DATETIME,
    FarsiCreateDate FARSIDATE,
    DocumentDate DATETIME,
    FarsiDocumentDate FARSIDATE,
    Value MONEY,
    Description VARCHAR(2000),
    IsFinalized FLAG DEFAULT 0,
    IsMerged FLAG DEFAULT 0,
    IsPreDocument FLAG DEFAULT 0
);
CREATE INDEX IF NOT EXISTS ix_tblAccountDocument_DocumentDate ON tblAccountDocument (DocumentDate);

-- DocumentTypeID 13 a sale row, 10 rounding and surcharges. (FormTypeID, FormID) is the
-- document the row was posted for.
CREATE TABLE IF NOT EXISTS tblAccountDocumentDetail (
    ID IDENTITY,
    DocumentID INTEGER NOT NULL,
    RowNumber INTEGER NOT NULL,
    AccountID INTEGER NOT NULL,
    TransactionDate DATETIME,
    FarsiTransactionDate FARSIDATE,
    Description VARCHAR(2000),
    DocumentTypeID INTEGER,
    AdditionalFormID INTEGER,
    ContractID INTEGER,
    PositionID INTEGER,
    DebitValue MONEY DEFAULT 0,
    CreditValue MONEY DEFAULT 0,
    FormID INTEGER,
    FormTypeID INTEGER,
    BranchID INTEGER
);
CREATE INDEX IF NOT EXISTS ix_tblAccountDocumentDetail_DocumentID ON tblAccountDocumentDetail (DocumentID, RowNumber);
CREATE INDEX IF NOT EXISTS ix_tblAccountDocumentDetail_Form ON tblAccountDocumentDetail (FormTypeID, FormID);
CREATE INDEX IF NOT EXISTS ix_tblAccountDocumentDetail_AccountID ON tblAccountDocumentDetail (AccountID);

CREATE TABLE IF NOT EXISTS tblAccountDocumentObjects (
    ID IDENTITY,
    DocumentID INTEGER NOT NULL,
    RowNumber INTEGER NOT NULL,
    Sequence INTEGER,
    ClassID INTEGER NOT NULL,
    ObjectID INTEGER
);
CREATE INDEX IF NOT EXISTS ix_tblAccountDocumentObjects_Row ON tblAccountDocumentObjects (DocumentID, RowNumber, ClassID);

CREATE TABLE IF NOT EXISTS tblAccountBranch (
    ID IDENTITY,
    Code VARCHAR(50),
    Name VARCHAR(200),
    ParentID INTEGER,
    IsActive FLAG DEFAULT 1
);

-- Ancestor closure of the branch tree (ID ancestor, ChildID descendant).
CREATE TABLE IF NOT EXISTS tblAccountBranchParent (
    ID INTEGER NOT NULL,
    ChildID INTEGER NOT NULL,
    NoLevel INTEGER,
    PRIMARY KEY (ID, ChildID)
);
CREATE INDEX IF NOT EXISTS ix_tblAccountBranchParent_ChildID ON tblAccountBranchParent (ChildID);

CREATE TABLE IF NOT EXISTS tblAccountContractProject (
    ID IDENTITY,
    Code VARCHAR(50),
    Name VARCHAR(300),
    ParentID INTEGER,
    OrganizationID INTEGER,
    BeginDate DATETIME,
    FarsiBeginDate FARSIDATE,
    EndDate DATETIME,
    FarsiEndDate FARSIDATE,
    IsActive FLAG DEFAULT 1
);

-- Ancestor closure of contracts and their sub-projects (ContractID ancestor, ChildID descendant).
CREATE TABLE IF NOT EXISTS tblAccountContractProjectParent (
    ContractID INTEGER NOT NULL,
    ChildID INTEGER NOT NULL,
    NoLevel INTEGER,
    PRIMARY KEY (ContractID, ChildID)
);
