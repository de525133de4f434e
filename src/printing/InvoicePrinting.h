#pragma once
// Printing the invoice the form holds: cmdView and cmdPrint (the print routine with its rights,
// its limit on the number of prints, the template, the count and, in a shop, the second copy and
// the lottery sheets), cmdLottery with the sheet routine, and cmdCustomerPrint (the customer's
// credit printout). Messages and questions go through the context's message box, so the form and
// a job without a form print alike.
//
// The print count grows by one on every output of the print routine, previews included; only
// printing is refused at the maximum. Nothing is counted when the report component is missing.

#include "invoice/InvoiceServices.h"
#include "printing/ReportPrinter.h"

namespace si {

class InvoicePrinting : public ReportPrinter {
    Q_OBJECT
public:
    explicit InvoicePrinting(InvoiceServices& services, QObject* parent = nullptr);

    // cmdView (preview) and cmdPrint; true when the invoice was output. The new print count is
    // in txtPrintCount.
    bool Print(bool preview);
    // cmdLottery: the rights and the reprint question, then the sheets.
    void cmdLottery_Click();
    // The sheet routine: one output per sheet of the lottery amount in the grand total, up to the
    // maximum; the number of sheets printed.
    int PrintLotterySheets();
    // cmdCustomerPrint: the customer's credit figures on the invoice template chosen.
    bool cmdCprint_Click();

private:
    QString invoiceTemplate(bool preview);
    void printSecondCopy(QObject& component, ReportJob job);

    InvoiceServices& services_;
    InvoiceDocument& doc_;
};

}  // namespace si
