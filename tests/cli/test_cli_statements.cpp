// How many statements a final create costs, counted as the program's statement trace prints
// them (SALEINVOICE_SQL_TRACE=0: every statement, BEGIN and COMMIT included). The look-ups and
// writes of the lines are asked for all lines at once, so a longer invoice costs few more.

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QScopeGuard>
#include <iostream>

#include "cli/CliTestSupport.h"

namespace si::test {
namespace {

constexpr int kShortInvoice = 20;
constexpr int kLongInvoice = 200;
constexpr int kShortInvoiceBudget = 120;
constexpr int kLongInvoiceExtraBudget = 40;

class CliStatements : public CliTest {
protected:
    QJsonObject invoiceOf(const QStringList& goods) {
        QJsonArray lines;
        for (const QString& barcode : goods)
            lines.append(
                QJsonObject{{QStringLiteral("barcode"), barcode}, {QStringLiteral("qty"), 1}});
        return QJsonObject{{QStringLiteral("customer"), plainCustomer()},
                           {QStringLiteral("inventory"), 1},
                           {QStringLiteral("lines"), lines}};
    }

    // The statements of one final create, or -1 when it did not store a final invoice.
    int statementsOfFinalCreate(const QStringList& goods) {
        qputenv("SALEINVOICE_SQL_TRACE", "0");
        const auto unset = qScopeGuard([] { qunsetenv("SALEINVOICE_SQL_TRACE"); });
        const CliResult r =
            run({QStringLiteral("--yes"), QStringLiteral("invoice"), QStringLiteral("create"),
                 QStringLiteral("-"), QStringLiteral("--final")},
                QJsonDocument(invoiceOf(goods)).toJson());
        if (r.exitCode != 0 || r.json().value(QStringLiteral("state")) != QLatin1String("final")) {
            ADD_FAILURE() << r.err.right(2000).toStdString();
            return -1;
        }
        const QStringList trace = r.err.split(QLatin1Char('\n')).filter(QStringLiteral("[sql "));
        return static_cast<int>(trace.size()) - stockReadAgainUnderTheLock(trace);
    }

    // The save reads the stock again under its lock only when another connection committed
    // since its check. On PostgreSQL any commit of the server counts, so the test programs that
    // run beside this one can cause it; those reads are not the create's own cost.
    static int stockReadAgainUnderTheLock(const QStringList& trace) {
        const qsizetype begin = trace.indexOf(QRegularExpression(QStringLiteral("\\] BEGIN")));
        if (begin < 0) return 0;
        static const QRegularExpression stockRead(
            QStringLiteral("CheckExistance|AS Stock|tblInventoryParent"));
        int again = 0;
        for (qsizetype i = begin; i < trace.size(); ++i)
            again += trace[i].contains(stockRead) ? 1 : 0;
        return again;
    }
};

TEST_P(CliStatements, AFinalCreateCostsFewStatementsAndLinesAddAlmostNone) {
    const QStringList goods = stockedBarcodes(kLongInvoice);
    ASSERT_EQ(goods.size(), kLongInvoice);
    const int shortCount = statementsOfFinalCreate(goods.mid(0, kShortInvoice));
    const int longCount = statementsOfFinalCreate(goods);
    std::cout << "[statements] " << GetParam().name.toStdString() << ": final create of "
              << kShortInvoice << " lines " << shortCount << ", of " << kLongInvoice << " lines "
              << longCount << std::endl;
    ASSERT_GT(shortCount, 0);
    EXPECT_LE(shortCount, kShortInvoiceBudget);
    EXPECT_LE(longCount - shortCount, kLongInvoiceExtraBudget);
}

SI_INSTANTIATE_BACKENDS(CliStatements);

}  // namespace
}  // namespace si::test
