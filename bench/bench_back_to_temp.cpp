// Back to temp of a final invoice of 200 lines with its accounting document, its dispatch and a
// row in an open cash turn: the whole command (the checks, then the component on its own
// connection) and the component's return alone on an open session.

#include <benchmark/benchmark.h>

#include "SaleBench.h"
#include "suite/BackToTempState.h"
#include "suite/CashTurnManager.h"

namespace {

using si::test::Backend;
constexpr int kGoods = 2003;  // a company of its own: every iteration posts and returns there
constexpr int kLines = 200;

// An open turn of the administrator's, for the cash rows.
qint64 openTurnOf(si::Session& s) {
    const auto open =
        s.first(QStringLiteral("select ID from tblRecPayCashTurn where UserID = ? and IsOpen = 1"),
                {si::erpdb::kDemoAdminUserId});
    if (open) return open->toInt64(u"ID");
    return si::suite::CashTurnManager(s, si::erpdb::kDemoAdminUserId).OpenTurn(1).id;
}

class FinalInvoices {
public:
    explicit FinalInvoices(const Backend& backend) : bench_(backend, kGoods) {
        turn_ = openTurnOf(bench_.ctx.db());
    }
    si::bench::SaleBench& bench() { return bench_; }

    // A final credit sale of kLines lines, posted, with a cash row of its own; 0 on failure.
    int make() {
        if (!bench_.enterInvoice(kLines, 2) || !bench_.save->SaveInvoice(true)) return 0;
        const int id = bench_.form->doc().invoiceID();
        bench_.ctx.db().exec(
            QStringLiteral("insert into tblRecPayCashTurnDetail (CashTurnID, Code, FormID, "
                           "FormTypeID, ReceivedValue, PayedValue) values (?, 1, ?, 901, 1000, "
                           "0)"),
            {turn_, id});
        return id;
    }
    bool returned(int id) {
        return bench_.ctx.db()
            .scalar(QStringLiteral("select Code from tblSaleInvoice where ID = ?"), {id})
            .isNull();
    }

private:
    si::bench::SaleBench bench_;
    qint64 turn_ = 0;
};

void BM_BackToTempCommand200Lines(benchmark::State& state, const Backend& backend) {
    FinalInvoices invoices(backend);
    si::bench::SaleBench& b = invoices.bench();
    for (auto _ : state) {
        state.PauseTiming();
        const int id = invoices.make();
        if (id <= 0) return state.SkipWithError("the invoice was not saved finally");
        b.form->ShowInvoiceByID(id);
        b.messages.clear();
        state.ResumeTiming();
        const bool done = b.module->BackToTemp();
        state.PauseTiming();
        if (!done || !invoices.returned(id))
            return state.SkipWithError(
                qPrintable(QStringLiteral("not returned: ") + b.messages.texts().join(u'/')));
        state.ResumeTiming();
    }
    state.counters["lines"] = kLines;
}

void BM_BackToTempState200Lines(benchmark::State& state, const Backend& backend) {
    FinalInvoices invoices(backend);
    si::Session& s = invoices.bench().ctx.db();
    qint64 statements = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const int id = invoices.make();
        if (id <= 0) return state.SkipWithError("the invoice was not saved finally");
        const qint64 before = s.statementCount();
        state.ResumeTiming();
        const QString refused =
            si::suite::ReturnSaleInvoiceToTemp(s, id, si::erpdb::kDemoAdminUserId);
        state.PauseTiming();
        statements = s.statementCount() - before;
        if (!refused.isEmpty() || !invoices.returned(id))
            return state.SkipWithError(qPrintable(QStringLiteral("not returned: ") + refused));
        state.ResumeTiming();
    }
    state.counters["lines"] = kLines;
    state.counters["statements"] = static_cast<double>(statements);
}

void registerBenchmarks() {
    si::bench::RegisterPerBackend("BM_BackToTempCommand200Lines", BM_BackToTempCommand200Lines, 3,
                                  20);
    si::bench::RegisterPerBackend("BM_BackToTempState200Lines", BM_BackToTempState200Lines, 3, 20);
}

}  // namespace

int main(int argc, char** argv) {
    return si::bench::RunBenchmarks(argc, argv, registerBenchmarks);
}
