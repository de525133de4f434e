#include "printing/InvoicePrinting.h"

#include "common/Codes.h"
#include "common/Messages.h"
#include "printing/InvoiceFormulas.h"
#include "printing/PrintCounts.h"
#include "printing/PrintTexts.h"

namespace si {

InvoicePrinting::InvoicePrinting(InvoiceServices& services, QObject* parent)
    : ReportPrinter(services.ctx, parent), services_(services), doc_(services.doc) {}

// The shop's printer takes its first template without asking; a preview, and every print
// elsewhere, lets the clerk choose.
QString InvoicePrinting::invoiceTemplate(bool preview) {
    if (ctx().params.flag(P::ShopMode) && !preview)
        return FirstTemplatePath(ctx().db(), TemplateFormType::SaleInvoice);
    if (!chooser().fill(TemplateFormType::SaleInvoice)) return {};
    return chooser().choose(print::kViewCaption);
}

bool InvoicePrinting::Print(bool preview) {
    Context& c = ctx();
    Session& s = c.db();
    const int id = doc_.invoiceID();
    if (id < 1) return false;
    if (!HasRight(c, preview ? Right::PreviewInvoice : Right::PrintInvoice)) {
        ShowMessage(c, print::kProblem, preview ? print::kNoPreviewRight : print::kNoPrintRight);
        return false;
    }
    const int maximum = c.params.number(P::MaxPrintCount);
    if (!preview && PrintCount(s, id) >= maximum) {
        ShowMessage(c, print::kProblem, print::PrintLimitReached(maximum));
        return false;
    }
    const QString chosen = invoiceTemplate(preview);
    if (chosen.isEmpty()) return false;
    const QString path = WithBasePath(chosen, doc_.basePath);
    const QString selection = SplitRowSelection(path, id);
    const FormulaList formulas = InvoiceFormulas(services_);
    const auto component = this->component();
    if (!component) return false;
    const int count = IncrementPrintCount(s, id);
    if (count >= 0) doc_.txtPrintCount = QString::number(count);
    const ReportJob job{path,      NumberedFormulas(formulas.items()),
                        selection, preview ? ReportDestination::Screen : ReportDestination::Printer,
                        {},        preview};
    if (!output(*component, job)) return false;
    if (c.params.flag(P::ShopMode) && !preview) {
        if (c.params.flag(P::ShopAltTemplate)) printSecondCopy(*component, job);
        // The sheets follow the print with cmdLottery's own checks: a reprinted invoice does not
        // hand out its sheets again without the reprint right.
        if (c.params.flag(P::LotterySlips)) cmdLottery_Click();
    }
    return true;
}

void InvoicePrinting::printSecondCopy(QObject& component, ReportJob job) {
    job.path = SecondCopyPath(job.path);
    if (!IsFile(job.path)) {
        ShowMessage(ctx(), print::kProblemArabic, print::kSecondCopyMissing);
        return;
    }
    output(component, job);
}

}  // namespace si
