#include "posting/CashTurnBooking.h"

#include "common/Codes.h"
#include "common/Jalali.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "invoice/InvoiceDocument.h"

namespace si {

namespace {

// The account of group 1 that no class or object owns: the cash sales' counter account.
QVariant defaultRelatedAccount(Session& s) {
    const auto row = s.first(
        QStringLiteral("Select coalesce(AccountID, -1) as AccountID from tblAccountRelatedObjects "
                       "Where RelatedClassID Is NULL and RelatedObjectID Is NULL and "
                       "AccountGroupID = 1 order by AccountID limit 1"));
    const int account = row ? row->toInt(u"AccountID", -1) : -1;
    return account == -1 ? QVariant() : QVariant(account);
}

int codeOf(const InvoiceDocument& doc) {
    bool ok = false;
    const int code = doc.txtCode.trimmed().toInt(&ok);
    return ok ? code : -1;
}

}  // namespace

qint64 OpenCashTurnID(Session& session, int cashId, int turn) {
    const auto row = session.first(QStringLiteral("Select ID from tblRecPayCashTurn Where IsOpen "
                                                  "= 1 and CashID = ? and Turn = ? limit 1"),
                                   {cashId, turn});
    return row ? row->toInt64(u"ID") : 0;
}

bool CashTurnBooking::CheckCashTurn() {
    if (doc_.Turn < 1 && doc_.CashID < 1) {
        ShowMessage(ctx_, kErrorCaption, kNoOpenCashTurn);
        return false;
    }
    if (OpenCashTurnID(ctx_.db(), doc_.CashID, doc_.Turn) == 0) {
        ShowMessage(ctx_, kErrorCaption, kCashTurnClosed);
        return false;
    }
    return true;
}

int CashTurnBooking::SaveCashTurnDetail() {
    Session& s = ctx_.db();
    const QVariant account = defaultRelatedAccount(s);
    if (doc_.CashID == -1 || doc_.Turn == -1) return -1;
    const qint64 turnId = OpenCashTurnID(s, doc_.CashID, doc_.Turn);
    if (turnId == 0) return -1;
    const int invoice = doc_.invoiceID();
    const QDateTime date(doc_.datCreateDate, QTime(0, 0));
    return static_cast<int>(s.insertReturningId(
        QStringLiteral("Insert Into tblRecPayCashTurnDetail (CashTurnID, Code, TransactionDate, "
                       "FarsiTransactionDate, Description, ReceivedValue, PayedValue, "
                       "RelatedAccountID, FormID, FormTypeID, UserID) Values (?, ?, ?, ?, ?, ?, "
                       "0, ?, ?, ?, ?) RETURNING ID"),
        {turnId, codeOf(doc_), date, getFarsiDate(doc_.datCreateDate),
         QStringLiteral("دريافتي به ازاي فاكتور به شماره رايانهاي ") + QString::number(invoice),
         QVariant::fromValue(doc_.totals.GrandTotal), account, invoice, FormType::SaleInvoice,
         ctx_.globals.CurrentUserID}));
}

std::vector<std::pair<QString, QString>> CashContentsLabels(const CashTurnContents& c) {
    const auto count = [](int n) { return FormatAmount(Money::fromRials(n)); };
    return {{QStringLiteral("lblCashID"), QString::number(c.turn)},
            {QStringLiteral("lblCreator"), QString::number(c.creatorUserId)},
            {QStringLiteral("lblOpenDate"), c.openDate},
            {QStringLiteral("lblCloseDate"), c.closeDate},
            {QStringLiteral("lblReceive"), FormatAmount(c.received)},
            {QStringLiteral("lblPay"), FormatAmount(c.payed)},
            {QStringLiteral("lblInvoicesNum"), count(c.invoices)},
            {QStringLiteral("lblTotalValue"), FormatAmount(c.invoicesValue)},
            {QStringLiteral("lblDiscount"), FormatAmount(c.invoicesDiscount)},
            {QStringLiteral("lblTotalRecValue"), FormatAmount(c.invoicesReceived)},
            {QStringLiteral("lblReturnsNum"), count(c.returns)},
            {QStringLiteral("lblTotalReturnValue"), FormatAmount(c.returnsValue)},
            {QStringLiteral("lblRemNum"), count(c.remainingCount())},
            {QStringLiteral("lblTotalRemValue"), FormatAmount(c.remainingValue())}};
}

std::optional<CashTurnContents> ReadCashTurnContents(Session& s, int userId, int cashId, int turn) {
    const auto row =
        s.first(QStringLiteral("select ID, Turn, UserID, FarsiOpenDate, FarsiCloseDate from "
                               "tblRecPayCashTurn where UserID = ? and Turn = ? and CashID = ? "
                               "order by ID desc limit 1"),
                {userId, turn, cashId});
    if (!row) return std::nullopt;
    CashTurnContents c;
    c.turnId = row->toInt64(u"ID");
    c.turn = row->toInt(u"Turn");
    c.creatorUserId = row->toInt(u"UserID");
    c.openDate = row->text(u"FarsiOpenDate");
    c.closeDate = row->text(u"FarsiCloseDate");
    const Row money =
        *s.first(QStringLiteral("Select coalesce(Sum(coalesce(ReceivedValue, 0)), 0) as Received, "
                                "coalesce(Sum(coalesce(PayedValue, 0)), 0) as Payed From "
                                "tblRecPayCashTurnDetail where CashTurnID = ?"),
                 {c.turnId});
    c.received = money.money(u"Received");
    c.payed = money.money(u"Payed");
    const Row sales = *s.first(
        QStringLiteral(
            "Select count(ID) as TotalQty, coalesce(sum(coalesce(DiscountValue, 0)), 0) as "
            "TotalDiscountValue, coalesce(sum(coalesce(PureTotalValue, 0) + "
            "coalesce(DiscountValue, 0)), 0) as TotalValue, coalesce(sum(coalesce(PureTotalValue, "
            "0)), 0) as TotalReceivedValue from tblSaleInvoice where Code is not null and ID in "
            "(Select FormID from tblRecPayCashTurnDetail where CashTurnID = ? and FormTypeID = ?)"),
        {c.turnId, FormType::SaleInvoice});
    c.invoices = sales.toInt(u"TotalQty");
    c.invoicesValue = sales.money(u"TotalValue");
    c.invoicesDiscount = sales.money(u"TotalDiscountValue");
    c.invoicesReceived = sales.money(u"TotalReceivedValue");
    const Row returns = *s.first(
        QStringLiteral("Select count(ID) as TotalQty, coalesce(sum(coalesce(PureTotalValue, 0)), "
                       "0) as TotalPayedValue from tblSaleReturn where Code is not null and ID in "
                       "(Select FormID from tblRecPayCashTurnDetail where CashTurnID = ? and "
                       "FormTypeID = ?)"),
        {c.turnId, FormType::SaleReturn});
    c.returns = returns.toInt(u"TotalQty");
    c.returnsValue = returns.money(u"TotalPayedValue");
    return c;
}

RowSet CashTurnMovements(Session& s, qint64 turnId) {
    return s.query(QStringLiteral("select d.ID, d.Code, d.FarsiTransactionDate, d.Description, "
                                  "coalesce(d.ReceivedValue, 0) as ReceivedValue, "
                                  "coalesce(d.PayedValue, 0) as PayedValue, d.FormTypeID, "
                                  "d.FormID, u.FullName as UserName from tblRecPayCashTurnDetail "
                                  "d left join tblUser u on u.ID = d.UserID where "
                                  "d.CashTurnID = ? order by d.ID"),
                   {turnId});
}

}  // namespace si
