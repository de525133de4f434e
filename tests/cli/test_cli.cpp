// The command line end to end: a separate saleinvoice process on a demo company per back-end.

#include <QJsonArray>
#include <QJsonDocument>

#include "cli/CliTestSupport.h"

namespace si::test {
namespace {

using CliCommands = CliTest;

TEST_P(CliCommands, ShowListsTheStoredLinesAndItsState) {
    const int id = db().scalar(QStringLiteral("SELECT max(ID) FROM tblSaleInvoice WHERE Code IS "
                                              "NOT NULL"))
                       .toInt();
    const CliResult r = run({QStringLiteral("invoice"), QStringLiteral("show"), QString::number(id),
                             QStringLiteral("--json")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject o = r.json();
    EXPECT_EQ(o.value(QStringLiteral("id")).toInt(), id);
    EXPECT_EQ(o.value(QStringLiteral("state")).toString(), QStringLiteral("final"));
    EXPECT_EQ(
        o.value(QStringLiteral("code")).toInt(),
        db().scalar(QStringLiteral("SELECT Code FROM tblSaleInvoice WHERE ID = ?"), {id}).toInt());
    const RowSet stored = db().query(QStringLiteral("SELECT Barcode, Qty FROM tblSaleInvoiceDetail "
                                                    "WHERE InvoiceID = ? ORDER BY RowNumber"),
                                     {id});
    const QJsonArray lines = o.value(QStringLiteral("lines")).toArray();
    ASSERT_EQ(lines.size(), stored.size());
    for (int i = 0; i < lines.size(); ++i) {
        const QJsonObject l = lines[i].toObject();
        EXPECT_EQ(l.value(QStringLiteral("barcode")).toString(), stored[i].text(u"Barcode"));
        EXPECT_DOUBLE_EQ(l.value(QStringLiteral("qty")).toDouble(), stored[i].toDouble(u"Qty"));
        EXPECT_EQ(l.value(QStringLiteral("net")).toDouble(),
                  l.value(QStringLiteral("qty")).toDouble() *
                          l.value(QStringLiteral("price")).toDouble() -
                      l.value(QStringLiteral("discountValue")).toDouble());
    }

    const CliResult table =
        run({QStringLiteral("invoice"), QStringLiteral("show"), QString::number(id)});
    EXPECT_EQ(table.exitCode, 0);
    EXPECT_TRUE(
        QString::fromUtf8(table.out).contains(o.value(QStringLiteral("customerName")).toString()));
}

TEST_P(CliCommands, UsageErrorsExitOne) {
    const CliResult missing =
        run({QStringLiteral("invoice"), QStringLiteral("show"), QStringLiteral("999999")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("999999"))) << missing.err.toStdString();

    EXPECT_EQ(
        run({QStringLiteral("invoice"), QStringLiteral("show"), QStringLiteral("x")}).exitCode, 1);
    EXPECT_EQ(run({QStringLiteral("invoice"), QStringLiteral("frobnicate")}).exitCode, 1);
    const CliResult help =
        run({QStringLiteral("invoice"), QStringLiteral("create"), QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("--final"));
    const CliResult group = run({QStringLiteral("invoice"), QStringLiteral("--help")});
    EXPECT_EQ(group.exitCode, 0);
    EXPECT_TRUE(group.out.contains("invoice final ID"));
    EXPECT_FALSE(group.out.contains("db init"));
}

// Each bad file: the exit code, a part of the message, and nothing written.
struct BadInvoice {
    const char* name;
    QByteArray json;
    int exitCode;
    QString message;
};

TEST_P(CliCommands, BadInvoicesAreRefusedWithAClearMessageAndWriteNothing) {
    const QStringList goods = stockedBarcodes(1);
    ASSERT_EQ(goods.size(), 1);
    const QByteArray customer = QByteArray::number(plainCustomer());
    const QByteArray good = goods.first().toUtf8();
    const BadInvoice cases[] = {
        {"malformed", "{\"customer\": 1, \"lines\": [", 1, QStringLiteral("JSON")},
        {"not an object", "[1, 2]", 1, QStringLiteral("JSON")},
        {"no lines", "{\"customer\": " + customer + "}", 1, QStringLiteral("lines")},
        {"unknown field", "{\"customer\": " + customer + ", \"colour\": 1, \"lines\": []}", 1,
         QStringLiteral("«colour»")},
        {"unknown line field",
         "{\"customer\": " + customer + ", \"lines\": [{\"barcode\": \"" + good + "\", \"q\": 1}]}",
         1, QStringLiteral("«q»")},
        {"text for a number",
         "{\"customer\": " + customer + ", \"lines\": [{\"barcode\": \"" + good +
             "\", \"qty\": \"2\"}]}",
         1, QStringLiteral("«qty»")},
        {"unknown barcode",
         "{\"customer\": " + customer + ", \"lines\": [{\"barcode\": \"0000000000000\"}]}", 2,
         QStringLiteral("خطا: چنين كالايي وجود ندارد")},
        {"unknown customer", "{\"customer\": 987654, \"lines\": [{\"barcode\": \"" + good + "\"}]}",
         2, QStringLiteral("987654")},
    };
    const QString before = footprint();
    for (const BadInvoice& c : cases) {
        SCOPED_TRACE(c.name);
        const CliResult r =
            run({QStringLiteral("invoice"), QStringLiteral("create"), QStringLiteral("-")}, c.json);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        EXPECT_FALSE(r.err.trimmed().isEmpty());
        if (!c.message.isEmpty()) {
            EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
        }
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_EQ(footprint(), before);
}

SI_INSTANTIATE_BACKENDS(CliCommands);

}  // namespace
}  // namespace si::test
