#include "payment/PosChecks.h"

#include <functional>

namespace si {

namespace {

constexpr int kNameLength = 200;  // tblRecPayPos.Name
constexpr int kIpLength = 100;    // tblRecPayPos.IP

struct PosCheck {
    std::function<bool(const PosEntry&)> fails;
    PosRefusal refusal;
};

bool hasIp(const PosEntry& e) {
    return !e.ip.trimmed().isEmpty();
}

bool isNetworkType(int type) {
    return type == 3 || type == 4 || type == 5;
}

bool badIpPort(const PosEntry& e) {
    if (e.ipPort.trimmed().isEmpty()) return false;
    bool ok = false;
    const int port = e.ipPort.trimmed().toInt(&ok);
    return !ok || port < 1 || port > 65535;
}

const std::vector<PosCheck>& checks() {
    static const std::vector<PosCheck> table{
        {[](const PosEntry& e) { return (e.typeId == 3 || e.typeId == 4) && !hasIp(e); },
         {kWarningCaption, QStringLiteral("شماره IP شبكه دستگاه پوز مشخص نشده است!"),
          QStringLiteral("txtIP")}},
        {[](const PosEntry& e) { return e.typeId == 3 && e.ipPort.trimmed().isEmpty(); },
         {kWarningCaption, QStringLiteral("شماره IPPort شبكه دستگاه پوز مشخص نشده است!"),
          QStringLiteral("txtIPPort")}},
        {[](const PosEntry& e) { return !isNetworkType(e.typeId) && hasIp(e); },
         {kWarningCaption,
          QStringLiteral("شماره IP شبكه دستگاه پوز فقط براي بانك ملي قابل تنظيم است!"),
          QStringLiteral("txtIP")}},
        {[](const PosEntry& e) { return e.name.trimmed().isEmpty(); },
         {kWarningCaption, QStringLiteral("نام دستگاه مشخص نشده است!"), QStringLiteral("txtName")}},
        {[](const PosEntry& e) { return e.accountId < 1; },
         {kWarningCaption, QStringLiteral("حساب بدهكار بانك بايد مشخص گردد!"),
          QStringLiteral("sltAccount")}},
        {[](const PosEntry& e) { return e.comPort.isEmpty(); },
         {kFaultCaption, QStringLiteral("پورت مشخص نشده است"), QStringLiteral("cmbComPort")}},
        {[](const PosEntry& e) { return e.baudRate < 1; },
         {kFaultCaption, QStringLiteral("نرخ انتقال مشخص نشده است"),
          QStringLiteral("cmbBaudRate")}},
        {[](const PosEntry& e) { return e.userId < 1; },
         {kFaultCaption, QStringLiteral("كاربر مشخص نشده است"), QStringLiteral("sltUser")}},
        {[](const PosEntry& e) { return e.typeId < 1; },
         {kFaultCaption, QStringLiteral("نوع دستگاه پوز مشخص نشده است"),
          QStringLiteral("sltPosType")}},
        // What the columns cannot hold is refused rather than cut or failed in the database.
        {badIpPort,
         {kFaultCaption,
          QStringLiteral("شماره IPPort شبكه دستگاه پوز بايد عددي از 1 تا 65535 باشد."),
          QStringLiteral("txtIPPort")}},
        {[](const PosEntry& e) { return e.name.trimmed().size() > kNameLength; },
         {kFaultCaption, QStringLiteral("نام دستگاه حداكثر %1 حرف است.").arg(kNameLength),
          QStringLiteral("txtName")}},
        {[](const PosEntry& e) { return e.ip.trimmed().size() > kIpLength; },
         {kFaultCaption, QStringLiteral("شماره IP شبكه حداكثر %1 حرف است.").arg(kIpLength),
          QStringLiteral("txtIP")}},
    };
    return table;
}

}  // namespace

std::optional<PosRefusal> CheckPosEntry(const PosEntry& entry) {
    for (const PosCheck& check : checks())
        if (check.fails(entry)) return check.refusal;
    return std::nullopt;
}

}  // namespace si
