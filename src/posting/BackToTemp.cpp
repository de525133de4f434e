#include "posting/BackToTemp.h"

#include "common/Codes.h"
#include "common/Lookups.h"
#include "common/Messages.h"

namespace si {

namespace {

const QString kQuestionCaption = QStringLiteral("پرسش");
const QString kProblemCaption = QStringLiteral("اشكال");
const QString kSaleAssignments = QStringLiteral("حواله فروش");
const QString kDispatches = QStringLiteral("برگه خروج");

QVector<int> ids(const RowSet& rows) {
    QVector<int> out;
    for (const Row& r : rows)
        out << r.toInt(u"ID");
    return out;
}

QString dependantsHead(const QVector<int>& ids, const QString& kind) {
    return QStringLiteral("«") + QString::number(ids.size()) + QStringLiteral("» ") + kind +
           QStringLiteral(" به اين فاکتور وابسته است.");
}

QString example(const QVector<int>& ids) {
    return QStringLiteral("به عنوان نمونه ش.ر. «") + QString::number(ids.first()) +
           QStringLiteral("»");
}

}  // namespace

int ClosedCashTurnsOf(Session& s, int invoiceId) {
    return s
        .scalar(QStringLiteral("Select count(*) from tblRecPayCashTurn Where coalesce(IsOpen,0) "
                               "= 0 and ID in (select CashTurnID from tblRecPayCashTurnDetail "
                               "Where FormTypeID=901 and FormID = ?)"),
                {invoiceId})
        .toInt();
}

QString ClosedCashTurnText(int count) {
    return QStringLiteral("اين فاکتور فروش به ”") + QString::number(count) +
           QStringLiteral(
               " “ نوبت صندوق بسته شده متعلق است. بنابراين امکان بازگشت آن به حالت موقت "
               "وجود ندارد.");
}

QVector<int> SaleAssignmentsOf(Session& s, int invoiceId) {
    return ids(s.query(
        QStringLiteral("Select ID from tblSaleAssignment Where SaleInvoiceID = ? order by ID"),
        {invoiceId}));
}

QVector<int> DispatchesTiedTo(Session& s, int invoiceId) {
    return ids(s.query(QStringLiteral("Select ID from tblInventoryDispatch Where FormTypeID=901 "
                                      "and FormID= ? order by ID"),
                       {invoiceId}));
}

bool BackToTempCommand::Run(int invoiceId, bool shownAsFinal) {
    if (!checksPass(invoiceId, shownAsFinal)) return false;
    int formId = invoiceId;
    int formTypeId = FormType::SaleInvoice;
    return OpenBackToTemp(ctx_, formId, formTypeId);
}

bool BackToTempCommand::checksPass(int invoiceId, bool shownAsFinal) {
    if (!HasRight(ctx_, Right::BackToTemp)) {
        ShowMessage(ctx_, kErrorCaption, kNoRightMessage);
        return false;
    }
    if (!AskedYes(ctx_, kQuestionCaption, kBackToTempQuestion)) return false;
    if (!shownAsFinal || invoiceId <= 0) {
        ShowMessage(ctx_, kProblemCaption, kBackToTempNotFinal);
        return false;
    }
    Session& s = ctx_.db();
    if (const int closed = ClosedCashTurnsOf(s, invoiceId); closed > 0) {
        ShowMessage(ctx_, kErrorCaption, ClosedCashTurnText(closed));
        return false;
    }
    const bool assignmentsChecked =
        !ctx_.params.flag(P::ShopMode) && !ctx_.params.flag(P::DeleteRule);
    if (assignmentsChecked && !dependantsAllowed(SaleAssignmentsOf(s, invoiceId), kSaleAssignments))
        return false;
    return dependantsAllowed(DispatchesTiedTo(s, invoiceId), kDispatches);
}

bool BackToTempCommand::dependantsAllowed(const QVector<int>& ids, const QString& kind) {
    if (ids.isEmpty()) return true;
    if (!HasRight(ctx_, Right::BackToTempWithDependants)) {
        ShowMessage(ctx_, kErrorCaption,
                    dependantsHead(ids, kind) +
                        QStringLiteral(" بنابراين امکان بازگشت آن به حالت موقت وجود ندارد. ") +
                        example(ids));
        return false;
    }
    return AskedYes(ctx_, kQuestionCaption,
                    dependantsHead(ids, kind) + u' ' + example(ids) +
                        QStringLiteral(". آيا براي عمل بازگشت مطمئن هستيد؟"));
}

}  // namespace si
