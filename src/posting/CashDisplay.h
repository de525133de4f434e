#pragma once
// The notice to the customer's cash display after a cash-turn booking: one TCP connection per
// notice to the endpoint of system parameter 2827, which receives the line "CashID,InvoiceID"
// (decimal, no terminator) and is closed once the line is written.
//
// The notice never blocks the form: it is sent while the event loop runs, and a socket error is
// shown through the context's message box ("Socket Error " + number + ": " + description, the
// number being Qt's QAbstractSocket::SocketError) and otherwise ignored, the invoice stays
// booked. A job without a form that ends right after its save calls waitForAll, so its notices
// are delivered or reported before the process exits.
//
// Ownership: each notice's socket is a child of the notifier and deleted when its notice is done;
// notices still in flight when the notifier is destroyed are dropped without a message.

#include <QObject>
#include <QString>
#include <optional>

class QTcpSocket;

namespace si {

class Context;

struct CashDisplayEndpoint {
    QString host;
    quint16 port = 0;
};

inline constexpr quint16 kCashDisplayDefaultPort = 3000;

// "host:port". Blank text or an empty host gives nothing (no notice is sent); without a ":" the
// whole text is the host and the port is 3000; a port that is not a number from 1 to 65535
// becomes 3000.
std::optional<CashDisplayEndpoint> ParseCashDisplayEndpoint(const QString& parameter);

class CashDisplayNotifier : public QObject {
    Q_OBJECT
public:
    explicit CashDisplayNotifier(Context& ctx, QObject* parent = nullptr);
    ~CashDisplayNotifier() override;

    // To the endpoint of parameter 2827 as the context holds it now; nothing when it is blank.
    void NotifyCashDisplay(int cashId, int invoiceId);
    void NotifyCashDisplay(const CashDisplayEndpoint& endpoint, int cashId, int invoiceId);

    // Runs the event loop until every notice is delivered or has failed, at most msecs; a notice
    // still pending then is given up and reported as a time-out. True when none timed out.
    bool waitForAll(int msecs);
    int inFlight() const { return static_cast<int>(sockets_.size()); }

Q_SIGNALS:
    // The last notice in flight is done.
    void allDone();

private:
    void fail(QTcpSocket* socket, int error, const QString& description);
    void finish(QTcpSocket* socket);

    Context& ctx_;
    QList<QTcpSocket*> sockets_;
};

}  // namespace si
