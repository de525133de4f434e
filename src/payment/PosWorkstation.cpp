#include "payment/PosWorkstation.h"

#include <QSerialPortInfo>

namespace si {

namespace {

// The number n of "COMn" within 1 to 10, else 0.
int portNumber(const QString& comPort) {
    const int index = static_cast<int>(PosComPorts().indexOf(comPort.trimmed().toUpper()));
    return index < 0 ? 0 : index + 1;
}

}  // namespace

std::unique_ptr<QSettings> OpenWorkstationSettings() {
    return std::make_unique<QSettings>(kWorkstationOrganisation);
}

const QStringList& PosComPorts() {
    static const QStringList ports = [] {
        QStringList list;
        for (int n = 1; n <= 10; ++n)
            list << QStringLiteral("COM%1").arg(n);
        return list;
    }();
    return ports;
}

const QList<int>& PosBaudRates() {
    static const QList<int> rates{9600, 115200};
    return rates;
}

QStringList AvailableSerialDevices() {
    QStringList devices;
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts())
        devices << port.systemLocation();
    devices.sort();
    return devices;
}

QString PosWorkstation::key(const QString& name) const {
    return kWorkstationGroup + QLatin1Char('/') + name;
}

int PosWorkstation::PosID() const {
    bool ok = false;
    const int id = settings_.value(key(QStringLiteral("PosID"))).toInt(&ok);
    return ok && id > 0 ? id : 0;
}

void PosWorkstation::setPosID(int id) {
    settings_.setValue(key(QStringLiteral("PosID")), id);
    settings_.sync();
}

QString PosWorkstation::SerialDeviceOf(const QString& comPort) const {
    const int n = portNumber(comPort);
    if (n == 0) return {};
    const QString stored =
        settings_.value(key(QStringLiteral("SerialDevice/COM%1").arg(n))).toString().trimmed();
    return stored.isEmpty() ? QStringLiteral("/dev/ttyS%1").arg(n - 1) : stored;
}

void PosWorkstation::setSerialDevice(const QString& comPort, const QString& device) {
    const int n = portNumber(comPort);
    if (n == 0) return;
    const QString k = key(QStringLiteral("SerialDevice/COM%1").arg(n));
    if (device.trimmed().isEmpty())
        settings_.remove(k);
    else
        settings_.setValue(k, device.trimmed());
    settings_.sync();
}

}  // namespace si
