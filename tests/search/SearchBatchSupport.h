#pragma once
// The batches on the search result over invoices stored through the save: the printing fixture
// (the recording report component, templates in a folder of the test's own), the search result of
// every invoice, and a front end that records what the batch asked of it.

#include <QTemporaryDir>
#include <memory>

#include "printing/PrintingTestSupport.h"
#include "printing/ReportPrinter.h"
#include "search/InvoiceResultModel.h"
#include "search/SearchBatch.h"
#include "search/SearchFilters.h"

namespace si::test {

class RecordingFrontEnd : public SearchBatchFrontEnd {
public:
    std::optional<int> chooseReason(const QVector<DeleteReason>& reasons) override {
        offered = reasons;
        if (onReason) onReason();
        return reason;
    }
    QString spreadsheetFile(const QString& suggested) override {
        suggestedFile = suggested;
        return file;
    }
    void openFile(const QString& f) override {
        opened << f;
        if (onOpen) onOpen();
    }
    bool progress(int done, int total) override {
        steps << done;
        totals << total;
        if (onProgress) onProgress(done);
        return done != stopBefore;
    }

    std::optional<int> reason;  // the answer of the reason dialog
    QVector<DeleteReason> offered;
    std::function<void()> onReason;
    QString file;  // the answer of the save dialog
    QString suggestedFile;
    QStringList opened;
    QList<int> steps, totals;
    int stopBefore = -1;  // the user cancels when this many are done
    std::function<void(int)> onProgress;
    std::function<void()> onOpen;
};

class SearchBatchTest : public PrintingTest {
protected:
    void SetUp() override {
        PrintingTest::SetUp();
        result = std::make_unique<InvoiceResultModel>(ctx, SearchColumns());
        printer = std::make_unique<ReportPrinter>(ctx);
        printer->setChooser(&chooser);
    }
    void TearDown() override {
        printer.reset();
        result.reset();
        PrintingTest::TearDown();
    }
    // The result of the search with these values (all invoices when none).
    void search(const SearchValues& values = {}) {
        result->setSource({SearchCondition(ctx, values)});
    }
    SearchBatch batch() { return SearchBatch(ctx, *result, frontEnd); }

    RecordingChooser chooser{ctx};
    RecordingFrontEnd frontEnd;
    std::unique_ptr<InvoiceResultModel> result;
    std::unique_ptr<ReportPrinter> printer;
};

}  // namespace si::test
