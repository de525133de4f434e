// The host never shows the database password: the login window masks it in the connection box
// and still connects with it, its error line and the window's session line leave it out.

#include <gtest/gtest.h>
#include <QLabel>
#include <QLineEdit>

#include "apps/host/HostWindow.h"
#include "apps/host/LoginDialog.h"
#include "common/ConnectionString.h"
#include "support/ClosedPort.h"
#include "support/ContextTest.h"

namespace si::host {
namespace {

const QString kSecret = QStringLiteral("s3cr3t-Pass");

QString withPassword(const QString& connection, const QString& password) {
    ConnectionString cs = ConnectionString::parse(connection);
    if (cs.dialect == Dialect::SQLite)
        return connection + QStringLiteral(";Password=") + password;  // the file ignores it
    cs.password = password;
    return cs.toString();
}

QStringList shownTexts(const QWidget& window) {
    QStringList texts;
    for (const QLabel* label : window.findChildren<QLabel*>())
        texts << label->text();
    for (const QLineEdit* box : window.findChildren<QLineEdit*>())
        if (box->echoMode() == QLineEdit::Normal) texts << box->text();
    return texts;
}

using LoginSecretsTest = test::ContextTest;

TEST_P(LoginSecretsTest, TheLoginWindowMasksThePasswordAndConnectsWithIt) {
    const QString connection = withPassword(database->connectionString(), kSecret);
    LoginDialog dialog(connection, ctx.globals.CurrentUserID);
    auto* box = dialog.findChild<QLineEdit*>(QStringLiteral("txtConnection"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), ConnectionString::redacted(connection));
    EXPECT_FALSE(shownTexts(dialog).join(u'\n').contains(kSecret));

    // Editing the rest keeps the masked password; a changed box connects again before a login.
    const QString more = QStringLiteral(";Application Name=host");
    box->setText(box->text() + more);
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted)
        << dialog.findChild<QLabel*>(QStringLiteral("lblError"))->text().toStdString();
    EXPECT_EQ(dialog.connection(), connection + more);
    EXPECT_FALSE(shownTexts(dialog).join(u'\n').contains(kSecret));
    EXPECT_EQ(dialog.user().ID, ctx.globals.CurrentUserID);
}

TEST_P(LoginSecretsTest, AFailedConnectionShowsNoPassword) {
    QString unreachable;
    if (GetParam().dialect == Dialect::SQLite) {
        unreachable = QStringLiteral("Provider=SQLite;Data Source=/no-such-folder/erp.sqlite");
    } else {
        ConnectionString cs = ConnectionString::parse(database->connectionString());
        cs.port = test::ClosedLocalPort();
        unreachable = cs.toString();
    }
    LoginDialog dialog(withPassword(unreachable, kSecret), ctx.globals.CurrentUserID);
    const auto* error = dialog.findChild<QLabel*>(QStringLiteral("lblError"));
    ASSERT_NE(error, nullptr);
    EXPECT_FALSE(error->text().isEmpty());
    EXPECT_FALSE(shownTexts(dialog).join(u'\n').contains(kSecret));

    // A password typed into the box is masked as soon as it is used.
    auto* box = dialog.findChild<QLineEdit*>(QStringLiteral("txtConnection"));
    box->setText(withPassword(unreachable, QStringLiteral("typed-") + kSecret));
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(shownTexts(dialog).join(u'\n').contains(kSecret));
}

TEST_P(LoginSecretsTest, TheSessionLineNamesTheDatabaseWithoutThePassword) {
    HostWindow window(components, procedures);
    UserAccount user;
    user.FullName = QStringLiteral("مدير سيستم");
    window.showSession(withPassword(database->connectionString(), kSecret), user);
    EXPECT_FALSE(shownTexts(window).join(u'\n').contains(kSecret));
    // A connection string the window cannot read is shown redacted as it is.
    window.showSession(QStringLiteral("Provider=Oracle;Server=h;Password=") + kSecret, user);
    const QString shown = shownTexts(window).join(u'\n');
    EXPECT_FALSE(shown.contains(kSecret));
    EXPECT_TRUE(shown.contains(QStringLiteral("Password=****"))) << shown.toStdString();
}

SI_INSTANTIATE_BACKENDS(LoginSecretsTest);

}  // namespace
}  // namespace si::host
