// The host's check of the form events' chain: offered to an administrator only, and saying in
// Persian whether the chain holds, which row broke it, or that the key file is missing.

#include <gtest/gtest.h>
#include <QAction>
#include <QScopeGuard>
#include <QTemporaryDir>

#include "apps/host/HostWindow.h"
#include "apps/host/Login.h"
#include "support/ContextTest.h"

namespace si::host {
namespace {

class HostAuditTest : public test::ContextTest {};

TEST_P(HostAuditTest, OnlyAnAdministratorIsOfferedTheCheck) {
    const int admin = addUser(QStringLiteral("مدير فروش"), true);
    const int clerk = addUser(QStringLiteral("صندوقدار"), false);
    HostWindow window(components, procedures);
    auto* action = window.findChild<QAction*>(QStringLiteral("actVerifyEvents"));
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), QStringLiteral("بررسي زنجيره رويدادها"));
    EXPECT_FALSE(action->isEnabled());
    LoginLogic login;
    ASSERT_TRUE(login.connect(database->connectionString()));
    for (int id : {admin, clerk, admin}) {
        const LoginResult user = login.loginWithoutPassword(id);
        ASSERT_TRUE(user.ok());
        window.showSession(database->connectionString(), *user.user);
        EXPECT_EQ(action->isVisible(), id == admin);
        EXPECT_EQ(action->isEnabled(), id == admin);
    }
}

TEST_P(HostAuditTest, TheCheckSaysWhetherTheChainHolds) {
    for (int i = 1; i <= 3; ++i)
        db().call(QStringLiteral("spZelorInsertFormAction"),
                  QVariantList{90101, i, 901, QStringLiteral("رويداد"), 1, now,
                               QStringLiteral("1405/09/15"), 600});
    EventChainCheckResult result = CheckEventChain(db());
    EXPECT_TRUE(result.intact) << result.text.toStdString();
    EXPECT_TRUE(result.text.contains(QStringLiteral("سالم")));

    const qint64 id =
        db().scalar(QStringLiteral("select ID from tblZelorFormEvent where ChainSeq = 2"))
            .toLongLong();
    db().exec(QStringLiteral("update tblZelorFormEvent set FormCode = 9 where ID = ?"), {id});
    result = CheckEventChain(db());
    EXPECT_FALSE(result.intact);
    EXPECT_TRUE(result.text.contains(QString::number(id))) << result.text.toStdString();

    QTemporaryDir dir;
    const QByteArray key = qgetenv("SALEINVOICE_AUDIT_KEY");
    const auto restore = qScopeGuard([&key] { qputenv("SALEINVOICE_AUDIT_KEY", key); });
    const QString missing = dir.filePath(QStringLiteral("none.key"));
    qputenv("SALEINVOICE_AUDIT_KEY", QFile::encodeName(missing));
    result = CheckEventChain(db());
    EXPECT_FALSE(result.intact);
    EXPECT_TRUE(result.text.contains(missing)) << result.text.toStdString();
}

SI_INSTANTIATE_BACKENDS(HostAuditTest);

}  // namespace
}  // namespace si::host
