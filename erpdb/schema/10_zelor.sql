-- The suite's own tables: system parameters, users, positions and rights, form types, form
-- links and the form-event log, report templates, surcharge and deduction types, the company.
-- Type words (IDENTITY, MONEY, FLAG, DATETIME, FARSIDATE, PERCENT) are translated per database
-- by the installer. There are no foreign keys: the module removes dependants itself, in order.

-- One row per numbered parameter; the numbers are fixed across installations.
CREATE TABLE IF NOT EXISTS tblZelorSystemParameters (
    ID INTEGER NOT NULL PRIMARY KEY,
    SystemID INTEGER,
    Name VARCHAR(300),
    Value VARCHAR(4000),
    UserID INTEGER,
    Description VARCHAR(500)
);
CREATE INDEX IF NOT EXISTS ix_tblZelorSystemParameters_SystemID ON tblZelorSystemParameters (SystemID);

-- A user's own value of a parameter wins over the general one.
CREATE TABLE IF NOT EXISTS tblZelorSystemParametersUser (
    UserID INTEGER NOT NULL,
    SystemParameterID INTEGER NOT NULL,
    Value VARCHAR(4000),
    PRIMARY KEY (UserID, SystemParameterID)
);

CREATE TABLE IF NOT EXISTS tblPosition (
    ID IDENTITY,
    Code VARCHAR(50),
    Name VARCHAR(200),
    ParentID INTEGER,
    SaleCreditLevelID INTEGER,
    IsActive FLAG DEFAULT 1
);

-- IsAdmin holds every right. Password keeps a hash; the module never reads it.
CREATE TABLE IF NOT EXISTS tblUser (
    ID IDENTITY,
    UserName VARCHAR(100) NOT NULL,
    FullName VARCHAR(200),
    Password VARCHAR(200),
    BranchID INTEGER,
    EmployeeID INTEGER,
    PositionID INTEGER,
    IsAdmin FLAG DEFAULT 0,
    IsActive FLAG DEFAULT 1
);
CREATE UNIQUE INDEX IF NOT EXISTS ux_tblUser_UserName ON tblUser (UserName);
CREATE INDEX IF NOT EXISTS ix_tblUser_EmployeeID ON tblUser (EmployeeID);

-- Rights, numbered as the forms ask them (90104 search, 90106 final save, ...). A user holds a
-- right given to the user or to the user's position; spZelorHasPermission answers from these.
CREATE TABLE IF NOT EXISTS tblZelorPermission (
    ID INTEGER NOT NULL PRIMARY KEY,
    Name VARCHAR(300),
    FormTypeID INTEGER
);

CREATE TABLE IF NOT EXISTS tblZelorUserPermission (
    UserID INTEGER NOT NULL,
    PermissionID INTEGER NOT NULL,
    PRIMARY KEY (UserID, PermissionID)
);

CREATE TABLE IF NOT EXISTS tblZelorPositionPermission (
    PositionID INTEGER NOT NULL,
    PermissionID INTEGER NOT NULL,
    PRIMARY KEY (PositionID, PermissionID)
);

-- Form types are fixed numbers: 901 sale invoice, 802 inventory dispatch, 903 sale return,
-- 904 cash-turn report, 205 card payment, 102 customer, 910 invoice list report.
CREATE TABLE IF NOT EXISTS tblZelorFormType (
    ID INTEGER NOT NULL PRIMARY KEY,
    Name VARCHAR(200),
    SecurityTypeID INTEGER
);

-- Customers (form type 102) a user may sell to, when customer access is checked.
CREATE TABLE IF NOT EXISTS tblZelorAllowablePosition (
    ID IDENTITY,
    SecureUserID INTEGER,
    SecurePositionID INTEGER,
    FormTypeID INTEGER NOT NULL,
    FormID INTEGER NOT NULL
);
CREATE INDEX IF NOT EXISTS ix_tblZelorAllowablePosition_User ON tblZelorAllowablePosition (SecureUserID, FormTypeID, FormID);

