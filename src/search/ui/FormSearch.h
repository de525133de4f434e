#pragma once
// The invoice search form: the filters above, the result grid (flexSearch) below, and the
// commands. Controls carry their original names; reading them into values is driven by the filter
// table, so a control added to the table and the layout needs no code of its own.
// In picking mode the form is modal and ends with the marked invoices.

#include <QDialog>

#include "search/SearchFormLogic.h"

class QGridLayout;
class QPushButton;

namespace si {

class InvoiceResultView;

class FormSearch : public QDialog {
    Q_OBJECT
public:
    explicit FormSearch(Context& ctx, QWidget* parent = nullptr);

    SearchFormLogic& logic() { return logic_; }
    InvoiceResultView& grid() { return *grid_; }
    void InitializeSearch();
    void ClearForm();
    // The values the filter controls hold, by control name.
    SearchValues values() const;
    // Modal; the marked invoices' IDs joined by ",", or "" when none was chosen.
    QString pickInvoices();

Q_SIGNALS:
    void invoiceOpened(qint64 id);

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

    Context& ctx_;
    SearchFormLogic logic_;
    InvoiceResultView* grid_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    bool picking_ = false;
};

}  // namespace si
