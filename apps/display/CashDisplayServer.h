#pragma once
// The display's listener: each cash desk's notice is one connection whose whole content, up to
// the sender's close, is one line for the state. A peer that stays silent and open is closed after
// a few seconds and what it sent is taken as its line; a connection that sends more than a line
// could hold is dropped.

#include <QHostAddress>
#include <QObject>
#include <QTcpServer>

#include "apps/display/CashDisplayState.h"

class QTcpSocket;

namespace si::display {

class CashDisplayServer : public QObject {
    Q_OBJECT
public:
    // The state outlives the server.
    explicit CashDisplayServer(CashDisplayState& state, QObject* parent = nullptr);

    bool listen(const QHostAddress& address, quint16 port);
    QString errorString() const { return server_.errorString(); }
    QString address() const;

Q_SIGNALS:
    // The state shows a new amount.
    void amountShown();
    // A line that changed nothing, with the reason in Persian.
    void lineIgnored(const QString& reason);

private:
    void acceptPending();
    void take(const QByteArray& line);

    CashDisplayState& state_;
    QTcpServer server_;
};

// Where to listen for the endpoint text: its host when that is an address, else this machine.
QHostAddress ListenAddress(const QString& host);

}  // namespace si::display
