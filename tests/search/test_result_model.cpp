// The result model: pages read by key in both directions of every kind of column, marks that
// belong to invoices, and the lists' newest 1,000 with the host's clause and the user's access.

#include <QColor>

#include "SearchFixture.h"
#include "common/Codes.h"
#include "search/InvoiceLists.h"
#include "search/InvoiceResultModel.h"
#include "support/InvoiceFixtures.h"

namespace si::test {
namespace {

class ResultModelTest : public ContextTest {
protected:
    // Invoices on few distinct dates and customers, so that sort keys repeat across pages.
    void addInvoices(int count, QVariant code = {}) {
        Transaction t = db().transaction();
        if (customers.empty())
            for (const char* name : {"ب", "الف", "ج"})
                customers.push_back(AddCustomer(db(), QString::fromUtf8(name)));
        for (int i = 0; i < count; ++i) {
            InvoiceRow row;
            row.date = QDate(2026, 10, 1).addDays(i % 7);
            row.customer = customers[static_cast<size_t>(i % 3)];
            row.code = code;
            row.notes = QStringLiteral("n%1").arg(i % 11);
            ids.push_back(AddInvoice(db(), row));
        }
        t.commit();
    }

    // Every row's ID, read through data() as a view would, front to back.
    static QList<qint64> shownIds(InvoiceResultModel& model) {
        QList<qint64> shown;
        for (int row = 0; row < model.rowCount(); ++row)
            shown << model.data(model.index(row, 2)).toLongLong();
        return shown;
    }

    QList<qint64> referenceOrder(const QString& orderBy) {
        QList<qint64> order;
        for (const Row& r :
             db().query(QStringLiteral("select ID from vwSaleInvoiceSearch order by ") + orderBy))
            order << r.toInt64(u"ID");
        return order;
    }

