// Procedures the invoice form needs from the first moment: invoice existence, rights, the
// form-event log and form links, and the sale-order quantities that lines consult.

#include <algorithm>

#include "common/EventChain.h"
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

// The rights of the list that the user holds: all of them for an active administrator, else
// those given to the user directly or to the position recorded for the user.
QVariantList heldPermissions(Session& s, int user, const QVariantList& rights) {
    if (rights.isEmpty()) return {};
    const QString list = QStringLiteral("?") + QStringLiteral(",?").repeated(rights.size() - 1);
    Params params;
    for (int copy = 0; copy < 2; ++copy)
        for (const QVariant& r : rights)
            params << r.toInt();
    params << user;
    const RowSet rows = s.query(
        QStringLiteral("select coalesce(u.IsAdmin, 0) as IsAdmin, p.PermissionID from tblUser u "
                       "left join (select UserID as Holder, 0 as ByPosition, PermissionID from "
                       "tblZelorUserPermission where PermissionID in (") +
            list +
            QStringLiteral(") union all select PositionID, 1, PermissionID from "
                           "tblZelorPositionPermission where PermissionID in (") +
            list +
            QStringLiteral(")) p on p.Holder = case when p.ByPosition = 1 then u.PositionID else "
                           "u.ID end where u.ID = ? and coalesce(u.IsActive, 1) = 1"),
        params);
    QVariantList held;
    for (const Row& row : rows) {
        if (row.toInt(u"IsAdmin") == 1) return rights;
        if (!row.value(u"PermissionID").isNull() && !held.contains(row.toInt(u"PermissionID")))
            held << row.toInt(u"PermissionID");
    }
    return held;
}

// @UserID, @FormPermissionID -> 1 when the user holds the right (heldPermissions).
QVariant spZelorHasPermission(Session& s, QVariantList& args) {
    const int right = ArgInt(args, 1, -1);
    return heldPermissions(s, ArgInt(args, 0, -1), {right}).isEmpty() ? 0 : 1;
}

// @UserID, @Permissions (a list) -> the listed rights the user holds, in one statement for a
// form that enables several controls by rights at once.
QVariant spZelorHeldPermissions(Session& s, QVariantList& args) {
    return heldPermissions(s, ArgInt(args, 0, -1), Arg(args, 1).toList());
}

// @EventTypeID, @FormCode, @FormTypeID, @Description, @UserID, @EventDate, @FarsiEventDate,
// @EventTime[, @ReasonSequence]: the reason is written with the event, never stamped on it later.
// The event is the next link of the signed chain (EventChain.h); without the key nothing is
// written.
QVariant spZelorInsertFormAction(Session& s, QVariantList& args) {
    AppendFormEvent(s, FormEventFromArguments(args));
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
    registry.add(QStringLiteral("spZelorHeldPermissions"), spZelorHeldPermissions);
    registry.add(QStringLiteral("spZelorInsertFormAction"), spZelorInsertFormAction);
    registry.add(QStringLiteral("spZelorUnRelateForms"), spZelorUnRelateForms);
    registry.add(QStringLiteral("spAssignedNonSoldQty"), spAssignedNonSoldQty);
    registry.add(QStringLiteral("spUpdateAssignedOrders"), spUpdateAssignedOrders);
}

}  // namespace si::erpdb
