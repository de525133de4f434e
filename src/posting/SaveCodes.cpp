// The code of a final save (FinalCodes.h draws it).
//
// The question about renumbering is asked before the transaction; the code itself is read and
// written inside the writer transaction, so two workstations never draw the same one. When a
// later-dated final invoice appears between the question and the transaction without the clerk's
// consent, the save is refused rather than renumbering unasked.

#include "common/Codes.h"
#include "common/Messages.h"
#include "invoice/FormMainLogic.h"
#include "posting/FinalCodes.h"
#include "posting/SaveRun.h"

namespace si {

namespace {
// Raised inside the transaction when the code cannot be given without asking again.
class CodeRefused : public std::runtime_error {
public:
    CodeRefused() : std::runtime_error(kRenumberRefused.toStdString()) {}
};
}  // namespace

// The renumbering question, before anything is written.
bool SaveRun::AskRenumbering() {
    if (!IsFinal_ || !LaterFinalInvoicesExist(ctx_, invoiceID(), invoiceDate())) return true;
    if (!HasRight(ctx_, Right::Renumber)) return stop(kErrorCaption, kRenumberRefused);
    renumberApproved_ = AskedYes(ctx_, kRenumberCaption, kRenumberQuestion);
    return renumberApproved_;
}

QDateTime SaveRun::invoiceDate() const {
    return QDateTime(doc_.datCreateDate, QTime(0, 0));
}

// The new code, inside the writer transaction; shown in txtCode.
void SaveRun::AssignCode() {
    const std::optional<int> code =
        DrawFinalCode(ctx_, invoiceID(), invoiceDate(), renumberApproved_);
    if (!code) throw CodeRefused();
    newCode_ = *code;
    doc_.txtCode = QString::number(newCode_);
}

}  // namespace si
