#pragma once
// The grid of an invoice list or search result (flex, flexSearch) over an InvoiceResultModel:
// a header click sorts by that column, a click on a row reports it (marking, when the caller
// marks), a double click or Enter opens the invoice. Sorting shows the hourglass.

#include <QTableView>

#include "search/InvoiceResultModel.h"

namespace si {

class InvoiceResultView : public QTableView {
    Q_OBJECT
public:
    InvoiceResultView(InvoiceResultModel& model, QWidget* parent = nullptr);
    InvoiceResultModel& resultModel() { return *model_; }
    // Column widths for the titles and the figures they hold.
    void sizeColumns();

Q_SIGNALS:
    void rowClicked(int row);
    void invoiceOpened(qint64 id);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void openRow(int row);

    InvoiceResultModel* model_;
};

// The hourglass while a statement runs.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace si
