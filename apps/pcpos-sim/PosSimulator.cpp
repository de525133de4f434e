#include "apps/pcpos-sim/PosSimulator.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QTcpSocket>
#include <QTimer>
#include <cstdio>

namespace si::pcpos::sim {

namespace {

class TcpEndpoint final : public SimEndpoint {
public:
    explicit TcpEndpoint(QTcpSocket* socket) : socket_(socket) {
        socket_->setParent(this);
        connect(socket_, &QTcpSocket::readyRead, this, [this] { take(socket_->readAll()); });
        connect(socket_, &QTcpSocket::disconnected, this, &QObject::deleteLater);
    }
    void write(const QByteArray& bytes) override { socket_->write(bytes); }
    void drop() override { socket_->abort(); }

private:
    QTcpSocket* socket_;
};

// The master side of a pseudo-terminal. The simulator keeps the slave open too, so the line
// stays up while the driver opens and closes its side, and sets it raw (no echo, no CR/LF
// translation) before anyone reads it.
class PtyEndpoint final : public SimEndpoint {
public:
    PtyEndpoint(int master, int slave)
        : master_(master), slave_(slave), notifier_(master, QSocketNotifier::Read) {
        connect(&notifier_, &QSocketNotifier::activated, this, &PtyEndpoint::readMaster);
    }
    ~PtyEndpoint() override { closeAll(); }
    void write(const QByteArray& bytes) override {
        if (master_ >= 0 && ::write(master_, bytes.constData(), size_t(bytes.size())) < 0)
            std::perror("pty write");
    }
    // A terminal unplugged: the driver's side reads a hang-up; nothing more can be served.
    void drop() override {
        closeAll();
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }

private:
    void readMaster() {
        char buffer[4096];
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n > 0) take(QByteArray(buffer, n));
    }
    void closeAll() {
        notifier_.setEnabled(false);
        if (master_ >= 0) ::close(master_);
        if (slave_ >= 0) ::close(slave_);
        master_ = slave_ = -1;
    }
    int master_;
    int slave_;
    QSocketNotifier notifier_;
};

bool MakeRaw(int fd) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) return false;
    cfmakeraw(&tio);
    return tcsetattr(fd, TCSANOW, &tio) == 0;
}

}  // namespace

void SimEndpoint::take(const QByteArray& bytes) {
    pending_ += bytes;
    qsizetype end;
    while ((end = pending_.indexOf('\n')) >= 0) {
        const QByteArray line = pending_.left(end + 1);
        pending_.remove(0, end + 1);
        Q_EMIT lineArrived(line);
    }
}

PosSimulator::PosSimulator(int typeId, QList<SimAction> script, bool zeroTrace)
    : typeId_(typeId), script_(std::move(script)), zeroTrace_(zeroTrace) {
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection())
            serve(new TcpEndpoint(socket));
    });
}

quint16 PosSimulator::listen(quint16 port) {
    return server_.listen(QHostAddress::LocalHost, port) ? server_.serverPort() : 0;
}

QString PosSimulator::openPty() {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return {};
    const QString path = QString::fromLocal8Bit(ptsname(master));
    const int slave = ::open(ptsname(master), O_RDWR | O_NOCTTY);
    if (slave < 0 || !MakeRaw(slave)) return {};
    serve(new PtyEndpoint(master, slave));
    return path;
}

void PosSimulator::serve(SimEndpoint* endpoint) {
    endpoint->setParent(this);
    connect(endpoint, &SimEndpoint::lineArrived, this,
            [this, endpoint](const QByteArray& line) { onRequest(endpoint, line); });
}

SimAction PosSimulator::nextAction() {
    return script_.isEmpty() ? SimAction{} : script_.takeFirst();
}

void PosSimulator::onRequest(SimEndpoint* endpoint, const QByteArray& bytes) {
    const std::optional<ProtocolLine> request = ParseLine(bytes);
    std::fputs(bytes.constData(), stdout);
    std::fflush(stdout);
    if (!request || request->verb != kSaleVerb) return;
    const SimAction action = nextAction();
    if (action.kind == SimAction::Kind::Silent) return;
    if (action.kind == SimAction::Kind::Drop) return endpoint->drop();
    const QByteArray answer = SerializeLine(AnswerLine(typeId_, action, *request, zeroTrace_));
    QTimer::singleShot(action.delayMs, endpoint, [endpoint, answer] { endpoint->write(answer); });
}

}  // namespace si::pcpos::sim
