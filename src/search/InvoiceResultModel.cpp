#include "search/InvoiceResultModel.h"

#include <QColor>

#include "common/Money.h"
#include "common/Numbers.h"

namespace si {

namespace {
const QColor kMarkedColour(255, 255, 0);  // 65535 in the original grid's BGR
const QString kTempText = QStringLiteral("موقت");
const QString kFinalText = QStringLiteral("نهايي");
}  // namespace

InvoiceResultModel::InvoiceResultModel(Context& ctx, std::vector<ResultColumn> columns,
                                       QObject* parent)
    : QAbstractTableModel(parent), ctx_(ctx), columns_(std::move(columns)) {
    remembered_.fill(Qt::DescendingOrder);  // a first click sorts ascending
}

void InvoiceResultModel::setColumns(std::vector<ResultColumn> columns) {
    beginResetModel();
    columns_ = std::move(columns);
    endResetModel();
}

void InvoiceResultModel::setSource(InvoiceResultSource source) {
    source_ = std::move(source);
    hasSource_ = true;
    sortColumn_ = 0;
    order_ = Qt::DescendingOrder;
    allMarked_ = false;
    exceptions_.clear();
    restart();
}

void InvoiceResultModel::clear() {
    beginResetModel();
    hasSource_ = false;
    rowCount_ = 0;
    atEnd_ = true;
    lastKeys_.clear();
    held_.clear();
    allMarked_ = false;
    exceptions_.clear();
    endResetModel();
}

void InvoiceResultModel::refresh() {
    if (hasSource_) restart();
}

void InvoiceResultModel::restart() {
    beginResetModel();
    rowCount_ = 0;
    atEnd_ = false;
    lastKeys_.clear();
    held_.clear();
    endResetModel();
    fetchNextPage();
}

QString InvoiceResultModel::sortKey() const {
    return QString::fromLatin1(columns_.at(static_cast<size_t>(sortColumn_)).sortKey);
}

// The page statement. The page's IDs are found first, by a statement that reads only what the
// order and the filters need, and only then their whole rows: asked for every column at once,
// SQLite sorts all the rows a filter leaves instead of reading them in the order of an index.
// The lists keep the newest rows of their state and sort only those.
QString InvoiceResultModel::selectSql(bool afterKey, bool idsOnly, const QString& also,
                                      int rows) const {
    const QString key = sortKey();
    const QString direction =
        order_ == Qt::AscendingOrder ? QStringLiteral(" asc") : QStringLiteral(" desc");
    const QString order =
        QStringLiteral(" ORDER BY ") + key + direction + QStringLiteral(", ID") + direction;
    QString where = QStringLiteral(" WHERE ID>-1");
    if (!source_.condition.isEmpty())
        where += QStringLiteral(" and (") + source_.condition.sql + QLatin1Char(')');
    if (source_.newestLimit > 0)
        where = QStringLiteral(" WHERE ") +
                idAmong(QStringLiteral("SELECT ID FROM vwSaleInvoiceSearch") + where +
                        QStringLiteral(" ORDER BY CreateDate desc, ID desc LIMIT ") +
                        QString::number(source_.newestLimit));
    if (afterKey)
        where += QStringLiteral(" and (") + key + QStringLiteral(", ID) ") +
                 (order_ == Qt::AscendingOrder ? QStringLiteral(">") : QStringLiteral("<")) +
                 QStringLiteral(" (?, ?)");
    where += also;
    const QString ids = QStringLiteral("SELECT ID FROM vwSaleInvoiceSearch") + where + order;
    if (idsOnly) return PlannedForItsValues(ids);
    return PlannedForItsValues(
        QStringLiteral("SELECT *, ") + key +
        QStringLiteral(" AS SortKey FROM vwSaleInvoiceSearch WHERE ") +
        idAmong(ids + QStringLiteral(" LIMIT ") + QString::number(rows > 0 ? rows : pageRows())) +
        order);
}

// The IDs a statement reads, as a condition. PostgreSQL joins a subquery after the view's dozen
// joins, over every invoice; an array of the IDs is read first and the invoices fetched by key.
QString InvoiceResultModel::idAmong(const QString& ids) const {
    if (ctx_.db().isSqlite()) return QStringLiteral("ID IN (") + ids + QLatin1Char(')');
    return QStringLiteral("ID = ANY (ARRAY(") + ids + QStringLiteral("))");
}

std::vector<InvoiceResultModel::ShownRow> InvoiceResultModel::readPage(const QVariantList& after) {
    Params params = source_.condition.params;
    params += after;
    const RowSet rows = ctx_.db().query(selectSql(!after.isEmpty(), false), params);
    std::vector<ShownRow> page;
    page.reserve(static_cast<size_t>(rows.size()));
    for (const Row& row : rows)
        page.push_back(shownRow(row));
    return page;
}

InvoiceResultModel::ShownRow InvoiceResultModel::shownRow(const Row& row) const {
    ShownRow shown;
    shown.id = row.toInt64(u"ID");
    shown.key = {row.value(u"SortKey"), shown.id};
    shown.cells.reserve(static_cast<qsizetype>(columns_.size()));
    shown.values.reserve(static_cast<qsizetype>(columns_.size()));
    for (const ResultColumn& column : columns_) {
        shown.cells << cellText(column, row);
        shown.values << cellValue(column, row);
    }
    return shown;
}

QVariant InvoiceResultModel::cellValue(const ResultColumn& column, const Row& row) const {
    if (!column.field) return {};
    const QString field = QString::fromLatin1(column.field);
    if (!row.has(field) || row.isNull(field)) return {};
    switch (column.format) {
        case ColumnFormat::Whole:
            return row.toInt64(field) == -1 ? QVariant() : QVariant(row.toInt64(field));
        case ColumnFormat::Amount:
            return QVariant::fromValue(row.money(field));
        case ColumnFormat::Percent:
            return row.toDouble(field);
        default:
            return cellText(column, row);
    }
}

QString InvoiceResultModel::cellText(const ResultColumn& column, const Row& row) const {
    if (!column.field) return {};
    const QString field = QString::fromLatin1(column.field);
    if (!row.has(field) || row.isNull(field)) return {};
    switch (column.format) {
        case ColumnFormat::State:
            return row.toInt64(field) == -1 ? kTempText : kFinalText;
        case ColumnFormat::Whole:
            // A temp invoice's code is -1: its state already says so.
            return row.toInt64(field) == -1 ? QString() : QString::number(row.toInt64(field));
        case ColumnFormat::Amount:
            return FormatAmount(row.money(field));
        case ColumnFormat::Percent:
            return QString::number(row.toDouble(field));
        default:
            return row.text(field);
    }
}

bool InvoiceResultModel::fetchNextPage() {
    if (!hasSource_ || atEnd_) return false;
    const int number = static_cast<int>(lastKeys_.size());
    std::vector<ShownRow> rows = readPage(number == 0 ? QVariantList() : lastKeys_.back());
    atEnd_ = rows.size() < static_cast<size_t>(pageRows());
    if (rows.empty()) return false;
    beginInsertRows({}, rowCount_, rowCount_ + static_cast<int>(rows.size()) - 1);
    lastKeys_.push_back(rows.back().key);
    rowCount_ += static_cast<int>(rows.size());
    keep({number, std::move(rows)});
    endInsertRows();
    return true;
}

void InvoiceResultModel::fetchAll() {
    while (fetchNextPage()) {
    }
}

void InvoiceResultModel::keep(Page page) const {
    held_.push_back(std::move(page));
    while (held_.size() > static_cast<size_t>(kPagesKept))
        held_.pop_front();
}

const InvoiceResultModel::ShownRow* InvoiceResultModel::rowAt(int row) const {
    if (row < 0 || row >= rowCount_) return nullptr;
    const int number = row / pageRows();
    const int offset = row % pageRows();
    auto it = std::find_if(held_.begin(), held_.end(),
                           [number](const Page& p) { return p.number == number; });
    if (it == held_.end()) {
        // A page dropped earlier: read again from where it starts.
        auto* self = const_cast<InvoiceResultModel*>(this);
        const QVariantList after = number == 0 ? QVariantList() : lastKeys_[number - 1];
        keep({number, self->readPage(after)});
        it = std::prev(held_.end());
    } else if (std::next(it) != held_.end()) {
        Page used = std::move(*it);
        held_.erase(it);
        held_.push_back(std::move(used));
        it = std::prev(held_.end());
    }
    return offset < static_cast<int>(it->rows.size()) ? &it->rows[static_cast<size_t>(offset)]
                                                      : nullptr;
}

int InvoiceResultModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rowCount_;
}

int InvoiceResultModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant InvoiceResultModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::TextAlignmentRole) {
        const ColumnFormat format = columns_[static_cast<size_t>(index.column())].format;
        return format == ColumnFormat::Text ? QVariant()
                                            : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole && role != Qt::BackgroundRole && role != ValueRole) return {};
    if (role == Qt::DisplayRole && index.column() == 0) return QString::number(index.row() + 1);
    const ShownRow* shown = rowAt(index.row());
    if (!shown) return {};
    if (role == Qt::BackgroundRole)
        return index.column() >= 1 && isMarkedId(shown->id) ? QVariant(kMarkedColour) : QVariant();
    if (role == ValueRole) return shown->values.value(index.column());
    return shown->cells.value(index.column());
}

QVariant InvoiceResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section < 0 || section >= static_cast<int>(columns_.size())) return {};
    return columns_[static_cast<size_t>(section)].header;
}

bool InvoiceResultModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && hasSource_ && !atEnd_;
}

void InvoiceResultModel::fetchMore(const QModelIndex& parent) {
    if (!parent.isValid()) fetchNextPage();
}

qint64 InvoiceResultModel::invoiceId(int row) const {
    const ShownRow* shown = rowAt(row);
    return shown ? shown->id : 0;
}

Qt::SortOrder InvoiceResultModel::sortOrder() const {
    return order_;
}

