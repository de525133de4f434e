#pragma once
// Inventory dispatches issued without an invoice, on the posting fixture's goods and warehouse,
// and what the tables hold of them, to show what a command wrote or did not write.

#include <QString>
#include <QStringList>

#include "posting/PostingTestSupport.h"

namespace si::test {

struct DispatchRow {
    QVariant code = 1;  // null: temporary
    int inventory = -1;
    int organization = -1;
    int relatedClass = -1;
    int branch = -1;
    QVariant formId;
    QVariant formTypeId;
    QVariant notes;
};

class DispatchTest : public PostingTest {
protected:
    int addDispatch(const DispatchRow& d) {
        auto orNull = [](int v) { return v > 0 ? QVariant(v) : QVariant(); };
        return static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblInventoryDispatch (Code, InventoryID, ReceiveDate, "
                           "FarsiReceiveDate, RelatedClassID, RelatedOrganizationID, FormID, "
                           "FormTypeID, Notes, BranchID) values (?,?,?,?,?,?,?,?,?,?) RETURNING "
                           "ID"),
            {d.code, orNull(d.inventory), QDate(2026, 12, 1), QStringLiteral("1405/09/10"),
             orNull(d.relatedClass), orNull(d.organization), d.formId, d.formTypeId, d.notes,
             orNull(d.branch)}));
    }
    void addDispatchLine(int dispatch, const QString& barcode, double qty, int scale, int row) {
        db().exec(QStringLiteral("insert into tblInventoryDispatchDetail (DispatchID, RowNumber, "
                                 "Barcode, Qty, ScaleID, ScaleQty) values (?,?,?,?,?,?)"),
                  {dispatch, row, barcode, qty, scale, qty});
    }
    void addDispatchTrace(int dispatch, const QString& barcode, int property, double qty,
                          int sequence) {
        db().exec(QStringLiteral("insert into tblInventoryDispatchDetailTrace (DispatchID, "
                                 "Barcode, ScaleID, TracePropertyTypeID1, Qty, ScaleQty, "
                                 "Sequence) values (?,?,?,?,?,?,?)"),
                  {dispatch, barcode, unit, property, qty, qty, sequence});
    }
    // The rows an invoice from a dispatch writes, and the dispatch's link.
    QString footprint(int dispatch) {
        const auto link = db().first(
            QStringLiteral(
                "select FormID, FormTypeID, Notes from tblInventoryDispatch where ID = ?"),
            {dispatch});
        return QStringList{QString::number(count(QStringLiteral("tblSaleInvoice"))),
                           QString::number(count(QStringLiteral("tblSaleInvoiceDetail"))),
                           QString::number(count(QStringLiteral("tblSaleInvoiceDetailTrace"))),
                           link->text(u"FormID"),
                           link->text(u"FormTypeID"),
                           link->text(u"Notes")}
            .join(u'|');
    }
    // Fails every link of a dispatch to a document, as a database refusing the write would.
    void refuseDispatchLinks() {
        if (db().isSqlite()) {
            db().exec(QStringLiteral(
                "create trigger tr_refuse_link before update of FormID on tblInventoryDispatch "
                "when new.FormID is not null begin select raise(abort, 'link refused'); end"));
        } else {
            db().exec(QStringLiteral(
                "create function fn_refuse_link() returns trigger as $$ begin if new.FormID is "
                "not null then raise exception 'link refused'; end if; return new; end $$ "
                "language plpgsql"));
            db().exec(QStringLiteral(
                "create trigger tr_refuse_link before update on tblInventoryDispatch for each row "
                "execute function fn_refuse_link()"));
        }
    }
    void allowDispatchLinks() {
        db().exec(QStringLiteral("drop trigger tr_refuse_link") +
                  (db().isSqlite() ? QString() : QStringLiteral(" on tblInventoryDispatch")));
    }
};

}  // namespace si::test
