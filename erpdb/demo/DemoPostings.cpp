// Postings of a few past invoices, so that the ledger and the cash turns are not empty: an
// accounting document for some credit sales, as the final save posts it (rows 1 to 13 with
// their objects), and a receipt in the shop's closed cash turns for some cash sales.

#include "erpdb/demo/DemoModel.h"

namespace si::erpdb::demo {

namespace {

constexpr int kSaleRow = 13;      // DocumentTypeID of a sale row
constexpr int kRoundingRow = 10;  // of the rounding and surcharge rows

const QString kDocumentText = QStringLiteral(" ثبت نهايي فاكتور فروش ـ ش. ر. ");
const QString kCashText = QStringLiteral("دريافتي به ازاي فاكتور به شماره رايانهاي ");

class DocumentWriter {
public:
    explicit DocumentWriter(DemoData& d)
        : d_(d),
          documents_(d.session, QStringLiteral("tblAccountDocument"),
                     {QStringLiteral("ID"), QStringLiteral("Code"), QStringLiteral("DayNo"),
                      QStringLiteral("CreatorID"), QStringLiteral("CreateDate"),
                      QStringLiteral("FarsiCreateDate"), QStringLiteral("DocumentDate"),
                      QStringLiteral("FarsiDocumentDate"), QStringLiteral("Value"),
                      QStringLiteral("Description"), QStringLiteral("IsFinalized"),
                      QStringLiteral("IsMerged"), QStringLiteral("IsPreDocument")}),
          rows_(
              d.session, QStringLiteral("tblAccountDocumentDetail"),
              {QStringLiteral("ID"), QStringLiteral("DocumentID"), QStringLiteral("RowNumber"),
               QStringLiteral("AccountID"), QStringLiteral("TransactionDate"),
               QStringLiteral("FarsiTransactionDate"), QStringLiteral("Description"),
               QStringLiteral("DocumentTypeID"), QStringLiteral("AdditionalFormID"),
               QStringLiteral("ContractID"), QStringLiteral("PositionID"),
               QStringLiteral("DebitValue"), QStringLiteral("CreditValue"),
               QStringLiteral("FormID"), QStringLiteral("FormTypeID"), QStringLiteral("BranchID")}),
          objects_(d.session, QStringLiteral("tblAccountDocumentObjects"),
                   {QStringLiteral("ID"), QStringLiteral("DocumentID"), QStringLiteral("RowNumber"),
                    QStringLiteral("Sequence"), QStringLiteral("ClassID"),
                    QStringLiteral("ObjectID")}) {}

    void post(const DemoData::PostedInvoice& p) {
        p_ = &p;
        ++document_;
        const qint64 pure = p.totalPrice + p.rowDiscount;
        const int dayNo = ++dayNumbers_[p.date.toJulianDay()];
        documents_.add({document_, 0, dayNo, id::kClerkUser, d_.calendar.date(p.date),
                        d_.calendar.farsi(p.date), d_.calendar.date(p.date),
                        d_.calendar.farsi(p.date), Rials(pure + p.tax + p.added),
                        kDocumentText + QString::number(p.id), 0, 0, 0});
        const DemoCustomer& customer = d_.customers[static_cast<size_t>(p.customer)];
        saleRow(1, account::kSales, 0, pure);
        row(2, customer.accountId, p.grandTotal, 0, kSaleRow);
        if (p.rowDiscount > 0) saleRow(3, account::kLineDiscount, p.rowDiscount, 0);
        if (p.tax > 0) saleRow(4, account::kTax, 0, p.tax);
        if (p.added > 0) saleRow(5, account::kDuty, 0, p.added);
        if (p.masterDiscount > 0) saleRow(6, account::kTotalDiscount, p.masterDiscount, 0);
        if (p.surcharge > 0) {
            row(81, d_.accountId(account::kTransportIncome), 0, p.surcharge, kRoundingRow);
            branchAndPromoter(81, account::kTransportIncome);
        }
        if (p.roundDown != 0) {
            row(8, d_.accountId(account::kRounding), std::max<qint64>(p.roundDown, 0),
                std::max<qint64>(-p.roundDown, 0), kRoundingRow);
            branchAndPromoter(8, account::kRounding);
        }
        // Half a percent of the net amount to the stakeholders and to advertising, each
        // balanced by its share; no dependent accounts, so row 11 carries nothing.
        const qint64 half = (p.grandTotal - p.tax - p.added + 100) / 200;
        shareRow(9, account::kStackholderDiscount, half, 0);
        shareRow(10, account::kAdversDiscount, half, 0);
        row(11, d_.accountId(account::kEduDiscount), 0, 0, kSaleRow);
        shareRow(12, account::kStackholderShare, 0, half);
        shareRow(13, account::kAdversShare, 0, half);
    }

