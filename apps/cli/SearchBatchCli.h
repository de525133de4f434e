#pragma once
// invoice search with a command on its whole result instead of the grid: --xlsx FILE writes the
// grid as a spreadsheet, --print-each --pdf FILE prints each listed invoice into a PDF file of
// its own, --delete-temp deletes the temporary ones. Each prints what it did as JSON.

#include <QStringList>
#include <optional>

#include "CliContext.h"
#include "search/InvoiceResultModel.h"

namespace si::cli {

struct SearchBatchOptions {
    enum class Kind { None, Spreadsheet, PrintEach, DeleteTemp } kind = Kind::None;
    QString file;  // the spreadsheet, or the first PDF file
    int templateId = 0;
    std::optional<int> reason;
};

// Takes the batch options out of the arguments; throws std::invalid_argument on a bad one.
SearchBatchOptions TakeSearchBatchOptions(QStringList& args);

// Runs the batch on the result; the exit code.
int RunSearchBatch(CommandCall& call, CliContext& cli, InvoiceResultModel& result,
                   const SearchBatchOptions& options);

}  // namespace si::cli
