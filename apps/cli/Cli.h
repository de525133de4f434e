#pragma once
// The saleinvoice command line: headless work on the same logic as the forms. Global options come
// before the command words; every level answers --help.
//   saleinvoice [--db CONN] [--user ID] [--position ID] [--employee ID] [--yes|--no] COMMAND ...
// Exit codes: 0 success, 1 database or usage error, 2 refused by the module's checks.

#include <QStringList>
#include <QTextStream>

namespace si::cli {

enum ExitCode { kExitOk = 0, kExitError = 1, kExitRefused = 2 };

// args excludes the program name. Output goes to out; messages and errors to standard error.
int Run(const QStringList& args, QTextStream& out);

// The demo database of ./x run: $SALEINVOICE_DEMO_DB or var/demo.sqlite in the source tree.
QString DefaultDatabase();

}  // namespace si::cli
