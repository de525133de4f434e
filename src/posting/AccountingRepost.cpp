// The customer's debit account, and cmdSaveAccDoc: the invoice's document rows are deleted and
// the invoice is posted again.

#include "common/Codes.h"
#include "common/DeferredMessages.h"
#include "common/Messages.h"
#include "posting/AccountingDocument.h"
#include "posting/AccountingDocumentPosting.h"
#include "posting/StoredInvoiceState.h"

namespace si {

namespace {

const QString kProblemCaption = QStringLiteral("اشکال");

bool IsStoreCashSale(Context& ctx, const InvoiceDocument& doc) {
    return ctx.params.flag(P::ShopMode) && doc.sltPaidByCash.ID() != 2;
}

}  // namespace

int AccountingDocument::CustomerAccount(int customerId) {
    Session& s = ctx().db();
    QVariant account;
    if (ctx().params.flag(P::AccountObjects)) {
        auto row = s.first(QStringLiteral("Select coalesce(DebitAccountID,-1) as DebitAccountID "
                                          "from tblSaleInvoiceType Where ID = ?"),
                           {doc().sltType.ID()});
        if (!row) {
            ShowMessage(ctx(), kProblemCaption,
                        QStringLiteral("حساب بدهکار مشتري، در جدول tblSaleInvoiceType ستون "
                                       "DebitAccountID تنظيم نشده است."));
            return -1;
        }
        account = row->value(u"DebitAccountID");
    } else {
        auto row = s.first(QStringLiteral("Select AccountID from tblAccountRelatedObjects where "
                                          "RelatedClassID = 7 and RelatedObjectID=? order by ID"),
                           {customerId});
        if (!row) {
            ShowMessage(ctx(), kProblemCaption,
                        QStringLiteral("حساب بدهکار مشتري، در جدول tblAccountRelatedObjects "
                                       "تنظيم نشده است."));
            return -1;
        }
        account = row->value(u"AccountID");
    }
    const int id = account.isNull() ? -1 : account.toInt();
    if (s.first(QStringLiteral("Select x.ID from tblAccount x Where x.ParentID=?"), {id})) {
        ShowMessage(ctx(), kProblemCaption,
                    QStringLiteral("حساب بدهکار مشتري، آخرين سطح انتخاب نشده است."));
        return -1;
    }
    return id;
}

// Objects of the removed rows go with them; a header left without rows is dropped.
void AccountingDocument::deleteInvoiceRows(int invoiceId) {
    Session& s = ctx().db();
    const RowSet documents =
        s.query(QStringLiteral("Select distinct DocumentID from tblAccountDocumentDetail Where "
                               "FormTypeID = 901 and FormID = ?"),
                {invoiceId});
    s.exec(QStringLiteral(
               "DELETE FROM tblAccountDocumentDetail Where FormTypeID = 901 and FormID = ?"),
           {invoiceId});
    for (const Row& d : documents)
        s.exec(QStringLiteral("DELETE FROM tblAccountDocumentObjects Where DocumentID = ? and "
                              "not exists (Select x.ID from tblAccountDocumentDetail x Where "
                              "x.DocumentID = tblAccountDocumentObjects.DocumentID and "
                              "x.RowNumber = tblAccountDocumentObjects.RowNumber)"),
               {d.toInt(u"DocumentID")});
    s.exec(
        QStringLiteral("DELETE FROM tblAccountDocument Where ID not in (Select DocumentID "
                       "From tblAccountDocumentDetail)"));
}

int AccountingDocument::cmdSaveAccDoc_Click() {
    if (!ctx().params.flag(P::AccountObjects)) return 0;
    if (!HasRight(ctx(), Right::RepostDocument)) {
        ShowMessage(ctx(), kErrorCaption, kNoRightMessage);
        return 0;
    }
    // Only a final invoice has a document; a temporary one is posted by its final save.
    const int invoiceId = doc().invoiceID();
    if (invoiceId <= 0 || !doc().hasCode()) return 0;
    const bool storeCashSale = IsStoreCashSale(ctx(), doc());
    int documentId = 0;
    try {
        Session& s = ctx().db();
        const DeferredMessages afterTheLock(*ctx().components);
        Transaction t = s.writerTransaction();
        const QString changed =
            ChangedSinceRead(s, invoiceId, doc().storedRowVersion, doc().hasCode());
        if (!changed.isEmpty()) {
            ShowMessage(ctx(), kErrorCaption, changed);
            return 0;
        }
        deleteInvoiceRows(invoiceId);
        if (!storeCashSale) documentId = InsertDocument();
        if (documentId > 0)
            s.exec(QStringLiteral("Update tblAccountDocumentDetail set BranchID=? Where "
                                  "DocumentID=?"),
                   {doc().sltBranch.IsEmpty() ? QVariant() : QVariant(doc().sltBranch.ID()),
                    documentId});
        t.commit();
    } catch (const SqlError& e) {
        ShowMessage(ctx(), kErrorCaption,
                    QStringLiteral("سند حسابداري ثبت نشد: ") + e.driverText());
        return 0;
    }
    if (storeCashSale)
        ShowMessage(ctx(), kProblemCaption,
                    QStringLiteral("فاکتور فروش فروشگاهي در حالت نقدي، سند حسابداري ندارد بلکه "
                                   "گردش صندوق دارد."));
    doc().lblAccountIDVal = documentId > 0 ? QString::number(documentId) : QString();
    return documentId;
}

}  // namespace si
