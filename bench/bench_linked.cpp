// The invoice form's neighbours: an invoice made from an inventory dispatch of 500 lines, and
// the turnover of an account with 100,000 posted rows as the account-detail view opens it (its
// figures and first page) and its closing balance.

#include <benchmark/benchmark.h>

#include "SaleBench.h"
#include "common/Jalali.h"
#include "linked/InvoiceFromDispatch.h"
#include "suite/AccountLedger.h"

namespace {

using si::test::Backend;
constexpr int kGoods = 2000;
constexpr int kDispatchLines = 500;
constexpr int kPostedRows = 100000;
constexpr int kRowsPerDocument = 10;

// A final dispatch of kDispatchLines goods (the first 100 twice, so lines are summed) to the
// bench's customer; its ID.
int addDispatch(si::Session& s, int customer, const QVector<QPair<QString, int>>& goods) {
    si::Transaction t = s.writerTransaction();
    const int dispatch = static_cast<int>(s.insertReturningId(
        QStringLiteral("insert into tblInventoryDispatch (Code, InventoryID, ReceiveDate, "
                       "FarsiReceiveDate, RelatedClassID, RelatedOrganizationID) values (?, ?, ?, "
                       "?, 7, ?) RETURNING ID"),
        {1, si::erpdb::kDemoMainInventoryId, QDate(2026, 12, 1), QStringLiteral("1405/09/10"),
         customer}));
    for (int row = 0; row < kDispatchLines; ++row) {
        const auto& [barcode, scale] = goods[row % goods.size()];
        s.exec(QStringLiteral("insert into tblInventoryDispatchDetail (DispatchID, RowNumber, "
                              "Barcode, Qty, ScaleID, ScaleQty) values (?,?,?,?,?,?)"),
               {dispatch, row + 1, barcode, 2, scale, 2});
    }
    t.commit();
    return dispatch;
}

void BM_InvoiceFrom500LineDispatch(benchmark::State& state, const Backend& backend) {
    si::bench::SaleBench bench(backend, kGoods);
    si::Session& s = bench.ctx.db();
    QVector<QPair<QString, int>> goods;
    for (const si::Row& r : s.query(QStringLiteral("select Barcode, ScaleID from tblGood where "
                                                   "ScaleID is not null order by Barcode limit ?"),
                                    {kDispatchLines - 100}))
        goods.append({r.text(u"Barcode"), r.toInt(u"ScaleID")});
    if (goods.size() < kDispatchLines - 100) return state.SkipWithError("not enough goods");
    for (auto _ : state) {
        state.PauseTiming();
        const int dispatch = addDispatch(s, bench.customer, goods);
        si::DispatchLookup lookup;
        lookup.byCode = false;
        lookup.number = QString::number(dispatch);
        state.ResumeTiming();
        if (!si::InvoiceFromDispatch(bench.ctx).cmdOK(lookup))
            return state.SkipWithError(qPrintable(bench.messages.texts().join(u'/')));
    }
    state.counters["lines"] = kDispatchLines;
}

// An account with kPostedRows rows in documents of kRowsPerDocument rows over a year; its ID.
int busyAccount(si::Session& s) {
    si::Transaction t = s.writerTransaction();
    const int account = static_cast<int>(s.insertReturningId(QStringLiteral(
        "insert into tblAccount (Code, Title) values ('1209999', 'حساب پرگردش') RETURNING ID")));
    const QDate first(2026, 3, 21);
    for (int doc = 0; doc < kPostedRows / kRowsPerDocument; ++doc) {
        const QDate date = first.addDays(doc % 365);
        const QString farsi = si::getFarsiDate(date);
        const qint64 id = s.insertReturningId(
            QStringLiteral("insert into tblAccountDocument (Code, DocumentDate, "
                           "FarsiDocumentDate, Description, IsPreDocument) values (?, ?, ?, "
                           "'سند نمونه', 0) RETURNING ID"),
            {1000000 + doc, date, farsi});
        for (int row = 1; row <= kRowsPerDocument; ++row)
            s.exec(QStringLiteral("insert into tblAccountDocumentDetail (DocumentID, RowNumber, "
                                  "AccountID, Description, DebitValue, CreditValue) values "
                                  "(?,?,?,?,?,?)"),
                   {id, row, account, QStringLiteral("رديف ") + QString::number(row),
                    QVariant::fromValue(si::Money::fromRials(row % 2 ? 1000 * row : 0)),
                    QVariant::fromValue(si::Money::fromRials(row % 2 ? 0 : 700 * row))});
    }
    t.commit();
    s.exec(QStringLiteral("ANALYZE"));
    return account;
}

// What the view does on opening: the figures, then the first page of rows.
void BM_TurnoverFirstScreen100000Rows(benchmark::State& state, const Backend& backend) {
    auto s = si::Session::open(si::bench::demoConnection(backend, kGoods));
    int account =
        s->scalar(QStringLiteral("select ID from tblAccount where Code = '1209999'")).toInt();
    if (account == 0) account = busyAccount(*s);
    for (auto _ : state) {
        auto reader = si::suite::TurnoverReader::ofAccount(*s, account);
        const QVector<si::suite::TurnoverRow> page = reader.next(si::suite::kTurnoverPageRows);
        if (reader.rowCount() < kPostedRows || page.size() != si::suite::kTurnoverPageRows)
            return state.SkipWithError("the account's rows were not all counted");
        benchmark::DoNotOptimize(page.last().balance);
    }
    state.counters["rows"] = kPostedRows;
}

// The closing balance at the view's foot, by aggregates.
void BM_TurnoverClosingBalance100000Rows(benchmark::State& state, const Backend& backend) {
    auto s = si::Session::open(si::bench::demoConnection(backend, kGoods));
    const int account =
        s->scalar(QStringLiteral("select ID from tblAccount where Code = '1209999'")).toInt();
    if (account == 0) return state.SkipWithError("run with the first-screen benchmark");
    for (auto _ : state) {
        const auto reader = si::suite::TurnoverReader::ofAccount(*s, account);
        benchmark::DoNotOptimize(reader.summary().closingBalance());
    }
    state.counters["rows"] = kPostedRows;
}

void registerBenchmarks() {
    si::bench::RegisterPerBackend("BM_InvoiceFrom500LineDispatch", BM_InvoiceFrom500LineDispatch, 3,
                                  5);
    si::bench::RegisterPerBackend("BM_TurnoverFirstScreen100000Rows",
                                  BM_TurnoverFirstScreen100000Rows, 3, 10);
    si::bench::RegisterPerBackend("BM_TurnoverClosingBalance100000Rows",
                                  BM_TurnoverClosingBalance100000Rows, 3, 10);
}

}  // namespace

int main(int argc, char** argv) {
    return si::bench::RunBenchmarks(argc, argv, registerBenchmarks);
}
