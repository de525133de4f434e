#include "posting/StoredInvoiceState.h"

#include "common/Session.h"

namespace si {

namespace {
const QString kSinceRead =
    QStringLiteral("اين فاكتور پس از باز شدن در اين ايستگاه، در ايستگاه ديگري ");
const QString kReload = QStringLiteral(
    " براي جلوگيري از از بين رفتن اطلاعات، عمليات انجام نشد. لطفا فاكتور را دوباره باز كنيد.");
}  // namespace

QString ChangedSinceRead(Session& session, int invoiceId, int readRowVersion, bool readAsFinal) {
    const auto stored = session.first(
        QStringLiteral("Select Code, RowVersion from tblSaleInvoice Where ID = ?"), {invoiceId});
    if (!stored) return kSinceRead + QStringLiteral("حذف شده است.") + kReload;
    const bool storedFinal = !stored->isNull(u"Code");
    if (storedFinal && !readAsFinal) return kSinceRead + QStringLiteral("نهايي شده است.") + kReload;
    if (!storedFinal && readAsFinal)
        return kSinceRead + QStringLiteral("به حالت موقت برگشته است.") + kReload;
    if (stored->toInt(u"RowVersion") != readRowVersion)
        return kSinceRead + QStringLiteral("تغيير كرده است.") + kReload;
    return {};
}

}  // namespace si
