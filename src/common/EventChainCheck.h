#pragma once
// Checks the form-event chain (EventChain.h) link by link in the order of its places and names
// the first broken link: an edited row (its code no longer fits its content), a removed row (a
// place missing), an inserted row (a row outside the chain after it began, a place taken twice
// or out of the order of writing, a code that is no code). Events written before the chain
// existed are counted as unchained, which is no fault. Read-only; the command line and the
// host's administrator use it alike.

#include <QByteArray>
#include <QDate>
#include <QString>

#include "common/Session.h"

namespace si {

enum class ChainBreak { None, Edited, Removed, Inserted };

struct EventChainReport {
    ChainBreak broken = ChainBreak::None;
    qint64 rowId = 0;       // the row named: the edited or inserted one, or the one after a gap
    qint64 chainSeq = 0;    // its place, 0 for a row outside the chain
    qint64 missingSeq = 0;  // a removed row: the first place missing
    qint64 checked = 0;     // links checked before the first broken one
    qint64 unchained = 0;   // events written before the chain
    qint64 firstSeq = 0;    // the first place checked
    QString message;        // Persian, what was found

    bool intact() const { return broken == ChainBreak::None; }
};

// `from` valid: the check starts at the first event on or after that day, linked from the one
// before it. Throws SqlError with a Persian message when the key file is missing.
EventChainReport VerifyEventChain(Session& s, const QDate& from = {});
EventChainReport VerifyEventChain(Session& s, const QByteArray& key, const QDate& from = {});

// "edited", "removed", "inserted" or "none", for machine-read output.
QString ChainBreakName(ChainBreak kind);

}  // namespace si
