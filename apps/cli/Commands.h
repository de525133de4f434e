#pragma once
// The command table of the command line. Each command is reached by its words
// ("db init", "invoice show") and runs with the arguments that follow them.

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "CliContext.h"

namespace si::cli {

struct Command {
    QStringList words;
    QString synopsis;
    QString help;
    std::function<int(CommandCall&)> run;
};

std::vector<Command> DatabaseCommands();
std::vector<Command> InvoiceCommands();
std::vector<Command> SearchCommands();
std::vector<Command> TurnCommands();
std::vector<Command> PayCommands();
std::vector<Command> PosCommands();
std::vector<Command> PrintCommands();
std::vector<Command> DispatchCommands();
std::vector<Command> BackToTempCommands();
std::vector<Command> DeleteCommands();
std::vector<Command> AuditCommands();
std::vector<Command> AllCommands();

}  // namespace si::cli
