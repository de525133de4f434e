#pragma once
// A form of the demo company with the module installed, as the save benchmarks use it: a new
// invoice of N stocked goods is entered once through the line logic, and later iterations put
// the same lines and totals back.

#include <functional>
#include <memory>

#include "BenchSupport.h"
#include "assembly/InvoiceModule.h"
#include "erpdb/Procedures.h"
#include "invoice/FormMainLogic.h"
#include "invoice/LinesLogic.h"
#include "invoice/TotalsLogic.h"
#include "suite/Components.h"
#include "support/InvoiceFixtures.h"
#include "support/ScriptedMessages.h"

namespace si::bench {

struct SaleBench {
    // `prepare` runs on the database before the form loads (parameters, a cash turn).
    SaleBench(const test::Backend& backend, int goods,
              const std::function<void(Session&)>& prepare = {}) {
        erpdb::RegisterProcedures(procedures);
        suite::RegisterComponents(components);
        messages.install(components);
        messages.alwaysAnswer(true);
        ctx.globals.CurrentConnectionString = demoConnection(backend, goods);
        ctx.globals.CurrentUserID = erpdb::kDemoAdminUserId;
        if (prepare) prepare(*Session::open(ctx.globals.CurrentConnectionString));
        form = std::make_unique<FormMainLogic>(ctx);
        module = InstallModule(*form);
        save = &module->save();
        form->ClearShow();
        type = firstId(
            "select min(ID) from tblSaleInvoiceType where coalesce(GenerateSaleAssignment, 0) = "
            "0 and CreditAccountID is not null");
        customer = firstId(
            "select min(RelatedObjectID) from tblAccountRelatedObjects where RelatedClassID = 7");
    }
    int firstId(const char* sql) { return ctx.db().scalar(QString::fromLatin1(sql)).toInt(); }
    QStringList barcodesWithStock(int count) {
        QStringList list;
        const RowSet rows = ctx.db().query(
            QStringLiteral(
                "select d.Barcode from tblInventoryReceiptDetail d inner join "
                "tblInventoryReceipt r on r.ID = d.ReceiptID where r.InventoryID = ? and not "
                "exists (select 1 from tblInventoryGoodInfo i where i.Barcode = d.Barcode and "
                "i.InventoryID = r.InventoryID and coalesce(i.NotForSale, 0) = 1) group by "
                "d.Barcode having sum(d.Qty) >= 40 order by d.Barcode limit ?"),
            {erpdb::kDemoMainInventoryId, count});
        for (const Row& r : rows)
            list << r.text(u"Barcode");
        return list;
    }
    // A new invoice of `count` lines paid as `paidBy` says; false when the demo lacks the goods.
    bool enterInvoice(int count, int paidBy = 1) {
        form->cmdNew_Click();
        InvoiceDocument& doc = form->doc();
        doc.sltType.setID(type, true);
        doc.sltCustomer.setID(customer, true);
        doc.sltInventory.setID(erpdb::kDemoMainInventoryId, true);
        doc.sltPaidByCash.setID(paidBy, true);
        if (lines.isEmpty()) {
            const QStringList barcodes = barcodesWithStock(count + 50);
            // Enough stock for every iteration and repetition of the run.
            for (const QString& barcode : barcodes)
                test::Receive(ctx.db(), erpdb::kDemoMainInventoryId, barcode, 100000,
                              QDate(2000, 1, 1));
            for (const QString& barcode : barcodes) {
                if (doc.flexDetail.filledCount() == count) break;
                double qty = 1;
                form->services().lines->FillFlexOneRow(barcode, doc.flexDetail.rows() - 1,
                                                       kByBarcode, true, qty);
            }
            form->services().totals->ComputeGrandTotal();
            for (int row : doc.flexDetail.filledRows())
                lines << doc.flexDetail.line(row);
            totals = doc.totals;
        } else {
            doc.flexDetail.setLines(lines);
            doc.totals = totals;
        }
        return doc.flexDetail.filledCount() == count;
    }

    // Times final saves of `count` lines paid as `paidBy`; each must be stored and posted (a
    // document or a cash-turn booking in the account label).
    void timeFinalSaves(benchmark::State& state, int count, int paidBy = 1) {
        Session& s = ctx.db();
        qint64 statements = 0;
        for (auto _ : state) {
            state.PauseTiming();
            if (!enterInvoice(count, paidBy)) return state.SkipWithError("not enough goods");
            messages.clear();
            const qint64 before = s.statementCount();
            state.ResumeTiming();
            const bool saved = save->SaveInvoice(true);
            state.PauseTiming();
            statements = s.statementCount() - before;
            if (!saved || form->doc().lblAccountIDVal.isEmpty())
                return state.SkipWithError(
                    qPrintable(QStringLiteral("not saved and posted: ") +
                               messages.texts().join(QStringLiteral(" / "))));
            state.ResumeTiming();
        }
        state.counters["lines"] = count;
        state.counters["statements"] = static_cast<double>(statements);
    }

    ProcedureRegistry procedures;
    ComponentRegistry components;
    test::MessageScript messages;
    Context ctx{&components, &procedures};
    std::unique_ptr<FormMainLogic> form;
    std::unique_ptr<InvoiceModule> module;
    SaveLogic* save = nullptr;
    int type = 0;
    int customer = 0;
    QVector<InvoiceLine> lines;
    InvoiceTotals totals;
};

}  // namespace si::bench
