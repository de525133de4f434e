#include "linked/ChangeQty.h"

#include "common/Codes.h"
#include "common/InvoiceSums.h"
#include "common/Jalali.h"
#include "common/Messages.h"

namespace si {

namespace {


const QString kLineCondition = QStringLiteral(
    " where InvoiceID = ? and Barcode = ? and coalesce(ScaleID, -1) = ? and "
    "coalesce(Description, '') = ?");

Params lineParams(const QtyChangeLine& line) {
    // A null description would bind NULL and match no line.
    return {line.invoiceId, line.barcode.trimmed(), line.scaleId > 0 ? line.scaleId : -1,
            line.description.isNull() ? QStringLiteral("") : line.description};
}

QString failureText(const QString& cause) {
    return QStringLiteral("تغيير تعداد انجام نشد و هيچ تغييري در اطلاعات داده نشد. علت: ") + cause;
}

}  // namespace

QVector<QtyChangeReason> ChangeQtyCommand::reasons() {
    QVector<QtyChangeReason> list;
    for (const Row& r : ctx_.db().query(
             QStringLiteral("Select Sequence, coalesce(Description, '') as Reason From "
                            "tblZelorFormEventReasonType Where EventTypeID = ? Order by Sequence"),
             {kQtyChangeEventType}))
        list.append({r.toInt(u"Sequence"), r.text(u"Reason")});
    return list;
}

std::optional<QString> ChangeQtyCommand::refusal(int invoiceId) {
    if (ctx_.params.flag(P::ShopMode)) return kChangeQtyShop;
    const std::optional<Row> invoice = ctx_.db().first(
        QStringLiteral("select s.Code, s.DistributionInvoiceID, coalesce(d.IsMoved, 0) as IsMoved "
                       "from tblSaleInvoice s left join tblDistributionInvoice d on d.ID = "
                       "s.DistributionInvoiceID where s.ID = ?"),
        {invoiceId});
    if (!invoice) return kChangeQtyNoInvoice;
    if (invoice->toInt(u"DistributionInvoiceID", -1) < 1) return kChangeQtyNotDistribution;
    if (!invoice->isNull(u"Code")) return kChangeQtyFinal;
    if (invoice->toInt(u"IsMoved") == 1) return kChangeQtyMoved;
    return std::nullopt;
}

std::optional<QtyChangeState> ChangeQtyCommand::lineState(const QtyChangeLine& line) {
    const std::optional<Row> r = ctx_.db().first(
        QStringLiteral("select Qty, InitialQty, ChangeReasonSequence from tblSaleInvoiceDetail") +
            kLineCondition + QStringLiteral(" order by RowNumber, ID"),
        lineParams(line));
    if (!r) return std::nullopt;
    QtyChangeState state;
    state.qty = r->toDouble(u"Qty");
    if (!r->isNull(u"InitialQty")) state.initialQty = r->toDouble(u"InitialQty");
    if (!r->isNull(u"ChangeReasonSequence"))
        state.reasonSequence = r->toInt(u"ChangeReasonSequence");
    return state;
}

std::optional<QString> ChangeQtyCommand::refusalOf(const QtyChangeLine& line,
                                                   const QtyChange& change) {
    if (std::optional<QString> refused = refusal(line.invoiceId)) return refused;
    const std::optional<QtyChangeState> state = lineState(line);
    if (!state) return kChangeQtyNoLine;
    if (!(change.qty > 0)) return kChangeQtyBadQty;
    if (qAbs(change.qty - state->qty) < 1e-9) return kChangeQtySameQty;
    for (const QtyChangeReason& r : reasons())
        if (r.sequence == change.reasonSequence) return std::nullopt;
    return kChangeQtyNoReason;
}

bool ChangeQtyCommand::change(const QtyChangeLine& line, const QtyChange& change) {
    try {
        // Writer from the start: its event takes the chain's lock, which taken half-way could
        // deadlock with a save of the same invoice.
        Transaction t = ctx_.db().writerTransaction();
        if (const std::optional<QString> refused = refusalOf(line, change)) {
            ShowMessage(ctx_, kErrorCaption, *refused);
            return false;
        }
        write(line, change);
        t.commit();
        return true;
    } catch (const SqlError& e) {
        ShowMessage(ctx_, kErrorCaption, failureText(e.driverText().trimmed()));
        return false;
    }
}

// The first change keeps what was ordered; a discount given as an amount follows the quantity.
void ChangeQtyCommand::write(const QtyChangeLine& line, const QtyChange& change) {
    Session& s = ctx_.db();
    const Row r = *s.first(
        QStringLiteral("select ID, Qty, DiscountValue, DiscountPercent from tblSaleInvoiceDetail") +
            kLineCondition + QStringLiteral(" order by RowNumber, ID"),
        lineParams(line));
    const double oldQty = r.toDouble(u"Qty");
    const Money discount = r.money(u"DiscountValue").times(change.qty / oldQty);
    s.exec(QStringLiteral("update tblSaleInvoiceDetail set InitialScaleID = case when InitialQty "
                          "is null then ScaleID else InitialScaleID end, InitialQty = "
                          "coalesce(InitialQty, Qty), Qty = ?, DiscountValue = ?, "
                          "ChangeReasonSequence = ? where ID = ?"),
           {QVariant::fromValue(Money::fromDouble(change.qty)), QVariant::fromValue(discount),
            change.reasonSequence, r.toInt(u"ID")});
    RefreshInvoiceSums(s, line.invoiceId);
    const QDateTime now = s.now();
    s.call(QStringLiteral("spZelorInsertFormAction"),
           QVariantList{EventType::InvoiceEdited, line.invoiceId, FormType::SaleInvoice,
                        QStringLiteral("تعداد كالا با كد ميلهاي ") + line.barcode.trimmed() +
                            QStringLiteral(" در فاكتور فروش كالا به شماره رايانهاي ") +
                            QString::number(line.invoiceId) + QStringLiteral(" از ") +
                            QString::number(oldQty, 'g', 15) + QStringLiteral(" به ") +
                            QString::number(change.qty, 'g', 15) + QStringLiteral(" تغيير كرد."),
                        ctx_.globals.CurrentUserID, now, getFarsiDate(now.date()),
                        now.time().hour() * 60 + now.time().minute()});
}

}  // namespace si
