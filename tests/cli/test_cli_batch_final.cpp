// invoice finalize-batch: the list's batch registration from the command line, with the credit
// level of --position, the confirmation of --yes and the count it reports.

#include <QScopeGuard>

#include "cli/CliTestSupport.h"
#include "common/Money.h"

namespace si::test {
namespace {

using CliBatchFinal = CliTest;

TEST_P(CliBatchFinal, RegistersTheQualifyingInvoicesInDateOrderAndReportsTheirCount) {
    const QDateTime lastFinal =
        toDateTime(db().scalar(QStringLiteral("select max(CreateDate) from tblSaleInvoice")));
    const QDate day = lastFinal.date().addDays(1);
    auto temporary = [&](int daysLater, qint64 total) {
        return db().insertReturningId(
            QStringLiteral("insert into tblSaleInvoice (CreateDate, FarsiCreateDate, CustomerID, "
                           "TotalValue) values (?, '', 1, ?) RETURNING ID"),
            {day.addDays(daysLater), QVariant::fromValue(Money::fromRials(total))});
    };
    const qint64 later = temporary(1, 100);
    const qint64 over = temporary(0, 7001);
    const qint64 earlier = temporary(0, 7000);
    // The demo company is shared by the program's tests: final invoices dated after the others
    // would make their final saves earlier-dated ones.
    const auto removeThem = qScopeGuard([&] {
        db().exec(QStringLiteral("delete from tblSaleInvoice where ID in (?, ?, ?)"),
                  {later, over, earlier});
    });
    const qint64 level = db().insertReturningId(
        QStringLiteral("insert into tblSaleCreditLevel (Name, UpToValue) values ('سطح', ?) "
                       "RETURNING ID"),
        {QVariant::fromValue(Money::fromRials(7000))});
    const qint64 position = db().insertReturningId(
        QStringLiteral("insert into tblPosition (Name, SaleCreditLevelID) values ('فروش', ?) "
                       "RETURNING ID"),
        {level});
    const QString marked =
        QStringList{QString::number(later), QString::number(over), QString::number(earlier)}.join(
            u',');
    auto codeOf = [&](qint64 id) {
        return db().scalar(QStringLiteral("select Code from tblSaleInvoice where ID = ?"), {id});
    };
    const QStringList args{QStringLiteral("--position"), QString::number(position),
                           QStringLiteral("invoice"), QStringLiteral("finalize-batch"), marked};

    const CliResult unconfirmed = run(args);
    EXPECT_EQ(unconfirmed.exitCode, 2) << unconfirmed.err.toStdString();
    EXPECT_TRUE(codeOf(earlier).isNull());

    const int highest = db().scalar(QStringLiteral("select max(Code) from tblSaleInvoice")).toInt();
    const CliResult r = run(QStringList{QStringLiteral("--yes")} + args);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(r.out).trimmed(),
              QStringLiteral("تعداد <2> فاكتور ثبت نهايي شدند."));
    EXPECT_EQ(codeOf(earlier).toInt(), highest + 1);
    EXPECT_EQ(codeOf(later).toInt(), highest + 2);
    EXPECT_TRUE(codeOf(over).isNull());

    EXPECT_EQ(
        run({QStringLiteral("invoice"), QStringLiteral("finalize-batch"), QStringLiteral("12,x")})
            .exitCode,
        1);
}

SI_INSTANTIATE_BACKENDS(CliBatchFinal);

}  // namespace
}  // namespace si::test
