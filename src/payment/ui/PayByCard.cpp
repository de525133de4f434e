#include "payment/ui/PayByCard.h"

#include <QProgressDialog>

#include "invoice/FormMainLogic.h"

namespace si {

void PayByCard(FormMainLogic& form, PaymentJournal& journal, CardPaymentParts parts,
               QWidget* parent) {
    auto* window = new QProgressDialog(parent);
    window->setObjectName(QStringLiteral("frmCardPayment"));
    window->setWindowTitle(QStringLiteral("پرداخت با كارت"));
    window->setLayoutDirection(Qt::RightToLeft);
    window->setRange(0, 0);
    window->setCancelButtonText(QStringLiteral("انصراف"));
    window->setWindowModality(Qt::WindowModal);
    window->setMinimumDuration(0);
    window->setAutoClose(false);
    window->setAutoReset(false);
    auto* payment = new CardPayment(form.ctx(), form.doc(), journal, std::move(parts));
    payment->setParent(window);
    QObject::connect(payment, &CardPayment::waiting, window, [window](const QString& text) {
        window->setLabelText(text);
        window->show();
    });
    QObject::connect(window, &QProgressDialog::canceled, payment, &CardPayment::cancel);
    // The terminal's answer is read without the waiting window over it.
    QObject::connect(payment, &CardPayment::answered, window, &QWidget::hide);
    QObject::connect(payment, &CardPayment::done, window, [window, &form](bool) {
        window->hide();
        window->deleteLater();
        if (form.ui()) form.ui()->refreshView();
    });
    if (!payment->start()) window->deleteLater();
}

}  // namespace si
