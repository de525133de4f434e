#include "payment/WorkstationPayment.h"

namespace si {

pcpos::PosSettings DriverSettingsOf(const PosDevice& d) {
    return {d.typeId <= 1 ? 1 : d.typeId, d.serialDevice, d.baudRate, d.ip.trimmed(), d.ipPort};
}

CardPaymentParts WorkstationCardPayment(Context& ctx, QSettings& settings,
                                        PosConfigLogic::Chooser chooser) {
    CardPaymentParts parts;
    parts.device = [&ctx, &settings, chooser]() -> std::optional<PosDevice> {
        PosConfigLogic config(ctx, settings);
        if (chooser) config.setChooser(chooser);
        return config.SelectSetting(ctx.globals.CurrentUserID);
    };
    parts.driver = [](const PosDevice& device) {
        return pcpos::CreatePosDriver(DriverSettingsOf(device));
    };
    return parts;
}

}  // namespace si
