#include "suite/pcpos/PosLinks.h"

#include <QTimer>

namespace si::pcpos {

namespace {
// An answer line is a few hundred bytes; anything this long without a line end is not one.
constexpr qsizetype kMaxLine = 64 * 1024;
}  // namespace

void PosLink::readLines(QIODevice& device) {
    pending_ += device.readAll();
    qsizetype end;
    while ((end = pending_.indexOf('\n')) >= 0) {
        const QByteArray line = pending_.left(end + 1);
        pending_.remove(0, end + 1);
        Q_EMIT lineArrived(line);
    }
    if (pending_.size() > kMaxLine) Q_EMIT lineArrived(std::exchange(pending_, {}));
}

void PosLink::reportLost() {
    if (std::exchange(lost_, true)) return;
    Q_EMIT lost();
}

TcpLink::TcpLink(QString host, quint16 port) : host_(std::move(host)), port_(port) {
    connect(&socket_, &QTcpSocket::connected, this, &PosLink::opened);
    connect(&socket_, &QTcpSocket::readyRead, this, [this] { readLines(socket_); });
    connect(&socket_, &QTcpSocket::disconnected, this, &TcpLink::reportLost);
    connect(&socket_, &QTcpSocket::errorOccurred, this, &TcpLink::reportLost);
}

void TcpLink::open() {
    socket_.connectToHost(host_, port_);
}

SerialLink::SerialLink(const QString& device, int baudRate) {
    port_.setPortName(device);
    port_.setBaudRate(baudRate);
    connect(&port_, &QSerialPort::readyRead, this, [this] { readLines(port_); });
    connect(&port_, &QSerialPort::errorOccurred, this, &SerialLink::onError);
}

void SerialLink::open() {
    const bool ok = port_.open(QIODevice::ReadWrite);
    QTimer::singleShot(0, this, ok ? &SerialLink::opened : &SerialLink::reportLost);
}

void SerialLink::onError(QSerialPort::SerialPortError error) {
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError) return;
    if (port_.isOpen()) reportLost();
}

}  // namespace si::pcpos
