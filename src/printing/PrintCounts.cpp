#include "printing/PrintCounts.h"

#include "common/Jalali.h"

namespace si {

int PrintCount(Session& s, int invoiceId) {
    return s
        .scalar(QStringLiteral(
                    "Select coalesce(PrintCount,0) as PrintCount from tblSaleInvoice Where ID = ?"),
                {invoiceId})
        .toInt();
}

// The new count comes back from the UPDATE itself: read apart from it, another workstation's
// print could come between.
int IncrementPrintCount(Session& s, int invoiceId) {
    Transaction t = s.joinTransaction();
    const RowSet rows =
        s.query(QStringLiteral("Update tblSaleInvoice Set PrintCount = coalesce(PrintCount,0)+1 "
                               "Where ID = ? RETURNING PrintCount"),
                {invoiceId});
    t.commit();
    return rows.empty() ? -1 : rows.first().toInt(u"PrintCount");
}

int LotteryPrintCount(Session& s, int invoiceId) {
    return s
        .scalar(QStringLiteral("Select coalesce(LotteryPrintCount,0) as LotteryPrintCount from "
                               "tblSaleInvoice Where ID = ?"),
                {invoiceId})
        .toInt();
}

void RecordLotteryPrint(Session& s, int invoiceId, int userId) {
    const QDateTime now = s.now();
    s.exec(QStringLiteral("Update tblSaleInvoice Set LotteryPrintCount = "
                          "coalesce(LotteryPrintCount,0)+1, LastLotteryPrintUserID = ?, "
                          "LastLotteryPrintDate = ?, FarsiLastLotteryPrintDate = ? Where ID = ?"),
           {userId, now, getFarsiDate(now.date()), invoiceId});
}

}  // namespace si
