#pragma once
// The invoice search form: the filters above, the result grid (flexSearch) below, and the
// commands. Controls carry their original names; reading them into values is driven by the filter
// table, so a control added to the table and the layout needs no code of its own.
// Modal in both uses: browsing ends with the invoice chosen (a double click, Enter, or OK on the
// current row), picking with the marked invoices.

#include <QDialog>
#include <memory>

#include "printing/ReportPrinter.h"
#include "search/SearchBatch.h"
#include "search/SearchFormLogic.h"

class QGridLayout;
class QPushButton;

namespace si {

class FrmReport;
class InvoiceResultView;

class FormSearch : public QDialog {
    Q_OBJECT
public:
    explicit FormSearch(Context& ctx, QWidget* parent = nullptr);
    ~FormSearch() override;

    SearchFormLogic& logic() { return logic_; }
    InvoiceResultView& grid() { return *grid_; }
    void InitializeSearch();
    void ClearForm();
    // The values the filter controls hold, by control name.
    SearchValues values() const;
    // The marked invoices' IDs joined by ",", or "" when none was chosen.
    QString pickInvoices();
    // The invoice chosen, or 0.
    qint64 chooseInvoice();
    // What the form ended with: the chosen invoice when browsing, the marked ones when picking.
    QString outcome();
    bool picking() const { return picking_; }
    // Starts a use: browsing or picking, nothing chosen yet. run() starts one itself.
    void prepare(bool picking);
    // Modal; the outcome, or "" when the form was closed without one.
    QString run(bool picking);

    // The commands on the whole result.
    void cmdPrint_Click();
    void cmdToExcel_Click();
    void cmdBatchPrint_Click();
    void cmdBatchDelete_Click();
    // The printer of the list report and of the batch print; frmReport chooses its templates.
    ReportPrinter& printer() { return printer_; }
    // What the batches ask beside the message box; the desktop's dialogs unless set.
    void setBatchFrontEnd(SearchBatchFrontEnd* frontEnd) { frontEnd_ = frontEnd; }

private:
    void buildFilters(QGridLayout* grid);
    QWidget* control(const char* name);
    QWidget* numberBox(const QString& name);
    void addCell(QGridLayout* grid, int row, int cell, const char* label,
                 std::initializer_list<const char*> controls);
    QPushButton* command(const char* name, const QString& text);
    void search();
    void clearControls();
    void fitTheScreen();
    void choose(qint64 id);
    void addBatchCommands();
    SearchBatch batch();

    Context& ctx_;
    SearchFormLogic logic_;
    InvoiceResultView* grid_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdToExcel_ = nullptr;
    std::unique_ptr<FrmReport> chooser_;
    ReportPrinter printer_;
    std::unique_ptr<SearchBatchFrontEnd> dialogs_;
    SearchBatchFrontEnd* frontEnd_ = nullptr;
    bool picking_ = false;
    qint64 chosen_ = 0;
};

}  // namespace si
