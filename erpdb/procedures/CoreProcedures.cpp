// Procedures the invoice form needs from the first moment: invoice existence, rights, the
// form-event log and form links, and the sale-order quantities that lines consult.

#include <algorithm>

#include "common/Session.h"
#include "erpdb/procedures/ProcedureSupport.h"

namespace si::erpdb {

namespace {

// @InvoiceID -> the ID when the invoice is stored, else 0.
QVariant spSaleIsInvoiceAvailable(Session& s, QVariantList& args) {
    const QVariant id = s.scalar(QStringLiteral("select ID from tblSaleInvoice where ID = ?"),
                                 {ArgInt(args, 0, -1)});
    return id.isNull() ? 0 : id.toInt();
}

// @UserID, @FormPermissionID -> 1 when the user is an active administrator or holds the right
// directly or through the position recorded for the user.
QVariant spZelorHasPermission(Session& s, QVariantList& args) {
    const int user = ArgInt(args, 0, -1);
    const int right = ArgInt(args, 1, -1);
    const QVariant held = s.scalar(
        QStringLiteral(
            "select count(*) from tblUser u where u.ID = ? and coalesce(u.IsActive, 1) = 1 and ("
            " coalesce(u.IsAdmin, 0) = 1"
            " or exists (select 1 from tblZelorUserPermission p where p.UserID = u.ID and "
            "p.PermissionID = ?)"
            " or exists (select 1 from tblZelorPositionPermission p where p.PositionID = "
            "u.PositionID"
            " and p.PermissionID = ?))"),
        {user, right, right});
    return held.toInt() > 0 ? 1 : 0;
}

// @EventID, @FormCode, @FormTypeID, @Description, @UserID, @EventDate, @FarsiEventDate, @EventTime
QVariant spZelorInsertFormAction(Session& s, QVariantList& args) {
    s.exec(QStringLiteral(
               "insert into tblZelorFormEvent (EventTypeID, FormCode, FormTypeID, Description,"
               " UserID, EventDate, FarsiEventDate, EventTime) values (?,?,?,?,?,?,?,?)"),
           {ArgInt(args, 0), Arg(args, 1), Arg(args, 2), Arg(args, 3), Arg(args, 4), Arg(args, 5),
            Arg(args, 6), Arg(args, 7)});
    return 0;
}

// @FormID, @FormTypeID: removes every link of the form, on either side.
QVariant spZelorUnRelateForms(Session& s, QVariantList& args) {
    const int id = ArgInt(args, 0, -1);
    const int type = ArgInt(args, 1, -1);
    return s.exec(
        QStringLiteral("delete from tblZelorRelatedForms where (ReferenceFormID = ? and "
                       "ReferenceFormTypeID = ?) or (RelatedFormID = ? and RelatedFormTypeID = ?)"),
        {id, type, id, type});
}

// @CSOrderID, @InBarCode -> the quantity of the barcode that the sale order assigned and that no
// invoice has sold yet, in the order's units.
QVariant spAssignedNonSoldQty(Session& s, QVariantList& args) {
    const QVariant qty = s.scalar(
        QStringLiteral("select coalesce(sum(coalesce(Qty, 0) - coalesce(SoldQty, 0)), 0) from "
                       "tblSaleOrderDetail where OrderID = ? and Barcode = ?"),
        {ArgInt(args, 0, -1), Arg(args, 1).toString()});
    return Money::fromVariant(qty).toDouble();
}

// @CSOrderID, @SPInvoiceID, @InBarCode, @Qty: books a sold quantity against the order's lines of
// the barcode, filling each line's open quantity in turn; what is left goes to the last line.
QVariant spUpdateAssignedOrders(Session& s, QVariantList& args) {
    const RowSet lines = s.query(
        QStringLiteral("select ID, coalesce(Qty, 0) - coalesce(SoldQty, 0) as OpenQty "
                       "from tblSaleOrderDetail where OrderID = ? and Barcode = ? order by ID"),
        {ArgInt(args, 0, -1), Arg(args, 2).toString()});
    Money left = ArgMoney(args, 3);
    for (int i = 0; i < lines.size() && !left.isZero(); ++i) {
        const Money open = std::max(lines[i].money(u"OpenQty"), Money());
        const Money booked = i + 1 == lines.size() ? left : std::min(open, left);
        s.exec(QStringLiteral(
                   "update tblSaleOrderDetail set SoldQty = coalesce(SoldQty, 0) + ? where ID = ?"),
               {QVariant::fromValue(booked), lines[i].toInt(u"ID")});
        left -= booked;
    }
    return 0;
}

}  // namespace

void RegisterCoreProcedures(ProcedureRegistry& registry) {
    registry.add(QStringLiteral("spSaleIsInvoiceAvailable"), spSaleIsInvoiceAvailable);
    registry.add(QStringLiteral("spZelorHasPermission"), spZelorHasPermission);
    registry.add(QStringLiteral("spZelorInsertFormAction"), spZelorInsertFormAction);
    registry.add(QStringLiteral("spZelorUnRelateForms"), spZelorUnRelateForms);
    registry.add(QStringLiteral("spAssignedNonSoldQty"), spAssignedNonSoldQty);
    registry.add(QStringLiteral("spUpdateAssignedOrders"), spUpdateAssignedOrders);
}

}  // namespace si::erpdb
