// cmdBatchPrint: the listed invoices printed one after another, each as the invoice print builds
// its formulas, on the template chosen once for the batch.

#include "assembly/InvoiceModule.h"
#include "common/Codes.h"
#include "common/Messages.h"
#include "printing/InvoiceFormulas.h"
#include "printing/PrintCounts.h"
#include "printing/ReportPrinter.h"
#include "search/SearchBatch.h"
#include "search/SearchBatchTexts.h"

namespace si {

namespace {

// The right of the batch print is the number the general receipt has too.
constexpr int kBatchPrintRight = Right::GeneralReceipt;

struct OneInvoicePrint {
    FormMainLogic& form;
    ReportPrinter& printer;
    QObject& component;
    QString path;
    int maximum;
    bool packing;

    // False when the component output nothing (its reason was shown): the batch stops.
    bool print(qint64 id, BatchPrintOutcome& outcome) {
        Session& s = form.ctx().db();
        const int invoiceId = static_cast<int>(id);
        form.ViewInvoice(invoiceId);
        if (form.FormMode() != kModeView || form.doc().invoiceID() != invoiceId) {
            outcome.missing << id;
            return true;
        }
        if (PrintCount(s, invoiceId) >= maximum) {
            outcome.atPrintLimit << id;
            return true;
        }
        QString selection = SplitRowSelection(path, invoiceId);
        if (selection.isEmpty() && packing) selection = PackingQuery(id);
        const FormulaList formulas = InvoiceFormulas(form.services());
        const ReportJob job{path,      NumberedFormulas(formulas.items()),
                            selection, ReportDestination::Printer,
                            {},        false};
        if (!printer.output(component, job)) return false;
        // Counted once output: an invoice the batch could not print keeps its count.
        IncrementPrintCount(s, invoiceId);
        outcome.printed << id;
        return true;
    }
};

}  // namespace

BatchPrintOutcome SearchBatch::cmdBatchPrint(ReportPrinter& printer) {
    BatchPrintOutcome outcome;
    if (!HasRight(ctx_, kBatchPrintRight)) {
        ShowMessage(ctx_, kErrorCaption, kNoRightMessage);
        return outcome;
    }
    const QList<qint64> ids = listed(batch::kNothingToPrint);
    if (ids.isEmpty()) return outcome;
    const QString path = chosenTemplate(printer, TemplateFormType::SaleInvoice);
    if (path.isEmpty()) return outcome;
    printEach(printer, path, ids, outcome);
    return outcome;
}

void SearchBatch::printEach(ReportPrinter& printer, const QString& path, const QList<qint64>& ids,
                            BatchPrintOutcome& outcome) {
    const auto component = printer.component();
    if (!component) return;
    FormMainLogic form(ctx_);
    const auto module = InstallModule(form);
    OneInvoicePrint one{form,
                        printer,
                        *component,
                        path,
                        ctx_.params.number(P::MaxPrintCount),
                        ctx_.db().tableExists(QStringLiteral("vwBPGoodPacking"))};
    outcome.ran = true;
    const int total = static_cast<int>(ids.size());
    for (int done = 0; done < total; ++done) {
        if (!frontEnd_.progress(done, total)) {
            outcome.cancelled = true;
            break;
        }
        if (!one.print(ids[done], outcome)) break;
    }
    frontEnd_.progress(total, total);
    sayPrinted(outcome, total);
}

void SearchBatch::sayPrinted(const BatchPrintOutcome& outcome, int total) {
    QStringList lines{QStringLiteral("«%1» فاكتور از «%2» فاكتور چاپ شد.")
                          .arg(outcome.printed.size())
                          .arg(total)};
    if (outcome.cancelled) lines << QStringLiteral("چاپ به خواست كاربر متوقف شد.");
    if (!outcome.atPrintLimit.isEmpty())
        lines << QStringLiteral("فاكتورهاي «%1» به حداکثر تعداد چاپ رسيده اند و چاپ نشدند.")
                     .arg(batch::IdList(outcome.atPrintLimit));
    if (!outcome.missing.isEmpty())
        lines << QStringLiteral("فاكتورهاي «%1» ديگر وجود ندارند.")
                     .arg(batch::IdList(outcome.missing));
    ShowMessage(ctx_, batch::kNotice, lines.join(QLatin1Char('\n')));
}

}  // namespace si
