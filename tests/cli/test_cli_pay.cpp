// invoice pay: a stored invoice paid on the cashier's Bank Melli terminal, played by the terminal
// simulator: a refusal writes nothing, an approval writes its transaction and its booking, and a
// second card payment of a paid invoice is asked about first.

#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "cli/CliTestSupport.h"

namespace si::test {
namespace {

class CliPay : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        ASSERT_TRUE(home.isValid());
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
            saved.emplace_back(name, qgetenv(name));
            qputenv(name, home.path().toUtf8());
        }
        simulator.start(
            QStringLiteral(PCPOS_SIM_EXE),
            {QStringLiteral("--type"), QStringLiteral("3"), QStringLiteral("--port"),
             QStringLiteral("0"), QStringLiteral("--answer"), QStringLiteral("refuse:51")});
        ASSERT_TRUE(simulator.waitForStarted(10000));
        ASSERT_TRUE(simulator.waitForReadyRead(10000));
        const int port = simulator.readLine().trimmed().toInt();
        ASSERT_GT(port, 0);
        terminalPort = db().scalar(QStringLiteral("select IPPORT from tblRecPayPos where ID = 1"));
        db().exec(
            QStringLiteral("update tblRecPayPos set IP = '127.0.0.1', IPPORT = ? where ID = 1"),
            {port});
        db().exec(QStringLiteral("update tblZelorSystemParameters set Value = '1' where ID = 3"));
        invoice = db().scalar(QStringLiteral("select max(ID) from tblSaleInvoice where Code is not "
                                             "null and not exists (select 1 from "
                                             "tblRecPayPosAttempt a where a.InvoiceID = "
                                             "tblSaleInvoice.ID)"))
                      .toInt();
    }
    void TearDown() override {
        simulator.kill();
        simulator.waitForFinished();
        // The demo company is shared with the program's other tests.
        db().exec(QStringLiteral("update tblRecPayPos set IPPORT = ? where ID = 1"),
                  {terminalPort});
        db().exec(QStringLiteral("update tblZelorSystemParameters set Value = '0' where ID = 3"));
        for (const auto& [name, value] : saved)
            value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }
    CliResult pay(const QStringList& extra = {}) {
        return run(QStringList{QStringLiteral("--user"), QStringLiteral("2")} + extra +
                   QStringList{QStringLiteral("invoice"), QStringLiteral("pay"),
                               QString::number(invoice), QStringLiteral("--device"),
                               QStringLiteral("1")});
    }
    int rowsOf(const char* table) {
        return db()
            .scalar(QStringLiteral("select count(*) from ") + QString::fromLatin1(table) +
                    QStringLiteral(" where FormTypeID = 205"))
            .toInt();
    }

    QTemporaryDir home;
    std::vector<std::pair<const char*, QByteArray>> saved;
    QProcess simulator;
    int invoice = 0;
    QVariant terminalPort;
};

TEST_P(CliPay, ARefusalWritesNothingAndAnApprovalWritesBothRowsOnce) {
    ASSERT_GT(invoice, 0);
    const int before = rowsOf("tblRecPayCashTurnDetail");
    const CliResult refused = pay();
    EXPECT_EQ(refused.exitCode, 2) << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains(QStringLiteral("اشکال در پوز بانک ملي")))
        << refused.err.toStdString();
    EXPECT_EQ(rowsOf("tblRecPayCashTurnDetail"), before);

    const CliResult paid = pay();
    ASSERT_EQ(paid.exitCode, 0) << paid.err.toStdString();
    const QJsonObject json = paid.json();
    EXPECT_TRUE(json.value(QStringLiteral("approved")).toBool());
    const QJsonObject transaction = json.value(QStringLiteral("transaction")).toObject();
    EXPECT_EQ(transaction.value(QStringLiteral("FormID")).toInt(), invoice);
    EXPECT_EQ(transaction.value(QStringLiteral("ReasonCode")).toString(), QStringLiteral("0"));
    const QJsonObject booked = json.value(QStringLiteral("cashTurnDetail")).toObject();
    EXPECT_EQ(booked.value(QStringLiteral("FormID")).toInt(),
              booked.value(QStringLiteral("ID")).toInt());
    EXPECT_EQ(
        booked.value(QStringLiteral("PayedValue")).toDouble(),
        db().scalar(QStringLiteral("select TotalValue from tblSaleInvoice where ID = ?"), {invoice})
            .toDouble());
    EXPECT_EQ(rowsOf("tblRecPayCashTurnDetail"), before + 1);

    // Paid in full already: without --yes the cashier's answer is no.
    const CliResult again = pay();
    EXPECT_EQ(again.exitCode, 2);
    EXPECT_TRUE(again.err.contains(QStringLiteral("قبلا با كارت پرداخت شده است")))
        << again.err.toStdString();
    EXPECT_EQ(rowsOf("tblRecPayCashTurnDetail"), before + 1);
}

SI_INSTANTIATE_BACKENDS(CliPay);

}  // namespace
}  // namespace si::test
