// A shop's cash turn: the contents of a turn of 5,000 invoices and 200 returns as the contents
// form reads them, and a final cash sale of 20 lines booked into the turn beside a credit sale
// of the same lines posting its document, in the same run.

#include <benchmark/benchmark.h>

#include <memory>

#include "SaleBench.h"
#include "common/Jalali.h"
#include "posting/CashTurnBooking.h"
#include "suite/CashTurnManager.h"

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

// The shop's parameter on and an open turn of the administrator.
void openShop(si::Session& s) {
    s.exec(QStringLiteral("update tblZelorSystemParameters set Value = '1' where ID = 3"));
    if (!s.first(QStringLiteral("select ID from tblRecPayCashTurn where UserID = ? and IsOpen = 1"),
                 {si::erpdb::kDemoAdminUserId}))
        si::suite::CashTurnManager(s, si::erpdb::kDemoAdminUserId).OpenTurn(1);
}

// Paid in cash the sale is booked into the turn; on credit it posts its document.
void BM_ShopCashSale20Lines(benchmark::State& state, const Backend& backend) {
    si::bench::SaleBench(backend, kShopGoods, openShop).timeFinalSaves(state, kLines, 1);
}
void BM_ShopCreditSale20Lines(benchmark::State& state, const Backend& backend) {
    si::bench::SaleBench(backend, kShopGoods, openShop).timeFinalSaves(state, kLines, 2);
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
