#pragma once
// While it lives, a table or view of the test database cannot be found under its name: the
// statements that read or write it fail as they would on a damaged database. It comes back
// afterwards, since the tests' PostgreSQL database is shared by the whole test program. The
// object goes and comes back through a connection of its own.

#include <QString>
#include <memory>

#include "common/Session.h"

namespace si::test {

class TestDatabase;

class MissingObject {
public:
    MissingObject(const TestDatabase& database, QString name);
    ~MissingObject();
    MissingObject(const MissingObject&) = delete;
    MissingObject& operator=(const MissingObject&) = delete;

private:
    std::unique_ptr<Session> session_;
    QString name_;
    QString viewSql_;  // SQLite: a view is dropped and made again from its text
};

}  // namespace si::test
