#pragma once
// A small company whose invoices vary in every field the search filters on, with the same
// invoices kept as plain values so that a test can compute the expected result without SQL.

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

#include "support/ContextTest.h"

namespace si::test {

struct LineFact {
    QString barcode;
    int qty = 1;
    QString description;
    int promoter = 0;
};

struct InvoiceFact {
    qint64 id = 0;
    int code = -1;  // -1: temporary
    QDate date;
    QDate clearDate;
    int customer = 0, type = 0, creator = 0, promoter = 0, promoter2 = 0, pricing = 0;
    int precondition = 0, branch = 0, contract = 0, introduction = 0, buyer = 0;
    int orderCode = 0;     // 0: no related order
    int distribution = 0;  // 0: not distributed
    bool cash = true, formal = true;
    qint64 cardNo = 0;
    int discountPercent = 0;
    qint64 discountValue = 0, value = 0, payable = 0, surcharge = 0;
    QString notes, manualCode;
    std::vector<LineFact> lines;
    int sumQty() const;
};

struct GoodFact {
    QString barcode, code, name;
    int group = 0;
};

class SearchTest : public ContextTest {
protected:
    void SetUp() override;

    // The fixture's company and its invoices, stored and remembered.
    void buildCompany();
    qint64 store(InvoiceFact invoice);
    // IDs of the remembered invoices the predicate holds for, ascending.
    template <class Predicate>
    QList<qint64> expected(Predicate keep) const {
        QList<qint64> ids;
        for (const InvoiceFact& f : invoices)
            if (keep(f)) ids << f.id;
        std::sort(ids.begin(), ids.end());
        return ids;
    }
    bool hasGood(const InvoiceFact& f, auto keep) const {
        for (const LineFact& line : f.lines)
            for (const GoodFact& g : goods)
                if (g.barcode == line.barcode && keep(g)) return true;
        return false;
    }

    int customerParent = 0, customerChild = 0, customerOther = 0;
    int userA = 0, userB = 0;
    int employee1 = 0, employee2 = 0, employee3 = 0;
    int pricing1 = 0, pricing2 = 0, precondition1 = 0, precondition2 = 0;
    int branch1 = 0, branch2 = 0, contractParent = 0, contractChild = 0;
    int introduction1 = 0, introduction2 = 0;
    int groupParent = 0, groupChild = 0, pathParent = 0, pathChild = 0;
    std::vector<GoodFact> goods;
    std::vector<InvoiceFact> invoices;
};

}  // namespace si::test
