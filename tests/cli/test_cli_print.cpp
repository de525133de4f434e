// invoice print and turn print: the print routines run headless into PDF files through the
// report component; the print count grows once per output and its limit holds.

#include <QFile>
#include <QJsonArray>
#include <QScopeGuard>
#include <QTemporaryDir>

#include "cli/CliTestSupport.h"

namespace si::test {
namespace {

using CliPrint = CliTest;

bool IsPdf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-";
}

TEST_P(CliPrint, AnInvoiceGoesToAPdfAndCountsUpToTheLimit) {
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("invoice.pdf"));
    const int id = db().scalar(QStringLiteral("select min(ID) from tblSaleInvoice")).toInt();
    ASSERT_GT(id, 0);
    const auto count = [&] {
        return db()
            .scalar(
                QStringLiteral("select coalesce(PrintCount, 0) from tblSaleInvoice where ID = ?"),
                {id})
            .toInt();
    };
    const int before = count();
    const QStringList print{QStringLiteral("invoice"),
                            QStringLiteral("print"),
                            QString::number(id),
                            QStringLiteral("--pdf"),
                            pdf,
                            QStringLiteral("--template"),
                            QStringLiteral("1")};
    const CliResult printed = run(print);
    ASSERT_EQ(printed.exitCode, 0) << printed.err.toStdString();
    const QJsonObject out = printed.json();
    EXPECT_EQ(out.value(QStringLiteral("invoice")).toInt(), id);
    EXPECT_EQ(out.value(QStringLiteral("printCount")).toInt(), before + 1);
    EXPECT_EQ(out.value(QStringLiteral("files")).toArray(), QJsonArray{pdf});
    EXPECT_TRUE(IsPdf(pdf));
    EXPECT_EQ(count(), before + 1);

    // At the maximum of parameter 4407 printing is refused, names it and counts nothing.
    QFile::remove(pdf);
    db().exec(QStringLiteral("update tblZelorSystemParameters set Value = ? where ID = 4407"),
              {QString::number(before + 1)});
    const auto restore = qScopeGuard([&] {
        db().exec(
            QStringLiteral("update tblZelorSystemParameters set Value = '5' where ID = 4407"));
    });
    const CliResult refused = run(print);
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("«%1»").arg(before + 1)))
        << refused.err.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(count(), before + 1);
}

TEST_P(CliPrint, ATurnsContentsGoThroughTheSameRoutine) {
    const OwnCashBox box(db(), QStringLiteral("صندوق چاپ"));
    const QString boxId = box.text();
    ASSERT_EQ(run({QStringLiteral("turn"), QStringLiteral("open"), boxId}).exitCode, 0);
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("turn.pdf"));
    const CliResult printed = run({QStringLiteral("turn"), QStringLiteral("print"), boxId,
                                   QStringLiteral("1"), QStringLiteral("--pdf"), pdf});
    EXPECT_EQ(printed.exitCode, 0) << printed.err.toStdString();
    EXPECT_EQ(printed.json().value(QStringLiteral("turn")).toInt(), 1);
    EXPECT_TRUE(IsPdf(pdf));

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
