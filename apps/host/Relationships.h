#pragma once
// Links between documents (tblZelorRelatedForms) as the host's two relationship events use
// them: CreateNewRelationship adds a link from the event's form to one the user names, and
// ShowRelationships lists every link where the form stands on either side.

#include <QAbstractTableModel>
#include <QString>
#include <vector>

#include "common/Session.h"

namespace si::host {

struct FormRef {
    int typeId = 0;
    int formId = 0;
    bool operator==(const FormRef&) const = default;
};

struct RelatedFormRow {
    qint64 ID = 0;
    FormRef reference;
    FormRef related;
    QString referenceTypeName;  // from tblZelorFormType, empty when the type is not listed
    QString relatedTypeName;
    QString farsiCreateDate;
};

struct AddRelationshipResult {
    qint64 id = 0;  // the new row, 0 when refused
    QString error;  // Persian, when refused
};

// Adds reference → related, created by creatorId now (the session's clock). Refuses a link of a
// form to itself, a form number or type that is not positive, and a link that already exists in
// either direction.
AddRelationshipResult AddRelationship(Session& db, FormRef reference, FormRef related,
                                      int creatorId);
std::vector<RelatedFormRow> ListRelationships(Session& db, FormRef form);

// "فاکتور فروش (901)", or the bare number for a type without a name.
QString FormTypeText(int typeId, const QString& name);

class RelationshipsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ReferenceType, ReferenceForm, RelatedType, RelatedForm, CreateDate, ColumnCount };

    explicit RelationshipsModel(std::vector<RelatedFormRow> rows, QObject* parent = nullptr)
        : QAbstractTableModel(parent), rows_(std::move(rows)) {}

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<RelatedFormRow> rows_;
};

}  // namespace si::host
