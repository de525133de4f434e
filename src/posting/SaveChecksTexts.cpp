// The texts a save stores, checked before anything is written so that both databases store them
// alike: a manual code, card number or line description that cannot be stored as it is stops the
// save with the field's name and limit; notes and the message are cut to their length instead,
// as the original cuts them. The walk-in buyer is held to the rules its dialog applies.

#include "common/TextLimits.h"
#include "invoice/FormMainLogic.h"
#include "invoice/WalkInBuyer.h"
#include "posting/SaveRun.h"

namespace si {

namespace {

// The first description of the grid that cannot be stored, with its row; empty when none.
QString descriptionProblem(const LineTableModel& grid, const QString& rowWord) {
    for (int row : grid.filledRows()) {
        const QString problem = TextProblem(TextField::LineDescription, grid.line(row).Description);
        if (!problem.isEmpty())
            return rowWord + QStringLiteral(" ") + QString::number(row + 1) + QStringLiteral(": ") +
                   problem;
    }
    return {};
}

}  // namespace

bool SaveRun::CheckTexts() {
    const std::tuple<TextField, QString*, QString> header[] = {
        {TextField::ManualCode, &doc_.txtGhabz, QStringLiteral("txtGhabz")},
        {TextField::CardNo, &doc_.txtCardNo, QStringLiteral("txtCardNo")},
        {TextField::Notes, &doc_.txtNotes, QStringLiteral("txtNotes")},
        {TextField::CustomerMessage, &doc_.cmbMessage, QStringLiteral("cmbMessage")}};
    for (const auto& [field, text, control] : header) {
        const QString problem = TextProblem(field, *text);
        if (!problem.isEmpty()) return stop(kErrorCaption, problem, control);
        // Cut here, where a surrogate pair is kept whole; the header's own cut then keeps it all.
        if (LimitOf(field).cut && text->trimmed().size() > LimitOf(field).length)
            *text = StoredText(field, *text);
    }
    const WalkInEntry walkIn = ReadWalkInBuyer(doc_.walkIn.name, doc_.walkIn.phone);
    if (!walkIn.ok()) return stop(kErrorCaption, walkIn.problem, QStringLiteral("cmdCustomerName"));
    QString problem = descriptionProblem(doc_.flexDetail, QStringLiteral("سطر"));
    if (problem.isEmpty())
        problem = descriptionProblem(doc_.flexEch, QStringLiteral("سطر اشانتيون"));
    if (problem.isEmpty()) return true;
    return stop(kErrorCaption, problem, QStringLiteral("flexDetail"));
}

}  // namespace si
