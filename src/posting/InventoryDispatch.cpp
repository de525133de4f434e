#include "posting/InventoryDispatch.h"

#include "common/Jalali.h"
#include "common/Messages.h"
#include "invoice/BilledParty.h"
#include "posting/DispatchNotes.h"

namespace si {

namespace {

QVariant orNull(int id) {
    return id > 0 ? QVariant(id) : QVariant();
}

}  // namespace

// Dispatch codes run per inventory (over all of them for an invoice without one) in receive-date
// order, within the active period when parameter 78 is on.
struct InventoryDispatch::Numbering {
    int inventory = -1;
    QDate date;
    bool byPeriod = false;
    QDate periodBegin;
    QDate periodEnd;

    QString condition(Params& params) const {
        QString sql;
        if (inventory > 0) {
            sql += QStringLiteral(" and InventoryID = ?");
            params << inventory;
        }
        if (byPeriod) {
            sql += QStringLiteral(" and ReceiveDate >= ? and ReceiveDate <= ?");
            params << periodBegin << periodEnd;
        }
        return sql;
    }
};

InventoryDispatch::InventoryDispatch(Context& ctx, InvoiceToPost invoice)
    : ctx_(ctx), invoice_(std::move(invoice)) {}

QString InventoryDispatch::note() const {
    return DispatchInvoiceNote(invoice_.id());
}

// InventoryID, CreatorID, ReceiveDate, FarsiReceiveDate, SenderEmployeeID, ReceiverEmployeeID,
// RelatedClassID, RelatedOrganizationID, TypeID, FormID, CreateDate, FarsiCreateDate, Notes,
// ContractID, BranchID.
QVariantList InventoryDispatch::headerValues() {
    const InvoiceHeader& h = header();
    const QDate date = h.createDate;
    const QVariant dateOrNull = date.isValid() ? QVariant(date) : QVariant();
    const QVariant farsiOrNull = date.isValid() ? QVariant(getFarsiDate(date)) : QVariant();
    const std::optional<AccountingObject> related = DispatchRelatedParty(invoice_.parties);
    const QVariant relatedClass = related ? QVariant(related->classId) : QVariant();
    const QVariant relatedObject = related ? QVariant(related->id) : QVariant();
    if (!dispatchType_)
        dispatchType_ = ctx().db().scalar(
            QStringLiteral("select DispatchTypeID from tblSaleInvoiceType where ID = ?"),
            {h.typeId});
    const QVariant dispatchType = *dispatchType_;
    return {orNull(h.inventoryId),
            ctx().globals.CurrentUserID,
            dateOrNull,
            farsiOrNull,
            orNull(invoice_.inventoryResponsibleId),
            orNull(h.promoterId),
            relatedClass,
            relatedObject,
            dispatchType,
            invoice_.id(),
            dateOrNull,
            farsiOrNull,
            note(),
            orNull(h.contractId),
            orNull(h.branchId)};
}

std::optional<InventoryDispatch::StoredDispatch> InventoryDispatch::storedDispatch() {
    auto row = ctx().db().first(QStringLiteral("Select ID,Code,InventoryID from "
                                               "tblInventoryDispatch Where FormTypeID=? and "
                                               "FormID=? order by ID"),
                                {FormType::SaleInvoice, invoice_.id()});
    if (!row) return std::nullopt;
    return StoredDispatch{row->toInt(u"ID"), row->value(u"Code"), row->toInt(u"InventoryID", -1)};
}

// The new dispatch starts with code 1.
InventoryDispatch::StoredDispatch InventoryDispatch::insertDispatch() {
    const QVariantList values = headerValues();
    const qint64 id = ctx().db().insertReturningId(
        QStringLiteral("insert into tblInventoryDispatch (Code,InventoryID,CreatorID,ReceiveDate,"
                       "FarsiReceiveDate,SenderEmployeeID,ReceiverEmployeeID,RelatedClassID,"
                       "RelatedOrganizationID,TypeID,FormID,FormTypeID,CreateDate,"
                       "FarsiCreateDate,Notes,ContractID,BranchID) values "
                       "(1,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?) RETURNING ID"),
        values.mid(0, 10) + QVariantList{FormType::SaleInvoice} + values.mid(10));
    return StoredDispatch{static_cast<int>(id), 1,
                          values.first().isNull() ? -1 : values.first().toInt()};
}

int InventoryDispatch::SaveRelExitDoc() {
    dispatchType_.reset();
    const std::optional<StoredDispatch> before = storedDispatch();
    const std::optional<StoredDispatch> dispatch = before ? before : insertDispatch();
    if (!dispatch) {
        ShowMessage(ctx(), QStringLiteral("اشكال در درج برگ خروج"),
                    QStringLiteral("در درج برگ خروج اشكال پيش آمد, به نگهدارنده سيستم مراجعه "
                                   "فرماييد!"));
        return 0;
    }
    Numbering n;
    n.inventory = header().inventoryId;
    n.date = header().createDate;
    n.byPeriod = ctx().params.flag(P::PeriodDates);
    n.periodBegin = ctx().period.beginDate;
    n.periodEnd = ctx().period.endDate;
    if (before) closeGapOf(*before);
    const int code = nextCode(dispatch->id, n);
    makeRoom(dispatch->id, code, n);
    if (isFromDispatch())
        relabel(dispatch->id, code);
    else
        rewrite(dispatch->id, code);
    linkForms(dispatch->id);
    return dispatch->id;
}

// A dispatch saved again leaves its old place first, so that the codes after it close up and it
// is numbered afresh from the invoice date without a gap or a double.
void InventoryDispatch::closeGapOf(const StoredDispatch& dispatch) {
    Session& s = ctx().db();
    if (dispatch.code.isNull()) return;
    Numbering old;
    old.inventory = dispatch.inventory;
    old.byPeriod = ctx().params.flag(P::PeriodDates);
    old.periodBegin = ctx().period.beginDate;
    old.periodEnd = ctx().period.endDate;
    Params params{dispatch.id, dispatch.code.toInt()};
    const QString range = old.condition(params);
    s.exec(QStringLiteral("Update tblInventoryDispatch set Code=Code - 1 where ID<>? and Code is "
                          "not Null and Code > ?") +
               range,
           params);
    s.exec(QStringLiteral("Update tblInventoryDispatch set Code=NULL where ID=?"), {dispatch.id});
}

// The highest code up to the date, not the code of the latest-dated dispatch: dispatches made out
// of date order would otherwise give a code already taken.
int InventoryDispatch::nextCode(int dispatchId, const Numbering& n) {
    Params params{dispatchId, n.date};
    const QString range = n.condition(params);
    const QVariant highest = ctx().db().scalar(
        QStringLiteral("select coalesce(max(Code),0) from tblInventoryDispatch where ID<>? and "
                       "Code is not Null and ReceiveDate <= ?") +
            range,
        params);
    return 1 + highest.toInt();
}

// Later-dated dispatches move up by one.
void InventoryDispatch::makeRoom(int dispatchId, int code, const Numbering& n) {
    Params params{dispatchId, code, n.date};
    const QString range = n.condition(params);
    ctx().db().exec(QStringLiteral("Update tblInventoryDispatch set Code=Code + 1 where ID<>? and "
                                   "Code is not Null and Code >= ? and ReceiveDate > ?") +
                        range,
                    params);
}

// A new invoice was just written as one not made from a dispatch.
bool InventoryDispatch::isFromDispatch() {
    if (invoice_.enteredNow) return false;
    return ctx()
               .db()
               .scalar(QStringLiteral("select coalesce(IsFromDispatch,0) from tblSaleInvoice "
                                      "Where ID=?"),
                       {invoice_.id()})
               .toInt() == 1;
}

// The invoice was made from this dispatch: it keeps its goods and only takes the invoice's
// number, link and branch; the note is appended once.
void InventoryDispatch::relabel(int dispatchId, int code) {
    Session& s = ctx().db();
    QString notes =
        s.scalar(QStringLiteral("select Notes from tblInventoryDispatch where ID=?"), {dispatchId})
            .toString();
    if (!notes.contains(note())) notes += note();
    s.exec(
        QStringLiteral("update tblInventoryDispatch Set Code=?, FormID=?, FormTypeID=?, "
                       "Notes=?, BranchID=? Where ID=?"),
        {code, invoice_.id(), FormType::SaleInvoice, notes, orNull(header().branchId), dispatchId});
}

void InventoryDispatch::rewrite(int dispatchId, int code) {
    Session& s = ctx().db();
    const QVariantList header = headerValues();
    QVariantList values{code};
    values << header.mid(0, 10) << FormType::SaleInvoice << header.mid(10) << dispatchId;
    s.exec(QStringLiteral("update tblInventoryDispatch Set Code=?, InventoryID=?, CreatorID=?, "
                          "ReceiveDate=?, FarsiReceiveDate=?, SenderEmployeeID=?, "
                          "ReceiverEmployeeID=?, RelatedClassID=?, RelatedOrganizationID=?, "
                          "TypeID=?, FormID=?, FormTypeID=?, CreateDate=?, FarsiCreateDate=?, "
                          "Notes=?, ContractID=?, BranchID=? Where ID=?"),
           values);
    const int invoice = invoice_.id();
    s.exec(QStringLiteral("DELETE FROM tblInventoryDispatchDetailTrace Where DispatchID=?"),
           {dispatchId});
    s.exec(QStringLiteral("DELETE FROM tblInventoryDispatchDetail Where DispatchID=?"),
           {dispatchId});
    // One row per barcode and unit, however many lines carry them.
    s.exec(QStringLiteral("insert into tblInventoryDispatchDetail (DispatchID,Barcode,Qty,ScaleID,"
                          "ScaleQty,Description) Select CAST(? AS INTEGER), sd.Barcode, "
                          "sum(sd.Qty), sd.ScaleID, sum(sd.Qty), "
                          "coalesce(max(coalesce(sd.Description,'')),'') from "
                          "tblSaleInvoiceDetail sd where sd.InvoiceID=? Group By sd.Barcode, "
                          "sd.ScaleID"),
           {dispatchId, invoice});
    s.exec(QStringLiteral("insert into tblInventoryDispatchDetailTrace (DispatchID, Barcode, "
                          "ScaleID, TracePropertyTypeID1, TracePropertyTypeID2, "
                          "TracePropertyTypeID3, TracePropertyTypeID4, Qty, ScaleQty, Sequence) "
                          "select CAST(? AS INTEGER), Barcode, ScaleID, "
                          "Max(TracePropertyTypeID1), Max(TracePropertyTypeID2), "
                          "Max(TracePropertyTypeID3), Max(TracePropertyTypeID4), sum(Qty), "
                          "sum(ScaleQty), Max(Sequence) From tblSaleInvoiceDetailTrace Where "
                          "InvoiceID = ? Group by Barcode, ScaleID"),
           {dispatchId, invoice});
}

// The link 901 -> 802, once.
void InventoryDispatch::linkForms(int dispatchId) {
    const Params link{invoice_.id(), FormType::SaleInvoice, dispatchId,
                      FormType::InventoryDispatch};
    ctx().db().exec(
        QStringLiteral("Insert into tblZelorRelatedForms (ReferenceFormID,ReferenceFormTypeID,"
                       "RelatedFormID,RelatedFormTypeID) select CAST(? AS INTEGER), CAST(? AS "
                       "INTEGER), CAST(? AS INTEGER), CAST(? AS INTEGER) where not exists (select "
                       "1 from tblZelorRelatedForms x Where x.ReferenceFormID=? and "
                       "x.ReferenceFormTypeID=? and x.RelatedFormID=? and x.RelatedFormTypeID=?)"),
        link + link);
}

QVector<int> InventoryDispatch::DispatchesOfInvoice(Context& ctx, int invoiceId) {
    QVector<int> ids;
    for (const Row& r : ctx.db().query(QStringLiteral("Select ID from tblInventoryDispatch where "
                                                      "FormTypeID=? and FormID=? order by ID"),
                                       {FormType::SaleInvoice, invoiceId}))
        ids << r.toInt(u"ID");
    if (ids.isEmpty())
        ShowMessage(ctx, kErrorCaption,
                    QStringLiteral("برگه خروجي از روي اين فاکتور فروش كالا صادر نشده است."));
    return ids;
}

}  // namespace si
