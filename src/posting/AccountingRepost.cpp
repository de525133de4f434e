// The customer's debit account, and cmdSaveAccDoc: the invoice's document rows are deleted and
// the invoice is posted again.

#include "common/Codes.h"
#include "common/DeferredMessages.h"
#include "common/FormEvents.h"
#include "common/Messages.h"
#include "invoice/InvoiceDocument.h"
#include "posting/AccountingDocument.h"
#include "posting/AccountingDocumentPosting.h"
#include "posting/StoredInvoiceState.h"

namespace si {

namespace {

const QString kProblemCaption = QStringLiteral("اشکال");

bool IsStoreCashSale(Context& ctx, const InvoiceHeader& header) {
    return ctx.params.flag(P::ShopMode) && header.isPaidByCash;
}

}  // namespace

int AccountingDocument::CustomerAccount(int customerId) {
    Session& s = ctx().db();
    QVariant account;
    if (ctx().params.flag(P::AccountObjects)) {
        auto row = s.first(QStringLiteral("Select coalesce(DebitAccountID,-1) as DebitAccountID "
                                          "from tblSaleInvoiceType Where ID = ?"),
                           {header().typeId});
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
                               "FormTypeID = ? and FormID = ?"),
                {FormType::SaleInvoice, invoiceId});
    s.exec(
        QStringLiteral("DELETE FROM tblAccountDocumentDetail Where FormTypeID = ? and FormID = ?"),
        {FormType::SaleInvoice, invoiceId});
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

std::optional<int> AccountingDocument::Repost() {
    if (!ctx().params.flag(P::AccountObjects)) return std::nullopt;
    if (!HasRight(ctx(), Right::RepostDocument)) {
        ShowMessage(ctx(), kErrorCaption, kNoRightMessage);
        return std::nullopt;
    }
    // Only a final invoice has a document; a temporary one is posted by its final save.
    const int invoiceId = invoice_.id();
    if (invoiceId <= 0 || !invoice_.invoice.isFinal()) return std::nullopt;
    const bool storeCashSale = IsStoreCashSale(ctx(), header());
    int documentId = 0;
    try {
        Session& s = ctx().db();
        const DeferredMessages afterTheLock(*ctx().components);
        Transaction t = s.writerTransaction();
        const QString changed = ChangedSinceRead(s, invoiceId, invoice_.invoice.rowVersion, true);
        if (!changed.isEmpty()) {
            ShowMessage(ctx(), kErrorCaption, changed);
            return std::nullopt;
        }
        deleteInvoiceRows(invoiceId);
        if (!storeCashSale) documentId = InsertDocument();
        if (documentId > 0)
            s.exec(QStringLiteral("Update tblAccountDocumentDetail set BranchID=? Where "
                                  "DocumentID=?"),
                   {header().branchId > 0 ? QVariant(header().branchId) : QVariant(), documentId});
        if (documentId > 0)
            LogInvoiceEvent(s, EventType::DocumentReposted, invoiceId,
                            QStringLiteral("سند حسابداري ") +
                                InvoiceEventText(invoiceId, QStringLiteral("دوباره صادر شد.")),
                            ctx().globals.CurrentUserID);
        t.commit();
    } catch (const SqlError& e) {
        ShowMessage(ctx(), kErrorCaption,
                    QStringLiteral("سند حسابداري ثبت نشد: ") + e.driverText());
        return std::nullopt;
    }
    if (storeCashSale)
        ShowMessage(ctx(), kProblemCaption,
                    QStringLiteral("فاکتور فروش فروشگاهي در حالت نقدي، سند حسابداري ندارد بلکه "
                                   "گردش صندوق دارد."));
    return documentId;
}

int RepostShownInvoice(Context& ctx, InvoiceDocument& doc) {
    const std::optional<int> documentId = AccountingDocument(ctx, InvoiceToPost::of(doc)).Repost();
    if (!documentId) return 0;
    doc.lblAccountIDVal = *documentId > 0 ? QString::number(*documentId) : QString();
    return *documentId;
}

}  // namespace si
