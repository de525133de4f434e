#include "linked/InvoiceFromDispatch.h"

#include <QMetaObject>
#include <stdexcept>

#include "common/Codes.h"
#include "common/DeferredMessages.h"
#include "common/InvoiceSums.h"
#include "common/Jalali.h"
#include "common/Messages.h"

namespace si {

namespace {

// The type an invoice falls back to when no type's debit account belongs to the class.
constexpr int kFallbackInvoiceType = 3;

QVariant idOrNull(int id) {
    return id > 0 ? QVariant(id) : QVariant();
}

QString failureText(const QString& cause) {
    return QStringLiteral(
               "فاكتور از روي برگه خروج ايجاد نشد و هيچ تغييري در اطلاعات داده "
               "نشد. علت: ") +
           cause;
}

}  // namespace

QString InvoiceCreatedText(int invoiceId) {
    return QStringLiteral("فاكتور فروش  به شماره رايانهاي ") + QString::number(invoiceId) +
           QStringLiteral(" ايجاد شد");
}

struct InvoiceFromDispatch::Dispatch {
    int id = 0;
    bool temporary = false;  // no Code yet
    bool refersElsewhere = false;
    int organization = -1;
    int relatedClass = -1;
    int branch = -1;
    int inventory = -1;
};

std::optional<int> InvoiceFromDispatch::cmdOK(const DispatchLookup& lookup) {
    std::optional<int> created;
    try {
        const DeferredMessages afterTheLock(*ctx_.components);
        Transaction t = ctx_.db().writerTransaction();
        const std::optional<Dispatch> dispatch = readDispatch(lookup);
        if (const std::optional<QString> refused = refusal(dispatch)) {
            ShowMessage(ctx_, kErrorCaption, *refused);
            return std::nullopt;
        }
        created = create(*dispatch, lookup.createDate);
        t.commit();
    } catch (const SqlError& e) {
        ShowMessage(ctx_, kErrorCaption, failureText(e.driverText().trimmed()));
        return std::nullopt;
    } catch (const std::runtime_error& e) {
        ShowMessage(ctx_, kErrorCaption, failureText(QString::fromUtf8(e.what())));
        return std::nullopt;
    }
    ShowMessage(ctx_, kFinishedCaption, InvoiceCreatedText(*created));
    return created;
}

// By computer number; by code within the chosen warehouse, or among dispatches without one.
auto InvoiceFromDispatch::readDispatch(const DispatchLookup& lookup) -> std::optional<Dispatch> {
    bool numeric = false;
    const qlonglong number = lookup.number.trimmed().toLongLong(&numeric);
    if (!numeric) return std::nullopt;
    QString sql = QStringLiteral(
        "select ID, Code, FormID, FormTypeID, RelatedOrganizationID, RelatedClassID, BranchID, "
        "InventoryID from tblInventoryDispatch where ");
    Params params{number};
    if (!lookup.byCode) {
        sql += QStringLiteral("ID = ?");
    } else if (lookup.inventoryId > 0) {
        sql += QStringLiteral("Code = ? and InventoryID = ?");
        params << lookup.inventoryId;
    } else {
        sql += QStringLiteral("Code = ? and InventoryID is NULL");
    }
    const std::optional<Row> r = ctx_.db().first(sql + QStringLiteral(" order by ID"), params);
    if (!r) return std::nullopt;
    Dispatch d;
    d.id = r->toInt(u"ID");
    d.temporary = r->isNull(u"Code");
    d.refersElsewhere = !r->isNull(u"FormID") || !r->isNull(u"FormTypeID");
    d.organization = r->toInt(u"RelatedOrganizationID", -1);
    d.relatedClass = r->toInt(u"RelatedClassID", -1);
    d.branch = r->toInt(u"BranchID", -1);
    d.inventory = r->toInt(u"InventoryID", -1);
    return d;
}

// The four checks, in their order.
std::optional<QString> InvoiceFromDispatch::refusal(const std::optional<Dispatch>& dispatch) {
    if (!dispatch) return kNoSuchDispatch;
    if (dispatch->temporary) return kDispatchIsTemporary;
    if (dispatch->refersElsewhere) return kDispatchRefersElsewhere;
    if (dispatch->organization < 1 && !ctx_.params.flag(P::AccountObjects))
        return kDispatchWithoutOrganization;
    return std::nullopt;
}

int InvoiceFromDispatch::create(const Dispatch& d, const QDate& createDate) {
    const int id = insertInvoice(d, createDate);
    copyBranch(d, id);
    if (ctx_.params.flag(P::AccountObjects)) deriveTypeAndObject(d, id);
    copyInventory(d, id);
    copyLines(d, id);
    handOverTraces(d, id);
    linkDispatch(d, id);
    return id;
}

// A temporary invoice (no code) of the dispatch's organisation, a credit sale made from a dispatch.
int InvoiceFromDispatch::insertInvoice(const Dispatch& d, const QDate& createDate) {
    const bool objects = ctx_.params.flag(P::AccountObjects);
    const int customer = d.organization > 0 && !objects ? d.organization : -1;
    const QDate date = createDate.isValid() ? createDate : ctx_.db().today();
    QVariantList args{date,
                      getFarsiDate(date),
                      customer,
                      ctx_.globals.CurrentUserID,
                      QString(""),
                      QString(""),
                      0,
                      0.0,
                      QVariant::fromValue(Money()),
                      -1,
                      QVariant::fromValue(Money()),
                      QVariant::fromValue(Money()),
                      -1,
                      QVariant::fromValue(Money()),
                      -1,
                      false,
                      false,  // @IsPaidByCash: a credit sale
                      true,   // @IsFromDispatch
                      QVariant()};
    ctx_.db().call(QStringLiteral("spSaleInsertInvoice"), args);
    return args.last().toInt();
}

void InvoiceFromDispatch::copyBranch(const Dispatch& d, int invoiceId) {
    ctx_.db().exec(QStringLiteral("Update tblSaleInvoice Set BranchID = ? Where ID = ?"),
                   {idOrNull(d.branch), invoiceId});
}

// The first type whose debit account is an account of the dispatch's class, and the
// organisation as the invoice's first accounting object.
void InvoiceFromDispatch::deriveTypeAndObject(const Dispatch& d, int invoiceId) {
    ctx_.db().exec(
        QStringLiteral("Update tblSaleInvoice Set TypeID = coalesce((Select t.ID from "
                       "tblSaleInvoiceType t Where t.DebitAccountID in (Select rc.AccountID from "
                       "tblAccountRelatedClasses rc Where rc.ClassID = ? and rc.Sequence = 1) "
                       "order by t.ID limit 1), CAST(? AS INTEGER)), ObjectID1 = ? Where ID = ?"),
        {d.relatedClass, kFallbackInvoiceType, idOrNull(d.organization), invoiceId});
}

void InvoiceFromDispatch::copyInventory(const Dispatch& d, int invoiceId) {
    dispatchInventory_ = d.inventory;
    if (d.inventory < 1) return;
    ctx_.db().exec(QStringLiteral("Update tblSaleInvoice Set InventoryID = ? Where ID = ?"),
                   {d.inventory, invoiceId});
}

// One line per barcode and unit: the quantities summed, the goods' own price and standard
// discount, the smallest dispatch row number.
void InvoiceFromDispatch::copyLines(const Dispatch& d, int invoiceId) {
    Session& s = ctx_.db();
    s.exec(QStringLiteral(
               "Insert Into tblSaleInvoiceDetail (Qty, InvoiceID, Barcode, Description, "
               "DiscountPercent, RetailPrice, RowNumber, ScaleID) select sum(dd.ScaleQty), "
               "CAST(? AS INTEGER), dd.Barcode, '', max(coalesce(g.StandardDiscountPercent, 0)), "
               "max(coalesce(g.RetailPrice, 0)), min(dd.RowNumber), dd.ScaleID from "
               "tblInventoryDispatchDetail dd join tblGood g on g.Barcode = dd.Barcode where "
               "dd.DispatchID = ? group by dd.Barcode, dd.ScaleID"),
           {invoiceId, d.id});
    RefreshInvoiceSums(s, invoiceId);
}

// The inventory module's control hands the dispatch's trace rows over; a dispatch without any
// needs no control.
void InvoiceFromDispatch::handOverTraces(const Dispatch& d, int invoiceId) {
    Session& s = ctx_.db();
    if (!s.first(QStringLiteral("select ID from tblInventoryDispatchDetailTrace where "
                                "DispatchID = ? limit 1"),
                 {d.id}))
        return;
    const auto trace = ctx_.components->create(kDispatchTraceProgId);
    if (!trace) throw std::runtime_error("ماژول رديابي كالا نصب نشده است.");
    trace->setProperty("Session", QVariant::fromValue(static_cast<void*>(&s)));
    bool copied = false;
    const bool called =
        QMetaObject::invokeMethod(trace.get(), "CopyTraces", Q_RETURN_ARG(bool, copied),
                                  Q_ARG(int, FormType::InventoryDispatch), Q_ARG(int, d.id),
                                  Q_ARG(int, FormType::SaleInvoice), Q_ARG(int, invoiceId));
    if (!called) throw std::runtime_error("ماژول رديابي كالا انتقال رديابي را نمي شناسد.");
    if (!copied) throw std::runtime_error(trace->property("ErrorMessage").toString().toStdString());
}

void InvoiceFromDispatch::linkDispatch(const Dispatch& d, int invoiceId) {
    ctx_.db().exec(
        QStringLiteral("Update tblInventoryDispatch set FormID = ?, FormTypeID = ?, "
                       "Notes = substr(coalesce(Notes, '') || CAST(? AS VARCHAR(200)), 1, CAST(? "
                       "AS INTEGER)) Where ID = ?"),
        {invoiceId, FormType::SaleInvoice, DispatchLinkNote(invoiceId), kDispatchNotesLimit, d.id});
}

}  // namespace si
