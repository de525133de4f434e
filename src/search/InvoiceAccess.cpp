#include "search/InvoiceAccess.h"

namespace si {

SqlCondition BranchRestriction(const Context& ctx) {
    if (!ctx.params.flag(P::BranchLimited)) return {};
    const int user = ctx.globals.CurrentUserID;
    return {
        QStringLiteral(
            "vwSaleInvoiceSearch.BranchID is null or (Select u.BranchID from tblUser u Where "
            "u.ID = ?) is null or vwSaleInvoiceSearch.BranchID in (Select p.ChildID as "
            "BranchID from tblAccountBranchParent p Where p.ID = (Select coalesce(u.BranchID,-1) "
            "from tblUser u Where u.ID = ?) union Select u.BranchID from tblUser u Where u.ID = "
            "?)"),
        {user, user, user}};
}

SqlCondition PositionCustomersRestriction(const Context& ctx) {
    if (!ctx.params.flag(P::PositionCustomersOnly)) return {};
    return {
        QStringLiteral("vwSaleInvoiceSearch.CustomerID in (Select RelatedObjectID from "
                       "tblAccountRelatedObjects Where RelatedClassID = 7 and AccountID in "
                       "(select AccountID from vwAccountSecurePositions Where PositionID = ?))"),
        {ctx.globals.CurrentPositionID}};
}

SqlCondition InvoiceAccessRestriction(const Context& ctx) {
    return PositionCustomersRestriction(ctx) && BranchRestriction(ctx);
}

}  // namespace si
