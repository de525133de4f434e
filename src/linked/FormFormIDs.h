#pragma once
// FormFormIDs without its widgets: when an invoice refers to several documents of one kind (the
// dispatches issued from it, for cmdInvExit), the clerk picks the one to open. One document is
// opened at once; none is the caller's message.

#include <QString>
#include <QVector>

#include "common/Context.h"

namespace si {

// One document as the chooser lists it.
struct FormIdChoice {
    int id = 0;
    QString code;
    QString farsiDate;
    QString notes;
};

// FormFormIDs as the command sees it: the ID chosen, -1 when cancelled.
class FormIdChooser {
public:
    virtual ~FormIdChooser() = default;
    virtual int chooseFormID(const QVector<FormIdChoice>& choices) = 0;
};

// The dispatches issued from the invoice, by ID; none shows "برگه خروجي از روي اين فاکتور فروش
// كالا صادر نشده است." (خطا).
QVector<FormIdChoice> InvoiceDispatchChoices(Context& ctx, int invoiceId);

// The only choice, or the chooser's among several; -1 when there is none, no chooser, or the
// clerk cancelled.
int ChooseFormID(const QVector<FormIdChoice>& choices, FormIdChooser* chooser);

}  // namespace si
