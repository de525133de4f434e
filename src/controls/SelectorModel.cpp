#include "controls/SelectorModel.h"

#include <QRegularExpression>
#include <stdexcept>

#include "common/FoldedText.h"

namespace si {

namespace {

// View names may come from the database (account classes name their views); only plain
// identifiers ever reach the SQL text.
const QString& checkedView(const QString& view) {
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!identifier.match(view).hasMatch())
        throw std::invalid_argument("نام نماي جستجو نامعتبر است: " + view.toStdString());
    return view;
}

QString whereClause(const SqlCondition& filter, const QString& extra) {
    QStringList parts;
    if (!filter.isEmpty()) parts << QStringLiteral("(") + filter.sql + QStringLiteral(")");
    if (!extra.isEmpty()) parts << extra;
    return parts.isEmpty() ? QString()
                           : QStringLiteral(" where ") + parts.join(QStringLiteral(" and "));
}

}  // namespace

QString SelectorItem::text() const {
    if (code.trimmed().isEmpty()) return name;
    return code.trimmed() + QStringLiteral(" - ") + name;
}

void SelectorModel::setID(int id, bool force) {
    const bool differs = id != id_;
    // Read first: a failed read leaves the selection as it was.
    QString text = id > 0 || id == 0 ? readText(id) : QString();
    id_ = id;
    text_ = std::move(text);
    Q_EMIT textChanged(text_);
    if (differs || force) Q_EMIT changed();
}

void SelectorModel::setIDQuietly(int id, const QString& text) {
    id_ = id;
    text_ = text;
    Q_EMIT textChanged(text_);
}

SelectorModel::State SelectorModel::state() const {
    return {major_, minor_, caption_, inUse_, filter1_, filter2_, id_, text_};
}

void SelectorModel::restore(const State& state) {
    major_ = state.major;
    minor_ = state.minor;
    caption_ = state.caption;
    inUse_ = state.inUse;
    filter1_ = state.filter1;
    filter2_ = state.filter2;
    setIDQuietly(state.id, state.text);
}

void SelectorModel::Clear() {
    const bool differs = id_ != -1;
    id_ = -1;
    text_.clear();
    Q_EMIT textChanged(text_);
    if (differs) Q_EMIT changed();
}

QString SelectorModel::readText(int id) const {
    if (major_.isEmpty()) return {};
    auto row = ctx_->db().first(QStringLiteral("select Code, Name from ") + checkedView(major_) +
                                    QStringLiteral(" where ID = ?"),
                                {id});
    if (!row) return {};
    return SelectorItem{id, row->text(u"Code"), row->text(u"Name")}.text();
}

QVector<SelectorItem> SelectorModel::search(const QString& typed, int limit) const {
    QVector<SelectorItem> items;
    if (major_.isEmpty()) return items;
    const SqlCondition filter = combinedFilter();
    Params params = filter.params;
    QString match;
    if (!typed.trimmed().isEmpty()) {
        // Typed text is compared folded; a list this control shows is small enough to read.
        match = QStringLiteral(
            "(lower(FoldedText(cast(Code as varchar(100)))) like ? escape '\\' or "
            "lower(FoldedText(Name)) like ? escape '\\')");
        const QString pattern = FoldedContainsPattern(typed.trimmed());
        params << pattern << pattern;
    }
    params << limit;
    const RowSet rows = ctx_->db().query(QStringLiteral("select ID, Code, Name from ") +
                                             checkedView(major_) + whereClause(filter, match) +
                                             QStringLiteral(" order by Code, ID limit ?"),
                                         params);
    items.reserve(rows.size());
    for (const Row& r : rows)
        items.push_back({r.toInt(u"ID"), r.text(u"Code"), r.text(u"Name")});
    return items;
}

int SelectorModel::topID() const {
    if (major_.isEmpty()) return -1;
    const SqlCondition filter = combinedFilter();
    const QVariant id =
        ctx_->db().scalar(QStringLiteral("select ID from ") + checkedView(major_) +
                              whereClause(filter, {}) + QStringLiteral(" order by ID limit 1"),
                          filter.params);
    return id.isNull() ? -1 : id.toInt();
}

void SelectorModel::requery() {
    text_ = id_ >= 0 ? readText(id_) : QString();
    Q_EMIT textChanged(text_);
}

bool SelectorModel::isListed(int id) const {
    if (major_.isEmpty()) return false;
    const SqlCondition filter = combinedFilter();
    return !ctx_->db()
                .query(QStringLiteral("select ID from ") + checkedView(major_) +
                           whereClause(filter, QStringLiteral("ID = ?")),
                       filter.params + Params{id})
                .empty();
}

}  // namespace si
