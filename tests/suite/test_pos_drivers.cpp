// The five card terminal drivers against the terminal simulator run as a process: on 127.0.0.1
// for the network kinds, on a pseudo-terminal for the serial ones. Approval, refusal, a terminal
// status, a dropped line, silence, a second sale while busy and a cancel, for every kind.

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include "suite/pcpos/PosDriver.h"
#include "suite/pcpos/PosProtocol.h"
#include "support/ClosedPort.h"
#include "support/TerminalSimulator.h"

namespace si::test {
namespace {

using pcpos::SaleResult;
using Outcome = pcpos::SaleResult::Outcome;

constexpr int kPatienceMs = kTerminalPatienceMs;

std::string Name(const testing::TestParamInfo<Terminal>& info) {
    return "Type" + std::to_string(info.param.typeId) + (info.param.serial ? "Serial" : "Tcp");
}

class Simulator : public TerminalSimulator {
public:
    Simulator(const Terminal& terminal, const QStringList& answers, const QStringList& extra = {})
        : TerminalSimulator(QStringLiteral(PCPOS_SIM_EXE), terminal, answers, extra) {}
    // The next request the terminal received.
    std::optional<pcpos::ProtocolLine> request() { return pcpos::ParseLine(readLine().toUtf8()); }
};

pcpos::PosSettings SettingsFor(const Terminal& terminal, const QString& where) {
    pcpos::PosSettings settings;
    settings.typeId = terminal.typeId;
    settings.baudRate = 115200;
    if (terminal.serial) {
        settings.serialPort = where;
    } else {
        settings.serialPort = QStringLiteral("COM1");
        settings.ip = QStringLiteral("127.0.0.1");
        settings.ipPort = where.toInt();
    }
    return settings;
}

pcpos::SaleRequest Sale(const QString& attempt = QStringLiteral("attempt-1")) {
    pcpos::SaleRequest sale;
    sale.amountRials = 1234000;
    sale.invoiceId = 17;
    sale.attemptId = attempt;
    return sale;
}

// Waits for the sale's report, then lets pending events run so a second report would show.
QList<SaleResult> Reports(QSignalSpy& spy) {
    if (spy.isEmpty()) spy.wait(kPatienceMs);
    QTest::qWait(50);
    QList<SaleResult> reports;
    for (const QList<QVariant>& args : spy)
        reports.append(args.at(0).value<SaleResult>());
    return reports;
}

class PosDriverTest : public testing::TestWithParam<Terminal> {
protected:
    // One sale against a simulator with the given answers; the single report it gives.
    SaleResult sell(const QStringList& answers, const pcpos::PosTimeouts& timeouts = {},
                    const QStringList& extra = {}) {
        Simulator sim(GetParam(), answers, extra);
        EXPECT_FALSE(sim.where().isEmpty());
        auto driver = pcpos::CreatePosDriver(SettingsFor(GetParam(), sim.where()), timeouts);
        QSignalSpy spy(driver.get(), &pcpos::PosDriver::finished);
        EXPECT_TRUE(driver->startSale(Sale()));
        EXPECT_TRUE(spy.isEmpty());
        const QList<SaleResult> reports = Reports(spy);
        EXPECT_EQ(reports.size(), 1);
        EXPECT_FALSE(driver->busy());
        if (std::optional<pcpos::ProtocolLine> request = sim.request()) lastRequest = *request;
        return reports.value(0);
    }
    int typeId() const { return GetParam().typeId; }
    pcpos::ProtocolLine lastRequest;
};

QString Field(const SaleResult& result, const QString& name) {
    for (const auto& [key, value] : result.fields)
        if (key == name) return value;
    return QStringLiteral("<absent>");
}

QStringList FieldNames(const SaleResult& result) {
    QStringList names;
    for (const auto& field : result.fields)
        names.append(field.first);
    return names;
}

QStringList Columns(const SaleResult& r) {
    return {r.reasonCode, r.serialTransaction, r.accountNo,   r.bin,
            r.pan,        r.terminalNo,        r.traceNumber, r.transactionDate};
}

// The columns an approval of the kind is expected to fill, from its own answer fields.
QStringList ExpectedColumns(int typeId, const SaleResult& r) {
    auto f = [&r](const char* name) { return Field(r, QString::fromLatin1(name)); };
    switch (typeId) {
        case 1:
        case 2:
            return {f("ResponseCode"), f("Rrn"),        f("AccountNo"),   f("Bin"),
                    f("Pan"),          f("TerminalNo"), f("TraceNumber"), f("TransactionDate")};
        case 3:
            return QStringList(7, QStringLiteral("0")) << QString();
        case 4:
            return {f("ResponseCode"), f("Rrn"),        QString(), f("Pan").left(6),
                    f("Pan"),          f("TerminalId"), f("Stan"), f("TransactionDate")};
        default:
            return {f("ResponseCode"), f("RRN"),        QString(),        QString(),
                    QString(),         f("TerminalId"), f("TraceNumber"), f("TxnDate")};
    }
}

TEST_P(PosDriverTest, ApprovalFillsTheColumnsFromTheAnswer) {
    const SaleResult result = sell({QStringLiteral("approve")});
    EXPECT_EQ(result.outcome, Outcome::Approved) << result.errorText.toStdString();
    EXPECT_EQ(result.attemptId, QStringLiteral("attempt-1"));
    EXPECT_EQ(FieldNames(result), pcpos::AnswerFieldNames(typeId()));
    EXPECT_EQ(Columns(result), ExpectedColumns(typeId(), result));
    if (typeId() != 3) {
        EXPECT_FALSE(result.traceNumber.isEmpty());
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^14\\d\\d/\\d\\d/\\d\\d$"))
                        .match(result.transactionDate)
                        .hasMatch())
            << result.transactionDate.toStdString();
    } else {
        EXPECT_FALSE(result.approvalCode.isEmpty());
    }
    EXPECT_EQ(lastRequest.verb, pcpos::kSaleVerb);
    EXPECT_EQ(lastRequest.value(QStringLiteral("type")), QString::number(typeId()));
    EXPECT_EQ(lastRequest.value(QStringLiteral("attempt")), QStringLiteral("attempt-1"));
    EXPECT_EQ(lastRequest.value(QStringLiteral("amount")), QStringLiteral("1234000"));
}

TEST_P(PosDriverTest, ZeroTraceApprovalKeepsTheZeros) {
    const SaleResult result =
        sell({QStringLiteral("approve")}, {}, {QStringLiteral("--zero-trace")});
    EXPECT_EQ(result.outcome, Outcome::Approved);
    const QString trace =
        typeId() == 3 ? Field(result, QStringLiteral("TransactionNo")) : result.traceNumber;
    EXPECT_EQ(trace, QStringLiteral("000000"));
}

TEST_P(PosDriverTest, BankRefusalIsRefusedWithItsCode) {
    // For Bank Melli the refusal carries response code 0 without an approval code.
    const QString code = typeId() == 3 ? QStringLiteral("0") : QStringLiteral("51");
    const SaleResult result = sell({QStringLiteral("refuse:") + code});
    EXPECT_EQ(result.outcome, Outcome::Refused);
    EXPECT_EQ(result.responseCode, code);
    EXPECT_TRUE(result.errorText.isEmpty());
    if (typeId() <= 2) {
        EXPECT_EQ(result.status, 109);
    }
    if (typeId() == 3) {
        EXPECT_TRUE(result.approvalCode.isEmpty());
    }
    if (typeId() == 4) {
        EXPECT_EQ(result.responseText, QStringLiteral("موجودي كارت كافي نيست."));
    }
}

TEST_P(PosDriverTest, TerminalStatusIsKept) {
    const SaleResult result = sell({QStringLiteral("status:130")});
    EXPECT_EQ(result.outcome, Outcome::Refused);
    if (typeId() <= 3) {
        EXPECT_EQ(result.status, 130);
    } else {
        EXPECT_EQ(result.responseCode, QStringLiteral("130"));
    }
}

TEST_P(PosDriverTest, DroppedLineFails) {
    const SaleResult result = sell({QStringLiteral("drop")});
    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_FALSE(result.errorText.isEmpty());
    EXPECT_EQ(result.attemptId, QStringLiteral("attempt-1"));
}

TEST_P(PosDriverTest, SilenceTimesOut) {
    const SaleResult result = sell({QStringLiteral("silent")}, {5000, 300});
    EXPECT_EQ(result.outcome, Outcome::TimedOut);
    EXPECT_EQ(result.errorText, QStringLiteral("دستگاه كارتخوان در مهلت مقرر پاسخ نداد."));
}

TEST_P(PosDriverTest, SecondSaleWhileBusyIsRefusedAndTheFirstEndsOnce) {
    Simulator sim(GetParam(), {QStringLiteral("late:100:approve")});
    auto driver = pcpos::CreatePosDriver(SettingsFor(GetParam(), sim.where()));
    QSignalSpy spy(driver.get(), &pcpos::PosDriver::finished);
    ASSERT_TRUE(driver->startSale(Sale()));
    EXPECT_TRUE(driver->busy());
    EXPECT_FALSE(driver->startSale(Sale(QStringLiteral("attempt-2"))));
    const QList<SaleResult> reports = Reports(spy);
    ASSERT_EQ(reports.size(), 1);
    EXPECT_EQ(reports[0].outcome, Outcome::Approved);
    EXPECT_EQ(reports[0].attemptId, QStringLiteral("attempt-1"));
    // Once reported, the driver takes the next sale.
    EXPECT_TRUE(driver->startSale(Sale(QStringLiteral("attempt-3"))));
    spy.clear();
    const QList<SaleResult> next = Reports(spy);
    ASSERT_EQ(next.size(), 1);
    EXPECT_EQ(next[0].attemptId, QStringLiteral("attempt-3"));
    EXPECT_EQ(next[0].outcome, Outcome::Approved);
}

TEST_P(PosDriverTest, CancelFailsTheSaleOnce) {
    Simulator sim(GetParam(), {QStringLiteral("silent")});
    auto driver = pcpos::CreatePosDriver(SettingsFor(GetParam(), sim.where()));
    QSignalSpy spy(driver.get(), &pcpos::PosDriver::finished);
    ASSERT_TRUE(driver->startSale(Sale()));
    ASSERT_TRUE(sim.request());  // the terminal has the sale
    driver->cancel();
    driver->cancel();
    EXPECT_TRUE(spy.isEmpty());
    const QList<SaleResult> reports = Reports(spy);
    ASSERT_EQ(reports.size(), 1);
    EXPECT_EQ(reports[0].outcome, Outcome::Failed);
    EXPECT_FALSE(reports[0].errorText.isEmpty());
    driver->cancel();
    EXPECT_EQ(Reports(spy).size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Kinds, PosDriverTest,
                         testing::Values(Terminal{1, true}, Terminal{2, true}, Terminal{3, false},
                                         Terminal{4, false}, Terminal{5, false}, Terminal{5, true}),
                         Name);

SaleResult SellTo(const pcpos::PosSettings& settings) {
    auto driver = pcpos::CreatePosDriver(settings);
    QSignalSpy spy(driver.get(), &pcpos::PosDriver::finished);
    EXPECT_TRUE(driver->startSale(Sale()));
    EXPECT_TRUE(spy.isEmpty());
    const QList<SaleResult> reports = Reports(spy);
    EXPECT_EQ(reports.size(), 1);
    return reports.value(0);
}

TEST(PosDriverReach, UnreachableTerminalFailsWithTheKindsConnectionText) {
    const int closed = ClosedLocalPort();
    pcpos::PosSettings asan{4, QStringLiteral("COM1"), 9600, QStringLiteral("127.0.0.1"), closed};
    EXPECT_EQ(SellTo(asan).outcome, Outcome::Failed);
    EXPECT_EQ(SellTo(asan).errorText,
              QStringLiteral("اتصال با دستگاه آسان پرداخت با مشكل مواجه شد."));
    pcpos::PosSettings keshavarzi = asan;
    keshavarzi.typeId = 5;
    EXPECT_EQ(SellTo(keshavarzi).errorText,
              QStringLiteral("اتصال با دستگاه پوز بانک کشاورزي با مشكل مواجه شد."));
    pcpos::PosSettings reader{1, QStringLiteral("/dev/no-such-serial-port"), 9600, {}, 0};
    EXPECT_EQ(SellTo(reader).outcome, Outcome::Failed);
    EXPECT_FALSE(SellTo(reader).errorText.isEmpty());
}

TEST(PosDriverReach, MissingSettingsFailWithoutReachingOut) {
    pcpos::PosSettings asan{4, QStringLiteral("COM1"), 9600, {}, 0};
    EXPECT_EQ(SellTo(asan).errorText,
              QStringLiteral("براي دستگاه آسان پرداخت, تنظيم آي پي لازم است!"));
    pcpos::PosSettings keshavarzi{5, {}, 9600, {}, 0};
    EXPECT_EQ(SellTo(keshavarzi).errorText,
              QStringLiteral("براي دستگاه پوز بانک کشاورزي, تنظيم درگاه سريال يا آي پي لازم است!"));
    EXPECT_EQ(pcpos::CreatePosDriver(pcpos::PosSettings{6, {}, 0, {}, 0}), nullptr);
}

// A terminal that answers an earlier attempt and then hangs up.
TEST(PosDriverReach, AnswerForAnotherAttemptIsNotThisSales) {
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&server, &QTcpServer::newConnection, &server, [&server] {
        QTcpSocket* socket = server.nextPendingConnection();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] {
            if (!socket->canReadLine()) return;
            socket->readAll();
            socket->write(
                "RESULT attempt=earlier;ResponseCode=0;ResponseDescription=;RRN=1;"
                "TerminalId=2;TraceNumber=3;TxnDate=4\n");
            socket->disconnectFromHost();
        });
    });
    pcpos::PosSettings keshavarzi{5, {}, 9600, QStringLiteral("127.0.0.1"), server.serverPort()};
    const SaleResult result = SellTo(keshavarzi);
    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_EQ(result.attemptId, QStringLiteral("attempt-1"));
    EXPECT_TRUE(result.fields.isEmpty());
}

}  // namespace
}  // namespace si::test
