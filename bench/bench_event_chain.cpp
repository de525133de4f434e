// The check of the form events' signed chain over 100,000 events, as the administrator's
// audit verify runs it. The events are made in the set-up by multi-row inserts with their codes
// computed here, as the procedure computes them. PostgreSQL runs when SALEINVOICE_TEST_PG names
// a server (./x bench starts one).

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "common/AuditKey.h"
#include "common/EventChain.h"
#include "common/EventChainCheck.h"
#include "common/FormEvents.h"
#include "common/Jalali.h"
#include "common/RowInserts.h"

namespace {

using si::test::Backend;
constexpr int kEvents = 100000;

si::FormEvent eventNumber(int i, const QDateTime& start) {
    const QDateTime when = start.addSecs(i * 37);
    si::FormEvent e;
    e.eventTypeId = 90101 + i % 7;
    e.formCode = 1 + i / 3;
    e.formTypeId = 901;
    e.description = si::InvoiceEventText(1 + i / 3, QStringLiteral("اصلاح شد."));
    e.userId = 1 + i % 5;
    e.eventDate = si::Session::dateTimeText(when);
    e.farsiEventDate = si::getFarsiDate(when.date());
    e.eventTime = when.time().hour() * 60 + when.time().minute();
    return e;
}

si::RowInserts eventInserts() {
    return si::RowInserts(
        QStringLiteral("insert into tblZelorFormEvent (EventTypeID, FormCode, FormTypeID, "
                       "Description, UserID, EventDate, FarsiEventDate, EventTime, "
                       "ReasonSequence, ChainSeq, ChainCode)"),
        11);
}

// A database of its own with kEvents events chained under this process's key.
std::unique_ptr<si::test::ScratchDatabase> chainedEvents(const Backend& backend) {
    auto db = std::make_unique<si::test::ScratchDatabase>(backend);
    auto s = si::Session::open(db->connectionString());
    si::erpdb::InstallSchema(*s);
    const QByteArray key = si::RequireAuditKey();
    const QDateTime start(QDate(2025, 3, 21), QTime(8, 0));
    si::RowInserts rows = eventInserts();
    si::Transaction t = s->transaction();
    QString previous;
    for (int i = 0; i < kEvents; ++i) {
        const si::FormEvent e = eventNumber(i, start);
        const QString code = si::EventChainCode(key, e, i + 1, previous);
        rows.add({*e.eventTypeId, *e.formCode, *e.formTypeId, *e.description, *e.userId,
                  *e.eventDate, *e.farsiEventDate, *e.eventTime, QVariant(), i + 1, code});
        previous = code;
        if (rows.rows() == 5000 || i + 1 == kEvents) {
            rows.exec(*s);
            rows = eventInserts();
        }
    }
    t.commit();
    s->exec(QStringLiteral("ANALYZE"));
    return db;
}

void BM_VerifyEventChain100k(benchmark::State& state, const Backend& backend) {
    const auto db = chainedEvents(backend);
    auto s = si::Session::open(db->connectionString());
    for (auto _ : state) {
        const si::EventChainReport report = si::VerifyEventChain(*s);
        if (!report.intact() || report.checked != kEvents)
            state.SkipWithError(report.message.toStdString().c_str());
    }
    state.counters["events"] = kEvents;
}

}  // namespace

int main(int argc, char** argv) {
    return si::bench::RunBenchmarks(argc, argv, [] {
        si::bench::RegisterPerBackend("VerifyEventChain/100k", BM_VerifyEventChain100k, 3, 1);
    });
}
