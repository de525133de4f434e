#pragma once
// Printing the contents of a cash turn (cmdOK of frmCashContents, and the command line): right
// 20804, the turn template (a shop's first, else the one chosen), and the figures as the form's
// labels show them in the template's fixed formula slots.

#include <QHash>
#include <QString>

#include "posting/CashTurnBooking.h"
#include "printing/ReportPrinter.h"

namespace si {

struct CashContentsFigures {
    QString cashName;
    QHash<QString, QString> labels;  // by the contents form's label names
};

// The figures of a turn read without the form, as the form's labels would show them.
CashContentsFigures CashContentsFiguresOf(const CashTurnContents& contents,
                                          const QString& cashName);

// True when the contents were output.
bool PrintCashContents(ReportPrinter& printer, const CashContentsFigures& figures);

}  // namespace si
