// Several workstations running the program on one temporary invoice at the same moment: it is
// finalised once, with one code, one accounting document and one dispatch; every other run is
// refused as the invoice is no longer temporary, and writes nothing.

#include <QJsonArray>
#include <QProcess>

#include "cli/CliTestSupport.h"

namespace si::test {
namespace {

constexpr int kWorkstations = 4;

class CliRaceTest : public CliTest {
protected:
    // Starts every run at once and waits for all of them.
    std::vector<CliResult> runAtOnce(const QStringList& args, int runs) {
        std::vector<std::unique_ptr<QProcess>> processes;
        for (int i = 0; i < runs; ++i) {
            auto p = std::make_unique<QProcess>();
            p->start(QStringLiteral(SALEINVOICE_EXE),
                     QStringList{QStringLiteral("--db"), connection()} + args);
            processes.push_back(std::move(p));
        }
        std::vector<CliResult> results;
        for (auto& p : processes) {
            EXPECT_TRUE(p->waitForFinished(120000));
            results.push_back(ResultOf(*p));
        }
        return results;
    }
    int postingsOf(const QString& table, int invoice) {
        return db()
            .scalar(QStringLiteral("select count(distinct ") +
                        (table == QStringLiteral("tblAccountDocumentDetail")
                             ? QStringLiteral("DocumentID")
                             : QStringLiteral("ID")) +
                        QStringLiteral(") from ") + table +
                        QStringLiteral(" where FormTypeID = 901 and FormID = ?"),
                    {invoice})
            .toInt();
    }
};

TEST_P(CliRaceTest, OneTemporaryInvoiceFinalisedByFourAtOnceIsPostedOnce) {
    const QStringList goods = stockedBarcodes(1);
    ASSERT_EQ(goods.size(), 1);
    QJsonObject invoice{{QStringLiteral("customer"), plainCustomer()},
                        {QStringLiteral("inventory"), 1},
                        {QStringLiteral("paidByCash"), 2}};
    invoice[QStringLiteral("lines")] =
        QJsonArray{QJsonObject{{QStringLiteral("barcode"), goods[0]}, {QStringLiteral("qty"), 1}}};
    const CliResult created = create(invoice, {QStringLiteral("--yes")});
    ASSERT_EQ(created.exitCode, 0) << created.err.toStdString();
    const int id = created.json().value(QStringLiteral("id")).toInt();
    const std::vector<CliResult> results =
        runAtOnce({QStringLiteral("--yes"), QStringLiteral("invoice"), QStringLiteral("final"),
                   QString::number(id)},
                  kWorkstations);
    int finalised = 0;
    for (const CliResult& r : results) {
        if (r.exitCode == 0) {
            ++finalised;
            continue;
        }
        EXPECT_EQ(r.exitCode, 2) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("نهايي شده است")) ||
                    r.err.contains(QStringLiteral("» نهايي است.")))
            << r.err.toStdString();
    }
    EXPECT_EQ(finalised, 1);
    EXPECT_FALSE(
        db().scalar(QStringLiteral("select Code from tblSaleInvoice where ID = ?"), {id}).isNull());
    EXPECT_EQ(postingsOf(QStringLiteral("tblAccountDocumentDetail"), id), 1);
    EXPECT_EQ(postingsOf(QStringLiteral("tblInventoryDispatch"), id), 1);
}

SI_INSTANTIATE_BACKENDS(CliRaceTest);

}  // namespace
}  // namespace si::test
