// Every filter of the search, and the tick boxes in their combinations, against a reference
// computed from the fixture's plain values.

#include <QSet>
#include <functional>

#include "SearchFixture.h"
#include "common/FoldedText.h"
#include "search/InvoiceResultModel.h"
#include "search/SearchFilters.h"
#include "support/InvoiceFixtures.h"

namespace si::test {
namespace {

using Keep = std::function<bool(const InvoiceFact&)>;

struct FilterCase {
    QString name;
    SearchValues values;
    Keep keep;
};

class SearchFilterTest : public SearchTest {
protected:
    QList<qint64> found(const SearchValues& values) {
        InvoiceResultModel model(ctx, SearchColumns());
        model.setSource({SearchCondition(ctx, values)});
        QList<qint64> ids = model.allIds();
        std::sort(ids.begin(), ids.end());
        return ids;
    }

    static bool contains(const QString& text, const QString& typed) {
        return FoldedText(text).toLower().contains(FoldedText(typed).toLower());
    }

    std::vector<FilterCase> cases() const;
    std::vector<FilterCase> tickCases() const;
};

std::vector<FilterCase> SearchFilterTest::cases() const {
    const auto v = [](std::initializer_list<std::pair<const char*, QVariant>> pairs) {
        SearchValues values;
        for (const auto& [k, val] : pairs)
            values.insert(QString::fromLatin1(k), val);
        return values;
    };
    const QDate day(2026, 11, 10);
    const int cp = customerParent, cc = customerChild, e2 = employee2, e3 = employee3;
    const int gp = groupParent, gc = groupChild, kp = contractParent, kc = contractChild;
    const int pp = pathParent, pc = pathChild, co = customerOther, b1 = branch1;
    return {
        {"introduction", v({{"sltIntroductionType", introduction1}}),
         [this](const InvoiceFact& f) { return f.introduction == introduction1; }},
        {"order code", v({{"txtPrevAdditionalFormSpec", QStringLiteral("۵۰۱")}}),
         [](const InvoiceFact& f) { return f.orderCode == 501; }},
        {"line description", v({{"txtDescription", QStringLiteral("ويژه")}}),
         [](const InvoiceFact& f) {
             return std::any_of(f.lines.begin(), f.lines.end(), [](const LineFact& l) {
                 return contains(l.description, QStringLiteral("ويژه"));
             });
         }},
        {"system number range", v({{"txtMinID", 10}, {"txtMaxID", QStringLiteral("20")}}),
         [](const InvoiceFact& f) { return f.id >= 10 && f.id <= 20; }},
        {"approved number range", v({{"txtMinCode", 5}, {"txtMaxCode", 12}}),
         [](const InvoiceFact& f) { return f.code >= 5 && f.code <= 12; }},
        {"distribution range", v({{"txtMinDistID", 8}, {"txtMaxDistID", 9}}),
         [](const InvoiceFact& f) { return f.distribution >= 8 && f.distribution <= 9; }},
        {"manual code contains", v({{"txtMinMCode", QStringLiteral("m")}}),
         [](const InvoiceFact& f) { return contains(f.manualCode, QStringLiteral("m")); }},
        {"manual code up to", v({{"txtMaxMCode", QStringLiteral("M-2")}}),
         [](const InvoiceFact& f) {
             return !f.manualCode.isEmpty() && f.manualCode <= QStringLiteral("M-2");
         }},
        {"barcode", v({{"txtBarcode", QStringLiteral("۱۰۰۳")}}),
         [this](const InvoiceFact& f) {
             return hasGood(f, [](const GoodFact& g) { return g.barcode == "1003"; });
         }},
        {"goods code", v({{"txtISBN", QStringLiteral("G2")}}),
         [this](const InvoiceFact& f) {
             return hasGood(f, [](const GoodFact& g) { return g.code == "G2"; });
         }},
        {"goods name", v({{"txtTitle", QStringLiteral("ماست")}}),
         [this](const InvoiceFact& f) {
             return hasGood(f, [](const GoodFact& g) { return contains(g.name, "ماست"); });
         }},
        {"creator", v({{"sltCreator", userB}}),
         [this](const InvoiceFact& f) { return f.creator == userB; }},
        {"invoice type", v({{"cmbSLSInvoiceType", 2}}),
         [](const InvoiceFact& f) { return f.type == 2; }},
        {"contract", v({{"mptContract", kp}}),
         [kp](const InvoiceFact& f) { return f.contract == kp; }},
        {"contract with sub-projects", v({{"mptContract", kp}, {"chkAllContract", true}}),
         [kp, kc](const InvoiceFact& f) { return f.contract == kp || f.contract == kc; }},
        {"goods group", v({{"gmpProductGroup", gp}}),
         [this, gp](const InvoiceFact& f) {
             return hasGood(f, [gp](const GoodFact& g) { return g.group == gp; });
         }},
        {"goods group with sub-groups", v({{"gmpProductGroup", gp}, {"chkAllLBranches", true}}),
         [this, gp, gc](const InvoiceFact& f) {
             return hasGood(f, [=](const GoodFact& g) { return g.group == gp || g.group == gc; });
         }},
        {"promoter of the invoice or a line", v({{"sltPromoter", e3}}),
         [e3](const InvoiceFact& f) {
             return f.promoter == e3 ||
                    std::any_of(f.lines.begin(), f.lines.end(),
                                [e3](const LineFact& l) { return l.promoter == e3; });
         }},
        {"second promoter", v({{"sltPromoter2", e3}}),
         [e3](const InvoiceFact& f) { return f.promoter2 == e3; }},
        {"pricing method", v({{"sltPricingMethod", pricing2}}),
         [this](const InvoiceFact& f) { return f.pricing == pricing2; }},
        {"precondition", v({{"cmbPreCond", precondition2}}),
         [this](const InvoiceFact& f) { return f.precondition == precondition2; }},
        {"buyer employee, types 3 and 4 only", v({{"gmpBuyerEmployee", employee1}}),
         [this](const InvoiceFact& f) {
             return f.buyer == employee1 && (f.type == 3 || f.type == 4);
         }},
        {"branch", v({{"gmpBranch", b1}}), [b1](const InvoiceFact& f) { return f.branch == b1; }},
        {"created from and to",
         v({{"dtpBeginCreateDate", day}, {"dtpEndCreateDate", day.addDays(5)}}),
         [day](const InvoiceFact& f) { return f.date >= day && f.date <= day.addDays(5); }},
        {"cleared from and to",
         v({{"dtpBeginClearDate", day}, {"dtpEndClearDate", day.addDays(20)}}),
         [day](const InvoiceFact& f) {
             return f.clearDate >= day && f.clearDate <= day.addDays(20);
         }},
        {"discount percent range",
         v({{"txtBeginTotalDiscountPrcnt", 5}, {"txtEndTotalDiscountPrcnt", 9}}),
         [](const InvoiceFact& f) { return f.discountPercent >= 5 && f.discountPercent <= 9; }},
        {"discount amount range",
         v({{"txtBeginDiscountValue", 1000}, {"txtEndDiscountValue", 3000}}),
         [](const InvoiceFact& f) { return f.discountValue >= 1000 && f.discountValue <= 3000; }},
        {"surcharge range", v({{"txtBeginSuCharge", 100}, {"txtEndSuCharge", 300}}),
         [](const InvoiceFact& f) { return f.surcharge >= 100 && f.surcharge <= 300; }},
        {"customer, never type 4", v({{"sltCustomer", cp}}),
         [cp](const InvoiceFact& f) { return f.customer == cp && f.type != 4; }},
        {"customer with sub-customers", v({{"sltCustomer", cp}, {"chkAllCustomer", true}}),
         [cp, cc](const InvoiceFact& f) {
             return (f.customer == cp || f.customer == cc) && f.type != 4;
         }},
        {"amount range", v({{"txtBeginGrandTotal", 20000}, {"txtEndGrandTotal", 30000}}),
         [](const InvoiceFact& f) { return f.value >= 20000 && f.value <= 30000; }},
        {"payable range", v({{"txtMinValue", 15000}, {"txtMaxValue", 28000}}),
         [](const InvoiceFact& f) { return f.payable >= 15000 && f.payable <= 28000; }},
        {"notes, folded letters and digits", v({{"txtNotes", QStringLiteral("كيسه")}}),
         [](const InvoiceFact& f) { return contains(f.notes, QStringLiteral("کیسه")); }},
        {"notes, Latin case", v({{"txtNotes", QStringLiteral("noon")}}),
         [](const InvoiceFact& f) { return f.notes.contains(QStringLiteral("NOON")); }},
        {"notes, Persian digits", v({{"txtNotes", QStringLiteral("123")}}),
         [](const InvoiceFact& f) { return f.notes.contains(QStringLiteral("۱۲۳")); }},
        {"card number range", v({{"txtCardNoFrom", 6100000}, {"txtCardNoTo", 6200000}}),
         [](const InvoiceFact& f) { return f.cardNo >= 6100000 && f.cardNo <= 6200000; }},
        {"total quantity range", v({{"txtBeginTotalQty", 3}, {"txtEndTotalQty", 6}}),
         [](const InvoiceFact& f) { return f.sumQty() >= 3 && f.sumQty() <= 6; }},
        {"promoter path", v({{"sltPromoterPath", pc}}),
         [e2](const InvoiceFact& f) { return f.promoter == e2; }},
        {"promoter path with sub-paths", v({{"sltPromoterPath", pp}, {"chkAllPromoterPath", true}}),
         [e2](const InvoiceFact& f) { return f.promoter == e2; }},
        {"customer path", v({{"sltCustomerPath", pc}}),
         [co](const InvoiceFact& f) { return f.customer == co; }},
        {"customer path with sub-paths", v({{"sltCustomerPath", pp}, {"chkAllCustomerPath", true}}),
         [co](const InvoiceFact& f) { return f.customer == co; }},
    };
}

std::vector<FilterCase> SearchFilterTest::tickCases() const {
    const auto off = [](std::initializer_list<const char*> boxes) {
        SearchValues values;
        for (const char* box : boxes)
            values.insert(QString::fromLatin1(box), false);
        return values;
    };
    const auto none = [](const InvoiceFact&) { return false; };
    return {
        {"not cash", off({"chkNaghd"}), [](const InvoiceFact& f) { return !f.cash; }},
        {"cash", off({"chkNotNaghd"}), [](const InvoiceFact& f) { return f.cash; }},
        {"neither cash box", off({"chkNaghd", "chkNotNaghd"}), none},
        {"informal", off({"chkFormal"}), [](const InvoiceFact& f) { return !f.formal; }},
        {"formal", off({"chkInFormal"}), [](const InvoiceFact& f) { return f.formal; }},
        {"temp only", off({"chkFinal"}), [](const InvoiceFact& f) { return f.code == -1; }},
        {"final only", off({"chkTemp"}), [](const InvoiceFact& f) { return f.code != -1; }},
        {"neither state box", off({"chkTemp", "chkFinal"}), none},
        {"distributed", off({"chkNonDist"}),
         [](const InvoiceFact& f) { return f.distribution > 0; }},
        {"not distributed", off({"chkDist"}),
         [](const InvoiceFact& f) { return f.distribution == 0; }},
        {"neither distribution box", off({"chkDist", "chkNonDist"}), none},
        {"final and not cash", off({"chkTemp", "chkNaghd"}),
         [](const InvoiceFact& f) { return f.code != -1 && !f.cash; }},
    };
}

TEST_P(SearchFilterTest, EveryFilterFindsWhatTheReferenceFinds) {
    QSet<QString> covered;
    for (const FilterCase& c : cases()) {
        SCOPED_TRACE(c.name.toStdString());
        for (auto it = c.values.begin(); it != c.values.end(); ++it)
            covered.insert(it.key());
        const QList<qint64> want = expected(c.keep);
        EXPECT_EQ(found(c.values), want);
        EXPECT_FALSE(want.isEmpty()) << "the fixture must hold a match";
        EXPECT_LT(want.size(), static_cast<qsizetype>(invoices.size())) << "the filter must narrow";
    }
    // Every entry of the table is run (tick boxes by the other test).
    for (const SearchFilter& filter : SearchFilters()) {
        if (filter.kind == FilterKind::Unticked) continue;
        EXPECT_TRUE(covered.contains(QString::fromLatin1(filter.control))) << filter.control;
    }
}

TEST_P(SearchFilterTest, TickBoxesAndTheirCombinations) {
    ASSERT_EQ(found({}).size(), static_cast<qsizetype>(invoices.size()));
    for (const FilterCase& c : tickCases()) {
        SCOPED_TRACE(c.name.toStdString());
        EXPECT_EQ(found(c.values), expected(c.keep));
    }
}

// A quote, a percent, an underscore or a backslash is a character like any other: a pattern
// character finds only itself, and a code is compared whole.
TEST_P(SearchFilterTest, QuotesAndWildcardsAreJustCharacters) {
    const QStringList typed{QStringLiteral("'"),  QStringLiteral("%"),      QStringLiteral("_"),
                            QStringLiteral("\\"), QStringLiteral("'فردا'"), QStringLiteral("50%")};
    for (const QString& t : typed) {
        SCOPED_TRACE(t.toStdString());
        EXPECT_EQ(found({{QStringLiteral("txtNotes"), t}}),
                  expected([&](const InvoiceFact& f) { return contains(f.notes, t); }));
        EXPECT_EQ(found({{QStringLiteral("txtMinMCode"), t}}),
                  expected([&](const InvoiceFact& f) { return contains(f.manualCode, t); }));
        EXPECT_EQ(
            found({{QStringLiteral("txtDescription"), t}}), expected([&](const InvoiceFact& f) {
                return std::any_of(f.lines.begin(), f.lines.end(),
                                   [&](const LineFact& l) { return contains(l.description, t); });
            }));
        EXPECT_EQ(found({{QStringLiteral("txtTitle"), t}}), expected([&](const InvoiceFact& f) {
                      return hasGood(f, [&](const GoodFact& g) { return contains(g.name, t); });
                  }));
        for (const char* code : {"txtBarcode", "txtISBN"})
            EXPECT_EQ(found({{QString::fromLatin1(code), t}}), QList<qint64>()) << code;
        EXPECT_EQ(found({{QStringLiteral("txtMaxMCode"), t}}), expected([&](const InvoiceFact& f) {
                      return !f.manualCode.isEmpty() && f.manualCode <= t;
                  }));
    }
}

TEST_P(SearchFilterTest, CodesWithQuotesAndPercentsAreFoundWhole) {
    const auto withGood = [this](const QString& barcode) {
        return expected([&](const InvoiceFact& f) {
            return hasGood(f, [&](const GoodFact& g) { return g.barcode == barcode; });
        });
    };
    ASSERT_FALSE(withGood(QStringLiteral("10%5")).isEmpty());
    EXPECT_EQ(found({{QStringLiteral("txtBarcode"), QStringLiteral("10%5")}}),
              withGood(QStringLiteral("10%5")));
    EXPECT_EQ(found({{QStringLiteral("txtISBN"), QStringLiteral("G'5")}}),
              withGood(QStringLiteral("10%5")));
    EXPECT_EQ(found({{QStringLiteral("txtBarcode"), QStringLiteral("10%")}}), QList<qint64>());
}

// A wide group or a common word finds more than a hundred goods: the invoices are then found by
// looking into the newest invoices' lines rather than by collecting every line of the goods.
TEST_P(SearchFilterTest, ManyGoodsFindTheSameInvoicesAsFew) {
    const int unit =
        static_cast<int>(db().scalar(QStringLiteral("select min(ID) from tblGoodScale")).toInt());
    for (int i = 0; i < 120; ++i) {
        GoodFact g{QStringLiteral("77%1").arg(i), QStringLiteral("P%1").arg(i),
                   QStringLiteral("شير پاستوريزه %1").arg(i), groupChild};
        AddGood(db(), g.barcode, g.code, g.name, 1000, unit);
        db().exec(QStringLiteral("update tblGood set GoodGroupID = ? where Barcode = ?"),
                  {g.group, g.barcode});
        goods.push_back(g);
    }
    for (int i = 0; i < 3; ++i) {
        InvoiceFact f = invoices[static_cast<size_t>(i)];
        f.lines = {{QStringLiteral("77%1").arg(i * 40), 1, QString(), 0}};
        store(f);
    }
    EXPECT_EQ(found({{QStringLiteral("txtTitle"), QStringLiteral("پاستوريزه")}}),
              expected([this](const InvoiceFact& f) {
                  return hasGood(f, [](const GoodFact& g) { return g.name.contains("پاستوريزه"); });
              }));
    EXPECT_EQ(found({{QStringLiteral("gmpProductGroup"), groupChild}}),
              expected([this](const InvoiceFact& f) {
                  return hasGood(f, [this](const GoodFact& g) { return g.group == groupChild; });
              }));
}

TEST_P(SearchFilterTest, NumbersTakeEveryKeyboardsDigitsAndNothingElse) {
    EXPECT_EQ(SearchNumber(QStringLiteral("۱۲٣4")), 1234);
    EXPECT_FALSE(SearchNumber(QStringLiteral("12a")).has_value());
    EXPECT_FALSE(SearchNumber(QStringLiteral("-5")).has_value());
    EXPECT_FALSE(SearchNumber(QString()).has_value());
    // A box holding no number is no filter.
    EXPECT_EQ(found({{QStringLiteral("txtMinID"), QStringLiteral("abc")}}).size(),
              static_cast<qsizetype>(invoices.size()));
    EXPECT_EQ(NormalisedPercentText(QStringLiteral("45")), QStringLiteral("45"));
    EXPECT_EQ(NormalisedPercentText(QStringLiteral("100")), QStringLiteral("100"));
    EXPECT_EQ(NormalisedPercentText(QStringLiteral("250")), QStringLiteral("50"));
}

SI_INSTANTIATE_BACKENDS(SearchFilterTest);

}  // namespace
}  // namespace si::test
