// The batch final registration of the invoice list: 500 marked temporary invoices of a demo
// company, registered in one writer transaction, each drawing its code as a single final save
// does. PostgreSQL runs when SALEINVOICE_TEST_PG names a server (./x bench starts one).

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "common/Jalali.h"
#include "erpdb/Procedures.h"
#include "posting/BatchFinalRegistration.h"
#include "support/ScriptedMessages.h"

namespace {

using si::test::Backend;
constexpr int kGoods = 2000;
constexpr int kMarked = 500;

struct Bench {
    explicit Bench(const Backend& backend) {
        si::erpdb::RegisterProcedures(procedures);
        messages.install(components);
        messages.alwaysAnswer(true);
        ctx.globals.CurrentConnectionString = si::bench::demoConnection(backend, kGoods);
        ctx.globals.CurrentUserID = si::erpdb::kDemoAdminUserId;
        si::OpenSession(ctx);
        si::LoadSystemParameters(ctx);
    }
    // kMarked temporary invoices of today, none over a credit level, in one transaction.
    QList<qint64> temporaryInvoices() {
        si::Session& s = ctx.db();
        const QDate today = s.today();
        QList<qint64> ids;
        si::Transaction t = s.transaction();
        for (int i = 0; i < kMarked; ++i)
            ids << s.insertReturningId(
                QStringLiteral("insert into tblSaleInvoice (CreateDate, FarsiCreateDate, "
                               "CustomerID, InventoryID, TotalValue) values (?, ?, 1, 1, ?) "
                               "RETURNING ID"),
                {today, si::getFarsiDate(today),
                 QVariant::fromValue(si::Money::fromRials(1000 + i))});
        t.commit();
        return ids;
    }

    si::ProcedureRegistry procedures;
    si::ComponentRegistry components;
    si::test::MessageScript messages;
    si::Context ctx{&components, &procedures};
};

void BM_BatchFinalRegistration500(benchmark::State& state, const Backend& backend) {
    Bench b(backend);
    si::Session& s = b.ctx.db();
    qint64 statements = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QList<qint64> marked = b.temporaryInvoices();
        b.messages.clear();
        const qint64 before = s.statementCount();
        state.ResumeTiming();
        const int registered = si::BatchFinalRegistration(b.ctx).cmdFinalSave(marked);
        state.PauseTiming();
        statements = s.statementCount() - before;
        if (registered != kMarked)
            return state.SkipWithError(qPrintable(QStringLiteral("not all registered: ") +
                                                  b.messages.texts().join(QStringLiteral(" / "))));
        state.ResumeTiming();
    }
    state.counters["invoices"] = kMarked;
    state.counters["statements"] = static_cast<double>(statements);
}

void registerBenchmarks() {
    si::bench::RegisterPerBackend("BM_BatchFinalRegistration500", BM_BatchFinalRegistration500, 3,
                                  5);
}

}  // namespace

int main(int argc, char** argv) {
    return si::bench::RunBenchmarks(argc, argv, registerBenchmarks);
}
