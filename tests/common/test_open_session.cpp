// OpenSession keeps a session on the same database that still answers, and opens a new one for
// another database.

#include "common/Context.h"
#include "erpdb/Schema.h"
#include "support/ContextTest.h"

namespace si {
namespace {

using OpenSessionTest = test::ContextTest;

TEST_P(OpenSessionTest, SameDatabaseKeepsTheConnectionAnotherGetsItsOwn) {
    Session* first = ctx.session.get();
    OpenSession(ctx);
    EXPECT_EQ(ctx.session.get(), first);
    EXPECT_EQ(ctx.globals.CurrentUserFullName, QStringLiteral("مدير سيستم"));

    test::ScratchDatabase other(GetParam());
    erpdb::InstallSchema(*Session::open(other.connectionString()));
    ctx.globals.CurrentConnectionString = other.connectionString();
    OpenSession(ctx);
    EXPECT_EQ(ctx.session->connectionString(), other.connectionString());
}

SI_INSTANTIATE_BACKENDS(OpenSessionTest);

}  // namespace
}  // namespace si
