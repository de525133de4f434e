// invoice back-to-temp: the form's return of a final invoice from the command line, its questions
// answered yes and its refusals as exit 2, and the invoice's next final save drawing the next
// code.

#include <QJsonArray>
#include <QJsonDocument>

#include "cli/CliTestSupport.h"

namespace si::test {
namespace {

class CliBackToTemp : public CliOneSaleTest {
protected:
    int finalSale() {
        const QJsonObject invoice{
            {QStringLiteral("customer"), customer},
            {QStringLiteral("lines"), QJsonArray{QJsonObject{{QStringLiteral("barcode"), goods[0]},
                                                             {QStringLiteral("qty"), 1}}}}};
        const CliResult made = run({QStringLiteral("invoice"), QStringLiteral("create"),
                                    QStringLiteral("-"), QStringLiteral("--final")},
                                   QJsonDocument(invoice).toJson());
        EXPECT_EQ(made.exitCode, 0) << made.err.toStdString();
        return made.json().value(QStringLiteral("id")).toInt();
    }
    CliResult backToTemp(int id, int user = 1) {
        return run({QStringLiteral("--user"), QString::number(user), QStringLiteral("invoice"),
                    QStringLiteral("back-to-temp"), QString::number(id)});
    }
    QVariant codeOf(int id) {
        return db().scalar(QStringLiteral("select Code from tblSaleInvoice where ID = ?"), {id});
    }
};

TEST_P(CliBackToTemp, ReturnsAFinalInvoiceWhenTheChecksAllowIt) {
    const int id = finalSale();
    const int code = codeOf(id).toInt();
    ASSERT_GT(code, 0);
    const QString before = footprint();

    // The demo's cashier may not return invoices.
    const CliResult refused = backToTemp(id, 2);
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("شما مجاز به انجام اين عمليات نيستيد.")))
        << refused.err.toStdString();
    EXPECT_EQ(footprint(), before);
    EXPECT_EQ(codeOf(id).toInt(), code);

    const CliResult returned = backToTemp(id);
    ASSERT_EQ(returned.exitCode, 0) << returned.err.toStdString();
    EXPECT_TRUE(returned.err.contains(QStringLiteral("آيا براي بازگشت مطمئن هستيد؟")));
    EXPECT_TRUE(returned.err.contains(QStringLiteral("برگه خروج به اين فاکتور وابسته است.")));
    const QJsonObject o = returned.json();
    EXPECT_EQ(o.value(QStringLiteral("id")).toInt(), id);
    EXPECT_EQ(o.value(QStringLiteral("previousCode")).toInt(), code);
    const QJsonObject removed = o.value(QStringLiteral("removed")).toObject();
    EXPECT_EQ(removed.value(QStringLiteral("dispatches")).toInt(), 1);
    EXPECT_GT(removed.value(QStringLiteral("documentRows")).toInt(), 0);
    const QJsonObject invoice = o.value(QStringLiteral("invoice")).toObject();
    EXPECT_EQ(invoice.value(QStringLiteral("state")).toString(), QStringLiteral("temporary"));
    EXPECT_TRUE(invoice.value(QStringLiteral("code")).isNull());
    EXPECT_TRUE(codeOf(id).isNull());

    const CliResult again = backToTemp(id);
    EXPECT_EQ(again.exitCode, 2);
    EXPECT_TRUE(again.err.contains(
        QStringLiteral("فاكتور فروش بايد در وضعيت ثبت قطعي باشد تا بتوان بازگشت زد!")))
        << again.err.toStdString();

    const int highest = db().scalar(QStringLiteral("select max(Code) from tblSaleInvoice")).toInt();
    const CliResult final =
        run({QStringLiteral("invoice"), QStringLiteral("final"), QString::number(id)});
    ASSERT_EQ(final.exitCode, 0) << final.err.toStdString();
    EXPECT_EQ(codeOf(id).toInt(), highest + 1);

    EXPECT_EQ(run({QStringLiteral("invoice"), QStringLiteral("back-to-temp"), QStringLiteral("x")})
                  .exitCode,
              1);
}

SI_INSTANTIATE_BACKENDS(CliBackToTemp);

}  // namespace
}  // namespace si::test
