#pragma once
// Base of the tests that need a component context on a fresh database: procedures registered,
// the scripted message box installed, a fixed clock, and builders for the rows most tests need.

#include <gtest/gtest.h>
#include <QDateTime>
#include <initializer_list>
#include <memory>

#include "common/Context.h"
#include "support/ScriptedMessages.h"
#include "support/TestDatabase.h"

namespace si::test {

// The tests' "now": every test context and every workstation process a test starts reads this
// clock, so that a run after midnight dates its invoices as one before it does.
inline const QDateTime kTestNow{QDate(2026, 12, 6), QTime(10, 0)};

class ContextTest : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override;
    void TearDown() override;

    Session& db() { return ctx.db(); }
    // Opens the session again as an entry method would (after the test changed globals).
    void reopen();

    // A user with the given rights (or all of them); returns the ID.
    int addUser(const QString& fullName, bool admin, std::initializer_list<int> rights = {});
    void grant(int userId, int right);
    void setParameter(int id, const QString& value, int systemId = 9);
    void setUserParameter(int userId, int id, const QString& value);
    // Sets a parameter row and reloads the context's settings.
    void useParameter(int id, const QString& value);

    int addUserDirect();

    ProcedureRegistry procedures;
    ComponentRegistry components;
    MessageScript messages;
    Context ctx{&components, &procedures};
    QDateTime now = kTestNow;
    std::unique_ptr<TestDatabase> database;
};

}  // namespace si::test
