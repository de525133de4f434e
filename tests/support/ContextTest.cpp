#include "support/ContextTest.h"

#include "erpdb/Procedures.h"

namespace si::test {

void ContextTest::SetUp() {
    database = std::make_unique<TestDatabase>(GetParam());
    erpdb::RegisterProcedures(procedures);
    messages.install(components);
    ctx.clock = [this] { return now; };
    ctx.globals.CurrentConnectionString = database->connectionString();
    ctx.globals.CurrentUserID = addUserDirect();
    reopen();
}

void ContextTest::TearDown() {
    ctx.session.reset();
    database.reset();
}

int ContextTest::addUserDirect() {
    auto s = database->open();
    return static_cast<int>(
        s->insertReturningId(QStringLiteral("insert into tblUser (UserName, FullName, IsAdmin, "
                                            "IsActive) values (?, ?, 1, 1) RETURNING ID"),
                             {QStringLiteral("admin"), QStringLiteral("مدير سيستم")}));
}

void ContextTest::reopen() {
    OpenSession(ctx);
    LoadSystemParameters(ctx);
}

int ContextTest::addUser(const QString& fullName, bool admin, std::initializer_list<int> rights) {
    static int serial = 0;
    const int id = static_cast<int>(
        db().insertReturningId(QStringLiteral("insert into tblUser (UserName, FullName, IsAdmin, "
                                              "IsActive) values (?, ?, ?, 1) RETURNING ID"),
                               {QStringLiteral("user%1").arg(++serial), fullName, admin ? 1 : 0}));
    for (int right : rights)
        grant(id, right);
    return id;
}

void ContextTest::grant(int userId, int right) {
    db().exec(
        QStringLiteral("insert into tblZelorUserPermission (UserID, PermissionID) values (?, ?)"),
        {userId, right});
}

void ContextTest::setParameter(int id, const QString& value, int systemId) {
    db().exec(QStringLiteral("delete from tblZelorSystemParameters where ID = ?"), {id});
    db().exec(QStringLiteral(
                  "insert into tblZelorSystemParameters (ID, SystemID, Value) values (?, ?, ?)"),
              {id, systemId, value});
}

void ContextTest::setUserParameter(int userId, int id, const QString& value) {
    db().exec(
        QStringLiteral(
            "delete from tblZelorSystemParametersUser where UserID = ? and SystemParameterID = ?"),
        {userId, id});
    db().exec(QStringLiteral("insert into tblZelorSystemParametersUser (UserID, SystemParameterID, "
                             "Value) values (?, ?, ?)"),
              {userId, id, value});
}

void ContextTest::useParameter(int id, const QString& value) {
    setParameter(id, value);
    LoadSystemParameters(ctx);
}

}  // namespace si::test
