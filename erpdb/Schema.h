#pragma once
// The ERP database the module runs on: every table and view it reads or writes, for SQLite and
// PostgreSQL from one source (erpdb/schema/*.sql, written in the common dialect with type words
// that the installer translates), with the indexes its look-ups need.

#include <QStringList>

#include "common/Session.h"

namespace si::erpdb {

// The version this build installs; each upgrade step raises it by one.
int CurrentSchemaVersion();
// Creates or upgrades the schema; running it again changes nothing. One transaction.
void InstallSchema(Session& session);
// 0 when no schema is installed.
int InstalledSchemaVersion(Session& session);
// Every table the schema creates, in creation order.
QStringList TableNames();

}  // namespace si::erpdb
