// turn open | close | list: a cashier's shift from the command line, with the turn manager's
// refusals as exit 2.

#include <QJsonArray>
#include <QJsonDocument>
#include <QScopeGuard>

#include "cli/CliTestSupport.h"

namespace si::test {
namespace {

using CliTurns = CliTest;

TEST_P(CliTurns, AShiftIsOpenedListedAndClosedOnce) {
    const OwnCashBox box(db(), QStringLiteral("صندوق آزمون"));
    const QString boxId = box.text();
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

// A shop's final cash sale names its turn; it is booked there and the turn's contents count it.
class CliShopSale : public CliOneSaleTest {
protected:
    void SetUp() override {
        CliOneSaleTest::SetUp();
        box = db().insertReturningId(
            QStringLiteral("insert into tblRecPayCash (Name) values ('صندوق آزمون') RETURNING ID"));
        db().exec(QStringLiteral("insert into tblRecPayCashUser (CashID, UserID) values (?, 1)"),
                  {box});
    }
    void TearDown() override {
        db().exec(QStringLiteral("update tblZelorSystemParameters set Value = '0' where ID = 3"));
        db().exec(QStringLiteral("delete from tblRecPayCashTurnUser where CashTurnID in (select "
                                 "ID from tblRecPayCashTurn where CashID = ?)"),
                  {box});
        db().exec(QStringLiteral("update tblRecPayCashTurn set IsOpen = 0 where CashID = ?"),
                  {box});
    }
    CliResult sell(int turn) {
        const QJsonObject invoice{
            {QStringLiteral("customer"), customer},
            {QStringLiteral("cashTurn"),
             QJsonObject{{QStringLiteral("cash"), box}, {QStringLiteral("turn"), turn}}},
            {QStringLiteral("lines"), QJsonArray{QJsonObject{{QStringLiteral("barcode"), goods[0]},
                                                             {QStringLiteral("qty"), 1}}}}};
        return run({QStringLiteral("invoice"), QStringLiteral("create"), QStringLiteral("-"),
                    QStringLiteral("--final")},
                   QJsonDocument(invoice).toJson());
    }
    qint64 box = 0;
};

TEST_P(CliShopSale, ACashSaleIsBookedIntoTheNamedTurn) {
    EXPECT_EQ(sell(1).exitCode, 2);  // not a shop
    EXPECT_EQ(run({QStringLiteral("--user"), QStringLiteral("2"), QStringLiteral("param"),
                   QStringLiteral("3"), QStringLiteral("1")})
                  .exitCode,
              2);  // the cashier does not change the company's settings
    const CliResult shop = run({QStringLiteral("param"), QStringLiteral("3"), QStringLiteral("1")});
    ASSERT_EQ(shop.exitCode, 0) << shop.err.toStdString();
    EXPECT_EQ(shop.out.trimmed(), QByteArray("1"));
    const CliResult closed = sell(1);
    EXPECT_EQ(closed.exitCode, 2);
    EXPECT_TRUE(
        closed.err.contains(QStringLiteral("نوبت 1 صندوق %1 براي اين كاربر باز نيست.").arg(box)))
        << closed.err.toStdString();
    const QString boxId = QString::number(box);
    ASSERT_EQ(run({QStringLiteral("turn"), QStringLiteral("open"), boxId}).exitCode, 0);
    const CliResult sold = sell(1);
    ASSERT_EQ(sold.exitCode, 0) << sold.err.toStdString();
    const QJsonObject json = sold.json();
    EXPECT_TRUE(json.value(QStringLiteral("accountingDocument")).isNull());
    const int detail = json.value(QStringLiteral("cashTurnDetail")).toInt();
    EXPECT_GT(detail, 0);
    EXPECT_EQ(db().scalar(QStringLiteral("select FormID from tblRecPayCashTurnDetail where ID = ?"),
                          {detail})
                  .toInt(),
              json.value(QStringLiteral("id")).toInt());
    const CliResult contents = run({QStringLiteral("turn"), QStringLiteral("contents"), boxId,
                                    QStringLiteral("1"), QStringLiteral("--json")});
    ASSERT_EQ(contents.exitCode, 0) << contents.err.toStdString();
    const QJsonObject figures = contents.json();
    EXPECT_EQ(figures.value(QStringLiteral("invoices")).toInt(), 1);
    EXPECT_EQ(figures.value(QStringLiteral("received")).toDouble(),
              json.value(QStringLiteral("totals"))
                  .toObject()
                  .value(QStringLiteral("grandTotal"))
                  .toDouble());
    EXPECT_EQ(run({QStringLiteral("turn"), QStringLiteral("contents"), boxId, QStringLiteral("2")})
                  .exitCode,
              2);
}

SI_INSTANTIATE_BACKENDS(CliTurns);
SI_INSTANTIATE_BACKENDS(CliShopSale);

}  // namespace
}  // namespace si::test
