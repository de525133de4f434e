#pragma once
// The transports a terminal is reached through: a TCP connection or a serial port, both read as
// lines. Opening is asynchronous; `opened` or `lost` follows, never from inside `open`.

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QTcpSocket>

namespace si::pcpos {

class PosLink : public QObject {
    Q_OBJECT
public:
    virtual void open() = 0;
    virtual void write(const QByteArray& bytes) = 0;

Q_SIGNALS:
    void opened();
    void lineArrived(const QByteArray& line);
    void lost();  // refused, failed, or closed by the terminal

protected:
    void readLines(QIODevice& device);
    void reportLost();

private:
    QByteArray pending_;
    bool lost_ = false;
};

class TcpLink final : public PosLink {
    Q_OBJECT
public:
    TcpLink(QString host, quint16 port);
    void open() override;
    void write(const QByteArray& bytes) override { socket_.write(bytes); }

private:
    QTcpSocket socket_;
    QString host_;
    quint16 port_;
};

class SerialLink final : public PosLink {
    Q_OBJECT
public:
    SerialLink(const QString& device, int baudRate);
    void open() override;
    void write(const QByteArray& bytes) override { port_.write(bytes); }

private:
    void onError(QSerialPort::SerialPortError error);
    QSerialPort port_;
};

}  // namespace si::pcpos
