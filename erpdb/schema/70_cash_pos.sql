-- Cash boxes, their turns (a cashier's shift) and the money movements of a turn; PC-POS card
-- terminals and their approved transactions.

CREATE TABLE IF NOT EXISTS tblRecPayCash (
    ID IDENTITY,
    Code VARCHAR(50),
    Name VARCHAR(200) NOT NULL,
    AccountID INTEGER,
    BranchID INTEGER,
    IsActive FLAG DEFAULT 1
);

-- Users permitted on a cash box.
CREATE TABLE IF NOT EXISTS tblRecPayCashUser (
    CashID INTEGER NOT NULL,
    UserID INTEGER NOT NULL,
    PRIMARY KEY (CashID, UserID)
);
CREATE INDEX IF NOT EXISTS ix_tblRecPayCashUser_UserID ON tblRecPayCashUser (UserID);

-- One turn of a cash box, open while IsOpen = 1; UserID owns it. Turn numbers stay below 1000
-- (a selector entry carries CashID * 1000 + Turn).
CREATE TABLE IF NOT EXISTS tblRecPayCashTurn (
    ID IDENTITY,
    CashID INTEGER NOT NULL,
    Turn INTEGER NOT NULL,
    IsOpen FLAG DEFAULT 1,
    UserID INTEGER,
    OpenDate DATETIME,
    FarsiOpenDate FARSIDATE,
    CloseDate DATETIME,
    FarsiCloseDate FARSIDATE
);
CREATE INDEX IF NOT EXISTS ix_tblRecPayCashTurn_Cash ON tblRecPayCashTurn (CashID, Turn);
CREATE INDEX IF NOT EXISTS ix_tblRecPayCashTurn_UserID ON tblRecPayCashTurn (UserID);

-- Further users admitted to a turn.
CREATE TABLE IF NOT EXISTS tblRecPayCashTurnUser (
    CashTurnID INTEGER NOT NULL,
    UserID INTEGER NOT NULL,
    PRIMARY KEY (CashTurnID, UserID)
);

-- One money movement of a turn; (FormTypeID, FormID) is its document (901 an invoice, 903 a sale
-- return, 205 a card payment to the bank, which is its own document).
CREATE TABLE IF NOT EXISTS tblRecPayCashTurnDetail (
    ID IDENTITY,
    CashTurnID INTEGER NOT NULL,
    Code INTEGER,
    TransactionDate DATETIME,
    FarsiTransactionDate FARSIDATE,
    Description VARCHAR(1000),
    ReceivedValue MONEY DEFAULT 0,
    PayedValue MONEY DEFAULT 0,
    RelatedAccountID INTEGER,
    FormID INTEGER,
    FormTypeID INTEGER,
    UserID INTEGER,
    BranchID INTEGER,
    ClassID1 INTEGER,
    ObjectID1 INTEGER,
    ClassID2 INTEGER,
    ObjectID2 INTEGER,
    ClassID3 INTEGER,
    ObjectID3 INTEGER
);
CREATE INDEX IF NOT EXISTS ix_tblRecPayCashTurnDetail_Form ON tblRecPayCashTurnDetail (FormTypeID, FormID);
CREATE INDEX IF NOT EXISTS ix_tblRecPayCashTurnDetail_CashTurnID ON tblRecPayCashTurnDetail (CashTurnID);
CREATE INDEX IF NOT EXISTS ix_tblRecPayCashTurnDetail_Account ON tblRecPayCashTurnDetail (RelatedAccountID, TransactionDate);

-- Terminal kinds, fixed: 1 serial reader, 2 Saderat, 3 Bank Melli, 4 Asan Pardakht, 5 Keshavarzi.
CREATE TABLE IF NOT EXISTS tblRecPayPosType (
    ID INTEGER NOT NULL PRIMARY KEY,
    Name VARCHAR(200) NOT NULL
);

-- A card terminal of one user; AccountID is the bank's debit account.
CREATE TABLE IF NOT EXISTS tblRecPayPos (
    ID IDENTITY,
    Name VARCHAR(200) NOT NULL,
    COMPort VARCHAR(20),
    BaudRate INTEGER,
    AccountID INTEGER,
    ObjectID1 INTEGER,
    ObjectID2 INTEGER,
    ObjectID3 INTEGER,
    UserID INTEGER,
    TypeID INTEGER,
    IP VARCHAR(100),
    IPPORT INTEGER
);
CREATE INDEX IF NOT EXISTS ix_tblRecPayPos_UserID ON tblRecPayPos (UserID);

-- An approved card payment as the terminal reported it: every field, TransactionDate included,
-- is the terminal's own text.
CREATE TABLE IF NOT EXISTS tblRecPayPosTransaction (
    ID IDENTITY,
    ReasonCode VARCHAR(100),
    SerialTransaction VARCHAR(100),
    AccountNo VARCHAR(100),
    Bin VARCHAR(100),
    Pan VARCHAR(100),
    TerminalNo VARCHAR(100),
    TraceNumber VARCHAR(100),
    TransactionDate VARCHAR(100),
    FarsiTransactionDate FARSIDATE,
    FormTypeID INTEGER,
    FormID INTEGER,
    UserID INTEGER
);
CREATE INDEX IF NOT EXISTS ix_tblRecPayPosTransaction_Form ON tblRecPayPosTransaction (FormTypeID, FormID);
