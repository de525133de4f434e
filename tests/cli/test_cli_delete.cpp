// invoice delete through the program: a reason outside the list is refused and changes nothing,
// a listed one is written with the deletion event, and an invoice already gone is refused.

#include <QJsonArray>

#include "cli/CliTestSupport.h"

namespace si::test {
namespace {

using CliDelete = CliOneSaleTest;

TEST_P(CliDelete, AReasonOfTheListIsWrittenWithTheEventAndOthersAreRefused) {
    const CliResult made = create(QJsonObject{
        {QStringLiteral("customer"), customer},
        {QStringLiteral("inventory"), 1},
        {QStringLiteral("lines"), QJsonArray{QJsonObject{{QStringLiteral("barcode"), goods[0]},
                                                         {QStringLiteral("qty"), 1}}}}});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    const int id = made.json().value(QStringLiteral("id")).toInt();
    const QString idText = QString::number(id);
    const QStringList remove{QStringLiteral("invoice"), QStringLiteral("delete"), idText};
    const auto stored = [&] {
        return db().first(QStringLiteral("select ID from tblSaleInvoice where ID = ?"), {id});
    };

    const QString before = footprint();
    const CliResult unknown =
        run(remove + QStringList{QStringLiteral("--reason"), QStringLiteral("99")});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("«99»"))) << unknown.err.toStdString();
    EXPECT_EQ(footprint(), before);
    EXPECT_TRUE(stored());

    const CliResult deleted =
        run(remove + QStringList{QStringLiteral("--reason"), QStringLiteral("2")});
    ASSERT_EQ(deleted.exitCode, 0) << deleted.err.toStdString();
    const QJsonObject out = deleted.json();
    EXPECT_EQ(out.value(QStringLiteral("invoice")).toInt(), id);
    EXPECT_TRUE(out.value(QStringLiteral("deleted")).toBool());
    const QJsonObject event = out.value(QStringLiteral("event")).toObject();
    EXPECT_EQ(event.value(QStringLiteral("eventType")).toInt(), 90102);
    EXPECT_EQ(event.value(QStringLiteral("reason")).toInt(), 2);
    EXPECT_EQ(event.value(QStringLiteral("description")).toString(),
              QStringLiteral("فاكتور فروش كالا به شماره رايانهاي ") + idText +
                  QStringLiteral(" حذف شد."));
    EXPECT_FALSE(stored());
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from tblSaleInvoiceDetail where "
                                         "InvoiceID = ?"),
                          {id})
                  .toInt(),
              0);

    const CliResult again = run(remove);
    EXPECT_EQ(again.exitCode, 2);
    EXPECT_TRUE(again.err.contains(QStringLiteral("«%1»").arg(id))) << again.err.toStdString();
    EXPECT_EQ(run({QStringLiteral("invoice"), QStringLiteral("delete")}).exitCode, 1);
}

SI_INSTANTIATE_BACKENDS(CliDelete);

}  // namespace
}  // namespace si::test
