#pragma once
// What every command gets: the global options and a component context opened on the database.

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <memory>

#include "ConsoleMessages.h"
#include "common/Context.h"

namespace si::cli {

struct GlobalOptions {
    QString db;
    int user = 1;
    int position = 0;
    int employee = 0;
    bool yes = false;
};

class CliContext {
public:
    explicit CliContext(const GlobalOptions& options);
    // Opens the session as the component's entry methods do and loads the parameters. Throws
    // std::invalid_argument when --user or --employee names no row.
    void open();
    // The exit code of a command the module did not carry out: a refusal of its checks, or a
    // database failure that the module caught and turned into a message.
    int refusalExitCode() const;
    Context& ctx() { return ctx_; }
    ConsoleAnswers& answers() { return *answers_; }
    const GlobalOptions& options() const { return options_; }

private:
    GlobalOptions options_;
    ComponentRegistry components_;
    ProcedureRegistry procedures_;
    std::shared_ptr<ConsoleAnswers> answers_;
    Context ctx_;
};

// A command's arguments after its words, and where it writes.
struct CommandCall {
    QStringList args;
    QTextStream& out;
    GlobalOptions options;
};

void PrintError(const QString& text);

}  // namespace si::cli
