#include "posting/DispatchNotes.h"

namespace si {

QString DispatchInvoiceNote(int invoiceId) {
    return QStringLiteral("سند ايجاد شده از روي فاكتور فروش كالا به شماره رايانه اي ") +
           QString::number(invoiceId);
}

QString DispatchLinkNote(int invoiceId) {
    return QStringLiteral("\r\nسند ايجاد شده از روي فاكتور فروش كالا به شماره رايانهاي ") +
           QString::number(invoiceId);
}

namespace {

void removeWhole(QString& notes, const QString& note) {
    qsizetype at = 0;
    while ((at = notes.indexOf(note, at)) >= 0) {
        const qsizetype end = at + note.size();
        if (end < notes.size() && notes.at(end).isDigit())
            at = end;
        else
            notes.remove(at, note.size());
    }
}

}  // namespace

QString WithoutInvoiceNotes(QString notes, int invoiceId) {
    removeWhole(notes, DispatchLinkNote(invoiceId));
    removeWhole(notes, DispatchInvoiceNote(invoiceId));
    return notes;
}

}  // namespace si
