#pragma once
// cmdGrandTotal on the form: the card payment runs while a progress window shows what the
// terminal is asked, with a cancel; the event loop keeps running, so the form repaints and the
// terminal's answer arrives as any other event.

#include <QWidget>

#include "payment/CardPayment.h"

namespace si {

class FormMainLogic;

// Starts the payment of the form's invoice; returns at once. The payment and its window go when
// the terminal has answered.
void PayByCard(FormMainLogic& form, PaymentJournal& journal, CardPaymentParts parts,
               QWidget* parent);

}  // namespace si
