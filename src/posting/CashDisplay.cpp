#include "posting/CashDisplay.h"

#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>

#include "common/Context.h"
#include "common/Messages.h"

namespace si {

namespace {

quint16 portOf(const QString& text) {
    bool ok = false;
    const int port = text.trimmed().toInt(&ok);
    return ok && port >= 1 && port <= 65535 ? static_cast<quint16>(port) : kCashDisplayDefaultPort;
}

}  // namespace

std::optional<CashDisplayEndpoint> ParseCashDisplayEndpoint(const QString& parameter) {
    const QString text = parameter.trimmed();
    const qsizetype colon = text.indexOf(u':');
    const QString host = (colon < 0 ? text : text.left(colon)).trimmed();
    if (host.isEmpty()) return std::nullopt;
    return CashDisplayEndpoint{host,
                               colon < 0 ? kCashDisplayDefaultPort : portOf(text.mid(colon + 1))};
}

CashDisplayNotifier::CashDisplayNotifier(Context& ctx, QObject* parent)
    : QObject(parent), ctx_(ctx) {}

CashDisplayNotifier::~CashDisplayNotifier() = default;

void CashDisplayNotifier::NotifyCashDisplay(int cashId, int invoiceId) {
    if (const auto endpoint = ParseCashDisplayEndpoint(ctx_.params.text(P::CashTurnEndpoint)))
        NotifyCashDisplay(*endpoint, cashId, invoiceId);
}

void CashDisplayNotifier::NotifyCashDisplay(const CashDisplayEndpoint& endpoint, int cashId,
                                            int invoiceId) {
    auto* socket = new QTcpSocket(this);
    sockets_ << socket;
    const QByteArray line = QByteArray::number(cashId) + ',' + QByteArray::number(invoiceId);
    connect(socket, &QTcpSocket::connected, this, [socket, line] { socket->write(line); });
    connect(socket, &QTcpSocket::bytesWritten, this, [socket] {
        if (socket->bytesToWrite() == 0) socket->disconnectFromHost();
    });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] { finish(socket); });
    connect(socket, &QTcpSocket::errorOccurred, this,
            [this, socket](QAbstractSocket::SocketError error) {
                fail(socket, error, socket->errorString());
            });
    socket->connectToHost(endpoint.host, endpoint.port);
}

bool CashDisplayNotifier::waitForAll(int msecs) {
    if (!sockets_.isEmpty()) {
        QEventLoop loop;
        QTimer::singleShot(msecs, &loop, &QEventLoop::quit);
        connect(this, &CashDisplayNotifier::allDone, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    const bool allDelivered = sockets_.isEmpty();
    for (QTcpSocket* socket : QList<QTcpSocket*>(sockets_))
        fail(socket, QAbstractSocket::SocketTimeoutError,
             QStringLiteral("Socket operation timed out"));
    return allDelivered;
}

// The socket is let go before the box is shown: a modal box runs the event loop, where the
// socket must not report again.
void CashDisplayNotifier::fail(QTcpSocket* socket, int error, const QString& description) {
    if (!sockets_.contains(socket)) return;
    finish(socket);
    ShowMessage(ctx_, kErrorCaption,
                QStringLiteral("Socket Error ") + QString::number(error) + QStringLiteral(": ") +
                    description);
}

void CashDisplayNotifier::finish(QTcpSocket* socket) {
    if (!sockets_.removeOne(socket)) return;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
    if (sockets_.isEmpty()) Q_EMIT allDone();
}

}  // namespace si
