#pragma once
// The installation's secret that signs the form-event chain (EventChain.h). It lives in a file
// outside the database, so that whoever can only change the database cannot sign an event: the
// file named by $SALEINVOICE_AUDIT_KEY, else saleinvoice-audit.key in the user's configuration
// folder (ERP_Torvan/). Every workstation that writes to one database holds a copy of the same
// file. The file holds 32 random bytes in hexadecimal and is readable by its owner only.

#include <QByteArray>
#include <QString>
#include <optional>

namespace si {

QString AuditKeyPath();

// The key, or nullopt when the file is missing or does not hold a key.
std::optional<QByteArray> ReadAuditKey();

// Reads the key; throws SqlError with a Persian message naming the file when it is missing, so
// that the write asking for it and its transaction are refused.
QByteArray RequireAuditKey();

// Creates the key file when there is none (two processes at once agree on one key), and
// returns its path. Throws std::runtime_error when it cannot be written.
QString EnsureAuditKey();

// The refusal when the key file is missing.
QString MissingAuditKeyMessage();

}  // namespace si
