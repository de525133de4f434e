#pragma once
// The host's answers to the control's four events. SendSMS is stored in the outbox, for the
// host's sender (or any other host's) to send; PrintByDotNet is shown (printing comes later, so
// nothing is written back into its references); CreateNewRelationship asks for the related form
// and adds the link; ShowRelationships lists the form's links. The dialogs are presenters the
// window installs; tests install their own, so no modal dialog stands between an event and what it
// does.
//
// Database work uses the control's session (the one its last entry method opened).

#include <QObject>
#include <functional>
#include <optional>
#include <vector>

#include "apps/host/Outbox.h"
#include "apps/host/PrintRequest.h"
#include "apps/host/Relationships.h"

namespace si {
class comSaleInvoice1;
}

namespace si::host {

class HostEvents : public QObject {
    Q_OBJECT
public:
    HostEvents(comSaleInvoice1& control, Outbox& outbox, QObject* parent = nullptr);

    std::function<void(const PrintRequest&)> showPrintRequest;
    // The form to link to; nullopt when the user cancels.
    std::function<std::optional<FormRef>(FormRef form)> askRelatedForm;
    std::function<void(FormRef form, const std::vector<RelatedFormRow>&)> showRelationships;
    std::function<void(const QString& message)> showError;

    void onSendSMS(const QString& phone, const QString& message);
    void onPrintByDotNet(QString& templateFileName, QString& connectionString, QString& formulas,
                         QString& sqlQuery, bool& preview);
    void onCreateNewRelationship(int formTypeId, int formId);
    void onShowRelationships(int formTypeId, int formId);

Q_SIGNALS:
    // A message was stored: the sender may send it at once.
    void smsStored();

private:
    void reportError(const QString& message) const;

    comSaleInvoice1& control_;
    Outbox& outbox_;
};

}  // namespace si::host
