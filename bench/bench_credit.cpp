// The save's customer credit check, statistics procedure included, and the header's credit
// look-up, for a customer with 10,000 earlier invoices on a demo company: every invoice posted
// to the customer's account, most of them settled by assigned receipts, with returns, orders
// and repayments beside them.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <cstdio>
#include <map>
#include <memory>

#include "BenchSupport.h"
#include "common/Jalali.h"
#include "erpdb/Procedures.h"
#include "invoice/CreditLogic.h"
#include "invoice/FormMainLogic.h"
#include "support/CreditFixtures.h"
#include "support/ScriptedMessages.h"

namespace {

using si::test::Backend;
constexpr int kGoods = 2000;
constexpr int kInvoices = 10000;
constexpr qint64 kPlenty = 1'000'000'000'000;

QVariant rials(qint64 value) {
    return QVariant::fromValue(si::Money::fromRials(value));
}

// A checked customer of its own degree, whose constraint sets every threshold high enough to
// pass, so that every check runs to its end.
int addCustomer(si::Session& s) {
    const QDate today = s.today();
    const int degree = si::test::AddCustomerDegree(s, QStringLiteral("درجه سنجش"));
    const int customer = si::test::AddCheckedCustomer(s, QStringLiteral("فروشگاه سنجش"), degree);
    const int constraint = si::test::AddCreditConstraint(s, si::getFarsiDate(today.addDays(-30)),
                                                         si::getFarsiDate(today.addDays(30)));
    const int detail = si::test::AddConstraintDetail(s, constraint, degree);
    s.exec(QStringLiteral("update tblOrganizationCreditConstraintDetail set "
                          "MaxReturnedChequeQty = 100, MaxReturnedChequeValue = ?, "
                          "MaxSaleInvoicePerDayValue = ?, MaxSaleInvoicePerDayQty = 1000, "
                          "MaxSaleReturnValue = ?, MaxSaleReturnQty = 100000, "
                          "MaxReturnedChequeAge = 1000, MaxNotPaidDocumentQty = 100000, "
                          "MaxNotPaidDocumentValue = ?, MaxDebitAge = 100000, "
                          "MaxNotApprovedInvoiceQty = 100000, MaxFreeDebitValue = 0 where ID = ?"),
           {rials(kPlenty), rials(kPlenty), rials(kPlenty), rials(kPlenty), detail});
    s.exec(QStringLiteral("insert into tblDistributionOrganization (OrganizationID, EnableCredit, "
                          "Credit, EnableDocumentCredit, DocumentCredit, EnableExtraCredit, "
                          "ExtraCredit) values (?, 1, ?, 1, ?, 1, 1000000)"),
           {customer, rials(kPlenty), rials(kPlenty)});
    return customer;
}

// The customer's history: one posting per invoice, receipts settling three in four, a return
// every twentieth, an order every tenth, a repayment every fifth and credit used on every other.
void addHistory(si::Session& s, int customer, int cashBox) {
    const int account = si::test::AddCustomerAccount(s, customer);
    const QDate today = s.today();
    si::Transaction t = s.transaction();
    for (int i = 0; i < kInvoices; ++i) {
        const QDate date = today.addDays(-(i % 700));
        const qint64 total = 100000 + (i % 97) * 1000;
        const int order = i % 10 == 0 ? si::test::AddSaleOrder(s, customer) : -1;
        if (order > 0) si::test::AddSaleOrderLine(s, order, 2, total / 2.0);
        const int invoice = si::test::AddFinalInvoice(s, {customer, date, total, -1, order});
        if (i % 2 == 0)
            s.exec(QStringLiteral("update tblSaleInvoice set RemCredit = ?, UsedCredit = ?, "
                                  "CreditDays = 30 where ID = ?"),
                   {rials(5000000), rials(total), invoice});
        si::test::PostToAccount(s, account, total, 0, date);
        if (i % 4 != 0) si::test::AssignReceipt(s, invoice, total, i % 2 == 0);
        if (i % 20 == 0) si::test::AddSaleReturn(s, customer, invoice, date, total / 10);
        if (i % 5 == 0)
            si::test::AddCashMovement(s, cashBox, account, date.startOfDay().addSecs(36000), total,
                                      0);
    }
    t.commit();
    s.exec(QStringLiteral("ANALYZE"));
}

struct Bench {
    explicit Bench(const Backend& backend) {
        si::erpdb::RegisterProcedures(procedures);
        messages.install(components);
        ctx.globals.CurrentConnectionString = si::bench::demoConnection(backend, kGoods);
        ctx.globals.CurrentUserID = si::erpdb::kDemoCashierUserId;  // without right 90111
        si::OpenSession(ctx);
        si::Session& s = ctx.db();
        customer = addCustomer(s);
        const int cashBox = si::test::AddCashBox(s, QStringLiteral("صندوق سنجش"));
        addHistory(s, customer, cashBox);
        for (const auto& [id, value] :
             {std::pair{93, QString::number(2)}, std::pair{5, QString::number(cashBox)}}) {
            s.exec(QStringLiteral("delete from tblZelorSystemParameters where ID = ?"), {id});
            s.exec(QStringLiteral("insert into tblZelorSystemParameters (ID, SystemID, Value) "
                                  "values (?, 9, ?)"),
                   {id, value});
        }
        si::LoadSystemParameters(ctx);
        form = std::make_unique<si::FormMainLogic>(ctx);
        form->doc().sltPaidByCash.setID(2);  // a credit sale: the shop mode lets no check off
    }
    si::CreditLogic& credit() { return *form->services().credit; }

    si::ProcedureRegistry procedures;
    si::ComponentRegistry components;
    si::test::MessageScript messages;
    si::Context ctx{&components, &procedures};
    std::unique_ptr<si::FormMainLogic> form;
    int customer = -1;
};

std::map<QString, std::unique_ptr<Bench>>& benches() {
    static std::map<QString, std::unique_ptr<Bench>> all;
    return all;
}

Bench& benchOf(const Backend& backend) {
    auto& b = benches()[backend.name];
    if (!b) b = std::make_unique<Bench>(backend);
    return *b;
}

void BM_CheckCustomerCreditConstraints(benchmark::State& state, const Backend& backend) {
    Bench& b = benchOf(backend);
    for (auto _ : state) {
        int organization = -1;
        const bool passed = b.credit().CheckCustomerCreditConstraints(
            organization, -1, -1, b.customer, false, false, false, si::Money::fromRials(1000));
        if (!passed || !b.messages.empty())
            return state.SkipWithError("the check refused or asked; every check must pass");
    }
    state.counters["invoices"] = kInvoices;
}

void BM_LoadCustomerCreditUsage(benchmark::State& state, const Backend& backend) {
    Bench& b = benchOf(backend);
    b.form->doc().datCreateDate = b.ctx.db().today();
    for (auto _ : state) {
        b.credit().LoadCustomerCreditUsage(b.customer);
        benchmark::DoNotOptimize(b.form->doc().txtRemCredit);
    }
    if (b.form->doc().txtRemCredit.isEmpty()) state.SkipWithError("no credit was computed");
}

void registerBenchmarks() {
    si::bench::RegisterPerBackend("BM_CheckCustomerCreditConstraints",
                                  BM_CheckCustomerCreditConstraints);
    si::bench::RegisterPerBackend("BM_LoadCustomerCreditUsage", BM_LoadCustomerCreditUsage);
}

}  // namespace

int main(int argc, char** argv) {
    return si::bench::RunBenchmarks(argc, argv, registerBenchmarks, [] { benches().clear(); });
}
