#pragma once
// A listener on 127.0.0.1 (a port the system chooses) standing in for the cash display: it keeps
// what each connection sent and whether the sender closed it.

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest/QTest>
#include <algorithm>
#include <memory>
#include <vector>

namespace si::test {

class LineListener {
public:
    struct Connection {
        QByteArray data;
        bool closed = false;
    };

    LineListener() {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] { acceptAll(); });
    }
    bool listening() const { return server_.isListening(); }
    quint16 port() const { return server_.serverPort(); }
    QString endpoint() const { return QStringLiteral("127.0.0.1:") + QString::number(port()); }

    // Runs the event loop until count connections were closed by their senders (at most ten
    // seconds); false when fewer were.
    bool waitForClosed(int count) {
        return QTest::qWaitFor([&] { return closedCount() >= count; }, 10000);
    }
    int closedCount() const {
        return static_cast<int>(std::count_if(connections_.begin(), connections_.end(),
                                              [](const auto& c) { return c->closed; }));
    }
    int connectionCount() const { return static_cast<int>(connections_.size()); }
    // What each connection sent, sorted.
    QList<QByteArray> lines() const {
        QList<QByteArray> all;
        for (const auto& c : connections_)
            all << c->data;
        std::sort(all.begin(), all.end());
        return all;
    }

private:
    void acceptAll() {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            auto connection = std::make_shared<Connection>();
            connections_.push_back(connection);
            QObject::connect(socket, &QTcpSocket::readyRead,
                             [socket, connection] { connection->data += socket->readAll(); });
            QObject::connect(socket, &QTcpSocket::disconnected, [socket, connection] {
                connection->data += socket->readAll();
                connection->closed = true;
            });
        }
    }

    QTcpServer server_;
    std::vector<std::shared_ptr<Connection>> connections_;
};

}  // namespace si::test
