// turn open | close | list: a cashier's shift from the command line, with the turn manager's
// refusals as exit 2.

#include <QScopeGuard>

#include "cli/CliTestSupport.h"

namespace si::test {
namespace {

using CliTurns = CliTest;

TEST_P(CliTurns, AShiftIsOpenedListedAndClosedOnce) {
    // A box of the test's own: the demo's turns are shared by the program's other tests.
    const qint64 box = db().insertReturningId(
        QStringLiteral("insert into tblRecPayCash (Name) values ('صندوق آزمون') RETURNING ID"));
    db().exec(QStringLiteral("insert into tblRecPayCashUser (CashID, UserID) values (?, 1)"),
              {box});
    const auto removeThem = qScopeGuard([&] {
        db().exec(QStringLiteral("delete from tblRecPayCashTurn where CashID = ?"), {box});
        db().exec(QStringLiteral("delete from tblRecPayCashUser where CashID = ?"), {box});
        db().exec(QStringLiteral("delete from tblRecPayCash where ID = ?"), {box});
    });
    const QString boxId = QString::number(box);
    const CliResult opened = run({QStringLiteral("--user"), QStringLiteral("1"),
                                  QStringLiteral("turn"), QStringLiteral("open"), boxId});
    ASSERT_EQ(opened.exitCode, 0) << opened.err.toStdString();
    const QStringList fields = QString::fromUtf8(opened.out).trimmed().split(QLatin1Char('\t'));
    ASSERT_EQ(fields.size(), 2);
    EXPECT_EQ(fields[1], QStringLiteral("1"));

    const CliResult again = run({QStringLiteral("--user"), QStringLiteral("1"),
                                 QStringLiteral("turn"), QStringLiteral("open"), boxId});
    EXPECT_EQ(again.exitCode, 2);
    EXPECT_TRUE(again.err.contains(QStringLiteral("هنوز باز است"))) << again.err.toStdString();

    const CliResult listed =
        run({QStringLiteral("turn"), QStringLiteral("list"), QStringLiteral("--open")});
    EXPECT_TRUE(QString::fromUtf8(listed.out).contains(QStringLiteral("صندوق آزمون\t1\tباز")))
        << listed.out.toStdString();
    EXPECT_EQ(run({QStringLiteral("turn"), QStringLiteral("close"), fields[0]}).exitCode, 0);
    EXPECT_EQ(run({QStringLiteral("turn"), QStringLiteral("close"), fields[0]}).exitCode, 2);
    EXPECT_EQ(run({QStringLiteral("turn"), QStringLiteral("close"), QStringLiteral("x")}).exitCode,
              1);
}

SI_INSTANTIATE_BACKENDS(CliTurns);

}  // namespace
}  // namespace si::test
