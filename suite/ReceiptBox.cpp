#include "suite/ReceiptBox.h"

#include "common/Codes.h"
#include "common/Jalali.h"
#include "common/Session.h"

namespace si::suite {

QVector<CashBoxChoice> UserCashBoxes(Session& db, int userId) {
    QVector<CashBoxChoice> boxes;
    for (const Row& r : db.query(
             QStringLiteral("select c.ID, c.Name from tblRecPayCash c where coalesce(c.IsActive, "
                            "1) = 1 and c.AccountID is not null and exists (select 1 from "
                            "tblRecPayCashUser u where u.CashID = c.ID and u.UserID = ?) order by "
                            "c.Name, c.ID"),
             {userId}))
        boxes.append({r.toInt(u"ID"), r.text(u"Name")});
    return boxes;
}

QVector<AccountChoice> CustomerAccountChoices(Session& db) {
    QVector<AccountChoice> accounts;
    for (const Row& r : db.query(QStringLiteral(
             "select a.ID, a.Code, a.Title from tblAccount a where coalesce(a.IsClosed, 0) = 0 "
             "and exists (select 1 from tblAccountRelatedObjects o where o.AccountID = a.ID and "
             "o.RelatedClassID = 7) order by a.Code, a.ID")))
        accounts.append(
            {r.toInt(u"ID"), r.text(u"Code") + QStringLiteral(" - ") + r.text(u"Title")});
    return accounts;
}

QString ReceiptProblem(Session& db, const ReceiptEntry& e) {
    if (e.amount <= Money()) return QStringLiteral("مبلغ دريافت بايد بيشتر از صفر باشد.");
    const auto box = db.first(QStringLiteral("select c.AccountID from tblRecPayCash c where c.ID = "
                                             "? and exists (select 1 from tblRecPayCashUser u "
                                             "where u.CashID = c.ID and u.UserID = ?)"),
                              {e.cashId, e.userId});
    if (!box) return QStringLiteral("صندوق دريافت انتخاب نشده است.");
    if (box->isNull(u"AccountID")) return QStringLiteral("براي اين صندوق حسابي تعريف نشده است.");
    const auto account = db.first(
        QStringLiteral("select coalesce(IsClosed, 0) as IsClosed from tblAccount where ID = ?"),
        {e.accountId});
    if (!account) return QStringLiteral("حساب پرداخت كننده انتخاب نشده است.");
    if (account->toInt(u"IsClosed") == 1) return QStringLiteral("حساب پرداخت كننده بسته است.");
    if (box->toInt(u"AccountID") == e.accountId)
        return QStringLiteral("حساب صندوق و حساب پرداخت كننده يكي است.");
    return {};
}

namespace {

int insertDocument(Session& db, const ReceiptEntry& e, const QDateTime& now) {
    const QString farsi = getFarsiDate(now.date());
    const int code =
        db.scalar(QStringLiteral("select coalesce(max(Code), 0) + 1 from tblAccountDocument"))
            .toInt();
    const int dayNo = db.scalar(QStringLiteral("select coalesce(max(DayNo), 0) + 1 from "
                                               "tblAccountDocument where FarsiDocumentDate = ?"),
                                {farsi})
                          .toInt();
    return static_cast<int>(db.insertReturningId(
        QStringLiteral("insert into tblAccountDocument (Code, DayNo, CreatorID, CreateDate, "
                       "FarsiCreateDate, DocumentDate, FarsiDocumentDate, Value, Description, "
                       "IsFinalized, IsMerged, IsPreDocument) values (?,?,?,?,?,?,?,?,?,0,0,0) "
                       "RETURNING ID"),
        {code, dayNo, e.userId, now, farsi, now, farsi, QVariant::fromValue(e.amount),
         e.description}));
}

void insertRow(Session& db, int document, int row, int account, Money debit, Money credit,
               const ReceiptEntry& e, const QDateTime& now) {
    db.exec(QStringLiteral("insert into tblAccountDocumentDetail (DocumentID, RowNumber, "
                           "AccountID, TransactionDate, FarsiTransactionDate, Description, "
                           "DebitValue, CreditValue, FormID, FormTypeID) values "
                           "(?,?,?,?,?,?,?,?,?,?)"),
            {document, row, account, now, getFarsiDate(now.date()), e.description,
             QVariant::fromValue(debit), QVariant::fromValue(credit), document, kReceiptFormType});
}

// The receipt as a row of the user's open turn of the box, in a shop; none otherwise. Its code
// is the document's, so the customer's credit counts it as a repayment.
void insertTurnRow(Session& db, int document, const ReceiptEntry& e, const QDateTime& now) {
    const QVariant shop =
        db.scalar(QStringLiteral("select Value from tblZelorSystemParameters where ID = 3"));
    if (shop.toString().trimmed() != QStringLiteral("1")) return;
    const auto turn = db.first(QStringLiteral("select ID from tblRecPayCashTurn where CashID = ? "
                                              "and UserID = ? and IsOpen = 1"),
                               {e.cashId, e.userId});
    if (!turn) return;
    const QVariant code =
        db.scalar(QStringLiteral("select Code from tblAccountDocument where ID = ?"), {document});
    db.exec(QStringLiteral("insert into tblRecPayCashTurnDetail (CashTurnID, Code, "
                           "TransactionDate, FarsiTransactionDate, Description, ReceivedValue, "
                           "PayedValue, RelatedAccountID, FormID, FormTypeID, UserID) values "
                           "(?,?,?,?,?,?,?,?,?,?,?)"),
            {turn->value(u"ID"), code, now, getFarsiDate(now.date()), e.description,
             QVariant::fromValue(e.amount), QVariant::fromValue(Money()), e.accountId, document,
             kReceiptFormType, e.userId});
}

}  // namespace

int RecordReceipt(Session& db, const ReceiptEntry& e) {
    // The writer lock: the next document code is read and written back.
    Transaction t = db.writerTransaction();
    const QDateTime now = db.now();
    const int boxAccount =
        db.scalar(QStringLiteral("select AccountID from tblRecPayCash where ID = ?"), {e.cashId})
            .toInt();
    const int document = insertDocument(db, e, now);
    insertRow(db, document, 1, boxAccount, e.amount, Money(), e, now);
    insertRow(db, document, 2, e.accountId, Money(), e.amount, e, now);
    insertTurnRow(db, document, e, now);
    if (e.formTypeId > 0 && e.formId > 0)
        db.exec(QStringLiteral("insert into tblZelorRelatedForms (ReferenceFormID, "
                               "ReferenceFormTypeID, RelatedFormID, RelatedFormTypeID, "
                               "AssignedValue, CreatorID, CreateDate, FarsiCreateDate) values "
                               "(?,?,?,?,?,?,?,?)"),
                {e.formId, e.formTypeId, document, kReceiptFormType, QVariant::fromValue(e.amount),
                 e.userId, now, getFarsiDate(now.date())});
    t.commit();
    return document;
}

QString ReceiptDescription(int formTypeId, int formId) {
    if (formTypeId == FormType::SaleInvoice && formId > 0)
        return QStringLiteral("دريافت بابت فاكتور فروش %1").arg(formId);
    return QStringLiteral("دريافت وجه");
}

}  // namespace si::suite
