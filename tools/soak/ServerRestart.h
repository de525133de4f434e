#pragma once
// Restarts the private PostgreSQL cluster once, in the middle of the load (pg_ctl restart -m fast:
// open connections are cut, running saves fail). Run as the postgres system user when the soak
// runs as root, as ./x runs the cluster.

#include <QObject>
#include <QProcess>
#include <QTimer>

#include "SoakOptions.h"

namespace si::soak {

class ServerRestart : public QObject {
    Q_OBJECT
public:
    explicit ServerRestart(const SoakOptions& options);
    void arm(int afterMs);
    // A restart not yet begun will not be.
    void cancel() { timer_.stop(); }
    bool busy() const { return process_.state() != QProcess::NotRunning; }
    int restarts() const { return restarts_; }
    const QString& failure() const { return failure_; }

Q_SIGNALS:
    void done();

private:
    void restart();
    void ended();

    const SoakOptions& options_;
    QTimer timer_;
    QProcess process_;
    int restarts_ = 0;
    QString failure_;
};

}  // namespace si::soak