    void finish() {
        documents_.finish();
        rows_.finish();
        objects_.finish();
    }

private:
    void row(int number, int accountId, qint64 debit, qint64 credit, int type) {
        rows_.add({++rowId_, document_, number, accountId, d_.calendar.date(p_->date),
                   d_.calendar.farsi(p_->date), kDocumentText + QString::number(p_->id), type,
                   p_->code, 0, 0, Rials(debit), Rials(credit), p_->id, 901, p_->branchId});
    }
    void saleRow(int number, const char* code, qint64 debit, qint64 credit) {
        row(number, d_.accountId(code), debit, credit, kSaleRow);
        branchAndPromoter(number, code);
    }
    void shareRow(int number, const char* code, qint64 debit, qint64 credit) {
        row(number, d_.accountId(code), debit, credit, kSaleRow);
        if (p_->promoterId > 0) object(number, 1, 9, p_->promoterId);
    }
    // Only accounts that declare the branch (19) and promoter (9) classes take them; the
    // demo's sale accounts declare both, the tax accounts neither.
    void branchAndPromoter(int number, const char* code) {
        const QString c = QString::fromLatin1(code);
        if (c == QLatin1String(account::kTax) || c == QLatin1String(account::kDuty)) return;
        object(number, 1, 19, p_->branchId);
        if (p_->promoterId > 0) object(number, 2, 9, p_->promoterId);
    }
    void object(int number, int sequence, int classId, int objectId) {
        objects_.add({++objectId_, document_, number, sequence, classId, objectId});
    }

    DemoData& d_;
    BulkInsert documents_;
    BulkInsert rows_;
    BulkInsert objects_;
    const DemoData::PostedInvoice* p_ = nullptr;
    QHash<qint64, int> dayNumbers_;
    int document_ = 0;
    int rowId_ = 0;
    int objectId_ = 0;
};

void bookCashSales(DemoData& d) {
    BulkInsert rows(
        d.session, QStringLiteral("tblRecPayCashTurnDetail"),
        {QStringLiteral("ID"), QStringLiteral("CashTurnID"), QStringLiteral("Code"),
         QStringLiteral("TransactionDate"), QStringLiteral("FarsiTransactionDate"),
         QStringLiteral("Description"), QStringLiteral("ReceivedValue"),
         QStringLiteral("PayedValue"), QStringLiteral("RelatedAccountID"), QStringLiteral("FormID"),
         QStringLiteral("FormTypeID"), QStringLiteral("UserID"), QStringLiteral("BranchID")});
    int next = 0;
    for (const DemoData::PostedInvoice& p : d.posted) {
        if (!p.cash) continue;
        rows.add({++next, d.cashTurnOfDay.value(p.date.toJulianDay()), p.code,
                  d.calendar.date(p.date), d.calendar.farsi(p.date),
                  kCashText + QString::number(p.id), Rials(p.grandTotal), Rials(0),
                  d.accountId(account::kCashCustomers), p.id, 901, id::kCashierUser, p.branchId});
    }
    rows.finish();
}

}  // namespace

void FillInvoiceDocuments(DemoData& d) {
    DocumentWriter documents(d);
    for (const DemoData::PostedInvoice& p : d.posted)
        if (!p.cash) documents.post(p);
    documents.finish();
    bookCashSales(d);
}

}  // namespace si::erpdb::demo
