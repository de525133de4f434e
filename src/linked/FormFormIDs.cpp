#include "linked/FormFormIDs.h"

#include "posting/InventoryDispatch.h"

namespace si {

QVector<FormIdChoice> InvoiceDispatchChoices(Context& ctx, int invoiceId) {
    QVector<FormIdChoice> choices;
    const QVector<int> ids = InventoryDispatch::DispatchesOfInvoice(ctx, invoiceId);
    if (ids.isEmpty()) return choices;
    for (const Row& r : ctx.db().query(
             QStringLiteral("select ID, Code, FarsiReceiveDate, Notes from tblInventoryDispatch "
                            "where FormTypeID = ? and FormID = ? order by ID"),
             {FormType::SaleInvoice, invoiceId}))
        choices.append(
            {r.toInt(u"ID"), r.text(u"Code"), r.text(u"FarsiReceiveDate"), r.text(u"Notes")});
    return choices;
}

int ChooseFormID(const QVector<FormIdChoice>& choices, FormIdChooser* chooser) {
    if (choices.isEmpty()) return -1;
    if (choices.size() == 1) return choices.first().id;
    if (!chooser) return -1;
    const int chosen = chooser->chooseFormID(choices);
    for (const FormIdChoice& c : choices)
        if (c.id == chosen) return chosen;
    return -1;
}

}  // namespace si
