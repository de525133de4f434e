// invoice print and turn print: the print routines run headless into a PDF file. Until a report
// component is installed the program says it is missing, counts nothing and ends with exit 2.

#include <QJsonArray>
#include <QScopeGuard>
#include <QTemporaryDir>

#include "cli/CliTestSupport.h"

namespace si::test {
namespace {

using CliPrint = CliTest;

const QString kNotInstalled = QStringLiteral("ماژول چاپ گزارش نصب نشده است.");

TEST_P(CliPrint, WithoutTheComponentNothingIsPrintedOrCounted) {
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("invoice.pdf"));
    const int id = db().scalar(QStringLiteral("select min(ID) from tblSaleInvoice")).toInt();
    ASSERT_GT(id, 0);
    const QVariant before =
        db().scalar(QStringLiteral("select PrintCount from tblSaleInvoice where ID = ?"), {id});
    const CliResult printed =
        run({QStringLiteral("invoice"), QStringLiteral("print"), QString::number(id),
             QStringLiteral("--pdf"), pdf, QStringLiteral("--template"), QStringLiteral("1")});
    EXPECT_EQ(printed.exitCode, 2) << printed.err.toStdString();
    EXPECT_TRUE(printed.err.contains(kNotInstalled)) << printed.err.toStdString();
    const QJsonObject out = printed.json();
    EXPECT_EQ(out.value(QStringLiteral("invoice")).toInt(), id);
    EXPECT_EQ(out.value(QStringLiteral("printCount")).toInt(), before.toInt());
    EXPECT_TRUE(out.value(QStringLiteral("files")).toArray().isEmpty());
    EXPECT_EQ(
        db().scalar(QStringLiteral("select PrintCount from tblSaleInvoice where ID = ?"), {id}),
        before);
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_P(CliPrint, ATurnsContentsGoThroughTheSameRoutine) {
    const qint64 box = db().insertReturningId(
        QStringLiteral("insert into tblRecPayCash (Name) values ('صندوق چاپ') RETURNING ID"));
    db().exec(QStringLiteral("insert into tblRecPayCashUser (CashID, UserID) values (?, 1)"),
              {box});
    const auto removeThem = qScopeGuard([&] {
        db().exec(QStringLiteral("delete from tblRecPayCashTurn where CashID = ?"), {box});
        db().exec(QStringLiteral("delete from tblRecPayCashUser where CashID = ?"), {box});
        db().exec(QStringLiteral("delete from tblRecPayCash where ID = ?"), {box});
    });
    const QString boxId = QString::number(box);
    ASSERT_EQ(run({QStringLiteral("turn"), QStringLiteral("open"), boxId}).exitCode, 0);
    QTemporaryDir folder;
    const CliResult printed =
        run({QStringLiteral("turn"), QStringLiteral("print"), boxId, QStringLiteral("1"),
             QStringLiteral("--pdf"), folder.filePath(QStringLiteral("turn.pdf"))});
    EXPECT_EQ(printed.exitCode, 2);
    EXPECT_TRUE(printed.err.contains(kNotInstalled)) << printed.err.toStdString();
    EXPECT_EQ(printed.json().value(QStringLiteral("turn")).toInt(), 1);

    const CliResult noTurn =
        run({QStringLiteral("turn"), QStringLiteral("print"), boxId, QStringLiteral("9"),
             QStringLiteral("--pdf"), folder.filePath(QStringLiteral("turn.pdf"))});
    EXPECT_EQ(noTurn.exitCode, 2);
    EXPECT_TRUE(noTurn.err.contains(QStringLiteral("چنين نوبت صندوقي براي اين كاربر وجود ندارد.")));
}

TEST_P(CliPrint, TheFileIsRequired) {
    EXPECT_EQ(
        run({QStringLiteral("invoice"), QStringLiteral("print"), QStringLiteral("1")}).exitCode, 1);
    EXPECT_EQ(run({QStringLiteral("turn"), QStringLiteral("print"), QStringLiteral("1"),
                   QStringLiteral("1"), QStringLiteral("--pdf")})
                  .exitCode,
              1);
}

SI_INSTANTIATE_BACKENDS(CliPrint);

}  // namespace
}  // namespace si::test
