#pragma once
// Points $SALEINVOICE_AUDIT_KEY at a key file in this process's temporary folder and creates it,
// so that every test database can sign its form events (the programs a test starts inherit it)
// and no test touches a key of the machine. The mains of the test and benchmark programs call it.

namespace si::test {

void UseTemporaryAuditKey();

}  // namespace si::test
