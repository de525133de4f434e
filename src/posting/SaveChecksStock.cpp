// The later checks of SaveInvoice: customer access, goods for sale, stock, traced
// goods, and for a final credit sale the customer's account and debit ceiling; then the cash turn
// of the store version.

#include <QHash>
#include <QSet>

#include "common/Codes.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "common/Stock.h"
#include "invoice/BilledParty.h"
#include "invoice/InvoiceServices.h"
#include "posting/SaveFront.h"
#include "posting/SaveRun.h"

namespace si {

namespace {
const QString kWarning = QStringLiteral("هشدار");
}  // namespace

// The user's access to the customer (parameter 67).
bool SaveRun::CheckCustomerAccess() {
    Session& s = ctx_.db();
    const int rule = ctx_.params.number(P::CustomerAccessRule);
    bool secured = rule == 1;
    if (rule == 2) {
        const QVariant type =
            s.scalar(QStringLiteral("Select SecurityTypeID From tblZelorFormType Where ID = ?"),
                     {FormType::Customer});
        secured = !type.isNull() && type.toInt() != 0;
    }
    if (!secured) return true;
    if (s.first(QStringLiteral("Select ID from tblZelorAllowablePosition Where SecureUserID = ? "
                               "and FormTypeID = ? and FormID = ? limit 1"),
                {ctx_.globals.CurrentUserID, FormType::Customer, doc_.sltCustomer.ID()}))
        return true;
    return stop(kErrorCaption,
                QStringLiteral("شما مجاز به ثبت فاكتور فروش كالا براي اين مشتري نيستيد."));
}

// Goods for sale (outside the store version): the rule of IsForSale (no not-for-sale mark of the
// goods in the inventory), asked once for every barcode of the invoice.
bool SaveRun::CheckForSale() {
    if (shopMode()) return true;
    const QVector<int> rows = doc_.flexDetail.filledRows();
    if (rows.isEmpty()) return true;
    Params params{doc_.sltInventory.ID()};
    for (int row : rows)
        params << doc_.flexDetail.line(row).BarCode.trimmed();
    const QString marks = QStringLiteral("?,").repeated(rows.size()).chopped(1);
    QSet<QString> notForSale;
    for (const Row& r : ctx_.db().query(
             QStringLiteral("Select distinct Barcode from tblInventoryGoodInfo Where InventoryID = "
                            "? and coalesce(NotForSale, 0) = 1 and Barcode in (") +
                 marks + QStringLiteral(")"),
             params))
        notForSale.insert(r.text(u"Barcode"));
    for (int row : rows) {
        const QString barcode = doc_.flexDetail.line(row).BarCode.trimmed();
        if (notForSale.contains(barcode))
            return stop(kErrorCaption, QStringLiteral("كالا با كد ميلهاي ") + barcode +
                                           QStringLiteral(" قابل فروش نمي باشد. "));
    }
    return true;
}

// Stock by parameter 13. Stock is kept in base units, so a row is compared by its quantity in base
// units (column 9); for a unit of factor 1 that is column 7 itself. The stock of every barcode is
// read in one statement.
bool SaveRun::CheckStock() {
    stockMark_ = ctx_.db().commitMark();
    const std::optional<QString> shortage = StockShortage();
    return !shortage || stop(kErrorCaption, *shortage);
}

// The message of the first row that asks for more than the stock; none when every row fits.
std::optional<QString> SaveRun::StockShortage() {
    Session& s = ctx_.db();
    const int inventory = doc_.sltInventory.ID();
    doc_.inventory.InvCE =
        s.scalar(QStringLiteral("Select coalesce(CheckExistance, 0) as InvCE From tblInventory "
                                "Where ID = ?"),
                 {inventory})
            .toInt();
    doc_.dtpTempDate = s.today();
    const int rule = ctx_.params.number(P::StockRule);
    if (rule != 1 && !(rule == 2 && doc_.inventory.InvCE != 0)) return std::nullopt;
    const QVector<int> rows = doc_.flexDetail.filledRows();
    QStringList barcodes;
    for (int row : rows)
        barcodes << doc_.flexDetail.line(row).BarCode.trimmed();
    const QDate asOf = doc_.datCreateDate.isValid() ? doc_.datCreateDate : s.today();
    const QHash<QString, double> stock =
        InventoryStocks(ctx_, inventory, barcodes, asOf, invoiceID());
    for (int row : rows) {
        const InvoiceLine& l = doc_.flexDetail.line(row);
        const QString barcode = l.BarCode.trimmed();
        const double available = stock.value(barcode, 0);
        const double wanted = l.BaseQty > 0 ? l.BaseQty : l.Qty;
        if (wanted <= available + 1e-9) continue;
        QString text = QStringLiteral("تعداد كالا با كد ميلهاي ") + barcode +
                       QStringLiteral(" از تعداد موجودي بيشتر است.");
        if (ctx_.params.flag(P::ShowStock))
            text += QStringLiteral(" تعداد موجودي برابر ") + QString::number(available) +
                    QStringLiteral(" است.");
        return text;
    }
    return std::nullopt;
}

QObject* SaveRun::trace() {
    if (!trace_ && !traceMissing_) {
        trace_ = ctx_.components->create(kInventoryTraceProgId);
        traceMissing_ = !trace_;
        if (trace_)
            trace_->setProperty("Session", QVariant::fromValue(static_cast<void*>(&ctx_.db())));
    }
    return trace_.get();
}

// Traced goods: the trace control judges each row; it names the reason itself.
bool SaveRun::CheckTraces() {
    if (wholesale_ || !trace()) return true;
    for (int row : doc_.flexDetail.filledRows()) {
        const InvoiceLine& l = doc_.flexDetail.line(row);
        bool ok = true;
        QMetaObject::invokeMethod(
            trace_.get(), "CheckRow", Q_RETURN_ARG(bool, ok), Q_ARG(int, FormType::SaleInvoice),
            Q_ARG(int, invoiceID()), Q_ARG(int, doc_.sltInventory.ID()),
            Q_ARG(QDate, doc_.datCreateDate), Q_ARG(QString, l.BarCode.trimmed()),
            Q_ARG(double, l.Qty), Q_ARG(int, l.ScaleID));
        if (ok) continue;
        const QString reason = trace_->property("ErrorMessage").toString();
        if (!reason.isEmpty()) ShowMessage(ctx_, kErrorCaption, reason);
        front_.focus(QStringLiteral("flexDetail"));
        return false;
    }
    return true;
}

// A final credit sale: the customer's open leaf account, or its closed object.
bool SaveRun::CheckCustomerAccount() {
    if (!IsFinal_ || !IsCreditSale()) return true;
    Session& s = ctx_.db();
    bool open = false;
    QString notes;
    if (!ctx_.params.flag(P::AccountObjects)) {
        const auto row = s.first(
            QStringLiteral(
                "Select coalesce(r.AccountID, -1) as CustAccountID from "
                "tblAccountAutomaticDocFormat f, tblAccountRelatedObjects r Where r.AccountID in "
                "(Select ID from tblAccount where IsClosed = 0) and not exists (Select 1 from "
                "tblAccount where ParentID = r.AccountID) and f.AccountGroupID = r.AccountGroupID "
                "and r.RelatedClassID = 7 and f.ClassID = 7 and f.AutomaticEventID = 201 and "
                "f.AccountNatureID = 0 and r.RelatedObjectID = ? limit 1"),
            {doc_.sltCustomer.ID()});
        open = row.has_value();
        customerAccountID_ = row ? row->toInt(u"CustAccountID", -1) : -1;
    } else {
        const AccountingObject object = ClosedStateObject(BilledParties::of(doc_));
        const auto closed =
            s.first(QStringLiteral("Select Notes from tblAccountClosedObjects Where ClassID = ? "
                                   "and ObjectID = ? limit 1"),
                    {object.classId, object.id});
        open = !closed.has_value();
        if (closed) notes = closed->text(u"Notes");
    }
    if (open) return true;
    const QString text = QStringLiteral(
                             "مشتري انتخاب شده حساب باز ندارد. از اينرو امكان ثبت سند حسابداري "
                             "متناظر با اين فاكتور فروش كالا وجود ندارد. توضيح بيشتر: ") +
                         notes;
    if (ctx_.params.flag(P::WarnNoOpenAccount)) return stop(kWarning, text);
    return AskedYes(ctx_, kWarning, text + QStringLiteral(".آيا ادامه ميدهيد؟"));
}

// The debit-ceiling message; empty when the ceiling holds.
QString SaveRun::DebitCeilingMessage(bool object2WhenObject1IsCustomer) {
    Session& s = ctx_.db();
    const Money total = doc_.totals.GrandTotal;
    if (!ctx_.params.flag(P::AccountObjects)) {
        QVariantList args{customerAccountID_, QVariant::fromValue(total), QString()};
        s.call(QStringLiteral("spAccountGetAccountMaxDebit"), args);
        return args.value(2).toString();
    }
    const AccountingObject object =
        DebitCeilingObject(BilledParties::of(doc_),
                           object2WhenObject1IsCustomer ? CeilingUse::Ask : CeilingUse::Refuse);
    QVariantList args{doc_.accounts.DebitAccountID, object.classId, object.id,
                      QVariant::fromValue(total), QString()};
    s.call(QStringLiteral("spAccountMaxDebit_NewAccount"), args);
    return args.value(4).toString();
}

// Parameter 93 at 2 without right 90111: a debit past the ceiling refuses the save outright
// (otherwise the clerk is asked, or nothing is checked).
bool SaveRun::DebitCeilingRefuses() const {
    return IsFinal_ && IsCreditSale() && ctx_.params.number(P::CreditControl) == 2 &&
           !HasRight(ctx_, Right::PastDebitCeiling);
}

// A final credit sale: the debit ceiling, by parameter 93.
bool SaveRun::CheckDebitCeiling() {
    if (!IsFinal_ || !IsCreditSale()) return true;
    const int rule = ctx_.params.number(P::CreditControl);
    if (rule != 1 && rule != 2) return true;
    if (!DebitCeilingRefuses()) {
        const QString message = DebitCeilingMessage(true);
        if (message.trimmed().isEmpty()) return true;
        return AskedYes(ctx_, kWarning, message + QStringLiteral(" آيا ادامه ميدهيد؟"));
    }
    const QString message = DebitCeilingMessage(false);
    if (message.trimmed().isEmpty()) return true;
    return stop(kWarning,
                message + QStringLiteral(" از اينرو امكان ثبت نهايي فاكتور فروش كالا وجود ندارد."));
}

// The store version's cash turn, through the cash-turn logic.
bool SaveRun::CheckCashTurn() {
    if (!shopMode() || !IsCashSale()) return true;
    return seams_.CheckCashTurn();
}

// A final save outside the store version: no finalised accounting document after the date.
bool SaveRun::CheckFinalizedDocuments() {
    if (!IsFinal_ || shopMode()) return true;
    if (!ctx_.db().first(QStringLiteral("Select ID from tblAccountDocument where IsFinalized = 1 "
                                        "and DocumentDate > ? limit 1"),
                         {doc_.datCreateDate}))
        return true;
    return stop(kErrorCaption,
                QStringLiteral("تاريخ تحويل قبل از تاريخ اسناد نهايي شده مالي است."));
}

}  // namespace si
