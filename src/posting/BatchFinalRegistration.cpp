#include "posting/BatchFinalRegistration.h"

#include <algorithm>

#include "common/Codes.h"
#include "common/FormEvents.h"
#include "common/Messages.h"
#include "common/Period.h"
#include "common/UpdateColumns.h"
#include "posting/FinalCodes.h"

namespace si {

namespace {

const QString kNoneMarked = QStringLiteral("قبل از ثبت نهايي, بايد رديف(هايي) انتخاب شود!");
const QString kFailed =
    QStringLiteral("ثبت نهايي فاكتورها انجام نشد و هيچ تغييري در اطلاعات داده نشد. علت: ");
// A list of IDs is bound in parts of this many values: far below every driver's limit.
constexpr int kIdsPerStatement = 500;

QString placeholders(qsizetype count) {
    QString marks = QStringLiteral("?");
    for (qsizetype i = 1; i < count; ++i)
        marks += QStringLiteral(", ?");
    return marks;
}

QList<qint64> distinct(const QList<qint64>& ids) {
    QList<qint64> out;
    for (qint64 id : ids)
        if (!out.contains(id)) out << id;
    return out;
}

}  // namespace

int BatchFinalRegistration::cmdFinalSave(const QList<qint64>& markedInvoiceIds) {
    const QList<qint64> ids = distinct(markedInvoiceIds);
    if (!confirmed(ids)) return 0;
    int registered = 0;
    try {
        // The list may register before any form has read the period that numbers the codes.
        if (ctx_.params.flag(P::PeriodDates) && !ctx_.period.beginDate.isValid())
            LoadActivePeriod(ctx_);
        registered = registerQualifying(ids, renumberingApproved(ids));
    } catch (const SqlError& e) {
        ShowMessage(ctx_, kErrorCaption, kFailed + e.driverText().trimmed());
        return 0;
    } catch (const std::exception& e) {
        ShowMessage(ctx_, kErrorCaption, kFailed + QString::fromUtf8(e.what()));
        return 0;
    }
    ShowMessage(ctx_, QStringLiteral("اطلاع"),
                QStringLiteral("تعداد <") + QString::number(registered) +
                    QStringLiteral("> فاكتور ثبت نهايي شدند."));
    return registered;
}

// The right, the marks and the clerk's Yes, each refusal with its message.
bool BatchFinalRegistration::confirmed(const QList<qint64>& ids) {
    if (!HasRight(ctx_, Right::FinalSave)) {
        ShowMessage(ctx_, kErrorCaption, kNoRightMessage);
        return false;
    }
    if (ids.isEmpty()) {
        ShowMessage(ctx_, QStringLiteral("اشكال"), kNoneMarked);
        return false;
    }
    return AskedYes(ctx_, QStringLiteral("پرسش"),
                    QStringLiteral("آيا براي قطعي كردن ”") + QString::number(ids.size()) +
                        QStringLiteral("“ فاكتور موقت مطمئن هستيد؟"));
}

// The marked invoices still temporary whose total is within the highest credit level of the
// clerk's position (a position without one has no ceiling), earliest first.
QList<BatchFinalRegistration::Candidate> BatchFinalRegistration::qualifying(
    const QList<qint64>& ids) {
    QList<Candidate> out;
    for (qsizetype from = 0; from < ids.size(); from += kIdsPerStatement) {
        const QList<qint64> part = ids.mid(from, kIdsPerStatement);
        Params params;
        for (qint64 id : part)
            params << id;
        params << ctx_.globals.CurrentPositionID;
        const RowSet rows = ctx_.db().query(
            QStringLiteral("select ID, CreateDate from tblSaleInvoice where Code is Null and ID "
                           "in (") +
                placeholders(part.size()) +
                QStringLiteral(") and coalesce(TotalValue, 0) <= coalesce((select "
                               "max(x.UpToValue) from tblSaleCreditLevel x where x.ID in (select "
                               "p.SaleCreditLevelID from tblPosition p where p.ID = ?)), "
                               "coalesce(TotalValue, 0)) order by CreateDate, ID"),
            params);
        for (const Row& r : rows)
            out.push_back({r.toInt64(u"ID"), r.dateTime(u"CreateDate")});
    }
    std::stable_sort(out.begin(), out.end(), [](const Candidate& a, const Candidate& b) {
        return a.createDate != b.createDate ? a.createDate < b.createDate : a.id < b.id;
    });
    return out;
}

// Asked once, before the transaction, when an invoice to register is dated before final ones
// of its range and the clerk may renumber them; without the right such invoices stay temporary.
bool BatchFinalRegistration::renumberingApproved(const QList<qint64>& ids) {
    const QList<Candidate> candidates = qualifying(ids);
    if (candidates.isEmpty()) return false;
    const Candidate& earliest = candidates.front();
    if (!LaterFinalInvoicesExist(ctx_, earliest.id, earliest.createDate)) return false;
    if (!HasRight(ctx_, Right::Renumber)) return false;
    return AskedYes(ctx_, kRenumberCaption, kRenumberQuestion);
}

int BatchFinalRegistration::registerQualifying(const QList<qint64>& ids, bool renumber) {
    Session& s = ctx_.db();
    AddRowVersionWhenMissing(s);
    // One writer at a time: the codes are drawn and written before any other workstation can
    // read the same maximum, and what qualifies is read again under the lock.
    Transaction t = s.writerTransaction();
    int registered = 0;
    for (const Candidate& c : qualifying(ids)) {
        const std::optional<int> code = DrawFinalCode(ctx_, c.id, c.createDate, renumber);
        if (!code) continue;
        writeCode(c.id, *code);
        LogInvoiceEvent(s, EventType::InvoiceBatchRegistered, c.id,
                        InvoiceEventText(c.id, QStringLiteral("در ثبت گروهي قطعي شد.")),
                        ctx_.globals.CurrentUserID);
        ++registered;
    }
    t.commit();
    return registered;
}

// The row version moves on, so a form that holds the invoice open sees it finalised elsewhere
// instead of saving over it.
void BatchFinalRegistration::writeCode(qint64 id, int code) {
    ctx_.db().exec(QStringLiteral("Update tblSaleInvoice set Code = ?, RowVersion = RowVersion + "
                                  "1 where ID = ? and Code is Null"),
                   {code, id});
}

}  // namespace si
