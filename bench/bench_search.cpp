// Finding invoices on a company of a million invoices: the first screen of rows of each filter
// of the search and of the common pairs, and the two lists of the list panel whole.
//
// The company is made on first use (SALEINVOICE_BENCH_INVOICES invoices, a million unless set);
// SALEINVOICE_BENCH_SEARCH_SQLITE or SALEINVOICE_BENCH_SEARCH_PG name a database already made
// (`saleinvoice db init --demo 20000 --invoices 1000000`) to measure again without making it.

#include <benchmark/benchmark.h>

#include <QDate>

#include "BenchSupport.h"
#include "erpdb/Procedures.h"
#include "search/InvoiceLists.h"
#include "search/InvoiceResultModel.h"
#include "search/SearchFilters.h"

namespace {

using si::SearchValues;
using si::test::Backend;

int benchInvoices() {
    const int n = qEnvironmentVariableIntValue("SALEINVOICE_BENCH_INVOICES");
    return n > 0 ? n : 1000000;
}

QString searchDatabase(const Backend& backend) {
    const QString given = qEnvironmentVariable(backend.dialect == si::Dialect::SQLite
                                                   ? "SALEINVOICE_BENCH_SEARCH_SQLITE"
                                                   : "SALEINVOICE_BENCH_SEARCH_PG");
    return given.isEmpty() ? si::bench::demoConnection(backend, 20000, benchInvoices()) : given;
}

struct Company {
    explicit Company(const Backend& backend) {
        si::erpdb::RegisterProcedures(procedures);
        ctx.globals.CurrentConnectionString = searchDatabase(backend);
        ctx.globals.CurrentUserID = si::erpdb::kDemoAdminUserId;
        si::OpenSession(ctx);
        si::LoadSystemParameters(ctx);
    }
    QVariant newest(const char* column) {
        return ctx.db().scalar(QStringLiteral("select ") + QLatin1String(column) +
                               QStringLiteral(" from tblSaleInvoice where ") +
                               QLatin1String(column) +
                               QStringLiteral(" is not null order by ID desc limit 1"));
    }
    QVariant any(const QString& sql) { return ctx.db().scalar(sql); }
    // The first word of three letters or more of a text.
    static QString word(const QString& text) {
        for (const QString& w : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            if (w.size() >= 3) return w;
        return QStringLiteral("abc");
    }
    QDate lastDay() { return si::toDateTime(newest("CreateDate")).date(); }

    si::ProcedureRegistry procedures;
    si::ComponentRegistry components;
    si::Context ctx{&components, &procedures};
};

std::map<QString, std::unique_ptr<Company>>& companies() {
    static std::map<QString, std::unique_ptr<Company>> all;
    return all;
}

Company& company(const Backend& backend) {
    auto& c = companies()[backend.name];
    if (!c) c = std::make_unique<Company>(backend);
    return *c;
}

using Values = std::function<SearchValues(Company&)>;

SearchValues one(const char* control, const QVariant& value) {
    return {{QString::fromLatin1(control), value}};
}

// Each case: a name and the filter values, found in the company itself.
const std::vector<std::pair<const char*, Values>>& cases() {
    static const std::vector<std::pair<const char*, Values>> all{
        {"none", [](Company&) { return SearchValues(); }},
        {"introduction-type",
         [](Company& c) { return one("sltIntroductionType", c.newest("IntroductionTypeID")); }},
        {"order-code", [](Company&) { return one("txtPrevAdditionalFormSpec", 17); }},
        {"line-description",
         [](Company&) { return one("txtDescription", QStringLiteral("كارتن")); }},
        {"id-range",
         [](Company& c) {
             const qint64 mid = c.newest("ID").toLongLong() / 2;
             return SearchValues{{"txtMinID", mid}, {"txtMaxID", mid + 1000}};
         }},
        {"code-range",
         [](Company& c) {
             const qint64 mid = c.newest("Code").toLongLong() / 2;
             return SearchValues{{"txtMinCode", mid}, {"txtMaxCode", mid + 1000}};
         }},
        {"distribution-range",
         [](Company&) {
             return SearchValues{{"txtMinDistID", 1}, {"txtMaxDistID", 50}};
         }},
        {"manual-code", [](Company&) { return one("txtMinMCode", QStringLiteral("123")); }},
        {"not-cash", [](Company&) { return one("chkNaghd", false); }},
        {"informal", [](Company&) { return one("chkFormal", false); }},
        {"barcode",
         [](Company& c) {
             return one("txtBarcode",
                        c.any(QStringLiteral("select Barcode from tblSaleInvoiceDetail order by ID "
                                             "desc limit 1 offset 5000")));
         }},
        {"goods-code",
         [](Company& c) {
             return one("txtISBN", c.any(QStringLiteral("select Code from tblGood order by ID "
                                                        "limit 1 offset 700")));
         }},
        {"goods-name",
         [](Company& c) {
             return one("txtTitle",
                        Company::word(c.any(QStringLiteral("select Name from tblGood order by "
                                                           "ID limit 1 offset 700"))
                                          .toString()));
         }},
        {"goods-name-three-words",
         [](Company& c) {
             const QStringList words = c.any(QStringLiteral("select Name from tblGood order by "
                                                            "ID limit 1 offset 700"))
                                           .toString()
                                           .split(QLatin1Char(' '));
             return one("txtTitle", QStringList(words.mid(0, 3)).join(QLatin1Char(' ')));
         }},
        {"creator", [](Company& c) { return one("sltCreator", c.newest("CreatorID")); }},
        {"type", [](Company& c) { return one("cmbSLSInvoiceType", c.newest("TypeID")); }},
        {"contract-with-sub",
         [](Company& c) {
             return SearchValues{
                 {"mptContract", c.any(QStringLiteral("select min(ID) from "
                                                      "tblAccountContractProject"))},
                 {"chkAllContract", true}};
         }},
        {"goods-group-with-sub",
         [](Company& c) {
             return SearchValues{
                 {"gmpProductGroup", c.any(QStringLiteral("select min(ID) from tblGoodGroup"))},
                 {"chkAllLBranches", true}};
         }},
        {"promoter", [](Company& c) { return one("sltPromoter", c.newest("PromoterID")); }},
        {"promoter2", [](Company& c) { return one("sltPromoter2", c.newest("PromoterID2")); }},
        {"pricing-method",
         [](Company& c) { return one("sltPricingMethod", c.newest("PricingMethodID")); }},
        {"precondition", [](Company& c) { return one("cmbPreCond", c.newest("PreConditionID")); }},
        {"buyer-employee",
         [](Company& c) { return one("gmpBuyerEmployee", c.newest("PromoterID")); }},
        {"branch", [](Company& c) { return one("gmpBranch", c.newest("BranchID")); }},
        {"date-month",
         [](Company& c) {
             const QDate last = c.lastDay();
             return SearchValues{{"dtpBeginCreateDate", last.addDays(-30)},
                                 {"dtpEndCreateDate", last}};
         }},
        {"clear-date-month",
         [](Company& c) {
             const QDate last = c.lastDay();
             return SearchValues{{"dtpBeginClearDate", last.addDays(-30)},
                                 {"dtpEndClearDate", last}};
         }},
        {"discount-percent",
         [](Company&) {
             return SearchValues{{"txtBeginTotalDiscountPrcnt", 3},
                                 {"txtEndTotalDiscountPrcnt", 5}};
         }},
        {"discount-value",
         [](Company&) {
             return SearchValues{{"txtBeginDiscountValue", 1000000},
                                 {"txtEndDiscountValue", 2000000}};
         }},
        {"surcharge", [](Company&) { return one("txtBeginSuCharge", 1); }},
        {"customer", [](Company& c) { return one("sltCustomer", c.newest("CustomerID")); }},
        {"amount",
         [](Company&) {
             return SearchValues{{"txtBeginGrandTotal", 50000000}, {"txtEndGrandTotal", 60000000}};
         }},
        {"payable",
         [](Company&) {
             return SearchValues{{"txtMinValue", 50000000}, {"txtMaxValue", 60000000}};
         }},
        {"notes-word",
         [](Company& c) { return one("txtNotes", Company::word(c.newest("Notes").toString())); }},
        {"notes-one-letter", [](Company&) { return one("txtNotes", QStringLiteral("ز")); }},
        {"temp-only", [](Company&) { return one("chkFinal", false); }},
        {"distributed", [](Company&) { return one("chkNonDist", false); }},
        {"card-range",
         [](Company&) {
             return SearchValues{{"txtCardNoFrom", 1}, {"txtCardNoTo", 999999}};
         }},
        {"quantity-above-200", [](Company&) { return one("txtBeginTotalQty", 200); }},
        {"promoter-path-with-sub",
         [](Company& c) {
             return SearchValues{{"sltPromoterPath",
                                  c.any(QStringLiteral("select min(ID) from tblDistributionPath"))},
                                 {"chkAllPromoterPath", true}};
         }},
        {"customer-path-with-sub",
         [](Company& c) {
             return SearchValues{{"sltCustomerPath",
                                  c.any(QStringLiteral("select min(ID) from tblDistributionPath"))},
                                 {"chkAllCustomerPath", true}};
         }},
        {"pair-customer-month",
         [](Company& c) {
             const QDate last = c.lastDay();
             return SearchValues{{"sltCustomer", c.newest("CustomerID")},
                                 {"dtpBeginCreateDate", last.addDays(-90)},
                                 {"dtpEndCreateDate", last}};
         }},
        {"pair-temp-month",
         [](Company& c) {
             const QDate last = c.lastDay();
             return SearchValues{{"chkFinal", false},
                                 {"dtpBeginCreateDate", last.addDays(-30)},
                                 {"dtpEndCreateDate", last}};
         }},
    };
    return all;
}

// The first screen: the statement of the first page, its rows read and their cells made.
void FirstScreen(benchmark::State& state, const Backend& backend, const Values& values) {
    Company& c = company(backend);
    const SearchValues filter = values(c);
    si::InvoiceResultModel model(c.ctx, si::SearchColumns());
    int rows = 0;
    for (auto _ : state) {
        model.setSource({si::SearchCondition(c.ctx, filter)});
        rows = model.rowCount();
    }
    state.counters["rows"] = rows;
}

void WholeList(benchmark::State& state, const Backend& backend, si::InvoiceList list) {
    Company& c = company(backend);
    si::InvoiceResultModel model(c.ctx, si::ListColumns(list == si::InvoiceList::Temp));
    for (auto _ : state) {
        model.setSource(si::InvoiceListSource(c.ctx, list, {}));
        model.fetchAll();
    }
    state.counters["rows"] = model.rowCount();
}

}  // namespace

int main(int argc, char** argv) {
    return si::bench::RunBenchmarks(
        argc, argv,
        [] {
            for (const auto& [name, values] : cases())
                si::bench::RegisterPerBackend(
                    (std::string("Search/") + name).c_str(),
                    [values](benchmark::State& s, const Backend& b) { FirstScreen(s, b, values); },
                    3);
            si::bench::RegisterPerBackend(
                "List/temp",
                [](benchmark::State& s, const Backend& b) {
                    WholeList(s, b, si::InvoiceList::Temp);
                },
                3);
            si::bench::RegisterPerBackend(
                "List/final",
                [](benchmark::State& s, const Backend& b) {
                    WholeList(s, b, si::InvoiceList::Final);
                },
                3);
        },
        [] { companies().clear(); });
}