-- Links between documents, each addressed by (form type, form ID). AssignedValue is the part of
-- a receipt assigned to the document it settles.
CREATE TABLE IF NOT EXISTS tblZelorRelatedForms (
    ID IDENTITY,
    ReferenceFormID INTEGER NOT NULL,
    ReferenceFormTypeID INTEGER NOT NULL,
    RelatedFormID INTEGER NOT NULL,
    RelatedFormTypeID INTEGER NOT NULL,
    AssignedValue MONEY,
    CreatorID INTEGER,
    CreateDate DATETIME,
    FarsiCreateDate FARSIDATE
);
CREATE INDEX IF NOT EXISTS ix_tblZelorRelatedForms_Reference ON tblZelorRelatedForms (ReferenceFormTypeID, ReferenceFormID);
CREATE INDEX IF NOT EXISTS ix_tblZelorRelatedForms_Related ON tblZelorRelatedForms (RelatedFormTypeID, RelatedFormID);

-- The form-event log written by spZelorInsertFormAction (90101 edited, 90102 deleted).
-- FormCode is the document's computer number; EventTime is minutes after midnight.
CREATE TABLE IF NOT EXISTS tblZelorFormEvent (
    ID IDENTITY,
    EventTypeID INTEGER NOT NULL,
    FormCode INTEGER,
    FormTypeID INTEGER,
    Description VARCHAR(2000),
    UserID INTEGER,
    EventDate DATETIME,
    FarsiEventDate FARSIDATE,
    EventTime INTEGER,
    ReasonSequence INTEGER
);
CREATE INDEX IF NOT EXISTS ix_tblZelorFormEvent_Form ON tblZelorFormEvent (FormTypeID, EventTypeID, FormCode);

CREATE TABLE IF NOT EXISTS tblZelorFormEventReasonType (
    ID IDENTITY,
    EventTypeID INTEGER NOT NULL,
    Sequence INTEGER NOT NULL,
    Description VARCHAR(500)
);
CREATE INDEX IF NOT EXISTS ix_tblZelorFormEventReasonType_Event ON tblZelorFormEventReasonType (EventTypeID, Sequence);

CREATE TABLE IF NOT EXISTS tblZelorReportTemplate (
    ID IDENTITY,
    FormTypeID INTEGER NOT NULL,
    Title VARCHAR(300),
    FilePath VARCHAR(1000),
    Sequence INTEGER
);
CREATE INDEX IF NOT EXISTS ix_tblZelorReportTemplate_FormType ON tblZelorReportTemplate (FormTypeID, Sequence);

-- AccountCode names the ledger account (tblAccount.Code) a surcharge is posted to.
CREATE TABLE IF NOT EXISTS tblZelorSuchargeType (
    ID IDENTITY,
    Code VARCHAR(50),
    Name VARCHAR(200) NOT NULL,
    AccountCode VARCHAR(50)
);

CREATE TABLE IF NOT EXISTS tblZelorShortageType (
    ID IDENTITY,
    Code VARCHAR(50),
    Name VARCHAR(200) NOT NULL,
    AccountCode VARCHAR(50)
);

CREATE TABLE IF NOT EXISTS tblZelorWorkActivity (
    ID IDENTITY,
    Code VARCHAR(50),
    Name VARCHAR(200),
    IsCheckOrganizationCredit FLAG
);

-- The company that runs the suite (printed on invoices) and the folder of the installation
-- (report templates and components are found under it).
CREATE TABLE IF NOT EXISTS tblZelorCompany (
    ID IDENTITY,
    Name VARCHAR(300),
    Address VARCHAR(500),
    Phone VARCHAR(100),
    Fax VARCHAR(100),
    Email VARCHAR(200),
    EconomicCode VARCHAR(50),
    BasePath VARCHAR(1000),
    IsActive FLAG DEFAULT 1
);

CREATE TABLE IF NOT EXISTS tblUserOrganizationWorkActivity (
    UserID INTEGER NOT NULL,
    WorkActivityID INTEGER NOT NULL,
    PRIMARY KEY (UserID, WorkActivityID)
);

CREATE TABLE IF NOT EXISTS tblUserSaleInvoiceType (
    UserID INTEGER NOT NULL,
    InvoiceTypeID INTEGER NOT NULL,
    PRIMARY KEY (UserID, InvoiceTypeID)
);
