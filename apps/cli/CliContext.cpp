#include "CliContext.h"

#include <cstdio>

#include "erpdb/Procedures.h"
#include "suite/Components.h"

namespace si::cli {

CliContext::CliContext(const GlobalOptions& options)
    : options_(options),
      answers_(std::make_shared<ConsoleAnswers>()),
      ctx_(&components_, &procedures_) {
    answers_->yes = options.yes;
    suite::RegisterComponents(components_);
    // Messages go to standard error instead of a window.
    RegisterConsoleMessages(components_, answers_);
    erpdb::RegisterProcedures(procedures_);
    ctx_.globals.CurrentUserID = options.user;
    ctx_.globals.CurrentPositionID = options.position;
    ctx_.globals.CurrentEmployeeID = options.employee;
    ctx_.globals.CurrentConnectionString = options.db;
}

void CliContext::open() {
    OpenSession(ctx_);
    LoadSystemParameters(ctx_);
}

void PrintError(const QString& text) {
    std::fputs((text + QLatin1Char('\n')).toUtf8().constData(), stderr);
}

}  // namespace si::cli