    std::vector<int> customers;
    std::vector<int> ids;
};

TEST_P(ResultModelTest, PagesFollowEachOtherInEverySortWithoutGapsOrRepeats) {
    addInvoices(345);
    InvoiceResultModel model(ctx, SearchColumns());
    model.setSource({});
    EXPECT_EQ(model.rowCount(), InvoiceResultModel::kPageRows);
    EXPECT_TRUE(model.canFetchMore());
    model.fetchAll();
    ASSERT_EQ(model.rowCount(), 345);
    EXPECT_EQ(shownIds(model), referenceOrder(QStringLiteral("CreateDate desc, ID desc")));
    EXPECT_LE(model.pagesHeld(), InvoiceResultModel::kPagesKept);

    // Customer names repeat: the ID breaks the ties, in the same direction.
    ASSERT_TRUE(model.sortBy(7));
    model.fetchAll();
    EXPECT_EQ(model.sortOrder(), Qt::AscendingOrder);
    EXPECT_EQ(shownIds(model), referenceOrder(QStringLiteral("CustomerName asc, ID asc")));
    ASSERT_TRUE(model.sortBy(7));
    model.fetchAll();
    EXPECT_EQ(shownIds(model), referenceOrder(QStringLiteral("CustomerName desc, ID desc")));
    // The row number column sorts by the newest, as it was opened.
    ASSERT_TRUE(model.sortBy(0));
    model.fetchAll();
    EXPECT_EQ(shownIds(model), referenceOrder(QStringLiteral("CreateDate asc, ID asc")));
    EXPECT_FALSE(model.sortBy(31));
    EXPECT_FALSE(model.sortBy(26)) << "remembered, but there is no such column";
}

TEST_P(ResultModelTest, APageDroppedIsReadAgainFromItsKey) {
    addInvoices(InvoiceResultModel::kPageRows * (InvoiceResultModel::kPagesKept + 2));
    InvoiceResultModel model(ctx, SearchColumns());
    model.setSource({});
    model.fetchAll();
    const QList<qint64> firstPass = shownIds(model);
    EXPECT_EQ(model.pagesHeld(), InvoiceResultModel::kPagesKept);
    // Reading the first rows again after the last ones re-reads the pages dropped meanwhile.
    EXPECT_EQ(model.invoiceId(0), firstPass.first());
    EXPECT_EQ(model.invoiceId(model.rowCount() - 1), firstPass.last());
    EXPECT_EQ(shownIds(model), firstPass);
}

TEST_P(ResultModelTest, MarksBelongToInvoicesAndSurviveSortingAndInversion) {
    addInvoices(250);
    InvoiceResultModel model(ctx, SearchColumns());
    model.setSource({});
    model.toggleMark(0);
    model.toggleMark(3);
    const QList<qint64> two{model.invoiceId(0), model.invoiceId(3)};
    EXPECT_EQ(model.markedIds(), two);
    EXPECT_EQ(model.data(model.index(3, 1), Qt::BackgroundRole).value<QColor>(),
              QColor(Qt::yellow));
    EXPECT_FALSE(model.data(model.index(3, 0), Qt::BackgroundRole).isValid()) << "row number";
    EXPECT_FALSE(model.data(model.index(1, 5), Qt::BackgroundRole).isValid());

    model.invertMarks();
    EXPECT_EQ(model.markedIds().size(), 248);
    model.invertMarks();
    EXPECT_EQ(model.markedIds(), two);

    model.sortBy(2);  // ascending IDs: the two are now far apart, on pages not yet read
    QList<qint64> ascending = two;
    std::sort(ascending.begin(), ascending.end());
    EXPECT_EQ(model.markedIds(), ascending);

    model.markAll();
    model.toggleMark(0);
    EXPECT_EQ(model.markedIds().size(), 249);
    EXPECT_FALSE(model.isMarked(0));
    model.markNone();
    EXPECT_TRUE(model.markedIds().isEmpty());
}

TEST_P(ResultModelTest, CellsShowStateGroupedAmountsAndJalaliDates) {
    addInvoices(1, 17);
    db().exec(QStringLiteral("update tblSaleInvoice set TotalValue = ?"),
              {QVariant::fromValue(Money::fromRials(1234567))});
    addInvoices(1);
    InvoiceResultModel model(ctx, ListColumns(true));
    model.setSource({});
    ASSERT_EQ(model.rowCount(), 2);
    const auto cell = [&](int row, int column) {
        return model.data(model.index(row, column)).toString();
    };
    const int finalRow = model.invoiceId(0) == ids[0] ? 0 : 1;
    EXPECT_EQ(cell(finalRow, 0), QString::number(finalRow + 1));
    EXPECT_EQ(cell(finalRow, 1), QStringLiteral("نهايي"));
    EXPECT_EQ(cell(1 - finalRow, 1), QStringLiteral("موقت"));
    EXPECT_EQ(cell(finalRow, 3), QStringLiteral("17"));
    EXPECT_TRUE(cell(1 - finalRow, 3).isEmpty()) << "a temp invoice has no code to show";
    EXPECT_EQ(cell(finalRow, 4), QStringLiteral("1405/07/09"));
    EXPECT_EQ(cell(finalRow, 20), QStringLiteral("1/234/567"));
    EXPECT_EQ(model.headerData(9, Qt::Horizontal).toString(), QStringLiteral("گروهقيمتگذاري "));
    EXPECT_EQ(model.columnCount(), 24);
    EXPECT_EQ(SearchColumns().size(), 25u);
}

TEST_P(ResultModelTest, ListsShowTheNewestThousandOfTheirStateSortedWithinThem) {
    addInvoices(1200);
    addInvoices(5, 1);
    InvoiceResultModel model(ctx, ListColumns(true));
    model.setSource(InvoiceListSource(ctx, InvoiceList::Temp, {}));
    model.fetchAll();
    ASSERT_EQ(model.rowCount(), kListNewest);
    QList<qint64> newest = referenceOrder(QStringLiteral("CreateDate desc, ID desc"));
    newest.removeIf(
        [&](qint64 id) { return std::find(ids.end() - 5, ids.end(), id) != ids.end(); });
    newest.resize(kListNewest);
    EXPECT_EQ(shownIds(model), newest);
    // Sorting reorders those thousand; it does not bring older ones in.
    model.sortBy(2);
    model.fetchAll();
    QList<qint64> sorted = newest;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(shownIds(model), sorted);

    model.setSource(InvoiceListSource(ctx, InvoiceList::Final, QStringLiteral(" and ID > 1202")));
    model.fetchAll();
    EXPECT_EQ(model.rowCount(), 3);
}

TEST_P(ResultModelTest, BatchCommandsBelongToATempListLimitedByTotal) {
    EXPECT_TRUE(
        ListOffersBatchFinal(InvoiceList::Temp, QStringLiteral(" and TotalValue <= 5000000")));
    EXPECT_FALSE(
        ListOffersBatchFinal(InvoiceList::Temp, QStringLiteral(" and TotalValue < 5000000")));
    EXPECT_FALSE(ListOffersBatchFinal(InvoiceList::Final, QStringLiteral(" and TotalValue <= 5")));
}

TEST_P(ResultModelTest, BranchAndPositionRestrictTheListsAndTheSearch) {
    addInvoices(6);
    const int north = static_cast<int>(db().insertReturningId(
        QStringLiteral("insert into tblAccountBranch (Name) values ('شمال') RETURNING ID")));
    const int south = static_cast<int>(db().insertReturningId(
        QStringLiteral("insert into tblAccountBranch (Name) values ('جنوب') RETURNING ID")));
    db().exec(QStringLiteral("update tblSaleInvoice set BranchID = ? where ID in (?, ?)"),
              {north, ids[0], ids[1]});
    db().exec(QStringLiteral("update tblSaleInvoice set BranchID = ? where ID = ?"),
              {south, ids[2]});
    db().exec(QStringLiteral("update tblUser set BranchID = ? where ID = ?"),
              {north, ctx.globals.CurrentUserID});
    const auto listed = [&] {
        InvoiceResultModel model(ctx, ListColumns(true));
        model.setSource(InvoiceListSource(ctx, InvoiceList::Temp, {}));
        QList<qint64> all = model.allIds();
        std::sort(all.begin(), all.end());
        return all;
    };
    EXPECT_EQ(listed().size(), 6) << "parameter 9 off";
    useParameter(P::BranchLimited, QStringLiteral("1"));
    EXPECT_EQ(listed(), (QList<qint64>{ids[0], ids[1], ids[3], ids[4], ids[5]}));

    // Parameter 309: only customers whose accounts the position may see.
    useParameter(P::BranchLimited, QStringLiteral("0"));
    useParameter(P::PositionCustomersOnly, QStringLiteral("1"));
    EXPECT_TRUE(listed().isEmpty());
}

SI_INSTANTIATE_BACKENDS(ResultModelTest);

}  // namespace
}  // namespace si::test
