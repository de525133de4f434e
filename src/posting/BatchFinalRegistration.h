#pragma once
// The batch final registration of the invoice list panel (its cmdFinalSave): the temporary
// invoices the clerk marked become final at once, those whose total passes the credit level of
// the clerk's position staying temporary. Each takes its code as a single final save would
// (FinalCodes.h), in the order of creation date then ID, so the series stays gap-free and in
// date order; nothing else is written: no accounting document, dispatch or payment.
//
// The questions come first; then one writer transaction reads the marked invoices again and
// registers those that still qualify, so an invoice finalised or changed by another workstation
// in the meantime is never registered twice. Any failure rolls all of them back.

#include <QList>

#include "common/Context.h"

namespace si {

class BatchFinalRegistration {
public:
    explicit BatchFinalRegistration(Context& ctx) : ctx_(ctx) {}

    // Registers the marked invoices (IDs in any order) after the right, the marks and the
    // clerk's confirmation; tells the clerk how many were registered and returns that number
    // (the list wants refreshing when it is not 0). 0 after a refusal, a No or a failure.
    int cmdFinalSave(const QList<qint64>& markedInvoiceIds);

private:
    struct Candidate {
        qint64 id = 0;
        QDateTime createDate;
    };
    bool confirmed(const QList<qint64>& ids);
    QList<Candidate> qualifying(const QList<qint64>& ids);
    bool renumberingApproved(const QList<qint64>& ids);
    int registerQualifying(const QList<qint64>& ids, bool renumber);
    void writeCode(qint64 id, int code);

    Context& ctx_;
};

}  // namespace si
