// The code of a final invoice: one more than the highest code of the numbering
// range, or, when final invoices dated later exist, the code of the first of them, every code from
// there on moving up by one. The range is the whole table, or the active accounting period with
// parameter 78.
//
// The question about renumbering is asked before the transaction; the code itself is read and
// written inside the writer transaction, so two workstations never draw the same one. When a
// later-dated final invoice appears between the question and the transaction without the clerk's
// consent, the save is refused rather than renumbering unasked.

#include "common/Codes.h"
#include "common/Messages.h"
#include "invoice/FormMainLogic.h"
#include "posting/SaveRun.h"

namespace si {

namespace {
const QString kLaterFinalHead =
    QStringLiteral("تعدادي از اسناد نهايي شده، بعد از تاريخ سند فعلي نهايي شدهاند. ");
const QString kRenumberRefused = kLaterFinalHead + QStringLiteral(
                                                       "بنابراين امكان ادامه اين فرايند وجود "
                                                       "ندارد.");

// Raised inside the transaction when the code cannot be given without asking again.
class CodeRefused : public std::runtime_error {
public:
    CodeRefused() : std::runtime_error(kRenumberRefused.toStdString()) {}
};
}  // namespace

// The invoice being saved is left out of the range: a final invoice saved again takes a fresh
// code, and its old one must neither be its own maximum nor be shifted.
QString SaveRun::periodFilter() const {
    QString filter = QStringLiteral(" and ID <> ?");
    if (ctx_.params.flag(P::PeriodDates))
        filter += QStringLiteral(" and CreateDate >= ? and CreateDate <= ?");
    return filter;
}

Params SaveRun::periodParams() const {
    Params params{invoiceID()};
    if (ctx_.params.flag(P::PeriodDates))
        params << QDateTime(ctx_.period.beginDate, QTime(0, 0))
               << QDateTime(ctx_.period.endDate, QTime(23, 59, 59));
    return params;
}

bool SaveRun::laterFinalInvoicesExist() {
    return ctx_.db()
        .first(PlannedForItsValues(QStringLiteral("Select ID from tblSaleInvoice where Code is "
                                                  "not Null and CreateDate > ?") +
                                   periodFilter() + QStringLiteral(" limit 1")),
               Params{doc_.datCreateDate} + periodParams())
        .has_value();
}

// The renumbering question, before anything is written.
bool SaveRun::AskRenumbering() {
    if (!IsFinal_ || !laterFinalInvoicesExist()) return true;
    if (!HasRight(ctx_, Right::Renumber)) return stop(kErrorCaption, kRenumberRefused);
    renumberApproved_ =
        AskedYes(ctx_, QStringLiteral("هشدار"),
                 kLaterFinalHead + QStringLiteral("ادامه اين فرايند، موجب تغيير در شماره تاييد شده "
                                                  "اينگونه اسناد خواهد شد. آيا ادامه ميدهيد؟"));
    return renumberApproved_;
}

// The new code, inside the writer transaction; shown in txtCode.
void SaveRun::AssignCode() {
    Session& s = ctx_.db();
    const QString filter = periodFilter();
    const Params range = periodParams();
    newCode_ = 1 + s.scalar(QStringLiteral("select coalesce(max(Code), 0) as maxcode from "
                                           "tblSaleInvoice where Code is not Null") +
                                filter,
                            range)
                       .toInt();
    const auto later = s.first(
        PlannedForItsValues(QStringLiteral("Select Code from tblSaleInvoice where Code is not "
                                           "Null and CreateDate > ?") +
                            filter + QStringLiteral(" Order by Code limit 1")),
        Params{doc_.datCreateDate} + range);
    if (later) {
        if (!renumberApproved_) throw CodeRefused();
        newCode_ = later->toInt(u"Code");
        s.exec(QStringLiteral("Update tblSaleInvoice set Code = Code + 1 where Code is not Null "
                              "and Code >= ?") +
                   filter,
               Params{newCode_} + range);
    }
    doc_.txtCode = QString::number(newCode_);
}

}  // namespace si
