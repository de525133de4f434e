#pragma once
// What the sale-assignment viewer reads: the assignment's header and its lines, which are the
// goods of the invoice it was issued from.

#include <QString>
#include <QVector>
#include <optional>

namespace si {
class Session;
}

namespace si::suite {

struct AssignmentLine {
    int rowNumber = 0;
    QString barcode;
    QString goodName;
    QString unitName;
    double qty = 0;
    QString description;
};

struct SaleAssignmentView {
    int id = -1;
    QString code;
    int invoiceId = -1;
    QString invoiceCode;
    QString customerName;
    QString inventoryName;
    QString creatorName;
    QString farsiDate;
    QString notes;
    QVector<AssignmentLine> lines;  // in the invoice's row order
};

// The assignment, or nullopt when there is none with that ID.
std::optional<SaleAssignmentView> ReadSaleAssignment(Session& db, int assignmentId);

}  // namespace si::suite
