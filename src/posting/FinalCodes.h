#pragma once
// The code of a final invoice, drawn as the single final save and the batch registration both
// draw it: one more than the highest code of the numbering range, or, when final invoices dated
// later exist, the code of the first of them, every code from there on moving up by one. The
// range is the whole table, or the active accounting period with parameter 78; the invoice
// itself is left out of it, so a final invoice saved again takes a fresh code and its old one
// neither counts as the maximum nor moves.
//
// Drawing reads a maximum and writes the shifted codes back: the caller holds the session's
// writer transaction (Session::writerTransaction) until the invoice's own code is written.

#include <QDateTime>
#include <optional>

#include "common/Context.h"

namespace si {

// What the clerk is told when giving the code would renumber later final invoices.
inline const QString kLaterFinalHead =
    QStringLiteral("تعدادي از اسناد نهايي شده، بعد از تاريخ سند فعلي نهايي شدهاند. ");
inline const QString kRenumberCaption = QStringLiteral("هشدار");
inline const QString kRenumberQuestion =
    kLaterFinalHead + QStringLiteral(
                          "ادامه اين فرايند، موجب تغيير در شماره تاييد شده اينگونه "
                          "اسناد خواهد شد. آيا ادامه ميدهيد؟");
inline const QString kRenumberRefused =
    kLaterFinalHead + QStringLiteral("بنابراين امكان ادامه اين فرايند وجود ندارد.");

// Final invoices of the range are dated after createDate: giving this invoice a code renumbers
// them.
bool LaterFinalInvoicesExist(Context& ctx, qint64 invoiceId, const QDateTime& createDate);

// The invoice's new code. With later-dated final invoices in the range the code is the first of
// theirs and they move up by one, but only when renumberAllowed; otherwise nothing is written
// and nullopt comes back. The invoice's own Code column is the caller's to write.
std::optional<int> DrawFinalCode(Context& ctx, qint64 invoiceId, const QDateTime& createDate,
                                 bool renumberAllowed);

}  // namespace si
