#pragma once
// The search form's filters as data: one entry per control, with the condition it adds when set
// and how its value is bound. The search, the command line and the tests all build the same SQL
// from the same table; no value is ever written into the SQL text.
//
// Values are keyed by the control's name. "Set" is as the form sees it: a text box not empty, a
// look-up or list with a value, a date given. Tick boxes start ticked: an entry of kind Unticked
// applies when its box holds false. A companion tick box (sub-customers, sub-groups, ...) picks
// the entry's wider condition. A term in braces is one whose value usually picks few invoices.

#include <QDate>
#include <QHash>
#include <QString>
#include <QVariant>
#include <vector>

#include "common/Context.h"
#include "common/SqlCondition.h"
#include "common/TextSearch.h"

namespace si {

enum class FilterKind {
    Id,        // a look-up's ID or a list's item data
    Number,    // digits (Persian, Arabic-Indic or Latin) of a whole number
    Text,      // compared as typed
    Code,      // a barcode or goods code: its digits folded to Latin
    Contains,  // found anywhere in the text, folded (see ContainsField)
    DayStart,  // a date: from the start of that day
    DayAfter,  // a date: up to the end of that day
    JalaliText,
    Unticked,  // a tick box that starts ticked
};

struct SearchFilter {
    const char* control;
    const char* option;  // the command line's name, without "--"
    FilterKind kind;
    const char* sql;                  // the condition, each '?' bound to the value
    const char* companion = nullptr;  // a tick box choosing sqlTicked instead
    const char* sqlTicked = nullptr;
    ContainsField field = ContainsField::InvoiceNotes;  // for kind Contains
    const char* meaning = "";                           // for the command line's help
    bool goods = false;  // sql selects the barcodes of the goods the invoices' lines hold
};

const std::vector<SearchFilter>& SearchFilters();
const SearchFilter* FindSearchFilter(const QString& control);

using SearchValues = QHash<QString, QVariant>;

// The whole number a numeric box holds, its digits folded; nullopt when it holds anything else.
std::optional<qint64> SearchNumber(const QVariant& value);
// A discount-percent bound as the box keeps it when left: whole numbers above 100 wrap.
QString NormalisedPercentText(const QString& typed);

// Whether the value counts as set for its entry.
bool IsFilterSet(const SearchFilter& filter, const QVariant& value);

// Every set filter's condition, in the table's order, then the user's access restrictions.
SqlCondition SearchCondition(const Context& ctx, const SearchValues& values);

}  // namespace si
