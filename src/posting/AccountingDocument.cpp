#include "posting/AccountingDocument.h"

#include <utility>

#include "common/Codes.h"
#include "common/Jalali.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "invoice/HeaderLogic.h"
#include "invoice/InvoiceDocument.h"
#include "posting/AccountingDocumentPosting.h"

namespace si {

AccountingDocument::AccountingDocument(Context& ctx, InvoiceToPost invoice)
    : ctx_(ctx), invoice_(std::move(invoice)) {}

// The form holds the type's accounts only while parameter 311 is on; a document needs them
// either way, so they are read from the type when the invoice is posted (with the same fallbacks:
// deductions to the sales account, the master discount to the line-discount account).
InvoiceTypeAccounts AccountingDocument::typeAccounts() {
    return ReadInvoiceTypeAccounts(ctx().db(), header().typeId).value_or(InvoiceTypeAccounts{});
}

int AccountingDocument::InsertDocument() {
    Posting p;
    p.accounts = typeAccounts();
    if (p.accounts.CreditAccountID < 0) {
        ShowMessage(
            ctx(), kDocumentErrorCaption,
            QStringLiteral("حساب بستانکار در جدول مربوط به انواع فاکتور فروش تعريف نشده است"));
        return 0;
    }
    p.customerAccount = CustomerAccount(header().customerId);
    if (p.customerAccount < 0) {
        ShowMessage(ctx(), kDocumentErrorCaption,
                    QStringLiteral("حساب بدهکار مشتري تعريف نشده است"));
        return 0;
    }
    if (mergedDocumentAfterInvoiceDate()) {
        ShowMessage(ctx(), kErrorCaption,
                    QStringLiteral("پس از تاريخ اين سند، يك سند ادغام شده وجود دارد. بنابراين "
                                   "امكان ثبت سند فعلي در تاريخ مشخص شده وجود ندارد."));
        return 0;
    }
    // Undone alone when the rows do not balance; the invoice itself stays.
    Transaction rows = ctx().db().transaction();
    pendingRows_.clear();
    p.documentId = insertHeader();
    numberInItsDay(p.documentId);
    const InvoiceTotals& t = invoice_.amounts;
    p.net = t.GrandTotal - t.Tax - t.Added;
    writeAmountRows(p);
    writeSurchargeRows(p);
    writeRoundingRow(p);
    writeShareRows(p);
    flushRows();
    if (!documentBalances(p.documentId)) return 0;
    rows.commit();
    return p.documentId;
}

namespace {
QString rowName(int row) {
    switch (row) {
        case DocRow::LineDiscount:
            return QStringLiteral("تخفيف سطرها");
        case DocRow::Tax:
            return QStringLiteral("ماليات");
        case DocRow::Added:
            return QStringLiteral("عوارض");
        case DocRow::MasterDiscount:
            return QStringLiteral("تخفيف كل");
        case DocRow::Deductions:
            return QStringLiteral("كسورات");
        case DocRow::Rounding:
            return QStringLiteral("گرد كردن");
        default:
            return QStringLiteral("هزينه");
    }
}
}  // namespace

// Summed here rather than in SQL: Money is exact, a database sum of SQLite's NUMERIC may not be.
bool AccountingDocument::documentBalances(int documentId) {
    Money debit, credit;
    for (const Row& r : ctx().db().query(QStringLiteral("Select DebitValue, CreditValue from "
                                                        "tblAccountDocumentDetail Where "
                                                        "DocumentID = ?"),
                                         {documentId})) {
        debit += r.money(u"DebitValue");
        credit += r.money(u"CreditValue");
    }
    if (rowsWithoutAccount_.isEmpty() && debit == credit) return true;
    QString text;
    if (!rowsWithoutAccount_.isEmpty()) {
        QStringList rows;
        for (int row : rowsWithoutAccount_)
            rows << QString::number(row) + QStringLiteral(" (") + rowName(row) + u')';
        text = QStringLiteral("حساب رديف ") + rows.join(QStringLiteral("، ")) +
               QStringLiteral(" سند حسابداري اين فاكتور تعريف نشده است");
    } else {
        text = QStringLiteral("جمع بدهكار (") + FormatAmount(debit) +
               QStringLiteral(") و جمع بستانكار (") + FormatAmount(credit) +
               QStringLiteral(") سند حسابداري اين فاكتور برابر نيست");
    }
    ShowMessage(
        ctx(), kDocumentErrorCaption,
        text + QStringLiteral("، از اينرو سند حسابداري ثبت نشد. فاكتور بدون سند ثبت شد؛ پس از رفع "
                              "اشكال، سند آن را با «ثبت مجدد سند» ثبت كنيد."));
    return false;
}

bool AccountingDocument::mergedDocumentAfterInvoiceDate() {
    return ctx()
        .db()
        .first(QStringLiteral("Select ID from tblAccountDocument Where coalesce(IsMerged,0)=1 "
                              "and DocumentDate>?"),
               {header().createDate})
        .has_value();
}

QString AccountingDocument::description() const {
    QString text =
        QStringLiteral(" ثبت نهايي فاكتور فروش ـ ش. ر. ") + QString::number(invoice_.id());
    if (!header().notes.isEmpty()) text += QStringLiteral(" و ملاحظات: ") + header().notes;
    return text;
}

int AccountingDocument::insertHeader() {
    const InvoiceTotals& t = invoice_.amounts;
    const QDate date = header().createDate;
    const QString farsi = getFarsiDate(date);
    QVariantList args{QVariant(),
                      QVariant(),
                      ctx().globals.CurrentUserID,
                      date,
                      farsi,
                      date,
                      farsi,
                      QVariant::fromValue(t.TotalPurePrice + t.Tax + t.Added),
                      description()};
    return ctx().db().call(QStringLiteral("dbo.spAccountInsertDocument"), args).toInt();
}

// Runs inside the caller's writer transaction, so no other posting reads the same day's maximum
// before this one is written.
void AccountingDocument::numberInItsDay(int documentId) {
    ctx().db().exec(
        QStringLiteral("Update tblAccountDocument set Code=0, DayNo = coalesce((Select "
                       "coalesce(max(coalesce(a.DayNo,0)),0) from tblAccountDocument a Where "
                       "a.DocumentDate = tblAccountDocument.DocumentDate),0) + 1 Where ID = ?"),
        {documentId});
}

// A row whose account is not greater than 0 is not written.
bool AccountingDocument::writeRow(const Posting& p, int row, int account, Money debit, Money credit,
                                  int documentType) {
    if (account <= 0) return false;
    const std::optional<int> code = header().code;
    QVariantList args{p.documentId,
                      row,
                      account,
                      header().createDate,
                      getFarsiDate(header().createDate),
                      description(),
                      documentType,
                      code && *code > 0 ? QVariant(*code) : QVariant(),
                      0,
                      0,
                      QVariant::fromValue(debit),
                      QVariant::fromValue(credit),
                      invoice_.id(),
                      FormType::SaleInvoice};
    pendingRows_ << QVariant(args);
    return true;
}

// The rows written so far go to the database together.
void AccountingDocument::flushRows() {
    if (pendingRows_.isEmpty()) return;
    const QVariantList rows = std::exchange(pendingRows_, {});
    ctx().db().call(QStringLiteral("dbo.spAccountInsertDocumentDetails"), QVariantList{rows});
}

// Rows 1 to 7: the sales and customer rows, then the amounts that have an account and a value.
void AccountingDocument::writeAmountRows(const Posting& p) {
    const InvoiceTotals& t = invoice_.amounts;
    const InvoiceTypeAccounts& a = p.accounts;
    if (writeRow(p, DocRow::Sales, a.CreditAccountID, Money(), t.TotalPurePrice))
        addBranchAndPromoter(p, DocRow::Sales, a.CreditAccountID);
    if (writeRow(p, DocRow::Customer, p.customerAccount, t.GrandTotal, Money()))
        addObjects1And2(p, DocRow::Customer, p.customerAccount);
    struct AmountRow {
        int row;
        int account;
        Money amount;
        bool debit;
    };
    const AmountRow rows[] = {
        {DocRow::LineDiscount, a.DiscountAccountID, t.TotalRowDiscount, true},
        {DocRow::Tax, a.TaxAccountID, t.Tax, false},
        {DocRow::Added, a.AddedAccountID, t.Added, false},
        {DocRow::MasterDiscount, a.TotalDiscountAccountID, t.MasterDiscountValue, true},
        {DocRow::Deductions, a.DescAccountID, t.Decs, true},
    };
    for (const AmountRow& r : rows) {
        if (r.amount <= Money()) continue;
        if (r.account <= 0) rowsWithoutAccount_ << r.row;
        if (writeRow(p, r.row, r.account, r.debit ? r.amount : Money(),
                     r.debit ? Money() : r.amount))
            addBranchAndPromoter(p, r.row, r.account);
    }
}

}  // namespace si
