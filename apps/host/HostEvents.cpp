#include "apps/host/HostEvents.h"

#include "common/SqlError.h"
#include "component/comSaleInvoice1.h"

namespace si::host {

HostEvents::HostEvents(comSaleInvoice1& control, Outbox& outbox, QObject* parent)
    : QObject(parent), control_(control), outbox_(outbox) {
    connect(&control, &comSaleInvoice1::SendSMS, this, &HostEvents::onSendSMS);
    // The arguments are references into the form: the handler must run inside the emit.
    connect(&control, &comSaleInvoice1::PrintByDotNet, this, &HostEvents::onPrintByDotNet,
            Qt::DirectConnection);
    connect(&control, &comSaleInvoice1::CreateNewRelationship, this,
            &HostEvents::onCreateNewRelationship);
    connect(&control, &comSaleInvoice1::ShowRelationships, this, &HostEvents::onShowRelationships);
}

void HostEvents::reportError(const QString& message) const {
    if (showError) showError(message);
}

// A message the database cannot take now is held by the outbox, which stores it later.
void HostEvents::onSendSMS(const QString& phone, const QString& message) {
    Context& ctx = control_.context();
    try {
        if (!ctx.hasSession()) {
            outbox_.hold(phone, message);
            return;
        }
        outbox_.store(ctx.db(), phone, message);
        Q_EMIT smsStored();
    } catch (const SmsRefused& refused) {
        reportError(refused.text());
    } catch (const SqlError& e) {
        reportError(QStringLiteral("پيامك هنوز در پايگاه داده ذخيره نشده است و بعدا ذخيره "
                                   "مي شود: ") +
                    e.driverText());
    }
}

void HostEvents::onPrintByDotNet(QString& templateFileName, QString& connectionString,
                                 QString& formulas, QString& sqlQuery, bool& preview) {
    if (showPrintRequest)
        showPrintRequest({templateFileName, connectionString, formulas, sqlQuery, preview});
}

void HostEvents::onCreateNewRelationship(int formTypeId, int formId) {
    const FormRef form{formTypeId, formId};
    const std::optional<FormRef> related = askRelatedForm ? askRelatedForm(form) : std::nullopt;
    if (!related) return;
    try {
        Context& ctx = control_.context();
        const AddRelationshipResult result =
            AddRelationship(ctx.db(), form, *related, ctx.globals.CurrentUserID);
        if (!result.error.isEmpty()) reportError(result.error);
    } catch (const SqlError& e) {
        reportError(QStringLiteral("ثبت ارتباط ممکن نشد: ") + e.driverText());
    }
}

void HostEvents::onShowRelationships(int formTypeId, int formId) {
    const FormRef form{formTypeId, formId};
    try {
        const std::vector<RelatedFormRow> rows = ListRelationships(control_.context().db(), form);
        if (showRelationships) showRelationships(form, rows);
    } catch (const SqlError& e) {
        reportError(QStringLiteral("خواندن ارتباطها ممکن نشد: ") + e.driverText());
    }
}

}  // namespace si::host
