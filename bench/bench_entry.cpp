// Entering goods into a large invoice on the 100,000-goods demo: resolving one more barcode into
// a priced line and refreshing the totals of an invoice that already has 1,000 lines, and
// loading a stored 1,000-line invoice into the form.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <memory>

#include "BenchSupport.h"
#include "common/Jalali.h"
#include "erpdb/Procedures.h"
#include "invoice/FormMainLogic.h"
#include "invoice/GoodsPicker.h"
#include "invoice/LinesLogic.h"
#include "invoice/TotalsLogic.h"
#include "support/ScriptedMessages.h"

namespace {

using si::test::Backend;
constexpr int kGoods = 100000;
constexpr int kLines = 1000;

// A form on the demo database as the administrator would open it.
struct Bench {
    explicit Bench(const Backend& backend) {
        si::erpdb::RegisterProcedures(procedures);
        messages.install(components);
        ctx.globals.CurrentConnectionString = si::bench::demoConnection(backend, kGoods);
        ctx.globals.CurrentUserID = si::erpdb::kDemoAdminUserId;
        form = std::make_unique<si::FormMainLogic>(ctx);
    }
    QStringList barcodesWithStock(int count) {
        QStringList list;
        const si::RowSet rows = ctx.db().query(
            QStringLiteral("select distinct d.Barcode from tblInventoryReceiptDetail d inner join "
                           "tblInventoryReceipt r "
                           "on r.ID = d.ReceiptID where r.InventoryID = ? and not exists (select 1 "
                           "from tblInventoryGoodInfo i where "
                           "i.Barcode = d.Barcode and i.InventoryID = r.InventoryID and "
                           "coalesce(i.NotForSale, 0) = 1) "
                           "and not exists (select 1 from tblGoodAttachedGoods a inner join "
                           "tblGood g on g.ID in "
                           "(a.GoodID, a.AttachedGoodID) where g.Barcode = d.Barcode) "
                           "order by d.Barcode limit ?"),
            {si::erpdb::kDemoMainInventoryId, count});
        for (const si::Row& r : rows)
            list << r.text(u"Barcode");
        return list;
    }
    si::ProcedureRegistry procedures;
    si::ComponentRegistry components;
    si::test::MessageScript messages;
    si::Context ctx{&components, &procedures};
    std::unique_ptr<si::FormMainLogic> form;
};

void BM_ResolveBarcodeIntoLargeInvoice(benchmark::State& state, const Backend& backend) {
    Bench b(backend);
    b.form->ClearShow();
    b.form->cmdNew_Click();
    si::InvoiceDocument& doc = b.form->doc();
    doc.sltInventory.setID(si::erpdb::kDemoMainInventoryId, true);
    const QStringList candidates = b.barcodesWithStock(kLines + 200);
    si::LinesLogic& lines = *b.form->services().lines;
    auto resolve = [&](const QString& barcode) {
        double qty = 1;
        return lines.FillFlexOneRow(barcode, doc.flexDetail.rows() - 1, si::kByBarcode, true, qty);
    };
    int next = 0;
    while (doc.flexDetail.filledCount() < kLines && next < candidates.size())
        resolve(candidates[next++]);
    QString measured;
    while (measured.isEmpty() && next < candidates.size()) {
        const QString barcode = candidates[next++];
        if (!resolve(barcode)) continue;
        measured = barcode;
        doc.flexDetail.DeleteLine(doc.flexDetail.rows() - 2);
    }
    if (doc.flexDetail.filledCount() != kLines || measured.isEmpty())
        return state.SkipWithError("not enough goods with stock to sell");
    for (auto _ : state) {
        const int row = doc.flexDetail.rows() - 1;
        resolve(measured);
        benchmark::DoNotOptimize(doc.totals.GrandTotal);
        state.PauseTiming();
        doc.flexDetail.DeleteLine(row);
        b.form->services().totals->ComputeGrandTotal();
        state.ResumeTiming();
    }
    state.counters["lines"] = doc.flexDetail.filledCount();
}

int storeLargeInvoice(Bench& b) {
    si::Session& s = b.ctx.db();
    const QDate today = s.today();
    const qint64 id =
        s.insertReturningId(QStringLiteral("insert into tblSaleInvoice (CreateDate, "
                                           "FarsiCreateDate, CustomerID, InventoryID, TypeID, "
                                           "PricingMethodID, IsPaidByCash, IsFormal) values (?, ?, "
                                           "(select min(ID) from tblOrganization), ?, "
                                           "(select min(ID) from tblSaleInvoiceType), (select "
                                           "min(ID) from tblSalePricingMethod), 1, 1) "
                                           "RETURNING ID"),
                            {today, si::getFarsiDate(today), si::erpdb::kDemoMainInventoryId});
    const QStringList barcodes = b.barcodesWithStock(kLines);
    si::Transaction t = s.transaction();
    int row = 0;
    for (const QString& barcode : barcodes)
        s.exec(QStringLiteral(
                   "insert into tblSaleInvoiceDetail (InvoiceID, rowNumber, Barcode, Description, "
                   "ScaleID, "
                   "Qty, RetailPrice, DiscountTypeID, DiscountPercent, DiscountValue) select ?, ?, "
                   "g.Barcode, '', "
                   "g.SaleScaleID, 1, g.RetailPrice, 1, 0, 0 from tblGood g where g.Barcode = ?"),
               {id, ++row, barcode});
    t.commit();
    return static_cast<int>(id);
}

void BM_LoadStoredLargeInvoice(benchmark::State& state, const Backend& backend) {
    Bench b(backend);
    b.form->ClearShow();
    const int id = storeLargeInvoice(b);
    for (auto _ : state) {
        b.form->ShowInvoiceByID(id);
        benchmark::DoNotOptimize(b.form->doc().totals.TotalPrice);
    }
    state.counters["lines"] = b.form->doc().flexDetail.filledCount();
}

// The goods picker on 100,000 goods: a name typed with the Persian keyboard against names stored
// with Arabic letters (a prefix through the folded index, and a contains read), and a code.
void BM_GoodsPickerSearch(benchmark::State& state, const Backend& backend, const QString& typed) {
    Bench b(backend);
    b.form->ClearShow();
    b.form->doc().sltInventory.setID(si::erpdb::kDemoMainInventoryId, true);
    si::GoodsPicker picker(b.form->services());
    int found = 0;
    for (auto _ : state)
        found = static_cast<int>(picker.search(typed).size());
    state.counters["rows"] = found;
}

void registerBenchmarks() {
    for (const auto& [name, typed] :
         {std::pair{"BM_GoodsPickerSearch/name", QStringLiteral("برنج هاشمی")},
          std::pair{"BM_GoodsPickerSearch/contains", QStringLiteral("کیلوگرمی")},
          std::pair{"BM_GoodsPickerSearch/code", QStringLiteral("۱۰۰۰۱۲")}})
        si::bench::RegisterPerBackend(name, [typed](benchmark::State& st, const Backend& be) {
            BM_GoodsPickerSearch(st, be, typed);
        });
    si::bench::RegisterPerBackend("BM_ResolveBarcodeIntoLargeInvoice",
                                  BM_ResolveBarcodeIntoLargeInvoice);
    si::bench::RegisterPerBackend("BM_LoadStoredLargeInvoice", BM_LoadStoredLargeInvoice);
}

}  // namespace

int main(int argc, char** argv) {
    return si::bench::RunBenchmarks(argc, argv, registerBenchmarks);
}
