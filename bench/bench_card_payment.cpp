// A card payment on the shop's Bank Melli terminal, played by the simulator answering at once:
// from the payment's start to its committed transaction and cash-turn rows; and how long the
// event loop goes without running while a silent terminal is waited for (the form's
// responsiveness).

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

#include "SaleBench.h"
#include "payment/CardPayment.h"
#include "payment/WorkstationPayment.h"
#include "suite/CashTurnManager.h"

namespace {

using si::test::Backend;
constexpr int kShopGoods = 2002;  // a company of its own: the shop's parameters change it
constexpr int kLines = 20;
constexpr int kSilentWaitMs = 30000;

// The simulated terminal on a free port of 127.0.0.1; it approves every sale unless told.
class Terminal {
public:
    explicit Terminal(const QStringList& answers = {}) {
        QStringList args = {QStringLiteral("--type"), QStringLiteral("3"), QStringLiteral("--port"),
                            QStringLiteral("0")};
        for (const QString& answer : answers)
            args += {QStringLiteral("--answer"), answer};
        process_.start(QStringLiteral(PCPOS_SIM_EXE), args);
        if (process_.waitForStarted(10000) && process_.waitForReadyRead(10000))
            port_ = process_.readLine().trimmed().toInt();
    }
    ~Terminal() {
        process_.kill();
        process_.waitForFinished();
    }
    si::PosDevice device() const {
        si::PosDevice d;
        d.id = 1;
        d.typeId = 3;
        d.comPort = QStringLiteral("COM1");
        d.baudRate = 9600;
        d.ip = QStringLiteral("127.0.0.1");
        d.ipPort = port_;
        d.accountId = 1;
        return d;
    }
    int port() const { return port_; }

private:
    QProcess process_;
    int port_ = 0;
};

void openShop(si::Session& s) {
    s.exec(QStringLiteral("update tblZelorSystemParameters set Value = '1' where ID = 3"));
    if (!s.first(QStringLiteral("select ID from tblRecPayCashTurn where UserID = ? and IsOpen = 1"),
                 {si::erpdb::kDemoAdminUserId}))
        si::suite::CashTurnManager(s, si::erpdb::kDemoAdminUserId).OpenTurn(1);
}

// The shop's form with its open turn chosen and a new invoice of kLines lines.
struct CardBench : si::bench::SaleBench {
    explicit CardBench(const Backend& backend) : SaleBench(backend, kShopGoods, openShop) {
        const auto turn = ctx.db().first(
            QStringLiteral("select CashID, Turn from tblRecPayCashTurn where UserID = ? and "
                           "IsOpen = 1"),
            {si::erpdb::kDemoAdminUserId});
        enterInvoice(kLines);
        form->doc().CashID = turn->toInt(u"CashID");
        form->doc().Turn = turn->toInt(u"Turn");
    }
    std::unique_ptr<si::CardPayment> payment(const si::PosDevice& device,
                                             const si::pcpos::PosTimeouts& timeouts = {}) {
        si::CardPaymentParts parts;
        parts.device = [device] { return std::optional<si::PosDevice>(device); };
        parts.driver = [timeouts](const si::PosDevice& d) {
            return si::pcpos::CreatePosDriver(si::DriverSettingsOf(d), timeouts);
        };
        return std::make_unique<si::CardPayment>(ctx, form->doc(), journal, parts);
    }
    // Starts the payment and runs the event loop until it is done; its outcome.
    static bool payAndWait(si::CardPayment& payment) {
        std::optional<bool> outcome;
        QEventLoop loop;
        QObject::connect(&payment, &si::CardPayment::done, &loop, [&](bool ok) {
            outcome = ok;
            loop.quit();
        });
        if (!payment.start()) return false;
        if (!outcome) loop.exec();
        return *outcome;
    }
    QTemporaryDir dir;
    si::PaymentJournal journal{dir.filePath(QStringLiteral("journal.log"))};
};

void BM_CardPaymentToCommittedRows(benchmark::State& state, const Backend& backend) {
    Terminal terminal;
    if (terminal.port() <= 0) return state.SkipWithError("the terminal simulator did not start");
    CardBench bench(backend);
    const qint64 before =
        bench.ctx.db()
            .scalar(QStringLiteral(
                "select count(*) from tblRecPayCashTurnDetail where FormTypeID = 205"))
            .toLongLong();
    for (auto _ : state) {
        auto payment = bench.payment(terminal.device());
        if (!CardBench::payAndWait(*payment))
            return state.SkipWithError(qPrintable(bench.messages.texts().join(u'/')));
    }
    const qint64 booked =
        bench.ctx.db()
            .scalar(QStringLiteral(
                "select count(*) from tblRecPayCashTurnDetail where FormTypeID = 205"))
            .toLongLong();
    if (booked - before != static_cast<qint64>(state.iterations()))
        state.SkipWithError("not every approval was booked once");
    state.counters["lines"] = kLines;
}

// A terminal that never answers: the longest stretch the event loop did not run (a 10 ms timer's
// late ticks) during the driver's bounded wait of 30 s.
void BM_EventLoopWhileTheTerminalIsSilent(benchmark::State& state, const Backend& backend) {
    Terminal terminal({QStringLiteral("silent")});
    if (terminal.port() <= 0) return state.SkipWithError("the terminal simulator did not start");
    CardBench bench(backend);
    qint64 longestGapMs = 0;
    qint64 ticks = 0;
    for (auto _ : state) {
        QElapsedTimer sinceTick;
        sinceTick.start();
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            longestGapMs = std::max(longestGapMs, sinceTick.restart());
            ++ticks;
        });
        ticker.start(10);
        auto payment = bench.payment(terminal.device(), {5000, kSilentWaitMs});
        if (CardBench::payAndWait(*payment)) return state.SkipWithError("a silent terminal paid");
    }
    state.counters["longest_gap_ms"] = static_cast<double>(longestGapMs);
    state.counters["ticks"] = static_cast<double>(ticks);
}

void registerBenchmarks() {
    si::bench::RegisterPerBackend("BM_CardPaymentToCommittedRows", BM_CardPaymentToCommittedRows, 3,
                                  30);
    benchmark::RegisterBenchmark("BM_EventLoopWhileTheTerminalIsSilent/SQLite",
                                 BM_EventLoopWhileTheTerminalIsSilent, si::test::Backends().front())
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
}

}  // namespace

int main(int argc, char** argv) {
    return si::bench::RunBenchmarks(argc, argv, registerBenchmarks);
}
