#include "support/CreditFixtures.h"

#include "common/Jalali.h"
#include "common/Money.h"

namespace si::test {

namespace {

int insert(Session& s, const QString& sql, const Params& params) {
    return static_cast<int>(s.insertReturningId(sql, params));
}

QVariant rials(qint64 value) {
    return QVariant::fromValue(Money::fromRials(value));
}

QVariant orNull(int id) {
    return id > 0 ? QVariant(id) : QVariant();
}

}  // namespace

int AddCustomerAccount(Session& s, int organization) {
    const int account =
        insert(s,
               QStringLiteral("insert into tblAccount (Code, Title, IsClosed) values (?, ?, 0) "
                              "RETURNING ID"),
               {QStringLiteral("1103-%1").arg(organization), QStringLiteral("حساب مشتري")});
    s.exec(QStringLiteral("insert into tblAccountRelatedObjects (AccountID, RelatedClassID, "
                          "RelatedObjectID) values (?, 7, ?)"),
           {account, organization});
    return account;
}

void PostToAccount(Session& s, int account, qint64 debit, qint64 credit, const QDate& date,
                   bool preDocument) {
    const int document = insert(
        s,
        QStringLiteral("insert into tblAccountDocument (Code, DocumentDate, FarsiDocumentDate, "
                       "IsPreDocument) values (0, ?, ?, ?) RETURNING ID"),
        {date, getFarsiDate(date), preDocument ? 1 : 0});
    s.exec(QStringLiteral("insert into tblAccountDocumentDetail (DocumentID, RowNumber, AccountID, "
                          "TransactionDate, DebitValue, CreditValue) values (?, 1, ?, ?, ?, ?)"),
           {document, account, date, rials(debit), rials(credit)});
}

int AddFinalInvoice(Session& s, const FinalInvoice& f) {
    static int code = 0;
    return insert(
        s,
        QStringLiteral("insert into tblSaleInvoice (Code, CustomerID, CreateDate, FarsiCreateDate, "
                       "TotalValue, PromoterID, SaleOrderID, DistributionInvoiceID, IsPaidByCash) "
                       "values (?, ?, ?, ?, ?, ?, ?, ?, 0) RETURNING ID"),
        {f.temporary ? QVariant() : QVariant(++code), orNull(f.customer), f.date,
         getFarsiDate(f.date), rials(f.total), orNull(f.promoter), orNull(f.saleOrder),
         orNull(f.distributionInvoice)});
}

void AssignReceipt(Session& s, int invoice, qint64 value, bool invoiceIsReference) {
    static int receipt = 5000;
    ++receipt;
    const QString sql = QStringLiteral(
        "insert into tblZelorRelatedForms (ReferenceFormID, ReferenceFormTypeID, RelatedFormID, "
        "RelatedFormTypeID, AssignedValue) values (?, ?, ?, ?, ?)");
    if (invoiceIsReference)
        s.exec(sql, {invoice, 901, receipt, 205, rials(value)});
    else
        s.exec(sql, {receipt, 205, invoice, 901, rials(value)});
}

int AddSaleReturn(Session& s, int customer, int invoice, const QDate& date, qint64 total) {
    return insert(s,
                  QStringLiteral("insert into tblSaleReturn (CustomerID, SaleInvoiceID, "
                                 "CreateDate, FarsiCreateDate, TotalValue) values (?, ?, ?, ?, ?) "
                                 "RETURNING ID"),
                  {customer, orNull(invoice), date, getFarsiDate(date), rials(total)});
}

int AddSaleOrder(Session& s, int customer) {
    return insert(s,
                  QStringLiteral("insert into tblSaleOrder (CustomerID) values (?) RETURNING ID"),
                  {customer});
}

void AddSaleOrderLine(Session& s, int order, double qty, double price) {
    s.exec(QStringLiteral("insert into tblSaleOrderDetail (OrderID, Barcode, Qty, RetailPrice) "
                          "values (?, '1001', ?, ?)"),
           {order, QVariant::fromValue(Money::fromDouble(qty)),
            QVariant::fromValue(Money::fromDouble(price))});
}

int AddCashBox(Session& s, const QString& name) {
    return insert(s, QStringLiteral("insert into tblRecPayCash (Name) values (?) RETURNING ID"),
                  {name});
}

void AddCashMovement(Session& s, int cashBox, int account, const QDateTime& when, qint64 received,
                     qint64 payed, bool registered) {
    static int code = 0;
    const int turn = insert(s,
                            QStringLiteral("insert into tblRecPayCashTurn (CashID, Turn, IsOpen) "
                                           "values (?, 1, 0) RETURNING ID"),
                            {cashBox});
    s.exec(QStringLiteral("insert into tblRecPayCashTurnDetail (CashTurnID, Code, "
                          "TransactionDate, FarsiTransactionDate, ReceivedValue, PayedValue, "
                          "RelatedAccountID) values (?, ?, ?, ?, ?, ?, ?)"),
           {turn, registered ? QVariant(++code) : QVariant(), when, getFarsiDate(when.date()),
            rials(received), rials(payed), account});
}

int AddCustomerDegree(Session& s, const QString& name) {
    return insert(
        s,
        QStringLiteral("insert into tblOrganizationCustomerDegree (Name) values (?) RETURNING ID"),
        {name});
}

int AddCheckedCustomer(Session& s, const QString& name, int degree, bool checkCredit) {
    const int activity = insert(s,
                                QStringLiteral("insert into tblZelorWorkActivity (Name, "
                                               "IsCheckOrganizationCredit) values (?, ?) "
                                               "RETURNING ID"),
                                {QStringLiteral("پخش مويرگي"), checkCredit ? 1 : 0});
    return insert(s,
                  QStringLiteral("insert into tblOrganization (Name, WorkActivityID, "
                                 "CustomerDegreeID) values (?, ?, ?) RETURNING ID"),
                  {name, activity, orNull(degree)});
}

int AddCreditConstraint(Session& s, const QString& farsiBegin, const QString& farsiEnd) {
    return insert(s,
                  QStringLiteral("insert into tblOrganizationCreditConstraint (Name, "
                                 "FarsiBeginDate, FarsiEndDate) values (?, ?, ?) RETURNING ID"),
                  {QStringLiteral("سقف اعتباري"), farsiBegin, farsiEnd});
}

int AddConstraintDetail(Session& s, int constraint, int degree) {
    return insert(s,
                  QStringLiteral("insert into tblOrganizationCreditConstraintDetail "
                                 "(OrgCreditConstraintID, CustomerDegreeID) values (?, ?) "
                                 "RETURNING ID"),
                  {constraint, degree});
}

}  // namespace si::test
