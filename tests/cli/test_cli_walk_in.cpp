// The walk-in buyer through the program: invoice create takes walkInName and walkInPhone as the
// cashier's dialog does, invoice show prints them (JSON and table), invoice final keeps them, and
// a refused buyer writes nothing.

#include <QJsonArray>
#include <QJsonDocument>

#include "cli/CliTestSupport.h"

namespace si::test {
namespace {

class CliWalkIn : public CliOneSaleTest {
protected:
    QJsonObject invoice(const QJsonObject& buyer) const {
        QJsonObject o{
            {QStringLiteral("customer"), customer},
            {QStringLiteral("inventory"), 1},
            {QStringLiteral("lines"), QJsonArray{QJsonObject{{QStringLiteral("barcode"), goods[0]},
                                                             {QStringLiteral("qty"), 1}}}}};
        for (auto it = buyer.begin(); it != buyer.end(); ++it)
            o.insert(it.key(), it.value());
        return o;
    }

    CliResult show(int id, bool json) {
        QStringList args{QStringLiteral("invoice"), QStringLiteral("show"), QString::number(id)};
        if (json) args << QStringLiteral("--json");
        return run(args);
    }

    int storedBuyers(int id) {
        return db()
            .scalar(QStringLiteral("SELECT count(*) FROM tblSaleInvoiceWalkIn WHERE "
                                   "InvoiceID = ?"),
                    {id})
            .toInt();
    }
};

TEST_P(CliWalkIn, CreateShowAndFinalKeepTheBuyer) {
    const CliResult made =
        create(invoice({{QStringLiteral("walkInName"), QStringLiteral(" نرگس رحيمي ")},
                        {QStringLiteral("walkInPhone"), QStringLiteral("۰۹۱۲۱۲۳۴۵۶۷")}}));
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    const QJsonObject o = made.json();
    const int id = o.value(QStringLiteral("id")).toInt();
    EXPECT_EQ(o.value(QStringLiteral("walkInName")).toString(), QStringLiteral("نرگس رحيمي"));
    EXPECT_EQ(o.value(QStringLiteral("walkInPhone")).toString(), QStringLiteral("09121234567"));
    EXPECT_EQ(storedBuyers(id), 1);

    const CliResult json = show(id, true);
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    EXPECT_EQ(json.json(), o);
    const CliResult table = show(id, false);
    EXPECT_TRUE(QString::fromUtf8(table.out).contains(
        QStringLiteral("walk-in buyer نرگس رحيمي  09121234567")))
        << table.out.toStdString();

    const CliResult final =
        run({QStringLiteral("invoice"), QStringLiteral("final"), QString::number(id)});
    ASSERT_EQ(final.exitCode, 0) << final.err.toStdString();
    EXPECT_EQ(final.json().value(QStringLiteral("state")).toString(), QStringLiteral("final"));
    const QJsonObject again = show(id, true).json();
    EXPECT_EQ(again.value(QStringLiteral("walkInName")).toString(), QStringLiteral("نرگس رحيمي"));
    EXPECT_EQ(again.value(QStringLiteral("walkInPhone")).toString(), QStringLiteral("09121234567"));
    EXPECT_EQ(storedBuyers(id), 1);
}

TEST_P(CliWalkIn, AnInvoiceWithoutABuyerShowsNullsAndStoresNone) {
    const CliResult made = create(invoice({{QStringLiteral("walkInName"), QJsonValue()}}));
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    const QJsonObject o = made.json();
    EXPECT_TRUE(o.value(QStringLiteral("walkInName")).isNull());
    EXPECT_TRUE(o.value(QStringLiteral("walkInPhone")).isNull());
    EXPECT_EQ(storedBuyers(o.value(QStringLiteral("id")).toInt()), 0);
    EXPECT_FALSE(QString::fromUtf8(show(o.value(QStringLiteral("id")).toInt(), false).out)
                     .contains(QStringLiteral("walk-in")));
}

TEST_P(CliWalkIn, ARefusedBuyerWritesNothing) {
    const QString before = footprint();
    const int buyersBefore =
        db().scalar(QStringLiteral("SELECT count(*) FROM tblSaleInvoiceWalkIn")).toInt();
    struct Case {
        QJsonObject buyer;
        QString message;
    };
    const Case cases[] = {
        {{{QStringLiteral("walkInName"), QStringLiteral("علي")},
          {QStringLiteral("walkInPhone"), QStringLiteral("0912-123-4567")}},
         QStringLiteral("«تلفن خريدار» بايد 7 تا 15 رقم باشد و جز يك علامت + در ابتداي آن نويسه "
                        "ديگري نداشته باشد.")},
        {{{QStringLiteral("walkInPhone"), QStringLiteral("09121234567")}},
         QStringLiteral("«نام خريدار» را هم وارد كنيد؛ تلفن بدون نام خريدار ثبت نمي شود.")},
    };
    for (const Case& c : cases) {
        const CliResult refused = create(invoice(c.buyer));
        EXPECT_EQ(refused.exitCode, 2) << refused.err.toStdString();
        EXPECT_TRUE(refused.err.contains(c.message)) << refused.err.toStdString();
    }
    const CliResult wrongType = create(invoice({{QStringLiteral("walkInPhone"), 912}}));
    EXPECT_EQ(wrongType.exitCode, 1);
    EXPECT_TRUE(wrongType.err.contains(QStringLiteral("«walkInPhone» بايد متن باشد")))
        << wrongType.err.toStdString();
    EXPECT_EQ(footprint(), before);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM tblSaleInvoiceWalkIn")).toInt(),
              buyersBefore);
}

SI_INSTANTIATE_BACKENDS(CliWalkIn);

}  // namespace
}  // namespace si::test
