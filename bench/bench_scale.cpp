// Reading a portable scanner's file into a new invoice on the 100,000-goods demo: 1,000 distinct
// goods with stock, an employee's card, a customer's card and a few lines that are neither,
// every goods line priced, discounted and totalled as if typed.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <memory>

#include "BenchSupport.h"
#include "erpdb/Procedures.h"
#include "invoice/FormMainLogic.h"
#include "invoice/ScaleInput.h"
#include "support/ScriptedMessages.h"

namespace {

using si::test::Backend;
constexpr int kGoods = 100000;
constexpr int kLines = 1000;

struct Bench {
    explicit Bench(const Backend& backend) {
        si::erpdb::RegisterProcedures(procedures);
        messages.install(components);
        ctx.globals.CurrentConnectionString = si::bench::demoConnection(backend, kGoods);
        ctx.globals.CurrentUserID = si::erpdb::kDemoAdminUserId;
        form = std::make_unique<si::FormMainLogic>(ctx);
    }

    QStringList goodsWithStock(int count) {
        QStringList list;
        const si::RowSet rows = ctx.db().query(
            QStringLiteral(
                "select distinct d.Barcode from tblInventoryReceiptDetail d inner join "
                "tblInventoryReceipt r on r.ID = d.ReceiptID where r.InventoryID = ? and not "
                "exists (select 1 from tblInventoryGoodInfo i where i.Barcode = d.Barcode and "
                "i.InventoryID = r.InventoryID and coalesce(i.NotForSale, 0) = 1) and not exists "
                "(select 1 from tblGoodAttachedGoods a inner join tblGood g on g.ID in "
                "(a.GoodID, a.AttachedGoodID) where g.Barcode = d.Barcode) "
                "order by d.Barcode limit ?"),
            {si::erpdb::kDemoMainInventoryId, count});
        for (const si::Row& r : rows)
            list << r.text(u"Barcode");
        return list;
    }

    // The goods a new invoice accepts (some received goods have been sold out since).
    QStringList saleableGoods(int count) {
        startInvoice();
        form->services().scale->ReadBeepLines(goodsWithStock(count + count / 5));
        QStringList list;
        const si::LineTableModel& grid = form->doc().flexDetail;
        for (int r : grid.filledRows())
            if (list.size() < count) list << grid.line(r).BarCode;
        return list;
    }

    void startInvoice() {
        form->ClearShow();
        form->cmdNew_Click();
        form->doc().sltInventory.setID(si::erpdb::kDemoMainInventoryId, true);
        messages.clear();
    }

    // A cashier's file: the customer's and the promoter's cards first, the goods, a few stray
    // reads and one goods item scanned twice.
    QStringList scannerFile() {
        si::Session& s = ctx.db();
        QStringList file;
        const QVariant tag = s.scalar(QStringLiteral(
            "select Tag from tblEmployee where Tag is not null order by ID limit 1"));
        if (const auto customer = s.first(
                QStringLiteral("select ID, FarsiCardPrintDate from tblOrganization where "
                               "FarsiCardPrintDate is not null and ID < 1000000 order by ID "
                               "limit 1")))
            file << QString(customer->text(u"FarsiCardPrintDate")).remove(u'/').right(6) +
                        QStringLiteral("%1").arg(customer->toInt(u"ID"), 6, 10, QLatin1Char('0'));
        if (!tag.isNull()) file << tag.toString();
        const QStringList goods = saleableGoods(kLines);
        for (int i = 0; i < goods.size(); ++i) {
            file << goods[i];
            if (i % 250 == 0) file << QStringLiteral("ERR-READ-%1").arg(i) << QString();
        }
        if (!goods.isEmpty()) file << goods.first();
        return file;
    }

    si::ProcedureRegistry procedures;
    si::ComponentRegistry components;
    si::test::MessageScript messages;
    si::Context ctx{&components, &procedures};
    std::unique_ptr<si::FormMainLogic> form;
};

void BM_ReadScannerFileIntoNewInvoice(benchmark::State& state, const Backend& backend) {
    Bench b(backend);
    b.form->ClearShow();
    const QStringList file = b.scannerFile();
    si::InvoiceDocument& doc = b.form->doc();
    int added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        b.startInvoice();
        state.ResumeTiming();
        added = b.form->services().scale->ReadBeepLines(file);
        benchmark::DoNotOptimize(doc.totals.GrandTotal);
    }
    if (added != kLines) {
        const QString why = QStringLiteral("%1 of %2 goods lines added; editable grid: %3; %4")
                                .arg(added)
                                .arg(kLines)
                                .arg(doc.flexDetail.isEditable())
                                .arg(b.messages.texts().mid(0, 3).join(u'|'));
        return state.SkipWithError(why.toStdString().c_str());
    }
    state.counters["lines"] = added;
    state.counters["messages"] = static_cast<double>(b.messages.shown().size());
}

void registerBenchmarks() {
    si::bench::RegisterPerBackend("BM_ReadScannerFileIntoNewInvoice",
                                  BM_ReadScannerFileIntoNewInvoice, 3, 1);
}

}  // namespace

int main(int argc, char** argv) {
    return si::bench::RunBenchmarks(argc, argv, registerBenchmarks);
}
