#include "LocalSmsGateway.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTcpSocket>
#include <QThread>
#include <QUrl>
#include <QUrlQuery>

namespace si::test {

LocalSmsGateway::LocalSmsGateway() {
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, &LocalSmsGateway::accept);
}

QString LocalSmsGateway::urlTemplate() const {
    return QStringLiteral("http://127.0.0.1:%1/send?to={phone}&text={text}")
        .arg(server_.serverPort());
}

QStringList LocalSmsGateway::delivered() const {
    QStringList texts;
    for (const Request& r : requests_)
        if (r.status >= 200 && r.status < 300) texts << r.text;
    return texts;
}

void LocalSmsGateway::accept() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QObject::destroyed, this, [this, socket] { buffers_.remove(socket); });
    }
}

// A GET has no body: the request is complete at its empty line.
void LocalSmsGateway::read(QTcpSocket* socket) {
    QByteArray& buffer = buffers_[socket];
    buffer += socket->readAll();
    const qsizetype end = buffer.indexOf("\r\n\r\n");
    if (end < 0) return;
    const QByteArray requestLine = buffer.left(buffer.indexOf("\r\n"));
    buffer.remove(0, end + 4);
    answer(socket, requestLine);
}

void LocalSmsGateway::answer(QTcpSocket* socket, const QByteArray& requestLine) {
    const QList<QByteArray> parts = requestLine.split(' ');
    const QUrlQuery query(QUrl::fromEncoded(parts.value(1)).query(QUrl::FullyEncoded));
    requests_.push_back({query.queryItemValue(QStringLiteral("to"), QUrl::FullyDecoded),
                         query.queryItemValue(QStringLiteral("text"), QUrl::FullyDecoded), 0});
    switch (answer_) {
        case Answer::Silence:
            waiting_.emplace_back(socket, requests_.size() - 1);
            break;
        case Answer::Drop:
            socket->abort();
            break;
        case Answer::Status:
            respond(socket, requests_.back());
            break;
    }
}

void LocalSmsGateway::respond(QTcpSocket* socket, Request& request) {
    request.status = status_;
    socket->write(QStringLiteral("HTTP/1.1 %1 Answer\r\nContent-Length: 2\r\n"
                                 "Connection: close\r\n\r\nok")
                      .arg(status_)
                      .toLatin1());
    socket->disconnectFromHost();
}

void LocalSmsGateway::answerWaiting(int status) {
    answerWith(status);
    for (const auto& [socket, index] : waiting_)
        if (buffers_.contains(socket)) respond(socket, requests_[index]);
    waiting_.clear();
}

bool WaitUntil(const std::function<bool()>& done) {
    QDeadlineTimer deadline(30000);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return true;
}

}  // namespace si::test
