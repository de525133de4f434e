// The final save of a 200-line invoice on a demo company, with its checks, lines, line
// discounts, inventory dispatch and accounting document, all in one transaction; and beside it
// the least such a save must write (the header, 200 lines, a document header and rows, a
// dispatch header and rows) as plain prepared statements in one transaction, as the floor the
// save is measured against.

#include <benchmark/benchmark.h>

#include <memory>

#include "SaleBench.h"
#include "common/Jalali.h"

namespace {

using si::test::Backend;
constexpr int kGoods = 2000;
constexpr int kLines = 200;

void BM_FinalSave200Lines(benchmark::State& state, const Backend& backend) {
    si::bench::SaleBench(backend, kGoods).timeFinalSaves(state, kLines);
}

// The floor: the rows a final 200-line save must write, nothing read, nothing checked.
void BM_BareFinalSave200Lines(benchmark::State& state, const Backend& backend) {
    si::bench::SaleBench b(backend, kGoods);
    si::Session& s = b.ctx.db();
    const QStringList barcodes = b.barcodesWithStock(kLines);
    const QDate today = s.today();
    const QVariant price = QVariant::fromValue(si::Money::fromRials(1000));
    for (auto _ : state) {
        si::Transaction t = s.writerTransaction();
        const qint64 invoice = s.insertReturningId(
            QStringLiteral(
                "insert into tblSaleInvoice (CreateDate, FarsiCreateDate, CustomerID, "
                "InventoryID, Code, TotalValue) values (?, ?, 1, 1, -1, ?) RETURNING ID"),
            {today, si::getFarsiDate(today), price});
        for (int i = 0; i < barcodes.size(); ++i)
            s.exec(
                QStringLiteral("insert into tblSaleInvoiceDetail (InvoiceID, RowNumber, Barcode, "
                               "Description, ScaleID, Qty, RetailPrice) values (?, ?, ?, '', 1, "
                               "1, ?)"),
                {invoice, i + 1, barcodes[i], price});
        const qint64 document = s.insertReturningId(
            QStringLiteral("insert into tblAccountDocument (Code, DocumentDate, FarsiDocumentDate, "
                           "Value) values (0, ?, ?, ?) RETURNING ID"),
            {today, si::getFarsiDate(today), price});
        for (int row = 1; row <= 4; ++row)
            s.exec(QStringLiteral("insert into tblAccountDocumentDetail (DocumentID, RowNumber, "
                                  "AccountID, DebitValue, CreditValue, FormID, FormTypeID) values "
                                  "(?, ?, 1, ?, 0, ?, 901)"),
                   {document, row, price, invoice});
        const qint64 dispatch = s.insertReturningId(
            QStringLiteral("insert into tblInventoryDispatch (Code, InventoryID, ReceiveDate, "
                           "FarsiReceiveDate, FormID, FormTypeID) values (1, 1, ?, ?, ?, 901) "
                           "RETURNING ID"),
            {today, si::getFarsiDate(today), invoice});
        for (const QString& barcode : barcodes)
            s.exec(
                QStringLiteral("insert into tblInventoryDispatchDetail (DispatchID, Barcode, "
                               "Qty, ScaleID, ScaleQty, Description) values (?, ?, 1, 1, 1, '')"),
                {dispatch, barcode});
        t.commit();
    }
    state.counters["lines"] = static_cast<double>(barcodes.size());
}

void registerBenchmarks() {
    si::bench::RegisterPerBackend("BM_FinalSave200Lines", BM_FinalSave200Lines, 3, 20);
    si::bench::RegisterPerBackend("BM_BareFinalSave200Lines", BM_BareFinalSave200Lines, 3, 20);
}

}  // namespace

int main(int argc, char** argv) {
    return si::bench::RunBenchmarks(argc, argv, registerBenchmarks);
}
