#include "ServerRestart.h"

#include <unistd.h>
#include <QDir>
#include <QFileInfo>

namespace si::soak {

ServerRestart::ServerRestart(const SoakOptions& options) : options_(options) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &ServerRestart::restart);
    connect(&process_, &QProcess::finished, this, &ServerRestart::ended);
    process_.setProcessChannelMode(QProcess::MergedChannels);
}

void ServerRestart::arm(int afterMs) {
    timer_.start(afterMs);
}

void ServerRestart::restart() {
    // The server's output goes to the cluster's log, not to a pipe it would keep open.
    const QString log = QFileInfo(options_.pgData).dir().filePath(QStringLiteral("log"));
    QStringList args{options_.pgCtl,
                     QStringLiteral("restart"),
                     QStringLiteral("-D"),
                     options_.pgData,
                     QStringLiteral("-m"),
                     QStringLiteral("fast"),
                     QStringLiteral("-w"),
                     QStringLiteral("-t"),
                     QStringLiteral("120"),
                     QStringLiteral("-l"),
                     log};
    if (geteuid() == 0) {
        args = QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--")} +
               args;
        process_.start(QStringLiteral("runuser"), args);
    } else {
        process_.start(args.takeFirst(), args);
    }
    if (!process_.waitForStarted()) {
        failure_ = QStringLiteral("pg_ctl did not start: ") + process_.errorString();
        Q_EMIT done();
    }
}

void ServerRestart::ended() {
    if (process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0)
        ++restarts_;
    else
        failure_ = QStringLiteral("pg_ctl restart failed: ") +
                   QString::fromLocal8Bit(process_.readAll()).trimmed();
    Q_EMIT done();
}

}  // namespace si::soak
