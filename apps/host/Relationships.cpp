#include "apps/host/Relationships.h"

#include "common/Jalali.h"

namespace si::host {

namespace {

bool linkExists(Session& db, FormRef a, FormRef b) {
    const QVariant n = db.scalar(
        QStringLiteral("select count(*) from tblZelorRelatedForms where (ReferenceFormTypeID = ? "
                       "and ReferenceFormID = ? and RelatedFormTypeID = ? and RelatedFormID = ?) "
                       "or (ReferenceFormTypeID = ? and ReferenceFormID = ? and "
                       "RelatedFormTypeID = ? and RelatedFormID = ?)"),
        {a.typeId, a.formId, b.typeId, b.formId, b.typeId, b.formId, a.typeId, a.formId});
    return n.toInt() > 0;
}

}  // namespace

AddRelationshipResult AddRelationship(Session& db, FormRef reference, FormRef related,
                                      int creatorId) {
    if (related.typeId <= 0 || related.formId <= 0)
        return {0, QStringLiteral("نوع و شماره فرم مرتبط را وارد کنيد.")};
    if (related == reference)
        return {0, QStringLiteral(
                       "يک فرم را نمی‌توان به خودش مرتبط کرد.")};
    if (linkExists(db, reference, related))
        return {0, QStringLiteral("اين ارتباط قبلا ثبت شده است.")};
    const QDateTime now = db.now();
    const qint64 id = db.insertReturningId(
        QStringLiteral("insert into tblZelorRelatedForms (ReferenceFormID, ReferenceFormTypeID, "
                       "RelatedFormID, RelatedFormTypeID, CreatorID, CreateDate, FarsiCreateDate) "
                       "values (?, ?, ?, ?, ?, ?, ?) RETURNING ID"),
        {reference.formId, reference.typeId, related.formId, related.typeId, creatorId, now,
         getFarsiDate(now.date())});
    return {id, {}};
}

std::vector<RelatedFormRow> ListRelationships(Session& db, FormRef form) {
    const RowSet rows = db.query(
        QStringLiteral(
            "select r.ID, r.ReferenceFormTypeID, r.ReferenceFormID, r.RelatedFormTypeID, "
            "r.RelatedFormID, r.FarsiCreateDate, coalesce(a.Name, '') as ReferenceTypeName, "
            "coalesce(b.Name, '') as RelatedTypeName from tblZelorRelatedForms r "
            "left join tblZelorFormType a on a.ID = r.ReferenceFormTypeID "
            "left join tblZelorFormType b on b.ID = r.RelatedFormTypeID "
            "where (r.ReferenceFormTypeID = ? and r.ReferenceFormID = ?) "
            "or (r.RelatedFormTypeID = ? and r.RelatedFormID = ?) order by r.ID"),
        {form.typeId, form.formId, form.typeId, form.formId});
    std::vector<RelatedFormRow> result;
    for (const Row& row : rows) {
        RelatedFormRow r;
        r.ID = row.toInt64(u"ID");
        r.reference = {row.toInt(u"ReferenceFormTypeID"), row.toInt(u"ReferenceFormID")};
        r.related = {row.toInt(u"RelatedFormTypeID"), row.toInt(u"RelatedFormID")};
        r.referenceTypeName = row.text(u"ReferenceTypeName");
        r.relatedTypeName = row.text(u"RelatedTypeName");
        r.farsiCreateDate = row.text(u"FarsiCreateDate");
        result.push_back(r);
    }
    return result;
}

QString FormTypeText(int typeId, const QString& name) {
    if (name.trimmed().isEmpty()) return QString::number(typeId);
    return QStringLiteral("%1 (%2)").arg(name.trimmed()).arg(typeId);
}

int RelationshipsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int RelationshipsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RelationshipsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignCenter);
    if (role != Qt::DisplayRole) return {};
    const RelatedFormRow& r = rows_[static_cast<size_t>(index.row())];
    switch (index.column()) {
        case ReferenceType:
            return FormTypeText(r.reference.typeId, r.referenceTypeName);
        case ReferenceForm:
            return r.reference.formId;
        case RelatedType:
            return FormTypeText(r.related.typeId, r.relatedTypeName);
        case RelatedForm:
            return r.related.formId;
        case CreateDate:
            return r.farsiCreateDate;
        default:
            return {};
    }
}

QVariant RelationshipsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case ReferenceType:
            return QStringLiteral("نوع فرم مرجع");
        case ReferenceForm:
            return QStringLiteral("شماره فرم مرجع");
        case RelatedType:
            return QStringLiteral("نوع فرم مرتبط");
        case RelatedForm:
            return QStringLiteral("شماره فرم مرتبط");
        case CreateDate:
            return QStringLiteral("تاريخ ثبت");
        default:
            return {};
    }
}

}  // namespace si::host
