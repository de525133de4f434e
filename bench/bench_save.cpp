// The final save of a 200-line invoice on a demo company, with its checks, lines, line
// discounts, inventory dispatch and accounting document, all in one transaction; and beside it
// the least such a save must write (the header, 200 lines, a document header and rows, a
// dispatch header and rows) as plain prepared statements in one transaction, as the floor the
// save is measured against.

#include <benchmark/benchmark.h>

#include <memory>

#include "BenchSupport.h"
#include "assembly/InvoiceModule.h"
#include "common/Jalali.h"
#include "erpdb/Procedures.h"
#include "invoice/FormMainLogic.h"
#include "invoice/LinesLogic.h"
#include "invoice/TotalsLogic.h"
#include "suite/Components.h"
#include "support/InvoiceFixtures.h"
#include "support/ScriptedMessages.h"

namespace {

using si::test::Backend;
constexpr int kGoods = 2000;
constexpr int kLines = 200;

struct Bench {
    explicit Bench(const Backend& backend) {
        si::erpdb::RegisterProcedures(procedures);
        si::suite::RegisterComponents(components);
        messages.install(components);
        messages.alwaysAnswer(true);
        ctx.globals.CurrentConnectionString = si::bench::demoConnection(backend, kGoods);
        ctx.globals.CurrentUserID = si::erpdb::kDemoAdminUserId;
        form = std::make_unique<si::FormMainLogic>(ctx);
        module = si::InstallModule(*form);
        save = &module->save();
        form->ClearShow();
    }
    int firstId(const char* sql) { return ctx.db().scalar(QString::fromLatin1(sql)).toInt(); }
    QStringList barcodesWithStock(int count) {
        QStringList list;
        const si::RowSet rows = ctx.db().query(
            QStringLiteral(
                "select d.Barcode from tblInventoryReceiptDetail d inner join "
                "tblInventoryReceipt r on r.ID = d.ReceiptID where r.InventoryID = ? and not "
                "exists (select 1 from tblInventoryGoodInfo i where i.Barcode = d.Barcode and "
                "i.InventoryID = r.InventoryID and coalesce(i.NotForSale, 0) = 1) group by "
                "d.Barcode having sum(d.Qty) >= 40 order by d.Barcode limit ?"),
            {si::erpdb::kDemoMainInventoryId, count});
        for (const si::Row& r : rows)
            list << r.text(u"Barcode");
        return list;
    }
    // A new invoice of kLines goods, entered once through the line logic; later iterations put
    // the same lines and totals back.
    bool enterInvoice() {
        form->cmdNew_Click();
        si::InvoiceDocument& doc = form->doc();
        doc.sltType.setID(type, true);
        doc.sltCustomer.setID(customer, true);
        doc.sltInventory.setID(si::erpdb::kDemoMainInventoryId, true);
        doc.sltPaidByCash.setID(1, true);
        if (lines.isEmpty()) {
            const QStringList barcodes = barcodesWithStock(kLines + 50);
            // Enough stock for every iteration and repetition of the run.
            for (const QString& barcode : barcodes)
                si::test::Receive(ctx.db(), si::erpdb::kDemoMainInventoryId, barcode, 100000,
                                  QDate(2000, 1, 1));
            for (const QString& barcode : barcodes) {
                if (doc.flexDetail.filledCount() == kLines) break;
                double qty = 1;
                form->services().lines->FillFlexOneRow(barcode, doc.flexDetail.rows() - 1,
                                                       si::kByBarcode, true, qty);
            }
            form->services().totals->ComputeGrandTotal();
            for (int row : doc.flexDetail.filledRows())
                lines << doc.flexDetail.line(row);
            totals = doc.totals;
        } else {
            doc.flexDetail.setLines(lines);
            doc.totals = totals;
        }
        return doc.flexDetail.filledCount() == kLines;
    }

    si::ProcedureRegistry procedures;
    si::ComponentRegistry components;
    si::test::MessageScript messages;
    si::Context ctx{&components, &procedures};
    std::unique_ptr<si::FormMainLogic> form;
    std::unique_ptr<si::InvoiceModule> module;
    si::SaveLogic* save = nullptr;
    int type = 0;
    int customer = 0;
    QVector<si::InvoiceLine> lines;
    si::InvoiceTotals totals;
};

void BM_FinalSave200Lines(benchmark::State& state, const Backend& backend) {
    Bench b(backend);
    b.type = b.firstId(
        "select min(ID) from tblSaleInvoiceType where coalesce(GenerateSaleAssignment, 0) = 0 "
        "and CreditAccountID is not null");
    b.customer = b.firstId(
        "select min(RelatedObjectID) from tblAccountRelatedObjects where RelatedClassID = 7");
    si::Session& s = b.ctx.db();
    qint64 statements = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (!b.enterInvoice()) return state.SkipWithError("not enough goods with stock");
        b.messages.clear();
        const qint64 before = s.statementCount();
        state.ResumeTiming();
        const bool saved = b.save->SaveInvoice(true);
        state.PauseTiming();
        statements = s.statementCount() - before;
        if (!saved || b.form->doc().lblAccountIDVal.toInt() < 1)
            return state.SkipWithError(qPrintable(QStringLiteral("not saved with a document: ") +
                                                  b.messages.texts().join(QStringLiteral(" / "))));
        state.ResumeTiming();
    }
    state.counters["lines"] = kLines;
    state.counters["statements"] = static_cast<double>(statements);
}

// The floor: the rows a final 200-line save must write, nothing read, nothing checked.
void BM_BareFinalSave200Lines(benchmark::State& state, const Backend& backend) {
    Bench b(backend);
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
