-- Version 11: the text messages the host is asked to send, kept until a gateway has taken them.
-- Any process stores a message (State 0, due at once); a host claims a due one by setting
-- ClaimToken and ClaimedUntil in one conditional update, sends it, and marks it sent (State 1)
-- or failed (Attempts, LastError, NextAttemptDate further on). A host that dies while sending
-- leaves a claim that lapses at ClaimedUntil, and the message is sent again.
-- There is no state for a message given up: a gateway or a network away for a weekend must not
-- drop a customer's message, so retries go on with a capped back-off and the outbox window
-- shows the attempts and the last error of a message that keeps failing.
CREATE TABLE IF NOT EXISTS tblSmsOutbox (
    ID IDENTITY,
    Phone VARCHAR(50) NOT NULL,
    Message VARCHAR(4000) NOT NULL,
    CreateDate DATETIME NOT NULL,
    State SMALLINT NOT NULL DEFAULT 0,
    Attempts INTEGER NOT NULL DEFAULT 0,
    NextAttemptDate DATETIME NOT NULL,
    LastError VARCHAR(500),
    SentDate DATETIME,
    ClaimToken VARCHAR(40),
    ClaimedUntil DATETIME
);
-- Only waiting messages are looked for, and the sent ones pile up.
CREATE INDEX IF NOT EXISTS ix_tblSmsOutbox_Due ON tblSmsOutbox (NextAttemptDate) WHERE State = 0;
