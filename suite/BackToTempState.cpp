#include "suite/BackToTempState.h"

#include "common/Codes.h"
#include "common/FormEvents.h"
#include "common/Jalali.h"
#include "common/Session.h"
#include "common/UpdateColumns.h"
#include "posting/BackToTemp.h"
#include "posting/InvoiceRemoval.h"

namespace si::suite {

namespace {

// The row version moves on, so a form holding the invoice open sees it returned elsewhere.
void clearCode(Session& s, int invoiceId, int userId) {
    const QDateTime now = s.now();
    s.exec(QStringLiteral("Update tblSaleInvoice Set Code = NULL, RowVersion = RowVersion + 1, "
                          "UpdaterID = ?, UpdateDate = ?, FarsiUpdateDate = ? Where ID = ?"),
           {userId, now, getFarsiDate(now.date()), invoiceId});
}

// The invoice's rows of documents, their objects, and each of those documents left without rows;
// other forms' rows on a shared document stay.
void removeDocumentRows(Session& s, int invoiceId) {
    const RowSet documents =
        s.query(QStringLiteral("Select distinct DocumentID from tblAccountDocumentDetail Where "
                               "FormTypeID = 901 and FormID = ?"),
                {invoiceId});
    if (documents.empty()) return;
    s.exec(QStringLiteral("DELETE FROM tblAccountDocumentDetail Where FormTypeID = 901 and "
                          "FormID = ?"),
           {invoiceId});
    for (const Row& d : documents) {
        const int document = d.toInt(u"DocumentID");
        s.exec(QStringLiteral("DELETE FROM tblAccountDocumentObjects Where DocumentID = ? and "
                              "not exists (Select x.ID from tblAccountDocumentDetail x Where "
                              "x.DocumentID = tblAccountDocumentObjects.DocumentID and "
                              "x.RowNumber = tblAccountDocumentObjects.RowNumber)"),
               {document});
        s.exec(QStringLiteral("DELETE FROM tblAccountDocument Where ID = ? and not exists "
                              "(Select x.ID from tblAccountDocumentDetail x Where x.DocumentID = "
                              "tblAccountDocument.ID)"),
               {document});
    }
}

QString notStored(int invoiceId) {
    return QStringLiteral("فاكتور فروش به شماره رايانهاي ") + QString::number(invoiceId) +
           QStringLiteral(" يافت نشد.");
}

}  // namespace

QString BackToTempEventText(int invoiceId) {
    return InvoiceEventText(invoiceId, QStringLiteral("به حالت موقت بازگشت."));
}

QString ReturnSaleInvoiceToTemp(Session& s, int invoiceId, int userId) {
    AddInvoiceColumnsWhenMissing(s);
    Transaction t = s.writerTransaction();
    const auto stored =
        s.first(QStringLiteral("Select Code from tblSaleInvoice Where ID = ?"), {invoiceId});
    if (!stored) return notStored(invoiceId);
    if (stored->isNull(u"Code")) return kBackToTempNotFinal;
    if (const int closed = ClosedCashTurnsOf(s, invoiceId); closed > 0)
        return ClosedCashTurnText(closed);
    clearCode(s, invoiceId, userId);
    removeDocumentRows(s, invoiceId);
    ReleaseOrRemoveInvoiceDispatch(s, invoiceId);
    s.exec(QStringLiteral("DELETE FROM tblRecPayCashTurnDetail Where FormTypeID = 901 and FormID "
                          "= ?"),
           {invoiceId});
    s.call(QStringLiteral("spZelorUnRelateForms"), QVariantList{invoiceId, FormType::SaleInvoice});
    LogInvoiceEvent(s, EventType::InvoiceBackToTemp, invoiceId, BackToTempEventText(invoiceId),
                    userId);
    t.commit();
    return {};
}

}  // namespace si::suite
