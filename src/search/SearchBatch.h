#pragma once
// The commands on the whole search result (every listed invoice, marked or not): the list report
// (cmdPrint), the spreadsheet export (cmdToExcel), the invoice print of each invoice one after
// another (cmdBatchPrint) and the deletion of the temporary ones (cmdBatchDelete). Each asks its
// right first and says so when the result is empty. Messages and questions go through the
// context's message box; what a message box cannot ask goes through the front end, so the form
// and the command line run the same commands.
//
// Ownership: the result, the front end and the printers given outlive the batch.

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

#include "common/Context.h"
#include "posting/InvoiceDeletion.h"
#include "search/InvoiceResultModel.h"

namespace si {

class ReportPrinter;

// What a batch asks that is not a yes or no; the delete reason as frmSelDeleteReason asks it.
class SearchBatchFrontEnd : public DeleteReasonChooser {
public:
    // Where to write the spreadsheet, offering the suggested path; empty when the user cancelled.
    virtual QString spreadsheetFile(const QString& suggested) = 0;
    // Opens the written file with the desktop's program for it; nothing when there is none.
    virtual void openFile(const QString& file) = 0;
    // Before each invoice (done: how many went before it); false stops the batch there. Once
    // more with done equal to total when the batch has ended, however it ended.
    virtual bool progress(int done, int total) = 0;
};

// A batch without a form: a given file and reason, no program to open a file with, never
// cancelled. Without a reason given a deletion that needs one is cancelled.
class HeadlessBatchFrontEnd : public SearchBatchFrontEnd {
public:
    explicit HeadlessBatchFrontEnd(QString file = {}, std::optional<int> reason = {})
        : file_(std::move(file)), reason_(reason) {}
    std::optional<int> chooseReason(const QVector<DeleteReason>& reasons) override;
    QString spreadsheetFile(const QString&) override { return file_; }
    void openFile(const QString&) override {}
    bool progress(int, int) override { return true; }

private:
    QString file_;
    std::optional<int> reason_;
};

struct BatchPrintOutcome {
    QList<qint64> printed;
    QList<qint64> atPrintLimit;  // not printed: printed as often as allowed already
    QList<qint64> missing;       // not printed: deleted since the search
    bool cancelled = false;
    bool ran = false;  // false: refused or nothing chosen, nothing printed
};

struct BatchDeleteOutcome {
    QList<qint64> deleted;
    QList<qint64> kept;                    // final, or in a distribution sheet
    QList<QPair<qint64, QString>> failed;  // with the database's reason
    bool ran = false;  // false: refused, nothing listed, or not confirmed; nothing deleted
};

// The ids of the listed invoices in a record selection of the list report.
QString ListSelection(const QList<qint64>& ids);
// The packing list of an invoice's lines, for a template that prints its goods by packing.
QString PackingQuery(qint64 invoiceId);

class SearchBatch {
public:
    SearchBatch(Context& ctx, InvoiceResultModel& result, SearchBatchFrontEnd& frontEnd);

    // cmdPrint: the list report of form type 910 over every listed invoice, to the screen.
    bool cmdPrint(ReportPrinter& printer);
    // cmdToExcel: the grid as a spreadsheet; the rows written, nullopt when no file was.
    std::optional<int> cmdToExcel();
    // cmdBatchPrint: each listed invoice on the invoice template chosen once, with the formulas
    // of its own print; each print counts, and one printed as often as allowed is left out.
    BatchPrintOutcome cmdBatchPrint(ReportPrinter& printer);
    // cmdBatchDelete: after the question and the reason, each temporary invoice outside every
    // distribution sheet deleted in a transaction of its own, with its sale order; one that fails
    // does not stop the others. The result is read again.
    BatchDeleteOutcome cmdBatchDelete();

private:
    // The listed invoices; empty after the message when there is none.
    QList<qint64> listed(const QString& nothingText);
    QString chosenTemplate(ReportPrinter& printer, int formType);
    void printEach(ReportPrinter& printer, const QString& path, const QList<qint64>& ids,
                   BatchPrintOutcome& outcome);
    void sayPrinted(const BatchPrintOutcome& outcome, int total);
    // The reason, asked before anything is deleted: an empty one when none is kept (a shop, or
    // no reasons), nullopt when the user cancelled.
    std::optional<std::optional<int>> askedReason();
    void deleteEach(const QList<qint64>& ids, std::optional<int> reason,
                    BatchDeleteOutcome& outcome);
    void sayDeleted(const BatchDeleteOutcome& outcome);

    Context& ctx_;
    InvoiceResultModel& result_;
    SearchBatchFrontEnd& frontEnd_;
};

}  // namespace si
