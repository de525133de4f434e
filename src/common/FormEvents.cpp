#include "common/FormEvents.h"

#include "common/Codes.h"
#include "common/Jalali.h"

namespace si {

void LogInvoiceEvent(Session& s, int eventType, qint64 invoiceId, const QString& description,
                     int userId, std::optional<int> reasonSequence) {
    const QDateTime now = s.now();
    s.call(QStringLiteral("spZelorInsertFormAction"),
           QVariantList{eventType, invoiceId, FormType::SaleInvoice, description, userId, now,
                        getFarsiDate(now.date()), now.time().hour() * 60 + now.time().minute(),
                        reasonSequence ? QVariant(*reasonSequence) : QVariant()});
}

QString InvoiceEventText(qint64 invoiceId, const QString& whatHappened) {
    return QStringLiteral("فاكتور فروش كالا به شماره رايانهاي ") + QString::number(invoiceId) +
           u' ' + whatHappened;
}

}  // namespace si
