#pragma once
// Database back-ends for tests. SQLite always; PostgreSQL when SALEINVOICE_TEST_PG holds a
// connection string to a server (./x test starts a private cluster and sets it). Each
// TestDatabase is a fresh database with the schema installed and no rows.

#include <gtest/gtest.h>
#include <QString>
#include <memory>
#include <vector>

#include "common/Session.h"

namespace si::test {

struct Backend {
    QString name;  // "SQLite" or "PostgreSQL"
    Dialect dialect = Dialect::SQLite;
};

std::vector<Backend> Backends();
inline void PrintTo(const Backend& backend, std::ostream* os) {
    *os << backend.name.toStdString();
}
std::string BackendName(const ::testing::TestParamInfo<Backend>& info);

class TestDatabase {
public:
    explicit TestDatabase(const Backend& backend);
    ~TestDatabase();
    const QString& connectionString() const { return connection_; }
    std::unique_ptr<Session> open(const ProcedureRegistry* procedures = nullptr) const;

private:
    QString connection_;
    QString sqliteFile_;
};

// A second, independent PostgreSQL database or SQLite file (for tests that need an empty one);
// dropped with the object.
class ScratchDatabase {
public:
    explicit ScratchDatabase(const Backend& backend);
    ~ScratchDatabase();
    const QString& connectionString() const { return connection_; }

private:
    Backend backend_;
    QString connection_;
    QString name_;
};

}  // namespace si::test

#define SI_INSTANTIATE_BACKENDS(Fixture)                                               \
    INSTANTIATE_TEST_SUITE_P(Db, Fixture, ::testing::ValuesIn(::si::test::Backends()), \
                             ::si::test::BackendName)
