// Deleting a temporary 200-line invoice on a demo company: its dependants, lines, header, dispatch
// links and the event, in one writer transaction, as cmdDelete and the batch delete run it.

#include <benchmark/benchmark.h>

#include "SaleBench.h"
#include "posting/InvoiceRemoval.h"

namespace {

using si::test::Backend;
constexpr int kGoods = 2000;
constexpr int kLines = 200;

using Remove = bool (*)(si::Context&, int);

// Each iteration deletes a temporary invoice the untimed part saved just before.
void timeRemovals(benchmark::State& state, const Backend& backend, Remove remove) {
    si::bench::SaleBench b(backend, kGoods);
    si::Session& s = b.ctx.db();
    qint64 statements = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (!b.enterInvoice(kLines) || !b.save->SaveInvoice(false))
            return state.SkipWithError("no temporary invoice saved");
        const int id = b.form->doc().invoiceID();
        const qint64 before = s.statementCount();
        state.ResumeTiming();
        const bool removed = remove(b.ctx, id);
        state.PauseTiming();
        statements = s.statementCount() - before;
        if (!removed) return state.SkipWithError("not deleted");
        state.ResumeTiming();
    }
    state.counters["lines"] = kLines;
    state.counters["statements"] = static_cast<double>(statements);
}

void BM_DeleteTempInvoice200Lines(benchmark::State& state, const Backend& backend) {
    timeRemovals(state, backend, [](si::Context& ctx, int id) {
        si::DeleteInvoice(ctx, id, 1);
        return true;
    });
}

void BM_BatchDeleteTempInvoice200Lines(benchmark::State& state, const Backend& backend) {
    timeRemovals(state, backend,
                 [](si::Context& ctx, int id) { return si::DeleteTempInvoice(ctx, id, 1); });
}

void registerBenchmarks() {
    si::bench::RegisterPerBackend("BM_DeleteTempInvoice200Lines", BM_DeleteTempInvoice200Lines, 3,
                                  20);
    si::bench::RegisterPerBackend("BM_BatchDeleteTempInvoice200Lines",
                                  BM_BatchDeleteTempInvoice200Lines, 3, 20);
}

}  // namespace

int main(int argc, char** argv) {
    return si::bench::RunBenchmarks(argc, argv, registerBenchmarks);
}
