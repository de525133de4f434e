-- Each card payment attempt that a terminal approved, once: its own identity, given before the
-- amount was sent, makes writing an approval again (after a crash between the terminal's answer
-- and the commit) a no-op.
CREATE TABLE IF NOT EXISTS tblRecPayPosAttempt (
    AttemptID VARCHAR(40) NOT NULL PRIMARY KEY,
    InvoiceID INTEGER,
    Amount MONEY,
    TransactionID INTEGER,
    CashTurnDetailID INTEGER,
    CreateDate DATETIME
);
CREATE INDEX IF NOT EXISTS ix_tblRecPayPosAttempt_InvoiceID ON tblRecPayPosAttempt (InvoiceID);
