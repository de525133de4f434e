#pragma once
// The text messages of a final save: one to the customer and one to each promoter, composed from
// the templates of parameters 5003 and 5006 and handed on through the SendSMS signal; sending is
// the host's business. Templates, phones, names and the loyalty card are read when a message is
// composed, so a template edited a moment ago (cmdShouldSMSSend, another workstation) is the one
// used. A missing template, phone or percentage is only reported through the context's message
// box: nothing is stored or retried.
//
// The invoice is the editor's document as the committed save left it (its ID, branch, first
// promoter and parties); the document outlives this object.

#include <QObject>
#include <QString>
#include <optional>

#include "common/Money.h"

namespace si {

class Context;
class InvoiceDocument;

// A promoter's share of an invoice of the amount at the percent: the amount times the percent
// over 100 in whole Rials (ties to even), then to whole thousands of Rials by the shared
// RoundHalfUp. 1,234,567 at 3 percent gives 37,000.
Money PromoterShare(Money amount, double percent);

class SmsNotices : public QObject {
    Q_OBJECT
public:
    SmsNotices(Context& ctx, const InvoiceDocument& invoice, QObject* parent = nullptr);

    // The customer's message (with parameter 5004 on); true when it was handed on. Nothing is
    // said when the customer bought within the days of parameter 3388.
    bool SendCustomerSms(int customer);
    // A promoter's message for an invoice of the amount (with parameters 5004 and 5009 on); the
    // promoter's share, 0 when none was worked out.
    Money SendPromoterSms(int promoter, Money amount);

Q_SIGNALS:
    void SendSMS(const QString& inCellPhone, const QString& inMessage);

private:
    struct Customer {
        QString cellPhone;
        QString firstName;
        QString name;
    };
    struct Promoter {
        double percent = 0;
        QString phone;
        QString name;
    };

    bool boughtTooLongAgo();
    int daysSincePreviousInvoice();
    Customer readCustomer(int customer);
    std::optional<Promoter> findPromoter(int promoter);
    Promoter readPromoter(int promoter);
    QString branchName();
    // The placeholders both messages share, case-insensitive, in their order.
    QString fillCommon(QString text, int customer, int promoterId, const QString& promoterName,
                       const Customer& c) const;
    QString customerText(const QString& text, int customer, const Customer& c);
    QString promoterText(const QString& text, int promoter, const Promoter& p, Money share);
    // The promoter's phone and share each say what is missing; true when neither is.
    bool promoterCanReceive(const Promoter& p, Money share);

    Context& ctx_;
    const InvoiceDocument& invoice_;
};

}  // namespace si
