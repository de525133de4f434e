#pragma once
// What a workstation remembers about its card terminal, in its own settings (organisation
// "ERP_Torvan", group "SaleInvoice"): the terminal in use ("PosID") and which serial device of
// this machine each of the ports "COM1".."COM10" stands for ("SerialDevice/COM3"). The settings
// object is borrowed; tests hand in a file of their own.

#include <QSettings>
#include <QString>
#include <QStringList>
#include <memory>

namespace si {

inline const QString kWorkstationOrganisation = QStringLiteral("ERP_Torvan");
inline const QString kWorkstationGroup = QStringLiteral("SaleInvoice");

// The settings of this workstation, as the form and the command line use them.
std::unique_ptr<QSettings> OpenWorkstationSettings();

// The ports a terminal may name, "COM1" to "COM10", and the rates it may run at.
const QStringList& PosComPorts();
const QList<int>& PosBaudRates();

// The serial devices present on this machine (/dev/ttyS0, /dev/ttyUSB0, ...).
QStringList AvailableSerialDevices();

class PosWorkstation {
public:
    explicit PosWorkstation(QSettings& settings) : settings_(settings) {}

    // The terminal in use; 0 when none was stored.
    int PosID() const;
    void setPosID(int id);

    // The device behind a port: the stored one, else the machine's n-th serial port for "COMn"
    // ("/dev/ttyS<n-1>"); empty for a text that names no port.
    QString SerialDeviceOf(const QString& comPort) const;
    // An empty device forgets the port's mapping.
    void setSerialDevice(const QString& comPort, const QString& device);

private:
    QString key(const QString& name) const;
    QSettings& settings_;
};

}  // namespace si
