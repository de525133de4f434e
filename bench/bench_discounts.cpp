// The promotion pass over a 500-line invoice on the demo company with 200 promotions valid today
// (the demo's own and more of every kind: percents on groups and on chosen goods with exceptions,
// free goods per quantity, the cheapest of a group above a value), for a customer with a card, so
// that the card and birthday parts are put back on every line too.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QRandomGenerator>
#include <memory>

#include "BenchSupport.h"
#include "common/Jalali.h"
#include "erpdb/Procedures.h"
#include "invoice/DiscountLogic.h"
#include "invoice/FormMainLogic.h"
#include "invoice/TotalsLogic.h"
#include "support/ScriptedMessages.h"

namespace {

using si::test::Backend;
constexpr int kGoods = 10000;
constexpr int kLines = 500;
constexpr int kPromotions = 200;

struct Bench {
    explicit Bench(const Backend& backend) {
        si::erpdb::RegisterProcedures(procedures);
        messages.install(components);
        ctx.globals.CurrentConnectionString = si::bench::demoConnection(backend, kGoods);
        ctx.globals.CurrentUserID = si::erpdb::kDemoAdminUserId;
        form = std::make_unique<si::FormMainLogic>(ctx);
    }
    si::Session& db() { return ctx.db(); }
    si::ProcedureRegistry procedures;
    si::ComponentRegistry components;
    si::test::MessageScript messages;
    si::Context ctx{&components, &procedures};
    std::unique_ptr<si::FormMainLogic> form;
};

QStringList column(si::Session& s, const QString& sql, const char16_t* name) {
    QStringList values;
    for (const si::Row& r : s.query(sql))
        values << r.text(name);
    return values;
}

// Promotions of every kind until kPromotions are valid today (the same ones on every run).
void addPromotions(si::Session& s) {
    const QDate today = s.today();
    const QString begin = si::getFarsiDate(today.addDays(-10));
    const QString end = si::getFarsiDate(today.addDays(30));
    const QString count = QStringLiteral(
        "select count(*) from tblSalePromotionDetail d inner join tblSalePromotion p on "
        "p.ID=d.PromotionID where p.FarsiBeginDate<=? and p.FarsiEndDate>=?");
    const int valid = s.scalar(count, {si::getFarsiDate(today), si::getFarsiDate(today)}).toInt();
    const QStringList goods =
        column(s, QStringLiteral("select Barcode from tblGood order by ID"), u"Barcode");
    const QStringList groups =
        column(s, QStringLiteral("select ID from tblGoodGroup order by ID"), u"ID");
    QRandomGenerator random(1405);
    const auto anyGood = [&] { return goods[random.bounded(static_cast<int>(goods.size()))]; };
    const auto anyGroup = [&] { return groups[random.bounded(static_cast<int>(groups.size()))]; };
    si::Transaction t = s.transaction();
    for (int i = valid; i < kPromotions; ++i) {
        const qint64 id = s.insertReturningId(
            QStringLiteral("insert into tblSalePromotion (Name, FarsiBeginDate, FarsiEndDate, "
                           "IsActive) values (?,?,?,1) RETURNING ID"),
            {QStringLiteral("پروموشن ") + QString::number(i), begin, end});
        const int kind = i % 4;
        s.exec(QStringLiteral(
                   "insert into tblSalePromotionDetail (PromotionID, Sequence, PriorityNo, Notes, "
                   "DiscountPercent, DiscountQty, Qty, ValueFrom, PositiveRowCountMin, "
                   "isDiscountCheapestOne, IsDiscountGoodSelf, IsDiscountOtherGoods, "
                   "DiscountScaleID, ScaleID) values (?, 1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, NULL, "
                   "NULL)"),
               {id, i % 7, QStringLiteral("شرح ") + QString::number(i),
                kind == 2 ? QVariant() : QVariant(5 + i % 20), kind == 2 ? QVariant(1) : QVariant(),
                kind == 2 ? QVariant(2) : QVariant(), kind == 3 ? QVariant(1000) : QVariant(),
                kind == 3 ? 2 : 0, kind == 3 ? 1 : 0, kind == 2 ? 0 : 1, kind == 2 ? 1 : 0});
        const auto good = [&](const QString& barcode, bool positive) {
            s.exec(QStringLiteral("insert into tblSalePromotionDetailGood (PromotionID, Sequence, "
                                  "Barcode, isPositive) values (?, 1, ?, ?)"),
                   {id, barcode, positive ? 1 : 0});
        };
        if (kind == 0 || kind == 3) {
            s.exec(QStringLiteral("insert into tblSalePromotionDetailGoodGroup (PromotionID, "
                                  "Sequence, GoodGroupID, isPositive) values (?, 1, ?, 1)"),
                   {id, anyGroup().toInt()});
            good(anyGood(), false);
        } else {
            for (int k = 0; k < 10; ++k)
                good(anyGood(), true);
        }
        if (kind == 2)
            s.exec(QStringLiteral("insert into tblSalePromotionDetailEchantillonGood "
                                  "(PromotionID, Sequence, Barcode) values (?, 1, ?)"),
                   {id, anyGood()});
    }
    t.commit();
}

// 500 goods lines of 1 to 3 units each, for a customer with a card.
void fillInvoice(Bench& b) {
    si::InvoiceDocument& doc = b.form->doc();
    doc.sltInventory.setID(si::erpdb::kDemoMainInventoryId, true);
    if (auto card = b.db().first(QStringLiteral("select OrganizationID, CardTypeID from "
                                                "vwCRMOrganizationFinalCard order by "
                                                "OrganizationID limit 1"))) {
        doc.sltCustomer.setIDQuietly(card->toInt(u"OrganizationID"), QStringLiteral("مشتري"));
        doc.sltCRMCardType.setIDQuietly(card->toInt(u"CardTypeID"), QStringLiteral("کارت"));
    }
    int i = 0;
    for (const si::Row& r :
         b.db().query(QStringLiteral("select Barcode, Name, GoodGroupID, RetailPrice, "
                                     "SaleScaleID from tblGood order by ID limit ?"),
                      {kLines})) {
        si::InvoiceLine l;
        l.BarCode = r.text(u"Barcode");
        l.GoodName = r.text(u"Name");
        l.GoodGroupID = r.toInt(u"GoodGroupID", -1);
        l.UnitPrice = r.money(u"RetailPrice");
        l.ScaleID = r.toInt(u"SaleScaleID", -1);
        l.Qty = 1 + i++ % 3;
        const int row = doc.flexDetail.appendLine(l);
        b.form->services().totals->RecomputeRowSum(row);
    }
    b.form->services().totals->ComputeGrandTotal();
}

void BM_PromotionPass(benchmark::State& state, const Backend& backend) {
    Bench b(backend);
    b.form->ClearShow();
    b.form->cmdNew_Click();
    addPromotions(b.db());
    fillInvoice(b);
    si::DiscountLogic& discounts = *b.form->services().discounts;
    const qint64 before = b.db().statementCount();
    discounts.RefreshEchantillon();
    const qint64 statements = b.db().statementCount() - before;
    for (auto _ : state) {
        discounts.RefreshEchantillon();
        benchmark::DoNotOptimize(b.form->doc().totals.GrandTotal);
    }
    int applied = 0;
    for (const si::Promotion& p : discounts.promotions())
        applied += p.applied ? 1 : 0;
    int promoted = 0;
    for (const si::InvoiceLine& l : b.form->doc().flexDetail.allRows())
        promoted += l.PromotionMark.isEmpty() ? 0 : 1;
    state.counters["lines"] = b.form->doc().flexDetail.filledCount();
    state.counters["promotions"] = static_cast<double>(discounts.promotions().size());
    state.counters["applied"] = applied;
    state.counters["promotedLines"] = promoted;
    state.counters["freeRows"] = b.form->doc().flexEch.filledCount();
    state.counters["statements"] = static_cast<double>(statements);
    state.counters["boxes"] = static_cast<double>(b.messages.shown().size());
    b.messages.clear();
}

void registerBenchmarks() {
    si::bench::RegisterPerBackend("BM_PromotionPass", BM_PromotionPass);
}

}  // namespace

int main(int argc, char** argv) {
    return si::bench::RunBenchmarks(argc, argv, registerBenchmarks);
}
