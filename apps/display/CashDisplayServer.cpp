#include "apps/display/CashDisplayServer.h"

#include <QTcpSocket>
#include <QTimer>
#include <exception>
#include <memory>

namespace si::display {

namespace {

constexpr qint64 kLongestLine = 64;
constexpr int kSilentPeerMilliseconds = 5000;

QString quoted(const QByteArray& line) {
    return QStringLiteral("«") + QString::fromUtf8(line.left(kLongestLine)) + QStringLiteral("»");
}

}  // namespace

CashDisplayServer::CashDisplayServer(CashDisplayState& state, QObject* parent)
    : QObject(parent), state_(state) {
    connect(&server_, &QTcpServer::newConnection, this, &CashDisplayServer::acceptPending);
}

bool CashDisplayServer::listen(const QHostAddress& address, quint16 port) {
    return server_.listen(address, port);
}

QString CashDisplayServer::address() const {
    return server_.serverAddress().toString() + u':' + QString::number(server_.serverPort());
}

void CashDisplayServer::acceptPending() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        auto line = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, line] {
            *line += socket->readAll();
            if (line->size() <= kLongestLine) return;
            socket->disconnect(this);
            socket->abort();
            socket->deleteLater();
            Q_EMIT lineIgnored(QStringLiteral("خط دريافتي بيش از حد طولاني است: ") + quoted(*line));
        });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket, line] {
            *line += socket->readAll();
            socket->deleteLater();
            take(*line);
        });
        QTimer::singleShot(kSilentPeerMilliseconds, socket,
                           [socket] { socket->disconnectFromHost(); });
    }
}

// A database that cannot be read costs this line; the display keeps listening.
void CashDisplayServer::take(const QByteArray& line) {
    CashDisplayState::Outcome outcome;
    try {
        outcome = state_.receive(line);
    } catch (const std::exception& e) {
        Q_EMIT lineIgnored(QStringLiteral("خطا در خواندن پايگاه داده: ") +
                           QString::fromUtf8(e.what()));
        return;
    }
    switch (outcome) {
        case CashDisplayState::Outcome::Shown:
            Q_EMIT amountShown();
            return;
        case CashDisplayState::Outcome::Malformed:
            Q_EMIT lineIgnored(QStringLiteral("خط دريافتي نامعتبر است: ") + quoted(line));
            return;
        case CashDisplayState::Outcome::UnknownInvoice:
            Q_EMIT lineIgnored(QStringLiteral("فاكتور خط دريافتي يافت نشد: ") + quoted(line));
            return;
    }
}

QHostAddress ListenAddress(const QString& host) {
    QHostAddress address;
    return address.setAddress(host) ? address : QHostAddress(QHostAddress::LocalHost);
}

}  // namespace si::display
