#pragma once
// The card payment as a workstation runs it: the user's terminal chosen through the terminal
// configuration and this workstation's settings, driven on the serial device the workstation
// maps its port to, with the workstation's journal.

#include <QSettings>
#include <memory>

#include "payment/CardPayment.h"
#include "payment/PosConfigLogic.h"

namespace si {

// The driver's settings of a terminal.
pcpos::PosSettings DriverSettingsOf(const PosDevice& device);

// Terminal and driver for the current user; the chooser (a form) settles a terminal the
// settings do not; without one an unsettled terminal is reported.
CardPaymentParts WorkstationCardPayment(Context& ctx, QSettings& settings,
                                        PosConfigLogic::Chooser chooser = {});

}  // namespace si
