// The postings of a final save: the inventory dispatch, then the cash-turn
// booking of a store-version cash sale or else the accounting document, the lines of a
// distribution sheet, and the branch of the document's rows; and the form's state afterwards.
// A turn closed since the check is an error like any other: the whole save is rolled back, so
// the clerk only picks another turn and saves again, and no final invoice lacks its booking.

#include <stdexcept>

#include "common/Codes.h"
#include "common/FormEvents.h"
#include "common/Messages.h"
#include "invoice/BilledParty.h"
#include "invoice/InvoiceServices.h"
#include "posting/AccountingDocument.h"
#include "posting/CashTurnBooking.h"
#include "posting/InventoryDispatch.h"
#include "posting/SaveFront.h"
#include "posting/SaveRun.h"

namespace si {

void SaveRun::PostFinal() {
    const int id = invoiceID();
    const InvoiceToPost posted = InvoiceToPost::of(doc_, invoice_);
    if (!wholesale_) {
        const int dispatch = InventoryDispatch(ctx_, posted).SaveRelExitDoc();
        if (dispatch > 0 && trace())
            QMetaObject::invokeMethod(
                trace_.get(), "RelateForms", Q_ARG(int, FormType::SaleInvoice), Q_ARG(int, id),
                Q_ARG(int, FormType::InventoryDispatch), Q_ARG(int, dispatch));
    }
    if (shopMode() && IsCashSale()) {
        const int detail = seams_.SaveCashTurnDetail();
        if (detail < 1) throw SaveRefused(kCashTurnClosed);
        doc_.lblAccountIDVal = doc_.cashTurnDescription;
        cashBooked_ = true;
    } else {
        documentID_ = AccountingDocument(ctx_, posted).InsertDocument();
        if (documentID_ > 0) doc_.lblAccountIDVal = QString::number(documentID_);
    }
    MoveDistributionLines();
    if (documentID_ > 0)
        ctx_.db().exec(
            QStringLiteral("Update tblAccountDocumentDetail set BranchID = ? Where DocumentID = ?"),
            {invoice_.header.branchId > 0 ? QVariant(invoice_.header.branchId) : QVariant(),
             documentID_});
    LogInvoiceEvent(ctx_.db(), EventType::InvoiceFinalSaved, id,
                    InvoiceEventText(id, QStringLiteral("ثبت قطعي شد.")),
                    ctx_.globals.CurrentUserID);
}

// A distribution sheet whose vehicle has not left keeps a copy of the invoice's lines.
void SaveRun::MoveDistributionLines() {
    const int sheet = invoice_.header.distributionInvoiceId;
    if (sheet <= 0) return;
    Session& s = ctx_.db();
    if (s.first(QStringLiteral("Select ID From tblDistributionInvoice Where coalesce(IsMoved, 0) "
                               "= 1 and ID = ?"),
                {sheet}))
        return;
    const int id = invoiceID();
    s.exec(QStringLiteral("Delete From tblDistributionRemovedInvoiceDetail Where "
                          "DistributionInvoiceID = ? and SaleInvoiceID = ?"),
           {sheet, id});
    s.exec(QStringLiteral("Insert Into tblDistributionRemovedInvoiceDetail "
                          "(DistributionInvoiceID, SaleInvoiceID, Barcode, ScaleID, Qty) Select "
                          "?, InvoiceID, Barcode, ScaleID, Qty from tblSaleInvoiceDetail Where "
                          "InvoiceID = ?"),
           {sheet, id});
}

// The SMS notices and the cash-turn listener's notice leave the machine, so they go out
// only once the save is committed: a rolled-back save tells nobody anything.
void SaveRun::SendNotices() {
    if (!IsFinal_) return;
    if (cashBooked_) seams_.NotifyCashDisplay(doc_.CashID, invoiceID());
    if (doc_.chkShouldSMSSend) SendSmsNotices();
}

// The customer's message, then one for each promoter chosen. The invoice is stored by now, so a
// message that cannot be composed says so and takes nothing back.
void SaveRun::SendSmsNotices() {
    const Money total = doc_.totals.GrandTotal;
    try {
        seams_.SendCustomerSms(
            SmsRecipient(BilledParties::of(doc_), ctx_.params.flag(P::AccountObjects)), total);
        for (const SelectorModel* promoter : {&doc_.sltPromoter, &doc_.sltPromoter2})
            if (!promoter->IsEmpty()) seams_.SendPromoterSms(promoter->ID(), total);
    } catch (const SqlError& e) {
        ShowMessage(ctx_, kErrorCaption,
                    QStringLiteral("فاكتور ثبت شد، اما پيامك آن فرستاده نشد. علت: ") +
                        e.driverText().trimmed());
    }
}

// After the commit: the notices, then the form shows the stored invoice in view mode, focus on
// cmdNew.
void SaveRun::FinishForm() {
    doc_.storedRowVersion = savedRowVersion_;
    doc_.walkInStored = !invoice_.walkIn.isEmpty();
    SendNotices();
    doc_.FormMode = kModeView;
    front_.modeChanged();
    Q_EMIT doc_.headerChanged();
    front_.focus(QStringLiteral("cmdNew"));
}

}  // namespace si
