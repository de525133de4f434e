#include "search/SearchBatch.h"

#include <QDir>
#include <QStandardPaths>

#include "common/Codes.h"
#include "common/Jalali.h"
#include "common/Messages.h"
#include "printing/PrintSources.h"
#include "printing/ReportPrinter.h"
#include "search/SearchBatchTexts.h"
#include "search/SpreadsheetExport.h"

namespace si {

namespace {

// The form type of the search result's list report templates.
constexpr int kListReportFormType = 910;
// The right of the list report is the one that also lets an invoice be deleted late.
constexpr int kListReportRight = Right::EditPastAgeLimit;

QString joinedIds(const QList<qint64>& ids) {
    QStringList texts;
    texts.reserve(ids.size());
    for (qint64 id : ids)
        texts << QString::number(id);
    return texts.join(QLatin1Char(','));
}

}  // namespace

QString ListSelection(const QList<qint64>& ids) {
    return QStringLiteral("({vwSaleInvoiceSearch.ID} in [") + joinedIds(ids) + QStringLiteral("])");
}

// A text for the report engine, which runs it itself: it takes no parameters, and the one value
// in it is an identifier written as a number.
QString PackingQuery(qint64 invoiceId) {
    return QStringLiteral(
               "Select vwSaleInvoicePrint.*, vwBPGoodPacking.ScaleName as PackingName, "
               "vwBPGoodPacking.ScaleToBaseParent as PackingSize From vwSaleInvoicePrint Left "
               "Join vwBPGoodPacking On vwBPGoodPacking.Barcode = vwSaleInvoicePrint.Barcode and "
               "vwBPGoodPacking.ScaleID = vwSaleInvoicePrint.ScaleID Where "
               "vwSaleInvoicePrint.InvoiceID = ") +
           QString::number(invoiceId) + QStringLiteral(" Order by vwSaleInvoicePrint.RowNumber");
}

SearchBatch::SearchBatch(Context& ctx, InvoiceResultModel& result, SearchBatchFrontEnd& frontEnd)
    : ctx_(ctx), result_(result), frontEnd_(frontEnd) {}

QList<qint64> SearchBatch::listed(const QString& nothingText) {
    const QList<qint64> ids = result_.allIds();
    if (ids.isEmpty()) ShowMessage(ctx_, batch::kNotice, nothingText);
    return ids;
}

QString SearchBatch::chosenTemplate(ReportPrinter& printer, int formType) {
    if (!printer.chooser().fill(formType)) return {};
    const QString chosen = printer.chooser().choose(batch::kPrintCaption);
    return chosen.isEmpty() ? chosen : WithBasePath(chosen, InstallationBasePath(ctx_.db()));
}

bool SearchBatch::cmdPrint(ReportPrinter& printer) {
    if (!HasRight(ctx_, kListReportRight)) {
        ShowMessage(ctx_, kErrorCaption, kNoRightMessage);
        return false;
    }
    const QList<qint64> ids = listed(batch::kNothingToPrint);
    if (ids.isEmpty()) return false;
    const QString path = chosenTemplate(printer, kListReportFormType);
    if (path.isEmpty()) return false;
    const auto component = printer.component();
    if (!component) return false;
    // The list's heading names the company and the day it was printed.
    FormulaList formulas;
    formulas.text(QStringLiteral("fmlCompanyName"), ReadCompany(ctx_.db()).name);
    formulas.text(QStringLiteral("fmlPrintDate"), getFarsiDate(ctx_.db().today()));
    const ReportJob job{
        path, NumberedFormulas(formulas.items()), ListSelection(ids), ReportDestination::Screen, {},
        true};
    return printer.output(*component, job);
}

std::optional<int> SearchBatch::cmdToExcel() {
    if (!HasRight(ctx_, Right::ExportToSpreadsheet)) {
        ShowMessage(ctx_, batch::kProblemArabic, batch::kNoExportRight);
        return std::nullopt;
    }
    if (listed(batch::kNothingToExport).isEmpty()) return std::nullopt;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString file =
        frontEnd_.spreadsheetFile(QDir(documents).filePath(batch::kSpreadsheetName));
    if (file.isEmpty()) return std::nullopt;
    int rows = 0;
    try {
        rows = WriteResultSpreadsheet(result_, file);
    } catch (const SpreadsheetError& e) {
        ShowMessage(ctx_, batch::kProblemArabic, batch::SpreadsheetNotWritten(file, e.reason()));
        return std::nullopt;
    }
    frontEnd_.openFile(file);
    return rows;
}

}  // namespace si
