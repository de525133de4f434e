#pragma once
// cmdBackToTemp: a final invoice goes back to the temporary state. This module asks the checks
// (right 90107, the question, finality, a closed cash turn, dependent sale assignments and
// dispatches) and hands the invoice to the ERP's back-to-temp component, which undoes the
// postings in one transaction and decides finality and the closed turn again under its lock.
//
// Every check stops before anything is written; questions are asked before the component runs.

#include <QString>
#include <QVector>

#include "common/Context.h"

namespace si {

class Session;

inline const QString kBackToTempQuestion = QStringLiteral("آيا براي بازگشت مطمئن هستيد؟");
inline const QString kBackToTempNotFinal =
    QStringLiteral("فاكتور فروش بايد در وضعيت ثبت قطعي باشد تا بتوان بازگشت زد!");

// The closed cash turns the invoice is booked in.
int ClosedCashTurnsOf(Session& s, int invoiceId);
// Why an invoice booked in closed turns stays final.
QString ClosedCashTurnText(int count);

// The IDs of the sale assignments, and of the dispatches tied to the invoice, oldest first.
QVector<int> SaleAssignmentsOf(Session& s, int invoiceId);
QVector<int> DispatchesTiedTo(Session& s, int invoiceId);

class BackToTempCommand {
public:
    explicit BackToTempCommand(Context& ctx) : ctx_(ctx) {}

    // The checks in their order, then the component; true when the invoice went back to temp.
    // shownAsFinal: the form shows the invoice with a code.
    bool Run(int invoiceId, bool shownAsFinal);

private:
    bool checksPass(int invoiceId, bool shownAsFinal);
    // Dependants of one kind: refused without right 90131, asked with it.
    bool dependantsAllowed(const QVector<int>& ids, const QString& kind);

    Context& ctx_;
};

}  // namespace si
