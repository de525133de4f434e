#pragma once
// The walk-in buyer of an invoice as the cashier types them with cmdCustomerName (F12): the
// rules a typed name and phone are held to before the invoice takes them. The dialog, the
// command line and the save's own check all read the buyer through ReadWalkInBuyer, so a buyer
// held by an invoice is always one that can be stored.

#include <QString>
#include <optional>

#include "invoice/InvoiceDocument.h"

namespace si {

// A typed name and phone: the buyer as stored, or why they cannot be stored.
struct WalkInEntry {
    WalkInBuyer buyer;
    QString problem;            // Persian, names the field; empty when the buyer can be stored
    bool phoneAtFault = false;  // else the name is

    bool ok() const { return problem.isEmpty(); }
};

// The name is trimmed and held to its text limit. The phone takes Latin, Persian and
// Arabic-Indic digits (stored as Latin ones) after an optional leading "+", 7 to 15 digits. A
// phone needs a name; an empty pair clears the buyer.
WalkInEntry ReadWalkInBuyer(const QString& name, const QString& phone);

// The phone as stored, or nullopt when the text is not a phone number by the rule above.
std::optional<QString> StoredPhone(const QString& typed);

// The buyer is typed while the invoice is entered or edited; a stored invoice only shows it.
inline bool WalkInBuyerEditable(int formMode) {
    return formMode == kModeEdit || formMode == kModeNew;
}

}  // namespace si