bool InvoiceResultModel::sortBy(int column) {
    if (column < 0 || column >= kSortableColumns) return false;
    auto& remembered = remembered_[static_cast<size_t>(column)];
    remembered = remembered == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    if (column >= static_cast<int>(columns_.size())) return false;
    sortColumn_ = column;
    order_ = remembered;
    if (hasSource_) restart();
    return true;
}

bool InvoiceResultModel::isMarked(int row) const {
    const ShownRow* shown = rowAt(row);
    return shown && isMarkedId(shown->id);
}

void InvoiceResultModel::toggleMark(int row) {
    const ShownRow* shown = rowAt(row);
    if (!shown) return;
    const qint64 id = shown->id;
    if (!exceptions_.remove(id)) exceptions_.insert(id);
    Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1), {Qt::BackgroundRole});
}

void InvoiceResultModel::markAll() {
    allMarked_ = true;
    exceptions_.clear();
    Q_EMIT dataChanged(index(0, 0), index(rowCount_ - 1, columnCount() - 1), {Qt::BackgroundRole});
}

void InvoiceResultModel::markNone() {
    allMarked_ = false;
    exceptions_.clear();
    Q_EMIT dataChanged(index(0, 0), index(rowCount_ - 1, columnCount() - 1), {Qt::BackgroundRole});
}

void InvoiceResultModel::invertMarks() {
    allMarked_ = !allMarked_;
    Q_EMIT dataChanged(index(0, 0), index(rowCount_ - 1, columnCount() - 1), {Qt::BackgroundRole});
}

QList<qint64> InvoiceResultModel::idsOf(const QString& also, const Params& alsoParams) {
    if (!hasSource_) return {};
    QList<qint64> ids;
    for (const Row& row :
         ctx_.db().query(selectSql(false, true, also), source_.condition.params + alsoParams))
        ids << row.toInt64(u"ID");
    return ids;
}

int InvoiceResultModel::forEachValueRow(const std::function<void(const QVariantList&)>& take,
                                        int chunkRows) {
    if (!hasSource_) return 0;
    int count = 0;
    QVariantList after;
    for (;;) {
        Params params = source_.condition.params;
        params += after;
        const RowSet rows =
            ctx_.db().query(selectSql(!after.isEmpty(), false, {}, chunkRows), params);
        for (const Row& row : rows) {
            QVariantList values;
            values.reserve(static_cast<qsizetype>(columns_.size()));
            for (const ResultColumn& column : columns_)
                values << cellValue(column, row);
            take(values);
        }
        count += static_cast<int>(rows.size());
        if (rows.size() < chunkRows) return count;
        const Row& last = rows[rows.size() - 1];
        after = QVariantList{last.value(u"SortKey"), last.toInt64(u"ID")};
    }
}

QList<qint64> InvoiceResultModel::allIds() {
    return idsOf({}, {});
}

// Rows marked one by one are read alone, not the whole result they came from.
QList<qint64> InvoiceResultModel::markedIds() {
    if (!allMarked_ && exceptions_.isEmpty()) return {};
    if (!allMarked_) {
        QStringList marks;
        Params ids;
        for (qint64 id : exceptions_) {
            marks << QStringLiteral("?");
            ids << id;
        }
        return idsOf(
            QStringLiteral(" and ID in (") + marks.join(QLatin1Char(',')) + QLatin1Char(')'), ids);
    }
    QList<qint64> marked;
    for (qint64 id : allIds())
        if (isMarkedId(id)) marked << id;
    return marked;
}

}  // namespace si
