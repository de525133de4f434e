#pragma once
// The simulated terminal: reads sale requests line by line from a TCP client on 127.0.0.1 or
// from the master side of a pseudo-terminal, and answers each as its script says.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSocketNotifier>
#include <QTcpServer>
#include <functional>
#include <memory>

#include "apps/pcpos-sim/SimScript.h"

namespace si::pcpos::sim {

// One side the requests come from: a TCP connection or the pseudo-terminal.
class SimEndpoint : public QObject {
    Q_OBJECT
public:
    virtual void write(const QByteArray& bytes) = 0;
    virtual void drop() = 0;

Q_SIGNALS:
    void lineArrived(const QByteArray& line);

protected:
    void take(const QByteArray& bytes);

private:
    QByteArray pending_;
};

class PosSimulator : public QObject {
    Q_OBJECT
public:
    PosSimulator(int typeId, QList<SimAction> script, bool zeroTrace);
    // Listens on 127.0.0.1; the port actually used, or 0 when listening failed.
    quint16 listen(quint16 port);
    // Opens a pseudo-terminal; the slave's path, or empty when that failed.
    QString openPty();

private:
    void serve(SimEndpoint* endpoint);
    void onRequest(SimEndpoint* endpoint, const QByteArray& bytes);
    SimAction nextAction();

    int typeId_;
    QList<SimAction> script_;
    bool zeroTrace_;
    QTcpServer server_;
};

}  // namespace si::pcpos::sim
