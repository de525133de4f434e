#include "CliContext.h"

#include <cstdio>
#include <stdexcept>

#include "Cli.h"

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

namespace {

// A user or employee given on the command line must be one the database knows: nothing would
// stop a save from writing an ID that no row stands for.
void refuseUnknown(const char* table, int id, const QString& what) {
    throw std::invalid_argument((what + QStringLiteral(" «") + QString::number(id) +
                                 QStringLiteral("» در ") + QString::fromLatin1(table) +
                                 QStringLiteral(" تعریف نشده است."))
                                    .toStdString());
}

}  // namespace

void CliContext::open() {
    OpenSession(ctx_);
    // The session read the user's name already: asked again, the command's memo answers.
    if (!UserFullName(ctx_.db(), options_.user))
        refuseUnknown("tblUser", options_.user, QStringLiteral("کاربر (--user)"));
    if (options_.employee != 0 &&
        !ctx_.db().first(QStringLiteral("SELECT 1 FROM tblEmployee WHERE ID = ?"),
                         {options_.employee}))
        refuseUnknown("tblEmployee", options_.employee, QStringLiteral("کارمند (--employee)"));
    LoadSystemParameters(ctx_);
}

int CliContext::refusalExitCode() const {
    const bool databaseFailed = ctx_.hasSession() && ctx_.session->failedStatements() > 0;
    return databaseFailed ? kExitError : kExitRefused;
}

void PrintError(const QString& text) {
    std::fputs((text + QLatin1Char('\n')).toUtf8().constData(), stderr);
}

}  // namespace si::cli
