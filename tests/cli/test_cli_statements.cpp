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
// The final save's signed event reads the chain's last link and writes the next one.
constexpr int kShortInvoiceBudget = 122;
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

    // The statement trace of one final create, empty when it did not store a final invoice.
    QStringList traceOfFinalCreate(const QJsonObject& invoice) {
        qputenv("SALEINVOICE_SQL_TRACE", "0");
        const auto unset = qScopeGuard([] { qunsetenv("SALEINVOICE_SQL_TRACE"); });
        const CliResult r =
            run({QStringLiteral("--yes"), QStringLiteral("invoice"), QStringLiteral("create"),
                 QStringLiteral("-"), QStringLiteral("--final")},
                QJsonDocument(invoice).toJson());
        if (r.exitCode != 0 || r.json().value(QStringLiteral("state")) != QLatin1String("final")) {
            ADD_FAILURE() << r.err.right(2000).toStdString();
            return {};
        }
        return r.err.split(QLatin1Char('\n')).filter(QStringLiteral("[sql "));
    }

    // The statements of one final create, or -1 when it did not store a final invoice.
    int statementsOfFinalCreate(const QStringList& goods) {
        const QStringList trace = traceOfFinalCreate(invoiceOf(goods));
        if (trace.isEmpty()) return -1;
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

// The walk-in buyer costs an invoice that has one a single write, and one without none: it is
// read with the header, not by a statement of its own.
TEST_P(CliStatements, AWalkInBuyerCostsOneWriteAndNoneWithout) {
    const QStringList goods = stockedBarcodes(kShortInvoice);
    ASSERT_EQ(goods.size(), kShortInvoice);
    const QRegularExpression buyerWrite(QStringLiteral("(INTO|FROM|UPDATE) tblSaleInvoiceWalkIn"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QStringList without = traceOfFinalCreate(invoiceOf(goods));
    QJsonObject withBuyer = invoiceOf(goods);
    withBuyer.insert(QStringLiteral("walkInName"), QStringLiteral("حسين مرادي"));
    withBuyer.insert(QStringLiteral("walkInPhone"), QStringLiteral("+989121234567"));
    const QStringList with = traceOfFinalCreate(withBuyer);
    ASSERT_FALSE(without.isEmpty());
    ASSERT_FALSE(with.isEmpty());
    EXPECT_EQ(without.filter(buyerWrite).size(), 0)
        << without.filter(buyerWrite).join(u'\n').toStdString();
    EXPECT_EQ(with.filter(buyerWrite).size(), 1)
        << with.filter(buyerWrite).join(u'\n').toStdString();
    const qsizetype withoutCount = without.size() - stockReadAgainUnderTheLock(without);
    const qsizetype withCount = with.size() - stockReadAgainUnderTheLock(with);
    EXPECT_LE(withCount, withoutCount + 1);
}

SI_INSTANTIATE_BACKENDS(CliStatements);

}  // namespace
}  // namespace si::test
