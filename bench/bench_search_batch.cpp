// The commands on a whole search result: the grid of 10,000 invoices written as a spreadsheet
// (the pages read from the database included), and 1,000 temporary invoices of two lines each
// deleted by the batch delete, each in a transaction of its own.

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "BenchSupport.h"
#include "erpdb/Procedures.h"
#include "search/InvoiceResultModel.h"
#include "search/SearchBatch.h"
#include "search/SearchFilters.h"
#include "search/SpreadsheetExport.h"
#include "support/ScriptedMessages.h"

namespace {

using si::test::Backend;

constexpr int kInvoices = 10000;
constexpr int kDeleted = 1000;

struct Company {
    explicit Company(const Backend& backend) {
        si::erpdb::RegisterProcedures(procedures);
        ctx.globals.CurrentConnectionString = si::bench::demoConnection(backend, 2000, kInvoices);
        ctx.globals.CurrentUserID = si::erpdb::kDemoAdminUserId;
        si::OpenSession(ctx);
        si::LoadSystemParameters(ctx);
        messages.install(components);
        messages.alwaysAnswer(true);
    }
    // kDeleted temporary invoices of two lines of goods the demo sells; the first one's ID.
    qint64 addTemporaryInvoices() {
        si::Session& s = ctx.db();
        const QVariantList goods = {
            s.scalar(QStringLiteral("select Barcode from tblGood order by ID limit 1")),
            s.scalar(QStringLiteral("select Barcode from tblGood order by ID limit 1 offset 1"))};
        const QVariant customer = s.scalar(QStringLiteral("select min(ID) from tblOrganization"));
        si::Transaction t = s.transaction();
        qint64 first = 0;
        for (int i = 0; i < kDeleted; ++i) {
            const qint64 id = s.insertReturningId(
                QStringLiteral("insert into tblSaleInvoice (CustomerID, InventoryID, TypeID, "
                               "CreatorID, CreateDate, FarsiCreateDate, Notes) values (?, 1, 1, 1, "
                               "?, '1405/09/15', 'bench') RETURNING ID"),
                {customer, QDateTime(QDate(2026, 12, 6), QTime(9, 0))});
            if (i == 0) first = id;
            for (int row = 0; row < 2; ++row)
                s.exec(QStringLiteral("insert into tblSaleInvoiceDetail (InvoiceID, RowNumber, "
                                      "Barcode, Qty) values (?, ?, ?, 1)"),
                       {id, row + 1, goods[row]});
        }
        t.commit();
        return first;
    }
    si::test::MessageScript messages;
    si::ProcedureRegistry procedures;
    si::ComponentRegistry components;
    si::Context ctx{&components, &procedures};
};

void ExportResult(benchmark::State& state, const Backend& backend) {
    Company company(backend);
    QTemporaryDir folder;
    int rows = 0;
    for (auto _ : state) {
        si::InvoiceResultModel result(company.ctx, si::SearchColumns());
        result.setSource({si::SearchCondition(company.ctx, {})});
        rows = si::WriteResultSpreadsheet(result, folder.filePath(QStringLiteral("result.xlsx")));
    }
    state.counters["rows"] = rows;
}

void DeleteTemporaryInvoices(benchmark::State& state, const Backend& backend) {
    Company company(backend);
    si::HeadlessBatchFrontEnd frontEnd({}, 1);  // the demo keeps delete reasons
    int deleted = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const qint64 first = company.addTemporaryInvoices();
        si::InvoiceResultModel result(company.ctx, si::SearchColumns());
        result.setSource({si::SearchCondition(company.ctx, {{QStringLiteral("txtMinID"), first}})});
        state.ResumeTiming();
        deleted = static_cast<int>(
            si::SearchBatch(company.ctx, result, frontEnd).cmdBatchDelete().deleted.size());
    }
    state.counters["deleted"] = deleted;
}

}  // namespace

int main(int argc, char** argv) {
    return si::bench::RunBenchmarks(argc, argv, [] {
        si::bench::RegisterPerBackend("SpreadsheetOf10000Invoices", ExportResult, 3);
        si::bench::RegisterPerBackend("BatchDeleteOf1000TemporaryInvoices", DeleteTemporaryInvoices,
                                      3, 1);
    });
}
