#pragma once
// The rows of an invoice list or search result, read a page at a time by key: a page starts after
// the sort key and ID of the last row of the page before it, so a result of a million invoices
// opens with its first page, grows as the view scrolls (canFetchMore/fetchMore), and keeps only a
// few pages in memory; a page dropped is read again from its starting key when shown again.
//
// Marks belong to invoices, not rows: "all marked" with exceptions, so marking, unmarking or
// inverting a million rows costs nothing, and the marks survive pages being dropped and sorts.
// Each of the columns 0 to 30 remembers the direction it was last sorted in.

#include <QAbstractTableModel>
#include <QSet>
#include <array>
#include <deque>
#include <functional>
#include <vector>

#include "common/Context.h"
#include "common/SqlCondition.h"
#include "search/ResultColumns.h"

namespace si {

// Which invoices: a condition over vwSaleInvoiceSearch and, for the lists, how many of the
// newest are kept (0: all).
struct InvoiceResultSource {
    SqlCondition condition;
    int newestLimit = 0;
};

class InvoiceResultModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kPageRows = 100;
    static constexpr int kPagesKept = 8;
    static constexpr int kSortableColumns = 31;
    // data() of this role: a cell as its value, not its text (an amount as Money, a number as a
    // number, a text as shown; null for an empty cell and the row number), for an export.
    static constexpr int ValueRole = Qt::UserRole;

    InvoiceResultModel(Context& ctx, std::vector<ResultColumn> columns, QObject* parent = nullptr);

    void setColumns(std::vector<ResultColumn> columns);
    const std::vector<ResultColumn>& columns() const { return columns_; }
    // Reads the first page of the new result; marks are cleared, the sort is the newest first.
    void setSource(InvoiceResultSource source);
    void clear();
    // Reads the same result again from its first page, in its sort, after rows changed.
    void refresh();
    bool hasSource() const { return hasSource_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent = {}) const override;
    void fetchMore(const QModelIndex& parent = {}) override;

    // The next page, as the view asks when scrolled to the end; false at the end.
    bool fetchNextPage();
    // Reads every page: the row count is then the result's.
    void fetchAll();

    qint64 invoiceId(int row) const;
    // Sorts by the column, flipping the direction it remembers; columns past 30 do nothing.
    bool sortBy(int column);
    int sortColumn() const { return sortColumn_; }
    Qt::SortOrder sortOrder() const;

    bool isMarked(int row) const;
    bool isMarkedId(qint64 id) const { return allMarked_ != exceptions_.contains(id); }
    void toggleMark(int row);
    void markAll();
    void markNone();
    void invertMarks();
    // The marked invoices in the result's order, read from the database when all are marked.
    QList<qint64> markedIds();
    // Every invoice of the result, in its order.
    QList<qint64> allIds();
    // Every row of the result in its order as the values of ValueRole, read a chunk of rows at a
    // time apart from the pages the view holds (an export of a large result neither reads it in
    // small pages nor drops the view's); returns the number of rows.
    int forEachValueRow(const std::function<void(const QVariantList& values)>& take,
                        int chunkRows = 2000);
    int pagesHeld() const { return static_cast<int>(held_.size()); }

private:
    struct ShownRow {
        qint64 id = 0;
        QVariantList key;  // sort key, ID
        QStringList cells;
        QVariantList values;
    };
    struct Page {
        int number = 0;
        std::vector<ShownRow> rows;
    };

    QString sortKey() const;
    // The page statement, or the result's IDs in order; `also` narrows them further.
    QString selectSql(bool afterKey, bool idsOnly, const QString& also = {}, int rows = 0) const;
    QList<qint64> idsOf(const QString& also, const Params& alsoParams);
    QString idAmong(const QString& ids) const;
    // A list's thousand rows are read at once: one statement instead of ten.
    int pageRows() const { return source_.newestLimit > 0 ? source_.newestLimit : kPageRows; }
    std::vector<ShownRow> readPage(const QVariantList& after);
    ShownRow shownRow(const Row& row) const;
    QString cellText(const ResultColumn& column, const Row& row) const;
    QVariant cellValue(const ResultColumn& column, const Row& row) const;
    const ShownRow* rowAt(int row) const;
    void keep(Page page) const;
    void restart();

    Context& ctx_;
    std::vector<ResultColumn> columns_;
    InvoiceResultSource source_;
    bool hasSource_ = false;
    int rowCount_ = 0;
    bool atEnd_ = true;
    // The key of the last row of each page read so far: page n starts after lastKeys_[n - 1].
    std::vector<QVariantList> lastKeys_;
    // The pages in memory, the most recently used last.
    mutable std::deque<Page> held_;
    int sortColumn_ = 0;
    std::array<Qt::SortOrder, kSortableColumns> remembered_{};
    Qt::SortOrder order_ = Qt::DescendingOrder;
    bool allMarked_ = false;
    QSet<qint64> exceptions_;
};

}  // namespace si
