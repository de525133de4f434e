#pragma once
// The desktop's answers to what a batch on the search result asks: the save dialog of the
// spreadsheet, the program that opens it, and a progress dialog that can be cancelled.

#include <QPointer>
#include <QProgressDialog>

#include "search/SearchBatch.h"

namespace si {

class BatchDialogs : public SearchBatchFrontEnd {
public:
    explicit BatchDialogs(QWidget* parent) : parent_(parent) {}

    // frmSelDeleteReason.
    std::optional<int> chooseReason(const QVector<DeleteReason>& reasons) override;
    QString spreadsheetFile(const QString& suggested) override;
    // A desktop without a program for .xlsx files opens nothing, and says nothing.
    void openFile(const QString& file) override;
    // The dialog appears with the first invoice and is closed when the batch ends.
    bool progress(int done, int total) override;

private:
    QWidget* parent_;
    QPointer<QProgressDialog> progress_;
};

}  // namespace si
