#pragma once
// Command boundaries: a button, a key, a field's change handler, a grid cell, a dialog's OK, a
// timer tick. Each runs its work through Guarded, the one place where an error of that work ends:
// the transactions it opened are rolled back by their destructors on the way out, `undo` puts
// back what it had changed in memory, and the clerk sees one message with the cause. Nothing
// escapes into the event loop, and nothing below a boundary swallows an error.

#include <QString>
#include <functional>

#include "common/Context.h"
#include "common/SqlError.h"

namespace si {

// What the clerk reads about a failed statement (the command line prints the same line).
QString DatabaseErrorText(const SqlError& error);

// Runs command; false when it failed, after undo ran and the one message was shown.
bool Guarded(Context& ctx, const std::function<void()>& command,
             const std::function<void()>& undo = {});

// How a widget runs what the clerk started in it: Guarded with the owner's undo.
using CommandRunner = std::function<bool(const std::function<void()>&)>;

}  // namespace si
