#pragma once
// An SMS gateway on 127.0.0.1 for the sender's tests: it records the phone and text of every
// request (decoded from the query) and answers each request as it is told at the time: with an
// HTTP status, by dropping the connection, or not at all.

#include <QHash>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <functional>
#include <vector>

class QTcpSocket;

namespace si::test {

class LocalSmsGateway : public QObject {
public:
    enum class Answer { Status, Drop, Silence };

    LocalSmsGateway();
    // The template the sender is given.
    QString urlTemplate() const;

    // How the next requests are answered (200 until told otherwise).
    void answerWith(int status) {
        answer_ = Answer::Status;
        status_ = status;
    }
    void drop() { answer_ = Answer::Drop; }
    void keepSilent() { answer_ = Answer::Silence; }
    // Answers the requests it kept silent about, and the next ones, with the status.
    void answerWaiting(int status);

    struct Request {
        QString phone;
        QString text;
        int status = 0;  // 0: not answered with a status
    };
    const std::vector<Request>& requests() const { return requests_; }
    // The texts of the requests answered with 2xx, in order.
    QStringList delivered() const;

private:
    void accept();
    void read(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const QByteArray& requestLine);
    void respond(QTcpSocket* socket, Request& request);

    QTcpServer server_;
    QHash<QTcpSocket*, QByteArray> buffers_;
    Answer answer_ = Answer::Status;
    int status_ = 200;
    std::vector<Request> requests_;
    std::vector<std::pair<QTcpSocket*, size_t>> waiting_;  // socket, index of its request
};

// Runs the event loop until done() or, as a bound against a hung test only, 30 seconds.
bool WaitUntil(const std::function<bool()>& done);

}  // namespace si::test
