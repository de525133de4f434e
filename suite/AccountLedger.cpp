#include "suite/AccountLedger.h"

#include <QRegularExpression>
#include <QStringList>

#include "common/Session.h"

namespace si::suite {

namespace {

// Class views are named by the database; only plain identifiers reach the SQL text.
bool isPlainIdentifier(const QString& name) {
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return identifier.match(name).hasMatch();
}

QString placeholders(qsizetype count) {
    QStringList marks;
    for (qsizetype i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return marks.join(QLatin1Char(','));
}

QString codeText(const Row& r, QStringView column) {
    return r.isNull(column) ? QString() : QString::number(r.toInt64(column));
}

QVector<DocumentViewRow> documentRows(Session& db, int documentId) {
    const RowSet rows = db.query(
        QStringLiteral("select r.RowNumber, a.Code, a.Title, r.DebitValue, r.CreditValue, "
                       "r.Description from tblAccountDocumentDetail r left join tblAccount a on "
                       "a.ID = r.AccountID where r.DocumentID = ? order by r.RowNumber, r.ID"),
        {documentId});
    QVector<DocumentViewRow> result;
    for (const Row& r : rows)
        result.append({r.toInt(u"RowNumber"),
                       r.text(u"Code"),
                       r.text(u"Title"),
                       r.money(u"DebitValue"),
                       r.money(u"CreditValue"),
                       r.text(u"Description"),
                       {}});
    return result;
}

// Every row's objects, read in one statement and named class by class.
void addObjects(Session& db, int documentId, QVector<DocumentViewRow>& rows) {
    const RowSet objects = db.query(
        QStringLiteral("select o.RowNumber, o.ClassID, o.ObjectID, c.Name from "
                       "tblAccountDocumentObjects o left join tblAccountClass c on c.ID = "
                       "o.ClassID where o.DocumentID = ? order by o.RowNumber, o.Sequence, o.ID"),
        {documentId});
    QVector<QPair<int, int>> keys;
    for (const Row& o : objects)
        keys.append({o.toInt(u"ClassID"), o.toInt(u"ObjectID")});
    const QHash<QPair<int, int>, QString> names = ObjectNames(db, keys);
    for (const Row& o : objects) {
        const QPair<int, int> key{o.toInt(u"ClassID"), o.toInt(u"ObjectID")};
        for (DocumentViewRow& row : rows)
            if (row.rowNumber == o.toInt(u"RowNumber"))
                row.objects.append({key.first, o.text(u"Name"), key.second, names.value(key)});
    }
}

struct PeriodStart {
    QDate date;
    QString farsi;
};

std::optional<PeriodStart> activePeriodStart(Session& db) {
    const auto period = db.first(QStringLiteral(
        "select BeginDate, FarsiBeginDate from tblAccountPeriod where IsActive=1 order by ID"));
    if (!period || !period->date(u"BeginDate").isValid()) return std::nullopt;
    return PeriodStart{period->date(u"BeginDate"), period->text(u"FarsiBeginDate")};
}

const QString kPostedRows = QStringLiteral(
    " from tblAccountDocumentDetail r inner join vwAccountNonPreDocument d on d.ID = "
    "r.DocumentID where ");

}  // namespace

QString DocumentViewRow::objectsText() const {
    QStringList parts;
    for (const DocumentObject& o : objects) {
        const QString name = o.objectName.isEmpty() ? QString::number(o.objectId) : o.objectName;
        parts << (o.className.isEmpty() ? name : o.className + QStringLiteral(": ") + name);
    }
    return parts.join(QStringLiteral("، "));
}

std::optional<AccountDocumentView> ReadAccountDocument(Session& db, int documentId) {
    const auto header = db.first(
        QStringLiteral("select ID, Code, DayNo, FarsiDocumentDate, Description, IsFinalized, "
                       "IsPreDocument from tblAccountDocument where ID = ?"),
        {documentId});
    if (!header) return std::nullopt;
    AccountDocumentView view;
    view.id = header->toInt(u"ID");
    view.code = codeText(*header, u"Code");
    view.dayNo = codeText(*header, u"DayNo");
    view.farsiDate = header->text(u"FarsiDocumentDate");
    view.description = header->text(u"Description");
    view.finalized = header->toBool(u"IsFinalized");
    view.preDocument = header->toBool(u"IsPreDocument");
    view.rows = documentRows(db, documentId);
    addObjects(db, documentId, view.rows);
    for (const DocumentViewRow& r : view.rows) {
        view.totalDebit += r.debit;
        view.totalCredit += r.credit;
    }
    return view;
}

QHash<QPair<int, int>, QString> ObjectNames(Session& db, const QVector<QPair<int, int>>& objects) {
    QHash<int, QVector<int>> byClass;
    for (const auto& [classId, objectId] : objects)
        if (!byClass.value(classId).contains(objectId)) byClass[classId].append(objectId);
    QHash<QPair<int, int>, QString> names;
    for (auto it = byClass.cbegin(); it != byClass.cend(); ++it) {
        const QString view =
            db.scalar(QStringLiteral("select ViewMajor from tblAccountClass where ID = ?"),
                      {it.key()})
                .toString();
        if (!isPlainIdentifier(view)) continue;
        Params ids;
        for (int id : it.value())
            ids.append(id);
        for (const Row& r : db.query(QStringLiteral("select ID, Name from ") + view +
                                         QStringLiteral(" where ID in (") +
                                         placeholders(ids.size()) + QStringLiteral(")"),
                                     ids))
            names.insert({it.key(), r.toInt(u"ID")}, r.text(u"Name"));
    }
    return names;
}

TurnoverReader::TurnoverReader(Session* db, QString condition, QVector<QVariant> params,
                               QString title)
    : db_(db), condition_(std::move(condition)), params_(std::move(params)) {
    summary_.title = std::move(title);
    if (const auto start = activePeriodStart(*db_)) {
        summary_.fromFarsiDate = start->farsi;
        Params before = params_;
        before.append(start->date);
        summary_.broughtForward =
            db_->first(QStringLiteral("select coalesce(sum(r.DebitValue), 0) - "
                                      "coalesce(sum(r.CreditValue), 0) as Balance") +
                           kPostedRows + condition_ + QStringLiteral(" and d.DocumentDate < ?"),
                       before)
                ->money(u"Balance");
        condition_ += QStringLiteral(" and d.DocumentDate >= ?");
        params_.append(start->date);
    }
    const auto totals = db_->first(
        QStringLiteral("select count(*) as RowCount, coalesce(sum(r.DebitValue), 0) as Debit, "
                       "coalesce(sum(r.CreditValue), 0) as Credit") +
            kPostedRows + condition_,
        params_);
    rowCount_ = totals->toInt(u"RowCount");
    summary_.totalDebit = totals->money(u"Debit");
    summary_.totalCredit = totals->money(u"Credit");
    balance_ = summary_.broughtForward;
}

QVector<TurnoverRow> TurnoverReader::next(int count) {
    QVector<TurnoverRow> rows;
    if (atEnd() || count <= 0) return rows;
    Params params = params_;
    params << count << read_;
    const RowSet page = db_->query(
        QStringLiteral("select d.ID, d.Code, d.FarsiDocumentDate, coalesce(r.Description, "
                       "d.Description, '') as Description, r.DebitValue, r.CreditValue") +
            kPostedRows + condition_ +
            QStringLiteral(" order by d.DocumentDate, d.Code, d.ID, r.RowNumber, r.ID limit ? "
                           "offset ?"),
        params);
    rows.reserve(static_cast<qsizetype>(page.size()));
    for (const Row& r : page) {
        const Money debit = r.money(u"DebitValue"), credit = r.money(u"CreditValue");
        balance_ = balance_ + debit - credit;
        rows.append({r.toInt(u"ID"), codeText(r, u"Code"), r.text(u"FarsiDocumentDate"),
                     r.text(u"Description"), debit, credit, balance_});
    }
    read_ += static_cast<int>(page.size());
    // Rows posted since the count was taken are left for the next opening.
    if (page.size() < count) read_ = rowCount_;
    return rows;
}

Turnover TurnoverReader::readAll() {
    Turnover t = summary_;
    t.rows = next(rowCount_ - read_);
    return t;
}

TurnoverReader TurnoverReader::ofAccount(Session& db, int accountId) {
    const auto account =
        db.first(QStringLiteral("select Code, Title from tblAccount where ID = ?"), {accountId});
    const QString title =
        account ? account->text(u"Code") + QStringLiteral(" - ") + account->text(u"Title")
                : QString();
    return TurnoverReader(&db, QStringLiteral("r.AccountID = ?"), {accountId}, title);
}

TurnoverReader TurnoverReader::ofObjects(Session& db, const QVector<ObjectPair>& objects) {
    QStringList conditions;
    Params params;
    QVector<QPair<int, int>> keys;
    for (const ObjectPair& o : objects) {
        if (o.objectId <= 0) continue;
        conditions << QStringLiteral(
            "exists (select 1 from tblAccountDocumentObjects o where o.DocumentID = r.DocumentID "
            "and o.RowNumber = r.RowNumber and o.ClassID = ? and o.ObjectID = ?)");
        params << o.classId << o.objectId;
        keys.append({o.classId, o.objectId});
    }
    // No object given: no row.
    if (conditions.isEmpty()) return TurnoverReader(&db, QStringLiteral("1 = 0"), {}, QString());
    const QHash<QPair<int, int>, QString> names = ObjectNames(db, keys);
    QStringList title;
    for (const auto& key : keys)
        title << names.value(key, QString::number(key.second));
    return TurnoverReader(&db, conditions.join(QStringLiteral(" and ")), params,
                          title.join(QStringLiteral(" / ")));
}

Turnover AccountTurnover(Session& db, int accountId) {
    return TurnoverReader::ofAccount(db, accountId).readAll();
}

Turnover ObjectTurnover(Session& db, const QVector<ObjectPair>& objects) {
    return TurnoverReader::ofObjects(db, objects).readAll();
}

}  // namespace si::suite
