// A shop's cash turn: the contents of a turn of 5,000 invoices and 200 returns as the contents
// form reads them, and a final cash sale of 20 lines booked into the turn beside a credit sale
// of the same lines posting its document, in the same run.

#include <benchmark/benchmark.h>

#include <memory>

#include "BenchSupport.h"
#include "assembly/InvoiceModule.h"
#include "common/Jalali.h"
#include "common/SystemParameters.h"
#include "erpdb/Procedures.h"
#include "invoice/FormMainLogic.h"
#include "invoice/LinesLogic.h"
#include "invoice/TotalsLogic.h"
#include "posting/CashTurnBooking.h"
#include "suite/CashTurnManager.h"
#include "suite/Components.h"
#include "support/InvoiceFixtures.h"
#include "support/ScriptedMessages.h"

namespace {

using si::test::Backend;
constexpr int kGoods = 2000;
constexpr int kShopGoods = 2001;  // a company of its own: the shop's parameters change it
constexpr int kTurnInvoices = 5000;
constexpr int kTurnReturns = 200;
constexpr int kLines = 20;

QVariant rials(qint64 r) {
    return QVariant::fromValue(si::Money::fromRials(r));
}

// A turn holding kTurnInvoices final invoices and kTurnReturns returns; its box and number.
std::pair<int, int> fillBusyTurn(si::Session& s) {
    const int user = si::erpdb::kDemoAdminUserId;
    const int box = static_cast<int>(s.insertReturningId(
        QStringLiteral("insert into tblRecPayCash (Name) values ('صندوق شلوغ') RETURNING ID")));
    s.exec(QStringLiteral("insert into tblRecPayCashUser (CashID, UserID) values (?, ?)"),
           {box, user});
    const si::suite::OpenedTurn turn = si::suite::CashTurnManager(s, user).OpenTurn(box);
    si::Transaction t = s.writerTransaction();
    const QDate today = s.today();
    const int code =
        s.scalar(QStringLiteral("select coalesce(max(Code), 0) from tblSaleInvoice")).toInt();
    for (int i = 1; i <= kTurnInvoices; ++i) {
        const qint64 id = s.insertReturningId(
            QStringLiteral("insert into tblSaleInvoice (Code, CreateDate, FarsiCreateDate, "
                           "CustomerID, InventoryID, DiscountValue, PureTotalValue, TotalValue) "
                           "values (?, ?, ?, 1, 1, ?, ?, ?) RETURNING ID"),
            {code + i, today, si::getFarsiDate(today), rials(i % 7 * 100), rials(10000 + i),
             rials(10000 + i)});
        s.exec(QStringLiteral("insert into tblRecPayCashTurnDetail (CashTurnID, Code, FormID, "
                              "FormTypeID, ReceivedValue, PayedValue) values (?, ?, ?, 901, ?, "
                              "0)"),
               {turn.id, code + i, id, rials(10000 + i)});
    }
    for (int i = 1; i <= kTurnReturns; ++i) {
        const qint64 id = s.insertReturningId(
            QStringLiteral("insert into tblSaleReturn (Code, PureTotalValue) values (?, ?) "
                           "RETURNING ID"),
            {i, rials(5000)});
        s.exec(QStringLiteral("insert into tblRecPayCashTurnDetail (CashTurnID, FormID, "
                              "FormTypeID, ReceivedValue, PayedValue) values (?, ?, 903, 0, ?)"),
               {turn.id, id, rials(5000)});
    }
    t.commit();
    s.exec(QStringLiteral("ANALYZE"));
    return {box, turn.turn};
}

void BM_TurnContents5000Invoices(benchmark::State& state, const Backend& backend) {
    auto s = si::Session::open(si::bench::demoConnection(backend, kGoods));
    const auto [box, turn] = fillBusyTurn(*s);
    for (auto _ : state) {
        const auto contents = si::ReadCashTurnContents(*s, si::erpdb::kDemoAdminUserId, box, turn);
        if (!contents || contents->invoices != kTurnInvoices)
            return state.SkipWithError("the turn's invoices were not all counted");
        benchmark::DoNotOptimize(contents->remainingValue());
    }
    state.counters["invoices"] = kTurnInvoices;
}

// A shop's form with an open turn of the administrator and kLines goods with stock.
struct ShopSale {
    explicit ShopSale(const Backend& backend) {
        si::erpdb::RegisterProcedures(procedures);
        si::suite::RegisterComponents(components);
        messages.install(components);
        messages.alwaysAnswer(true);
        ctx.globals.CurrentConnectionString = si::bench::demoConnection(backend, kShopGoods);
        ctx.globals.CurrentUserID = si::erpdb::kDemoAdminUserId;
        openShop();
        form = std::make_unique<si::FormMainLogic>(ctx);
        module = si::InstallModule(*form);
        form->ClearShow();
    }
    void openShop() {
        auto s = si::Session::open(ctx.globals.CurrentConnectionString);
        s->exec(QStringLiteral("update tblZelorSystemParameters set Value = '1' where ID = 3"));
        if (!s->first(QStringLiteral("select ID from tblRecPayCashTurn where UserID = ? and "
                                     "IsOpen = 1"),
                      {ctx.globals.CurrentUserID}))
            si::suite::CashTurnManager(*s, ctx.globals.CurrentUserID).OpenTurn(1);
    }
    int firstId(const char* sql) { return ctx.db().scalar(QString::fromLatin1(sql)).toInt(); }
    bool enterInvoice(int paidBy) {
        form->cmdNew_Click();
        si::InvoiceDocument& doc = form->doc();
        doc.sltType.setID(type, true);
        doc.sltCustomer.setID(customer, true);
        doc.sltInventory.setID(si::erpdb::kDemoMainInventoryId, true);
        doc.sltPaidByCash.setID(paidBy, true);
        if (lines.isEmpty()) {
            const si::RowSet rows = ctx.db().query(
                QStringLiteral(
                    "select d.Barcode from tblInventoryReceiptDetail d inner join "
                    "tblInventoryReceipt r on r.ID = d.ReceiptID where r.InventoryID = ? and not "
                    "exists (select 1 from tblInventoryGoodInfo i where i.Barcode = d.Barcode and "
                    "i.InventoryID = r.InventoryID and coalesce(i.NotForSale, 0) = 1) group by "
                    "d.Barcode having sum(d.Qty) >= 40 order by d.Barcode limit ?"),
                {si::erpdb::kDemoMainInventoryId, kLines * 3});
            for (const si::Row& r : rows) {
                if (doc.flexDetail.filledCount() == kLines) break;
                si::test::Receive(ctx.db(), si::erpdb::kDemoMainInventoryId, r.text(u"Barcode"),
                                  100000, QDate(2000, 1, 1));
                double qty = 1;
                form->services().lines->FillFlexOneRow(
                    r.text(u"Barcode"), doc.flexDetail.rows() - 1, si::kByBarcode, true, qty);
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
    int type = 0;
    int customer = 0;
    QVector<si::InvoiceLine> lines;
    si::InvoiceTotals totals;
};

// paidBy 1: cash, booked into the turn; 2: credit, posting its document.
void runShopSale(benchmark::State& state, const Backend& backend, int paidBy) {
    ShopSale b(backend);
    b.type = b.firstId(
        "select min(ID) from tblSaleInvoiceType where coalesce(GenerateSaleAssignment, 0) = 0 "
        "and CreditAccountID is not null");
    b.customer = b.firstId(
        "select min(RelatedObjectID) from tblAccountRelatedObjects where RelatedClassID = 7");
    si::Session& s = b.ctx.db();
    qint64 statements = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (!b.enterInvoice(paidBy)) return state.SkipWithError("not enough goods");
        b.messages.clear();
        const qint64 before = s.statementCount();
        state.ResumeTiming();
        const bool saved = b.module->save().SaveInvoice(true);
        state.PauseTiming();
        statements = s.statementCount() - before;
        if (!saved || b.form->doc().lblAccountIDVal.isEmpty())
            return state.SkipWithError(qPrintable(QStringLiteral("not saved and posted: ") +
                                                  b.messages.texts().join(QStringLiteral(" / "))));
        state.ResumeTiming();
    }
    state.counters["lines"] = kLines;
    state.counters["statements"] = static_cast<double>(statements);
}

void BM_ShopCashSale20Lines(benchmark::State& state, const Backend& backend) {
    runShopSale(state, backend, 1);
}
void BM_ShopCreditSale20Lines(benchmark::State& state, const Backend& backend) {
    runShopSale(state, backend, 2);
}

void registerBenchmarks() {
    si::bench::RegisterPerBackend("BM_TurnContents5000Invoices", BM_TurnContents5000Invoices, 5,
                                  50);
    si::bench::RegisterPerBackend("BM_ShopCashSale20Lines", BM_ShopCashSale20Lines, 3, 30);
    si::bench::RegisterPerBackend("BM_ShopCreditSale20Lines", BM_ShopCreditSale20Lines, 3, 30);
}

}  // namespace

int main(int argc, char** argv) {
    return si::bench::RunBenchmarks(argc, argv, registerBenchmarks);
}
