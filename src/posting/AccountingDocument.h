#pragma once
// The accounting document of a final invoice: a header in tblAccountDocument and the numbered
// rows of tblAccountDocumentDetail (sales, customer, discounts, tax, duty, master discount,
// deductions, surcharges, rounding, shares and dependent accounts), each with its accounting
// objects; and the re-post command cmdSaveAccDoc.
//
// InsertDocument writes inside the caller's transaction (the save's writer transaction), under a
// savepoint of its own: a document whose rows would not balance (a row without its account, an
// amount of the wrong sign) is not written at all, and the invoice waits for a re-post.
// cmdSaveAccDoc_Click is a command of its own and runs in one writer transaction.

#include <QString>
#include <optional>

#include "common/Context.h"
#include "posting/InvoiceToPost.h"

namespace si {

// Row numbers of the document of an invoice.
namespace DocRow {
enum : int {
    Sales = 1,
    Customer = 2,
    LineDiscount = 3,
    Tax = 4,
    Added = 5,
    MasterDiscount = 6,
    Deductions = 7,
    Rounding = 8,
    StackholderDiscount = 9,
    AdversDiscount = 10,
    EduDiscount = 11,
    StackholderShare = 12,
    AdversShare = 13,
    FirstDependent = 14,
    FirstSurcharge = 81,
};
}  // namespace DocRow

class AccountingDocument {
public:
    AccountingDocument(Context& ctx, InvoiceToPost invoice);

    // Posts the invoice (stored, final); the new document ID, 0 when none was made (the reason
    // was shown).
    int InsertDocument();
    void InsertDocumentObject(int documentId, int rowNumber, int accountId, int classId,
                              int objectId);
    // The customer's debit account, or -1 after showing why.
    int CustomerAccount(int customerId);
    // cmdSaveAccDoc: right 90121 and parameter 311; deletes the invoice's rows and posts again.
    // The new document ID, 0 when the posting made none (a shop's cash sale, rows that do not
    // balance); nullopt when nothing was reposted (no right, not final, changed meanwhile, an
    // error), and the invoice keeps the document it shows.
    std::optional<int> Repost();

private:
    struct Posting;  // one run of InsertDocument
    Context& ctx() { return ctx_; }
    const InvoiceHeader& header() const { return invoice_.header(); }
    InvoiceTypeAccounts typeAccounts();
    bool mergedDocumentAfterInvoiceDate();
    int insertHeader();
    void numberInItsDay(int documentId);
    QString description() const;
    bool writeRow(const Posting& p, int row, int account, Money debit, Money credit,
                  int documentType = 13);
    void flushRows();
    bool documentBalances(int documentId);
    void addBranchAndPromoter(const Posting& p, int row, int account);
    void addObjects1And2(const Posting& p, int row, int account);
    void addObjectRowDirectly(const Posting& p, int row, int sequence, int classId, int objectId);
    void writeAmountRows(const Posting& p);
    void writeSurchargeRows(const Posting& p);
    void writeRoundingRow(const Posting& p);
    void writeShareRows(const Posting& p);
    void writeDependentRows(const Posting& p);
    void deleteInvoiceRows(int invoiceId);

    Context& ctx_;
    InvoiceToPost invoice_;
    // Rows written by writeRow and not yet sent (flushRows): the arguments of
    // spAccountInsertDocumentDetail, one entry a row.
    QVariantList pendingRows_;
    // Rows that had an amount but no account, in the order met.
    QList<int> rowsWithoutAccount_;
};

// cmdSaveAccDoc on the invoice the form shows: posts it again and shows the new document's number
// in lblAccountIDVal (none when the posting made no document).
int RepostShownInvoice(Context& ctx, InvoiceDocument& doc);

// The caption of the posting's blocking messages.
inline const QString kDocumentErrorCaption = QStringLiteral("اشکال توليد سند حسابداري");

}  // namespace si
